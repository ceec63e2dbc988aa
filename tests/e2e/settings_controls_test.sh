#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# The settings window's controls lie in their template's rectangles, as a
# screen reader finds them on the screen, and the time picker, though small,
# still takes digits and steps with its arrows.
. "$(dirname "$0")/atspi.sh"

"$BIN_DIR/talvik-book" make /dev/stdin "$WORK/maravelle.pdb" <<<"$(printf 'Title\n\nOne\n')"
start_display
install_program "$WORK/maravelle.pdb"
start_program "2026-12-07 09:15:00"
settings=$(wait_window "Settings")
wait_tree $'^Settings\tpush button\tOK\t.*focused' >/dev/null

# The window is 186 x 62 dialog units; a control's parts (the picker's text
# and arrows) together make its rectangle.
eval "$(xdotool getwindowgeometry --shell "$settings")"
tolerance=3
controls=(
  "OK|67 41 50 14"
  "Daily start time|77 18 57 13"
  "Bell Chime|7 7 50 9"
  "AutoRun daily at|7 20 67 9"
)
for control in "${controls[@]}"; do
  IFS='|' read -r name rect <<<"$control"
  read -r x y cx cy <<<"$rect"
  read -r left top right bottom <<<"$(tree | awk -F'\t' -v name="$name" '$1 == "Settings" && $3 == name {
      split($5, e, " ")
      if (!n++ || e[1] < l) l = e[1]; if (n == 1 || e[2] < t) t = e[2]
      if (n == 1 || e[1] + e[3] > r) r = e[1] + e[3]; if (n == 1 || e[2] + e[4] > b) b = e[2] + e[4]
    } END { if (n) print l, t, r, b }')"
  [ -n "$left" ] || fail "no \"$name\" on the screen"
  want="$((X + WIDTH * x / 186)) $((Y + HEIGHT * y / 62)) $((X + WIDTH * (x + cx) / 186)) $((Y + HEIGHT * (y + cy) / 62))"
  read -r -a expected <<<"$want"
  actual=("$left" "$top" "$right" "$bottom")
  for i in 0 1 2 3; do
    d=$((actual[i] - expected[i]))
    [ "${d#-}" -le "$tolerance" ] || fail "\"$name\" spans ${actual[*]} on the screen, its template ${expected[*]}"
  done
done

# Digits fill the hours and minutes; the arrows then step the seconds.
switch_autorun_on "$settings"
keys shift+Tab shift+Tab 0 6 4 5
wait_tree $'^Settings\ttext\tDaily start time\t[^\t]*\t[^\t]*\t06:45:00$' >/dev/null
click_control "$settings" 130 18 4 6 186 62
wait_tree $'\t06:45:01$' >/dev/null
click_control "$settings" 130 25 4 6 186 62
click_control "$settings" 130 25 4 6 186 62
wait_tree $'\t06:45:59$' >/dev/null
point_at "$settings"
keys Return
wait_tree $'^Autorun\tlabel\tTALVIK will next run on 8 of Dec, 2026 at 6:45\t' >/dev/null
stop_program
echo "1 passed, 0 failed"
