#pragma once

#include <memory>
#include <string>

#include "platform/win/display_driver.h"

namespace display {

enum class Kind { Headless, X11 };

struct Options {
    Kind kind = Kind::Headless;
    // Headless: the screen size the windows see.
    win::SIZE screen{1280, 1024};
    // X11: the display name; empty means $DISPLAY.
    std::string x_display;
};

// A display driver with what the program and the tests need beyond the window system's
// interface.
class Display : public win::DisplayDriver {
  public:
    virtual Kind kind() const = 0;
    // Waits until the display has handled every request so far and takes the events that
    // resulted (X11: a round trip); headless: nothing to do.
    virtual void sync() {}
    // Waits until the display has handled every request of this program so far (X11: a round
    // trip, unless the last one sent has been answered already); headless: nothing to do.
    // Unlike sync(), events that other programs cause meanwhile are not waited for.
    virtual void finish() { sync(); }
    // The native window of a top-level window (X11 window id), 0 when there is none.
    virtual unsigned long native_window(win::HWND) const { return 0; }
    // How many present calls and pixels have been put on the screen (for benchmarks).
    int64_t presents() const { return presents_; }
    int64_t presented_pixels() const { return presented_pixels_; }

  protected:
    int64_t presents_ = 0;
    int64_t presented_pixels_ = 0;
};

// Opens the display and installs it as the window system's driver (removed again when the
// returned object is destroyed). On failure: nullptr and a one-line reason in *error.
std::unique_ptr<Display> Open(const Options& options, std::string* error);

// Screenshots through the PNG writer: a top-level window's bitmap, or the composed screen.
bool WriteWindowPng(win::HWND topLevel, const std::string& path, std::string* error = nullptr);
bool WriteScreenPng(const std::string& path, std::string* error = nullptr);

}  // namespace display
