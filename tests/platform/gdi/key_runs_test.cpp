#include <gtest/gtest.h>

#include <cstdlib>
#include <random>
#include <vector>

#include "platform/gdi/dc.h"
#include "platform/gdi/key_runs.h"

namespace gdi {
namespace {

constexpr Pixel kBlack = 0xFF000000u;

TEST(KeyRuns, RunsOfEachRowAndWhetherAStretchOfColumnsIsOpaque) {
    Bitmap b(6, 3, pixel_of(rgb(1, 2, 3)));
    b.set_color(0, 0, kMagenta);
    b.set_color(3, 0, kMagenta);
    b.set_pixel(5, 0, 0x00FF00FFu);  // the key whatever the alpha byte
    for (int x = 0; x < 6; ++x)
        b.set_color(x, 2, kMagenta);
    const KeyRuns runs(b, kMagenta);
    ASSERT_EQ(runs.height(), 3);
    ASSERT_EQ(runs.row(0).size(), 2u);
    EXPECT_EQ(runs.row(0)[0].begin, 1);
    EXPECT_EQ(runs.row(0)[0].end, 3);
    EXPECT_EQ(runs.row(0)[1].begin, 4);
    EXPECT_EQ(runs.row(0)[1].end, 5);
    ASSERT_EQ(runs.row(1).size(), 1u);
    EXPECT_EQ(runs.row(1)[0].end, 6);
    EXPECT_TRUE(runs.row(2).empty());
    EXPECT_TRUE(runs.row(3).empty());
    EXPECT_TRUE(runs.row(-1).empty());
    EXPECT_TRUE(runs.opaque(0, 1, 3));
    EXPECT_FALSE(runs.opaque(0, 1, 4));
    EXPECT_FALSE(runs.opaque(0, 0, 2));
    EXPECT_TRUE(runs.opaque(1, 0, 6));
    EXPECT_FALSE(runs.opaque(1, 0, 7)) << "past the image is not opaque";
    EXPECT_FALSE(runs.opaque(1, 2, 2)) << "no columns";
    EXPECT_FALSE(runs.opaque(2, 0, 1));
}

// The transparent copy, pixel by pixel, as the runs must reproduce it.
Bitmap reference_copy(Bitmap dst, const Region& clip, int x, int y, int w, int h, const Bitmap& src,
                      int sx, int sy, int sw, int sh) {
    const Bitmap before = dst;
    for (int yy = 0; yy < dst.height(); ++yy) {
        for (int xx = 0; xx < dst.width(); ++xx) {
            const int kx = xx - x;
            const int ky = yy - y;
            if (!clip.contains({xx, yy}) || kx < 0 || kx >= w || ky < 0 || ky >= h)
                continue;
            const int px = sx + kx * sw / w;
            const int py = sy + ky * sh / h;
            if (px >= 0 && px < src.width() && py >= 0 && py < src.height() &&
                src.color_at(px, py) != kMagenta)
                dst.set_pixel(xx, yy, src.pixel(px, py));
        }
    }
    return dst;
}

TEST(KeyRuns, TransparentCopiesOfRandomImagesMatchThePixelByPixelCopy) {
    std::mt19937 rng(12345);
    auto pick = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); };
    const Region clip =
        Region::from_rects(std::vector<Rect>{{0, 0, 40, 9}, {5, 9, 33, 20}, {0, 20, 40, 30}});
    for (int round = 0; round < 300; ++round) {
        // Images with key pixels in runs, alone, in whole rows, or none at all.
        Bitmap src(pick(1, 24), pick(1, 12));
        const int density = pick(0, 3);
        for (int y = 0; y < src.height(); ++y) {
            const bool keyed_row = pick(0, 9) == 0;
            for (int x = 0; x < src.width(); ++x) {
                const bool key = keyed_row || (density > 0 && pick(0, 7) < density);
                src.set_pixel(
                    x, y,
                    key ? pixel_of(kMagenta)
                        : 0xFF000000u | static_cast<Pixel>((round << 12) + y * 64 + x + 1));
            }
        }
        Bitmap dst(40, 30);
        for (int i = 0; i < 40 * 30; ++i)
            dst.data()[i] = 0xFF000000u | static_cast<Pixel>(0x400000 + i);
        const int sx = pick(-3, src.width() - 1);
        const int sy = pick(-2, src.height() - 1);
        const int sw = pick(1, src.width() + 2);
        const int sh = pick(1, src.height() + 2);
        const bool unscaled = pick(0, 2) == 0;
        const int w = unscaled ? sw : pick(1, 45);
        const int h = unscaled ? sh : pick(1, 35);
        const int x = pick(-5, 35);
        const int y = pick(-5, 25);
        const Bitmap want = reference_copy(dst, clip, x, y, w, h, src, sx, sy, sw, sh);
        DC dc(dst);
        dc.select_clip_region(&clip);
        // Twice: the second copy uses the runs the first one made.
        for (int pass = 0; pass < 2; ++pass) {
            dc.transparent_blt(x, y, w, h, src, sx, sy, sw, sh, kMagenta);
            ASSERT_EQ(dst, want) << "round " << round << " pass " << pass << ": " << w << "x" << h
                                 << " at " << x << "," << y << " from " << sw << "x" << sh << " at "
                                 << sx << "," << sy;
        }
    }
}

