// SPDX-License-Identifier: MIT
#pragma once

#include "platform/ui/dialog_template.h"
#include "platform/ui/images.h"

#include <wx/bmpbndl.h>
#include <wx/iconbndl.h>

// The picture resource `id` at every size it comes in, so that a screen
// scaled by two draws the larger one instead of an enlarged small one.
wxBitmapBundle LoadPicture(int id);

// The PNG of one image resource, decoded.
wxImage DecodeImage(const ImageResource& image);
