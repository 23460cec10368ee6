#pragma once

#include <cstdint>
#include <span>
#include <vector>

namespace skin_bench {

// The textbook LZHUF decoder as it is usually written in C: 16-bit frequency, parent and son
// tables, a 16-bit bit buffer filled a byte at a time from a byte buffer, the tree walked one
// bit per level, every output byte stored one at a time. The floor the skin decoder is measured
// against in the same run. Decodes a compressed stream (int32 length, then code bits).
std::vector<uint8_t> classic_lzh_decode(std::span<const uint8_t> stream);

}  // namespace skin_bench