TEST(KeyRuns, AnImageChangedAfterACopyIsCopiedAsItIsNow) {
    Bitmap src(4, 2, pixel_of(kMagenta));
    Bitmap dst(8, 2, kBlack);
    DC out(dst);
    out.transparent_blt(0, 0, 4, 2, src, 0, 0, 4, 2);
    EXPECT_EQ(dst.pixel(1, 0), kBlack);
    // Drawn on through a DC: the image's runs must follow.
    {
        DC draw(src);
        draw.fill_rect({1, 0, 3, 1}, rgb(9, 9, 9));
    }
    out.transparent_blt(0, 0, 4, 2, src, 0, 0, 4, 2);
    EXPECT_EQ(dst.color_at(1, 0), rgb(9, 9, 9));
    EXPECT_EQ(dst.pixel(0, 0), kBlack);
    // Written through a writable row, stretched this time.
    src.row(1)[3] = pixel_of(rgb(7, 7, 7));
    out.transparent_blt(0, 0, 8, 2, src, 0, 0, 4, 2);
    EXPECT_EQ(dst.color_at(6, 1), rgb(7, 7, 7));
    EXPECT_EQ(dst.color_at(7, 1), rgb(7, 7, 7));
    // A copy taken before a change keeps the pixels it was made from.
    const Bitmap kept = src;
    src.fill(pixel_of(rgb(5, 5, 5)));
    Bitmap d2(4, 2, kBlack);
    DC out2(d2);
    out2.transparent_blt(0, 0, 4, 2, kept, 0, 0, 4, 2);
    EXPECT_EQ(d2.pixel(0, 0), kBlack);
    out2.transparent_blt(0, 0, 4, 2, src, 0, 0, 4, 2);
    EXPECT_EQ(d2.color_at(0, 0), rgb(5, 5, 5));
}

}  // namespace
}  // namespace gdi

namespace gdi {
namespace {

TEST(KeyRuns, FlatRowsStretchedEitherWayAreTheSameAsPixelByPixel) {
    // Rows of one colour (stretched as fills) between rows that are not, mirrored or not.
    Bitmap src(5, 4);
    for (int x = 0; x < 5; ++x) {
        src.set_color(x, 0, rgb(10, 10, 10));
        src.set_color(x, 1, rgb(20 + x, 0, 0));
        src.set_color(x, 2, x == 4 ? rgb(1, 2, 3) : rgb(30, 30, 30));
        src.set_color(x, 3, rgb(40, 40, 40));
    }
    for (const int w : {13, -13, 3, -3}) {
        Bitmap dst(13, 8, 0xFF000000u);
        DC dc(dst);
        const int x0 = w < 0 ? 12 : 0;
        dc.stretch_blt(x0, 0, w, 8, src, 0, 0, 5, 4);
        Bitmap keyed(13, 8, 0xFF000000u);
        DC kdc(keyed);
        if (w > 0)
            kdc.transparent_blt(0, 0, w, 8, src, 0, 0, 5, 4);
        for (int y = 0; y < 8; ++y) {
            for (int k = 0; k < std::abs(w); ++k) {
                const int x = w < 0 ? 12 - k : k;
                const Pixel want = src.pixel(k * 5 / std::abs(w), y * 4 / 8);
                ASSERT_EQ(dst.pixel(x, y), want) << "w " << w << " at " << x << "," << y;
                if (w > 0) {
                    ASSERT_EQ(keyed.pixel(x, y), want) << "keyed, w " << w << " at " << x;
                }
            }
        }
    }
}

}  // namespace
}  // namespace gdi
