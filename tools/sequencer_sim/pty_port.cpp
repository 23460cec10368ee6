#include "tools/sequencer_sim/pty_port.h"

#include <fcntl.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>

namespace sequencer_sim {

PtyPort::~PtyPort() {
    close();
}

void PtyPort::close() {
    if (master_ >= 0) {
        ::close(master_);
        master_ = -1;
    }
    if (slave_ >= 0) {
        ::close(slave_);
        slave_ = -1;
    }
}

int PtyPort::unread_bytes() const {
    int n = 0;
    if (slave_ < 0 || ::ioctl(slave_, FIONREAD, &n) != 0) {
        return 0;
    }
    return n;
}

std::string PtyPort::open() {
    master_ = ::posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (master_ < 0) {
        return std::string("posix_openpt: ") + std::strerror(errno);
    }
    if (::grantpt(master_) != 0 || ::unlockpt(master_) != 0) {
        return std::string("grantpt/unlockpt: ") + std::strerror(errno);
    }
    const char* name = ::ptsname(master_);
    if (!name) {
        return std::string("ptsname: ") + std::strerror(errno);
    }
    path_ = name;
    slave_ = ::open(path_.c_str(), O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (slave_ < 0) {
        return "open " + path_ + ": " + std::strerror(errno);
    }
    termios tio{};
    if (::tcgetattr(slave_, &tio) == 0) {
        ::cfmakeraw(&tio);
        ::cfsetispeed(&tio, B19200);
        ::cfsetospeed(&tio, B19200);
        ::tcsetattr(slave_, TCSANOW, &tio);
    }
    const int flags = ::fcntl(master_, F_GETFL);
    ::fcntl(master_, F_SETFL, flags | O_NONBLOCK);
    return {};
}

}  // namespace sequencer_sim
