#include <gtest/gtest.h>

#include <string>

#include "platform/gdi/dc.h"
#include "platform/gdi/font_engine.h"

namespace gdi {
namespace {

const Font kFont{"MS Sans Serif", -16};

// What text drawn with its pen at (x, baseline) must leave over `under`: every inked glyph
// pixel inside `clip` (bitmap coordinates) is the text colour times the coverage plus what
// was under it times the rest, per channel, rounded; nothing else changes.
Bitmap expected_text(const Bitmap& under, std::string_view text, int x, int baseline, Color colour,
                     const Region& clip) {
    SizedFont& sized = FontEngine::instance().get(kFont);
    Bitmap out = under;
    size_t i = 0;
    while (i < text.size()) {
        const Glyph& g = sized.glyph(next_code_point(text, i));
        for (int gy = 0; gy < g.height; ++gy)
            for (int gx = 0; gx < g.width; ++gx) {
                const unsigned a = g.coverage[static_cast<size_t>(gy) * g.width + gx];
                const int px = x + g.left + gx, py = baseline - g.top + gy;
                if (a == 0 || !clip.contains({px, py}) || !out.rect().contains({px, py}))
                    continue;
                const Color was = out.color_at(px, py);
                auto mix = [&](int shift) {
                    const unsigned t = (colour >> shift) & 0xFF, u = (was >> shift) & 0xFF;
                    return ((t * a + u * (255 - a) + 127) / 255) << shift;
                };
                out.set_color(px, py, mix(0) | mix(8) | mix(16));
            }
        x += g.advance;
    }
    return out;
}

void expect_same(const Bitmap& drawn, const Bitmap& expected) {
    for (int y = 0; y < drawn.height(); ++y)
        for (int x = 0; x < drawn.width(); ++x)
            ASSERT_EQ(drawn.color_at(x, y), expected.color_at(x, y)) << "at " << x << "," << y;
}

// A background shaded from row to row, as a skinned button's face is.
Bitmap shaded(int w, int h) {
    Bitmap b(w, h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            b.set_color(x, y, rgb(static_cast<uint8_t>(200 + y % 40), 210, 230));
    return b;
}

void set_up(DC& dc, Color colour) {
    dc.select_font(kFont);
    dc.set_bk_mode(BkMode::Transparent);
    dc.set_text_color(colour);
    dc.set_text_align(TA_BASELINE);
}

// A clip rectangle whose edges run through the middle of glyphs, left and right, top and
// bottom, and text that runs off the bitmap's left and right edges: only the pixels inside
// both are drawn, each exactly blended.
TEST(GlyphBlend, GlyphsCutByTheClipAndTheBitmapEdges) {
    const std::string text = "WMW\xE4\xB8\xAD@W";  // wide glyphs, a CJK one among them
    const Color colour = rgb(20, 40, 160);
    const Bitmap under = shaded(60, 40);
    // Two rectangles side by side with a gap between them: a glyph held whole by the first
    // is drawn without looking the clip up, the next one across the gap is cut by both.
    const Region two = Region(Rect{0, 0, 27, 40}) | Region(Rect{31, 0, 60, 40});
    for (const Region& cut : {Region(Rect{13, 9, 41, 23}), Region(Rect{0, 0, 60, 40}),
                              Region(Rect{7, 14, 8, 30}), two}) {
        for (int x : {-9, 4, 31}) {
            Bitmap drawn = under;
            DC dc(drawn);
            set_up(dc, colour);
            dc.select_clip_region(&cut);
            dc.text_out(x, 24, text);
            expect_same(drawn, expected_text(under, text, x, 24, colour, cut));
        }
    }
}

// Strings in different colours one after the other, over a plain and a shaded background and
// over each other: each string takes its own colour's blends, whatever was drawn before (the
// blends are kept between strings by colour and background).
TEST(GlyphBlend, ColourChangesBetweenStringsAndTextOverText) {
    const Color colours[] = {rgb(255, 255, 255), rgb(128, 128, 128), rgb(160, 20, 90),
                             rgb(255, 255, 255)};
    Bitmap plain(120, 30, pixel_of(rgb(212, 208, 200)));
    for (const Bitmap& start : {plain, shaded(120, 30)}) {
        Bitmap drawn = start;
        Bitmap expected = start;
        const Region all(start.rect());
        int shift = 0;
        for (Color c : colours) {
            // The same text, one pixel further each time: later strings lie over the edges
            // of earlier ones, as a disabled caption's shadow lies over its highlight.
            DC dc(drawn);
            set_up(dc, c);
            dc.text_out(3 + shift, 20 + shift, "Agile 8");
            expected = expected_text(expected, "Agile 8", 3 + shift, 20 + shift, c, all);
            ++shift;
        }
        expect_same(drawn, expected);
    }
}

// Characters beyond the direct table of glyphs (outside the basic multilingual plane), and at
// the edges of its pages, are measured and drawn as the glyphs the font gives for them.
TEST(GlyphBlend, CharactersOutsideTheDirectTable) {
    SizedFont& sized = FontEngine::instance().get(kFont);
    // U+00FF, U+0100, U+1F600 (outside the plane), U+FFFD, U+10FFFF, and a letter.
    const std::string text = "\xC3\xBF\xC4\x80\xF0\x9F\x98\x80\xEF\xBF\xBD\xF4\x8F\xBF\xBFx";
    const char32_t cps[] = {0xFF, 0x100, 0x1F600, 0xFFFD, 0x10FFFF, U'x'};
    int width = 0;
    for (char32_t cp : cps) {
        const Glyph& g = sized.glyph(cp);
        EXPECT_GT(g.advance, 0) << static_cast<uint32_t>(cp);
        // The same glyph object the second time, by whichever way it was found.
        EXPECT_EQ(&g, &sized.glyph(cp));
        width += g.advance;
    }
    EXPECT_EQ(sized.width_of(text), width);
    const Bitmap under(140, 30, pixel_of(rgb(255, 255, 255)));
    Bitmap drawn = under;
    DC dc(drawn);
    set_up(dc, rgb(0, 0, 0));
    dc.text_out(2, 20, text);
    expect_same(drawn, expected_text(under, text, 2, 20, rgb(0, 0, 0), Region(under.rect())));
}

// A glyph lists its inked columns row by row with their coverage; one whose coverage does not
// match its size (a damaged cache entry) lists nothing and draws nothing.
TEST(GlyphBlend, InkedColumnsAreListedRowByRow) {
    Glyph g;
    g.width = 5;
    g.height = 3;
    g.coverage = {0, 7, 0, 255, 0,  //
                  0, 0, 0, 0,   0,  //
                  9, 0, 0, 0,   1};
    g.find_ink();
    auto entry = [](uint32_t column, uint32_t a) { return column | (a << Glyph::kCoverageShift); };
    EXPECT_EQ(g.inked,
              (std::vector<uint32_t>{entry(1, 7), entry(3, 255), entry(0, 9), entry(4, 1)}));
    EXPECT_EQ(g.row_inked, (std::vector<uint32_t>{0, 2, 2, 4}));
    g.coverage.pop_back();
    g.find_ink();
    EXPECT_TRUE(g.inked.empty());
    EXPECT_EQ(g.row_inked, (std::vector<uint32_t>{0, 0, 0, 0}));
}

}  // namespace
}  // namespace gdi
