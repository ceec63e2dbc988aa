#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# On the first run, under a window manager (openbox) as on a bare X server:
# the main window opens in the top-left corner, the settings window over the
# same corner, and the reading is drawn in the box behind the settings window.
. "$(dirname "$0")/lib.sh"

reading="Reading number %d, long enough to run on past the settings window."
"$BIN_DIR/talvik-book" make /dev/stdin "$WORK/maravelle.pdb" <<<"$(printf "Title\n\n"; for i in $(seq 365); do printf "$reading\n\n" "$i"; done)"
start_display
install_program "$WORK/maravelle.pdb"

# The top-left corner of window $1 on the screen, with its frame if it has one.
outer_corner() {
  local x y left top
  x=$(xwininfo -id "$1" | awk '/Absolute upper-left X/ { print $NF }')
  y=$(xwininfo -id "$1" | awk '/Absolute upper-left Y/ { print $NF }')
  read -r left _ top _ <<<"$(xprop -id "$1" _NET_FRAME_EXTENTS | sed -n 's/.*= //p' | tr -d ,)"
  echo "$((x - ${left:-0})) $((y - ${top:-0}))"
}

for wm in openbox none; do
  WM_PID=
  if [ "$wm" = openbox ]; then
    openbox --sm-disable >/dev/null 2>&1 &
    WM_PID=$!
    for _ in $(seq 100); do xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q window && break; sleep 0.05; done
  fi
  rm -f "$APP_DIR/orv.dat"
  start_program "2026-12-07 09:15:00"
  settings=$(wait_window "Settings")
  main=$(wait_main_window)
  [ "$(outer_corner "$main")" = "0 0" ] || fail "$wm: main window at $(outer_corner "$main")"
  [ "$(outer_corner "$settings")" = "0 0" ] || fail "$wm: settings window at $(outer_corner "$settings")"

  # Right of the settings window the box shows the reading's long line.
  eval "$(xdotool getwindowgeometry --shell "$settings")"
  sleep 1
  colours=$(import -window root -crop "200x60+$((X + WIDTH + 20))+10" +repage png:- | convert png:- -format %k info:)
  [ "$colours" -gt 2 ] || fail "$wm: the reading box is blank behind the settings window"
  stop_program
  [ -z "$WM_PID" ] || { kill "$WM_PID"; wait "$WM_PID" 2>/dev/null || true; }
done
echo "1 passed, 0 failed"
