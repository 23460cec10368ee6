#pragma once

#include <cstdint>
#include <span>

namespace skin {

// The skin the main form carries: its stored property as written with the form (an int32
// count N, then N bytes of compressed stream), built from the default skin's sources.
std::span<const uint8_t> embedded_skin_stream();

}  // namespace skin
