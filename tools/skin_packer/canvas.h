#pragma once

#include <string>
#include <vector>

#include "platform/gdi/bitmap.h"
#include "platform/gdi/color.h"
#include "platform/gdi/geometry.h"

// Small drawing helpers for the default skin's images. Everything is drawn on whole pixels so
// that the images stay crisp when the engine slices and stretches them.
namespace skin_art {

using gdi::Bitmap;
using gdi::Color;
using gdi::Rect;

constexpr Color kKey = gdi::kMagenta;

Bitmap make(int w, int h, Color fill = kKey);
void fill(Bitmap& b, const Rect& r, Color c);
void vgradient(Bitmap& b, const Rect& r, Color top, Color bottom);
void hgradient(Bitmap& b, const Rect& r, Color left, Color right);
void frame(Bitmap& b, const Rect& r, Color c);
void hline(Bitmap& b, int x0, int x1, int y, Color c);  // x1 exclusive
void vline(Bitmap& b, int x, int y0, int y1, Color c);  // y1 exclusive
Color mix(Color a, Color b, int percent_of_b);

// A face with a vertical gradient, a one-pixel border and rounded corners of `radius`; the
// pixels outside the corners become `outside`.
struct BoxStyle {
    Color border;
    Color top;
    Color bottom;
    int radius = 3;
    Color outside = kKey;
    Color inner_ring = 0xFFFFFFFFu;  // a second ring inside the border when set
    Color highlight = 0xFFFFFFFFu;   // a light line under the top border when set
};
void box(Bitmap& b, const Rect& r, const BoxStyle& s);

// Draws a pattern of '#' (colour c) and '+' (colour soft) cells with its top-left at (x, y).
void glyph(Bitmap& b, int x, int y, const std::vector<std::string>& rows, Color c,
           Color soft = 0xFFFFFFFFu);
// Centres a pattern in r.
void glyph_centred(Bitmap& b, const Rect& r, const std::vector<std::string>& rows, Color c,
                   Color soft = 0xFFFFFFFFu);

// Places images side by side (or stacked) into one strip.
Bitmap strip(const std::vector<Bitmap>& parts, bool stacked = false);

}  // namespace skin_art
