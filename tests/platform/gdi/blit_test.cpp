#include <gtest/gtest.h>

#include <cstdlib>

#include "platform/gdi/dc.h"

namespace gdi {
namespace {

constexpr Pixel kBg = 0xFF000000u;

// A row of distinct pixels 1, 2, 3, ... (with alpha) for following where each lands.
Bitmap strip(int w, int h = 1) {
    Bitmap b(w, h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            b.set_pixel(x, y, 0xFF000000u | (y * 16 + x + 1));
    return b;
}

std::vector<Pixel> row_of(const Bitmap& b, int y) {
    return std::vector<Pixel>(b.row(y), b.row(y) + b.width());
}

TEST(Blit, CopyPlacesThePixelsAndOnlyThose) {
    Bitmap dst(5, 3, kBg);
    DC dc(dst);
    const Bitmap src = strip(3, 2);
    dc.bit_blt(1, 1, 3, 2, src, 0, 0);
    EXPECT_EQ(row_of(dst, 0), std::vector<Pixel>(5, kBg));
    EXPECT_EQ(row_of(dst, 1), (std::vector<Pixel>{kBg, 0xFF000001, 0xFF000002, 0xFF000003, kBg}));
    EXPECT_EQ(row_of(dst, 2), (std::vector<Pixel>{kBg, 0xFF000011, 0xFF000012, 0xFF000013, kBg}));
}

TEST(Blit, CopyFromPastTheSourceEdgeCopiesOnlyWhatExists) {
    Bitmap dst(4, 1, kBg);
    DC dc(dst);
    dc.bit_blt(0, 0, 4, 1, strip(3), 1, 0);
    EXPECT_EQ(row_of(dst, 0), (std::vector<Pixel>{0xFF000002, 0xFF000003, kBg, kBg}));
    dc.bit_blt(0, 0, 4, 1, strip(3), -100, 0);
    EXPECT_EQ(dst.pixel(0, 0), 0xFF000002u);
}

TEST(Blit, OverlappingCopyWithinOneBitmap) {
    Bitmap b = strip(1, 4);  // column 1, 17, 33, 49
    DC dc(b);
    dc.bit_blt(0, 1, 1, 3, b, 0, 0);  // move down by one
    EXPECT_EQ(b.pixel(0, 1), 0xFF000001u);
    EXPECT_EQ(b.pixel(0, 2), 0xFF000011u);
    EXPECT_EQ(b.pixel(0, 3), 0xFF000021u);
    Bitmap r = strip(4);
    DC dr(r);
    dr.bit_blt(1, 0, 3, 1, r, 0, 0);
    EXPECT_EQ(row_of(r, 0), (std::vector<Pixel>{0xFF000001, 0xFF000001, 0xFF000002, 0xFF000003}));
}

TEST(Blit, StretchRepeatsAndDropsPixelsWithoutBlending) {
    Bitmap dst(6, 1, kBg);
    DC dc(dst);
    dc.stretch_blt(0, 0, 6, 1, strip(3), 0, 0, 3, 1);
    EXPECT_EQ(row_of(dst, 0), (std::vector<Pixel>{0xFF000001, 0xFF000001, 0xFF000002, 0xFF000002,
                                                  0xFF000003, 0xFF000003}));
    Bitmap small(2, 1, kBg);
    DC ds(small);
    ds.stretch_blt(0, 0, 2, 1, strip(4), 0, 0, 4, 1);
    EXPECT_EQ(row_of(small, 0), (std::vector<Pixel>{0xFF000001, 0xFF000003}));
    // Vertically as well: a 1x2 source onto 1x4.
    Bitmap tall(1, 4, kBg);
    DC dt(tall);
    dt.stretch_blt(0, 0, 1, 4, strip(1, 2), 0, 0, 1, 2);
    EXPECT_EQ(tall.pixel(0, 1), 0xFF000001u);
    EXPECT_EQ(tall.pixel(0, 2), 0xFF000011u);
}

TEST(Blit, StretchWithNegativeWidthMirrors) {
    Bitmap dst(3, 1, kBg);
    DC dc(dst);
    dc.stretch_blt(2, 0, -3, 1, strip(3), 0, 0, 3, 1);
    EXPECT_EQ(row_of(dst, 0), (std::vector<Pixel>{0xFF000003, 0xFF000002, 0xFF000001}));
}

TEST(Blit, StretchOfAPartOfASourceStrip) {
    // The second state image of a 3-state strip 2 pixels wide each, onto 4 pixels.
    Bitmap dst(4, 1, kBg);
    DC dc(dst);
    dc.stretch_blt(0, 0, 4, 1, strip(6), 2, 0, 2, 1);
    EXPECT_EQ(row_of(dst, 0), (std::vector<Pixel>{0xFF000003, 0xFF000003, 0xFF000004, 0xFF000004}));
}

// Stretched down, a row that takes the same source row as the row above is copied from it;
// every pixel must still be the one the stretch picks: through a clip of several rectangles
// (the row above may lie outside it), mirrored, and with source columns or rows past the
// source's edge, which leave the destination as it was.
TEST(Blit, StretchDownPicksEveryRowThroughAClip) {
    const Bitmap src = strip(5, 4);
    const Region clip =
        Region::from_rects(std::vector<Rect>{{0, 0, 7, 5}, {3, 6, 12, 9}, {1, 11, 9, 30}});
    struct Case {
        int x, y, w, h, sx, sy, sw, sh;
    };
    // Inside the bitmap, part of a source, mirrored both ways, from past the source's edges,
    // one source pixel, and begun outside the bitmap (plain and mirrored).
    const Case cases[] = {{1, 0, 9, 27, 0, 0, 5, 4},     {0, 2, 12, 20, 1, 1, 3, 2},
                          {10, 25, -9, -24, 0, 0, 5, 4}, {0, 0, 12, 28, -2, 2, 8, 5},
                          {2, 3, 6, 25, 4, 0, 1, 1},     {-3, -2, 14, 31, 0, 0, 5, 4},
                          {13, 29, -16, -33, 1, 0, 4, 4}};
    for (const Case& c : cases) {
        Bitmap dst(12, 30, kBg);
        DC dc(dst);
        dc.select_clip_region(&clip);
        dc.stretch_blt(c.x, c.y, c.w, c.h, src, c.sx, c.sy, c.sw, c.sh);
        for (int y = 0; y < 30; ++y) {
            for (int x = 0; x < 12; ++x) {
                Pixel want = kBg;
                // Position k within the destination, from its first pixel (mirrored when the
                // extents' signs differ), picks source position start + k * len / dest_len.
                const int left = c.w < 0 ? c.x + c.w + 1 : c.x;
                const int top = c.h < 0 ? c.y + c.h + 1 : c.y;
                const int kx = c.w < 0 ? -c.w - 1 - (x - left) : x - left;
                const int ky = c.h < 0 ? -c.h - 1 - (y - top) : y - top;
                if (clip.contains({x, y}) && kx >= 0 && kx < std::abs(c.w) && ky >= 0 &&
                    ky < std::abs(c.h)) {
                    const int px = c.sx + kx * c.sw / std::abs(c.w);
                    const int py = c.sy + ky * c.sh / std::abs(c.h);
                    if (px >= 0 && px < src.width() && py >= 0 && py < src.height())
                        want = src.pixel(px, py);
                }
                ASSERT_EQ(dst.pixel(x, y), want)
                    << "case " << c.x << "," << c.y << " at " << x << "," << y;
            }
        }
    }
}

// The same for a transparent stretch: a row met the key colour in is never copied to the rows
// below, which must show what lay under the key.
TEST(Blit, TransparentStretchDownLeavesTheKeyOutOnEveryRow) {
    Bitmap src = strip(5, 4);
    src.set_color(2, 1, kMagenta);
    src.set_color(0, 3, kMagenta);
    src.set_color(4, 3, kMagenta);
    const Region clip =
        Region::from_rects(std::vector<Rect>{{0, 0, 7, 5}, {3, 6, 12, 9}, {1, 11, 9, 30}});
    struct Case {
        int x, y, w, h, sx, sy, sw, sh;
    };
    const Case cases[] = {{1, 0, 9, 27, 0, 0, 5, 4},
                          {-3, -2, 14, 31, 0, 0, 5, 4},
                          {0, 0, 12, 28, -2, 1, 8, 3},
                          {2, 3, 6, 25, 2, 1, 1, 1}};
    for (const Case& c : cases) {
        Bitmap dst(12, 30);
        for (int y = 0; y < 30; ++y)
            for (int x = 0; x < 12; ++x)
                dst.set_pixel(x, y, 0xFF000000u | static_cast<Pixel>(0x100000 * (x + 1) + y));
        const Bitmap before = dst;
        DC dc(dst);
        dc.select_clip_region(&clip);
        dc.transparent_blt(c.x, c.y, c.w, c.h, src, c.sx, c.sy, c.sw, c.sh, kMagenta);
        for (int y = 0; y < 30; ++y) {
            for (int x = 0; x < 12; ++x) {
                Pixel want = before.pixel(x, y);
                const int kx = x - c.x;
                const int ky = y - c.y;
                if (clip.contains({x, y}) && kx >= 0 && kx < c.w && ky >= 0 && ky < c.h) {
                    const int px = c.sx + kx * c.sw / c.w;
                    const int py = c.sy + ky * c.sh / c.h;
                    if (px >= 0 && px < src.width() && py >= 0 && py < src.height() &&
                        src.color_at(px, py) != kMagenta)
                        want = src.pixel(px, py);
                }
                ASSERT_EQ(dst.pixel(x, y), want)
                    << "case " << c.x << "," << c.y << " at " << x << "," << y;
            }
        }
    }
}

TEST(Blit, TransparentCopyLeavesTheKeyColourOut) {
    Bitmap src(3, 1);
    src.set_color(0, 0, rgb(10, 20, 30));
    src.set_color(1, 0, kMagenta);
    src.set_color(2, 0, rgb(40, 50, 60));
    Bitmap dst(6, 1, pixel_of(rgb(1, 1, 1)));
    DC dc(dst);
    dc.transparent_blt(0, 0, 6, 1, src, 0, 0, 3, 1);
    EXPECT_EQ(dst.color_at(0, 0), rgb(10, 20, 30));
    EXPECT_EQ(dst.color_at(1, 0), rgb(10, 20, 30));
    EXPECT_EQ(dst.color_at(2, 0), rgb(1, 1, 1));
    EXPECT_EQ(dst.color_at(3, 0), rgb(1, 1, 1));
    EXPECT_EQ(dst.color_at(4, 0), rgb(40, 50, 60));
    // The key is compared on colour only, whatever the alpha byte holds.
    src.set_pixel(0, 0, 0x00FF00FFu);
    Bitmap d2(1, 1, kBg);
    DC dc2(d2);
    dc2.transparent_blt(0, 0, 1, 1, src, 0, 0, 1, 1);
    EXPECT_EQ(d2.pixel(0, 0), kBg);
    // Another key colour.
    dc2.transparent_blt(0, 0, 1, 1, src, 2, 0, 1, 1, rgb(40, 50, 60));
    EXPECT_EQ(d2.pixel(0, 0), kBg);
}

TEST(Blit, RasterOperations) {
    Bitmap dst(1, 1, pixel_of(rgb(0xF0, 0x0F, 0x00)));
    Bitmap src(1, 1, pixel_of(rgb(0x3C, 0xFF, 0x00)));
    DC dc(dst);
    dc.bit_blt(0, 0, 1, 1, src, 0, 0, Rop::SrcAnd);
    EXPECT_EQ(dst.color_at(0, 0), rgb(0x30, 0x0F, 0x00));
    dc.bit_blt(0, 0, 1, 1, src, 0, 0, Rop::SrcInvert);
    EXPECT_EQ(dst.color_at(0, 0), rgb(0x0C, 0xF0, 0x00));
    dc.bit_blt(0, 0, 1, 1, src, 0, 0, Rop::DstInvert);
    EXPECT_EQ(dst.color_at(0, 0), rgb(0xF3, 0x0F, 0xFF));
    dc.bit_blt(0, 0, 1, 1, src, 0, 0, Rop::Whiteness);
    EXPECT_EQ(dst.color_at(0, 0), rgb(255, 255, 255));
}

TEST(Blit, FromAnotherDcUsesItsOrigins) {
    Bitmap src = strip(4, 4);
    DC sdc(src);
    sdc.set_viewport_origin({-1, -2});  // logical (1, 2) is pixel (0, 0)
    Bitmap dst(1, 1, kBg);
    DC ddc(dst);
    ddc.bit_blt(0, 0, 1, 1, sdc, 2, 3, Rop::SrcCopy);
    EXPECT_EQ(dst.pixel(0, 0), src.pixel(1, 1));
}

TEST(Blit, BadRectanglesDrawNothingAndStayInside) {
    Bitmap dst(4, 4, kBg);
    const Bitmap before = dst;
    DC dc(dst);
    const Bitmap src = strip(4, 4);
    dc.bit_blt(0, 0, -3, 2, src, 0, 0);
    dc.bit_blt(0, 0, 0, 0, src, 0, 0);
    dc.bit_blt(1000000, 0, 4, 4, src, 0, 0);
    dc.bit_blt(2147483000, 2147483000, 2000, 2000, src, 0, 0);
    dc.bit_blt(-2147483000, 0, 2000, 2000, src, 2147483000, 0);
    dc.stretch_blt(0, 0, 4, 4, src, 0, 0, 0, 4);
    dc.stretch_blt(-2147483000, -2147483000, 2147483000, 2147483000, src, 0, 0, 4, 4);
    dc.stretch_blt(5, 5, 1 << 30, 1 << 30, src, 0, 0, 4, 4);
    dc.transparent_blt(0, 0, -4, 4, src, 0, 0, 4, 4);
    dc.transparent_blt(0, 0, 4, 4, src, 0, 0, -4, 4);
    dc.fill_rect({3, 3, 1, 1}, rgb(255, 0, 0));
    dc.fill_rect({-2147483647, -2147483647, -2147483000, 2147483647}, rgb(255, 0, 0));
    dc.set_viewport_origin({2147483000, 0});
    dc.fill_rect({2147483000, 0, 2147483647, 4}, rgb(255, 0, 0));
    EXPECT_EQ(dst, before);
    // A huge stretch that covers the bitmap paints every pixel, and only those.
    dc.set_viewport_origin({0, 0});
    dc.stretch_blt(-1000, -1000, 1 << 28, 1 << 28, src, 0, 0, 4, 4);
    EXPECT_EQ(dst.pixel(3, 3), src.pixel(0, 0));
}

}  // namespace
}  // namespace gdi
