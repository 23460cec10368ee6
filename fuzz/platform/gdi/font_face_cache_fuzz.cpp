// The font face cache file is read at every start and may be damaged or foreign: any bytes go
// through the parser, and whatever it takes must write back to a file that reads the same.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "platform/gdi/font_face_cache.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const auto cache = gdi::parse_face_cache(text);
    if (!cache)
        return 0;
    if (!cache->faces.complete())
        std::abort();  // a partial answer must never be taken
    const std::string again = gdi::format_face_cache(*cache);
    if (again.empty() || gdi::parse_face_cache(again) != cache)
        std::abort();
    return 0;
}
