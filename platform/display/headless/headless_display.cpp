#include "platform/display/headless/headless_display.h"

namespace display {

void HeadlessDisplay::present(win::HWND, const gdi::Bitmap&, const win::RECT& dirty) {
    ++presents_;
    presented_pixels_ += static_cast<int64_t>(dirty.width()) * dirty.height();
}

void HeadlessDisplay::wait_events(int timeoutMs) {
    // Nothing of the display's own can arrive from outside; without a timer there is nothing to
    // wait for but a signal or a watched descriptor, so sleep in long slices.
    waiter_.wait(timeoutMs < 0 ? 1000 : timeoutMs);
}

}  // namespace display
