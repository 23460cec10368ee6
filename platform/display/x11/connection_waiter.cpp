#include "platform/display/x11/connection_waiter.h"

#include <poll.h>
#include <sys/epoll.h>
#include <unistd.h>

namespace display {

ConnectionWaiter::ConnectionWaiter(int connection_fd) : connection_fd_(connection_fd) {
    epoll_fd_ = epoll_create1(EPOLL_CLOEXEC);
    if (epoll_fd_ < 0)
        return;
    epoll_event ev{};
    ev.events = EPOLLIN;
    ev.data.fd = connection_fd;
    if (epoll_ctl(epoll_fd_, EPOLL_CTL_ADD, connection_fd, &ev) != 0) {
        close(epoll_fd_);
        epoll_fd_ = -1;
    }
}

ConnectionWaiter::~ConnectionWaiter() {
    if (epoll_fd_ >= 0)
        close(epoll_fd_);
}

[[gnu::hot]] bool ConnectionWaiter::wait(int timeout_ms) {
    if (epoll_fd_ >= 0) {
        epoll_event ev{};
        return epoll_wait(epoll_fd_, &ev, 1, timeout_ms) > 0;
    }
    pollfd p{connection_fd_, POLLIN, 0};
    return poll(&p, 1, timeout_ms) > 0;
}

}  // namespace display
