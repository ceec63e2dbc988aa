#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# A booking never starts a program that is gone or that other users could
# replace: the booked start does nothing then and is not tried again, a copy
# in a folder others can write books nothing and drops its old booking, and
# talvik-book unschedule removes what is left and says when nothing is booked.
. "$(dirname "$0")/lib.sh"
. "$(dirname "$0")/live_manager.sh"

start_session
export_display

# The program is deleted after booking: its start comes and does nothing.
book_in 8
timer=$(timer_name)
service="${timer%.timer}.service"
rm "$APP_DIR/talvik"
sleep $((BOOKED - $(date +%s) + 1))
wait_until "the start did not fall due" started_since "${timer%.timer}-start.service" "$BOOKED"
sleep 6 # longer than a retry would wait
[ "$(systemctl --user show -P NRestarts "$service")" = 0 ] || fail "the missing program was tried again"
[ "$(systemctl --user show -P Result "$service")" = exec-condition ] ||
  fail "the start of the missing program ended with $(systemctl --user show -P Result "$service")"

# unschedule drops the booking of the missing program, then finds none.
"$BIN_DIR/talvik-book" unschedule "$APP_DIR/talvik" >"$WORK/out" || fail "unschedule of the missing program failed"
grep -q "removed the daily start of $APP_DIR/talvik" "$WORK/out" || fail "unschedule said: $(cat "$WORK/out")"
[ -z "$(timer_name)" ] || fail "units left: $(ls "$UNITS")"
for path in "$APP_DIR/talvik" "$APP_DIR" -; do
  status=0
  "$BIN_DIR/talvik-book" unschedule "$path" 2>"$WORK/err" || status=$?
  [ $status = 1 ] || fail "unschedule [$path] with nothing booked ended with $status"
  grep -q "nothing is booked for .*, which names no program" "$WORK/err" || fail "unschedule [$path] said: $(cat "$WORK/err")"
done
install_program none
"$BIN_DIR/talvik-book" unschedule "$APP_DIR/talvik" >"$WORK/out" || fail "unschedule of an unbooked program failed"
grep -q "nothing is booked for $APP_DIR/talvik" "$WORK/out" || fail "unschedule said: $(cat "$WORK/out")"

# Booked, then the folder opened to others: the next start of the copy books
# nothing and removes the booking it had.
book_in 3600
chmod 777 "$APP_DIR"
# Settings are never read from a folder that others can write; the user's
# own are in their settings folder.
write_settings $(date -d '+2 hours' '+%-H %-M 0')
mkdir -p "$XDG_CONFIG_HOME/velmora"
mv "$APP_DIR/orv.dat" "$XDG_CONFIG_HOME/velmora/"
setsid "$APP_DIR/talvik" >"$WORK/talvik.log" 2>&1 &
APP_PID=$!
wait_main_window >/dev/null
wait_until "the copy others could replace kept its booking" test ! -e "$UNITS/$timer"
systemctl --user is-active --quiet "$timer" && fail "the timer is still active"
echo "1 passed, 0 failed"
