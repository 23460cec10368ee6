// DCs handed out one after another: what a window's DC may draw follows every change of the
// window tree's layout, and a DC object serving a second window keeps nothing of the first.

#include <gmock/gmock.h>

#include "platform/gdi/dc.h"
#include "test_support.h"

using namespace win;
using namespace wintest;

namespace {

constexpr COLORREF kWhite = gdi::rgb(255, 255, 255);

class DcReuse : public WinTest {
  protected:
    // Fills the window's whole client area through GetDC in a colour of its own and tells
    // whether the fill reached the client point (x, y).
    bool fill_reaches(HWND h, int x, int y) {
        const COLORREF c = gdi::rgb(10, 20, static_cast<uint8_t>(++fills_));
        HDC dc = GetDC(h);
        dc->fill_rect({-1000, -1000, 1000, 1000}, c);
        ReleaseDC(h, dc);
        return pixel(h, x, y) == c;
    }
    int fills_ = 0;
};

// A lower sibling's DC leaves out the upper sibling over it, and learns of every way the upper
// one can stop covering it, or cover it again, without anything being repainted in between.
TEST_F(DcReuse, WhatADcMayDrawFollowsEveryLayoutChange) {
    HWND p = top("P", WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN, {0, 0, 200, 200});
    HWND other = top("Q", WS_POPUP | WS_VISIBLE, {300, 0, 400, 100});
    HWND lower = child(p, {0, 0, 100, 100}, WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS);
    HWND upper = child(p, {50, 50, 150, 150}, WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS);
    PumpPending();
    // (60, 60) of the lower window lies under the upper one; (10, 10) does not.
    EXPECT_TRUE(fill_reaches(lower, 10, 10));
    EXPECT_FALSE(fill_reaches(lower, 60, 60));

    MoveWindow(upper, 120, 120, 50, 50, false);
    EXPECT_TRUE(fill_reaches(lower, 60, 60)) << "moved away";
    MoveWindow(upper, 50, 50, 100, 100, false);
    EXPECT_FALSE(fill_reaches(lower, 60, 60)) << "moved back";

    ShowWindow(upper, SW_HIDE);
    EXPECT_TRUE(fill_reaches(lower, 60, 60)) << "hidden";
    ShowWindow(upper, SW_SHOWNA);
    EXPECT_FALSE(fill_reaches(lower, 60, 60)) << "shown";

    SendMessage(upper, WM_SETREDRAW, FALSE, 0);
    EXPECT_TRUE(fill_reaches(lower, 60, 60)) << "drawing turned off";
    SendMessage(upper, WM_SETREDRAW, TRUE, 0);
    EXPECT_FALSE(fill_reaches(lower, 60, 60)) << "drawing turned on";

    gdi::Region corner(RECT{40, 40, 100, 100});  // the upper window's own corner only
    SetWindowRgn(upper, &corner, false);
    EXPECT_TRUE(fill_reaches(lower, 60, 60)) << "shaped";
    SetWindowRgn(upper, nullptr, false);
    EXPECT_FALSE(fill_reaches(lower, 60, 60)) << "shape taken off";

    SetWindowPos(lower, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOREDRAW);
    EXPECT_TRUE(fill_reaches(lower, 60, 60)) << "raised above";
    SetWindowPos(lower, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOREDRAW);
    EXPECT_FALSE(fill_reaches(lower, 60, 60)) << "lowered again";

    SetWindowLongPtr(lower, GWL_STYLE, WS_CHILD | WS_VISIBLE);
    EXPECT_TRUE(fill_reaches(lower, 60, 60)) << "no longer clips its siblings";
    SetWindowLongPtr(lower, GWL_STYLE, WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS);
    EXPECT_FALSE(fill_reaches(lower, 60, 60)) << "clips them again";

    SetParent(upper, other);
    EXPECT_TRUE(fill_reaches(lower, 60, 60)) << "given another parent";
    SetParent(upper, p);
    MoveWindow(upper, 50, 50, 100, 100, false);
    EXPECT_FALSE(fill_reaches(lower, 60, 60)) << "back";

    DestroyWindow(upper);
    EXPECT_TRUE(fill_reaches(lower, 60, 60)) << "destroyed";
    HWND late = child(p, {0, 0, 30, 30}, WS_CHILD | WS_VISIBLE);
    EXPECT_FALSE(fill_reaches(lower, 10, 10)) << "a window made over it";
    DestroyWindow(late);
    EXPECT_TRUE(fill_reaches(lower, 10, 10));
    // The parent clips its children: its DC leaves out a child made, and gets the place back
    // when the child goes.
    EXPECT_TRUE(fill_reaches(p, 170, 170));
    late = child(p, {160, 160, 190, 190}, WS_CHILD | WS_VISIBLE);
    EXPECT_FALSE(fill_reaches(p, 170, 170));
    DestroyWindow(late);
    EXPECT_TRUE(fill_reaches(p, 170, 170));
}

// Whatever the last user of a DC object set (origins, clip, saved states, font, colours,
// modes, pen, brush), the next window it is handed to gets a fresh DC: its own origin and
// visible region, no clip, the window system's defaults.
TEST_F(DcReuse, ADcHandedOutAgainCarriesNothingOfItsLastUse) {
    HWND p = top("P", WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN, {0, 0, 200, 200});
    HWND a = child(p, {10, 10, 60, 60});
    HWND b = child(p, {100, 100, 180, 150});
    PumpPending();
    HDC fresh = GetDC(b);
    const gdi::Point fresh_origin = fresh->dc_origin();
    const gdi::Rect fresh_box = fresh->clip_box();
    ReleaseDC(b, fresh);

    HDC used = GetDC(a);
    used->save();
    used->set_viewport_origin({7, 9});
    used->intersect_clip_rect({0, 0, 3, 3});
    used->select_font(gdi::Font{"Liberation Serif", -30, 700, true, true, true});
    used->set_text_color(gdi::rgb(1, 2, 3));
    used->set_bk_color(gdi::rgb(4, 5, 6));
    used->set_bk_mode(gdi::BkMode::Transparent);
    used->set_text_align(gdi::TA_RIGHT | gdi::TA_BOTTOM);
    used->select_pen({gdi::PenStyle::Dot, 3, gdi::rgb(7, 8, 9)});
    used->select_brush({gdi::BrushStyle::Null, gdi::rgb(1, 1, 1)});
    used->move_to(20, 20);
    used->save();
    ReleaseDC(a, used);

    HDC dc = GetDC(b);
    ASSERT_EQ(dc, used) << "the released object is the one handed out next";
    EXPECT_EQ(WindowFromDC(dc), b);
    EXPECT_EQ(dc->dc_origin(), fresh_origin);
    EXPECT_EQ(dc->viewport_origin(), (gdi::Point{0, 0}));
    EXPECT_EQ(dc->clip_region(), nullptr);
    EXPECT_EQ(dc->clip_box(), fresh_box);
    EXPECT_EQ(dc->clip_box(), (gdi::Rect{0, 0, 80, 50}));
    EXPECT_EQ(dc->current_position(), (gdi::Point{0, 0}));
    EXPECT_FALSE(dc->restore(-1)) << "no saved states";
    EXPECT_EQ(dc->font(), GetDefaultGuiFont());
    EXPECT_EQ(dc->text_color(), GetSysColor(COLOR_WINDOWTEXT));
    EXPECT_EQ(dc->bk_color(), GetSysColor(COLOR_WINDOW));
    EXPECT_EQ(dc->bk_mode(), gdi::BkMode::Opaque);
    EXPECT_EQ(dc->text_align(), gdi::TA_LEFT | gdi::TA_TOP);
    EXPECT_EQ(dc->pen(), gdi::Pen{});
    EXPECT_EQ(dc->brush(), gdi::Brush{});
    // It draws into b alone, all of it.
    dc->fill_rect({-500, -500, 500, 500}, gdi::rgb(0, 0, 255));
    ReleaseDC(b, dc);
    EXPECT_EQ(pixel(b, 0, 0), gdi::rgb(0, 0, 255));
    EXPECT_EQ(pixel(b, 79, 49), gdi::rgb(0, 0, 255));
    EXPECT_NE(pixel(a, 0, 0), gdi::rgb(0, 0, 255));
    EXPECT_NE(pixel(p, 99, 99), gdi::rgb(0, 0, 255));
}

// A handle used after its release draws nothing and is not released twice.
TEST_F(DcReuse, AReleasedHandleDrawsNothing) {
    HWND p = top("P", WS_POPUP | WS_VISIBLE, {0, 0, 100, 100});
    HWND c = child(p, {0, 0, 50, 50}, WS_CHILD | WS_VISIBLE, 0, "Plain");
    PumpPending();
    ASSERT_EQ(pixel(c, 5, 5), kWhite);
    HDC dc = GetDC(c);
    ASSERT_EQ(ReleaseDC(c, dc), 1);
    dc->fill_rect({0, 0, 50, 50}, gdi::rgb(255, 0, 0));
    EXPECT_EQ(pixel(c, 5, 5), kWhite);
    EXPECT_EQ(WindowFromDC(dc), nullptr);
    EXPECT_EQ(ReleaseDC(c, dc), 0);
}

}  // namespace
