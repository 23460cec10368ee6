#include "platform/gdi/region.h"

#include <gtest/gtest.h>

#include <array>
#include <random>

namespace gdi {
namespace {

// Counts the pixels of a region by testing every point of its bounds.
int area_by_points(const Region& r) {
    int n = 0;
    const Rect b = r.bounds();
    for (int y = b.top; y < b.bottom; ++y)
        for (int x = b.left; x < b.right; ++x)
            n += r.contains({x, y});
    return n;
}

int area_by_rects(const Region& r) {
    int n = 0;
    for (const Rect& rc : r.rects())
        n += rc.width() * rc.height();
    return n;
}

TEST(Region, EmptyAndSingleRectangles) {
    EXPECT_TRUE(Region().empty());
    EXPECT_TRUE(Region(Rect{5, 5, 2, 9}).empty());
    const Region r(Rect{1, 2, 4, 6});
    EXPECT_EQ(r.bounds(), (Rect{1, 2, 4, 6}));
    EXPECT_TRUE(r.contains({1, 2}));
    EXPECT_FALSE(r.contains({4, 2}));
    EXPECT_FALSE(r.contains({1, 6}));
}

TEST(Region, CombineOperations) {
    const Region a(Rect{0, 0, 4, 4});
    const Region b(Rect{2, 2, 6, 6});
    const Region both = a & b;
    EXPECT_EQ(both, Region(Rect{2, 2, 4, 4}));
    const Region either = a | b;
    EXPECT_EQ(area_by_rects(either), 16 + 16 - 4);
    EXPECT_EQ(either.bounds(), (Rect{0, 0, 6, 6}));
    EXPECT_TRUE(either.contains({5, 5}));
    EXPECT_FALSE(either.contains({5, 0}));
    const Region diff = a - b;
    EXPECT_EQ(area_by_rects(diff), 12);
    EXPECT_FALSE(diff.contains({3, 3}));
    EXPECT_TRUE(diff.contains({3, 1}));
    const Region x = a ^ b;
    EXPECT_EQ(area_by_rects(x), 24);
    EXPECT_FALSE(x.contains({2, 2}));
    EXPECT_EQ(Region::combine(a, b, RegionOp::Copy), a);
    EXPECT_TRUE((a - a).empty());
    EXPECT_TRUE((a & Region()).empty());
    EXPECT_EQ(a | Region(), a);
}

TEST(Region, BandsStayCanonicalSoEqualSetsCompareEqual) {
    // Two halves united give the same rectangle as the whole.
    const Region halves = Region(Rect{0, 0, 2, 4}) | Region(Rect{2, 0, 4, 4});
    EXPECT_EQ(halves, Region(Rect{0, 0, 4, 4}));
    EXPECT_EQ(halves.rects().size(), 1u);
    const Region stacked = Region(Rect{0, 0, 4, 2}) | Region(Rect{0, 2, 4, 4});
    EXPECT_EQ(stacked, Region(Rect{0, 0, 4, 4}));
    // Rectangles never overlap: the area by rectangles equals the area by points.
    const Rect rs[] = {{0, 0, 10, 10}, {5, 5, 15, 15}, {12, 0, 20, 3}, {3, 3, 4, 30}};
    const Region many = Region::from_rects(rs);
    EXPECT_EQ(area_by_rects(many), area_by_points(many));
    Region u;
    for (const Rect& r : rs)
        u |= Region(r);
    EXPECT_EQ(u, many);
    EXPECT_EQ(many.intersect({0, 0, 8, 8}), many & Region(Rect{0, 0, 8, 8}));
}

TEST(Region, OffsetMovesEverything) {
    Region r = Region(Rect{0, 0, 2, 2}) | Region(Rect{4, 4, 6, 6});
    r.offset(10, -3);
    EXPECT_TRUE(r.contains({10, -3}));
    EXPECT_TRUE(r.contains({15, 2}));
    EXPECT_FALSE(r.contains({0, 0}));
    EXPECT_EQ(r.bounds(), (Rect{10, -3, 16, 3}));
    EXPECT_TRUE(r.intersects({14, 1, 20, 20}));
    EXPECT_FALSE(r.intersects({12, -3, 14, 1}));
}

TEST(Region, FromMaskTakesPixelsThatAreNotTheKey) {
    // A plus-shaped picture on magenta.
    Bitmap b(3, 3, pixel_of(kMagenta));
    b.set_color(1, 0, 0);
    b.set_color(0, 1, 0);
    b.set_color(1, 1, 0);
    b.set_color(2, 1, 0);
    b.set_color(1, 2, 0);
    const Region r = Region::from_mask(b);
    EXPECT_EQ(area_by_rects(r), 5);
    EXPECT_TRUE(r.contains({1, 1}));
    EXPECT_FALSE(r.contains({0, 0}));
    EXPECT_EQ(r.rects().size(), 3u);
    // Placed elsewhere and from a part of the bitmap.
    const Region part = Region::from_mask(b, kMagenta, {1, 0, 3, 3}, {100, 50});
    EXPECT_TRUE(part.contains({100, 50}));
    EXPECT_TRUE(part.contains({101, 51}));
    EXPECT_FALSE(part.contains({101, 50}));
    EXPECT_EQ(area_by_rects(part), 4);
    EXPECT_TRUE(Region::from_mask(Bitmap(4, 4, pixel_of(kMagenta))).empty());
}

TEST(Region, EllipseAndRoundRectStayInsideTheirRectangle) {
    const Rect r{0, 0, 12, 12};
    const Region e = Region::ellipse(r);
    EXPECT_TRUE(e.contains({6, 6}));
    EXPECT_TRUE(e.contains({0, 6}));
    EXPECT_FALSE(e.contains({0, 0}));
    EXPECT_EQ(e.bounds(), r);
    const Region rr = Region::round_rect(r, 5, 5);
    EXPECT_FALSE(rr.contains({0, 0}));
    EXPECT_TRUE(rr.contains({2, 0}));
    EXPECT_TRUE(rr.contains({0, 6}));
    EXPECT_EQ(rr.bounds(), r);
    EXPECT_TRUE(Region::ellipse({5, 5, 5, 9}).empty());
}

// Random rectangles and operations checked against a plain pixel grid. The result must hold
// the same pixels as the grid, and be the canonical banded form: the same as the region read
// back from a bitmap of those pixels.
TEST(Region, RandomCombinationsMatchAPixelModel) {
    constexpr int N = 24;
    using Grid = std::array<std::array<bool, N>, N>;
    std::mt19937 rng(1234);
    auto random_rect = [&] {
        const int l = static_cast<int>(rng() % N), t = static_cast<int>(rng() % N);
        return Rect{l, t, l + 1 + static_cast<int>(rng() % (N - l)),
                    t + 1 + static_cast<int>(rng() % (N - t))};
    };
    for (int round = 0; round < 200; ++round) {
        Region region;
        Grid grid{};
        for (int step = 0; step < 8; ++step) {
            const Rect r = random_rect();
            const RegionOp op = static_cast<RegionOp>(1 + rng() % 4);
            region = Region::combine(region, Region(r), op);
            for (int y = 0; y < N; ++y)
                for (int x = 0; x < N; ++x) {
                    const bool in_r = r.contains({x, y});
                    bool& g = grid[y][x];
                    switch (op) {
                        case RegionOp::And:
                            g = g && in_r;
                            break;
                        case RegionOp::Or:
                            g = g || in_r;
                            break;
                        case RegionOp::Xor:
                            g = g != in_r;
                            break;
                        case RegionOp::Diff:
                            g = g && !in_r;
                            break;
                        case RegionOp::Copy:
                            break;
                    }
                }
            Bitmap picture(N, N, pixel_of(kMagenta));
            for (int y = 0; y < N; ++y)
                for (int x = 0; x < N; ++x) {
                    ASSERT_EQ(region.contains({x, y}), grid[y][x])
                        << "round " << round << " step " << step << " at " << x << "," << y;
                    if (grid[y][x])
                        picture.set_color(x, y, 0);
                }
            ASSERT_EQ(region, Region::from_mask(picture)) << "round " << round;
            ASSERT_EQ(area_by_rects(region), area_by_points(region));
        }
        // Many rectangles at once give what uniting them one by one gives.
        std::vector<Rect> rects;
        Region united;
        for (int k = 0; k < 6; ++k) {
            rects.push_back(random_rect());
            united |= Region(rects.back());
        }
        ASSERT_EQ(Region::from_rects(rects), united);
        ASSERT_EQ(region.intersect(rects[0]), region & Region(rects[0]));
    }
}

}  // namespace
}  // namespace gdi

