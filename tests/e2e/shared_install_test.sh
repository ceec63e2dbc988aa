#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# An installation for the whole system, which its users cannot write, started
# by an unprivileged user: the first start opens the settings window, and OK
# keeps the settings in the user's own ~/.config/velmora/ and books the daily
# start; the next start opens straight on the reading and books the day after.
. "$(dirname "$0")/lib.sh"

BUILD=${BIN_DIR%/bin}
DESTDIR=$WORK/root cmake --install "$BUILD" --prefix /usr >"$WORK/install.log" ||
  fail "cmake --install failed: $(cat "$WORK/install.log")"
APP=$WORK/root/usr/lib/velmora
# The user reaches the installation and the stand-in systemctl, and owns
# nothing but their home and the systemctl log.
chmod 755 "$WORK"
export HOME=$WORK/home
unset XDG_CONFIG_HOME
mkdir "$HOME"
chown nobody:nogroup "$HOME" "$SYSTEMCTL_LOG"
OWN=$HOME/.config/velmora
UNITS=$HOME/.config/systemd/user
setpriv --reuid=nobody --regid=nogroup --clear-groups test -w "$APP" && fail "the user can write $APP"

start_as_user() {
  FAKETIME_DONT_FAKE_MONOTONIC=1 setsid setpriv --reuid=nobody --regid=nogroup --clear-groups \
    faketime -f "@$1" "$WORK/root/usr/bin/talvik" >"$WORK/talvik.log" 2>&1 &
  APP_PID=$!
}

start_display
start_as_user "2026-12-07 09:15:00"
confirm_first_run_with_autorun "$OWN" >/dev/null
# chime 1, autorun 1, 8 December 2026 (a Tuesday), 08:00:00.000
expected='01 00 00 00 01 00 00 00 ea 07 0c 00 02 00 08 00 08 00 00 00 00 00 00 00'
actual=$(od -An -tx1 -v "$OWN/orv.dat" 2>/dev/null | tr -s ' \n' ' ' | sed 's/^ //; s/ $//')
[ "$actual" = "$expected" ] || fail "$OWN/orv.dat holds [$actual]"
[ "$(stat -c '%U %a' "$OWN")" = "nobody 700" ] || fail "$OWN is $(stat -c '%U %a' "$OWN")"
[ "$(ls "$APP")" = "$(printf 'maravelle.pdb\norv.wav\ntalvik')" ] || fail "the installation changed: $(ls "$APP")"
timer=$(ls "$UNITS"/talvik-*.timer 2>/dev/null) || fail "no timer was booked in $UNITS"
grep -qxF 'OnCalendar=*-*-* 08:00:00 UTC' "$timer" || fail "the timer does not book 08:00 daily: $(cat "$timer")"
grep -q "^ExecStart=.*$APP/talvik" "${timer%.timer}.service" || fail "the booking starts: $(cat "${timer%.timer}.service")"
stop_program

# The booked start: no settings window, and the daily start still booked.
start_as_user "2026-12-08 08:00:01"
wait_main_window >/dev/null
sleep 0.5
grep -qxF 'OnCalendar=*-*-* 08:00:00 UTC' "$timer" || fail "the second start changed the booking: $(cat "$timer")"
[ -z "$(xdotool search --onlyvisible --name '^Settings$' 2>/dev/null)" ] || fail "the settings window opened again"
stop_program
echo "1 passed, 0 failed"
