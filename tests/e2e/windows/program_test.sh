#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# The Windows program under wine, from its installer to its uninstaller: a
# silent install; the first start opens on today's reading and the settings
# window, whose OK writes the same 24 bytes as on Linux; a date chosen with
# the keys shows that date's reading; autorun on registers the daily task
# with wake and catch-up, off deletes it; Escape ends the program. Neither
# the installer nor the uninstaller changes anything while the program or
# its book tool runs, nor the uninstaller without the book tool; installing
# again keeps the settings, the task and the user's own book. The current
# user's own install sits beside it, where an upgrade replaces the sample
# book. A silent uninstall leaves no file, Start-menu entry, task or
# registry key behind. wine's user is an administrator: a standard user's
# install is left to .github/workflows/windows.yml.
# Needs INSTALLER (the built Velmora-*-win64.exe), WINEPREFIX and the run's
# wine session on its own display (wine_session.sh, the wine.start fixture).
. "$(dirname "$0")/lib.sh"

C="$WINEPREFIX/drive_c"
DIR="$C/Program Files/Velmora"
TASKS="$C/windows/system32/tasks"
MENU="$C/ProgramData/Microsoft/Windows/Start Menu/Programs/Velmora"
PROFILE="users/${USER:-$(id -un)}"
OWN_DIR="$C/$PROFILE/AppData/Local/Programs/Velmora"
OWN_MENU="$C/$PROFILE/AppData/Roaming/Microsoft/Windows/Start Menu/Programs/Velmora"

# The reading box's text through the clipboard (Tab from the calendar: two
# buttons, then the box), without its CRs.
# Clicks the main window's point at (right, down) pixels from its top-left
# corner, or from its other corners for negative numbers.
click_main() {
  eval "$(xdotool getwindowgeometry --shell "$MAIN")"
  local x=$1 y=$2
  [ "$x" -ge 0 ] || x=$((WIDTH + x))
  [ "$y" -ge 0 ] || y=$((HEIGHT + y))
  xdotool mousemove "$((X + x))" "$((Y + y))" click 1
  sleep 0.4
}
# The reading box's text through the clipboard, without its CRs; the focus
# then goes back to the calendar (before it: the two buttons).
# A copy that finds the clipboard empty (the click not yet taken, on a busy
# machine) is tried again.
read_reading() {
  local text=
  for _ in 1 2 3; do
    click_main -200 60
    keys ctrl+a ctrl+c
    text=$(timeout 5 xclip -o -selection clipboard 2>/dev/null | tr -d '\r')
    [ -n "$text" ] && break
  done
  printf '%s\n' "$text"
  keys shift+Tab shift+Tab shift+Tab
}
reading_of() { wine "$DIR/talvik-book.exe" show "$DIR/maravelle.pdb" "$1" 2>/dev/null | tr -d '\r'; }
# What an install or uninstall might change: the folder's files and the tasks.
state() { find "$1" -type f -printf '%P %s %T@\n' | sort && task_files; }
has_key() { wine reg query "$1" </dev/null >/dev/null 2>&1; }
# Runs the uninstaller in C:\$1 in place, so that its status is its own (else
# it copies itself away and returns at once). NSIS takes the folder from the
# last words unquoted, spaces and all.
uninstall_in() {
  local words
  read -ra words <<<"_?=C:\\${1//\//\\}"
  wine "$C/$1/Uninstall.exe" /S "${words[@]}" </dev/null >/dev/null 2>&1
}
# An install's files and Start-menu entry in the folders $1 and $2.
installed() {
  for f in talvik.exe talvik-book.exe maravelle.pdb orv.wav LICENSE.txt; do
    [ -f "$1/$f" ] || fail "the installer left no $f in $1"
  done
  [ -f "$2/Velmora.lnk" ] || fail "no Start-menu entry in $2"
}
# The uninstaller run as users run it, which must leave neither folder; it
# finishes a little after wine returns.
uninstall() {
  wine "$1/Uninstall.exe" /S </dev/null >/dev/null 2>&1 || fail "the uninstaller in $1 failed"
  for _ in $(seq 100); do [ -e "$1" ] || [ -e "$2" ] || break; sleep 0.2; done
  [ ! -e "$1" ] || fail "left behind: $(ls -A "$1")"
  [ ! -e "$2" ] || fail "the Start-menu entry in $2 is left"
}
# Expects the installer or uninstaller "$@" to end with a failure and leave
# the install in $DIR as it was.
refused() {
  local before status=0
  before=$(state "$DIR")
  "$@" </dev/null >/dev/null 2>&1 || status=$?
  [ "$status" != 0 ] || fail "$* went ahead"
  [ "$(state "$DIR")" = "$before" ] || fail "$* refused but changed: $(diff <(echo "$before") <(state "$DIR"))"
}

