#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# A daily start that falls due while the user manager is down (the machine
# off, the user logged out) is made at the next login, as soon as the user
# manager runs, and comes up once the desktop tells it the display.
. "$(dirname "$0")/lib.sh"
. "$(dirname "$0")/live_manager.sh"

start_session
book_in 8
timer=$(timer_name)
service="${timer%.timer}.service"
stop_manager
sleep $((BOOKED - $(date +%s) + 2))

login=$(date +%s)
start_manager
wait_until "the missed start was not made at login" started_since "$service" "$login"
export_display
expect_started_and_next_day_booked
echo "1 passed, 0 failed"
