#pragma once

// A hand on the X server's pointer for tests of real windows: presses, drags and clicks sent
// through XTEST from a probe connection of its own, delivered to the program's display and
// handled, with each step of a drag sent only when the program waits for input (as a hand goes
// on while the window follows). Also the native geometry of a window as the server has it, and
// screenshots of the screen (to VELMOR_FRAME_SCREENSHOTS/NAME.png when that names a directory).
//
// Include after gtest: Xlib's macros (None, Bool) collide with gtest's names.

#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>

#include <cstdlib>
#include <deque>
#include <functional>
#include <string>

#include "platform/clock/clock.h"
#include "platform/display/display.h"
#include "platform/gdi/png.h"
#include "platform/win/win.h"

namespace x11test {

class Hand {
  public:
    // `display` is the program's (X11) display; `clock` the manual clock the program runs on.
    Hand(display::Display& display, clk::ManualClock& clock) : disp_(display), clock_(clock) {
        probe_ = XOpenDisplay(nullptr);
        if (!probe_)
            return;
        // A run that ended in the middle of a drag leaves the server's button down: let it up.
        XTestFakeButtonEvent(probe_, 1, False, CurrentTime);
        XSync(probe_, False);
        win::SetIdleScript([this] {
            if (++idle_turns_ > 200)
                return false;  // a lost event fails the test instead of hanging it
            if (!steps_.empty()) {
                auto step = std::move(steps_.front());
                steps_.pop_front();
                step();
            }
            XSync(probe_, False);
            disp_.sync();
            return true;
        });
    }
    ~Hand() {
        win::SetIdleScript(nullptr);
        if (probe_)
            XCloseDisplay(probe_);
    }
    Hand(const Hand&) = delete;
    Hand& operator=(const Hand&) = delete;

    ::Display* probe() const { return probe_; }

    // Lets the server and the program catch up: a few round trips with pumping and painting.
    void settle() {
        for (int i = 0; i < 5; ++i) {
            XSync(probe_, False);
            disp_.sync();
            win::PumpPending();
            win::UpdateAllWindows();
        }
        idle_turns_ = 0;
    }
    void press(win::POINT p) {
        XTestFakeMotionEvent(probe_, -1, p.x, p.y, CurrentTime);
        XTestFakeButtonEvent(probe_, 1, True, CurrentTime);
    }
    void release(win::POINT p) {
        XTestFakeMotionEvent(probe_, -1, p.x, p.y, CurrentTime);
        XTestFakeButtonEvent(probe_, 1, False, CurrentTime);
        settle();
    }
    void move(win::POINT p) {
        XTestFakeMotionEvent(probe_, -1, p.x, p.y, CurrentTime);
        settle();
    }
    void click(win::POINT p) {
        press(p);
        release(p);
    }
    // Press, move in steps, release; then past the double-click time, so that the next press
    // is a press of its own.
    void drag(win::POINT from, win::POINT to, int steps = 4) {
        press(from);
        for (int i = 1; i <= steps; ++i) {
            const win::POINT p{from.x + (to.x - from.x) * i / steps,
                               from.y + (to.y - from.y) * i / steps};
            steps_.push_back(
                [this, p] { XTestFakeMotionEvent(probe_, -1, p.x, p.y, CurrentTime); });
        }
        steps_.push_back([this] { XTestFakeButtonEvent(probe_, 1, False, CurrentTime); });
        settle();
        // A press that began no drag (a maximized window's caption) leaves steps unsent.
        while (!steps_.empty()) {
            steps_.front()();
            steps_.pop_front();
        }
        settle();
        clock_.advance(1000);
    }
    // The native window's rectangle on the screen, as the server has it (empty when none).
    win::RECT native_rect(win::HWND h) {
        const ::Window xw = disp_.native_window(h);
        XWindowAttributes a{};
        if (!xw || !XGetWindowAttributes(probe_, xw, &a))
            return {};
        int x = 0, y = 0;
        ::Window child;
        XTranslateCoordinates(probe_, xw, DefaultRootWindow(probe_), 0, 0, &x, &y, &child);
        return win::RECT::from_xywh(x, y, a.width, a.height);
    }
    bool viewable(win::HWND h) {
        const ::Window xw = disp_.native_window(h);
        XWindowAttributes a{};
        return xw && XGetWindowAttributes(probe_, xw, &a) && a.map_state == IsViewable;
    }
    void screenshot(const char* name) {
        const char* dir = std::getenv("VELMOR_FRAME_SCREENSHOTS");
        if (!dir)
            return;
        const int w = DisplayWidth(probe_, DefaultScreen(probe_));
        const int h = DisplayHeight(probe_, DefaultScreen(probe_));
        XImage* img = XGetImage(probe_, DefaultRootWindow(probe_), 0, 0, static_cast<unsigned>(w),
                                static_cast<unsigned>(h), AllPlanes, ZPixmap);
        if (!img)
            return;
        gdi::Bitmap out(w, h);
        for (int y = 0; y < h; ++y) {
            for (int x = 0; x < w; ++x) {
                const unsigned long p = XGetPixel(img, x, y);
                out.set_color(x, y,
                              gdi::rgb(static_cast<uint8_t>(p >> 16), static_cast<uint8_t>(p >> 8),
                                       static_cast<uint8_t>(p)));
            }
        }
        XDestroyImage(img);
        gdi::write_png_file(std::string(dir) + "/" + name + ".png", out);
    }

  private:
    display::Display& disp_;
    clk::ManualClock& clock_;
    ::Display* probe_ = nullptr;
    int idle_turns_ = 0;
    std::deque<std::function<void()>> steps_;
};

}  // namespace x11test
