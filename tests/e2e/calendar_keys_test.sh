#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# The calendar's keyboard: after a click the keys move the one selected day,
# Space does not jump back to the day clicked, and the keypad's keys with
# NumLock off do what their twins on the main keyboard do. Each step names the
# date the calendar shows afterwards and the verse the reading box shows.
. "$(dirname "$0")/atspi.sh"

"$BIN_DIR/talvik-book" make /dev/stdin "$WORK/maravelle.pdb" <<<"$(printf 'Title\n\n%s\n\n' $(seq 1 365))"
# Settings saved before: chime off, autorun off, 08:00 -- no settings window.
printf '\0\0\0\0\0\0\0\0\xea\x07\x0c\0\x01\0\x07\0\x08\0\0\0\0\0\0\0' >"$APP_DIR/orv.dat"
start_display
install_program "$WORK/maravelle.pdb"
start_program "2026-12-07 09:15:00"
wait_main_window >/dev/null
calendar=$(wait_tree $'^Velmora\tcalendar\tMonday 7 December 2026\t')
# A click puts the toolkit's own focus mark on a Sunday of December.
[[ $(click_first_column "$calendar") == Sunday*December\ 2026 ]] || fail "the click did not select a December Sunday"

# A step's keys go out together: a key that set off a second change of date
# would show in the date that the step ends on.
steps=(
  "Home|Tuesday 1 December 2026|335"
  "Right Right Right|Friday 4 December 2026|338"
  "space Right|Saturday 5 December 2026|339"
  "Next space Left|Monday 4 January 2027|4"
  "shift+space Down|Monday 11 January 2027|11"
  "KP_Right|Tuesday 12 January 2027|12"
  "KP_Down|Tuesday 19 January 2027|19"
  "KP_Left|Monday 18 January 2027|18"
  "KP_Up|Monday 11 January 2027|11"
  "KP_Next|Thursday 11 February 2027|42"
  "KP_Prior|Monday 11 January 2027|11"
  "KP_End|Sunday 31 January 2027|31"
  "KP_Home|Friday 1 January 2027|1"
)
for step in "${steps[@]}"; do
  IFS='|' read -r step_keys date verse <<<"$step"
  read -ra step_keys <<<"$step_keys"
  keys "${step_keys[@]}"
  line=$(tree | awk -F'\t' '$2 == "calendar"')
  [ "$(cut -f3 <<<"$line")" = "$date" ] || fail "after ${step_keys[*]} the calendar shows $(cut -f3 <<<"$line"), not $date"
  wait_tree $'^Velmora\ttext\tReading\t[^\t]*\t[^\t]*\tVerse '"$verse"':$' >/dev/null
done
stop_program
echo "1 passed, 0 failed"
