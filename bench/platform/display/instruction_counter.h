#pragma once

#include <linux/perf_event.h>
#include <sys/ioctl.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <cstdint>
#include <cstring>

// Counts the user-space instructions this process retires (perf_event_open); unavailable in
// some sandboxes, then `ok()` is false and callgrind is the way to measure.
class InstructionCounter {
  public:
    InstructionCounter() {
        perf_event_attr a;
        std::memset(&a, 0, sizeof a);
        a.type = PERF_TYPE_HARDWARE;
        a.size = sizeof a;
        a.config = PERF_COUNT_HW_INSTRUCTIONS;
        a.disabled = 1;
        a.exclude_kernel = 1;
        a.exclude_hv = 1;
        fd_ = static_cast<int>(syscall(SYS_perf_event_open, &a, 0, -1, -1, 0));
    }
    ~InstructionCounter() {
        if (fd_ >= 0)
            close(fd_);
    }
    bool ok() const { return fd_ >= 0; }
    void start() {
        if (fd_ < 0)
            return;
        ioctl(fd_, PERF_EVENT_IOC_RESET, 0);
        ioctl(fd_, PERF_EVENT_IOC_ENABLE, 0);
    }
    int64_t stop() {
        if (fd_ < 0)
            return 0;
        ioctl(fd_, PERF_EVENT_IOC_DISABLE, 0);
        int64_t v = 0;
        if (read(fd_, &v, sizeof v) != sizeof v)
            return 0;
        return v;
    }

  private:
    int fd_ = -1;
};
