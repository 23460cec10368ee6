#pragma once

#include <string>
#include <utility>
#include <vector>

#include "platform/gdi/bitmap.h"

namespace skin::test {

// Builds a compressed skin package of a description and images (stored as 24-bit BMP files).
std::vector<uint8_t> make_skin(const std::string& ini,
                               const std::vector<std::pair<std::string, gdi::Bitmap>>& images,
                               int32_t version = 40000);

// A strip of solid states: state k (1-based) of `states` has colour colors[k - 1].
gdi::Bitmap solid_states(int w, int h, const std::vector<gdi::Color>& colors, bool stacked = false);

}  // namespace skin::test
