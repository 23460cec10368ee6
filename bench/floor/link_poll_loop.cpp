// The floor of the Real-time Control page at rest: the bare poll(10 ms) loop plus the least
// link traffic the page makes. It connects to a device (sequencer-sim) on 127.0.0.1:PORT and,
// every tenth tick, sends one PollStatus frame to the next of the devices 1 to 4; six ticks
// later it reads what came and, when something did, waits up to 10 ms for more on the socket,
// as the console's receive loop does. So per 100 ms: one send, one receive, one 10 ms wait on
// the socket, and nine bare 10 ms sleeps. Given a terminal's path (the simulator's --pty)
// instead of a port, it makes the serial link's least traffic: at the reading tick it asks
// how many bytes wait and reads them, as the receive loop does on a COM port, with no wait
// for more. Nothing is parsed or shown. scripts/idle_share.sh runs it beside the console
// against a simulator of its own.
#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/ioctl.h>
#include <sys/socket.h>
#include <termios.h>
#include <unistd.h>

#include <array>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <span>

#include "protocol/frame.h"
#include "protocol/requests.h"

namespace {

constexpr int kTicksPerPoll = 10;
constexpr int kReadTick = 6;
constexpr int kTickMs = 10;
constexpr int kDevices = 4;

// A connected TCP socket to the simulator on 127.0.0.1:port, or -1.
int ConnectTcp(long port) {
    const int fd = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(static_cast<uint16_t>(port));
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    if (fd < 0 || connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0)
        return -1;
    // The console's socket options: frames are tiny and go at once.
    const int one = 1;
    setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &one, sizeof one);
    return fd;
}

// The terminal at `path`, raw at the console's line settings (19200 8N1), or -1.
int OpenTerminal(const char* path) {
    const int fd = open(path, O_RDWR | O_NOCTTY | O_NONBLOCK);
    termios line{};
    if (fd < 0 || tcgetattr(fd, &line) != 0)
        return -1;
    cfmakeraw(&line);
    cfsetspeed(&line, B19200);
    return tcsetattr(fd, TCSANOW, &line) == 0 ? fd : -1;
}

}  // namespace

int main(int argc, char** argv) {
    const bool terminal = argc == 2 && argv[1][0] == '/';
    const long port = argc == 2 && !terminal ? std::strtol(argv[1], nullptr, 10) : 0;
    if (!terminal && (port <= 0 || port > 65535)) {
        std::fprintf(stderr, "usage: velmor-floor-link-loop PORT|TERMINAL_PATH\n");
        return 2;
    }
    const int fd = terminal ? OpenTerminal(argv[1]) : ConnectTcp(port);
    if (fd < 0) {
        std::perror(terminal ? "velmor-floor-link-loop: open" : "velmor-floor-link-loop: connect");
        return 1;
    }
    std::array<protocol::Byte, protocol::kMaxRequestFrameSize> frame{};
    std::array<uint8_t, 64> reply{};
    uint8_t device = 0;
    for (int tick = 1;; ++tick) {
        const int phase = tick % kTicksPerPoll;
        if (phase == 0) {
            device = static_cast<uint8_t>(device % kDevices + 1);
            const auto written = protocol::write_frame(protocol::PollStatus(device), frame);
            if (written &&
                (terminal ? write(fd, written->data(), written->size())
                          : send(fd, written->data(), written->size(), MSG_NOSIGNAL)) < 0)
                return 1;
        } else if (phase == kReadTick && terminal) {
            int waiting = 0;
            if (ioctl(fd, FIONREAD, &waiting) == 0 && waiting > 0 &&
                read(fd, reply.data(), reply.size()) < 0)
                return 1;
        } else if (phase == kReadTick) {
            const ssize_t got = recv(fd, reply.data(), reply.size(), MSG_DONTWAIT);
            if (got == 0)
                return 0;  // the simulator hung up
            if (got > 0) {
                pollfd more{fd, POLLIN, 0};
                poll(&more, 1, kTickMs);  // the wait for more bytes stands for this tick's sleep
                continue;
            }
        }
        poll(nullptr, 0, kTickMs);
    }
}
