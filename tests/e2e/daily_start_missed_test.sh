#!/usr/bin/env bash
# A daily start that falls due while the user manager is down (the machine
# off, the user logged out) is made at the next login, as soon as the user
# manager runs, and comes up once the desktop tells it the display.
. "$(dirname "$0")/lib.sh"
. "$(dirname "$0")/live_manager.sh"

start_display
install_program "$BIN_DIR/maravelle.pdb"
start_manager
book_in 8
timer=$(timer_name)
service="${timer%.timer}.service"
stop_manager
sleep $((BOOKED - $(date +%s) + 2))

login=$(date +%s)
start_manager
wait_until "the missed start was not made at login" started_since "$service" "$login"
export_display
wait_main_window >/dev/null
tomorrow=$(date -d "@$((BOOKED + 86400))" +%F)
wait_until "the start did not book $tomorrow: $(cat "$UNITS/$timer")" grep -q "^OnCalendar=$tomorrow\.\." "$UNITS/$timer"
wait_until "the next start is [$(next_start)], not the booked time tomorrow" next_start_is $((BOOKED + 86400))
echo "1 passed, 0 failed"
