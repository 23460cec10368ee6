#include "skin/skin_draw.h"

#include <gtest/gtest.h>

#include "tests/skin/skin_test_package.h"

namespace skin {
namespace {

using gdi::rgb;

// A state image whose every pixel has its own colour: red = x, green = y.
gdi::Bitmap coordinates(int w, int h, int blue = 0) {
    gdi::Bitmap b(w, h);
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            b.set_color(
                x, y,
                rgb(static_cast<uint8_t>(x), static_cast<uint8_t>(y), static_cast<uint8_t>(blue)));
        }
    }
    return b;
}

// The source pixel (x, y) a result pixel came from.
std::pair<int, int> source_of(const gdi::Bitmap& b, int x, int y) {
    const gdi::Color c = b.color_at(x, y);
    return {gdi::red_of(c), gdi::green_of(c)};
}

TEST(GetHMap, CornersCopyEdgesAndCentreStretch) {
    // 6 x 6 state image, margins 2; drawn at 10 x 8.
    const gdi::Bitmap image = coordinates(6, 6);
    const gdi::Bitmap m = GetHMap(10, 8, image, false, false, 1, 1, {2, 2, 2, 2});
    ASSERT_EQ(m.size(), (gdi::Size{10, 8}));
    // Corners are copied pixel for pixel.
    EXPECT_EQ(source_of(m, 0, 0), std::make_pair(0, 0));
    EXPECT_EQ(source_of(m, 1, 1), std::make_pair(1, 1));
    EXPECT_EQ(source_of(m, 8, 0), std::make_pair(4, 0));
    EXPECT_EQ(source_of(m, 9, 7), std::make_pair(5, 5));
    EXPECT_EQ(source_of(m, 0, 6), std::make_pair(0, 4));
    // Top edge: source columns 2..3 stretched over 2..7, rows kept.
    for (int x = 2; x < 8; ++x) {
        const auto [sx, sy] = source_of(m, x, 1);
        EXPECT_TRUE(sx == 2 || sx == 3) << x;
        EXPECT_EQ(sy, 1);
    }
    EXPECT_EQ(source_of(m, 2, 0).first, 2);
    EXPECT_EQ(source_of(m, 7, 0).first, 3);
    // Left edge: rows 2..3 stretched over 2..5.
    EXPECT_EQ(source_of(m, 0, 2), std::make_pair(0, 2));
    EXPECT_EQ(source_of(m, 0, 5), std::make_pair(0, 3));
    // Centre: from the source centre only.
    for (int y = 2; y < 6; ++y) {
        for (int x = 2; x < 8; ++x) {
            const auto [sx, sy] = source_of(m, x, y);
            EXPECT_TRUE(sx >= 2 && sx <= 3 && sy >= 2 && sy <= 3) << x << "," << y;
        }
    }
}

TEST(GetHMap, PicksTheStateImageSideBySideOrStacked) {
    const std::vector<gdi::Color> colors = {rgb(10, 0, 0), rgb(20, 0, 0), rgb(30, 0, 0)};
    const gdi::Bitmap across = test::solid_states(4, 3, colors);
    const gdi::Bitmap down = test::solid_states(4, 3, colors, true);
    for (int k = 1; k <= 3; ++k) {
        const gdi::Bitmap a = GetHMap(7, 5, across, false, false, 3, k, {1, 1, 1, 1});
        const gdi::Bitmap d = GetHMap(7, 5, down, true, false, 3, k, {1, 1, 1, 1});
        for (int y = 0; y < 5; ++y) {
            for (int x = 0; x < 7; ++x) {
                ASSERT_EQ(a.color_at(x, y), colors[static_cast<size_t>(k - 1)]);
                ASSERT_EQ(d.color_at(x, y), colors[static_cast<size_t>(k - 1)]);
            }
        }
    }
    // Odd counts from a description neither divide by zero nor read beside the image.
    EXPECT_EQ(GetHMap(4, 4, across, false, false, 0, 1, {}).color_at(0, 0), colors[0]);
    EXPECT_EQ(GetHMap(4, 4, across, false, false, 3, 9, {}).color_at(0, 0), colors[2]);
    // A count below 1 takes the whole strip as one state.
    EXPECT_EQ(GetHMap(4, 4, across, false, false, -2, -1, {}).color_at(0, 0), colors[0]);
    EXPECT_EQ(GetHMap(4, 4, across, false, false, -2, -1, {}).color_at(3, 3), colors[2]);
    EXPECT_TRUE(GetHMap(4, 4, across, false, false, 100, 1, {}).empty());  // width / 100 = 0
    EXPECT_TRUE(GetHMap(0, 4, across, false, false, 3, 1, {}).empty());
}