# Install, over what an earlier run may have left in the shared prefix.
rm -rf "$DIR" "$MENU" "$OWN_DIR" "$OWN_MENU" "$TASKS"/Velmora\ daily\ start\ *
for key in 'HKLM\Software\Velmora' 'HKCU\Software\Velmora' \
  {HKLM,HKCU}'\Software\Microsoft\Windows\CurrentVersion\Uninstall\Velmora'; do
  wine reg delete "$key" /f </dev/null >/dev/null 2>&1 || true # none left: nothing to delete
done
wine "$INSTALLER" /S </dev/null >/dev/null 2>&1 || fail "the installer failed"
installed "$DIR" "$MENU"
has_key 'HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Velmora' || fail "no uninstall entry"

# First start: today's reading behind the settings window, whose OK writes
# chime on, autorun off and 08:00:00 of today.
setsid wine "$DIR/talvik.exe" </dev/null >"$WORK/talvik.log" 2>&1 &
APP_PID=$!
dismiss Settings
MAIN=$(wait_window "")
[ -f "$DIR/orv.dat" ] || fail "OK wrote no settings file"
# Two BOOLs, then SYSTEMTIME's eight 16-bit fields, little-endian.
expected=0100000000000000$(printf ' %04x' "$(date +%Y)" "$((10#$(date +%m)))" "$(date +%w)" \
  "$((10#$(date +%d)))" 8 0 0 0 | sed -E 's/ ([0-9a-f]{2})([0-9a-f]{2})/\2\1/g')
[ "$(xxd -p "$DIR/orv.dat" | tr -d '\n')" = "$expected" ] || fail "orv.dat: $(xxd -p "$DIR/orv.dat")"
today=$(read_reading)
[ "$today" = "$(reading_of "$(date +%F)")" ] || fail "not today's reading: $today"

# A date chosen with the keys: Home, the first of the month; Page Up, the
# first of the month before.
keys Home Prior
first=$(date -d "$(date +%Y-%m-01) -1 month" +%F)
[ "$(read_reading)" = "$(reading_of "$first")" ] || fail "the reading did not follow the keys to $first"

# Autorun on: the "Support Notice", the "Autorun" notice, and a task that wakes
# the machine and catches up; off deletes it; on again for the uninstaller.
set_autorun() {
  click_main -100 -12 # the "Settings" button
  local settings
  # Opening with autorun on, the notice comes before the window shows.
  [ "$1" = off ] && dismiss "Support Notice"
  settings=$(wait_window Settings)
  if [ "$1" = off ]; then
    point_at "$settings"
    keys Tab Tab Tab space # past the time picker and the chime
  else
    point_at "$settings"
    keys Tab Tab space
    dismiss "Support Notice"
    point_at "$settings"
  fi
  keys Return
  [ "$1" = off ] || dismiss Autorun
  # The booking is made in the background.
  for _ in $(seq 100); do
    if [ "$1" = on ]; then [ -n "$(task_files)" ] && break; else [ -z "$(task_files)" ] && break; fi
    sleep 0.1
  done
  point_at "$MAIN"
}
set_autorun on
[ "$(task_files | wc -l)" = 1 ] || fail "autorun on registered no task"
grep -q '<WakeToRun>true</WakeToRun>' "$(task_files)" || fail "the task does not wake the machine"
grep -q '<StartWhenAvailable>true</StartWhenAvailable>' "$(task_files)" || fail "the task does not catch up"
set_autorun off
[ -z "$(task_files)" ] || fail "autorun off left the task"
set_autorun on
[ -n "$(task_files)" ] || fail "autorun on again registered no task"

