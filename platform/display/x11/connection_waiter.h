#pragma once

namespace display {

// Sleeps until the X connection is readable or a time-out passes. The connection's descriptor
// is registered once with an epoll set, so a wait costs the kernel no registration with the
// socket and none to undo afterwards, as each poll call would: the idle loop waits 100 times a
// second. Where epoll is not to be had it falls back to poll.
class ConnectionWaiter {
  public:
    explicit ConnectionWaiter(int connection_fd);
    ~ConnectionWaiter();
    ConnectionWaiter(const ConnectionWaiter&) = delete;
    ConnectionWaiter& operator=(const ConnectionWaiter&) = delete;

    // Waits up to timeout_ms (negative: without end); true when the connection is readable.
    bool wait(int timeout_ms);

  private:
    int connection_fd_;
    int epoll_fd_ = -1;
};

}  // namespace display
