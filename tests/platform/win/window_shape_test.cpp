// Shaped top-level windows whose frame the program draws itself: the display learns the shape
// (cut to the window), hit testing follows it, and the window's own borders resize it.

#include <gmock/gmock.h>

#include <optional>
#include <vector>

#include "test_support.h"

using namespace win;
using namespace wintest;

namespace {

// A display that only records what it is told about shapes.
class ShapeRecorder : public DisplayDriver {
  public:
    SIZE screen_size() const override { return {1280, 1024}; }
    void present(HWND, const gdi::Bitmap&, const RECT&) override {}
    void process_events() override {}
    void wait_events(int) override {}
    void window_shaped(HWND h, const gdi::Region* shape) override {
        calls.push_back({h, shape ? std::optional<gdi::Region>(*shape) : std::nullopt});
    }
    struct Call {
        HWND hwnd;
        std::optional<gdi::Region> shape;
    };
    std::vector<Call> calls;
};

class WindowShape : public WinTest {
  protected:
    void TearDown() override {
        SetDisplayDriver(nullptr);
        WinTest::TearDown();
    }
};

TEST_F(WindowShape, TheDisplayGetsTheRegionCutToTheWindowAndNothingForChildren) {
    ShapeRecorder rec;
    SetDisplayDriver(&rec);
    HWND h = top("Shaped", WS_POPUP | WS_VISIBLE, {100, 100, 300, 220});
    HWND c = child(h, {10, 10, 50, 50});
    gdi::Region past(RECT{150, 0, 400, 500});  // half outside the 200 x 120 window
    SetWindowRgn(h, &past, true);
    gdi::Region outside(RECT{500, 500, 600, 600});
    SetWindowRgn(h, &outside, true);
    SetWindowRgn(h, nullptr, true);
    gdi::Region some(RECT{0, 0, 5, 5});
    SetWindowRgn(c, &some, true);
    ASSERT_EQ(rec.calls.size(), 3u);
    EXPECT_EQ(rec.calls[0].hwnd, h);
    EXPECT_EQ(*rec.calls[0].shape, gdi::Region(RECT{150, 0, 200, 120}));
    EXPECT_TRUE(rec.calls[1].shape->empty()) << "a region outside the window leaves nothing";
    EXPECT_FALSE(rec.calls[2].shape.has_value());
    PumpPending();

    // A display installed later learns the shape with the window.
    SetWindowRgn(h, &past, false);
    ShapeRecorder late;
    SetDisplayDriver(&late);
    ASSERT_EQ(late.calls.size(), 1u);
    EXPECT_EQ(*late.calls[0].shape, gdi::Region(RECT{150, 0, 200, 120}));
}

TEST_F(WindowShape, HitTestingOfATopLevelWindowFollowsItsRegion) {
    HWND below = top("Below", WS_POPUP | WS_VISIBLE, {0, 0, 400, 400});
    HWND h = top("Round", WS_POPUP | WS_VISIBLE, {100, 100, 300, 220});
    const gdi::Region round = gdi::Region::round_rect({0, 0, 200, 120}, 40, 40);
    SetWindowRgn(h, &round, true);
    PumpPending();
    EXPECT_EQ(WindowFromPoint({101, 101}), below) << "the cut corner belongs to what is below";
    EXPECT_EQ(WindowFromPoint({200, 160}), h);
    // Nothing is drawn outside the region: the backing bitmap keeps the corner untouched.
    HDC dc = GetWindowDC(h);
    dc->fill_rect({0, 0, 200, 120}, gdi::rgb(255, 0, 0));
    ReleaseDC(h, dc);
    UpdateAllWindows();
    const gdi::Bitmap screen = ComposeScreen();
    EXPECT_NE(screen.color_at(100, 100), gdi::rgb(255, 0, 0));
    EXPECT_EQ(screen.color_at(200, 160), gdi::rgb(255, 0, 0));
    // An empty region: the window takes no clicks at all.
    gdi::Region none;
    SetWindowRgn(h, &none, true);
    EXPECT_EQ(WindowFromPoint({200, 160}), below);
}

// A frame of the program's own: 6-pixel borders that size, a caption band that moves.
LRESULT OwnBorders(HWND h, UINT m, WPARAM w, LPARAM l) {
    if (m == WM_NCHITTEST) {
        const RECT r = GetWindowRect(h);
        const POINT p = MAKEPOINT(l);
        if (!r.contains(p))
            return HTNOWHERE;
        const bool left = p.x < r.left + 6, right = p.x >= r.right - 6;
        const bool top = p.y < r.top + 6, bottom = p.y >= r.bottom - 6;
        if (bottom && right)
            return HTBOTTOMRIGHT;
        if (top && left)
            return HTTOPLEFT;
        if (left)
            return HTLEFT;
        if (right)
            return HTRIGHT;
        if (bottom)
            return HTBOTTOM;
        if (top)
            return HTTOP;
        return p.y < r.top + 24 ? HTCAPTION : HTCLIENT;
    }
    return DefWindowProc(h, m, w, l);
}

TEST_F(WindowShape, AWindowWithoutSystemFrameIsSizedByTheBordersItReports) {
    WNDCLASS wc;
    wc.lpfnWndProc = OwnBorders;
    wc.lpszClassName = "OwnBorders";
    RegisterClass(wc);
    HWND h = CreateWindowEx(0, "OwnBorders", "", WS_POPUP | WS_VISIBLE, 100, 100, 300, 200, nullptr,
                            nullptr, nullptr, nullptr);
    PumpPending();
    auto drag = [](POINT from, POINT to) {
        InjectMouse(MouseAction::Move, from);
        InjectMouse(MouseAction::LeftDown, from);
        InjectMouse(MouseAction::Move, {(from.x + to.x) / 2, (from.y + to.y) / 2});
        InjectMouse(MouseAction::Move, to);
        InjectMouse(MouseAction::LeftUp, to);
        PumpPending();
    };
    drag({398, 298}, {428, 338});  // bottom-right corner
    EXPECT_EQ(GetWindowRect(h), (RECT{100, 100, 430, 340}));
    drag({102, 200}, {62, 200});  // left border: the right edge stays
    EXPECT_EQ(GetWindowRect(h), (RECT{60, 100, 430, 340}));
    drag({61, 101}, {500, 500});  // top-left corner past the others: the minimum size stays
    EXPECT_EQ(GetWindowRect(h),
              (RECT{430 - GetSystemMetrics(SM_CXMIN), 340 - GetSystemMetrics(SM_CYMIN), 430, 340}));
    EXPECT_EQ(GetCapture(), nullptr);
    // The caption band moves it, and the system commands minimize and maximize it.
    const RECT before = GetWindowRect(h);
    drag({before.left + 50, before.top + 12}, {before.left + 60, before.top + 22});
    EXPECT_EQ(GetWindowRect(h), before.offset(10, 10));
    SendMessage(h, WM_SYSCOMMAND, SC_MAXIMIZE, 0);
    EXPECT_TRUE(GetWindowLong(h, GWL_STYLE) & WS_MAXIMIZE);
    const RECT maximized = GetWindowRect(h);
    drag({300, 10}, {400, 100});                   // neither moved by its caption
    drag({maximized.right - 2, 300}, {900, 300});  // nor sized by its borders
    EXPECT_EQ(GetWindowRect(h), maximized);
    SendMessage(h, WM_SYSCOMMAND, SC_RESTORE, 0);
    SendMessage(h, WM_SYSCOMMAND, SC_MINIMIZE, 0);
    EXPECT_TRUE(GetWindowLong(h, GWL_STYLE) & WS_MINIMIZE);
    DestroyWindow(h);
}

}  // namespace
