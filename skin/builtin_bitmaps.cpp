#include "skin/builtin_bitmaps.h"

#include "platform/gdi/color.h"

namespace skin {

namespace {

// A sunken channel: dark outer line above and left, light below and right, a pale inside,
// within a one-pixel ring of soft grey.
gdi::Bitmap track_channel(int w, int h) {
    gdi::Bitmap b(w, h, gdi::pixel_of(gdi::rgb(214, 222, 232)));
    const gdi::Pixel dark = gdi::pixel_of(gdi::rgb(122, 138, 153));
    const gdi::Pixel mid = gdi::pixel_of(gdi::rgb(180, 192, 204));
    const gdi::Pixel light = gdi::pixel_of(gdi::rgb(255, 255, 255));
    const gdi::Pixel inside = gdi::pixel_of(gdi::rgb(236, 240, 244));
    for (int y = 1; y < h - 1; ++y) {
        for (int x = 1; x < w - 1; ++x) {
            gdi::Pixel p = inside;
            if (y == 1 || x == 1) {
                p = dark;
            } else if (y == h - 2 || x == w - 2) {
                p = light;
            } else if (y == 2 || x == 2) {
                p = mid;
            }
            b.set_pixel(x, y, p);
        }
    }
    return b;
}

}  // namespace

gdi::Bitmap builtin_bitmap(std::string_view name) {
    if (name == "TRACK") {
        return track_channel(16, 8);
    }
    if (name == "TRACKVERT") {
        return track_channel(8, 16);
    }
    return {};
}

}  // namespace skin