namespace gdi {
namespace {

// A region cut into bands by a hole beside a column (a group box's visible region beside its
// child windows): a rectangle inside the column, across the bands, is one rectangle; one that
// also meets the right-hand part, or runs past a band without the column, keeps exactly the
// common pixels.
TEST(Region, IntersectingAColumnAcrossBandsGivesOneRectangle) {
    const Region r = Region::from_rects(std::vector<Rect>{
        {0, 0, 10, 30}, {20, 10, 30, 20}, {0, 40, 10, 50}, {3, 60, 10, 70}});
    const Region column = r.intersect({2, 5, 8, 25});
    EXPECT_EQ(column.rects().size(), 1u);
    EXPECT_EQ(column.bounds(), (Rect{2, 5, 8, 25}));
    EXPECT_EQ(r.intersect({-5, -5, 8, 12}).rects().size(), 1u);
    EXPECT_TRUE(r.intersect({12, 0, 18, 70}).empty());
    for (const Rect& clip : {Rect{2, 5, 25, 25}, Rect{2, 5, 8, 45}, Rect{0, 25, 10, 65},
                             Rect{1, 55, 9, 80}, Rect{2, 5, 8, 25}}) {
        const Region got = r.intersect(clip);
        for (int y = -2; y < 82; ++y) {
            for (int x = -2; x < 32; ++x) {
                const bool want = r.contains({x, y}) && clip.contains({x, y});
                ASSERT_EQ(got.contains({x, y}), want) << x << "," << y;
            }
        }
        EXPECT_EQ(got, r & Region::from_rects(std::vector<Rect>{clip, {100, 100, 101, 101}}) &
                           Region(clip));
    }
}

}  // namespace
}  // namespace gdi
