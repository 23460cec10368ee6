#include <cmath>

#include <gtest/gtest.h>

#include "platform/gdi/dc.h"
#include "platform/gdi/shape_rows.h"

namespace gdi {
namespace {

const Color kRed = rgb(255, 0, 0);
const Color kBlue = rgb(0, 0, 255);

int count_color(const Bitmap& b, Color c) {
    int n = 0;
    for (int y = 0; y < b.height(); ++y)
        for (int x = 0; x < b.width(); ++x)
            n += b.color_at(x, y) == c;
    return n;
}

TEST(Shapes, FrameRectAndLinesLeaveTheEndPointOut) {
    Bitmap b(6, 6, pixel_of(0));
    DC dc(b);
    dc.frame_rect({1, 1, 5, 5}, kRed);
    EXPECT_EQ(count_color(b, kRed), 12);
    EXPECT_EQ(b.color_at(2, 2), 0u);
    b.fill(pixel_of(0));
    dc.select_pen({PenStyle::Solid, 1, kBlue});
    dc.move_to(0, 0);
    dc.line_to(4, 0);
    EXPECT_EQ(count_color(b, kBlue), 4);
    EXPECT_EQ(b.color_at(4, 0), 0u);
    dc.line_to(4, 4);
    EXPECT_EQ(b.color_at(4, 0), kBlue);
    EXPECT_EQ(b.color_at(4, 4), 0u);
    EXPECT_EQ(dc.current_position(), (Point{4, 4}));
    dc.line(0, 5, 5, 0);  // a diagonal: one pixel per column
    EXPECT_EQ(b.color_at(0, 5), kBlue);
    EXPECT_EQ(b.color_at(2, 3), kBlue);
}

TEST(Shapes, RectangleOutlinesWithThePenAndFillsWithTheBrush) {
    Bitmap b(5, 5, pixel_of(0));
    DC dc(b);
    dc.select_pen({PenStyle::Solid, 1, kRed});
    dc.select_brush({BrushStyle::Solid, kBlue});
    dc.rectangle({0, 0, 5, 5});
    EXPECT_EQ(count_color(b, kRed), 16);
    EXPECT_EQ(count_color(b, kBlue), 9);
    b.fill(pixel_of(0));
    dc.select_brush({BrushStyle::Null, 0});
    dc.rectangle({0, 0, 5, 5});
    EXPECT_EQ(count_color(b, kBlue), 0);
    EXPECT_EQ(b.color_at(2, 2), 0u);
}

TEST(Shapes, EllipseIsAFilledCircleWithAnOutline) {
    Bitmap b(20, 20, pixel_of(0));
    DC dc(b);
    dc.select_pen({PenStyle::Solid, 1, kRed});
    dc.select_brush({BrushStyle::Solid, kBlue});
    dc.ellipse({2, 2, 18, 18});
    EXPECT_EQ(b.color_at(10, 10), kBlue);
    EXPECT_EQ(b.color_at(2, 10), kRed);
    EXPECT_EQ(b.color_at(10, 17), kRed);
    EXPECT_EQ(b.color_at(2, 2), 0u);
    EXPECT_EQ(b.color_at(18, 10), 0u);
    // Symmetric: as many pixels left of the centre as right of it.
    int left = 0, right = 0;
    for (int y = 0; y < 20; ++y)
        for (int x = 0; x < 20; ++x) {
            if (b.color_at(x, y) == 0)
                continue;
            (x < 10 ? left : right)++;
        }
    EXPECT_EQ(left, right);
    const Bitmap before = b;
    dc.ellipse({30, 30, 10, 10});
    dc.round_rect({5, 5, 5, 20}, 5, 5);
    EXPECT_EQ(b, before);
}

TEST(Shapes, RoundRectCutsTheCorners) {
    Bitmap b(20, 10, pixel_of(0));
    DC dc(b);
    dc.select_pen({PenStyle::Solid, 1, kRed});
    dc.select_brush({BrushStyle::Null, 0});
    dc.round_rect({0, 0, 20, 10}, 5, 5);
    EXPECT_EQ(b.color_at(0, 0), 0u);
    EXPECT_EQ(b.color_at(10, 0), kRed);
    EXPECT_EQ(b.color_at(0, 5), kRed);
    EXPECT_EQ(b.color_at(19, 5), kRed);
    EXPECT_EQ(b.color_at(10, 9), kRed);
    EXPECT_EQ(b.color_at(10, 5), 0u);
}

TEST(Shapes, SunkenAndRaisedEdgesUseTheClassicColours) {
    Bitmap b(6, 6, pixel_of(0));
    DC dc(b);
    const EdgeColors c;
    Rect r{0, 0, 6, 6};
    ASSERT_TRUE(dc.draw_edge(r, EDGE_SUNKEN, BF_RECT | BF_ADJUST));
    EXPECT_EQ(r, (Rect{2, 2, 4, 4}));
    EXPECT_EQ(b.color_at(0, 0), c.shadow);
    EXPECT_EQ(b.color_at(5, 0), c.highlight);  // the right column is bottom-right colour
    EXPECT_EQ(b.color_at(0, 5), c.highlight);
    EXPECT_EQ(b.color_at(1, 1), c.dark_shadow);
    EXPECT_EQ(b.color_at(4, 4), c.light);
    EXPECT_EQ(b.color_at(2, 2), 0u);
    Rect r2{0, 0, 6, 6};
    dc.draw_edge(r2, EDGE_RAISED, BF_RECT | BF_MIDDLE);
    EXPECT_EQ(r2, (Rect{0, 0, 6, 6}));
    EXPECT_EQ(b.color_at(0, 0), c.light);
    EXPECT_EQ(b.color_at(5, 5), c.dark_shadow);
    EXPECT_EQ(b.color_at(1, 1), c.highlight);
    EXPECT_EQ(b.color_at(4, 4), c.shadow);
    EXPECT_EQ(b.color_at(2, 2), c.face);
    // Only the bottom side.
    b.fill(pixel_of(0));
    Rect r3{0, 0, 6, 6};
    dc.draw_edge(r3, BDR_SUNKENOUTER, BF_BOTTOM);
    EXPECT_EQ(count_color(b, c.highlight), 6);
    Rect bad{0, 0, 6, 6};
    EXPECT_FALSE(dc.draw_edge(bad, BDR_RAISEDOUTER | BDR_SUNKENOUTER, BF_RECT));
}

TEST(Shapes, FocusRectIsDottedAndDrawingItTwiceRemovesIt) {
    Bitmap b(8, 6, pixel_of(rgb(255, 255, 255)));
    const Bitmap before = b;
    DC dc(b);
    dc.draw_focus_rect({0, 0, 8, 6});
    EXPECT_EQ(b.color_at(0, 0), 0u);
    EXPECT_EQ(b.color_at(1, 0), rgb(255, 255, 255));
    EXPECT_EQ(b.color_at(2, 0), 0u);
    EXPECT_EQ(b.color_at(3, 3), rgb(255, 255, 255));
    const int dots = count_color(b, 0);
    EXPECT_GT(dots, 8);
    EXPECT_LT(dots, 20);
    dc.draw_focus_rect({0, 0, 8, 6});
    EXPECT_EQ(b, before);
}

TEST(Shapes, FarAwayAndHugeRectanglesNeverWriteOutside) {
    Bitmap b(8, 8, pixel_of(0));
    const Bitmap before = b;
    DC dc(b);
    const int big = 2147483647;
    const int small = -2147483647 - 1;
    dc.select_pen({PenStyle::Solid, big, kRed});
    dc.select_brush({BrushStyle::Solid, kBlue});
    const Rect far_away[] = {{big - 5, big - 5, big, big},
                             {small, small, small + 5, small + 5},
                             {small, 100, big, 200},
                             {100, small, 200, big}};
    for (const Rect& r : far_away) {
        dc.rectangle(r);
        dc.ellipse(r);
        dc.round_rect(r, big, big);
        dc.frame_rect(r, kRed);
        dc.draw_focus_rect(r);
        Rect e = r;
        dc.draw_edge(e, EDGE_SUNKEN, BF_RECT | BF_MIDDLE | BF_ADJUST);
        dc.line(r.left, r.top, r.right, r.bottom);
    }
    EXPECT_EQ(b, before);
    EXPECT_TRUE(Region::ellipse({small, small, big, big}).empty());
    // A rectangle larger than the bitmap still fills all of it.
    dc.select_pen({PenStyle::Null, 1, 0});
    dc.rectangle({small, small, big, big});
    EXPECT_EQ(count_color(b, kBlue), 64);
}

// Round shapes are filled row by row, only the rows the clip lets through; they must cover the
// very pixels of the regions of the same shapes: the brush inside the shape shrunk by the pen,
// the pen over the rest. Sizes from a pixel to wider than the corners, odd and even, thin and
// thick pens, no pen and no brush, through clips that cut the shape or miss it.
TEST(Shapes, RoundShapesCoverTheirRegionsThroughAnyClip) {
    const Rect clips[] = {{0, 0, 40, 40}, {3, 5, 11, 9}, {0, 12, 40, 13}, {30, 30, 40, 40}};
    int compared = 0;
    for (int w = 1; w <= 23; w += 2) {
        for (int h = 1; h <= 23; h += 3) {
            for (int pen = 0; pen <= 3; ++pen) {
                for (const bool brush : {true, false}) {
                    for (const Rect& clip : clips) {
                        for (int shape = 0; shape < 2; ++shape) {
                            const Rect r = Rect::from_xywh(2, 3, w, h);
                            const int corner = 2 + w / 3;
                            Bitmap drawn(40, 40, pixel_of(0));
                            DC dc(drawn);
                            dc.intersect_clip_rect(clip);
                            dc.select_pen(
                                {pen ? PenStyle::Solid : PenStyle::Null, std::max(pen, 1), kRed});
                            dc.select_brush({brush ? BrushStyle::Solid : BrushStyle::Null, kBlue});
                            if (shape == 0)
                                dc.ellipse(r);
                            else
                                dc.round_rect(r, corner, corner);

                            const Rect in = r.inflate(-pen, -pen);
                            const Region outer = shape == 0 ? Region::ellipse(r)
                                                            : Region::round_rect(r, corner, corner);
                            const Region inner =
                                shape == 0
                                    ? Region::ellipse(in)
                                    : Region::round_rect(in, corner - 2 * pen, corner - 2 * pen);
                            Bitmap expected(40, 40, pixel_of(0));
                            DC ref(expected);
                            ref.intersect_clip_rect(clip);
                            if (brush)
                                ref.fill_region(pen ? inner : outer, kBlue);
                            if (pen)
                                ref.fill_region(outer - inner, kRed);
                            ASSERT_EQ(drawn, expected)
                                << "shape " << shape << " " << w << "x" << h << " pen " << pen
                                << " clip " << clip.left << "," << clip.top;
                            ++compared;
                        }
                    }
                }
            }
        }
    }
    EXPECT_EQ(compared, 12 * 8 * 4 * 2 * 4 * 2);
}

// A row of indicators: the same circle at the same logical place through viewports moved to
// each one's spot, with other shapes drawn in between (more than the rows kept), each time the
// pixels of its region wherever it lands, a clip cutting some of them.
TEST(Shapes, TheSameShapeDrawnAgainAndAgainCoversItsRegionEachTime) {
    Bitmap drawn(200, 40, pixel_of(0));
    Bitmap expected = drawn;
    DC dc(drawn);
    DC ref(expected);
    for (DC* d : {&dc, &ref})
        d->intersect_clip_rect({0, 0, 150, 33});
    dc.select_pen({PenStyle::Solid, 1, kRed});
    dc.select_brush({BrushStyle::Solid, kBlue});
    const Rect led{0, 0, 22, 22};
    for (int i = 0; i < 9; ++i) {
        dc.set_viewport_origin({i * 21, 13});
        dc.ellipse(led);
        dc.set_viewport_origin({0, 0});
        for (int k = 0; k < 9; ++k)
            dc.round_rect(Rect::from_xywh(190, 0, 3 + k, 4), 3, 3);
        const Region outer = Region::ellipse(led).offset_by(i * 21, 13);
        const Region inner = Region::ellipse(led.inflate(-1, -1)).offset_by(i * 21, 13);
        ref.fill_region(inner, kBlue);
        ref.fill_region(outer - inner, kRed);
        for (int k = 0; k < 9; ++k) {
            const Region r = Region::round_rect(Rect::from_xywh(190, 0, 3 + k, 4), 3, 3);
            const Region in = Region::round_rect(Rect::from_xywh(191, 1, 1 + k, 2), 1, 1);
            ref.fill_region(in, kBlue);
            ref.fill_region(r - in, kRed);
        }
    }
    EXPECT_EQ(drawn, expected);
}

}  // namespace
}  // namespace gdi

TEST(Shapes, RowEndsRoundLikeTheLibraryAtHalvesAndAroundThem) {
    // Row ends are rounded without std::lround; the shapes stay the same only while the two
    // agree, halves and the doubles next to them included.
    for (int k = -3000; k <= 3000; ++k) {
        for (double f : {0.0, 0.25, 0.5, 0.75}) {
            const double x = k + f;
            for (double v : {x, std::nextafter(x, -1e9), std::nextafter(x, 1e9)})
                ASSERT_EQ(gdi::round_half_away(v), std::lround(v)) << v;
        }
    }
    EXPECT_EQ(gdi::round_half_away(0.49999999999999994), 0);
    EXPECT_EQ(gdi::round_half_away(-0.49999999999999994), 0);
}
