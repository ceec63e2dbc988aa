#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# A program in a folder that every user can write (mode 1777), started by an
# unprivileged user: a link that another user planted as orv.dat, leading to
# a file of the user's, is neither read nor written through, and the settings
# are kept in the user's own folder. Where that folder belongs to another
# user, OK says that the settings could not be saved.
. "$(dirname "$0")/lib.sh"

# The user reaches the program and the stand-in systemctl, and owns nothing
# but their home and the systemctl log.
chmod 755 "$WORK"
APP=$WORK/shared
mkdir -m 1777 "$APP"
cp "$BIN_DIR/talvik" "$BIN_DIR/maravelle.pdb" "$APP/"
export HOME=$WORK/home
unset XDG_CONFIG_HOME
mkdir "$HOME"
printf 'the user'"'"'s own\n' >"$HOME/precious.txt"
chown -R nobody:nogroup "$HOME"
chown nobody:nogroup "$SYSTEMCTL_LOG"
OWN=$HOME/.config/velmora
ln -s "$HOME/precious.txt" "$APP/orv.dat"
chown -h 4242:4242 "$APP/orv.dat"

start_as_user() {
  FAKETIME_DONT_FAKE_MONOTONIC=1 setsid setpriv --reuid=nobody --regid=nogroup --clear-groups \
    faketime -f "@$1" "$APP/talvik" >"$WORK/talvik.log" 2>&1 &
  APP_PID=$!
}

start_display
start_as_user "2026-12-07 09:15:00"
dismiss "Settings"
wait_main_window >/dev/null
for _ in $(seq 100); do [ -s "$OWN/orv.dat" ] && break; sleep 0.05; done
[ "$(stat -c %s "$OWN/orv.dat" 2>/dev/null)" = 24 ] || fail "the settings are not in $OWN"
[ "$(cat "$HOME/precious.txt")" = "the user's own" ] || fail "the planted link was written through"
[ -L "$APP/orv.dat" ] || fail "the planted link was replaced"
stop_program

# The user's settings folder made by another user: the first run's OK says
# that nothing could be saved.
rm -r "$OWN"
mkdir -m 755 "$OWN"
start_as_user "2026-12-07 09:20:00"
dismiss "Settings"
dismiss "Settings not saved"
wait_main_window >/dev/null
[ -z "$(ls -A "$OWN")" ] || fail "something was saved in $OWN: $(ls -A "$OWN")"
stop_program
echo "1 passed, 0 failed"
