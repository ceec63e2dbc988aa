// SPDX-License-Identifier: MIT
#include "resources/resource.h"

extern const unsigned char kIcon16Png[];
extern const std::size_t kIcon16PngSize;
extern const unsigned char kIcon32Png[];
extern const std::size_t kIcon32PngSize;
extern const unsigned char kIcon64Png[];
extern const std::size_t kIcon64PngSize;
extern const unsigned char kLogoPng[];
extern const std::size_t kLogoPngSize;

std::vector<ImageResource> FindImageResources(int id)
{
    const ImageResource all[] = {
        {IDR_MAINFRAME, 32, kIcon32Png, kIcon32PngSize},
        {IDR_MAINFRAME, 16, kIcon16Png, kIcon16PngSize},
        // Rendered from the drawing at build time, for screens scaled by two;
        // the logo is the same drawing.
        {IDR_MAINFRAME, 64, kIcon64Png, kIcon64PngSize},
        {IDB_LOGO, 32, kLogoPng, kLogoPngSize},
        {IDB_LOGO, 64, kIcon64Png, kIcon64PngSize},
    };
    std::vector<ImageResource> found;
    for (const ImageResource& image : all)
        if (image.id == id)
            found.push_back(image);
    return found;
}