# While the program runs, the uninstaller changes nothing.
refused uninstall_in "Program Files/Velmora"

# Escape ends the program.
point_at "$MAIN"
keys Escape
for _ in $(seq 100); do kill -0 "$APP_PID" 2>/dev/null || break; sleep 0.1; done
kill -0 "$APP_PID" 2>/dev/null && fail "Escape did not end the program"
APP_PID=

# A book of the user's own; the book tool making another, waiting for its
# source, holds its program file open: neither an upgrade nor an uninstall
# may change anything meanwhile.
printf 'My own\n\nOne\n\nTwo\n' >"$WORK/own.txt"
wine "$DIR/talvik-book.exe" make "$WORK/own.txt" "$DIR/maravelle.pdb" 2>/dev/null || fail "make failed"
cp "$DIR/maravelle.pdb" "$WORK/own.pdb"
exec {held}> >(exec wine "$DIR/talvik-book.exe" make - "$WORK/other.pdb" >/dev/null 2>&1)
for _ in $(seq 100); do pgrep -f "make - $WORK/other.pdb" >/dev/null && break; sleep 0.1; done
refused wine "$INSTALLER" /S
refused uninstall_in "Program Files/Velmora"
exec {held}>&-

# Without the book tool the daily start cannot be removed: the uninstaller
# changes nothing rather than leave the task behind.
for _ in $(seq 100); do pgrep -f "make - $WORK/other.pdb" >/dev/null || break; sleep 0.1; done
rm "$DIR/talvik-book.exe"
refused uninstall_in "Program Files/Velmora"

# Installing again over it, as an upgrade does, puts the tool back and keeps
# the settings, the booked start and the user's own book.
wine "$INSTALLER" /S /AllUsers </dev/null >/dev/null 2>&1 || fail "the installer failed over an install"
[ -f "$DIR/talvik-book.exe" ] || fail "installing again left no talvik-book.exe"
[ -f "$DIR/orv.dat" ] || fail "installing again removed the settings"
[ -n "$(task_files)" ] || fail "installing again removed the daily start"
cmp -s "$DIR/maravelle.pdb" "$WORK/own.pdb" || fail "installing again replaced the user's own book"

# The current user's own install, beside the one for all users, with its
# records under HKCU. Installing it again replaces the sample book it holds
# (its file's time shows the new copy).
wine "$INSTALLER" /S /CurrentUser </dev/null >/dev/null 2>&1 || fail "the installer for the current user failed"
installed "$OWN_DIR" "$OWN_MENU"
has_key 'HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall\Velmora' || fail "no uninstall entry under HKCU"
sample_time=$(stat -c %Y "$OWN_DIR/maravelle.pdb")
touch -d 2001-01-01 "$OWN_DIR/maravelle.pdb"
wine "$INSTALLER" /S /CurrentUser </dev/null >/dev/null 2>&1 || fail "the installer failed over the current user's install"
[ "$(stat -c %Y "$OWN_DIR/maravelle.pdb")" = "$sample_time" ] || fail "the sample book was kept as if the user's own"
uninstall "$OWN_DIR" "$OWN_MENU"
for key in 'HKCU\Software\Velmora' 'HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall\Velmora'; do
  ! has_key "$key" || fail "$key is left"
done
cmp -s "$DIR/maravelle.pdb" "$WORK/own.pdb" || fail "uninstalling the current user's install changed the other"

# Uninstall.
uninstall "$DIR" "$MENU"
[ -z "$(task_files)" ] || fail "the daily task is left"
[ ! -e "$C/$PROFILE/AppData/Roaming/Velmora" ] || fail "settings left in AppData"
for key in 'HKLM\Software\Velmora' 'HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Velmora'; do
  ! has_key "$key" || fail "$key is left"
done
echo "ok"
