#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>

#include "platform/gdi/font.h"
#include "platform/gdi/font_engine.h"
#include "platform/gdi/font_face_cache.h"

namespace gdi {

// The glyphs the text engine rendered, kept between runs. Rendering a glyph with FreeType, and
// before that opening the faces (the light auto-hinter surveys every face's character map),
// costs more than the rest of a start-up's text together; a start that finds every glyph it
// draws here never opens a face at all. The glyphs hold while the identity they were rendered
// under is unchanged: the same face files with the same modification time and size, and the
// same FreeType library file.
struct GlyphCache {
    struct SizedFontGlyphs {
        TextMetrics metrics;
        std::unordered_map<char32_t, Glyph> glyphs;
    };
    std::string identity;
    // The em size a logical font of a given cell height gets: (face kind, cell height) -> em.
    std::map<std::pair<int, int>, int> ems;
    // By the engine's key of a sized font (kind, em, style).
    std::map<std::string, SizedFontGlyphs> fonts;
};

// At most this many glyphs are kept; glyphs rendered beyond it are drawn but not remembered.
constexpr size_t kMaxCachedGlyphs = 16384;

// The glyph file that goes with a face cache file ("<face cache>.glyphs"); empty when there
// is no face cache.
std::string glyph_cache_path(const std::string& face_cache_path);

// What glyphs rendered now depend on: the faces (files, indexes, families), each face file's
// stamp, the FreeType version the program was built for, and the FreeType library file (its
// stamp, and the stamp of the dynamic loader's cache). `library_file` is the file loaded now,
// or, while FreeType is not loaded (a start that renders nothing), the file the loader would
// load (freetype_file_to_load); empty leaves the library out.
std::string glyph_cache_identity(const FaceCache& faces, const std::string& library_file);

// The FreeType library file an identity names, or empty.
std::string glyph_cache_library_file(std::string_view identity);

// The file's bytes, and back. Parsing takes any bytes: anything malformed, cut short or
// damaged (a checksum covers the whole file) gives nullopt. Parsed glyphs have their ink
// spans filled.
std::string format_glyph_cache(const GlyphCache& cache);
std::optional<GlyphCache> parse_glyph_cache(std::string_view bytes);

// Reads and writes the file. Writing goes through a temporary file and a rename; failures are
// silent (the cache only saves time).
std::optional<GlyphCache> read_glyph_cache(const std::string& path);
void write_glyph_cache(const std::string& path, const GlyphCache& cache);

}  // namespace gdi
