#include <gtest/gtest.h>

#include <vector>

#include <random>

#include "platform/gdi/dc.h"

namespace gdi {
namespace {

const Color kRed = rgb(255, 0, 0);

int count_color(const Bitmap& b, Color c) {
    int n = 0;
    for (int y = 0; y < b.height(); ++y)
        for (int x = 0; x < b.width(); ++x)
            n += b.color_at(x, y) == c;
    return n;
}

TEST(DcClip, ViewportOriginMovesDrawing) {
    Bitmap b(10, 10, pixel_of(0));
    DC dc(b);
    dc.set_viewport_origin({3, 4});
    dc.fill_rect({0, 0, 2, 2}, kRed);
    EXPECT_EQ(b.color_at(3, 4), kRed);
    EXPECT_EQ(b.color_at(4, 5), kRed);
    EXPECT_EQ(b.color_at(2, 4), 0u);
    EXPECT_EQ(count_color(b, kRed), 4);
    const Point old = dc.offset_viewport_origin(-3, -4);
    EXPECT_EQ(old, (Point{3, 4}));
    EXPECT_EQ(dc.viewport_origin(), (Point{0, 0}));
}

TEST(DcClip, IntersectAndExcludeClipInLogicalUnits) {
    Bitmap b(10, 10, pixel_of(0));
    DC dc(b);
    dc.set_viewport_origin({1, 1});
    dc.intersect_clip_rect({0, 0, 4, 4});  // device 1..5
    dc.exclude_clip_rect({1, 1, 2, 2});    // device (2, 2)
    dc.fill_rect({-10, -10, 20, 20}, kRed);
    EXPECT_EQ(count_color(b, kRed), 15);
    EXPECT_EQ(b.color_at(2, 2), 0u);
    EXPECT_EQ(b.color_at(1, 1), kRed);
    EXPECT_EQ(b.color_at(5, 5), 0u);
    EXPECT_EQ(dc.clip_box(), (Rect{0, 0, 4, 4}));
    EXPECT_FALSE(dc.rect_visible({5, 5, 8, 8}));
    EXPECT_EQ(dc.get_pixel(1, 1), 0xFFFFFFFFu);  // excluded
    dc.select_clip_region(nullptr);
    dc.fill_rect({-10, -10, 20, 20}, kRed);
    EXPECT_EQ(count_color(b, kRed), 100);
}

TEST(DcClip, ClipRegionIsInDeviceUnitsAndTheDcOriginPlacesTheDevice) {
    Bitmap b(20, 20, pixel_of(0));
    DC dc(b);
    // A window at (10, 10) in the composed bitmap, visible only in its 5x5 top-left corner.
    dc.set_dc_origin({10, 10});
    const Region visible(Rect{0, 0, 5, 5});
    dc.set_visible_region(&visible);
    dc.fill_rect({0, 0, 100, 100}, kRed);
    EXPECT_EQ(count_color(b, kRed), 25);
    EXPECT_EQ(b.color_at(10, 10), kRed);
    EXPECT_EQ(b.color_at(15, 15), 0u);
    // The painter's clip region narrows it further; removing the clip keeps the visible part.
    b.fill(pixel_of(0));
    const Region clip(Rect{2, 2, 50, 50});
    dc.set_viewport_origin({-2, -2});  // the viewport does not move a clip region
    dc.select_clip_region(&clip);
    dc.fill_rect({0, 0, 100, 100}, kRed);
    EXPECT_EQ(count_color(b, kRed), 9);
    EXPECT_EQ(b.color_at(12, 12), kRed);
    dc.select_clip_region(nullptr);
    dc.fill_rect({0, 0, 100, 100}, kRed);
    EXPECT_EQ(count_color(b, kRed), 25);
}

TEST(DcClip, BlitsHonourTheClipRegion) {
    Bitmap src(4, 4, pixel_of(kRed));
    Bitmap b(4, 4, pixel_of(0));
    DC dc(b);
    const Region shape = Region(Rect{0, 0, 1, 4}) | Region(Rect{3, 0, 4, 4});
    dc.select_clip_region(&shape);
    dc.bit_blt(0, 0, 4, 4, src, 0, 0);
    EXPECT_EQ(count_color(b, kRed), 8);
    b.fill(pixel_of(0));
    dc.stretch_blt(0, 0, 4, 4, src, 0, 0, 2, 2);
    EXPECT_EQ(count_color(b, kRed), 8);
    b.fill(pixel_of(0));
    dc.transparent_blt(0, 0, 4, 4, src, 0, 0, 4, 4);
    EXPECT_EQ(count_color(b, kRed), 8);
    EXPECT_EQ(b.color_at(1, 1), 0u);
}

TEST(DcClip, SaveAndRestoreBringBackOriginsClipAndAttributes) {
    Bitmap b(10, 10, pixel_of(0));
    DC dc(b);
    const int level = dc.save();
    dc.set_viewport_origin({5, 5});
    dc.intersect_clip_rect({0, 0, 1, 1});
    dc.set_text_color(kRed);
    dc.save();
    dc.set_bk_mode(BkMode::Transparent);
    EXPECT_TRUE(dc.restore());
    EXPECT_EQ(dc.bk_mode(), BkMode::Opaque);
    EXPECT_EQ(dc.text_color(), kRed);
    EXPECT_TRUE(dc.restore(level));
    EXPECT_EQ(dc.viewport_origin(), (Point{0, 0}));
    EXPECT_EQ(dc.clip_region(), nullptr);
    EXPECT_EQ(dc.text_color(), 0u);
    EXPECT_FALSE(dc.restore());
    dc.fill_rect({0, 0, 10, 10}, kRed);
    EXPECT_EQ(count_color(b, kRed), 100);
}

TEST(DcClip, ADcFollowsItsBitmapWhenTheBitmapIsResized) {
    Bitmap b(4, 4, pixel_of(0));
    DC dc(b);
    b.resize(2, 2, pixel_of(0));
    dc.fill_rect({0, 0, 100, 100}, kRed);
    dc.bit_blt(0, 0, 4, 4, Bitmap(4, 4, pixel_of(kRed)), 0, 0);
    dc.draw_focus_rect({0, 0, 4, 4});
    EXPECT_EQ(count_color(b, kRed), 3);
    b.resize(8, 8, pixel_of(0));
    dc.fill_rect({0, 0, 100, 100}, kRed);
    EXPECT_EQ(count_color(b, kRed), 64);
    b.resize(0, 0);
    dc.fill_rect({0, 0, 100, 100}, kRed);
    EXPECT_EQ(dc.get_pixel(0, 0), 0xFFFFFFFFu);
}

// A clip of many bands (a window's area with hundreds of controls taken out looks like this):
// fills, frames, edges and blits reach exactly the clipped pixels, whichever bands the shape
// spans, and point reads and writes see the clip too.
TEST(DcClip, DrawingThroughAClipOfManyBandsTouchesExactlyTheClippedPixels) {
    std::mt19937 rng(77);
    Region clip(Rect{0, 0, 60, 60});
    for (int i = 0; i < 40; ++i) {
        const int x = static_cast<int>(rng() % 56), y = static_cast<int>(rng() % 56);
        clip -= Region(
            Rect{x, y, x + 1 + static_cast<int>(rng() % 6), y + 1 + static_cast<int>(rng() % 6)});
    }
    ASSERT_GT(clip.rects().size(), 30u);
    Bitmap source(60, 60, pixel_of(kRed));
    for (int round = 0; round < 60; ++round) {
        const int l = static_cast<int>(rng() % 64) - 2, t = static_cast<int>(rng() % 64) - 2;
        const Rect r{l, t, l + static_cast<int>(rng() % 30), t + static_cast<int>(rng() % 30)};
        Bitmap b(60, 60, pixel_of(0));
        DC dc(b);
        dc.select_clip_region(&clip);
        Region shape(r);
        switch (round % 4) {
            case 0:
                dc.fill_rect(r, kRed);
                break;
            case 1:
                dc.frame_rect(r, kRed);
                shape = r.width() > 2 && r.height() > 2 ? Region(r) - Region(r.inflate(-1, -1))
                                                        : Region(r);
                break;
            case 2:
                dc.bit_blt(r.left, r.top, r.width(), r.height(), source, r.left, r.top,
                           Rop::SrcCopy);
                break;
            default:
                dc.set_pixel(l, t, kRed);
                shape = Region(Rect{l, t, l + 1, t + 1});
                EXPECT_EQ(dc.get_pixel(l, t) == kRed, clip.contains({l, t}));
                break;
        }
        for (int y = 0; y < 60; ++y)
            for (int x = 0; x < 60; ++x)
                ASSERT_EQ(b.color_at(x, y) == kRed, clip.contains({x, y}) && shape.contains({x, y}))
                    << "round " << round << " at " << x << "," << y;
    }
}

// A windowless child painted through its parent's DC: the parent's visible region has holes
// for its windows, the child's rectangle is intersected with it (at a moved DC origin and
// viewport), and a fill must reach exactly the pixels of both, the same as a clip of several
// rectangles gives.
TEST(DcClip, AOneRectangleClipCutsAVisibleRegionOfManyBands) {
    std::vector<Rect> holes;
    for (int i = 0; i < 12; ++i)
        holes.push_back(Rect::from_xywh(3 + i * 5, 2 + (i % 4) * 6, 3, 4));
    const Region visible = Region(Rect{0, 0, 64, 30}) - Region::from_rects(holes);
    for (const Rect child : {Rect{5, 3, 29, 17}, Rect{-4, -2, 70, 40}, Rect{40, 10, 41, 11}}) {
        Bitmap drawn(70, 40, pixel_of(0));
        DC dc(drawn);
        dc.set_dc_origin({2, 3});
        dc.set_visible_region(&visible);
        dc.set_viewport_origin({1, 1});
        const int saved = dc.save();
        dc.intersect_clip_rect(child);
        dc.fill_rect({-10, -10, 80, 80}, kRed);
        dc.restore(saved);
        dc.fill_rect({60, 0, 61, 1}, rgb(0, 0, 255));  // the whole visible region again
        Bitmap expected(70, 40, pixel_of(0));
        DC ref(expected);
        const Region where = (visible & Region(child.offset(1, 1))).offset_by(2, 3);
        ref.fill_region(where, kRed);
        ref.fill_region(visible.offset_by(2, 3) & Region(Rect{63, 4, 64, 5}), rgb(0, 0, 255));
        EXPECT_EQ(drawn, expected) << child.left << "," << child.top;
    }
}

}  // namespace
}  // namespace gdi
