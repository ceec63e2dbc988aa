#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# A daily start that falls due before the desktop has told the user manager
# its display (as at login) fails, and is tried again until the display is
# there; the next day's start stays booked throughout.
. "$(dirname "$0")/lib.sh"
. "$(dirname "$0")/live_manager.sh"

start_session
book_in 12
timer=$(timer_name)
service="${timer%.timer}.service"

wait_until "the start that found no display was not tried again" restarted "$service"
[ -z "$(xdotool search --onlyvisible --classname talvik 2>/dev/null)" ] || fail "a window came up without a display"
next_start_is $((BOOKED + 86400)) || fail "while the start fails, the next start is [$(next_start)]"

export_display
expect_started_and_next_day_booked
echo "1 passed, 0 failed"
