// A compressed stream of any bytes: decoding yields exactly L bytes or is refused, and never
// more than the ceiling the input allows.
#include <cstdint>
#include <cstdlib>

#include "skin/data/skin_stream.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const auto out = skin::decompress_bytes({data, size});
    if (!out) {
        return 0;
    }
    const uint32_t length = size >= 4 ? static_cast<uint32_t>(data[0]) |
                                            (static_cast<uint32_t>(data[1]) << 8) |
                                            (static_cast<uint32_t>(data[2]) << 16) |
                                            (static_cast<uint32_t>(data[3]) << 24)
                                      : 0;
    if (out->size() != length || out->size() > skin::package_size_ceiling(size - 4)) {
        std::abort();
    }
    // Whatever came out codes and decodes back to itself.
    if (out->size() <= 4096 && skin::decompress_bytes(skin::compress_bytes(*out)) != *out) {
        std::abort();
    }
    return 0;
}
