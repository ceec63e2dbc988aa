// SPDX-License-Identifier: MIT
#pragma once

// The program's exit status when it could not reach a display yet, as at
// login before the desktop has published it (EX_TEMPFAIL): a booked start
// that ends so is tried again, one that ends in any other way is not.
constexpr int kExitNoDisplay = 75;
