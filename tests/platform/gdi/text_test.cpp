#include <gtest/gtest.h>

#include "platform/gdi/dc.h"
#include "platform/gdi/font_engine.h"

namespace gdi {
namespace {

const Color kWhite = rgb(255, 255, 255);

// The bounding box of the pixels that differ from the background colour.
Rect ink(const Bitmap& b, Color bg = kWhite) {
    Rect r;
    for (int y = 0; y < b.height(); ++y)
        for (int x = 0; x < b.width(); ++x)
            if (b.color_at(x, y) != bg)
                r = r.unite({x, y, x + 1, y + 1});
    return r;
}

class Text : public ::testing::Test {
  protected:
    Text() : bitmap(200, 100, pixel_of(kWhite)), dc(bitmap) {
        dc.select_font(Font{"MS Sans Serif", -16});
        dc.set_bk_mode(BkMode::Transparent);
    }
    Bitmap bitmap;
    DC dc;
};

TEST_F(Text, MetricsFollowTheWindowsHeight) {
    const TextMetrics m = dc.get_text_metrics();
    EXPECT_EQ(m.height, m.ascent + m.descent);
    EXPECT_GE(m.height, 16);
    EXPECT_LE(m.height, 22);
    EXPECT_EQ(m.internal_leading, m.height - 16);
    // A positive height is the cell height.
    dc.select_font(Font{"Tahoma", 20});
    EXPECT_NEAR(dc.get_text_metrics().height, 20, 1);
    EXPECT_EQ(Font::from_points("Tahoma", 9).height, -12);
    EXPECT_EQ(Font::from_points("Tahoma", 8).height, -11);
}

TEST_F(Text, ExtentGrowsWithTheTextAndBoldIsWider) {
    const Size one = dc.get_text_extent("Connect");
    const Size two = dc.get_text_extent("ConnectConnect");
    EXPECT_GT(one.cx, 20);
    EXPECT_EQ(two.cx, 2 * one.cx);
    EXPECT_EQ(one.cy, dc.get_text_metrics().height);
    EXPECT_EQ(dc.get_text_extent("").cx, 0);
    Font bold{"MS Sans Serif", -16, FW_BOLD};
    dc.select_font(bold);
    EXPECT_GT(dc.get_text_extent("Connect").cx, one.cx);
}

TEST_F(Text, SingleLineIsCentredInTheRectangle) {
    Rect r{0, 0, 200, 100};
    const int h = dc.draw_text("Hello", r, DT_SINGLELINE | DT_CENTER | DT_VCENTER);
    const Rect box = ink(bitmap);
    ASSERT_FALSE(box.empty());
    const int centre_x = (box.left + box.right) / 2;
    const int centre_y = (box.top + box.bottom) / 2;
    EXPECT_NEAR(centre_x, 100, 3);
    EXPECT_NEAR(centre_y, 50, 5);
    // Win32 returns the offset of the text's bottom from the top when centring vertically.
    const int lh = dc.get_text_metrics().height;
    EXPECT_EQ(h, (100 - lh) / 2 + lh);
}

TEST_F(Text, RightAndBottomAlignment) {
    Rect r{0, 0, 200, 100};
    dc.draw_text("Hello", r, DT_SINGLELINE | DT_RIGHT | DT_BOTTOM);
    const Rect box = ink(bitmap);
    EXPECT_GE(box.right, 195);
    EXPECT_LE(box.right, 200);
    EXPECT_GE(box.bottom, 85);
}

TEST_F(Text, CalcRectMeasuresAndDrawsNothing) {
    Rect r{10, 10, 10, 10};
    const int h = dc.draw_text("Sequence on", r, DT_SINGLELINE | DT_CALCRECT);
    EXPECT_EQ(r.width(), dc.get_text_extent("Sequence on").cx);
    EXPECT_EQ(r.height(), dc.get_text_metrics().height);
    EXPECT_EQ(h, r.height());
    EXPECT_EQ(r.left, 10);
    EXPECT_TRUE(ink(bitmap).empty());
    // Lines break at "\n" and "\r\n".
    Rect m{0, 0, 0, 0};
    dc.draw_text("a\r\nbb\nccc", m, DT_CALCRECT);
    EXPECT_EQ(m.height(), 3 * dc.get_text_metrics().height);
    EXPECT_EQ(m.width(), dc.get_text_extent("ccc").cx);
}

TEST_F(Text, WordBreakWrapsAtSpacesAndBetweenChineseCharacters) {
    const int lh = dc.get_text_metrics().height;
    const int word = dc.get_text_extent("channel").cx;
    Rect r{0, 0, word + 5, 0};
    dc.draw_text("channel channel channel", r, DT_WORDBREAK | DT_CALCRECT);
    EXPECT_EQ(r.height(), 3 * lh);
    EXPECT_EQ(r.width(), word);
    // Chinese text has no spaces but breaks between characters.
    const int two = dc.get_text_extent("通道").cx;
    Rect c{0, 0, two, 0};
    dc.draw_text("通道通道通道", c, DT_WORDBREAK | DT_CALCRECT);
    EXPECT_EQ(c.height(), 3 * lh);
    // A word longer than the line is not split.
    Rect narrow{0, 0, 5, 0};
    dc.draw_text("sequencer", narrow, DT_WORDBREAK | DT_CALCRECT);
    EXPECT_EQ(narrow.height(), lh);
    // Drawn, the second line lies below the first.
    Rect d{0, 0, word + 5, 100};
    dc.draw_text("channel channel", d, DT_WORDBREAK);
    EXPECT_GT(ink(bitmap).bottom, lh);
}

TEST_F(Text, EndEllipsisShortensTextThatDoesNotFit) {
    const int full = dc.get_text_extent("Ethernet connection").cx;
    Rect r{0, 0, full / 2, 20};
    dc.draw_text("Ethernet connection", r, DT_SINGLELINE | DT_END_ELLIPSIS | DT_CALCRECT);
    EXPECT_LE(r.width(), full / 2);
    EXPECT_GT(r.width(), dc.get_text_extent("...").cx);
    Rect wide{0, 0, full + 10, 20};
    dc.draw_text("Ethernet connection", wide, DT_SINGLELINE | DT_END_ELLIPSIS | DT_CALCRECT);
    EXPECT_EQ(wide.width(), full);
    // Drawn, nothing passes the right edge.
    Rect d{0, 0, full / 2, 20};
    dc.draw_text("Ethernet connection", d, DT_SINGLELINE | DT_END_ELLIPSIS | DT_NOCLIP);
    EXPECT_LE(ink(bitmap).right, full / 2);
}

TEST_F(Text, PrefixesUnderlineUnlessNoPrefix) {
    Rect r{0, 0, 0, 0};
    dc.draw_text("&Open", r, DT_SINGLELINE | DT_CALCRECT);
    EXPECT_EQ(r.width(), dc.get_text_extent("Open").cx);
    Rect n{0, 0, 0, 0};
    dc.draw_text("&Open", n, DT_SINGLELINE | DT_CALCRECT | DT_NOPREFIX);
    EXPECT_EQ(n.width(), dc.get_text_extent("&Open").cx);
    Rect a{0, 0, 0, 0};
    dc.draw_text("A&&B", a, DT_SINGLELINE | DT_CALCRECT);
    EXPECT_EQ(a.width(), dc.get_text_extent("A&B").cx);
    // The underline lies below the baseline, under the first letter only.
    Rect d{0, 0, 200, 40};
    dc.draw_text("&Hello", d, DT_SINGLELINE);
    const int below = dc.get_text_metrics().ascent + 1;
    int under = 0;
    for (int x = 0; x < 200; ++x)
        under += bitmap.color_at(x, below) != kWhite;
    EXPECT_GT(under, 3);
    EXPECT_LT(under, dc.get_text_extent("H").cx + 2);
}

TEST_F(Text, ClipsToTheRectangleUnlessNoClip) {
    Rect r{0, 0, 10, 10};
    dc.draw_text("Wide text that overflows", r, DT_SINGLELINE);
    EXPECT_LE(ink(bitmap).right, 10);
    EXPECT_LE(ink(bitmap).bottom, 10);
    dc.draw_text("Wide text that overflows", r, DT_SINGLELINE | DT_NOCLIP);
    EXPECT_GT(ink(bitmap).right, 10);
}

TEST_F(Text, ChineseAndLatinRenderTogetherFromTheirFaces) {
    Rect r{0, 0, 200, 40};
    dc.set_text_color(rgb(0, 0, 0));
    dc.draw_text("开 on 關", r, DT_SINGLELINE);
    const Rect box = ink(bitmap);
    EXPECT_GT(box.width(), 40);
    // Glyphs are anti-aliased: grey levels between the text colour and the background appear.
    bool grey = false;
    for (int y = box.top; y < box.bottom; ++y)
        for (int x = box.left; x < box.right; ++x) {
            const Color c = bitmap.color_at(x, y);
            grey |= c != kWhite && c != rgb(0, 0, 0);
        }
    EXPECT_TRUE(grey);
    SizedFont& latin = FontEngine::instance().get(Font{"MS Sans Serif", -16});
    const Glyph& a = latin.glyph(U'A');
    const Glyph& kai = latin.glyph(U'\u5F00');
    EXPECT_EQ(a.face, 0);
    EXPECT_EQ(kai.face, 1);
    EXPECT_NE(latin.family(1).find("WenQuanYi"), std::string::npos);
    EXPECT_GT(kai.width, 0);
    // A Chinese face name makes the CJK face the primary one.
    SizedFont& song = FontEngine::instance().get(Font{"宋体", -12});
    EXPECT_EQ(song.glyph(U'\u5F00').face, 0);
    EXPECT_NE(song.family(0).find("WenQuanYi"), std::string::npos);
}

TEST_F(Text, MissingGlyphsShowAReplacementBox) {
    SizedFont& f = FontEngine::instance().get(Font{"MS Sans Serif", -16});
    const Glyph& g = f.glyph(U'\U0010FFFD');  // private use, in neither face
    EXPECT_EQ(g.face, -1);
    EXPECT_GT(g.advance, 0);
    Rect r{0, 0, 100, 40};
    dc.draw_text("\xF4\x8F\xBF\xBD", r, DT_SINGLELINE);
    EXPECT_FALSE(ink(bitmap).empty());
    // Malformed UTF-8 neither crashes nor reads past the text.
    dc.draw_text(std::string_view("\xE4\xB8", 2), r, DT_SINGLELINE);
    size_t i = 0;
    EXPECT_EQ(next_code_point("\xC0\x80", i), 0xFFFDu);
    EXPECT_EQ(i, 1u);
}

TEST_F(Text, OpaqueTextOutFillsTheCell) {
    dc.set_bk_mode(BkMode::Opaque);
    dc.set_bk_color(rgb(0, 255, 0));
    dc.text_out(5, 5, "Hi");
    const Size s = dc.get_text_extent("Hi");
    EXPECT_EQ(bitmap.color_at(5, 5), rgb(0, 255, 0));
    EXPECT_EQ(bitmap.color_at(5 + s.cx - 1, 5 + s.cy - 1), rgb(0, 255, 0));
    EXPECT_EQ(bitmap.color_at(5 + s.cx, 5), kWhite);
    EXPECT_EQ(bitmap.color_at(4, 5), kWhite);
}

TEST_F(Text, EmptyAndInvertedRectanglesDrawNothing) {
    Rect r{50, 50, 10, 10};
    dc.draw_text("text", r, DT_SINGLELINE);
    Rect far{2147483000, 2147483000, 2147483647, 2147483647};
    dc.draw_text("text", far, DT_SINGLELINE | DT_CENTER | DT_VCENTER);
    dc.draw_text("text text", far, DT_WORDBREAK | DT_CALCRECT);
    EXPECT_GE(far.right, far.left);
    dc.text_out(2147483000, -2147483000, "text");
    EXPECT_TRUE(ink(bitmap).empty());
    // Bottom-aligned in an upside-down rectangle: no negative height.
    EXPECT_EQ(dc.draw_text("text", Rect{0, 50, 100, 10}, DT_SINGLELINE | DT_BOTTOM), 0);
    // A rectangle around everything centres the text on the origin, partly inside.
    Rect huge{-2147483647, -2147483647, 2147483647, 2147483647};
    dc.draw_text("text", huge, DT_SINGLELINE | DT_CENTER | DT_VCENTER | DT_END_ELLIPSIS);
    EXPECT_EQ(ink(bitmap).left, 0);
    EXPECT_EQ(ink(bitmap).top, 0);
    bitmap.fill_color(kWhite);
    Rect e{0, 0, 100, 40};
    EXPECT_EQ(dc.draw_text("", e, 0), 0);
    EXPECT_TRUE(ink(bitmap).empty());
}

// Every pixel of drawn text is the glyph coverage blended exactly: the text colour times the
// coverage plus what was under it times the rest, per channel, rounded. Checked over a
// background of two colours (text crossing from one onto the other) and through a clip of many
// bands, and drawn twice so that the second run reuses what the first learnt.
TEST_F(Text, GlyphPixelsAreExactBlendsOverAnyBackgroundAndClip) {
    const Color left_bg = rgb(212, 208, 200);
    const Color right_bg = rgb(10, 120, 250);
    const Color text = rgb(160, 20, 90);
    const std::string sample = "Ag\xE4\xB8\xADW";  // A, g, a CJK glyph, W
    const Font font{"MS Sans Serif", -16};
    SizedFont& sized = FontEngine::instance().get(font);
    const int baseline = 40;
    Region clip;
    for (int y = 0; y < 100; y += 3)
        clip |= Region(Rect{0, y, 200, y + 2});
    for (int round = 0; round < 2; ++round) {
        Bitmap under(200, 100, pixel_of(left_bg));
        for (int y = 0; y < 100; ++y)
            for (int x = 24; x < 200; ++x)
                under.set_color(x, y, right_bg);
        Bitmap drawn = under;
        DC d(drawn);
        d.select_font(font);
        d.set_bk_mode(BkMode::Transparent);
        d.set_text_color(text);
        d.set_text_align(TA_BASELINE);
        if (round == 1)
            d.select_clip_region(&clip);
        d.text_out(10, baseline, sample);
        Bitmap expected = under;
        int pen = 10;
        size_t i = 0;
        while (i < sample.size()) {
            const Glyph& g = sized.glyph(next_code_point(sample, i));
            for (int gy = 0; gy < g.height; ++gy)
                for (int gx = 0; gx < g.width; ++gx) {
                    const unsigned a = g.coverage[static_cast<size_t>(gy) * g.width + gx];
                    const int x = pen + g.left + gx, y = baseline - g.top + gy;
                    if (a == 0 || (round == 1 && !clip.contains({x, y})))
                        continue;
                    const Color was = under.color_at(x, y);
                    auto mix = [&](int shift) {
                        const unsigned t = (text >> shift) & 0xFF, u = (was >> shift) & 0xFF;
                        return ((t * a + u * (255 - a) + 127) / 255) << shift;
                    };
                    expected.set_color(x, y, mix(0) | mix(8) | mix(16));
                }
            pen += g.advance;
        }
        ASSERT_GT(pen, 40);
        for (int y = 0; y < 100; ++y)
            for (int x = 0; x < 200; ++x)
                ASSERT_EQ(drawn.color_at(x, y), expected.color_at(x, y))
                    << "round " << round << " at " << x << "," << y;
    }
}

}  // namespace
}  // namespace gdi

