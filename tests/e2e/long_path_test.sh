#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# A program whose path is longer than the system will tell (over 4095 bytes)
# cannot learn its own folder. It never takes the current folder for it,
# though that holds a book and can be written: it says that the book cannot
# be found, and keeps the settings in the user's own folder.
. "$(dirname "$0")/lib.sh"

# Twenty folders of 250 letters; the program is started from the tenth, by a
# path relative to it, as no path to it from the root can be used.
name=$(printf 'd%.0s' $(seq 250))
(
  cd "$WORK"
  for _ in $(seq 20); do mkdir "$name" && cd "$name"; done
  cp "$BIN_DIR/talvik" "$BIN_DIR/maravelle.pdb" .
)
current=$WORK
relative=.
for i in $(seq 20); do
  if [ "$i" -le 10 ]; then current=$current/$name; else relative=$relative/$name; fi
done
printf 'Decoy\n\nNot the program'"'"'s book\n' >"$WORK/decoy.txt"
"$BIN_DIR/talvik-book" make "$WORK/decoy.txt" "$current/maravelle.pdb"

start_display
(cd "$current" && FAKETIME_DONT_FAKE_MONOTONIC=1 exec setsid faketime -f "@2026-01-01 09:00:00" \
  "$relative/talvik" >"$WORK/talvik.log" 2>&1) &
APP_PID=$!
dismiss "Error!"
dismiss "Settings"
for _ in $(seq 100); do [ -s "$XDG_CONFIG_HOME/velmora/orv.dat" ] && break; sleep 0.05; done
[ -s "$XDG_CONFIG_HOME/velmora/orv.dat" ] || fail "the settings were not saved in the user's own folder"
[ ! -e "$current/orv.dat" ] || fail "the settings were saved in the current folder"
box=$(read_reading_box "$(wait_main_window)" | tr -d '\r')
[ "$box" = $'Verse 1:\n\n' ] || [ "$box" = 'Verse 1:' ] || fail "the reading box holds [$box]"
stop_program
echo "1 passed, 0 failed"
