#pragma once

#include <cstdint>
#include <vector>

namespace skin_bench {

// The compressed streams the decoders are measured on (int32 length, then code bits).

// The skin embedded in the main form: 176,540 bytes from 18,706, mostly matches.
std::vector<uint8_t> default_package_stream();

// Six photograph-like 200 x 200 bitmaps (smooth gradients under per-pixel noise) and a short
// description: about 720 KB that code mostly as literals with deep codes and short matches,
// the hard case for the decoder. The same bytes on every call.
std::vector<uint8_t> noisy_package_stream();

}  // namespace skin_bench
