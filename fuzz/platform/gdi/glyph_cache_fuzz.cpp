// The glyph cache file is read at every start and may be damaged or foreign: any bytes go
// through the parser, and whatever it takes must write back to a file that reads the same.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "platform/gdi/font_engine.h"
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
            // Its list of inked pixels, which drawing follows without further checks: one
            // range per row, in order, every column inside the box and inked.
            if (g.row_inked.size() != static_cast<size_t>(g.height) + 1 ||
                g.row_inked.front() != 0 || g.row_inked.back() != g.inked.size())
                std::abort();
            for (size_t y = 0; y < static_cast<size_t>(g.height); ++y) {
                if (g.row_inked[y] > g.row_inked[y + 1])
                    std::abort();
                for (uint32_t i = g.row_inked[y]; i < g.row_inked[y + 1]; ++i) {
                    const uint32_t column = g.inked[i] & gdi::Glyph::kColumnMask;
                    const uint32_t a = g.inked[i] >> gdi::Glyph::kCoverageShift;
                    if (column >= static_cast<uint32_t>(g.width) || a == 0 || a > 255 ||
                        g.coverage[y * static_cast<size_t>(g.width) + column] != a ||
                        (i > g.row_inked[y] &&
                         (g.inked[i - 1] & gdi::Glyph::kColumnMask) >= column))
                        std::abort();
                }
            }
        }
    }
    const std::string again = gdi::format_glyph_cache(*cache);
    const auto reread = gdi::parse_glyph_cache(again);
    if (!reread || gdi::format_glyph_cache(*reread) != again)
        std::abort();
    return 0;
}
