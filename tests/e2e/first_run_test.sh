#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# A typical first day: no settings yet, so the settings window opens; the
# user switches autorun on and confirms. The settings file and the timer
# then hold tomorrow 08:00, and the next start opens straight on the reading.
. "$(dirname "$0")/lib.sh"

"$BIN_DIR/talvik-book" make /dev/stdin "$WORK/maravelle.pdb" <<<"$(printf 'Title\n\nOne\n')"
start_display
install_program "$WORK/maravelle.pdb"
start_program "2026-12-07 09:15:00"

confirm_first_run_with_autorun >/dev/null

# chime 1, autorun 1, 8 December 2026 (a Tuesday), 08:00:00.000
expected='01 00 00 00 01 00 00 00 ea 07 0c 00 02 00 08 00 08 00 00 00 00 00 00 00'
actual=$(od -An -tx1 -v "$APP_DIR/orv.dat" | tr -s ' \n' ' ' | sed 's/^ //; s/ $//')
[ "$actual" = "$expected" ] || fail "orv.dat holds [$actual]"

timer=$(ls "$XDG_CONFIG_HOME"/systemd/user/*.timer 2>/dev/null | head -n 1)
[ -n "$timer" ] || fail "no timer unit was written"
grep -qxF 'OnCalendar=*-*-* 08:00:00 UTC' "$timer" || fail "timer does not book 08:00 daily: $(cat "$timer")"
service="${timer%.timer}.service"
grep -q "ExecStart=.*app dir/talvik" "$service" || fail "service does not start the program: $(cat "$service")"
grep -q "enable.* $(basename "$timer")" "$SYSTEMCTL_LOG" || fail "timer not enabled: $(cat "$SYSTEMCTL_LOG")"
stop_program

# The next start opens on the reading without the settings window; with the
# booking unchanged it only asks whether the timer is armed.
: >"$SYSTEMCTL_LOG"
written=$(stat -c %y "$timer")
start_program "2026-12-08 08:00:01"
wait_main_window >/dev/null
for _ in $(seq 100); do grep -q ActiveState "$SYSTEMCTL_LOG" && break; sleep 0.05; done
sleep 0.5
[ -z "$(xdotool search --onlyvisible --name '^Settings$' 2>/dev/null)" ] || fail "settings window shown again"
[ -z "$(grep -v -e '--user show ' "$SYSTEMCTL_LOG")" ] || fail "the unchanged booking asked: $(cat "$SYSTEMCTL_LOG")"
[ "$(stat -c %y "$timer")" = "$written" ] || fail "the unchanged timer was written again"
stop_program
echo "1 passed, 0 failed"