namespace gdi {
namespace {

// With word breaks, a paragraph exactly as wide as the rectangle stays one line, one pixel
// narrower breaks it; trailing spaces take no width, and a mnemonic keeps its underline.
TEST_F(Text, WordBreakKeepsAParagraphThatFitsOnOneLine) {
    const int lh = dc.get_text_metrics().height;
    const int w = dc.get_text_extent("Sequence on").cx;
    for (const std::string text : {"Sequence on", "Sequence on  "}) {
        Rect fits{0, 0, w, 100};
        EXPECT_EQ(dc.draw_text(text, fits, DT_WORDBREAK | DT_CALCRECT), lh) << text;
        EXPECT_EQ(fits.width(), w) << text;
        Rect narrow{0, 0, w - 1, 100};
        EXPECT_EQ(dc.draw_text(text, narrow, DT_WORDBREAK | DT_CALCRECT), 2 * lh) << text;
    }
    // "&Sequence on" underlines the S whether it is drawn wrapped or as one line.
    Bitmap wrapped(200, 100, pixel_of(kWhite));
    DC other(wrapped);
    other.select_font(Font{"MS Sans Serif", -16});
    other.set_bk_mode(BkMode::Transparent);
    Rect r{0, 0, w, 100};
    other.draw_text("&Sequence on", r, DT_WORDBREAK);
    Rect s{0, 0, 200, 100};
    dc.draw_text("&Sequence on", s, DT_SINGLELINE);
    EXPECT_EQ(wrapped, bitmap);
}

}  // namespace
}  // namespace gdi

