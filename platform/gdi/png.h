#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/gdi/bitmap.h"

namespace gdi {

// Writes a bitmap as an opaque 8-bit RGB PNG file (screenshots). Returns false on failure.
bool write_png_file(const std::string& path, const Bitmap& bitmap);
// Encodes a bitmap as PNG bytes (empty on failure).
std::vector<uint8_t> encode_png(const Bitmap& bitmap);
// Reads a PNG file (reference images of tests); an empty bitmap when it cannot be read.
Bitmap read_png_file(const std::string& path);

}  // namespace gdi
