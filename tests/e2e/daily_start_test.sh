#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# The daily start on a real systemd user manager: armed, it starts the program
# on the second, in the desktop's display, and that start books the next day.
# A window still open at the next booked time keeps the daily start booked.
# A window the user force-quits stays closed.
. "$(dirname "$0")/lib.sh"
. "$(dirname "$0")/live_manager.sh"

start_session
export_display
book_in 15
timer=$(timer_name)
service="$UNITS/${timer%.timer}.service"
grep -qx "ExecStart=\":$APP_DIR/talvik\"" "$service" || fail "the service does not start the program: $(cat "$service")"

# The start books the next day itself: the timer's first day is tomorrow.
expect_started_and_next_day_booked
started=$(date -d "$(systemctl --user show -P ExecMainStartTimestamp "$(basename "$service")")" +%s)
[ "$started" -ge "$BOOKED" ] && [ "$started" -le $((BOOKED + 2)) ] ||
  fail "booked for $(date -d "@$BOOKED" +%T), started at $(date -d "@$started" +%T)"
pid=$(xdotool getwindowpid "$(wait_main_window)")

# The window stays open; a copy of the program books a start a few seconds
# ahead, which falls due while the first start's program still runs.
book_in 10
sleep $((BOOKED - $(date +%s) + 1))
wait_until "the start did not fall due" started_since "${timer%.timer}-start.service" "$BOOKED"
[ "$(xdotool search --onlyvisible --classname talvik | wc -l)" = 1 ] || fail "not one window open"
[ "$(systemctl --user show -P MainPID "$(basename "$service")")" = "$pid" ] || fail "the open program was replaced"
wait_until "with the window open at its booked time, the next start is not tomorrow's" next_start_is $((BOOKED + 86400))

kill -9 "$pid"
sleep 6 # longer than a retry would wait
[ -z "$(xdotool search --onlyvisible --classname talvik 2>/dev/null)" ] || fail "the killed window came back"
[ "$(systemctl --user show -P NRestarts "$(basename "$service")")" = 0 ] || fail "the killed program was started again"
next_start_is $((BOOKED + 86400)) || fail "after the kill the next start is [$(next_start)]"
echo "1 passed, 0 failed"
