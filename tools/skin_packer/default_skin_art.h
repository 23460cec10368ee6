#pragma once

#include <string>
#include <vector>

#include "platform/gdi/bitmap.h"

namespace skin_art {

// One image of the default skin with the BMP depth it is stored in.
struct SkinImage {
    std::string name;
    gdi::Bitmap bitmap;
    int bits_per_pixel;
};

// Draws every image of the default skin, in package order.
std::vector<SkinImage> draw_default_skin();

}  // namespace skin_art
