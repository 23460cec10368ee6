#pragma once

#include <string_view>

#include "platform/gdi/bitmap.h"

namespace skin {

// The program's own small bitmaps: "TRACK" (the horizontal track-bar channel) and "TRACKVERT"
// (the vertical one), each with 3-pixel margins. An unknown name gives an empty bitmap.
gdi::Bitmap builtin_bitmap(std::string_view name);

}  // namespace skin
