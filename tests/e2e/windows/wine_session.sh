#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# The wine session of a test run, in the prefix WINEPREFIX names:
#   wine_session.sh start   ends whatever an earlier run left there, starts
#                           a private Xvfb and a wine server kept until stop,
#                           and begins the session on that display
#   wine_session.sh stop    ends the session and the Xvfb
# wine's desktop process belongs to the session and is born with the display
# of the program that first needs it (each session's start brings it up for
# a few seconds). A program that joins that desktop while it lives shows its
# windows on that display, whatever its own DISPLAY says, or nowhere if the
# desktop began without one. So the session begins on the run's own display
# and is kept for the whole run, and every program of the run uses that
# display: cmake/wine-run and program_test.sh read it from
# $WINEPREFIX/test-display (":N PID", the display and its Xvfb).
set -euo pipefail
export WINEPREFIX=${WINEPREFIX:?} WINEDEBUG=${WINEDEBUG:--all}
# No menu entries in the real user's desktop from the prefix (cmake/wine-run).
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-winemenubuilder.exe=d}
STATE=$WINEPREFIX/test-display

stop() {
  wineserver -k 2>/dev/null || true # none running: nothing to end
  wineserver -w
  if [ -f "$STATE" ]; then
    local pid
    read -r _ pid <"$STATE" || true
    # Only the Xvfb it names, not a process that took its number since.
    [ "$(cat "/proc/$pid/comm" 2>/dev/null)" != Xvfb ] || kill "$pid"
    rm -f "$STATE"
  fi
}

start() {
  stop
  # wineserver will not start for a prefix that does not exist yet; without
  # a server kept for the run, each test could begin a new session.
  mkdir -p "$WINEPREFIX"
  local number=$WINEPREFIX/test-display.number
  rm -f "$number"
  Xvfb -displayfd 3 -noreset -screen 0 1024x768x24 -nolisten tcp 3>"$number" </dev/null >/dev/null 2>&1 &
  local pid=$!
  for _ in $(seq 200); do [ -s "$number" ] && break; sleep 0.05; done
  [ -s "$number" ] || {
    echo "Xvfb did not start" >&2
    exit 1
  }
  DISPLAY=":$(tr -d '\n' <"$number")"
  export DISPLAY
  rm -f "$number"
  echo "$DISPLAY $pid" >"$STATE"
  # The server and the services the first program starts keep what they
  # inherit open: given none of CTest's output, CTest need not wait on them.
  wineserver -p </dev/null >/dev/null 2>&1
  wine cmd /c exit </dev/null >/dev/null 2>&1
}

case "${1:-}" in
  start | stop) "$1" ;;
  *)
    echo "usage: $0 start|stop" >&2
    exit 2
    ;;
esac
