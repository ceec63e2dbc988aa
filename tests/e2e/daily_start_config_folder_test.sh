#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# A configuration folder whose name holds a space, quotes and a backslash,
# which systemctl prints quoted: OK in the first run's settings books the
# daily start in <config>/systemd/user on a real user manager, and the timer
# is active with a next start.
. "$(dirname "$0")/lib.sh"
export XDG_CONFIG_HOME="$WORK/my \"config\" \\ folder"
. "$(dirname "$0")/live_manager.sh"

armed() {
  systemctl --user is-active --quiet "$(timer_name)" && [ -n "$(next_start)" ]
}

start_session
setsid "$APP_DIR/talvik" >"$WORK/talvik.log" 2>&1 &
APP_PID=$!
confirm_first_run_with_autorun >/dev/null
wait_until "no timer was booked in $UNITS" booked
wait_until "the timer is not active with a next start" armed
stop_program
echo "1 passed, 0 failed"
