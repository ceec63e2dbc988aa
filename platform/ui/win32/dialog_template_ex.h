// SPDX-License-Identifier: MIT
#pragma once

#include "platform/ui/dialog_template.h"

#include <cstdint>
#include <vector>

// `dlg` as an in-memory DLGTEMPLATEEX, ready for DialogBoxIndirectParamW:
// the system's classes, styles and font, positions in dialog units as they
// stand in the template. Kept apart from the window code so that the layout
// of the bytes can be checked on its own.
std::vector<std::uint16_t> BuildDialogTemplateEx(const DialogTemplate& dlg);
