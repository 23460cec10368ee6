#include <gtest/gtest.h>

#include <vector>

#include "platform/gdi/dc.h"

namespace gdi {
namespace {

// An image whose every pixel differs, with magenta here and there (a few whole rows and
// columns of it too), so that a pixel taken from the wrong place or a key pixel copied shows.
Bitmap patterned(int w, int h) {
    Bitmap b(w, h);
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            b.set_color(x, y, rgb(static_cast<uint8_t>(x * 9), static_cast<uint8_t>(y * 7), 40));
            if ((x * 3 + y * 5) % 7 == 0 || y == 4 || x == 2)
                b.set_color(x, y, kMagenta);
        }
    }
    // A row of one colour: stretched, it becomes a fill.
    for (int x = 0; x < w; ++x)
        b.set_color(x, 6, rgb(1, 2, 3));
    return b;
}

// The nine pieces drawn one by one, as each is a blit of its own.
void nine_blits(DC& dc, const Rect& d, const Bitmap& src, const NinePiece& p, bool transparent) {
    const Rect& s = p.source;
    const int L = p.left, T = p.top, R = p.right, B = p.bottom;
    const int W = d.width(), H = d.height();
    auto part = [&](int x, int y, int w, int h, int sx, int sy, int sw, int sh) {
        if (w <= 0 || h <= 0 || sw <= 0 || sh <= 0)
            return;
        if (transparent)
            dc.transparent_blt(d.left + x, d.top + y, w, h, src, sx, sy, sw, sh);
        else
            dc.stretch_blt(d.left + x, d.top + y, w, h, src, sx, sy, sw, sh);
    };
    const int cw = s.width() - L - R, ch = s.height() - T - B;
    part(0, 0, L, T, s.left, s.top, L, T);
    part(0, H - B, L, B, s.left, s.bottom - B, L, B);
    part(W - R, 0, R, T, s.right - R, s.top, R, T);
    part(0, T, L, H - T - B, s.left, s.top + T, L, ch);
    part(L, 0, W - L - R, T, s.left + L, s.top, cw, T);
    if (p.tile) {
        for (int y = T; y < H - B; y += ch) {
            for (int x = L; x < W - R; x += cw) {
                const int w = std::min(cw, W - R - x), h = std::min(ch, H - B - y);
                part(x, y, w, h, s.left + L, s.top + T, w, h);
            }
        }
    } else {
        part(L, T, W - L - R, H - T - B, s.left + L, s.top + T, cw, ch);
    }
    part(W - R, H - B, R, B, s.right - R, s.bottom - B, R, B);
    part(W - R, T, R, H - T - B, s.right - R, s.top + T, R, ch);
    part(L, H - B, W - L - R, B, s.left + L, s.bottom - B, cw, B);
}

// Every way of taking the key, stretched and tiled centres, margins of every side (none
// included), destinations smaller and larger than the source, at an offset origin, through a
// clip of several rectangles and one that cuts the destination: each pixel must be the one the
// nine blits put there (the key shown in a colour is the same as a fill and then the key left
// out), and nothing beside the destination may change.
TEST(NinePiece, OnePassDrawsWhatTheNineBlitsDraw) {
    const Bitmap image = patterned(33, 12);  // the cut is taken from x 10 .. 25, y 1 .. 11
    const Rect source{10, 1, 25, 11};
    const Rect margins[] = {{0, 0, 0, 0}, {3, 2, 4, 3}, {1, 0, 0, 4}, {7, 4, 7, 5}};
    const Rect dests[] = {{4, 3, 50, 37}, {0, 0, 15, 10}, {6, 5, 21, 14}, {-5, -4, 9, 12}};
    Region clip = Region::from_rects(
        std::vector<Rect>{{0, 0, 40, 12}, {8, 12, 52, 20}, {1, 20, 7, 40}, {20, 25, 52, 40}});
    int compared = 0;
    for (const Rect& m : margins) {
        for (const Rect& d : dests) {
            for (const bool tile : {false, true}) {
                for (const KeyMode mode : {KeyMode::Copy, KeyMode::LeaveOut, KeyMode::ShowColour}) {
                    const NinePiece p{source, m.left, m.top, m.right, m.bottom, tile};
                    if (!p.partitions(d.width(), d.height()))
                        continue;
                    Bitmap drawn(52, 40, pixel_of(rgb(200, 100, 50)));
                    Bitmap expected = drawn;
                    DC a(drawn);
                    DC b(expected);
                    for (DC* dc : {&a, &b}) {
                        dc->set_viewport_origin({2, 1});
                        dc->select_clip_region(&clip);
                    }
                    ASSERT_TRUE(a.draw_nine_piece(d, image, p, mode, kMagenta, rgb(9, 8, 7)));
                    if (mode == KeyMode::ShowColour)
                        b.fill_rect(d, rgb(9, 8, 7));
                    nine_blits(b, d, image, p, mode != KeyMode::Copy);
                    ASSERT_EQ(drawn, expected)
                        << "margins " << m.left << "," << m.top << "," << m.right << "," << m.bottom
                        << " dest " << d.left << "," << d.top << " tile " << tile << " mode "
                        << static_cast<int>(mode);
                    ++compared;
                }
            }
        }
    }
    EXPECT_GT(compared, 60);
}

