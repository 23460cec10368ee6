// Against a real X server (the test script starts Xvfb and sets DISPLAY).

#include <gtest/gtest.h>
// Xlib after gtest: its macros (None, Bool) collide with gtest's names.
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>
#include <X11/extensions/shape.h>

#include <algorithm>
#include <cstdlib>
#include <vector>

#include "platform/clock/clock.h"
#include "platform/display/display.h"
#include "platform/display/x11/x11_display.h"
#include "platform/gdi/png.h"
#include "platform/win/win.h"

using namespace win;

namespace {

int g_downs = 0;
int g_ups = 0;
int g_chars = 0;
WPARAM g_last_char = 0;

LRESULT ClickProc(HWND h, UINT m, WPARAM w, LPARAM l) {
    if (m == WM_LBUTTONDOWN)
        ++g_downs;
    if (m == WM_LBUTTONUP)
        ++g_ups;
    if (m == WM_CHAR) {
        ++g_chars;
        g_last_char = w;
    }
    return DefWindowProc(h, m, w, l);
}

gdi::Color g_fill = 0;

LRESULT FillProc(HWND h, UINT m, WPARAM w, LPARAM l) {
    if (m == WM_PAINT) {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(h, &ps);
        dc->fill_rect(GetClientRect(h), g_fill);
        EndPaint(h, &ps);
        return 0;
    }
    return DefWindowProc(h, m, w, l);
}

// The mouse messages a window received, in order, with their client positions.
struct MouseMessage {
    UINT msg;
    int x, y;
    bool operator==(const MouseMessage&) const = default;
};
std::vector<MouseMessage> g_mouse;

void PrintTo(const MouseMessage& m, std::ostream* os) {
    *os << MessageName(m.msg) << " (" << m.x << ", " << m.y << ")";
}

LRESULT MouseProc(HWND h, UINT m, WPARAM w, LPARAM l) {
    if (m == WM_MOUSEMOVE || m == WM_LBUTTONDOWN || m == WM_LBUTTONUP)
        g_mouse.push_back({m, GET_X_LPARAM(l), GET_Y_LPARAM(l)});
    return DefWindowProc(h, m, w, l);
}

// Notes an error on the probe connection instead of ending the program.
bool g_probe_error = false;
int NoteProbeError(::Display*, XErrorEvent*) {
    g_probe_error = true;
    return 0;
}

class X11 : public ::testing::Test {
  protected:
    void SetUp() override {
        const char* d = std::getenv("DISPLAY");
        if (!d || !*d)
            GTEST_SKIP() << "DISPLAY is not set";
        static bool registered = false;
        if (!registered) {
            WNDCLASS wc;
            wc.lpfnWndProc = ClickProc;
            wc.hbrBackground = COLOR_WINDOW + 1;
            wc.lpszClassName = "X11Probe";
            RegisterClass(wc);
            WNDCLASS fill;
            fill.lpfnWndProc = FillProc;
            fill.lpszClassName = "X11Fill";
            RegisterClass(fill);
            WNDCLASS mouse;
            mouse.lpfnWndProc = MouseProc;
            mouse.lpszClassName = "X11Mouse";
            RegisterClass(mouse);
            registered = true;
        }
        scoped_ = std::make_unique<clk::ScopedClock>(clock_);
        display::Options o;
        o.kind = display::Kind::X11;
        std::string err;
        disp_ = display::Open(o, &err);
        ASSERT_TRUE(disp_) << err;
        probe_ = XOpenDisplay(nullptr);
        ASSERT_NE(probe_, nullptr);
        g_downs = g_ups = g_chars = 0;
        g_last_char = 0;
        g_mouse.clear();
    }
    void TearDown() override {
        if (h_ && IsWindow(h_))
            DestroyWindow(h_);
        disp_.reset();
        if (probe_)
            XCloseDisplay(probe_);
        SetScreenSize(1280, 1024);
    }
    // Lets the server and our connection catch up: a few round trips with pumping between.
    void settle() {
        for (int i = 0; i < 5; ++i) {
            XSync(probe_, False);
            disp_->sync();
            PumpPending();
        }
    }
    clk::ManualClock clock_;
    std::unique_ptr<clk::ScopedClock> scoped_;
    std::unique_ptr<display::Display> disp_;
    // The colour the server shows at (x, y) of a native window.
    gdi::Color shown_at(::Window xw, int x, int y) {
        XImage* img = XGetImage(probe_, xw, x, y, 1, 1, AllPlanes, ZPixmap);
        if (!img)
            return 0xFFFFFFFFu;
        const unsigned long p = XGetPixel(img, 0, 0);
        XDestroyImage(img);
        return gdi::rgb(static_cast<uint8_t>(p >> 16), static_cast<uint8_t>(p >> 8),
                        static_cast<uint8_t>(p));
    }
    // Whether the server still holds a colormap of this id (asked through the probe connection).
    bool colormap_alive(Colormap c) {
        XSync(probe_, False);
        g_probe_error = false;
        auto old = XSetErrorHandler(NoteProbeError);
        XColor col{};
        XQueryColor(probe_, c, &col);
        XSync(probe_, False);
        XSetErrorHandler(old);
        return !g_probe_error;
    }
    ::Display* probe_ = nullptr;
    HWND h_ = nullptr;
};

TEST_F(X11, ARealWindowAppearsAndASyntheticClickReachesItsProcedure) {
    h_ =
        CreateWindowEx(0, "X11Probe", "Probe", WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_VISIBLE,
                       100, 100, 300, 200, nullptr, nullptr, nullptr, nullptr);
    ASSERT_TRUE(h_);
    settle();
    ::Window xw = disp_->native_window(h_);
    ASSERT_NE(xw, 0u);
    XWindowAttributes a;
    ASSERT_TRUE(XGetWindowAttributes(probe_, xw, &a));
    EXPECT_EQ(a.map_state, IsViewable);
    EXPECT_EQ(a.width, 300);
    EXPECT_EQ(a.height, 200);
    EXPECT_GE(disp_->presents(), 1);

    // Click in the client area (below the caption).
    int x = 0, y = 0;
    ::Window child;
    XTranslateCoordinates(probe_, xw, DefaultRootWindow(probe_), 150, 120, &x, &y, &child);
    XTestFakeMotionEvent(probe_, -1, x, y, 0);
    XTestFakeButtonEvent(probe_, 1, True, 0);
    XTestFakeButtonEvent(probe_, 1, False, 0);
    settle();
    EXPECT_EQ(g_downs, 1);
    EXPECT_EQ(g_ups, 1);
}

// A key whose symbol is a Unicode character (as keyboard maps and typing tools give for Chinese)
// types that character, not nothing: the key is remapped on the server, and the window sees the
// new map.
TEST_F(X11, AKeyMappedToAChineseCharacterTypesIt) {
    h_ = CreateWindowEx(0, "X11Probe", "Probe", WS_OVERLAPPED | WS_CAPTION | WS_VISIBLE, 100, 100,
                        300, 200, nullptr, nullptr, nullptr, nullptr);
    ASSERT_TRUE(h_);
    settle();
    ::Window xw = disp_->native_window(h_);
    int min_code = 0, max_code = 0;
    XDisplayKeycodes(probe_, &min_code, &max_code);
    int per = 0;
    KeySym* map =
        XGetKeyboardMapping(probe_, static_cast<KeyCode>(min_code), max_code - min_code + 1, &per);
    ASSERT_NE(map, nullptr);
    int spare = 0;
    for (int k = max_code; k >= min_code && !spare; --k) {
        bool unused = true;
        for (int i = 0; i < per; ++i)
            unused = unused && map[(k - min_code) * per + i] == NoSymbol;
        if (unused)
            spare = k;
    }
    XFree(map);
    if (!spare)
        GTEST_SKIP() << "no unused key code on this server";
    KeySym zhong = 0x01004E2D;  // U+4E2D
    XChangeKeyboardMapping(probe_, spare, 1, &zhong, 1);
    XSetInputFocus(probe_, xw, RevertToParent, CurrentTime);
    settle();
    XTestFakeKeyEvent(probe_, static_cast<unsigned>(spare), True, 0);
    XTestFakeKeyEvent(probe_, static_cast<unsigned>(spare), False, 0);
    settle();
    KeySym none = NoSymbol;
    XChangeKeyboardMapping(probe_, spare, 1, &none, 1);
    XSync(probe_, False);
    EXPECT_EQ(g_chars, 1);
    EXPECT_EQ(g_last_char, 0x4E2Du);
}

// What the window paints is what the server shows: after the first frame, after a repaint in
// place, after a resize (new shared memory), and the window still paints and goes away cleanly
// once the display is closed under it.
TEST_F(X11, PaintedPixelsReachTheServerThroughRepaintsAndResizes) {
    g_fill = gdi::rgb(200, 30, 40);
    h_ = CreateWindowEx(0, "X11Fill", "", WS_POPUP | WS_VISIBLE, 20, 20, 120, 80, nullptr, nullptr,
                        nullptr, nullptr);
    ASSERT_TRUE(h_);
    UpdateAllWindows();
    settle();
    ::Window xw = disp_->native_window(h_);
    EXPECT_EQ(shown_at(xw, 60, 40), g_fill);
    if (auto* x11 = dynamic_cast<display::X11Display*>(disp_.get()); x11 && x11->uses_shm()) {
        EXPECT_TRUE(GetWindowBitmap(h_)->external());  // composed where the server reads
    }

    g_fill = gdi::rgb(10, 90, 230);
    InvalidateRect(h_, nullptr, false);
    UpdateAllWindows();
    settle();
    EXPECT_EQ(shown_at(xw, 60, 40), g_fill);
    EXPECT_EQ(shown_at(xw, 119, 79), g_fill);

    g_fill = gdi::rgb(20, 160, 60);
    SetWindowPos(h_, nullptr, 0, 0, 260, 150, SWP_NOMOVE | SWP_NOZORDER);
    InvalidateRect(h_, nullptr, false);
    UpdateAllWindows();
    settle();
    EXPECT_EQ(shown_at(xw, 250, 140), g_fill);
    EXPECT_EQ(shown_at(xw, 5, 5), g_fill);

    disp_.reset();
    g_fill = gdi::rgb(1, 2, 3);
    InvalidateRect(h_, nullptr, false);
    UpdateAllWindows();
    EXPECT_EQ(GetWindowBitmap(h_)->color_at(5, 5), g_fill);
    EXPECT_TRUE(DestroyWindow(h_));
}

// The root window's picture of an area (screen coordinates), as an X client sees the screen.
gdi::Bitmap RootPicture(::Display* dpy, const RECT& r) {
    gdi::Bitmap out(r.width(), r.height());
    XImage* img =
        XGetImage(dpy, DefaultRootWindow(dpy), r.left, r.top, static_cast<unsigned>(r.width()),
                  static_cast<unsigned>(r.height()), AllPlanes, ZPixmap);
    if (!img)
        return {};
    for (int y = 0; y < r.height(); ++y) {
        for (int x = 0; x < r.width(); ++x) {
            const unsigned long p = XGetPixel(img, x, y);
            out.set_color(x, y,
                          gdi::rgb(static_cast<uint8_t>(p >> 16), static_cast<uint8_t>(p >> 8),
                                   static_cast<uint8_t>(p)));
        }
    }
    XDestroyImage(img);
    return out;
}

// What the program's last frame relies on: finish() returns once the server has handled the
// requests our connection still held.
TEST_F(X11, FinishReturnsOnceTheServerHasHandledEveryRequestOfOurs) {
    h_ = CreateWindowEx(0, "X11Probe", "Before", WS_POPUP | WS_VISIBLE, 20, 20, 120, 80, nullptr,
                        nullptr, nullptr, nullptr);
    ASSERT_TRUE(h_);
    UpdateAllWindows();
    disp_->finish();
    disp_->finish();  // nothing left to wait for
    SetWindowText(h_, "After");
    disp_->finish();
    char* name = nullptr;
    ASSERT_TRUE(XFetchName(probe_, disp_->native_window(h_), &name));
    EXPECT_STREQ(name, "After");
    XFree(name);
}

TEST_F(X11, AShapedWindowLetsTheRootShowThroughItsCutCornersAndTakesNoClicksThere) {
    const RECT where{60, 60, 260, 180};
    // The desktop in the classic teal, so that what shows through the corners is plain to see.
    XSetWindowBackground(probe_, DefaultRootWindow(probe_), 0x008080);
    XClearWindow(probe_, DefaultRootWindow(probe_));
    XSync(probe_, False);
    const gdi::Bitmap before = RootPicture(probe_, where);
    EXPECT_EQ(before.color_at(1, 1), gdi::rgb(0, 128, 128));
    ASSERT_FALSE(before.empty());
    g_fill = gdi::rgb(30, 110, 200);
    h_ = CreateWindowEx(0, "X11Fill", "Shaped", WS_POPUP, where.left, where.top, where.width(),
                        where.height(), nullptr, nullptr, nullptr, nullptr);
    ASSERT_TRUE(h_);
    // Rounded corners of 40 pixels; a region reaching past the window is cut at its edges.
    const gdi::Region shape =
        gdi::Region::round_rect({0, 0, where.width(), where.height()}, 40, 40) |
        gdi::Region(RECT{100, 100, 400, 400});
    SetWindowRgn(h_, &shape, true);
    ShowWindow(h_, SW_SHOWNA);
    UpdateAllWindows();
    settle();
    ::Window xw = disp_->native_window(h_);
    int count = 0, ordering = 0;
    XRectangle* rects = XShapeGetRectangles(probe_, xw, ShapeBounding, &count, &ordering);
    ASSERT_NE(rects, nullptr);
    int right = 0, bottom = 0;
    for (int i = 0; i < count; ++i) {
        right = std::max(right, rects[i].x + rects[i].width);
        bottom = std::max(bottom, rects[i].y + rects[i].height);
    }
    XFree(rects);
    EXPECT_GT(count, 2);
    EXPECT_EQ(right, where.width());
    EXPECT_EQ(bottom, where.height());

    const gdi::Bitmap after = RootPicture(probe_, where);
    if (const char* shot = std::getenv("VELMOR_SHAPE_SCREENSHOT")) {
        // The demonstration: the root window around the shaped window.
        gdi::write_png_file(shot, RootPicture(probe_, where.inflate(20, 20)));
    }
    EXPECT_EQ(after.color_at(1, 1), before.color_at(1, 1)) << "the root shows in the corner";
    EXPECT_EQ(after.color_at(where.width() - 2, 1), before.color_at(where.width() - 2, 1));
    EXPECT_EQ(after.color_at(100, 60), g_fill);
    EXPECT_EQ(after.color_at(where.width() - 1, 60), g_fill);

    // A click on a cut corner goes past the window; one inside reaches it.
    SetWindowLongPtr(h_, GWLP_WNDPROC, WNDPROC(ClickProc));
    XTestFakeMotionEvent(probe_, -1, where.left + 2, where.top + 2, CurrentTime);
    XTestFakeButtonEvent(probe_, 1, True, CurrentTime);
    XTestFakeButtonEvent(probe_, 1, False, CurrentTime);
    settle();
    EXPECT_EQ(g_downs, 0);
    XTestFakeMotionEvent(probe_, -1, where.left + 100, where.top + 60, CurrentTime);
    XTestFakeButtonEvent(probe_, 1, True, CurrentTime);
    XTestFakeButtonEvent(probe_, 1, False, CurrentTime);
    settle();
    EXPECT_EQ(g_downs, 1);

    // No region: the whole rectangle again.
    SetWindowLongPtr(h_, GWLP_WNDPROC, WNDPROC(FillProc));
    SetWindowRgn(h_, nullptr, true);
    UpdateAllWindows();
    settle();
    EXPECT_EQ(shown_at(xw, 1, 1), g_fill);
}

TEST_F(X11, TheCloseRequestOfTheWindowManagerClosesTheWindow) {
    h_ = CreateWindowEx(0, "X11Probe", "Close me",
                        WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_VISIBLE, 50, 50, 200, 100,
                        nullptr, nullptr, nullptr, nullptr);
    settle();
    ::Window xw = disp_->native_window(h_);
    // The window tells the manager it takes close requests (else the manager kills the client).
    Atom* protocols = nullptr;
    int count = 0;
    ASSERT_TRUE(XGetWMProtocols(probe_, xw, &protocols, &count));
    ASSERT_EQ(count, 1);
    EXPECT_EQ(protocols[0], XInternAtom(probe_, "WM_DELETE_WINDOW", False));
    XFree(protocols);
    XEvent ev{};
    ev.xclient.type = ClientMessage;
    ev.xclient.window = xw;
    ev.xclient.message_type = XInternAtom(probe_, "WM_PROTOCOLS", False);
    ev.xclient.format = 32;
    ev.xclient.data.l[0] = static_cast<long>(XInternAtom(probe_, "WM_DELETE_WINDOW", False));
    XSendEvent(probe_, xw, False, NoEventMask, &ev);
    settle();
    EXPECT_FALSE(IsWindow(h_));
}

// An idle program wakes 100 times a second for its timers; a turn of the loop with nothing from
// the server must not read the connection. What arrives wakes the wait and is handled at once,
// and events a reply brought along are not left waiting in the library for the next one.
TEST_F(X11, AQuietLoopLeavesTheConnectionAloneAndAnArrivingEventEndsTheWait) {
    auto* x11 = dynamic_cast<display::X11Display*>(disp_.get());
    ASSERT_NE(x11, nullptr);
    h_ = CreateWindowEx(0, "X11Probe", "Quiet", WS_OVERLAPPED | WS_CAPTION | WS_VISIBLE, 60, 60,
                        200, 100, nullptr, nullptr, nullptr, nullptr);
    settle();
    const int64_t reads = x11->socket_reads();
    for (int i = 0; i < 20; ++i) {
        disp_->wait_events(0);
        disp_->process_events();
    }
    EXPECT_EQ(x11->socket_reads(), reads);

    ::Window xw = disp_->native_window(h_);
    XEvent ev{};
    ev.xclient.type = ClientMessage;
    ev.xclient.window = xw;
    ev.xclient.message_type = XInternAtom(probe_, "WM_PROTOCOLS", False);
    ev.xclient.format = 32;
    ev.xclient.data.l[0] = static_cast<long>(XInternAtom(probe_, "WM_DELETE_WINDOW", False));
    XSendEvent(probe_, xw, False, NoEventMask, &ev);
    XFlush(probe_);
    for (int i = 0; i < 100 && IsWindow(h_); ++i) {
        disp_->wait_events(100);
        PumpPending();
    }
    EXPECT_FALSE(IsWindow(h_));
    EXPECT_GT(x11->socket_reads(), reads);

    // A round trip of ours while the server has an event for us: the event comes in with the
    // reply and must be handled without anything further arriving.
    h_ = CreateWindowEx(0, "X11Probe", "Again", WS_OVERLAPPED | WS_CAPTION | WS_VISIBLE, 60, 60,
                        200, 100, nullptr, nullptr, nullptr, nullptr);
    settle();
    xw = disp_->native_window(h_);
    ev.xclient.window = xw;
    XSendEvent(probe_, xw, False, NoEventMask, &ev);
    XSync(probe_, False);
    disp_->screen_size();
    XWindowAttributes a;
    ASSERT_TRUE(XGetWindowAttributes(probe_, xw, &a));  // the probe's event has been sent
    UpdateAllWindows();
    InvalidateRect(h_, nullptr, false);
    UpdateAllWindows();  // a present: its XSync reads whatever is on the connection
    disp_->wait_events(0);
    PumpPending();
    EXPECT_FALSE(IsWindow(h_));
}

TEST_F(X11, HidingUnmapsAndPopupsAreOverrideRedirect) {
    h_ = CreateWindowEx(0, "X11Probe", "", WS_POPUP | WS_BORDER | WS_VISIBLE, 10, 10, 80, 60,
                        nullptr, nullptr, nullptr, nullptr);
    settle();
    ::Window xw = disp_->native_window(h_);
    XWindowAttributes a;
    XGetWindowAttributes(probe_, xw, &a);
    EXPECT_TRUE(a.override_redirect);
    ShowWindow(h_, SW_HIDE);
    settle();
    XGetWindowAttributes(probe_, xw, &a);
    EXPECT_EQ(a.map_state, IsUnmapped);
}

// Drop-down lists, message boxes and pop-ups come and go all session long; what the server
// holds for them must not pile up while the program runs.
TEST_F(X11, WindowsThatComeAndGoLeaveNoColormapsBehind) {
    std::vector<Colormap> used;
    for (int i = 0; i < 12; ++i) {
        const DWORD style = i % 2 ? WS_POPUP | WS_BORDER | WS_VISIBLE
                                  : WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_VISIBLE;
        HWND h = CreateWindowEx(0, "X11Probe", "Transient", style, 40 + 10 * i, 40, 160, 90,
                                nullptr, nullptr, nullptr, nullptr);
        ASSERT_TRUE(h);
        settle();
        XWindowAttributes a;
        ASSERT_TRUE(XGetWindowAttributes(probe_, disp_->native_window(h), &a));
        EXPECT_EQ(a.map_state, IsViewable);
        used.push_back(a.colormap);
        EXPECT_TRUE(DestroyWindow(h));
        settle();
    }
    std::sort(used.begin(), used.end());
    used.erase(std::unique(used.begin(), used.end()), used.end());
    const auto alive =
        std::count_if(used.begin(), used.end(), [&](Colormap c) { return colormap_alive(c); });
    EXPECT_LE(alive, 1) << "of " << used.size() << " colormaps the windows used";
}

// X hands over a quick click-and-drag in one batch: move, press, drag, release. The window sees
// them in that order, with the drag at its own position while the button is down (caption drags
// and selections depend on it); only motion that follows motion is merged.
TEST_F(X11, MotionBetweenAPressAndAReleaseArrivesBetweenThem) {
    h_ = CreateWindowEx(0, "X11Mouse", "", WS_POPUP | WS_VISIBLE, 200, 200, 240, 160, nullptr,
                        nullptr, nullptr, nullptr);
    ASSERT_TRUE(h_);
    UpdateAllWindows();
    settle();
    ::Window xw = disp_->native_window(h_);
    int sx = 0, sy = 0;
    ::Window child;
    XTranslateCoordinates(probe_, xw, DefaultRootWindow(probe_), 0, 0, &sx, &sy, &child);
    XTestFakeMotionEvent(probe_, -1, sx + 5, sy + 5, 0);
    settle();
    g_mouse.clear();

    XTestFakeMotionEvent(probe_, -1, sx + 30, sy + 40, 0);
    XTestFakeMotionEvent(probe_, -1, sx + 32, sy + 41, 0);
    XTestFakeButtonEvent(probe_, 1, True, 0);
    XTestFakeMotionEvent(probe_, -1, sx + 100, sy + 80, 0);
    XTestFakeMotionEvent(probe_, -1, sx + 120, sy + 90, 0);
    XTestFakeButtonEvent(probe_, 1, False, 0);
    XSync(probe_, False);  // all of it now waits on the display's connection
    disp_->sync();
    PumpPending();
    settle();

    // Merging may drop intermediate positions, never the last one before a press or release.
    std::vector<MouseMessage> seen;
    for (const MouseMessage& m : g_mouse) {
        if (m.msg == WM_MOUSEMOVE && !seen.empty() && seen.back().msg == WM_MOUSEMOVE)
            seen.back() = m;
        else if (seen.empty() || !(seen.back() == m))
            seen.push_back(m);
    }
    const std::vector<MouseMessage> want = {{WM_MOUSEMOVE, 32, 41},
                                            {WM_LBUTTONDOWN, 32, 41},
                                            {WM_MOUSEMOVE, 120, 90},
                                            {WM_LBUTTONUP, 120, 90}};
    EXPECT_EQ(seen, want);
}

// The window manager can unmap or destroy a window at any moment, so requests about it can fail
// on the server. Such an error must not end the program; the display goes on working.
TEST_F(X11, RequestsAboutAWindowTheServerHasDestroyedDoNotEndTheProgram) {
    h_ = CreateWindowEx(0, "X11Fill", "Doomed", WS_OVERLAPPED | WS_CAPTION | WS_VISIBLE, 60, 60,
                        200, 120, nullptr, nullptr, nullptr, nullptr);
    ASSERT_TRUE(h_);
    UpdateAllWindows();
    settle();
    auto* x11 = dynamic_cast<display::X11Display*>(disp_.get());
    ASSERT_TRUE(x11);
    const bool had_shm = x11->uses_shm();
    XDestroyWindow(probe_, disp_->native_window(h_));
    XSync(probe_, False);

    // Each of these names the window the server no longer has.
    SetWindowText(h_, "Still here");
    SetWindowPos(h_, nullptr, 80, 70, 260, 150, SWP_NOZORDER);
    InvalidateRect(h_, nullptr, false);
    UpdateAllWindows();
    settle();
    EXPECT_TRUE(DestroyWindow(h_));
    settle();
    EXPECT_GE(x11->x_errors(), 1);
    // Errors about a lost window are not taken for a server that cannot share memory.
    EXPECT_EQ(x11->uses_shm(), had_shm);

    g_fill = gdi::rgb(90, 20, 150);
    h_ = CreateWindowEx(0, "X11Fill", "", WS_POPUP | WS_VISIBLE, 30, 30, 100, 70, nullptr, nullptr,
                        nullptr, nullptr);
    ASSERT_TRUE(h_);
    UpdateAllWindows();
    settle();
    EXPECT_EQ(shown_at(disp_->native_window(h_), 50, 35), g_fill);
}

// The manager has unmapped a window and we have not heard of it yet when the window is
// activated: it is raised, but no focus is asked for that the server would refuse.
TEST_F(X11, ActivatingAWindowTheManagerHasJustUnmappedAsksForNoFocusTheServerRefuses) {
    h_ = CreateWindowEx(0, "X11Probe", "First", WS_OVERLAPPED | WS_CAPTION | WS_VISIBLE, 40, 40,
                        200, 120, nullptr, nullptr, nullptr, nullptr);
    HWND second = CreateWindowEx(0, "X11Probe", "Second", WS_OVERLAPPED | WS_CAPTION | WS_VISIBLE,
                                 300, 40, 200, 120, nullptr, nullptr, nullptr, nullptr);
    ASSERT_TRUE(h_ && second);
    settle();
    auto* x11 = dynamic_cast<display::X11Display*>(disp_.get());
    ASSERT_TRUE(x11);
    ASSERT_EQ(GetActiveWindow(), second);
    XUnmapWindow(probe_, disp_->native_window(h_));
    XSync(probe_, False);
    const int64_t before = x11->x_errors();
    SetActiveWindow(h_);
    disp_->sync();
    EXPECT_EQ(x11->x_errors(), before);
    EXPECT_EQ(GetActiveWindow(), h_);
    EXPECT_TRUE(DestroyWindow(second));
}

TEST(X11Open, AnUnreachableDisplayGivesOneClearLine) {
    display::Options o;
    o.kind = display::Kind::X11;
    o.x_display = ":987654";
    std::string err;
    auto d = display::Open(o, &err);
    EXPECT_EQ(d, nullptr);
    EXPECT_NE(err.find("cannot open X display :987654"), std::string::npos) << err;
    EXPECT_EQ(err.find('\n'), std::string::npos);
}

}  // namespace
