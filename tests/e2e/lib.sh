# SPDX-License-Identifier: MIT
# Helpers for the end-to-end tests: each test runs the built program from a
# folder of its own on a private Xvfb screen, with a fixed clock and a
# stand-in systemctl that logs what it is asked.
set -euo pipefail
. "$(dirname "${BASH_SOURCE[0]}")/year_source.sh"

BIN_DIR=${BIN_DIR:?}
WORK=$(mktemp -d /tmp/velmora-e2e.XXXXXX)
APP_DIR="$WORK/app dir"          # a space in the path on purpose
mkdir -p "$APP_DIR" "$WORK/bin" "$WORK/config"
export XDG_CONFIG_HOME="$WORK/config"
export SYSTEMCTL_LOG="$WORK/systemctl.log"
export NO_AT_BRIDGE=1 LANG=C.UTF-8 TZ=${TZ:-UTC}
: >"$SYSTEMCTL_LOG"
cat >"$WORK/bin/systemctl" <<'SH'
#!/bin/sh
echo "$*" >>"$SYSTEMCTL_LOG"
# A test makes every command fail by creating this file.
[ -e "$SYSTEMCTL_LOG.fail" ] && exit 1
# The user's units are read from the usual folder, which systemctl quotes
# when it holds a space; a timer that armed is active and not failed.
config=${XDG_CONFIG_HOME:-$HOME/.config}
q=
case $config in *' '*) q='"' ;; esac
case "$*" in
  *UnitPath*) echo "$q$config/systemd/user.control$q /etc/systemd/user $q$config/systemd/user$q /usr/lib/systemd/user" ;;
  *is-failed*) exit 1 ;;
  *is-active*) echo active ;;
  *show*) printf 'ActiveState=active\nUnitFileState=enabled\nNeedDaemonReload=no\n' ;;
esac
SH
chmod +x "$WORK/bin/systemctl"
export PATH="$WORK/bin:$PATH"

# faketime keeps a semaphore and shared memory in /dev/shm named after its
# process id, and leaves them there when it is killed, as these tests end
# programs; a later faketime given the same process id then cannot start
# ("sem_open: File exists"). What dead ones left is removed before each test,
# and after each program a test ends.
forget_faketime() {
  rm -f "/dev/shm/sem.faketime_sem_$1" "/dev/shm/faketime_shm_$1"
}
for left in /dev/shm/sem.faketime_sem_*; do
  [ -e "$left" ] && ! kill -0 "${left##*_}" 2>/dev/null && forget_faketime "${left##*_}"
done

XVFB_PID=
APP_PID=
cleanup() {
  [ -n "$APP_PID" ] && kill -- -"$APP_PID" 2>/dev/null && forget_faketime "$APP_PID" || true
  [ -n "$XVFB_PID" ] && kill "$XVFB_PID" 2>/dev/null || true
  rm -rf "$WORK"
}
trap cleanup EXIT

fail() {
  echo "FAIL: $*" >&2
  if [ -s "$WORK/talvik.log" ]; then
    echo "--- the program said:" >&2
    tail -n 20 "$WORK/talvik.log" >&2
  fi
  exit 1
}

# Xvfb picks a free display itself and writes its number once it serves it:
# a number picked here could be taken by another test run meanwhile. Without
# -noreset the server resets whenever its last client leaves, and a program
# started during the reset cannot open the display.
start_display() {
  Xvfb -displayfd 3 -noreset -screen 0 1024x768x24 -nolisten tcp 3>"$WORK/display" >/dev/null 2>&1 &
  XVFB_PID=$!
  for _ in $(seq 200); do
    if [ -n "$(tr -d '\n' <"$WORK/display" 2>/dev/null)" ]; then
      export DISPLAY=":$(tr -d '\n' <"$WORK/display")"
      return
    fi
    sleep 0.05
  done
  fail "Xvfb did not start"
}

