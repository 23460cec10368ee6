#include "platform/tcp/tcp_client.h"

#include "platform/clock/wake_path.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <optional>

namespace tcp {

namespace {

// The connect and the write are blocking waits inside one call, bounded by real time: they wait
// for the network, not for the console's timers, so they measure with steady_clock directly.
using Clock = std::chrono::steady_clock;

int ms_left(Clock::time_point deadline) {
    const auto left =
        std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
    return left > 0 ? static_cast<int>(left) : 0;
}

ConnectError error(ConnectError::Code code, int sys_error, std::string text) {
    return {code, sys_error, std::move(text)};
}

}  // namespace

TcpClient::TcpClient() : resolver_(system_resolve) {}

TcpClient::~TcpClient() {
    Disconnect();
}

void TcpClient::set_watch(SocketWatch* watch) {
    if (watch_ && fd_ >= 0)
        watch_->watch(-1);
    watch_ = watch;
    if (watch_ && fd_ >= 0)
        watch_->watch(fd_);
}

ConnectError TcpClient::Connect() {
    if (fd_ >= 0) {
        return error(ConnectError::Code::AlreadyConnected, 0, "Already connected.");
    }
    const auto deadline = Clock::now() + std::chrono::milliseconds(connect_timeout_ms_);

    std::optional<in_addr> address = parse_dotted_ipv4(host_);
    if (!address && is_plausible_host_name(host_) && resolver_) {
        address = resolver_(host_, std::max(ms_left(deadline), 1));
    }
    if (!address) {
        return error(ConnectError::Code::HostNotFound, 0, "Host not found: " + host_);
    }

    const int fd = socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    if (fd < 0) {
        return error(ConnectError::Code::Failed, errno, std::strerror(errno));
    }
    sockaddr_in peer{};
    peer.sin_family = AF_INET;
    peer.sin_port = htons(port_);
    peer.sin_addr = *address;
    int result = ::connect(fd, reinterpret_cast<const sockaddr*>(&peer), sizeof peer);
    int sys_error = result == 0 ? 0 : errno;
    if (result != 0 && sys_error == EINPROGRESS) {
        for (;;) {
            pollfd p{fd, POLLOUT, 0};
            const int ready = poll(&p, 1, ms_left(deadline));
            if (ready < 0 && errno == EINTR) {
                continue;
            }
            if (ready <= 0) {
                ::close(fd);
                return error(ConnectError::Code::TimedOut, ETIMEDOUT, "Connect timed out.");
            }
            socklen_t len = sizeof sys_error;
            getsockopt(fd, SOL_SOCKET, SO_ERROR, &sys_error, &len);
            break;
        }
    }
    if (sys_error != 0) {
        ::close(fd);
        return error(
            sys_error == ECONNREFUSED ? ConnectError::Code::Refused : ConnectError::Code::Failed,
            sys_error, std::strerror(sys_error));
    }
    const int one = 1;
    setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &one, sizeof one);  // frames are tiny and urgent
    fd_ = fd;
    broken_ = false;
    held_.clear();
    if (watch_)
        watch_->watch(fd_);
    return {};
}

void TcpClient::take_in(Drain drain) {
    if (fd_ < 0 || broken_) {
        return;
    }
    uint8_t buffer[4096];
    while (held_.size() < kMaxHeld) {
        const size_t room = std::min(sizeof buffer, kMaxHeld - held_.size());
        const ssize_t r = recv(fd_, buffer, room, MSG_DONTWAIT);
        if (r > 0) {
            held_.insert(held_.end(), buffer, buffer + r);
            // A read that did not fill the room emptied the socket's queue. Asking again would
            // only hear EAGAIN; a hang-up queued behind these bytes is reported to the watch
            // by the loop's wait, so the watch keeps what it knows.
            if (drain == Drain::UntilShort && static_cast<size_t>(r) < room) {
                return;
            }
            continue;
        }
        if (r < 0 && errno == EINTR) {
            continue;
        }
        if (r < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) {
            if (watch_)
                watch_->drained();
            return;
        }
        broken_ = true;  // 0: the peer closed; < 0: the connection failed
        return;
    }
    // Stopped by the limit: the socket may hold more, so the watch is not told it is dry.
}

VELMOR_WAKE_CODE LinkState TcpClient::connected_test() {
    if (!watch_ || watch_->may_be_ready()) {
        take_in();
    }
    return broken_ ? LinkState::Broken : LinkState::Connected;
}

LinkState TcpClient::TakeIn() {
    if (fd_ < 0) {
        return LinkState::NotConnected;
    }
    take_in(Drain::UntilShort);
    return broken_ ? LinkState::Broken : LinkState::Connected;
}

void TcpClient::WaitForData(int timeout_ms) {
    if (fd_ < 0 || broken_) {
        return;
    }
    pollfd p{fd_, POLLIN, 0};
    if (poll(&p, 1, std::max(timeout_ms, 0)) > 0) {
        take_in(Drain::UntilShort);
    }
}

std::vector<uint8_t> TcpClient::Read(size_t n) {
    n = std::min(n, held_.size());
    std::vector<uint8_t> out(held_.begin(), held_.begin() + static_cast<ptrdiff_t>(n));
    held_.erase(held_.begin(), held_.begin() + static_cast<ptrdiff_t>(n));
    return out;
}

size_t TcpClient::ReadInto(std::span<uint8_t> out) {
    const size_t n = std::min(out.size(), held_.size());
    std::copy_n(held_.begin(), n, out.begin());
    held_.erase(held_.begin(), held_.begin() + static_cast<ptrdiff_t>(n));
    return n;
}

bool TcpClient::Write(std::span<const uint8_t> bytes) {
    if (fd_ < 0 || broken_) {
        return false;
    }
    // The second of a stall starts at the first send the socket refuses, and again after each
    // send it takes: a frame that goes out at once, as frames do, reads no clock.
    constexpr auto kStall = std::chrono::milliseconds(1000);
    std::optional<Clock::time_point> deadline;
    size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t r =
            send(fd_, bytes.data() + done, bytes.size() - done, MSG_NOSIGNAL | MSG_DONTWAIT);
        if (r > 0) {
            done += static_cast<size_t>(r);
            deadline.reset();
            continue;
        }
        if (r < 0 && errno == EINTR) {
            continue;
        }
        if (r < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) {
            if (!deadline)
                deadline = Clock::now() + kStall;
            pollfd p{fd_, POLLOUT, 0};
            if (poll(&p, 1, ms_left(*deadline)) > 0) {
                continue;
            }
        }
        broken_ = true;
        return false;
    }
    return true;
}

bool TcpClient::Disconnect() {
    held_.clear();
    broken_ = false;
    if (fd_ < 0) {
        return true;
    }
    const int fd = fd_;
    fd_ = -1;
    if (watch_)
        watch_->watch(-1);  // before the descriptor's number can be given to another
    return ::close(fd) == 0;
}

}  // namespace tcp
