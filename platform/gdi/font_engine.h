#pragma once

#include <array>
#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "platform/gdi/font.h"
#include "platform/text/utf8.h"

namespace gdi {

// One rendered glyph: an 8-bit coverage bitmap placed relative to the pen position on the
// baseline (left, top = bearing; top is the distance from the baseline up to the first row).
struct Glyph {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
    int advance = 0;
    // 0 = the primary face, 1 = the fallback face, -1 = the replacement box.
    int face = 0;
    std::vector<uint8_t> coverage;
    // Per row, the columns [first, end) outside which the coverage is zero; drawing visits
    // only these (most of a small glyph's box is empty).
    struct Ink {
        uint16_t first = 0;
        uint16_t end = 0;
    };
    std::vector<Ink> ink;
    // Per row, the inked columns the drawing visits, in order: the column in the low 16 bits
    // and its coverage above them. Columns of zero coverage are not listed, so drawing never
    // visits them.
    std::vector<uint32_t> inked;
    // Row y's columns are inked[row_inked[y]] up to inked[row_inked[y + 1]] (height + 1
    // entries).
    std::vector<uint32_t> row_inked;
    static constexpr uint32_t kColumnMask = 0xFFFF;
    static constexpr int kCoverageShift = 16;
    // Fills `ink`, `inked` and `row_inked` from `coverage`.
    void find_ink();
};

// A font at one pixel size with its glyph cache. Created and owned by the FontEngine, alive for
// the rest of the program, so DCs may keep plain pointers.
class SizedFont {
  public:
    const TextMetrics& metrics() const { return metrics_; }
    int em() const { return em_; }
    // The glyph for a code point, rendered at first use and cached. Code points of the basic
    // multilingual plane (every character of the console's three languages) are found in a
    // direct table, the others by hashing.
    const Glyph& glyph(char32_t cp) {
        if (cp < kDirectLimit) {
            if (const GlyphPage* page = pages_[cp >> 8].get()) {
                if (const Glyph* g = (*page)[cp & 0xFF])
                    return *g;
            }
        }
        return glyph_slow(cp);
    }
    // Family names of the two faces used (primary first).
    const std::string& family(int face) const { return families_[face == 1 ? 1 : 0]; }
    bool underline() const { return underline_; }
    bool strike_out() const { return strike_out_; }
    // Sum of the advances of a UTF-8 string (control characters count nothing).
    int width_of(std::string_view utf8);

  private:
    friend class FontEngine;
    SizedFont() = default;
    struct Impl;
    std::shared_ptr<Impl> impl_;
    TextMetrics metrics_;
    int em_ = 0;
    bool underline_ = false;
    bool strike_out_ = false;
    std::string families_[2];
    const Glyph& load(char32_t cp);
    std::unordered_map<char32_t, Glyph> glyphs_;
    // Whether the metrics and the first glyphs came from the glyph cache, and how many glyphs
    // were rendered since (the cache is written again only when something is new).
    bool from_cache_ = false;
    size_t rendered_ = 0;
    // The direct table: a page of 256 code points per high byte, made at its first glyph
    // (map nodes do not move, so the pointers stay good).
    static constexpr char32_t kDirectLimit = 0x10000;
    using GlyphPage = std::array<const Glyph*, 256>;
    std::unique_ptr<GlyphPage> pages_[kDirectLimit >> 8];
    const Glyph& glyph_slow(char32_t cp);
    Glyph box_;
};

// The text engine: FreeType with one Latin face and one CJK face found through fontconfig.
// Every logical font maps onto these two, the one matching the face name (a CJK name picks the
// CJK face) first and the other as per-glyph fallback. The glyphs it renders are kept between
// runs (glyph_cache.h), beside the face cache; FreeType is started and a face opened only for a
// glyph or a font size the cache does not have.
class FontEngine {
  public:
    // The engine of the program, created at first use, its caches at the default place
    // (default_face_cache_path). Throws std::runtime_error with a clear message when no usable
    // font can be found.
    static FontEngine& instance();
    // An engine of its own with its face cache at `face_cache_path` and its glyph cache beside
    // it (empty: neither), for tests and tools.
    static std::unique_ptr<FontEngine> with_cache(const std::string& face_cache_path);
    // Writes the glyph cache when glyphs or sizes were rendered that it does not have yet.
    ~FontEngine();

    SizedFont& get(const Font& f);
    // The em size in pixels a logical font gets.
    int em_pixels(const Font& f);
    // Whether any face has been opened (FreeType started) so far.
    bool faces_opened() const;
    // Writes the glyph cache now if it lacks anything rendered so far.
    void save_glyphs();

    FontEngine(const FontEngine&) = delete;
    FontEngine& operator=(const FontEngine&) = delete;

  private:
    explicit FontEngine(const std::string& face_cache_path);
    struct Impl;
    std::unique_ptr<Impl> impl_;
    SizedFont& resolve(const Font& f);
    std::map<std::string, std::unique_ptr<SizedFont>> fonts_;
    // Logical fonts already resolved, newest last: a paint asks for the same few fonts over and
    // over, and finding them here skips the face-name test and the key building.
    static constexpr size_t kRecentFonts = 32;
    std::vector<std::pair<Font, SizedFont*>> recent_;
};

// The program's UTF-8 decoder, where the text is drawn.
using text::next_code_point;

}  // namespace gdi
