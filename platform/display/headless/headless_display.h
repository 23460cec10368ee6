#pragma once

#include "platform/display/display.h"
#include "platform/display/wait_set.h"

namespace display {

// Top-level windows live only in their backing bitmaps; input arrives through the injection
// entry points. Idle waits sleep until the next timer or until a watched descriptor (a device
// connection) gets input.
class HeadlessDisplay : public Display {
  public:
    explicit HeadlessDisplay(win::SIZE screen) : screen_(screen), waiter_(-1) {}
    Kind kind() const override { return Kind::Headless; }
    win::SIZE screen_size() const override { return screen_; }
    void present(win::HWND, const gdi::Bitmap&, const win::RECT& dirty) override;
    void process_events() override {}
    void wait_events(int timeoutMs) override;
    bool watch_descriptor(int fd, bool input) override { return waiter_.watch(fd, input); }
    void unwatch_descriptor(int fd) override { waiter_.unwatch(fd); }

  private:
    win::SIZE screen_;
    WaitSet waiter_;
};

}  // namespace display
