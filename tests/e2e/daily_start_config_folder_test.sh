#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# A configuration folder whose name holds a space, quotes and a backslash,
# which systemctl prints quoted: OK in the first run's settings books the
# daily start in <config>/systemd/user on a real user manager, and the timer
# is armed for the time of day set; unschedule finds it there again.
. "$(dirname "$0")/lib.sh"
export XDG_CONFIG_HOME="$WORK/my \"config\" \\ folder"
. "$(dirname "$0")/live_manager.sh"

# The next 08:00 of the program's zone (UTC) still to come, in seconds since 1970.
next_eight() {
  local at
  at=$(date -d '08:00' +%s)
  [ "$at" -gt "$(date +%s)" ] || at=$((at + 86400))
  echo "$at"
}

armed_at_eight() {
  [ "$(next_start)" = "$(next_eight)" ]
}

start_session
setsid "$APP_DIR/talvik" >"$WORK/talvik.log" 2>&1 &
APP_PID=$!
confirm_first_run_with_autorun >/dev/null
wait_until "no timer was booked in $UNITS" booked
timer=$(timer_name)
wait_until "the timer is not armed for the next 08:00 but [$(next_start)]" armed_at_eight
systemctl --user is-active --quiet "$timer" || fail "the timer is not active"
stop_program

"$BIN_DIR/talvik-book" unschedule "$APP_DIR/talvik" >/dev/null || fail "unschedule failed"
[ -z "$(timer_name)" ] || fail "unschedule left: $(ls "$UNITS")"
systemctl --user is-active --quiet "$timer" && fail "the timer is still active"
echo "1 passed, 0 failed"
