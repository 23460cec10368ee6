#pragma once

#include "platform/gdi/geometry.h"

namespace gdi {

// An image cut into nine pieces by fixed margins, as skin elements are drawn: the four corners
// keep their size, the four edges are stretched along their length and the centre both ways
// (or repeated at its own size, `tile`). Stretching drops or repeats pixels, as stretch_blt
// does: destination pixel k of a piece takes source pixel k * source length / destination
// length of that piece.
struct NinePiece {
    Rect source;  // the part of the image that is cut (one state image)
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
    bool tile = false;

    // Whether the pieces drawn into a width x height rectangle lie side by side without gaps
    // or overlaps, each with pixels of its own: the margins fit the destination and leave
    // the source a centre in both directions. Only then is a piece-by-piece copy the same as
    // drawing each pixel from its one piece.
    bool partitions(int width, int height) const {
        return left >= 0 && top >= 0 && right >= 0 && bottom >= 0 && width > 0 && height > 0 &&
               left + right <= width && top + bottom <= height && left + right < source.width() &&
               top + bottom < source.height();
    }
};

// What becomes of the source pixels of the key colour (magenta unless said otherwise).
enum class KeyMode {
    Copy,        // copied as any other pixel
    LeaveOut,    // not drawn: the destination shows through (TransparentBlt)
    ShowColour,  // drawn in a given colour: the same as filling the destination with that
                 // colour first and then drawing with the key left out
};

}  // namespace gdi
