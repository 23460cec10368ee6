#pragma once

#include "platform/display/display.h"

namespace display {

// Top-level windows live only in their backing bitmaps; input arrives through the injection
// entry points. Idle waits sleep until the next timer.
class HeadlessDisplay : public Display {
  public:
    explicit HeadlessDisplay(win::SIZE screen) : screen_(screen) {}
    Kind kind() const override { return Kind::Headless; }
    win::SIZE screen_size() const override { return screen_; }
    void present(win::HWND, const gdi::Bitmap&, const win::RECT& dirty) override;
    void process_events() override {}
    void wait_events(int timeoutMs) override;

  private:
    win::SIZE screen_;
};

}  // namespace display
