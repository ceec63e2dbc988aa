#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# What the program books on a real user manager whatever its own clock, zone
# (named oddly, or missing) and configuration folder say: the start comes at the time of day the user
# set, on the next real day, from units where the manager reads them. A start
# with the booking unchanged only asks systemd, and switching autorun off
# just before closing still removes the timer with a slow systemctl.
. "$(dirname "$0")/lib.sh"
. "$(dirname "$0")/live_manager.sh"

start_session

# The program's systemctl logs what it is asked, and is slow once asked to be.
real=$(command -v systemctl)
mkdir -p "$WORK/logged"
cat >"$WORK/logged/systemctl" <<SH
#!/bin/sh
echo "\$*" >>"$WORK/calls"
[ ! -e "$WORK/slow" ] || sleep 1.2
exec "$real" "\$@"
SH
chmod +x "$WORK/logged/systemctl"

# Runs a copy with the clock moved by faketime's "$1" and the environment
# "${@:2}"; returns once the live timer next starts at BOOKED, the copy ended.
book_with() {
  local clock=$1
  shift
  : >"$WORK/calls"
  env "$@" PATH="$WORK/logged:$PATH" FAKETIME_DONT_FAKE_MONOTONIC=1 setsid faketime -f "$clock" "$APP_DIR/talvik" \
    >"$WORK/talvik.log" 2>&1 &
  APP_PID=$!
  wait_main_window >/dev/null
  wait_until "the timer was not armed for $(date -d "@$BOOKED")" next_start_is "$BOOKED"
  sleep 0.5
  stop_program
}

# The program's zone, not the manager's (UTC), says when 'the time of day' is.
BOOKED=$(($(date +%s) + 3600))
write_settings $(TZ=Asia/Tokyo date -d "@$BOOKED" '+%-H %-M %-S')
book_with +0 TZ=Asia/Tokyo

# A zone name systemd does not read as written still books the program's
# clock's time of day; a zone file that is missing leaves that clock on UTC.
# Each booking replaces the last and leaves the timer active.
BOOKED=$(($(date +%s) + 3000))
write_settings $(TZ=Europe/Paris date -d "@$BOOKED" '+%-H %-M %-S')
book_with +0 TZ=Europe//Paris
BOOKED=$(($(date +%s) + 4200))
write_settings $(date -d "@$BOOKED" '+%-H %-M %-S')
book_with +0 TZ=/nonexistent/zoneinfo/Asia/Tokyo
systemctl --user is-active --quiet "$(timer_name)" || fail "the timer is not active"

# A clock 400 days ahead still books the next real day.
BOOKED=$(($(date +%s) + 7200))
write_settings $(date -d "@$BOOKED" '+%-H %-M %-S')
book_with +400d

# A clock before 1970 keeps that booking, unchanged: only asked about.
written=$(stat -c %y "$UNITS/$(timer_name)")
book_with '@1969-12-31 12:00:00'
[ -z "$(grep -v -e '^--user show ' "$WORK/calls")" ] || fail "the unchanged booking asked: $(cat "$WORK/calls")"
[ "$(stat -c %y "$UNITS/$(timer_name)")" = "$written" ] || fail "the unchanged timer was written again"

# A configuration folder the manager does not read: the units go where it does.
BOOKED=$(($(date +%s) + 5400))
write_settings $(date -d "@$BOOKED" '+%-H %-M %-S')
book_with +0 XDG_CONFIG_HOME="$WORK/elsewhere"
timer=$(timer_name)
[ ! -e "$WORK/elsewhere/systemd" ] || fail "units went to the program's own folder: $(ls -R "$WORK/elsewhere")"
XDG_CONFIG_HOME="$WORK/elsewhere" "$BIN_DIR/talvik-book" unschedule "$APP_DIR/talvik" >/dev/null ||
  fail "unschedule with the program's folder failed"
[ -z "$(timer_name)" ] || fail "unschedule left: $(ls "$UNITS")"

# Autorun off, OK, and the window closed at once, while the start's own
# booking is still under way and systemctl takes 1.2 s a call: the program
# ends only once the timer is removed.
write_settings $(date -d '+3 hours' '+%-H %-M 0')
touch "$WORK/slow"
PATH="$WORK/logged:$PATH" setsid "$APP_DIR/talvik" >"$WORK/talvik.log" 2>&1 &
APP_PID=$!
main=$(wait_main_window)
click_control "$main" 245 108 117 13 366 125
dismiss "Support Notice"
click_control "$(wait_window Settings)" 7 20 67 9 186 62
keys Return
point_at "$main"
keys Escape
for _ in $(seq 600); do kill -0 "$APP_PID" 2>/dev/null || break; sleep 0.05; done
kill -0 "$APP_PID" 2>/dev/null && fail "the program did not end"
APP_PID=
[ ! -e "$UNITS/$timer" ] || fail "the program ended before removing the timer: $(cat "$WORK/calls")"
systemctl --user is-active --quiet "$timer" && fail "the timer is still active"
echo "1 passed, 0 failed"
