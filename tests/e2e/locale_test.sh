#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# The calendar follows the user's locale and nothing else does: under German,
# whose dates and decimals are written differently, the calendar names its
# date in German and starts its weeks on Monday, while the reading, the
# "Autorun" notice, orv.dat and the systemd units are byte for byte those of
# the C locale.
. "$(dirname "$0")/atspi.sh"

mkdir -p "$WORK/locale"
localedef -i de_DE -f UTF-8 "$WORK/locale/de_DE.UTF-8" >/dev/null 2>&1 || true
[ -f "$WORK/locale/de_DE.UTF-8/LC_TIME" ] || fail "localedef made no German locale"

"$BIN_DIR/talvik-book" make /dev/stdin "$WORK/maravelle.pdb" <<<"$(printf 'Title\n\n%s\n\n' $(seq 1 365))"
start_display
install_program "$WORK/maravelle.pdb"

# A first day with autorun switched on; keeps in folder $1 what the program
# said and wrote, and the name of the calendar's date before and after a
# click in its first column.
first_day() {
  local out=$1 settings
  mkdir -p "$out"
  rm -rf "$APP_DIR/orv.dat" "$XDG_CONFIG_HOME/systemd"
  start_program "2026-12-07 09:15:00"
  settings=$(wait_window "Settings")
  point_at "$settings"
  keys Tab Tab space
  point_at "$(wait_window "Support Notice")"
  keys Return
  point_at "$settings"
  keys Return
  wait_tree $'^Autorun\tlabel\t' | cut -f3 >"$out/notice"
  point_at "$(wait_window "Autorun")"
  keys Return
  wait_main_window >/dev/null
  for _ in $(seq 100); do [ -s "$APP_DIR/orv.dat" ] && break; sleep 0.05; done
  wait_tree $'^Velmora\ttext\tReading\t' | cut -f6 >"$out/heading"
  calendar=$(wait_tree $'^Velmora\tcalendar\t')
  cut -f3 <<<"$calendar" >"$out/calendar"
  click_first_column "$calendar" >"$out/first-column"
  # The booking goes on in the background once the window is drawn.
  for _ in $(seq 100); do grep -q 'enable' "$SYSTEMCTL_LOG" && break; sleep 0.05; done
  cp "$APP_DIR/orv.dat" "$out/"
  cp -r "$XDG_CONFIG_HOME/systemd/user" "$out/units"
  stop_program
}

first_day "$WORK/c"
[ "$(cat "$WORK/c/calendar")" = "Monday 7 December 2026" ] || fail "calendar: $(cat "$WORK/c/calendar")"
[[ $(cat "$WORK/c/first-column") == Sunday* ]] || fail "first column in C: $(cat "$WORK/c/first-column")"
[ "$(cat "$WORK/c/notice")" = "TALVIK will next run on 8 of Dec, 2026 at 8:00" ] || fail "notice: $(cat "$WORK/c/notice")"

export LOCPATH="$WORK/locale" LANG=de_DE.UTF-8 LC_ALL=de_DE.UTF-8
first_day "$WORK/de"
[ "$(cat "$WORK/de/calendar")" = "Montag 7 Dezember 2026" ] || fail "calendar in German: $(cat "$WORK/de/calendar")"
[[ $(cat "$WORK/de/first-column") == Montag* ]] || fail "first column in German: $(cat "$WORK/de/first-column")"
for kept in notice heading orv.dat units; do
  diff -r "$WORK/c/$kept" "$WORK/de/$kept" >&2 || fail "$kept differs under German"
done
echo "1 passed, 0 failed"