TEST(GetHMap, NarrowRectangleDropsTheMarginsOfThatDirectionOnly) {
    const gdi::Bitmap image = coordinates(10, 10);
    // 6 wide < 4 + 4: the whole state image is stretched across; the 3-pixel top and bottom
    // margins still hold.
    const gdi::Bitmap m = GetHMap(6, 12, image, false, false, 1, 1, {4, 3, 4, 3});
    EXPECT_EQ(source_of(m, 0, 0), std::make_pair(0, 0));
    EXPECT_EQ(source_of(m, 5, 0).first, 8);  // 10 columns onto 6: the last keeps column 8
    EXPECT_EQ(source_of(m, 0, 2).second, 2);
    EXPECT_EQ(source_of(m, 0, 11).second, 9);
    EXPECT_EQ(source_of(m, 0, 9).second, 7);
    const auto [cx, cy] = source_of(m, 3, 6);
    EXPECT_GE(cy, 3);
    EXPECT_LE(cy, 6);
    EXPECT_EQ(cx, source_of(m, 3, 0).first);  // the same columns at every height
    // And a low rectangle drops top and bottom but keeps left and right.
    const gdi::Bitmap low = GetHMap(12, 4, image, false, false, 1, 1, {4, 3, 4, 3});
    EXPECT_EQ(source_of(low, 3, 0), std::make_pair(3, 0));
    EXPECT_EQ(source_of(low, 11, 3).first, 9);
    EXPECT_EQ(source_of(low, 0, 3).second, 7);
}

TEST(GetHMap, TiledCentreRepeatsFromItsCornerAndIsCoveredAtTheEdges) {
    // 5 x 5 state, margins 1 give a 3 x 3 centre; drawn at 9 x 9 the centre area 7 x 7 gets
    // tiles at 1, 4, 7; the third tile runs into the right and bottom margins, which are
    // drawn after it.
    const gdi::Bitmap image = coordinates(5, 5);
    const gdi::Bitmap m = GetHMap(9, 9, image, false, true, 1, 1, {1, 1, 1, 1});
    EXPECT_EQ(source_of(m, 1, 1), std::make_pair(1, 1));
    EXPECT_EQ(source_of(m, 3, 3), std::make_pair(3, 3));
    EXPECT_EQ(source_of(m, 4, 1), std::make_pair(1, 1));
    EXPECT_EQ(source_of(m, 6, 5), std::make_pair(3, 2));
    EXPECT_EQ(source_of(m, 7, 7), std::make_pair(1, 1));
    // Right edge and bottom edge cover the overrun of the last tiles.
    EXPECT_EQ(source_of(m, 8, 4).first, 4);
    EXPECT_EQ(source_of(m, 4, 8).second, 4);
    EXPECT_EQ(source_of(m, 8, 8), std::make_pair(4, 4));
}

TEST(DrawRect2, MagentaIsLeftOutOnlyWhenTransparent) {
    gdi::Bitmap image(3, 3, gdi::pixel_of(gdi::kMagenta));
    image.set_color(1, 1, rgb(0, 0, 200));
    const gdi::Color back = rgb(1, 2, 3);
    gdi::Bitmap target(5, 5, gdi::pixel_of(back));
    gdi::DC dc(target);
    DrawRect2(dc, {1, 1, 4, 4}, image, false, false, true, 1, 1, {});
    EXPECT_EQ(target.color_at(1, 1), back);
    EXPECT_EQ(target.color_at(2, 2), rgb(0, 0, 200));
    EXPECT_EQ(target.color_at(0, 0), back);
    DrawRect2(dc, {1, 1, 4, 4}, image, false, false, false, 1, 1, {});
    EXPECT_EQ(target.color_at(1, 1), gdi::kMagenta);
    EXPECT_EQ(target.color_at(4, 4), back);
}

