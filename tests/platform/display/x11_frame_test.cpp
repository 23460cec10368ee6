// A real X window moved, sized, maximized, minimized and closed through its frame by input the
// server itself delivers (XTEST), with the native window's geometry checked after each step.
// With VELMOR_FRAME_SCREENSHOTS=dir, the screen is saved after each step (drag.png, ...).

#include <gtest/gtest.h>
// Xlib after gtest: its macros (None, Bool) collide with gtest's names.
#include "x11_hand.h"
// The SHAPE extension's declarations after Xlib's.
#include <X11/extensions/shape.h>

#include <algorithm>
#include <cstdlib>
#include <memory>
#include <string>

using namespace win;

namespace {

LRESULT FilledProc(HWND h, UINT m, WPARAM w, LPARAM l) {
    if (m == WM_PAINT) {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(h, &ps);
        dc->fill_rect(GetClientRect(h), gdi::rgb(250, 250, 240));
        dc->fill_rect({10, 10, 60, 40}, gdi::rgb(200, 40, 40));
        EndPaint(h, &ps);
        return 0;
    }
    return DefWindowProc(h, m, w, l);
}

// A frame of the program's own, as a skinned form has: 6-pixel borders and a 26-pixel caption
// band that it reports and paints itself, with no system frame.
constexpr int kOwnBorder = 6;
constexpr int kOwnCaption = 26;

int g_sizes = 0;

LRESULT OwnFrameProc(HWND h, UINT m, WPARAM w, LPARAM l) {
    if (m == WM_SIZE)
        ++g_sizes;
    switch (m) {
        case WM_NCCALCSIZE: {
            RECT* r =
                w ? &reinterpret_cast<NCCALCSIZE_PARAMS*>(l)->rgrc[0] : reinterpret_cast<RECT*>(l);
            if (IsIconic(h))
                *r = {r->left, r->top, r->left, r->top};
            else
                *r = {r->left + kOwnBorder, r->top + kOwnCaption, r->right - kOwnBorder,
                      r->bottom - kOwnBorder};
            return w ? 0x400 : 0;
        }
        case WM_NCHITTEST: {
            const RECT r = GetWindowRect(h);
            const POINT p = MAKEPOINT(l);
            if (!r.contains(p))
                return HTNOWHERE;
            if (IsIconic(h))
                return HTCAPTION;
            const bool left = p.x < r.left + kOwnBorder, right = p.x >= r.right - kOwnBorder;
            const bool top = p.y < r.top + kOwnBorder, bottom = p.y >= r.bottom - kOwnBorder;
            if (top)
                return left ? HTTOPLEFT : right ? HTTOPRIGHT : HTTOP;
            if (bottom)
                return left ? HTBOTTOMLEFT : right ? HTBOTTOMRIGHT : HTBOTTOM;
            if (left)
                return HTLEFT;
            if (right)
                return HTRIGHT;
            return p.y < r.top + kOwnCaption ? HTCAPTION : HTCLIENT;
        }
        case WM_NCPAINT: {
            HDC dc = GetWindowDC(h);
            const RECT r = GetWindowRect(h);
            dc->fill_rect({0, 0, r.width(), r.height()}, gdi::rgb(40, 90, 160));
            dc->fill_rect({0, 0, r.width(), std::min(r.height(), kOwnCaption)},
                          gdi::rgb(20, 50, 120));
            ReleaseDC(h, dc);
            return 0;
        }
        case WM_NCACTIVATE:
            return TRUE;
        case WM_MOUSEMOVE:
        case WM_LBUTTONUP:
            return 0;  // like a form: the client area's mouse is its own
        default:
            return FilledProc(h, m, w, l);
    }
}

int g_probe_errors = 0;
int CountProbeError(::Display*, XErrorEvent*) {
    ++g_probe_errors;
    return 0;
}

class X11Frame : public ::testing::Test {
  protected:
    void SetUp() override {
        const char* d = std::getenv("DISPLAY");
        if (!d || !*d)
            GTEST_SKIP() << "DISPLAY is not set";
        static bool registered = false;
        if (!registered) {
            WNDCLASS filled;
            filled.style = CS_DBLCLKS;
            filled.lpfnWndProc = FilledProc;
            filled.lpszClassName = "X11Framed";
            RegisterClass(filled);
            WNDCLASS own;
            own.style = CS_DBLCLKS;
            own.lpfnWndProc = OwnFrameProc;
            own.lpszClassName = "X11OwnFrame";
            RegisterClass(own);
            registered = true;
        }
        scoped_ = std::make_unique<clk::ScopedClock>(clock_);
        display::Options o;
        o.kind = display::Kind::X11;
        std::string err;
        disp_ = display::Open(o, &err);
        ASSERT_TRUE(disp_) << err;
        hand_ = std::make_unique<x11test::Hand>(*disp_, clock_);
        probe_ = hand_->probe();
        ASSERT_NE(probe_, nullptr);
    }
    void TearDown() override {
        if (h_ && IsWindow(h_))
            DestroyWindow(h_);
        hand_.reset();
        disp_.reset();
    }
    void settle() { hand_->settle(); }
    RECT native_rect() { return hand_->native_rect(h_); }
    void click(POINT p) { hand_->click(p); }
    void drag(POINT from, POINT to) { hand_->drag(from, to); }
    void screenshot(const char* name) { hand_->screenshot(name); }
    // The point of the default frame where the hit test answers `code` on the caption row.
    POINT caption_button(LRESULT code) {
        const RECT r = GetWindowRect(h_);
        const int y = r.top + (IsIconic(h_) ? r.height() / 2 : 12);
        for (int x = r.right - 1; x >= r.left; --x) {
            if (SendMessage(h_, WM_NCHITTEST, 0, MAKELPARAM(x, y)) == code)
                return {x - 4, y};
        }
        ADD_FAILURE() << "no caption button " << code;
        return {0, 0};
    }