// A clip that shows only a small window of the element, so that the first visible column and
// row lie past the leading margin: inside the trailing margins (the centre not shown at all),
// inside a tiled centre beyond its first tile, across where the centre meets the trailing
// margins. Each window must show what the nine blits put there.
TEST(NinePiece, AWindowOfTheElementShowsTheSamePixels) {
    const Bitmap image = patterned(33, 12);
    const NinePiece stretched{{10, 1, 25, 11}, 3, 2, 4, 3, false};
    const Rect dest{0, 0, 50, 40};  // the trailing margins start at x 46 and y 37
    const Rect windows[] = {{47, 38, 49, 40}, {20, 17, 26, 21}, {40, 30, 48, 39}, {2, 1, 9, 4}};
    for (const Rect& w : windows) {
        for (const bool tile : {false, true}) {
            for (const KeyMode mode : {KeyMode::Copy, KeyMode::LeaveOut}) {
                NinePiece p = stretched;
                p.tile = tile;
                Bitmap drawn(52, 42, pixel_of(rgb(200, 100, 50)));
                Bitmap expected = drawn;
                DC a(drawn);
                DC b(expected);
                a.intersect_clip_rect(w);
                b.intersect_clip_rect(w);
                ASSERT_TRUE(a.draw_nine_piece(dest, image, p, mode));
                nine_blits(b, dest, image, p, mode != KeyMode::Copy);
                ASSERT_EQ(drawn, expected) << "window " << w.left << "," << w.top << " tile "
                                           << tile << " mode " << static_cast<int>(mode);
            }
        }
    }
}

TEST(NinePiece, RefusesWhatItCannotDrawInOnePassAndDrawsNothingThen) {
    const Bitmap image = patterned(20, 10);
    Bitmap target(30, 30, pixel_of(rgb(5, 5, 5)));
    const Bitmap before = target;
    DC dc(target);
    // Margins that meet in the source leave no centre; margins wider than the destination; a
    // cut outside the image; an empty destination.
    EXPECT_FALSE(dc.draw_nine_piece({0, 0, 20, 20}, image, {{0, 0, 10, 10}, 5, 1, 5, 1, false}));
    EXPECT_FALSE(dc.draw_nine_piece({0, 0, 6, 20}, image, {{0, 0, 10, 10}, 4, 1, 3, 1, false}));
    EXPECT_FALSE(dc.draw_nine_piece({0, 0, 20, 20}, image, {{15, 0, 25, 10}, 1, 1, 1, 1, false}));
    EXPECT_FALSE(dc.draw_nine_piece({5, 5, 5, 9}, image, {{0, 0, 10, 10}, 1, 1, 1, 1, false}));
    EXPECT_FALSE(dc.draw_nine_piece({0, 0, 1 << 30, 20}, image, {{0, 0, 10, 10}, 1, 1, 1, 1}));
    EXPECT_EQ(target, before);
    // Drawn out of the bitmap it draws into: the same as out of a copy.
    Bitmap self = patterned(40, 20);
    Bitmap copy_target = self;
    const Bitmap source = self;
    DC s(self);
    DC c(copy_target);
    ASSERT_TRUE(s.draw_nine_piece({5, 3, 37, 19}, self, {{0, 0, 20, 10}, 2, 2, 3, 3, false},
                                  KeyMode::LeaveOut));
    ASSERT_TRUE(c.draw_nine_piece({5, 3, 37, 19}, source, {{0, 0, 20, 10}, 2, 2, 3, 3, false},
                                  KeyMode::LeaveOut));
    EXPECT_EQ(self, copy_target);
}

}  // namespace
}  // namespace gdi
