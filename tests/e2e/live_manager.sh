# SPDX-License-Identifier: MIT
# Helpers for the tests of the daily start against a real systemd user
# manager, sourced after lib.sh. The manager runs in a private mount namespace
# where /run/systemd/system exists, so that it believes systemd booted the
# machine, with its own runtime folder and home, and without a display until
# the test plays the desktop exporting one. The program's systemctl calls
# reach it through XDG_RUNTIME_DIR. Timers use the real clock.

for need in unshare /lib/systemd/systemd systemctl perl; do
  if ! command -v "$need" >/dev/null; then
    echo "SKIP: $need is missing, so no systemd user manager can run here"
    exit 0
  fi
done

# The stand-in systemctl of lib.sh would hide the real one.
rm -f "$WORK/bin/systemctl"
export XDG_RUNTIME_DIR="$WORK/run"
export HOME="$WORK/home"
mkdir -p "$XDG_RUNTIME_DIR" "$HOME"
chmod 700 "$XDG_RUNTIME_DIR"
unset DBUS_SESSION_BUS_ADDRESS
UNITS="$XDG_CONFIG_HOME/systemd/user"
MANAGER_PID=

live_cleanup() {
  stop_manager
  cleanup
}
trap live_cleanup EXIT

# Starts the user manager, as at login, and waits until it answers.
start_manager() {
  env -u DISPLAY unshare -m sh -c \
    'mount -t tmpfs tmpfs /run/systemd && mkdir -p /run/systemd/system && exec /lib/systemd/systemd --user' \
    >>"$WORK/manager.log" 2>&1 &
  MANAGER_PID=$!
  for _ in $(seq 200); do
    systemctl --user show-environment >/dev/null 2>&1 && return
    sleep 0.05
  done
  fail "the user manager did not start: $(tail -n 5 "$WORK/manager.log")"
}

# Stops the user manager, as at logout or when the machine goes off, with the
# programs it started.
stop_manager() {
  [ -n "$MANAGER_PID" ] || return 0
  kill "$MANAGER_PID" 2>/dev/null || true
  for _ in $(seq 200); do kill -0 "$MANAGER_PID" 2>/dev/null || break; sleep 0.05; done
  kill -9 "$MANAGER_PID" 2>/dev/null || true
  MANAGER_PID=
}

# What every test of the daily start begins with: a display, the program
# installed with the sample book, and the user manager running, as after
# login but before the desktop has told it the display.
start_session() {
  start_display
  install_program "$BIN_DIR/maravelle.pdb"
  start_manager
}

# The desktop tells the manager where its display is.
export_display() {
  systemctl --user set-environment DISPLAY="$DISPLAY" NO_AT_BRIDGE=1
}

# Settings with the chime off and autorun on at the local time of day
# HH MM SS.
write_settings() {
  perl -e 'print pack("VVv8", 0, 1, 2026, 12, 1, 7, @ARGV, 0)' "$@" >"$APP_DIR/orv.dat"
}

# Runs the command given until it succeeds, for at most twenty seconds; fails
# the test with the message "$1" if it never does.
wait_until() {
  local message=$1
  shift
  for _ in $(seq 400); do
    "$@" && return
    sleep 0.05
  done
  fail "$message"
}

timer_name() {
  basename "$(ls "$UNITS"/talvik-*.timer 2>/dev/null | head -n 1)"
}

# True once a timer is written.
booked() {
  [ -n "$(timer_name)" ]
}

# When the timer next starts the program, in seconds since 1970; empty when
# it has no next start.
next_start() {
  local next
  next=$(systemctl --user show -P NextElapseUSecRealtime "$(timer_name)" 2>/dev/null)
  [ -n "$next" ] && date -d "$next" +%s
}

next_start_is() {
  [ "$(next_start)" = "$1" ]
}

# Books the program's daily start at the real time "$1" seconds from now: a
# copy of the program, its clock a minute behind, sees that time of day as
# still to come today and books it. Sets BOOKED to that time (seconds since
# 1970) and returns once the live timer is armed for it, with the copy ended.
book_in() {
  BOOKED=$(($(date +%s) + $1))
  write_settings $(date -d "@$BOOKED" '+%-H %-M %-S')
  FAKETIME_DONT_FAKE_MONOTONIC=1 setsid faketime -f '-60s' "$APP_DIR/talvik" >"$WORK/talvik.log" 2>&1 &
  APP_PID=$!
  wait_until "the timer was not armed for $(date -d "@$BOOKED")" next_start_is "$BOOKED"
  stop_program
}

# Waits for the main window of the program the booked start opened, and for
# the next start to be a day after BOOKED.
expect_started_and_next_day_booked() {
  wait_main_window >/dev/null
  wait_until "the next start is not the booked time tomorrow" next_start_is $((BOOKED + 86400))
}

# True once the unit "$1" has been started at or after "$2" (seconds since
# 1970).
started_since() {
  local at
  at=$(systemctl --user show -P ExecMainStartTimestamp "$1" 2>/dev/null)
  [ -n "$at" ] && [ "$(date -d "$at" +%s)" -ge "$2" ]
}

# True once systemd has started the service "$1" again after it failed.
restarted() {
  [ "$(systemctl --user show -P NRestarts "$1" 2>/dev/null)" -ge 1 ] 2>/dev/null
}
