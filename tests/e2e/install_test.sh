#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# A user's installation from first to last: tools/install into a fresh home,
# a first start from the launcher that books the daily start, an upgrade that
# keeps the settings and the user's own book, a start from the desktop entry,
# and an uninstall that removes the booking and leaves the home as it was.
. "$(dirname "$0")/lib.sh"

ROOT=$(cd "$(dirname "$0")/../.." && pwd)
export VELMORA_BUILD_DIR=${BIN_DIR%/bin}
export HOME="$WORK/home dir" # a space in the path on purpose
export XDG_CONFIG_HOME="$HOME/.config"
# The sound library's cache is shared by every program, not Velmora's to remove.
export XDG_CACHE_HOME="$WORK/cache"
unset XDG_DATA_HOME
mkdir -p "$HOME"
DIR=$HOME/.local/opt/velmora
ENTRY=$HOME/.local/share/applications/example.velmora.Velmora.desktop
UNITS=$XDG_CONFIG_HOME/systemd/user

(umask 002 && "$ROOT/tools/install") >"$WORK/install.log" || fail "install failed: $(cat "$WORK/install.log")"
[ "$(stat -c %a "$DIR" "$HOME/.local")" = "755
755" ] || fail "the install made folders others may write: $(stat -c '%a %n' "$DIR" "$HOME/.local")"
for f in talvik talvik-book maravelle.pdb orv.wav uninstall; do [ -f "$DIR/$f" ] || fail "$DIR/$f is missing"; done
for f in talvik talvik-book; do
  file -b "$DIR/$f" | grep -q ', stripped' || fail "$f is installed unstripped: $(file -b "$DIR/$f")"
done
[ ! -e "$DIR/orv.dat" ] || fail "the install wrote settings"
[ "$(readlink -f "$HOME/.local/bin/talvik")" = "$DIR/talvik" ] || fail "the launcher does not lead to $DIR/talvik"
desktop-file-validate "$ENTRY" || fail "the desktop entry is not valid"
appstreamcli validate --no-net "$HOME/.local/share/metainfo/example.velmora.Velmora.metainfo.xml" >"$WORK/as.log" ||
  fail "the metainfo is not valid: $(cat "$WORK/as.log")"
for size in 16x16 32x32 48x48 64x64 128x128 256x256; do
  [ -f "$HOME/.local/share/icons/hicolor/$size/apps/example.velmora.Velmora.png" ] || fail "no $size icon"
done

# First start from the launcher: the settings window opens by itself; autorun
# on, then OK books tomorrow 08:00 for the program's real path.
start_display
FAKETIME_DONT_FAKE_MONOTONIC=1 setsid faketime -f "@2026-12-07 09:15:00" "$HOME/.local/bin/talvik" \
  >"$WORK/talvik.log" 2>&1 &
APP_PID=$!
confirm_first_run_with_autorun "$DIR" >/dev/null
[ -s "$DIR/orv.dat" ] || fail "the settings were not saved beside the installed program"
timer=$(ls "$UNITS"/talvik-*.timer 2>/dev/null) || fail "no timer was booked"
grep -q "^ExecStart=\":$DIR/talvik\"\$" "${timer%.timer}.service" ||
  fail "the booking does not start $DIR/talvik: $(cat "${timer%.timer}.service")"

# While the program runs, uninstall refuses and removes nothing.
"$DIR/uninstall" >"$WORK/uninstall.log" 2>&1 && fail "uninstall went ahead while Velmora was running"
grep -q "Velmora is running" "$WORK/uninstall.log" || fail "uninstall said: $(cat "$WORK/uninstall.log")"
[ -f "$DIR/talvik" ] && [ -f "$timer" ] || fail "a refused uninstall removed files"
stop_program

# An upgrade keeps the settings and a book of the user's own.
printf 'Own Book\n\nMy first reading\n' | "$DIR/talvik-book" make /dev/stdin "$DIR/maravelle.pdb" 2>/dev/null
cp "$DIR/orv.dat" "$WORK/orv.dat"
cp "$DIR/maravelle.pdb" "$WORK/own.pdb"
# A file that an earlier version installed and this one does not goes.
old_page=$HOME/.local/share/man/man1/talvik.1
: >"$old_page"
echo "file $old_page" >>"$DIR/installed-files"
"$ROOT/tools/install" >"$WORK/install.log" || fail "the second install failed: $(cat "$WORK/install.log")"
[ ! -e "$old_page" ] || fail "the upgrade left the earlier version's $old_page"
cmp -s "$DIR/orv.dat" "$WORK/orv.dat" || fail "the upgrade changed the settings"
cmp -s "$DIR/maravelle.pdb" "$WORK/own.pdb" || fail "the upgrade replaced the user's book"
# A damaged book is refused before anything changes.
head -c 90 "$DIR/maravelle.pdb" >"$WORK/cut.pdb"
"$ROOT/tools/install" --book "$WORK/cut.pdb" >"$WORK/install.log" 2>&1 && fail "a damaged book was installed"
grep -q "is not a sound book" "$WORK/install.log" || fail "install said: $(cat "$WORK/install.log")"
cmp -s "$DIR/maravelle.pdb" "$WORK/own.pdb" || fail "a refused book replaced the user's book"

# The desktop entry starts the installed program, beside the user's book.
FAKETIME_DONT_FAKE_MONOTONIC=1 faketime -f "@2027-01-01 08:00:00" gio launch "$ENTRY"
main=$(wait_main_window)
box=$(read_reading_box "$main" | sed 's/\r$//')
[ "$box" = $'Verse 1:\n\nMy first reading' ] || fail "the desktop entry's program shows [$box]"
pid=$(xdotool getwindowpid "$main")
[ "$(readlink "/proc/$pid/exe")" = "$DIR/talvik" ] || fail "the desktop entry started $(readlink "/proc/$pid/exe")"
kill "$pid"
for _ in $(seq 100); do kill -0 "$pid" 2>/dev/null || break; sleep 0.05; done

# While systemctl cannot remove the booking, uninstall stops before anything
# is removed and says what to do.
touch "$SYSTEMCTL_LOG.fail"
"$DIR/uninstall" >"$WORK/uninstall.log" 2>&1 && fail "uninstall went ahead though the daily start stayed booked"
grep -q "systemctl --user status" "$WORK/uninstall.log" || fail "uninstall said: $(cat "$WORK/uninstall.log")"
[ -f "$DIR/talvik" ] && [ -f "$timer" ] && [ -f "$ENTRY" ] || fail "a refused uninstall removed files"
rm "$SYSTEMCTL_LOG.fail"

# Uninstall: the booking goes first, through systemctl, then every file.
: >"$SYSTEMCTL_LOG"
"$DIR/uninstall" >"$WORK/uninstall.log" 2>&1 || fail "uninstall failed: $(cat "$WORK/uninstall.log")"
grep -qxe "--user disable --now $(basename "$timer")" "$SYSTEMCTL_LOG" ||
  fail "the timer was not disabled: $(cat "$SYSTEMCTL_LOG")"
# The empty folders of the user's systemd configuration may stay.
left=$(find "$HOME" -mindepth 1 -not -path "$UNITS" -not -path "$XDG_CONFIG_HOME/systemd" \
  -not -path "$XDG_CONFIG_HOME" | sort)
[ -z "$left" ] || fail "uninstall left behind: $left"
[ -z "$(ls -A "$UNITS")" ] || fail "uninstall left units: $(ls -A "$UNITS")"
echo "1 passed, 0 failed"
