#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# What a screen reader sees of both windows, and what the keyboard does:
# every control that takes the focus has a name, the calendar tells its date
# and changes it from the keyboard, the hidden Cancel button cannot be found,
# and the time picker's arrows move between its fields.
. "$(dirname "$0")/atspi.sh"

"$BIN_DIR/talvik-book" make /dev/stdin "$WORK/maravelle.pdb" <<<"$(printf 'Title\n\n%s\n\n' $(seq 1 365))"
start_display
install_program "$WORK/maravelle.pdb"
start_program "2026-12-07 09:15:00"

settings=$(wait_window "Settings")
wait_tree $'^Settings\tpush button\tOK\t.*focused' >/dev/null
wait_tree $'^Settings\ttext\tDaily start time\t[^\t]*\t[^\t]*\t08:00:00$' >/dev/null
expect_every_focusable_named
[ -z "$(tree | cut -f3 | grep -x Cancel)" ] || fail "the hidden Cancel button can be found"

# Autorun on, then back to the picker: Right moves from the hours to the
# minutes, where Up adds one.
switch_autorun_on "$settings"
keys shift+Tab shift+Tab Right Up
wait_tree $'^Settings\ttext\tDaily start time\t[^\t]*enabled[^\t]*\t[^\t]*\t08:01:00$' >/dev/null
keys Left Up
wait_tree $'\t09:01:00$' >/dev/null
keys Return
wait_tree $'^Autorun\tlabel\tTALVIK will next run on 8 of Dec, 2026 at 9:01\t' >/dev/null
point_at "$(wait_window Autorun)"
keys Return

# The main window: named, though its title stays empty; the focus starts on
# the calendar, which is named after its date.
main=$(wait_main_window)
[ -z "$(xdotool getwindowname "$main")" ] || fail "the main window has a title"
wait_tree $'^Velmora\tframe\tVelmora\t' >/dev/null
wait_tree $'^Velmora\tcalendar\tMonday 7 December 2026\t[^\t]*focused' >/dev/null
wait_tree $'^Velmora\ttext\tReading\t[^\t]*\t[^\t]*\tVerse 341:$' >/dev/null
expect_every_focusable_named

# The keyboard moves the date; the name and the reading follow.
point_at "$main"
keys Right
wait_tree $'^Velmora\tcalendar\tTuesday 8 December 2026\t' >/dev/null
keys Down
wait_tree $'^Velmora\tcalendar\tTuesday 15 December 2026\t' >/dev/null
wait_tree $'^Velmora\ttext\tReading\t[^\t]*\t[^\t]*\tVerse 349:$' >/dev/null
stop_program
echo "1 passed, 0 failed"
