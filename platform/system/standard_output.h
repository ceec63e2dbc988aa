// SPDX-License-Identifier: MIT
#pragma once

// Flushes what was written to standard output; false when any of it was lost
// (a full disk, /dev/full, a closed pipe), errno then saying why. A text tool
// that ignored this would report success for output that never arrived.
bool FlushStandardOutput();
