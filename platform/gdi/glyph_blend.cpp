// Blending anti-aliased glyphs onto a bitmap.
#include "platform/gdi/glyph_blend.h"

#include <algorithm>
#include <iterator>

namespace gdi {

// Red and blue share one multiplication in two 16-bit lanes (a channel product stays below
// 65536, so lanes never carry), and (x + 128 + ((x + 128) >> 8)) >> 8 is the rounded x / 255
// for all such x.
Pixel blend_coverage(Pixel dst, Pixel src, unsigned a) {
    const unsigned na = 255 - a;
    unsigned rb = (src & 0x00FF00FFu) * a + (dst & 0x00FF00FFu) * na + 0x00800080u;
    rb = ((rb + ((rb >> 8) & 0x00FF00FFu)) >> 8) & 0x00FF00FFu;
    unsigned g = ((src >> 8) & 0xFFu) * a + ((dst >> 8) & 0xFFu) * na + 0x80u;
    g = (g + (g >> 8)) & 0xFF00u;
    return 0xFF000000u | rb | g;
}

namespace {

// The blends of a text colour over a background colour by coverage, for many pairs at once
// (text lies on a few plain faces, and on buttons' faces shaded from row to row: some fifty
// pairs on the busiest page). A pair is looked for in the two places of its set, chosen by a
// hash of the pair. A pair gets a table (its 256 blends worked out at once, the place not
// used last) only when it is missed a second time in a row in its set: the pixels under
// the edges of text drawn over text (a disabled caption's shadow over its highlight) are
// backgrounds met once, blended one by one instead.
class BlendTables {
  public:
    // The table of the pair, or nullptr when the pair has none yet.
    const Pixel* find(Pixel colour, Pixel background) {
        Set& set = sets_[set_of(colour, background)];
        for (unsigned way = 0; way < kWays; ++way) {
            Entry& e = set.entries[way];
            if (e.used && e.colour == colour && e.background == background) {
                set.last = way;
                return e.by_coverage;
            }
        }
        if (!set.missed || set.missed_colour != colour || set.missed_background != background) {
            set.missed = true;
            set.missed_colour = colour;
            set.missed_background = background;
            return nullptr;
        }
        set.missed = false;
        set.last = (set.last + 1) % kWays;
        Entry& e = set.entries[set.last];
        e.used = true;
        e.colour = colour;
        e.background = background;
        for (unsigned a = 0; a < 256; ++a)
            e.by_coverage[a] = blend_coverage(background, colour, a);
        return e.by_coverage;
    }

  private:
    static constexpr unsigned kBits = 6;
    static constexpr unsigned kWays = 2;
    static size_t set_of(Pixel colour, Pixel background) {
        const uint32_t h = (background ^ (colour * 0x9E3779B1u)) * 0x85EBCA6Bu;
        return h >> (32 - kBits);
    }
    struct Entry {
        bool used = false;
        Pixel colour = 0;
        Pixel background = 0;
        Pixel by_coverage[256];
    };
    struct Set {
        Entry entries[kWays];
        unsigned last = 0;
        bool missed = false;
        Pixel missed_colour = 0;
        Pixel missed_background = 0;
    };
    Set sets_[size_t{1} << kBits];
};

BlendTables& blend_tables() {
    static thread_local BlendTables tables;
    return tables;
}

// The pixel a glyph's inked column leaves over `under`, switching to the table of `under`'s
// pair when the pixel is not the background of the table in use.
[[gnu::always_inline]] inline Pixel blended(Pixel under, uint32_t column, Pixel colour,
                                            const Pixel*& table, uint64_t& background) {
    if (under != background) [[unlikely]] {
        // (The first pixel always, as no pixel is kNoBackground.)
        const Pixel* other = blend_tables().find(colour, under);
        if (!other)
            return blend_coverage(under, colour, column >> Glyph::kCoverageShift);
        table = other;
        background = under;
    }
    return table[column >> Glyph::kCoverageShift];
}

// The listed columns from p up to end over one row, two at a time; `row` is where the glyph's
// column 0 falls, inside the bitmap.
[[gnu::always_inline]] inline void blend_row(Pixel* row, const uint32_t* p, const uint32_t* end,
                                             Pixel colour, const Pixel*& table,
                                             uint64_t& background) {
    for (; end - p >= 2; p += 2) {
        Pixel* d0 = row + (p[0] & Glyph::kColumnMask);
        *d0 = blended(*d0, p[0], colour, table, background);
        Pixel* d1 = row + (p[1] & Glyph::kColumnMask);
        *d1 = blended(*d1, p[1], colour, table, background);
    }
    if (p < end) {
        Pixel* d = row + (*p & Glyph::kColumnMask);
        *d = blended(*d, *p, colour, table, background);
    }
}

}  // namespace

GlyphBlender::GlyphBlender(Bitmap& bm, Color text)
    : pixels_(bm.data()),
      stride_(bm.stride()),
      colour_(pixel_of(text)),
      table_(nullptr),
      table_background_(kNoBackground) {}

void GlyphBlender::draw(const Glyph& g, int left, int top, const Rect& area) {
    if (g.row_inked.size() != static_cast<size_t>(g.height) + 1 || area.empty())
        return;
    const uint32_t* inked = g.inked.data();
    const uint32_t* row_end = g.row_inked.data() + (area.top - top) + 1;
    const uint32_t* const rows_end = row_end + area.height();
    const uint32_t* p = inked + row_end[-1];
    Pixel* const pixels = pixels_;
    const ptrdiff_t stride = stride_;
    const Pixel colour = colour_;
    const Pixel* table = table_;
    uint64_t background = table_background_;
    // Every listed column inside the area is inside the bitmap.
    const ptrdiff_t first = static_cast<ptrdiff_t>(area.top) * stride + left;
    if (area.left <= left && area.right >= left + g.width) {
        // The whole width: no column is tested, and the glyph's column 0 is inside the bitmap.
        Pixel* row = pixels + first;
        for (; row_end < rows_end; ++row_end, row += stride) {
            const uint32_t* end = inked + *row_end;
            blend_row(row, p, end, colour, table, background);
            p = end;
        }
    } else {
        // Cut: each row's listed columns (in order) are cut to the area's once; the glyph's
        // column 0 may lie left of the bitmap, so pixels are addressed from the row's start.
        const uint32_t from = static_cast<uint32_t>(std::max(0, area.left - left));
        const uint32_t to = static_cast<uint32_t>(std::max(0, area.right - left));
        for (ptrdiff_t line = first; row_end < rows_end; ++row_end, line += stride) {
            const uint32_t* end = inked + *row_end;
            const uint32_t* a = p;
            const uint32_t* b = end;
            while (a < b && (*a & Glyph::kColumnMask) < from)
                ++a;
            while (b > a && (b[-1] & Glyph::kColumnMask) >= to)
                --b;
            for (; a < b; ++a) {
                Pixel* d = pixels + (line + static_cast<ptrdiff_t>(*a & Glyph::kColumnMask));
                *d = blended(*d, *a, colour, table, background);
            }
            p = end;
        }
    }
    table_ = table;
    table_background_ = background;
}

}  // namespace gdi
