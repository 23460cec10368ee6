#pragma once

#include <X11/Xlib.h>

#include <optional>
#include <string>

namespace display {

// The CLIPBOARD selection of an X display, for text. Setting the text makes this program the
// selection's owner, and it answers other programs' requests (TARGETS, UTF8_STRING, TEXT,
// STRING) until another program takes the selection. Reading asks the owner for UTF8_STRING (or
// STRING) and waits a short time for the answer; the program's own text is read without asking.
class X11Clipboard {
  public:
    X11Clipboard(::Display* dpy, ::Window root);
    ~X11Clipboard();
    X11Clipboard(const X11Clipboard&) = delete;
    X11Clipboard& operator=(const X11Clipboard&) = delete;

    bool set_text(const std::string& utf8);
    std::optional<std::string> text();
    // Handles the selection events meant for the clipboard; false for every other event.
    bool handle(const XEvent& ev);
    bool owned() const { return owned_; }

  private:
    void answer(const XSelectionRequestEvent& req);
    std::optional<std::string> request(Atom target, int timeout_ms);

    ::Display* dpy_;
    ::Window window_ = 0;
    Atom clipboard_ = 0, utf8_ = 0, targets_ = 0, text_ = 0, incr_ = 0, property_ = 0;
    std::string value_;
    bool owned_ = false;
};

}  // namespace display