    clk::ManualClock clock_;
    std::unique_ptr<clk::ScopedClock> scoped_;
    std::unique_ptr<display::Display> disp_;
    std::unique_ptr<x11test::Hand> hand_;
    ::Display* probe_ = nullptr;
    HWND h_ = nullptr;
};

TEST_F(X11Frame, TheDefaultFrameMovesSizesMaximizesMinimizesAndClosesTheRealWindow) {
    h_ = CreateWindowEx(0, "X11Framed", "Frame under X",
                        WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_MINIMIZEBOX |
                            WS_MAXIMIZEBOX | WS_VISIBLE,
                        200, 150, 400, 300, nullptr, nullptr, nullptr, nullptr);
    ASSERT_TRUE(h_);
    settle();
    ASSERT_EQ(native_rect(), (RECT{200, 150, 600, 450}));

    // The frame is ours: the window manager is asked for no decoration of its own.
    Atom hints = XInternAtom(probe_, "_MOTIF_WM_HINTS", False);
    Atom type = 0;
    int format = 0;
    unsigned long count = 0, after = 0;
    unsigned char* data = nullptr;
    ASSERT_EQ(XGetWindowProperty(probe_, disp_->native_window(h_), hints, 0, 5, False, hints, &type,
                                 &format, &count, &after, &data),
              Success);
    ASSERT_EQ(count, 5u);
    const long* v = reinterpret_cast<const long*>(data);
    EXPECT_TRUE(v[0] & 2) << "decorations given";
    EXPECT_EQ(v[2], 0) << "and none wanted";
    XFree(data);

    // The caption moves it.
    drag({300, 162}, {360, 202});
    screenshot("drag");
    EXPECT_EQ(GetWindowRect(h_), (RECT{260, 190, 660, 490}));
    EXPECT_EQ(native_rect(), GetWindowRect(h_));

    // Each border and corner sizes it; the opposite edges stay.
    struct Case {
        POINT at;  // window coordinates of the press (4-pixel frame, 23-pixel corners)
        int dx, dy;
        RECT expected;  // relative to the rectangle before
    };
    const Case cases[] = {
        {{1, 150}, -20, 0, {-20, 0, 0, 0}},     {{398, 150}, 30, 0, {0, 0, 30, 0}},
        {{200, 1}, 0, -25, {0, -25, 0, 0}},     {{200, 298}, 0, 35, {0, 0, 0, 35}},
        {{1, 1}, 15, 10, {15, 10, 0, 0}},       {{398, 1}, 15, 10, {0, 10, 15, 0}},
        {{1, 298}, -15, -10, {-15, 0, 0, -10}}, {{398, 298}, -15, -10, {0, 0, -15, -10}},
    };
    int n = 0;
    for (const Case& c : cases) {
        SetWindowPos(h_, nullptr, 260, 190, 400, 300, SWP_NOZORDER);
        settle();
        const RECT before = GetWindowRect(h_);
        const POINT from{before.left + c.at.x, before.top + c.at.y};
        drag(from, {from.x + c.dx, from.y + c.dy});
        const RECT want{before.left + c.expected.left, before.top + c.expected.top,
                        before.right + c.expected.right, before.bottom + c.expected.bottom};
        EXPECT_EQ(GetWindowRect(h_), want) << "case " << n;
        EXPECT_EQ(native_rect(), want) << "case " << n;
        ++n;
    }
    screenshot("resized");

    // Maximized: the work area (the whole screen here), the frame's border past its edges.
    const RECT normal = GetWindowRect(h_);
    click(caption_button(HTMAXBUTTON));
    screenshot("maximized");
    ASSERT_TRUE(IsZoomed(h_));
    const int sw = DisplayWidth(probe_, DefaultScreen(probe_));
    const int sh = DisplayHeight(probe_, DefaultScreen(probe_));
    EXPECT_EQ(native_rect(), (RECT{-4, -4, sw + 4, sh + 4}));
    drag({500, 12}, {600, 100});
    EXPECT_EQ(native_rect(), (RECT{-4, -4, sw + 4, sh + 4})) << "a maximized window stays";
    click(caption_button(HTMAXBUTTON));  // now the restore button
    EXPECT_FALSE(IsZoomed(h_));
    EXPECT_EQ(native_rect(), normal);

    // Minimized: a caption bar at the bottom-left (no window manager here to take it away);
    // its restore button brings the window back.
    click(caption_button(HTMINBUTTON));
    screenshot("minimized");
    ASSERT_TRUE(IsIconic(h_));
    const RECT bar = native_rect();
    EXPECT_EQ(bar,
              RECT::from_xywh(0, sh - GetSystemMetrics(SM_CYMINIMIZED),
                              GetSystemMetrics(SM_CXMINIMIZED), GetSystemMetrics(SM_CYMINIMIZED)));
    click(caption_button(HTMINBUTTON));
    EXPECT_FALSE(IsIconic(h_));
    EXPECT_EQ(native_rect(), normal);

    // Closed: the native window goes with it.
    const ::Window xw = disp_->native_window(h_);
    click(caption_button(HTCLOSE));
    EXPECT_FALSE(IsWindow(h_));
    XSync(probe_, False);
    g_probe_errors = 0;
    auto old = XSetErrorHandler(CountProbeError);
    XWindowAttributes a;
    XGetWindowAttributes(probe_, xw, &a);
    XSync(probe_, False);
    XSetErrorHandler(old);
    EXPECT_EQ(g_probe_errors, 1) << "the X window is destroyed";
}

TEST_F(X11Frame, AFrameTheWindowDrawsAndReportsItselfIsDraggedSizedAndShapedAlike) {
    // The styles of a form: the frame is the window's own through its answers to the frame
    // messages, not through its style.
    h_ = CreateWindowEx(0, "X11OwnFrame", "Own frame",
                        WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_MINIMIZEBOX |
                            WS_MAXIMIZEBOX | WS_VISIBLE,
                        300, 200, 420, 320, nullptr, nullptr, nullptr, nullptr);
    ASSERT_TRUE(h_);
    settle();
    // Rounded top corners, as a skin with transparent border pixels gives.
    const gdi::Region shape =
        gdi::Region::round_rect({0, 0, 420, 320}, 24, 24) | gdi::Region(RECT{0, 160, 420, 320});
    SetWindowRgn(h_, &shape, true);
    settle();
    drag({400, 210}, {330, 150});
    EXPECT_EQ(native_rect(), (RECT{230, 140, 650, 460}));
    drag({649, 459}, {549, 379});  // bottom-right corner: smaller
    EXPECT_EQ(native_rect(), (RECT{230, 140, 550, 380}));
    drag({230, 300}, {180, 300});  // left border: wider again
    EXPECT_EQ(native_rect(), (RECT{180, 140, 550, 380}));
    screenshot("own_frame");

    // The region stays where it was in window coordinates; the native shape is cut to each
    // size, so growing back brings back what shrinking cut off.
    SetWindowPos(h_, nullptr, 0, 0, 420, 320, SWP_NOMOVE | SWP_NOZORDER);
    settle();
    int count = 0, ordering = 0;
    XRectangle* rects =
        XShapeGetRectangles(probe_, disp_->native_window(h_), ShapeBounding, &count, &ordering);
    ASSERT_NE(rects, nullptr);
    int right = 0, bottom = 0;
    for (int i = 0; i < count; ++i) {
        right = std::max(right, rects[i].x + rects[i].width);
        bottom = std::max(bottom, rects[i].y + rects[i].height);
    }
    XFree(rects);
    EXPECT_EQ(right, 420);
    EXPECT_EQ(bottom, 320);

    // Sizes asked faster than the server confirms them: its confirmations of the earlier ones
    // do not size the window back through them.
    g_sizes = 0;
    SetWindowPos(h_, nullptr, 0, 0, 430, 330, SWP_NOMOVE | SWP_NOZORDER);
    SetWindowPos(h_, nullptr, 0, 0, 440, 340, SWP_NOMOVE | SWP_NOZORDER);
    SetWindowPos(h_, nullptr, 0, 0, 450, 350, SWP_NOMOVE | SWP_NOZORDER);
    ASSERT_EQ(g_sizes, 3);
    settle();
    EXPECT_EQ(g_sizes, 3);
    EXPECT_EQ(native_rect().width(), 450);

    // Maximize and minimize through the system commands a skin's title buttons send.
    SendMessage(h_, WM_SYSCOMMAND, SC_MAXIMIZE, 0);
    settle();
    const int sw = DisplayWidth(probe_, DefaultScreen(probe_));
    const int sh = DisplayHeight(probe_, DefaultScreen(probe_));
    EXPECT_EQ(native_rect(), (RECT{-4, -4, sw + 4, sh + 4}));
    SendMessage(h_, WM_SYSCOMMAND, SC_MINIMIZE, 0);
    settle();
    EXPECT_EQ(native_rect().top, sh - GetSystemMetrics(SM_CYMINIMIZED));
    // A double click on the caption bar restores it (maximized, as it was).
    const RECT bar = native_rect();
    click({bar.left + 30, bar.top + 10});
    click({bar.left + 30, bar.top + 10});
    EXPECT_FALSE(IsIconic(h_));
    EXPECT_TRUE(IsZoomed(h_));
    EXPECT_EQ(native_rect(), (RECT{-4, -4, sw + 4, sh + 4}));

    // A window manager that iconifies the minimized window unmaps it; mapping it again (from
    // its task bar) restores the window.
    SendMessage(h_, WM_SYSCOMMAND, SC_MINIMIZE, 0);
    settle();
    const ::Window xw = disp_->native_window(h_);
    XUnmapWindow(probe_, xw);  // as the manager does
    settle();
    EXPECT_TRUE(IsIconic(h_));
    XMapWindow(probe_, xw);
    settle();
    EXPECT_FALSE(IsIconic(h_));
    EXPECT_TRUE(IsZoomed(h_));
}

}  // namespace
