#include <gtest/gtest.h>

#include <string>

#include "platform/gdi/dc.h"

namespace gdi {
namespace {

// A face shaded from row to row, as a push button's is.
Bitmap shaded(int w, int h) {
    Bitmap b(w, h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            b.set_color(x, y, rgb(200 + y % 50, 220 - y % 40, 250 - y));
    return b;
}

TEST(TextBlock, DrawsAndMeasuresWhatAMeasureThenADrawOfTheCentredBlockDo) {
    const unsigned fmt = DT_CENTER | DT_WORDBREAK | DT_NOPREFIX;
    for (const std::string text : {"on", "Sequence on", "a caption far too long for its button",
                                   "two\nlines", "", "\xE5\xBC\x80"}) {
        for (const Rect area :
             {Rect{2, 2, 80, 28}, Rect{2, 2, 35, 28}, Rect{2, 2, 80, 8}, Rect{10, 10, 5, 5}}) {
            Bitmap one = shaded(90, 40);
            Bitmap two = one;
            DC a(one);
            DC b(two);
            for (DC* dc : {&a, &b}) {
                dc->select_font(Font{"MS Sans Serif", -12});
                dc->set_bk_mode(BkMode::Transparent);
                dc->set_text_color(rgb(24, 36, 60));
            }
            const Rect block = a.draw_text_block(text, area, fmt);
            Rect measured = area;
            b.draw_text(text, measured, fmt | DT_CALCRECT);
            const int shift = std::max(0, (area.height() - measured.height()) / 2);
            const Rect lines{area.left, area.top + shift, area.right,
                             area.top + shift + measured.height()};
            b.draw_text(text, lines, fmt);
            EXPECT_EQ(one, two) << text << " in " << area.width() << "x" << area.height();
            EXPECT_EQ(block.top, lines.top) << text;
            EXPECT_EQ(block.bottom, lines.bottom) << text;
            EXPECT_EQ(block.width(), measured.width()) << text;
        }
    }
}

TEST(TextBlock, TextOverAShadedFaceBlendsWithEachRowsOwnColour) {
    // Each row of text drawn over the shaded face is what the same text gives over a face of
    // that row's colour alone: the blends kept for one background never serve another.
    const Bitmap face = shaded(120, 60);
    Bitmap over = face;
    DC dc(over);
    dc.select_font(Font{"MS Sans Serif", -20});
    dc.set_bk_mode(BkMode::Transparent);
    for (const Color c : {rgb(24, 36, 60), rgb(200, 0, 0)}) {
        dc.set_text_color(c);
        dc.draw_text("Wg \xE5\xBC\x80 8", Rect{0, 0, 120, 60}, DT_LEFT);
        for (int y = 0; y < 60; ++y) {
            Bitmap plain(120, 60, face.pixel(0, y));
            DC p(plain);
            p.select_font(Font{"MS Sans Serif", -20});
            p.set_bk_mode(BkMode::Transparent);
            p.set_text_color(c);
            p.draw_text("Wg \xE5\xBC\x80 8", Rect{0, 0, 120, 60}, DT_LEFT);
            for (int x = 0; x < 120; ++x)
                ASSERT_EQ(over.pixel(x, y), plain.pixel(x, y)) << "at " << x << "," << y;
        }
        over = face;
    }
}

}  // namespace
}  // namespace gdi
