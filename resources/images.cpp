#include "resources/resource.h"

extern const unsigned char k_icon_16_png[];
extern const std::size_t k_icon_16_png_size;
extern const unsigned char k_icon_32_png[];
extern const std::size_t k_icon_32_png_size;
extern const unsigned char k_icon_64_png[];
extern const std::size_t k_icon_64_png_size;
extern const unsigned char k_logo_png[];
extern const std::size_t k_logo_png_size;

std::vector<ImageResource> FindImageResources(int id)
{
    const ImageResource all[] = {
        {IDR_MAINFRAME, 32, k_icon_32_png, k_icon_32_png_size},
        {IDR_MAINFRAME, 16, k_icon_16_png, k_icon_16_png_size},
        // Rendered from the drawing at build time, for screens scaled by two;
        // the logo is the same drawing.
        {IDR_MAINFRAME, 64, k_icon_64_png, k_icon_64_png_size},
        {IDB_LOGO, 32, k_logo_png, k_logo_png_size},
        {IDB_LOGO, 64, k_icon_64_png, k_icon_64_png_size},
    };
    std::vector<ImageResource> found;
    for (const ImageResource& image : all)
        if (image.id == id)
            found.push_back(image);
    return found;
}
