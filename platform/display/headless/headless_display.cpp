#include "platform/display/headless/headless_display.h"

#include <poll.h>

namespace display {

void HeadlessDisplay::present(win::HWND, const gdi::Bitmap&, const win::RECT& dirty) {
    ++presents_;
    presented_pixels_ += static_cast<int64_t>(dirty.width()) * dirty.height();
}

void HeadlessDisplay::wait_events(int timeoutMs) {
    // Nothing can arrive from outside; without a timer there is nothing to wait for but a
    // signal, so sleep in long slices.
    poll(nullptr, 0, timeoutMs < 0 ? 1000 : timeoutMs);
}

}  // namespace display
