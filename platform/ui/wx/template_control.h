// SPDX-License-Identifier: MIT
#pragma once

#include "platform/ui/dialog_template.h"

class wxWindow;

// Makes the control that `control` describes in `window`, at its place and
// size in the window's dialog units, with its text, styles and the name
// screen readers call it.
wxWindow* CreateTemplateControl(wxWindow* window, const ControlTemplate& control);
