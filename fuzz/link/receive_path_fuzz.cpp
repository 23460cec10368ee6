// Any byte stream on either link, in pieces that arrive between the receive loop's reads, with
// settings and status requests sent in between: the console keeps running, reads every batch
// that arrived, writes only decimal IDs into the ID edit, and never answers with a frame.
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <stdlib.h>
#include <sys/socket.h>
#include <unistd.h>

#include <arpa/inet.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "forms/button.h"
#include "fuzz/link/fuzz_window.h"
#include "link/tcp_port.h"
#include "platform/serial/com_ports.h"
#include "protocol/requests.h"

namespace {

// The device end of both lines: a pseudo-terminal for COM1 and a loopback listener for TCP.
struct DeviceEnds {
    int pty = -1;
    int listener = -1;
    int client = -1;
    uint16_t port = 0;

    DeviceEnds() {
        pty = ::posix_openpt(O_RDWR | O_NOCTTY);
        ::grantpt(pty);
        ::unlockpt(pty);
        serial::set_com_mapping(1, ::ptsname(pty));
        listener = ::socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in a{};
        a.sin_family = AF_INET;
        a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        ::bind(listener, reinterpret_cast<sockaddr*>(&a), sizeof a);
        ::listen(listener, 2);
        socklen_t len = sizeof a;
        ::getsockname(listener, reinterpret_cast<sockaddr*>(&a), &len);
        port = ntohs(a.sin_port);
        devlink::SetTcpPort(port);
    }
    ~DeviceEnds() {
        for (int fd : {pty, listener, client})
            if (fd >= 0)
                ::close(fd);
    }
    // What the console wrote is read and thrown away, so no buffer ever fills.
    void Drain() {
        uint8_t buf[512];
        for (int fd : {pty, client}) {
            pollfd p{fd, POLLIN, 0};
            while (fd >= 0 && ::poll(&p, 1, 0) > 0 && ::read(fd, buf, sizeof buf) > 0) {
            }
        }
    }
};

struct Rig {
    link_fuzz::FuzzWindow window;
    DeviceEnds ends;
};

Rig& rig() {
    static Rig r;
    return r;
}

// Puts the chosen link in use (and the other one out of use).
void UseLink(Rig& r, bool serial_link) {
    if (serial_link) {
        if (Form1->IdTCPClient1.Connected() != tcp::LinkState::NotConnected)
            Form1->IdTCPClient1.Disconnect();
        if (Form1->SerialHandle == serial::INVALID_HANDLE_VALUE)
            Form1->Set_Serial(1);
        return;
    }
    if (Form1->SerialHandle != serial::INVALID_HANDLE_VALUE)
        Form1->SerialClose();
    if (Form1->IdTCPClient1.Connected() != tcp::LinkState::Connected) {
        Form1->IdTCPClient1.Disconnect();
        Form1->Ed_ip_address->SetText("127.0.0.1");
        if (Form1->ConnectEthernet())
            std::abort();
        if (r.ends.client >= 0)
            ::close(r.ends.client);
        r.ends.client = ::accept(r.ends.listener, nullptr, nullptr);
    }
}

// Waits (on the console's side of the line) until n bytes have come or a short time passed.
void AwaitArrival(bool serial_link, size_t n) {
    for (int i = 0; i < 50; ++i) {
        if (serial_link ? Form1->SerialBytesWaiting() >= n
                        : (Form1->IdTCPClient1.Connected() == tcp::LinkState::Connected &&
                           Form1->IdTCPClient1.HeldBytes() >= n))
            return;
        ::poll(nullptr, 0, 1);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0)
        return 0;
    Rig& r = rig();
    const bool serial_link = (data[0] & 1) != 0;
    UseLink(r, serial_link);
    Form1->Ed_conn_id->SetText(data[0] & 2 ? "3" : "");
    Form1->Ed_read_id->SetText("1");

    size_t at = 1;
    while (at < size) {
        const uint8_t head = data[at++];
        // Pieces of 0 to 63 bytes, or ten times that to reach the noise limits.
        size_t length = head & 0x3F;
        const bool repeat = (head & 0x40) != 0;
        const size_t take = std::min(length, size - at);
        std::vector<uint8_t> piece(data + at, data + at + take);
        at += take;
        if (repeat && !piece.empty()) {
            std::vector<uint8_t> longer;
            for (int i = 0; i < 10; ++i)
                longer.insert(longer.end(), piece.begin(), piece.end());
            piece.swap(longer);
        }
        if (head & 0x80)
            Form1->SendFrame(piece.size() % 2 ? protocol::ReadSettings(3)
                                              : protocol::PollStatus(3));
        const int fd = serial_link ? r.ends.pty : r.ends.client;
        if (!piece.empty() && fd >= 0 && ::write(fd, piece.data(), piece.size()) < 0)
            std::abort();
        AwaitArrival(serial_link, piece.size());
        // Long enough for a read at either rate.
        win::RunFor(210);
        r.ends.Drain();
        if (!link_fuzz::ShowsDecimalId(Form1->Ed_read_id->Text()))
            std::abort();
    }
    win::RunFor(2000);
    return 0;
}
