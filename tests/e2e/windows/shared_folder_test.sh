#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# The Windows program under wine in a folder that other users may change
# (chmod o+w, which wine shows as Everyone: Modify): its settings are kept in
# %APPDATA%\Velmora, not beside it, and autorun on books no daily task. Then
# with %APPDATA% reached through a link that another user made, the save is
# refused rather than written through it.
# wine shows neither a message box's text nor who made a link: it reads the
# owner of what the link leads to, so here both are another user's. Needs
# BIN_DIR (the built talvik.exe, book and chime), WINEPREFIX and the run's
# wine session on its own display (wine_session.sh, the wine.start fixture).
. "$(dirname "$0")/lib.sh"
C="$WINEPREFIX/drive_c"
SHARED="$C/velmora-shared-$$"
WIN_SHARED="C:\\velmora-shared-$$"
trap 'cleanup; rm -rf "$SHARED"' EXIT

# Starts the program with %APPDATA% set to the Windows path $1.
start_program() {
  setsid wine cmd /c "set APPDATA=$1&& $WIN_SHARED\\talvik.exe" </dev/null >/dev/null 2>&1 &
  APP_PID=$!
}
# Escape on the main window ends the program, once its booking is done.
end_program() {
  local main
  main=$(wait_window "")
  point_at "$main"
  keys Escape
  for _ in $(seq 300); do kill -0 "$APP_PID" 2>/dev/null || break; sleep 0.1; done
  kill -0 "$APP_PID" 2>/dev/null && fail "Escape did not end the program"
  APP_PID=
}

mkdir -p "$SHARED/home"
cp "$BIN_DIR/talvik.exe" "$BIN_DIR/maravelle.pdb" "$BIN_DIR/orv.wav" "$SHARED/"
chmod 777 "$SHARED"
tasks_before=$(task_files)

# The first start's Settings window, with autorun turned on: its "Support
# Notice", then the "Autorun" notice, which says why no task can be booked.
start_program "$WIN_SHARED\\home"
first_settings_with_autorun
end_program
[ ! -e "$SHARED/orv.dat" ] || fail "the settings were kept in a folder others may change"
[ "$(stat -c %s "$SHARED/home/Velmora/orv.dat" 2>/dev/null)" = 24 ] || fail "the settings are not in %APPDATA%\\Velmora"
[ "$(task_files)" = "$tasks_before" ] || fail "a daily task was booked for a program others could replace"

# %APPDATA% through a link that another user made, to a folder of theirs:
# OK says that nothing could be saved, and nothing is.
mkdir -p "$SHARED/theirs/Velmora"
chown nobody "$SHARED/theirs"
ln -s theirs "$SHARED/roaming"
chown -h nobody "$SHARED/roaming"
start_program "$WIN_SHARED\\roaming"
dismiss Settings
dismiss "Settings not saved"
end_program
[ -z "$(ls -A "$SHARED/theirs/Velmora")" ] || fail "saved through another user's link: $(ls -A "$SHARED/theirs/Velmora")"
echo "ok"
