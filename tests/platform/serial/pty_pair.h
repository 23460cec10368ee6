#pragma once

#include <fcntl.h>
#include <poll.h>
#include <stdlib.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

#include <string>
#include <vector>

// A pseudo-terminal pair: the test holds the master (the "device" end) and hands the slave's
// path to the port under test.
class PtyPair {
  public:
    PtyPair() {
        master_ = posix_openpt(O_RDWR | O_NOCTTY);
        if (master_ >= 0 && grantpt(master_) == 0 && unlockpt(master_) == 0) {
            slave_path_ = ptsname(master_);
        }
    }
    ~PtyPair() {
        if (master_ >= 0) {
            close(master_);
        }
    }
    PtyPair(const PtyPair&) = delete;
    PtyPair& operator=(const PtyPair&) = delete;

    bool ok() const { return master_ >= 0 && !slave_path_.empty(); }
    int master() const { return master_; }
    const std::string& slave_path() const { return slave_path_; }

    void send(const std::vector<uint8_t>& bytes) const {
        size_t done = 0;
        while (done < bytes.size()) {
            const ssize_t r = write(master_, bytes.data() + done, bytes.size() - done);
            if (r <= 0) {
                return;
            }
            done += static_cast<size_t>(r);
        }
    }

    // Reads from the master until n bytes came or nothing more arrives within the bound.
    std::vector<uint8_t> receive(size_t n, int bound_ms = 2000) const {
        std::vector<uint8_t> out;
        while (out.size() < n) {
            pollfd p{master_, POLLIN, 0};
            if (poll(&p, 1, bound_ms) <= 0) {
                break;
            }
            uint8_t buf[256];
            const ssize_t r = read(master_, buf, sizeof buf);
            if (r <= 0) {
                break;
            }
            out.insert(out.end(), buf, buf + r);
        }
        return out;
    }

  private:
    int master_ = -1;
    std::string slave_path_;
};

// Waits (bounded) until the terminal end `fd` reports at least n bytes waiting. The line
// discipline hands bytes over asynchronously, so a count taken right after a write may lag.
inline int wait_for_waiting(int fd, int n, int bound_ms = 2000) {
    int waiting = 0;
    for (int spent = 0; spent <= bound_ms; spent += 10) {
        if (ioctl(fd, FIONREAD, &waiting) == 0 && waiting >= n) {
            return waiting;
        }
        pollfd p{fd, POLLIN, 0};
        poll(&p, 1, 10);
    }
    return waiting;
}
