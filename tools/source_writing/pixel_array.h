#pragma once

#include <string>

#include "platform/gdi/bitmap.h"

namespace tools {

// Appends to `source` a C++ array named `name` that holds the bitmap's pixels row by row, as
// 0xAARRGGBB words aligned for the program's blits, twelve to a line:
//   alignas(16) const uint32_t NAME[] = { ... };
// The build-time tools write the built-in skin's images so.
void AppendPixelArray(std::string& source, const std::string& name, const gdi::Bitmap& bitmap);

}  // namespace tools
