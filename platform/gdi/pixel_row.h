#pragma once

// The inner loops of the blits and of the nine-piece pass: a row of pixels filled with one
// colour, or taken from a source row through a map of source columns.
#include <algorithm>
#include <cstddef>
#include <cwchar>

#include "platform/gdi/color.h"

namespace gdi {

// wmemset is the C library's tuned 32-bit fill; wchar_t is 32 bits wide here.
static_assert(sizeof(wchar_t) == sizeof(Pixel));

// n pixels of colour p. Short runs (edges, one-pixel lines) are stored directly: a library
// call would cost more than the stores themselves.
inline void fill_pixels(Pixel* d, int n, Pixel p) {
    if (n <= 16) {
        for (int k = 0; k < n; ++k)
            d[k] = p;
    } else {
        std::wmemset(reinterpret_cast<wchar_t*>(d), static_cast<wchar_t>(p),
                     static_cast<size_t>(n));
    }
}

// One destination row of n pixels from source columns map[0 .. n - 1], all inside the source
// row and running from s0 to s1 - 1. A source stretch of one colour (the faces of most
// elements are flat along their rows) is a fill.
inline void stretch_row(Pixel* d, int n, const Pixel* srow, const int* map, int s0, int s1) {
    const Pixel p = srow[s0];
    if (std::all_of(srow + s0 + 1, srow + s1, [p](Pixel q) { return q == p; })) {
        fill_pixels(d, n, p);
        return;
    }
    for (int k = 0; k < n; ++k)
        d[k] = srow[map[k]];
}

}  // namespace gdi
