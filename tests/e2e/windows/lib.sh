#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Helpers for the tests of the Windows program under wine: a folder of the
# test's own, the run's display, and keys and windows found with xdotool.
set -euo pipefail
export WINEDEBUG=-all TZ=UTC WINEDLLOVERRIDES=winemenubuilder.exe=d
WORK=$(mktemp -d)
APP_PID=
cleanup() {
  [ -z "$APP_PID" ] || kill -- -"$APP_PID" 2>/dev/null || true
  rm -rf "$WORK"
}
trap cleanup EXIT
fail() {
  echo "FAIL: $*" >&2
  [ -z "${DISPLAY:-}" ] || import -window root "$WORK/fail.png" 2>/dev/null && cp "$WORK/fail.png" "${TMPDIR:-/tmp}/windows_$(basename "$0" _test.sh)-fail.png" 2>/dev/null || true
  exit 1
}

# The run's display, which wine's session began on (wine_session.sh): the
# program's windows show there or nowhere.
DISPLAY=
[ -f "$WINEPREFIX/test-display" ] && read -r DISPLAY _ <"$WINEPREFIX/test-display"
[ -n "$DISPLAY" ] || fail "no wine session for the tests: run it through CTest (wine.start)"
export DISPLAY

keys() { xdotool key --delay 80 "$@"; sleep 0.5; }
# Waits for a mapped window titled exactly "$1" of the program (or of the
# window class $2); prints its id.
wait_window() {
  local id
  for _ in $(seq 300); do
    for id in $(xdotool search --onlyvisible --class "${2:-talvik.exe}" 2>/dev/null || true); do
      [ "$(xdotool getwindowname "$id" 2>/dev/null)" = "$1" ] && { echo "$id"; return; }
    done
    sleep 0.1
  done
  fail "no window \"$1\" appeared"
}
# The window with the pointer has the focus: there is no window manager.
point_at() {
  eval "$(xdotool getwindowgeometry --shell "$1")"
  xdotool mousemove "$((X + WIDTH / 2))" "$((Y + HEIGHT / 2))"
  sleep 0.3
}
dismiss() {
  local id
  id=$(wait_window "$1")
  point_at "$id"
  keys Return
}
# The daily tasks wine's Task Scheduler holds, one file each.
task_files() { find "$WINEPREFIX/drive_c/windows/system32/tasks" -maxdepth 1 -name 'Velmora daily start *' 2>/dev/null | sort; }
# On the first start's Settings window: autorun on, with its "Support
# Notice", then OK and the "Autorun" notice that follows it.
first_settings_with_autorun() {
  local settings
  settings=$(wait_window Settings)
  point_at "$settings"
  keys Tab Tab space
  dismiss "Support Notice"
  point_at "$settings"
  keys Return
  dismiss Autorun
}