# Copies the program beside `book` (a path, or "none").
install_program() {
  cp "$BIN_DIR/talvik" "$APP_DIR/"
  [ "$1" = none ] || cp "$1" "$APP_DIR/maravelle.pdb"
}

# Starts the program with the clock set to "$1" (YYYY-MM-DD HH:MM:SS).
start_program() {
  FAKETIME_DONT_FAKE_MONOTONIC=1 setsid faketime -f "@$1" "$APP_DIR/talvik" >"$WORK/talvik.log" 2>&1 &
  APP_PID=$!
}

stop_program() {
  kill -- -"$APP_PID" 2>/dev/null || true
  wait "$APP_PID" 2>/dev/null || true
  forget_faketime "$APP_PID"
  APP_PID=
}

# Waits until a window whose title is exactly "$1" is mapped; prints its id.
wait_window() {
  local id
  for _ in $(seq 600); do
    id=$(xdotool search --onlyvisible --name "^$1\$" 2>/dev/null | head -n 1 || true)
    [ -n "$id" ] && { echo "$id"; return; }
    sleep 0.05
  done
  fail "no window \"$1\" appeared"
}

# Waits until the program's main window (the one without a title) is mapped.
wait_main_window() {
  local id
  for _ in $(seq 600); do
    for id in $(xdotool search --onlyvisible --classname talvik 2>/dev/null || true); do
      [ -z "$(xdotool getwindowname "$id" 2>/dev/null)" ] && { echo "$id"; return; }
    done
    sleep 0.05
  done
  fail "the main window did not appear"
}

# Types keys into the window that has the pointer (no window manager: focus
# follows the pointer).
keys() {
  xdotool key --delay 60 "$@"
  sleep 0.3
}

point_at() {
  eval "$(xdotool getwindowgeometry --shell "$1")"
  xdotool mousemove "$((X + WIDTH / 2))" "$((Y + HEIGHT / 2))"
  sleep 0.2
}

# Clicks the middle of the control at X Y CX CY (dialog units) in window "$1"
# whose template is W x H dialog units: the window's size in pixels is its
# template's, so units scale linearly.
click_control() {
  local window=$1 x=$2 y=$3 cx=$4 cy=$5 w=$6 h=$7
  eval "$(xdotool getwindowgeometry --shell "$window")"
  xdotool mousemove "$((X + WIDTH * (2 * x + cx) / (2 * w)))" "$((Y + HEIGHT * (2 * y + cy) / (2 * h)))" click 1
  sleep 0.3
}

# Selects and copies the reading box's text (Tab from the calendar: the two
# buttons before it, then the box) and prints it as it is, CR LF included.
read_reading_box() {
  point_at "$1"
  keys Tab Tab Tab ctrl+a ctrl+c
  timeout 5 xclip -o -selection clipboard 2>/dev/null
}

# Answers the message box or window titled "$1" with Enter.
dismiss() {
  point_at "$(wait_window "$1")"
  keys Return
}

# In the settings window "$1" as it opens with autorun off (the focus on OK),
# switches "AutoRun daily at" on and dismisses the "Support Notice".
switch_autorun_on() {
  point_at "$1"
  # Tab passes the disabled time picker and the chime.
  keys Tab Tab space
  dismiss "Support Notice"
  point_at "$1"
}

# On a first run: switches "AutoRun daily at" on in the settings window,
# dismisses the "Support Notice", confirms with OK and dismisses the
# "Autorun" notice; once the main window is up and the settings are saved in
# FOLDER (default: the program's folder), prints the main window's id.
confirm_first_run_with_autorun() {
  local dir=${1:-$APP_DIR} main
  switch_autorun_on "$(wait_window "Settings")"
  keys Return
  dismiss "Autorun"
  main=$(wait_main_window)
  for _ in $(seq 100); do [ -s "$dir/orv.dat" ] && break; sleep 0.05; done
  echo "$main"
}
