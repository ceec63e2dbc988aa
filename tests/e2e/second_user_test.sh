#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# One rule decides whose a folder is, for the settings and the daily start
# alike, with a second user on the machine. A folder of the user's (0755)
# whose access list lets the other user write: the settings go to the
# user's own ~/.config/velmora/ and the daily start is refused. A folder made
# with umask 002 (0775) whose group is the user's private group: the
# settings stay beside the program and the daily start is booked.
# The two users live in copies of /etc/passwd and /etc/group mounted over the
# real ones in a mount namespace of the test's own.
if [ -z "${VELMORA_OWN_USERS:-}" ]; then
  VELMORA_OWN_USERS=1 exec unshare -m --propagation private bash "$0" "$@"
fi
. "$(dirname "$0")/lib.sh"
command -v setfacl >/dev/null || fail "setfacl is missing (package acl)"

for db in passwd group; do cp "/etc/$db" "$WORK/$db"; done
echo 'reader:x:4211:4211::/nonexistent:/bin/false' >>"$WORK/passwd"
echo 'rune:x:4212:4212::/nonexistent:/bin/false' >>"$WORK/passwd"
printf 'reader:x:4211:\nrune:x:4212:\n' >>"$WORK/group"
for db in passwd group; do mount --bind "$WORK/$db" "/etc/$db"; done

# The user owns their home, where the program's folders are made with umask
# 002, their configuration and the systemctl log.
chmod 755 "$WORK"
export HOME=$WORK/home
mkdir "$HOME"
chown -R reader:reader "$HOME" "$XDG_CONFIG_HOME" "$SYSTEMCTL_LOG"
OWN=$XDG_CONFIG_HOME/velmora
UNITS=$XDG_CONFIG_HOME/systemd/user

# Makes the program's folder "$1" as the user, with the program in it.
install_as_reader() {
  setpriv --reuid=reader --regid=reader --init-groups sh -c 'umask 002 && mkdir "$1"' - "$1"
  install -o reader -g reader "$BIN_DIR/talvik" "$BIN_DIR/maravelle.pdb" "$1/"
}

# Starts the program in folder "$1" as the user, on a first run.
first_run_in() {
  rm -rf "$OWN" "$UNITS"
  FAKETIME_DONT_FAKE_MONOTONIC=1 setsid setpriv --reuid=reader --regid=reader --init-groups \
    faketime -f "@2026-12-07 09:15:00" "$1/talvik" >"$WORK/talvik.log" 2>&1 &
  APP_PID=$!
}

# Switches autorun on and confirms in the settings window, then dismisses
# the "Autorun" box, which says when the next start comes or why none can
# be booked; once the main window is up and the settings are saved in
# folder "$1", prints the first command that armed a timer, if any.
confirm_with_autorun() {
  confirm_first_run_with_autorun "$1" >/dev/null
  grep -m 1 enable "$SYSTEMCTL_LOG" || true
}

start_display
SHARED=$HOME/shared
install_as_reader "$SHARED"
chmod 755 "$SHARED"
setfacl -m u:rune:rwx "$SHARED"
first_run_in "$SHARED"
armed=$(confirm_with_autorun "$OWN")
[ -s "$OWN/orv.dat" ] || fail "the settings are not in $OWN"
[ ! -e "$SHARED/orv.dat" ] || fail "the settings were kept where rune can change them"
[ -z "$armed$(ls "$UNITS" 2>/dev/null)" ] || fail "a start was booked: $armed $(ls "$UNITS")"
stop_program

PRIVATE=$HOME/private
install_as_reader "$PRIVATE"
[ "$(stat -c '%a %G' "$PRIVATE")" = "775 reader" ] || fail "$PRIVATE is $(stat -c '%a %G' "$PRIVATE")"
first_run_in "$PRIVATE"
armed=$(confirm_with_autorun "$PRIVATE")
[ -s "$PRIVATE/orv.dat" ] || fail "the settings are not beside the program"
[ ! -e "$OWN/orv.dat" ] || fail "the settings went to $OWN"
[ -n "$armed" ] && ls "$UNITS"/talvik-*.timer >/dev/null 2>&1 || fail "no start was booked"
stop_program
echo "1 passed, 0 failed"