TEST(DrawRect2, DrawsThePictureGetHMapBuildsAndNothingBesideIt) {
    // Stretched and tiled centres, with and without magenta left out, unclipped and under a
    // clip, state images side by side, margins that fit and margins that swallow the image
    // (those leave black in the picture). Each must give, pixel for pixel, the picture of
    // GetHMap laid into the destination, and leave every pixel outside the destination alone.
    gdi::Bitmap image = coordinates(14, 7, 40);  // two 7 x 7 states
    for (int x = 0; x < 14; x += 3)
        image.set_color(x, (x / 2) % 7, gdi::kMagenta);
    const gdi::Color back = rgb(250, 1, 2);
    struct Case {
        gdi::Rect dest;
        gdi::Rect margins;
        bool tile, transparent;
        int state;
        gdi::Rect clip;
    };
    const Case cases[] = {
        {{3, 2, 27, 21}, {2, 2, 2, 2}, false, false, 1, {0, 0, 40, 30}},
        {{3, 2, 27, 21}, {2, 1, 3, 2}, true, false, 2, {0, 0, 40, 30}},
        {{1, 4, 38, 29}, {1, 2, 2, 1}, true, true, 1, {0, 0, 40, 30}},
        {{1, 4, 38, 29}, {2, 2, 2, 2}, false, true, 2, {6, 8, 20, 30}},
        {{5, 5, 17, 13}, {2, 3, 1, 2}, true, false, 1, {9, 0, 40, 11}},
        {{2, 2, 30, 20}, {4, 3, 3, 4}, false, false, 1, {0, 0, 40, 30}},  // 4 + 3 >= 7
        {{2, 2, 30, 20}, {0, 7, 0, 0}, true, true, 2, {0, 0, 40, 30}},    // 7 >= 7
    };
    for (const Case& c : cases) {
        gdi::Bitmap target(40, 30, gdi::pixel_of(back));
        {
            gdi::DC dc(target);
            dc.intersect_clip_rect(c.clip);
            DrawRect2(dc, c.dest, image, false, c.tile, c.transparent, 2, c.state, c.margins);
        }
        const gdi::Bitmap map =
            GetHMap(c.dest.width(), c.dest.height(), image, false, c.tile, 2, c.state, c.margins);
        gdi::Bitmap expected(40, 30, gdi::pixel_of(back));
        {
            gdi::DC dc(expected);
            dc.intersect_clip_rect(c.clip);
            if (c.transparent)
                dc.transparent_blt(c.dest.left, c.dest.top, map.width(), map.height(), map, 0, 0,
                                   map.width(), map.height(), gdi::kMagenta);
            else
                dc.bit_blt(c.dest.left, c.dest.top, map.width(), map.height(), map, 0, 0);
        }
        for (int y = 0; y < 30; ++y) {
            for (int x = 0; x < 40; ++x) {
                ASSERT_EQ(target.color_at(x, y), expected.color_at(x, y))
                    << "at " << x << "," << y << " drawing into " << c.dest.left << ","
                    << c.dest.top << " tile " << c.tile << " transparent " << c.transparent;
            }
        }
    }
}

TEST(DrawRect2, ReversedRectanglesDrawNothing) {
    const gdi::Bitmap image(2, 2, gdi::pixel_of(rgb(9, 9, 9)));
    gdi::Bitmap target(6, 6, gdi::pixel_of(rgb(0, 0, 0)));
    gdi::DC dc(target);
    DrawRect2(dc, {4, 1, 2, 5}, image, false, false, false, 1, 1, {});
    DrawRect2(dc, {1, 4, 5, 2}, image, false, false, false, 1, 1, {});
    DrawRect1(dc, {4, 1, 2, 5}, image, 1, 1, false);
    DrawRect3(dc, {4, 4, 2, 2}, image, 1, 1, false);
    for (int y = 0; y < 6; ++y) {
        for (int x = 0; x < 6; ++x) {
            ASSERT_EQ(target.color_at(x, y), rgb(0, 0, 0));
        }
    }
}

TEST(DrawRect, PlainVariants) {
    const std::vector<gdi::Color> colors = {rgb(50, 0, 0), rgb(0, 60, 0)};
    gdi::Bitmap image = test::solid_states(2, 2, colors);
    image.set_color(2, 0, gdi::kMagenta);  // one transparent pixel in state 2
    gdi::Bitmap target(8, 8, gdi::pixel_of(rgb(0, 0, 0)));
    gdi::DC dc(target);
    DrawRect1(dc, {0, 0, 4, 4}, image, 2, 2, false);  // stretched to 4 x 4
    EXPECT_EQ(target.color_at(0, 0), gdi::kMagenta);
    EXPECT_EQ(target.color_at(3, 3), colors[1]);
    DrawRect3(dc, {4, 4, 8, 8}, image, 2, 1, false);  // 2 x 2 centred in 4 x 4
    EXPECT_EQ(target.color_at(4, 4), rgb(0, 0, 0));
    EXPECT_EQ(target.color_at(5, 5), colors[0]);
    EXPECT_EQ(target.color_at(6, 6), colors[0]);
    EXPECT_EQ(target.color_at(7, 7), rgb(0, 0, 0));
    DrawTranmap(dc, 0, 4, image);
    EXPECT_EQ(target.color_at(0, 4), colors[0]);
    EXPECT_EQ(target.color_at(2, 4), rgb(0, 0, 0));  // magenta left out
    EXPECT_EQ(target.color_at(3, 4), colors[1]);
}

