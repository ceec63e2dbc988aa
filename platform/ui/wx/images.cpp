// SPDX-License-Identifier: MIT
#include "platform/ui/wx/images.h"

#include <wx/mstream.h>

#include <map>
#include <memory>

// The handle is the icon's wxIconBundle.
HICON LoadIcon(int id)
{
    static std::map<int, std::unique_ptr<wxIconBundle>> loaded;
    auto& bundle = loaded[id];
    if (!bundle) {
        bundle = std::make_unique<wxIconBundle>();
        for (const ImageResource& image : FindImageResources(id)) {
            wxIcon icon;
            icon.CopyFromBitmap(wxBitmap(DecodeImage(image)));
            bundle->AddIcon(icon);
        }
    }
    return bundle.get();
}

wxBitmapBundle LoadPicture(int id)
{
    wxVector<wxBitmap> bitmaps;
    for (const ImageResource& image : FindImageResources(id))
        bitmaps.push_back(wxBitmap(DecodeImage(image)));
    return wxBitmapBundle::FromBitmaps(bitmaps);
}

wxImage DecodeImage(const ImageResource& image)
{
    wxMemoryInputStream stream(image.data, image.length);
    return wxImage(stream, wxBITMAP_TYPE_PNG);
}
