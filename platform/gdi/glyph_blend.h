#pragma once

#include <cstdint>

#include "platform/gdi/bitmap.h"
#include "platform/gdi/color.h"
#include "platform/gdi/font_engine.h"
#include "platform/gdi/geometry.h"

namespace gdi {

// src * a + dst * (255 - a), each channel divided by 255 and rounded: the pixel an
// anti-aliased glyph leaves where its coverage is a.
Pixel blend_coverage(Pixel dst, Pixel src, unsigned a);

// Draws glyphs in one text colour onto a bitmap. Only inked pixels are visited (a glyph lists
// them row by row), and each takes its blend from a table of the text colour over the pixel
// under it by coverage (kept between calls for the pairs met lately), so a pixel costs a
// look-up, not a blend.
class GlyphBlender {
  public:
    // Draws onto `bm`, which must outlive the blender and keep its size meanwhile.
    GlyphBlender(Bitmap& bm, Color text);
    // Draws `g` with the top-left corner of its box at (left, top) in bitmap pixels, only
    // inside `area`, which must lie within the bitmap.
    void draw(const Glyph& g, int left, int top, const Rect& area);

  private:
    Pixel* pixels_;
    ptrdiff_t stride_;
    Pixel colour_;
    // The table for the background met last, and that background; none before the first
    // table is found, with a background no pixel can be.
    static constexpr uint64_t kNoBackground = uint64_t{1} << 32;
    const Pixel* table_;
    uint64_t table_background_;
};

}  // namespace gdi
