#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# A copy upgraded in place while it runs (as tools/install does) still books
# under its real path; the removal of a booking fails loudly while the user
# manager is out of reach and works once it answers; and switching autorun
# off in the running program removes the live timer.
. "$(dirname "$0")/lib.sh"
. "$(dirname "$0")/live_manager.sh"

start_session
write_settings $(date -d '+3 hours' '+%-H %-M 0')
setsid "$APP_DIR/talvik" >"$WORK/talvik.log" 2>&1 &
APP_PID=$!
main=$(wait_main_window)
wait_until "the program did not book its start" booked
timer=$(timer_name)

cp "$BIN_DIR/talvik" "$APP_DIR/talvik.new-$$"
mv -f "$APP_DIR/talvik.new-$$" "$APP_DIR/talvik"
pid=$(xdotool getwindowpid "$main")
case $(readlink "/proc/$pid/exe") in *" (deleted)") ;; *) fail "the upgrade did not replace the running file" ;; esac

# Settings, OK: the notice on opening with autorun on, then the "Autorun"
# notice; the booking goes to the program's real path, as before.
: >"$WORK/booked"
touch -d '-1 second' "$WORK/booked"
open_settings() {
  click_control "$main" 245 108 117 13 366 125
}
click_autorun() {
  click_control "$(wait_window Settings)" 7 20 67 9 186 62
}
open_settings
dismiss "Support Notice"
dismiss Settings
dismiss Autorun
wait_until "OK did not book again" test "$UNITS/$timer" -nt "$WORK/booked"
[ "$(ls "$UNITS" | grep -c '^talvik-.*\.timer$')" = 1 ] || fail "a second booking was made: $(ls "$UNITS")"
grep -rq "deleted" "$UNITS" && fail "a unit names the replaced file: $(grep -rl deleted "$UNITS")"

# Autorun off in the running program removes the timer from the live
# manager.
open_settings
dismiss "Support Notice"
click_autorun
keys Return
wait_until "autorun off did not remove the timer" test ! -e "$UNITS/$timer"
systemctl --user is-active --quiet "$timer" && fail "the timer is still active"
[ -z "$(systemctl --user list-timers --all --no-legend 'talvik-*')" ] ||
  fail "timers left: $(systemctl --user list-timers --all 'talvik-*')"

# Booked again; with the user manager gone the removal cannot be confirmed:
# unschedule says so, fails, and keeps the units for another try, which
# works once the user manager is back.
open_settings
click_autorun
dismiss "Support Notice"
dismiss Settings
dismiss Autorun
wait_until "the timer was not armed again" systemctl --user is-active --quiet "$timer"
stop_program
stop_manager
"$BIN_DIR/talvik-book" unschedule "$APP_DIR/talvik" 2>"$WORK/unschedule.log" &&
  fail "unschedule succeeded without a user manager"
[ $? = 2 ] || fail "unschedule without a user manager ended with $?"
grep -q "may still be booked: systemctl --user disable --now $timer failed" "$WORK/unschedule.log" ||
  fail "unschedule said: $(cat "$WORK/unschedule.log")"
[ -f "$UNITS/$timer" ] || fail "the failed removal deleted the timer"
start_manager
"$BIN_DIR/talvik-book" unschedule "$APP_DIR/talvik" || fail "unschedule failed with the user manager back"
[ -z "$(ls -A "$UNITS" | grep talvik)" ] || fail "units left: $(ls "$UNITS")"
echo "1 passed, 0 failed"
