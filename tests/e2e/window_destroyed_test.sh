#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# The main window destroyed by another program (a kill-window tool, a
# crashing compositor) ends the program as closing it would: at once when it
# runs alone, after cancelling the first-run settings window above it, and
# once the "Error!" box over it is dismissed.
. "$(dirname "$0")/lib.sh"

"$BIN_DIR/talvik-book" make /dev/stdin "$WORK/maravelle.pdb" <<<"$(printf 'Title\n\nOne\n')" 2>/dev/null
start_display
install_program "$WORK/maravelle.pdb"

# Waits for the program to end after its main window was destroyed.
expect_end() {
  for _ in $(seq 200); do kill -0 "$APP_PID" 2>/dev/null || break; sleep 0.05; done
  kill -0 "$APP_PID" 2>/dev/null && fail "the program went on without its window ($1)"
  APP_PID=
}

start_program "2026-12-07 09:15:00"
wait_window "Settings" >/dev/null
xdotool windowclose "$(wait_main_window)"
expect_end "first run"
[ ! -e "$APP_DIR/orv.dat" ] || fail "the cancelled settings window saved orv.dat"

printf '\0\0\0\0\0\0\0\0\xea\x07\x0c\0\x01\0\x07\0\x08\0\0\0\0\0\0\0' >"$APP_DIR/orv.dat"
start_program "2026-12-07 09:15:00"
xdotool windowclose "$(wait_main_window)"
expect_end "settings saved"

rm "$APP_DIR/maravelle.pdb"
start_program "2026-12-07 09:15:00"
box=$(wait_window "Error!")
xdotool windowclose "$(wait_main_window)"
point_at "$box"
keys Return
expect_end "no book"
echo "1 passed, 0 failed"
