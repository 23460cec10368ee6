#include "platform/serial/comm.h"

#include <fcntl.h>
#include <linux/serial.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <map>
#include <string>

#include "platform/serial/com_ports.h"

namespace serial {

namespace {

struct SpeedEntry {
    uint32_t baud;
    speed_t speed;
};

constexpr SpeedEntry kSpeeds[] = {
    {110, B110},       {300, B300},       {600, B600},       {1200, B1200},     {2400, B2400},
    {4800, B4800},     {9600, B9600},     {19200, B19200},   {38400, B38400},   {57600, B57600},
    {115200, B115200}, {230400, B230400}, {460800, B460800}, {921600, B921600},
};

bool speed_of(uint32_t baud, speed_t* speed) {
    for (const auto& e : kSpeeds) {
        if (e.baud == baud) {
            *speed = e.speed;
            return true;
        }
    }
    return false;
}

uint32_t baud_of(speed_t speed) {
    for (const auto& e : kSpeeds) {
        if (e.speed == speed) {
            return e.baud;
        }
    }
    return 0;
}

bool csize_of(uint8_t byte_size, tcflag_t* csize) {
    switch (byte_size) {
        case 5:
            *csize = CS5;
            return true;
        case 6:
            *csize = CS6;
            return true;
        case 7:
            *csize = CS7;
            return true;
        case 8:
            *csize = CS8;
            return true;
        default:
            return false;
    }
}

uint8_t byte_size_of(tcflag_t cflag) {
    switch (cflag & CSIZE) {
        case CS5:
            return 5;
        case CS6:
            return 6;
        case CS7:
            return 7;
        default:
            return 8;
    }
}

// Line-error counters last seen per handle, so that ClearCommError reports each error once.
std::map<HANDLE, serial_icounter_struct>& error_counters() {
    static std::map<HANDLE, serial_icounter_struct> counters;
    return counters;
}

}  // namespace

HANDLE CreateFileA(std::string_view name) {
    const auto n = com_port_number(name);
    if (!n) {
        errno = ENOENT;
        return INVALID_HANDLE_VALUE;
    }
    const std::string path = com_device_path(*n);
    // Non-blocking so that neither the open (modem lines) nor a read can wait.
    const int fd = ::open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        return INVALID_HANDLE_VALUE;
    }
    if (!isatty(fd) || flock(fd, LOCK_EX | LOCK_NB) != 0) {
        const int error = errno;
        ::close(fd);
        errno = error;
        return INVALID_HANDLE_VALUE;
    }
    ioctl(fd, TIOCEXCL);  // keeps out programs that do not take the lock (non-privileged ones)
    serial_icounter_struct counters{};
    if (ioctl(fd, TIOCGICOUNT, &counters) == 0) {
        error_counters()[fd] = counters;
    }
    return fd;
}

bool GetCommState(HANDLE h, DCB* dcb) {
    termios t{};
    if (dcb == nullptr || tcgetattr(h, &t) != 0) {
        return false;
    }
    dcb->BaudRate = baud_of(cfgetospeed(&t));
    dcb->ByteSize = byte_size_of(t.c_cflag);
    dcb->Parity = (t.c_cflag & PARENB) == 0   ? NOPARITY
                  : (t.c_cflag & PARODD) != 0 ? ODDPARITY
                                              : EVENPARITY;
    dcb->StopBits = (t.c_cflag & CSTOPB) != 0 ? TWOSTOPBITS : ONESTOPBIT;
    dcb->fBinary = true;
    dcb->fOutxCtsFlow = (t.c_cflag & CRTSCTS) != 0;
    dcb->fOutX = (t.c_iflag & IXON) != 0;
    dcb->fInX = (t.c_iflag & IXOFF) != 0;
    return true;
}

bool SetCommState(HANDLE h, const DCB& dcb) {
    termios t{};
    speed_t speed{};
    tcflag_t csize{};
    if (tcgetattr(h, &t) != 0 || !speed_of(dcb.BaudRate, &speed) ||
        !csize_of(dcb.ByteSize, &csize) || dcb.Parity > EVENPARITY ||
        (dcb.StopBits != ONESTOPBIT && dcb.StopBits != TWOSTOPBITS)) {
        return false;
    }
    // Raw bytes: no break or parity marking, no stripping or CR/NL translation on input, no
    // output processing, no echo, no line editing, no signals. Software flow control goes too:
    // the frames are binary and carry 0x11 and 0x13 as data (check bytes among them), which
    // XON/XOFF would swallow or take as a stop. Hardware flow control stays as it is.
    t.c_iflag &=
        ~(IGNBRK | BRKINT | PARMRK | ISTRIP | INLCR | IGNCR | ICRNL | IXON | IXOFF | IXANY);
    t.c_oflag &= ~OPOST;
    t.c_lflag &= ~(ECHO | ECHONL | ICANON | ISIG | IEXTEN);
    t.c_cflag &= ~(CSIZE | PARENB | PARODD | CSTOPB);
    t.c_cflag |= csize | CREAD | CLOCAL;
    if (dcb.Parity != NOPARITY) {
        t.c_cflag |= PARENB | (dcb.Parity == ODDPARITY ? PARODD : 0);
    }
    if (dcb.StopBits == TWOSTOPBITS) {
        t.c_cflag |= CSTOPB;
    }
    t.c_cc[VMIN] = 0;
    t.c_cc[VTIME] = 0;
    if (cfsetispeed(&t, speed) != 0 || cfsetospeed(&t, speed) != 0 ||
        tcsetattr(h, TCSANOW, &t) != 0) {
        return false;
    }
    // tcsetattr succeeds when any of the changes took; check that all of them did.
    DCB now;
    return GetCommState(h, &now) && now.BaudRate == dcb.BaudRate && now.ByteSize == dcb.ByteSize &&
           now.Parity == dcb.Parity && now.StopBits == dcb.StopBits;
}

