#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# The reader started on 7 December 2026 opens on verse 341, at the top-left
# corner; without a book it says so and shows the heading alone.
. "$(dirname "$0")/lib.sh"

source_text="$WORK/book.txt"
{
  echo "# test book"
  echo "Title page"
  for i in $(seq 1 365); do printf '\nReading %d\nsecond line\n' "$i"; done
} >"$source_text"
"$BIN_DIR/talvik-book" make "$source_text" "$WORK/maravelle.pdb"
# Settings saved before: chime off, autorun off, 08:00 -- no settings window.
printf '\0\0\0\0\0\0\0\0\xea\x07\x0c\0\x01\0\x07\0\x08\0\0\0\0\0\0\0' >"$APP_DIR/orv.dat"

start_display
install_program "$WORK/maravelle.pdb"
start_program "2026-12-07 08:00:00"
main=$(wait_main_window)
eval "$(xdotool getwindowgeometry --shell "$main")"
[ "$X" = 0 ] && [ "$Y" = 0 ] || fail "main window at $X,$Y, not at the top-left corner"
text=$(read_reading_box "$main" | od -An -c | tr -s ' \n' ' ')
expected=$(printf 'Verse 341:\r\n\r\nReading 341\r\nsecond line' | od -An -c | tr -s ' \n' ' ')
[ "$text" = "$expected" ] || fail "reading box holds [$text], expected [$expected]"

# Escape ends the program.
keys Escape
for _ in $(seq 100); do kill -0 "$APP_PID" 2>/dev/null || break; sleep 0.05; done
kill -0 "$APP_PID" 2>/dev/null && fail "Escape did not end the program"
APP_PID=

# Without the book: the "Error!" box over the main window, then the heading.
rm "$APP_DIR/maravelle.pdb"
start_program "2026-12-07 08:00:00"
box=$(wait_window "Error!")
main=$(wait_main_window)
point_at "$box"
keys Return
text=$(read_reading_box "$main" | od -An -c | tr -s ' \n' ' ')
expected=$(printf 'Verse 341:\r\n\r\n' | od -An -c | tr -s ' \n' ' ')
[ "$text" = "$expected" ] || fail "without a book the box holds [$text]"
stop_program
echo "1 passed, 0 failed"
