#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# A machine without a reachable user manager and without sound: systemctl
# missing, failing, or stuck for a minute, and no sound server or card. Each
# time the first morning goes as usual: the settings window's OK saves and
# closes, the main window comes up, nothing is printed, and the program ends
# when closed, once a stuck systemctl has been given up on.
. "$(dirname "$0")/lib.sh"

SETSID=$(command -v setsid)
FAKETIME=$(command -v faketime)
mkdir -p "$WORK/missing" "$WORK/failing" "$WORK/stuck"
cat >"$WORK/failing/systemctl" <<SH
#!/bin/sh
echo "\$*" >>"$WORK/failing.log"
exit 1
SH
cat >"$WORK/stuck/systemctl" <<SH
#!/bin/sh
echo \$\$ >>"$WORK/stuck.pids"
exec /bin/sleep 60
SH
chmod +x "$WORK/failing/systemctl" "$WORK/stuck/systemctl"
: >"$WORK/no-sound-cards.conf"
: >"$WORK/stuck.pids"
trap 'xargs -r kill -9 <"$WORK/stuck.pids" 2>/dev/null || true; cleanup' EXIT

stuck_running() {
  local pid
  for pid in $(cat "$WORK/stuck.pids"); do kill -0 "$pid" 2>/dev/null && return 0; done
  return 1
}

"$BIN_DIR/talvik-book" make /dev/stdin "$WORK/maravelle.pdb" <<<"$(printf 'Title\n\nOne\n')" 2>/dev/null
start_display
install_program "$WORK/maravelle.pdb"

for case in missing failing stuck; do
  rm -f "$APP_DIR/orv.dat"
  # The program alone gets this PATH: for "missing" it holds no systemctl.
  # No sound server answers, and ALSA knows of no sound card.
  PULSE_SERVER="unix:$WORK/no-sound-server" ALSA_CONFIG_PATH="$WORK/no-sound-cards.conf" \
    FAKETIME_DONT_FAKE_MONOTONIC=1 PATH="$WORK/$case" "$SETSID" "$FAKETIME" -f "@2026-12-07 09:15:00" \
    "$APP_DIR/talvik" >"$WORK/talvik.log" 2>&1 &
  APP_PID=$!

  main=$(confirm_first_run_with_autorun)
  [ "$(od -An -tx1 -j4 -N1 "$APP_DIR/orv.dat" | tr -d ' ')" = 01 ] || fail "$case: autorun was not saved"
  case $case in
    failing) [ -s "$WORK/failing.log" ] || fail "failing: systemctl was never asked" ;;
    stuck) stuck_running || fail "stuck: systemctl was not running when the main window was up" ;;
  esac

  point_at "$main"
  keys Escape
  for _ in $(seq 400); do kill -0 "$APP_PID" 2>/dev/null || break; sleep 0.05; done
  kill -0 "$APP_PID" 2>/dev/null && fail "$case: the program did not end when closed"
  wait "$APP_PID" 2>/dev/null || true
  APP_PID=
  if [ "$case" = stuck ]; then
    stuck_running && fail "stuck: the program left systemctl running"
  fi
  [ ! -s "$WORK/talvik.log" ] || fail "$case: the program printed: $(head -c 400 "$WORK/talvik.log")"
done
echo "1 passed, 0 failed"
