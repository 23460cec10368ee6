#pragma once

#include <memory>
#include <string>
#include <unordered_map>

#include "platform/display/display.h"

namespace display {

// Each top-level window is a real X window: pop-ups without caption are override-redirect,
// owned windows are transient for their owner. The backing bitmap goes to the screen with
// MIT-SHM when the server offers it, else with XPutImage, only the dirty rectangle. X events
// become injected input and Native* notifications; the connection's file descriptor joins
// the idle wait.
class X11Display final : public Display {
  public:
    // Opens the connection; nullptr and a one-line reason when it cannot.
    static std::unique_ptr<X11Display> Connect(const std::string& name, std::string* error);
    ~X11Display() override;

    Kind kind() const override { return Kind::X11; }
    win::SIZE screen_size() const override;
    win::RECT work_area() const override;
    void window_created(win::HWND) override;
    void window_shown(win::HWND, bool visible) override;
    void window_moved(win::HWND, const win::RECT& screen) override;
    void window_text_changed(win::HWND, const std::string&) override;
    void window_activated(win::HWND) override;
    void window_minimized(win::HWND, bool minimized) override;
    void window_destroyed(win::HWND) override;
    void window_shaped(win::HWND, const gdi::Region* shape) override;
    gdi::Bitmap make_backing(win::HWND, int w, int h, gdi::Pixel fill) override;
    void present(win::HWND, const gdi::Bitmap&, const win::RECT& dirty) override;
    void process_events() override;
    void wait_events(int timeoutMs) override;
    bool watch_descriptor(int fd, bool input) override;
    void unwatch_descriptor(int fd) override;
    bool has_clipboard() const override;
    bool set_clipboard_text(const std::string& utf8) override;
    std::optional<std::string> clipboard_text() override;
    void sync() override;
    void finish() override;
    unsigned long native_window(win::HWND) const override;
    bool uses_shm() const;
    // Protocol errors the server reported for this connection's requests. They are noted, not
    // fatal: a window can go away on the server before a request about it arrives.
    int64_t x_errors() const;
    // How many times the connection has been read; a quiet turn of the loop reads nothing.
    int64_t socket_reads() const;

    struct Impl;

  private:
    explicit X11Display(std::unique_ptr<Impl> impl);
    std::unique_ptr<Impl> impl_;
};

}  // namespace display
