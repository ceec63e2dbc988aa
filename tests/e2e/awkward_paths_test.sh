#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# The program kept in folders whose names systemd and the shell would read as
# something else: spaces, "%", "$", non-ASCII letters, quotes and backslashes.
# With autorun on, its start-up booking must start exactly that program. A
# name that tries to add lines to the unit is not booked at all.
. "$(dirname "$0")/lib.sh"

"$BIN_DIR/talvik-book" make /dev/stdin "$WORK/maravelle.pdb" <<<"$(printf 'Title\n\nOne\n')" 2>/dev/null
UNITS="$XDG_CONFIG_HOME/systemd/user"
mkdir -p "$WORK/runtime"
# Would run if a unit ever took the injected line.
mkdir -p "$WORK/evil"
printf '#!/bin/sh\ntouch "%s/evil/ran"\n' "$WORK" >"$WORK/evil/talvik"
chmod +x "$WORK/evil/talvik"

# Runs the program from folder "$1" with autorun on, chime off, until closed.
run_from() {
  local dir=$1
  mkdir -p "$dir"
  cp "$BIN_DIR/talvik" "$WORK/maravelle.pdb" "$dir/"
  printf '\0\0\0\0\1\0\0\0\xea\x07\x0c\0\x01\0\x07\0\x08\0\0\0\0\0\0\0' >"$dir/orv.dat"
  rm -rf "$UNITS"
  : >"$SYSTEMCTL_LOG"
  FAKETIME_DONT_FAKE_MONOTONIC=1 setsid faketime -f "@2026-12-07 09:15:00" "$dir/talvik" >"$WORK/talvik.log" 2>&1 &
  APP_PID=$!
  main=$(wait_main_window)
  [ -z "$(xdotool search --onlyvisible --name '^Error!$' 2>/dev/null)" ] || fail "no book found beside $dir"
  # Closing waits for the booking to finish.
  point_at "$main"
  keys Escape
  for _ in $(seq 200); do kill -0 "$APP_PID" 2>/dev/null || break; sleep 0.05; done
  wait "$APP_PID" 2>/dev/null || true
  APP_PID=
}

verify() {
  XDG_RUNTIME_DIR="$WORK/runtime" systemd-analyze --user verify "$UNITS"/talvik-*.timer "$UNITS"/talvik-*.service 2>&1
}

start_display

# Started by systemd directly: systemd-analyze checks that ExecStart, read
# back by systemd, names this very executable, and fails once it is gone.
plain="$WORK/my app 100% \$HOME \$\$ ;x Ünïcödé ✓"
run_from "$plain"
[ "$(ls "$UNITS"/talvik-*.service 2>/dev/null | grep -vc -- '-start\.service$')" = 1 ] ||
  fail "not one program service for [$plain]: $(ls "$UNITS")"
grep -q "start talvik-" "$SYSTEMCTL_LOG" || fail "the timer was not started: $(cat "$SYSTEMCTL_LOG")"
out=$(verify) || fail "systemd-analyze rejects the units for [$plain]: $out"
[ -z "$out" ] || fail "systemd-analyze warns for [$plain]: $out"
mv "$plain/talvik" "$plain/talvik.away"
verify >/dev/null && fail "systemd-analyze found a program although [$plain/talvik] is gone"
mv "$plain/talvik.away" "$plain/talvik"

# Quotes and backslashes go through /bin/sh as one argument.
quoted="$WORK/it's \"quoted\" back\\slash"
run_from "$quoted"
out=$(verify) || fail "systemd-analyze rejects the units for [$quoted]: $out"
[ -z "$out" ] || fail "systemd-analyze warns for [$quoted]: $out"
grep -qF "ExecStart=\":/bin/sh\" -c \"exec \\\"\$0\\\"\" \"$WORK/it's \\\"quoted\\\" back\\\\slash/talvik\"" \
  "$UNITS"/*.service || fail "unexpected ExecStart: $(grep ExecStart "$UNITS"/*.service)"

# A new line in the name would start a line of the unit's own.
injected="$WORK/x"$'\n[Service]\nExecStartPost='"$WORK/evil"
run_from "$injected"
[ ! -e "$UNITS" ] || [ -z "$(ls -A "$UNITS")" ] || fail "units were written for the injected name: $(ls "$UNITS")"
[ ! -s "$SYSTEMCTL_LOG" ] || fail "systemctl was asked: $(cat "$SYSTEMCTL_LOG")"
[ ! -e "$WORK/evil/ran" ] || fail "the injected command ran"
echo "1 passed, 0 failed"