// DrawRect2 draws the nine parts straight onto the destination; every pixel must be the one the
// whole picture from GetHMap puts there. State images across and down, margins that fit,
// that are dropped in one direction and that leave no centre, tiled and stretched centres,
// magenta in the image with and without transparency, through a clip and a moved origin.
TEST(DrawRect2, DrawsThePixelsOfTheWholePicture) {
    gdi::Bitmap across = coordinates(24, 7);
    gdi::Bitmap down = coordinates(8, 21, 40);
    for (int i = 0; i < 24; i += 5) {
        across.set_color(i, i % 7, gdi::kMagenta);
        down.set_color(i % 8, i, gdi::kMagenta);
    }
    const gdi::Rect margins[] = {{},           {1, 1, 1, 1}, {2, 1, 3, 2}, {0, 3, 0, 2},
                                 {4, 0, 1, 0}, {3, 3, 3, 3}, {-2, 1, 9, 1}};
    const gdi::Rect dests[] = {{3, 2, 4, 3},  {0, 0, 30, 20}, {5, 4, 14, 9},
                               {2, 6, 9, 40}, {1, 1, 40, 3},  {-6, -3, 17, 12}};
    int compared = 0;
    for (const bool vertical : {false, true}) {
        for (const gdi::Rect& m : margins) {
            for (const gdi::Rect& d : dests) {
                for (int flags = 0; flags < 4; ++flags) {
                    const bool tile = flags & 1;
                    const bool transparent = flags & 2;
                    const gdi::Bitmap& image = vertical ? down : across;
                    const int state = 1 + compared % 3;
                    gdi::Bitmap direct(36, 30, gdi::pixel_of(rgb(7, 8, 9)));
                    gdi::Bitmap whole = direct;
                    gdi::DC a(direct);
                    gdi::DC b(whole);
                    for (gdi::DC* dc : {&a, &b}) {
                        dc->set_viewport_origin({2, 1});
                        dc->intersect_clip_rect({1, 0, 31, 25});
                    }
                    DrawRect2(a, d, image, vertical, tile, transparent, 3, state, m);
                    const gdi::Bitmap map =
                        GetHMap(d.width(), d.height(), image, vertical, tile, 3, state, m);
                    if (transparent)
                        b.transparent_blt(d.left, d.top, map.width(), map.height(), map, 0, 0,
                                          map.width(), map.height(), gdi::kMagenta);
                    else
                        b.bit_blt(d.left, d.top, map.width(), map.height(), map, 0, 0);
                    ASSERT_EQ(direct, whole)
                        << "vertical " << vertical << " margins " << m.left << "," << m.top << ","
                        << m.right << "," << m.bottom << " dest " << d.left << "," << d.top << ","
                        << d.right << "," << d.bottom << " flags " << flags;
                    ++compared;
                }
            }
        }
    }
    EXPECT_EQ(compared, 2 * 7 * 6 * 4);
}

// A button's picture over a plain background: drawing the element with that colour in its
// magenta is the same as filling and then drawing it, transparent or not, for every state and
// through a clip; where the pieces cannot cover the rectangle it refuses and draws nothing.
TEST(DrawRect2Over, SameAsAFillAndTheElementOverIt) {
    gdi::Bitmap image = coordinates(30, 9, 70);  // three 10 x 9 states
    for (int i = 0; i < 30; i += 4)
        image.set_color(i, i % 9, gdi::kMagenta);
    const gdi::Color under = rgb(90, 91, 92);
    const gdi::Rect margins{3, 2, 3, 4};
    for (const bool transparent : {false, true}) {
        for (int state = 1; state <= 3; ++state) {
            gdi::Bitmap fused(40, 30, gdi::pixel_of(rgb(1, 1, 1)));
            gdi::Bitmap plain = fused;
            gdi::DC a(fused);
            gdi::DC b(plain);
            for (gdi::DC* dc : {&a, &b})
                dc->intersect_clip_rect({0, 3, 33, 30});
            const gdi::Rect dest{2, 1, 37, 27};
            ASSERT_TRUE(
                DrawRect2Over(a, dest, image, false, false, transparent, 3, state, margins, under));
            b.fill_rect(dest, under);
            DrawRect2(b, dest, image, false, false, transparent, 3, state, margins);
            ASSERT_EQ(fused, plain) << "transparent " << transparent << " state " << state;
        }
    }
    gdi::Bitmap target(20, 20, gdi::pixel_of(rgb(1, 1, 1)));
    const gdi::Bitmap before = target;
    gdi::DC dc(target);
    EXPECT_FALSE(
        DrawRect2Over(dc, {0, 0, 20, 20}, image, false, false, true, 3, 1, {5, 2, 5, 2}, under))
        << "margins that leave no centre";
    EXPECT_FALSE(
        DrawRect2Over(dc, {0, 0, 20, 20}, gdi::Bitmap{}, false, false, true, 3, 1, margins, under))
        << "no image";
    EXPECT_EQ(target, before);
}

}  // namespace
}  // namespace skin
