#pragma once

#include <cstdint>
#include <span>

#include "platform/gdi/bitmap.h"

namespace gdi {

// Decodes the pixels of a run-length-coded BMP (BI_RLE8 with bits 8, BI_RLE4 with bits 4)
// into `out`, whose size is the image's and whose pixels all start as palette entry 0 (what
// pixels the code skips keep). `palette` holds 1 << bits entries.
//
// The code is a sequence of byte pairs: a count n > 0 and a value repeat the value (RLE4: its
// two nibbles alternately) n times; a zero count is an escape: 0 ends the line, 1 ends the
// bitmap, 2 moves by the two bytes that follow (right, then up), 3 to 255 are that many
// pixels taken literally, padded to an even number of bytes. Rows count from the bottom of
// the image unless `top_down`. Runs that leave the image are clipped and nothing is written
// outside it; decoding ends at the end-of-bitmap code, when the position has left the top of
// the image, or when the code runs out (a cut-off file keeps what it has).
void decode_rle(std::span<const uint8_t> code, int bits, std::span<const Pixel> palette,
                bool top_down, Bitmap& out);

}  // namespace gdi