namespace gdi {
namespace {

// A single left-aligned line is drawn straight from its text; it must leave the same pixels
// and give the same height as the laid-out way (forced here by expanding tabs the texts do not
// have), at the top, centred or at the bottom, opaque or not, in a rectangle that holds it or
// one that cuts it.
TEST(TextSingleLine, DrawnStraightAsTheLaidOutWayDraws) {
    for (const std::string text : {"CH16", "\xE7\x8B\x80\xE6\x85\x8B", "", "Mask all"}) {
        for (unsigned placing : {0u, DT_VCENTER, DT_BOTTOM, DT_NOCLIP | DT_VCENTER}) {
            for (BkMode mode : {BkMode::Transparent, BkMode::Opaque}) {
                for (const Rect area :
                     {Rect{3, 4, 180, 30}, Rect{3, 4, 180, 31}, Rect{5, 2, 20, 9}}) {
                    Bitmap one(200, 40, pixel_of(rgb(212, 208, 200)));
                    Bitmap two = one;
                    DC a(one);
                    DC b(two);
                    for (DC* dc : {&a, &b}) {
                        dc->select_font(Font{"MS Sans Serif", -12});
                        dc->set_bk_mode(mode);
                        dc->set_bk_color(rgb(250, 240, 200));
                        dc->set_text_color(rgb(30, 60, 90));
                    }
                    const unsigned fmt = DT_SINGLELINE | placing;
                    Rect ra = area;
                    Rect rb = area;
                    EXPECT_EQ(a.draw_text(text, ra, fmt),
                              b.draw_text(text, rb, fmt | DT_EXPANDTABS))
                        << text << " " << placing;
                    EXPECT_EQ(ra, area);
                    EXPECT_EQ(one, two) << text << " " << placing;
                }
            }
        }
    }
}

}  // namespace
}  // namespace gdi
