#pragma once

#include <vector>

namespace display {

// What a display's idle loop sleeps in: an epoll set that holds the display's own descriptor
// (the X connection; none for the headless display), level-triggered, and the descriptors the
// window core asks it to watch (win::DescriptorWatch), edge-triggered for a hang-up and, where
// asked, for input.
// Descriptors are registered once, so a wait costs the kernel no registration with each socket
// and none to undo afterwards, as each poll call would: the idle loop waits 100 times a second.
// Where epoll is not to be had it falls back to poll on the display's descriptor and watches
// nothing else.
class WaitSet {
  public:
    explicit WaitSet(int display_fd);
    ~WaitSet();
    WaitSet(const WaitSet&) = delete;
    WaitSet& operator=(const WaitSet&) = delete;

    // Waits up to timeout_ms (negative: without end); true when the display's descriptor is
    // readable. When the watched descriptors were waited on, the window core hears which of
    // them reported something (win::NativeDescriptorsWaited).
    bool wait(int timeout_ms);

    // Whether fd is now watched (for a hang-up; with `input` for input too).
    bool watch(int fd, bool input);
    void unwatch(int fd);

  private:
    int display_fd_;
    int epoll_fd_ = -1;
    std::vector<int> watched_;
    std::vector<int> ready_;
};

}  // namespace display
