#pragma once

#include <cstdint>
#include <span>
#include <vector>

namespace skin_bench {

// The skin decoder as it stood before the block decoder: one byte per callback through
// std::function, the Huffman tree walked one bit at a time through a 16-bit buffer, a linear
// search for the swap partner in the tree update. Kept here only as the baseline the benchmark
// measures the decoder against in the same run. Decodes a compressed stream (int32 length,
// then code bits).
std::vector<uint8_t> baseline_lzh_decode(std::span<const uint8_t> stream);

}  // namespace skin_bench
