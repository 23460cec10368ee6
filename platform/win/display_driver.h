#pragma once

#include <optional>
#include <string>

#include "platform/gdi/bitmap.h"
#include "platform/gdi/region.h"
#include "platform/win/types.h"

namespace win {

// What the windowing system asks of a display. One driver is installed at a time; without
// one, windows are composed in memory only (headless). The driver turns its own events into
// calls of the input entry points (InjectMouse, InjectKey) and of the Native* notifications
// below.
class DisplayDriver {
  public:
    virtual ~DisplayDriver() = default;

    // The screen size in pixels.
    virtual SIZE screen_size() const = 0;
    // The part of the screen that maximized windows fill; by default the whole screen.
    virtual RECT work_area() const {
        const SIZE s = screen_size();
        return {0, 0, s.cx, s.cy};
    }

    // Top-level window life: created (not yet shown), shown or hidden, moved or resized
    // (screen rectangle), caption text changed, activated by the program, destroyed.
    virtual void window_created(HWND) {}
    virtual void window_shown(HWND, bool /*visible*/) {}
    virtual void window_moved(HWND, const RECT& /*screen*/) {}
    virtual void window_text_changed(HWND, const std::string&) {}
    virtual void window_activated(HWND) {}
    virtual void window_minimized(HWND, bool /*minimized*/) {}
    virtual void window_destroyed(HWND) {}
    // The window region (SetWindowRgn) changed: `shape` in window coordinates, already limited
    // to the window's rectangle (it may be empty: nothing of the window shows), or nullptr for
    // the whole rectangle. A display shapes its native window with it, so that what lies under
    // the parts outside the region shows through.
    virtual void window_shaped(HWND, const gdi::Region* /*shape*/) {}

    // A backing bitmap of w x h filled with `fill` for a top-level window the driver was told
    // of. A display may hand out memory it presents from without copying; by default it is a
    // bitmap of its own.
    virtual gdi::Bitmap make_backing(HWND /*topLevel*/, int w, int h, gdi::Pixel fill) {
        return gdi::Bitmap(w, h, fill);
    }

    // Puts the dirty part (window coordinates) of a top-level window's backing bitmap on the
    // screen.
    virtual void present(HWND topLevel, const gdi::Bitmap& backing, const RECT& dirty) = 0;

    // Handles the events that are already there, without waiting.
    virtual void process_events() = 0;
    // Sleeps until an event arrives or timeoutMs passes (-1: no limit), then handles the
    // events. The loop calls this when it has nothing to do.
    virtual void wait_events(int timeoutMs) = 0;
    // Descriptors of others that wait_events watches beside the display's own
    // (DescriptorWatch): edge-triggered, for a hang-up and, with `input`, for input.
    // watch_descriptor says whether this display can; one that does calls
    // NativeDescriptorsWaited after each wait.
    virtual bool watch_descriptor(int /*fd*/, bool /*input*/) { return false; }
    virtual void unwatch_descriptor(int /*fd*/) {}
    // Wakes a wait_events from elsewhere (not needed on one thread; may do nothing).
    virtual void wake() {}
    // The display's clipboard, for text. A display without one leaves these alone and the
    // clipboard stays in the process's memory. set: whether the display took the text;
    // get: the text, nothing when it holds none; has_clipboard: whether these are real.
    virtual bool has_clipboard() const { return false; }
    virtual bool set_clipboard_text(const std::string& /*utf8*/) { return false; }
    virtual std::optional<std::string> clipboard_text() { return std::nullopt; }
};

// Installs the driver (not owned; nullptr removes it). Existing top-level windows are
// announced to the new driver.
void SetDisplayDriver(DisplayDriver* driver);
DisplayDriver* GetDisplayDriver();

// Notifications from the display about its native windows.
// The area (window coordinates) must be put on the screen again.
void NativeExpose(HWND topLevel, const RECT& area);
// The native window was moved or resized by the window manager (screen rectangle).
void NativeMoved(HWND topLevel, const RECT& screen);
// The native window got or lost the input focus.
void NativeFocus(HWND topLevel, bool focused);
// The user asked to close the native window: WM_SYSCOMMAND SC_CLOSE is posted.
void NativeCloseRequest(HWND topLevel);
// The window manager brought a minimized window back (from its task bar or icon):
// WM_SYSCOMMAND SC_RESTORE is posted, so the window restores as if its own frame had asked.
void NativeRestoreRequest(HWND topLevel);

}  // namespace win