bool ClearCommError(HANDLE h, uint32_t* errors, COMSTAT* stat) {
    if (errors != nullptr) {
        *errors = 0;
    }
    if (stat != nullptr) {
        *stat = {};
    }
    int in_queue = 0;
    if (ioctl(h, FIONREAD, &in_queue) != 0) {
        return false;
    }
    int out_queue = 0;
    if (ioctl(h, TIOCOUTQ, &out_queue) != 0) {
        out_queue = 0;
    }
    if (stat != nullptr) {
        stat->cbInQue = in_queue > 0 ? static_cast<uint32_t>(in_queue) : 0;
        stat->cbOutQue = out_queue > 0 ? static_cast<uint32_t>(out_queue) : 0;
    }
    // Real UARTs count line errors; a pseudo-terminal has none to report.
    serial_icounter_struct now{};
    const auto it = error_counters().find(h);
    if (it != error_counters().end() && ioctl(h, TIOCGICOUNT, &now) == 0) {
        uint32_t e = 0;
        if (now.overrun != it->second.overrun)
            e |= CE_OVERRUN;
        if (now.buf_overrun != it->second.buf_overrun)
            e |= CE_RXOVER;
        if (now.parity != it->second.parity)
            e |= CE_RXPARITY;
        if (now.frame != it->second.frame)
            e |= CE_FRAME;
        if (now.brk != it->second.brk)
            e |= CE_BREAK;
        it->second = now;  // cleared: each error is reported once
        if (errors != nullptr) {
            *errors = e;
        }
    }
    return true;
}

bool PurgeComm(HANDLE h, uint32_t flags) {
    const bool rx = (flags & PURGE_RXCLEAR) != 0;
    const bool tx = (flags & PURGE_TXCLEAR) != 0;
    if (!rx && !tx) {
        return isatty(h) != 0;
    }
    return tcflush(h, rx && tx ? TCIOFLUSH : rx ? TCIFLUSH : TCOFLUSH) == 0;
}

bool ReadFile(HANDLE h, void* buffer, size_t n, size_t* read) {
    size_t done = 0;
    bool ok = true;
    auto* out = static_cast<char*>(buffer);
    while (done < n) {
        const ssize_t r = ::read(h, out + done, n - done);
        if (r > 0) {
            done += static_cast<size_t>(r);
            continue;
        }
        if (r < 0 && errno == EINTR) {
            continue;
        }
        ok = r == 0 || errno == EAGAIN || errno == EWOULDBLOCK;
        break;  // nothing more waiting
    }
    if (read != nullptr) {
        *read = done;
    }
    return ok;
}

bool WriteFile(HANDLE h, const void* data, size_t n, size_t* written) {
    // A blocking wait inside this one call, bounded so that a stuck line cannot hang the
    // console; it measures real time on purpose (steady_clock), as it waits for the device.
    using Clock = std::chrono::steady_clock;
    constexpr auto kStall = std::chrono::milliseconds(1000);
    size_t done = 0;
    bool ok = true;
    auto deadline = Clock::now() + kStall;
    const auto* in = static_cast<const char*>(data);
    while (done < n) {
        const ssize_t r = ::write(h, in + done, n - done);
        if (r > 0) {
            done += static_cast<size_t>(r);
            deadline = Clock::now() + kStall;
            continue;
        }
        if (r < 0 && errno == EINTR) {
            continue;
        }
        if (r < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) {
            const auto left =
                std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
            pollfd p{h, POLLOUT, 0};
            if (left.count() > 0 && poll(&p, 1, static_cast<int>(left.count())) > 0 &&
                (p.revents & POLLOUT) != 0) {
                continue;
            }
        }
        ok = false;
        break;
    }
    if (written != nullptr) {
        *written = done;
    }
    return ok;
}

bool CloseHandle(HANDLE h) {
    if (h < 0) {
        return false;
    }
    error_counters().erase(h);
    // The terminal's exclusive mode outlives this descriptor when another one (a simulator's,
    // say) keeps the terminal open; give it up so that the port can be opened again.
    if (isatty(h) != 0) {
        ioctl(h, TIOCNXCL);
    }
    return ::close(h) == 0;
}

}  // namespace serial
