#include "platform/display/wait_set.h"
#include "platform/clock/wake_path.h"

#include <poll.h>
#include <sys/epoll.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>

#include "platform/win/descriptor_watch.h"

namespace display {

namespace {

// epoll_wait as the system call itself. The C library's wrapper lies far from the console's own
// code and reaches it through the program's call table and its thread block (for the
// cancellation point and errno): four pages of memory that each wake-up of the idle loop would
// touch for nothing, the loop being single-threaded and reading no errno. Returns the number of
// events, or a negative errno.
VELMOR_WAKE_CODE int wait_for_events(int epoll_fd, epoll_event* events, int max_events,
                                     int timeout_ms) {
#if defined(__x86_64__) && defined(__linux__)
    long result = SYS_epoll_wait;
    register long timeout asm("r10") = timeout_ms;
    asm volatile("syscall"
                 : "+a"(result)
                 : "D"(static_cast<long>(epoll_fd)), "S"(events),
                   "d"(static_cast<long>(max_events)), "r"(timeout)
                 : "rcx", "r11", "memory");
    return static_cast<int>(result);
#else
    const int n = epoll_wait(epoll_fd, events, max_events, timeout_ms);
    return n < 0 ? -errno : n;
#endif
}

// A further take of events failed after a full batch: what the descriptors not yet reported
// hold is not known, so all that are watched are reported, and their owners ask them. The
// descriptors are watched edge-triggered: an event taken and not reported would never come
// again. The error itself, if it lasts, fails the next wait's first take, which reports
// nothing. Rare, so kept out of the pages each wake-up of the idle loop touches.
[[gnu::cold, gnu::noinline]] void assume_every_watched_ready(std::vector<int>& ready,
                                                             const std::vector<int>& watched) {
    ready.assign(watched.begin(), watched.end());
}

}  // namespace

WaitSet::WaitSet(int display_fd) : display_fd_(display_fd) {
    epoll_fd_ = epoll_create1(EPOLL_CLOEXEC);
    if (epoll_fd_ < 0 || display_fd < 0)
        return;
    epoll_event ev{};
    ev.events = EPOLLIN;
    ev.data.fd = display_fd;
    if (epoll_ctl(epoll_fd_, EPOLL_CTL_ADD, display_fd, &ev) != 0) {
        close(epoll_fd_);
        epoll_fd_ = -1;
    }
}

WaitSet::~WaitSet() {
    if (epoll_fd_ >= 0)
        close(epoll_fd_);
}

bool WaitSet::watch(int fd, bool input) {
    if (epoll_fd_ < 0 || fd < 0 || fd == display_fd_)
        return false;
    epoll_event ev{};
    ev.events = EPOLLRDHUP | EPOLLET | (input ? EPOLLIN : 0u);
    ev.data.fd = fd;
    if (std::find(watched_.begin(), watched_.end(), fd) != watched_.end())
        return epoll_ctl(epoll_fd_, EPOLL_CTL_MOD, fd, &ev) == 0;
    if (epoll_ctl(epoll_fd_, EPOLL_CTL_ADD, fd, &ev) != 0)
        return false;
    watched_.push_back(fd);
    return true;
}

void WaitSet::unwatch(int fd) {
    auto it = std::find(watched_.begin(), watched_.end(), fd);
    if (it == watched_.end())
        return;
    watched_.erase(it);
    epoll_ctl(epoll_fd_, EPOLL_CTL_DEL, fd, nullptr);
}

VELMOR_WAKE_CODE bool WaitSet::wait(int timeout_ms) {
    if (epoll_fd_ < 0) {
        if (display_fd_ < 0)
            return poll(nullptr, 0, timeout_ms) > 0;
        pollfd p{display_fd_, POLLIN, 0};
        return poll(&p, 1, timeout_ms) > 0;
    }
    constexpr int kEvents = 8;
    epoll_event ev[kEvents];
    int n = wait_for_events(epoll_fd_, ev, kEvents, timeout_ms);
    if (n < 0)
        return false;  // a signal: nothing is known about the watched descriptors
    bool display_readable = false;
    ready_.clear();
    for (;;) {
        for (int i = 0; i < n; ++i) {
            if (ev[i].data.fd == display_fd_)
                display_readable = true;
            else
                ready_.push_back(ev[i].data.fd);
        }
        if (n < kEvents)
            break;
        // A full array may have left events behind; take them without waiting.
        n = wait_for_events(epoll_fd_, ev, kEvents, 0);
        if (n < 0) {
            // The events taken are gone from the set: they must be reported all the same.
            assume_every_watched_ready(ready_, watched_);
            break;
        }
    }
    if (!watched_.empty())
        win::NativeDescriptorsWaited(ready_);
    return display_readable;
}

}  // namespace display
