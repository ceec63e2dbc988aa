#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# talvik.exe started as Windows users start it, from a folder whose long name
# holds a letter past ASCII: --version answers on a pipe, on the console it
# was started from, or, started from none, in a message box; an argument it
# does not know is ignored and the program opens. Started through its 8.3
# short path, it books its daily start for the program file itself: the book
# tool removes it through another spelling of the path, and no task is left.
#   BIN_DIR     the Windows build's programs
#   WINEPREFIX  the run's prefix, with its wine session (wine_session.sh)
. "$(dirname "$0")/lib.sh"
BIN_DIR=${BIN_DIR:?}
NAME=$'Velmora \u00c9dition test '$$
DIR="$WINEPREFIX/drive_c/$NAME"
TRACE=$WORK/trace
# The program's processes, by the folder only this run uses; a program
# started through rundll32 is not in the process group of the one started.
running() { pgrep -f "$NAME" || true; }
ended_all() {
  for _ in $(seq 100); do [ -z "$(running)" ] && return 0; sleep 0.1; done
  return 1
}
end_all() {
  cleanup
  local pid
  for pid in $(running); do kill "$pid" 2>/dev/null || true; done
  rm -rf "$DIR"
}
trap end_all EXIT

version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "${BIN_DIR%/bin}/CMakeCache.txt")
mkdir -p "$DIR"
cp "$BIN_DIR/talvik.exe" "$BIN_DIR/talvik-book.exe" "$BIN_DIR/maravelle.pdb" "$BIN_DIR/orv.wav" "$DIR/"
program="C:\\$NAME\\talvik.exe"
short=$(wine winepath -s "$program" 2>/dev/null | tr -d '\r')
[[ "$short" == *"~"* ]] || fail "no short path for $program: [$short]"

# --version on a pipe, then on the console of the program that started it.
[ "$(wine "$DIR/talvik.exe" --version 2>/dev/null | tr -d '\r')" = "talvik $version" ] ||
  fail "--version on a pipe"
# wine draws its console with escape sequences, a space as a move right.
shown=$(script -qec "wine cmd /c '$program' --version" /dev/null </dev/null 2>/dev/null |
  sed -E 's/\x1b\[[0-9]*C/ /g; s/\x1b\[[0-9;?]*[a-zA-Z]//g' | tr -d '\r')
grep -qF "talvik $version" <<<"$shown" || fail "--version in a console showed [$shown]"

# Started from no console (rundll32 has none), the answer is a message box.
# wine's message box copies nothing with Ctrl+C; its trace shows the text.
WINEDEBUG=+msgbox setsid wine rundll32 shell32.dll,ShellExec_RunDLL "$program" --version \
  </dev/null >/dev/null 2>"$TRACE" &
APP_PID=$!
dismiss Velmora
ended_all || fail "the message box did not end the program"
grep -qF "MSGBOX_OnInit L\"talvik $version\"" "$TRACE" || fail "the message box said $(grep MSGBOX "$TRACE")"
APP_PID=

# An argument it does not know, through the short path: the program opens on
# its first start's settings, where autorun is set on.
before=$(task_files)
setsid wine "$short" --no-such-option today </dev/null >/dev/null 2>&1 &
APP_PID=$!
first_settings_with_autorun
for _ in $(seq 100); do [ "$(task_files)" != "$before" ] && break; sleep 0.1; done
task=$(comm -13 <(echo "$before") <(task_files))
[ "$(wc -l <<<"$task")" = 1 ] && [ -n "$task" ] || fail "autorun on registered [$task]"
point_at "$(wait_window "")"
keys Escape
for _ in $(seq 100); do kill -0 "$APP_PID" 2>/dev/null || break; sleep 0.1; done
kill -0 "$APP_PID" 2>/dev/null && fail "Escape did not end the program"
APP_PID=

# Another spelling of the same file: other case, a letter past ASCII
# included, and forward slashes.
other="c:/"$'velmora \u00e9DITION TEST '$$"/TALVIK.EXE"
said=$(wine "$DIR/talvik-book.exe" unschedule "$other" 2>&1 | tr -d '\r') || fail "unschedule said [$said]"
grep -qF "removed the daily start" <<<"$said" || fail "unschedule said [$said]"
[ ! -e "$task" ] || fail "the task is left: $task"
echo "1 passed, 0 failed"
