#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "platform/gdi/bitmap.h"

namespace gdi {

// Why a BMP could not be read.
enum class BmpError {
    None,
    Truncated,               // the data ends before the header, palette or pixels do
    NotBmp,                  // no "BM" signature or an unknown header size
    BadSize,                 // zero, negative width or absurd dimensions
    UnsupportedDepth,        // bits per pixel other than 1, 4, 8, 16, 24, 32
    UnsupportedCompression,  // JPEG or PNG inside, or a run-length code the depth has not
    BadPalette,              // more colours than the depth allows
    Io,                      // the file cannot be opened or written
};
const char* describe(BmpError e);

struct BmpResult {
    Bitmap bitmap;
    BmpError error = BmpError::None;
    bool ok() const { return error == BmpError::None; }
};

// Reads a Windows BMP file (BITMAPFILEHEADER + info header + palette + pixels): 1, 4 and 8 bits
// with a palette, 16, 24 and 32 bits, bottom-up or top-down, and the run-length codes of 8 and
// 4 bits (BI_RLE8, BI_RLE4; pixels the code skips are palette entry 0). Never reads past `data`.
// An image of more than `max_pixels` pixels is refused (BadSize) before anything is allocated:
// a run-length code can claim a large image in a few bytes.
BmpResult read_bmp(std::span<const uint8_t> data, int64_t max_pixels = Bitmap::kMaxPixels);
BmpResult read_bmp_file(const std::string& path);
// The same without the 14-byte file header (a packed DIB: info header, palette, pixels).
BmpResult read_dib(std::span<const uint8_t> data);

// Encodes a bitmap as a BMP file of 8 (palette of the colours used; fails with an empty result
// when there are more than 256), 24 or 32 bits per pixel, bottom-up or top-down.
std::vector<uint8_t> encode_bmp(const Bitmap& bitmap, int bits_per_pixel = 24,
                                bool top_down = false);
BmpError write_bmp_file(const std::string& path, const Bitmap& bitmap, int bits_per_pixel = 24,
                        bool top_down = false);

}  // namespace gdi
