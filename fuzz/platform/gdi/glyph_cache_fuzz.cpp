// The glyph cache file is read at every start and may be damaged or foreign: any bytes go
// through the parser, and whatever it takes must write back to a file that reads the same.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "platform/gdi/glyph_cache.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    // The FreeType file a stored identity names is looked up at every start: one line's end
    // at most, never beyond the text.
    if (gdi::glyph_cache_library_file(bytes).find('\n') != std::string::npos)
        std::abort();
    const auto cache = gdi::parse_glyph_cache(bytes);
    if (!cache)
        return 0;
    for (const auto& [key, font] : cache->fonts) {
        for (const auto& [cp, g] : font.glyphs) {
            // Every glyph taken has exactly its box of coverage and one ink span per row.
            if (g.coverage.size() != static_cast<size_t>(g.width) * g.height ||
                g.ink.size() != static_cast<size_t>(g.height))
                std::abort();
        }
    }
    const std::string again = gdi::format_glyph_cache(*cache);
    const auto reread = gdi::parse_glyph_cache(again);
    if (!reread || gdi::format_glyph_cache(*reread) != again)
        std::abort();
    return 0;
}
