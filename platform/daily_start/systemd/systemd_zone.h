// SPDX-License-Identifier: MIT
#pragma once

#include <string>

// The name of the program's time zone as a timer's OnCalendar= takes it: the
// zone whose rules the program's clock uses, named only where systemd finds
// the same rules under that name. Empty when there is none: TZ holding rules
// rather than a name, a zone file that is missing, or one that systemd knows
// by no name, such as a copied /etc/localtime.
std::string SystemdZoneName();
