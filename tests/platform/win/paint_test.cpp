// Invalidation, painting, clipping and window regions, checked on the backing bitmap's pixels.

#include <gmock/gmock.h>

#include "platform/gdi/dc.h"
#include "test_support.h"

using namespace win;
using namespace wintest;

namespace {

constexpr COLORREF kRed = gdi::rgb(255, 0, 0);
constexpr COLORREF kBlue = gdi::rgb(0, 0, 255);
constexpr COLORREF kWhite = gdi::rgb(255, 255, 255);

// Paints its whole client area in the colour kept in GWLP_USERDATA, whatever is invalid.
LRESULT FillProc(HWND h, UINT m, WPARAM w, LPARAM l) {
    log().push_back({h, m, w, {}});
    if (m == WM_PAINT) {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(h, &ps);
        dc->fill_rect(GetClientRect(h), static_cast<COLORREF>(GetWindowLongPtr(h, GWLP_USERDATA)));
        EndPaint(h, &ps);
        return 0;
    }
    return DefWindowProc(h, m, w, l);
}

class Painting : public WinTest {
  protected:
    HWND painter(HWND parent, RECT r, COLORREF c, DWORD extra = 0) {
        HWND h = parent ? child(parent, r, WS_CHILD | WS_VISIBLE | extra)
                        : top("P", WS_POPUP | WS_VISIBLE | extra, r);
        SetWindowProc(h, FillProc);
        SetWindowLongPtr(h, GWLP_USERDATA, static_cast<LONG_PTR>(c));
        return h;
    }
};

TEST_F(Painting, PaintIsClippedToTheUpdateRegion) {
    HWND h = painter(nullptr, {0, 0, 100, 100}, kWhite);
    PumpPending();
    EXPECT_EQ(pixel(h, 50, 50), kWhite);
    SetWindowLongPtr(h, GWLP_USERDATA, static_cast<LONG_PTR>(kRed));
    RECT r{10, 10, 20, 30};
    InvalidateRect(h, &r, false);
    RECT upd;
    ASSERT_TRUE(GetUpdateRect(h, &upd, false));
    EXPECT_EQ(upd, r);
    PumpPending();
    EXPECT_EQ(pixel(h, 10, 10), kRed);
    EXPECT_EQ(pixel(h, 19, 29), kRed);
    EXPECT_EQ(pixel(h, 20, 10), kWhite) << "right of the update region";
    EXPECT_EQ(pixel(h, 9, 15), kWhite);
    EXPECT_EQ(pixel(h, 15, 30), kWhite);
    EXPECT_FALSE(GetUpdateRect(h, &upd, false));
}

TEST_F(Painting, TwoInvalidRectanglesPaintOnlyTheirUnion) {
    HWND h = painter(nullptr, {0, 0, 100, 100}, kWhite);
    PumpPending();
    SetWindowLongPtr(h, GWLP_USERDATA, static_cast<LONG_PTR>(kBlue));
    RECT a{0, 0, 10, 10}, b{50, 50, 60, 60};
    InvalidateRect(h, &a, false);
    InvalidateRect(h, &b, false);
    clear_log();
    PumpPending();
    auto seen = names(h);
    EXPECT_EQ(std::count(seen.begin(), seen.end(), "WM_PAINT"), 1) << "one paint for both";
    EXPECT_EQ(pixel(h, 5, 5), kBlue);
    EXPECT_EQ(pixel(h, 55, 55), kBlue);
    EXPECT_EQ(pixel(h, 30, 30), kWhite) << "between the two, inside their bounding box";
}

TEST_F(Painting, ValidatedAreasAreNotPainted) {
    HWND h = painter(nullptr, {0, 0, 50, 50}, kWhite);
    PumpPending();
    InvalidateRect(h, nullptr, true);
    ValidateRect(h, nullptr);
    clear_log();
    PumpPending();
    EXPECT_TRUE(names(h).empty());
}

TEST_F(Painting, EraseUsesTheClassBackground) {
    HWND h = CreateWindowEx(0, "Plain", "", WS_POPUP | WS_VISIBLE, 0, 0, 40, 40, nullptr, nullptr,
                            nullptr, nullptr);
    PumpPending();
    EXPECT_EQ(pixel(h, 20, 20), kWhite);
    HWND g = top("G", WS_POPUP | WS_VISIBLE, {0, 0, 40, 40});  // RecWindow: button face
    PumpPending();
    EXPECT_EQ(pixel(g, 20, 20), GetSysColor(COLOR_BTNFACE));
}

TEST_F(Painting, ParentWithoutClipChildrenRepaintsItsChildrenAfterItself) {
    HWND p = painter(nullptr, {0, 0, 100, 100}, kWhite);
    HWND c = painter(p, {10, 10, 30, 30}, kRed);
    PumpPending();
    EXPECT_EQ(pixel(c, 5, 5), kRed);
    clear_log();
    InvalidateRect(p, nullptr, false);
    PumpPending();
    // The parent painted over the child, so the child was painted again afterwards.
    std::vector<std::string> order;
    for (auto& e : log()) {
        if (e.msg == WM_PAINT)
            order.push_back(e.hwnd == p ? "parent" : "child");
    }
    EXPECT_EQ(order, (std::vector<std::string>{"parent", "child"}));
    EXPECT_EQ(pixel(c, 5, 5), kRed);
    EXPECT_EQ(pixel(p, 5, 5), kWhite);
}

TEST_F(Painting, ClipChildrenKeepsTheParentOffItsChildren) {
    HWND p = painter(nullptr, {0, 0, 100, 100}, kWhite, WS_CLIPCHILDREN);
    HWND c = painter(p, {10, 10, 30, 30}, kRed);
    PumpPending();
    clear_log();
    SetWindowLongPtr(p, GWLP_USERDATA, static_cast<LONG_PTR>(kBlue));
    InvalidateRect(p, nullptr, false);
    PumpPending();
    for (auto& e : log())
        EXPECT_FALSE(e.msg == WM_PAINT && e.hwnd == c) << "the child needs nothing";
    EXPECT_EQ(pixel(c, 5, 5), kRed);
    EXPECT_EQ(pixel(p, 5, 5), kBlue);
    // A client DC of the parent cannot draw on the child either.
    HDC dc = GetDC(p);
    dc->fill_rect({0, 0, 100, 100}, gdi::rgb(0, 255, 0));
    ReleaseDC(p, dc);
    EXPECT_EQ(pixel(c, 5, 5), kRed);
    EXPECT_EQ(pixel(p, 5, 5), gdi::rgb(0, 255, 0));
}

TEST_F(Painting, ClipSiblingsKeepsALowerSiblingUnderTheUpperOne) {
    HWND p = painter(nullptr, {0, 0, 100, 100}, kWhite, WS_CLIPCHILDREN);
    HWND lower = painter(p, {0, 0, 50, 50}, kRed, WS_CLIPSIBLINGS);
    HWND upper = painter(p, {25, 25, 75, 75}, kBlue, WS_CLIPSIBLINGS);
    SetWindowPos(lower, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    PumpPending();
    EXPECT_EQ(GetWindow(p, GW_CHILD), upper);
    EXPECT_EQ(pixel(p, 30, 30), kBlue);
    InvalidateRect(lower, nullptr, false);
    PumpPending();
    EXPECT_EQ(pixel(p, 30, 30), kBlue) << "the lower sibling's paint stays out of the upper one";
    EXPECT_EQ(pixel(p, 10, 10), kRed);
}

TEST_F(Painting, WindowRegionClipsDrawingAndHitTesting) {
    HWND p = painter(nullptr, {0, 0, 100, 100}, kWhite, WS_CLIPCHILDREN);
    HWND c = painter(p, {0, 0, 60, 60}, kRed);
    // Only the left half of the child belongs to it.
    gdi::Region half(RECT{0, 0, 30, 60});
    SetWindowRgn(c, &half, true);
    PumpPending();
    EXPECT_EQ(pixel(p, 10, 10), kRed);
    EXPECT_EQ(pixel(p, 40, 10), kWhite) << "outside the region the parent shows";
    HDC dc = GetWindowDC(c);
    dc->fill_rect({0, 0, 60, 60}, kBlue);
    ReleaseDC(c, dc);
    EXPECT_EQ(pixel(p, 10, 10), kBlue);
    EXPECT_EQ(pixel(p, 40, 10), kWhite);
    EXPECT_EQ(WindowFromPoint({10, 10}), c);
    EXPECT_EQ(WindowFromPoint({40, 10}), p);
    gdi::Region got;
    EXPECT_EQ(GetWindowRgn(c, &got), SIMPLEREGION);
    EXPECT_EQ(got, half);
    SetWindowRgn(c, nullptr, true);
    EXPECT_EQ(GetWindowRgn(c, &got), ERROR_REGION);
    EXPECT_EQ(WindowFromPoint({40, 10}), c);
}

TEST_F(Painting, HiddenAndMovedChildrenUncoverTheirParent) {
    HWND p = painter(nullptr, {0, 0, 100, 100}, kWhite, WS_CLIPCHILDREN);
    HWND c = painter(p, {0, 0, 20, 20}, kRed);
    PumpPending();
    MoveWindow(c, 50, 50, 20, 20, true);
    PumpPending();
    EXPECT_EQ(pixel(p, 5, 5), kWhite);
    EXPECT_EQ(pixel(p, 55, 55), kRed);
    ShowWindow(c, SW_HIDE);
    PumpPending();
    EXPECT_EQ(pixel(p, 55, 55), kWhite);
}

TEST_F(Painting, SetRedrawOffStopsDrawingUntilTurnedOn) {
    HWND h = painter(nullptr, {0, 0, 40, 40}, kWhite);
    HWND c = painter(h, {0, 0, 20, 20}, kRed);
    PumpPending();
    SendMessage(c, WM_SETREDRAW, FALSE, 0);
    HDC dc = GetDC(c);
    dc->fill_rect({0, 0, 20, 20}, kBlue);
    ReleaseDC(c, dc);
    EXPECT_EQ(pixel(c, 5, 5), kRed);
    SendMessage(c, WM_SETREDRAW, TRUE, 0);
    EXPECT_TRUE(IsWindowVisible(c));
}

TEST_F(Painting, FrameFitsTheClassicMetrics) {
    // A captioned dialog-frame window of 1265 x 693 has a 1259 x 664 client area.
    HWND h = top("Velmor Manager", WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX,
                 RECT::from_xywh(8, 30, 1265, 693));
    RECT c = GetClientRect(h);
    EXPECT_EQ(c.width(), 1259);
    EXPECT_EQ(c.height(), 664);
    POINT o{0, 0};
    ClientToScreen(h, &o);
    EXPECT_EQ(o, (POINT{8 + 3, 30 + 3 + 23}));

    HWND edged = CreateWindowEx(WS_EX_CLIENTEDGE, "Plain", "", WS_CHILD | WS_VISIBLE | WS_VSCROLL,
                                0, 0, 100, 50, h, nullptr, nullptr, nullptr);
    RECT ec = GetClientRect(edged);
    EXPECT_EQ(ec.width(), 100 - 4 - 17);
    EXPECT_EQ(ec.height(), 50 - 4);

    ShowScrollBar(h, SB_HORZ, true);
    EXPECT_EQ(GetClientRect(h).height(), 664 - 17);
    SetScrollRange(h, SB_HORZ, 0, 1265, true);
    SCROLLINFO si;
    si.fMask = SIF_RANGE;
    ASSERT_TRUE(GetScrollInfo(h, SB_HORZ, &si));
    EXPECT_EQ(si.nMax, 1265);
    EXPECT_TRUE(GetWindowLong(h, GWL_STYLE) & WS_HSCROLL);
}

TEST_F(Painting, DefaultFramePaintsACaptionInTheActiveColour) {
    HWND h = top("Caption", WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_VISIBLE, {0, 0, 200, 100});
    PumpPending();
    const gdi::Bitmap* b = GetWindowBitmap(h);
    ASSERT_NE(b, nullptr);
    // In the caption band, left of the buttons and right of the text.
    EXPECT_EQ(b->color_at(150, 8), GetSysColor(COLOR_ACTIVECAPTION));
    EXPECT_EQ(b->color_at(0, 50), GetSysColor(COLOR_3DLIGHT)) << "outer edge of the raised frame";
    HWND other = top("Other", WS_OVERLAPPED | WS_CAPTION | WS_VISIBLE, {300, 0, 500, 100});
    ASSERT_EQ(GetActiveWindow(), other);
    PumpPending();
    EXPECT_EQ(b->color_at(150, 8), GetSysColor(COLOR_INACTIVECAPTION));
}

}  // namespace

namespace {

// Children show only inside their parent's client area: the part of a child lying over the
// frame (placed there, or left there when the window was minimized to its caption bar and its
// client area became empty) does not cut the frame out of the window DC.
TEST_F(Painting, ChildrenOutsideTheClientAreaDoNotCutTheFrame) {
    HWND h = top("Frame", WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN | WS_VISIBLE,
                 {100, 100, 420, 340});
    child(h, {10, -20, 100, 40});             // over the caption
    HWND cover = child(h, {0, 0, 314, 211});  // the whole client area
    PumpPending();
    auto paint_frame_red = [&] {
        HDC dc = GetWindowDC(h);
        const RECT r = GetWindowRect(h);
        dc->fill_rect({0, 0, r.width(), r.height()}, gdi::rgb(255, 0, 0));
        ReleaseDC(h, dc);
        UpdateAllWindows();
        return ComposeScreen();
    };
    gdi::Bitmap screen = paint_frame_red();
    EXPECT_EQ(screen.color_at(100 + 50, 100 + 10), gdi::rgb(255, 0, 0)) << "the caption";
    EXPECT_NE(screen.color_at(100 + 150, 100 + 120), gdi::rgb(255, 0, 0)) << "the child";
    (void)cover;

    ShowWindow(h, SW_MINIMIZE);
    PumpPending();
    const RECT bar = GetWindowRect(h);
    screen = paint_frame_red();
    for (int y = bar.top; y < bar.bottom; ++y)
        EXPECT_EQ(screen.color_at(bar.left + 50, y), gdi::rgb(255, 0, 0)) << "row " << y;
}

}  // namespace
