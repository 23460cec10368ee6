#pragma once

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <stdlib.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <cstdint>
#include <string>
#include <vector>

#include "app/main_form.h"
#include "forms/button.h"
#include "forms/combo_box.h"
#include "forms/edit.h"
#include "forms/status_bar.h"
#include "forms/timer.h"
#include "link/tcp_port.h"
#include "platform/serial/com_ports.h"
#include "tests/app/main_window_fixture.h"

namespace link_test {

using Bytes = std::vector<uint8_t>;
using SteadyClock = std::chrono::steady_clock;

// Waits on a descriptor (never on a timer) for bytes of the other process.
inline bool Readable(int fd, int ms) {
    pollfd p{fd, POLLIN, 0};
    return ::poll(&p, 1, ms) > 0;
}

// A pseudo-terminal pair: the console opens the terminal side through a COM mapping, the test
// plays the device on the controlling side.
class PtyLine {
  public:
    PtyLine() {
        master_ = ::posix_openpt(O_RDWR | O_NOCTTY);
        if (master_ >= 0 && ::grantpt(master_) == 0 && ::unlockpt(master_) == 0)
            path_ = ::ptsname(master_);
    }
    ~PtyLine() {
        if (master_ >= 0)
            ::close(master_);
    }
    PtyLine(const PtyLine&) = delete;
    PtyLine& operator=(const PtyLine&) = delete;
    const std::string& path() const { return path_; }

    Bytes Receive(size_t n, int ms = 2000) {
        Bytes out;
        while (out.size() < n && Readable(master_, ms)) {
            uint8_t buf[256];
            const ssize_t got = ::read(master_, buf, std::min(sizeof buf, n - out.size()));
            if (got <= 0)
                break;
            out.insert(out.end(), buf, buf + got);
        }
        return out;
    }
    void Send(const Bytes& bytes) {
        size_t done = 0;
        while (done < bytes.size()) {
            const ssize_t r = ::write(master_, bytes.data() + done, bytes.size() - done);
            if (r <= 0)
                break;
            done += static_cast<size_t>(r);
        }
    }

  private:
    int master_ = -1;
    std::string path_;
};

// A loopback TCP endpoint playing the device's network interface, one client at a time.
class LoopbackServer {
  public:
    LoopbackServer() {
        listen_fd_ = ::socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in a{};
        a.sin_family = AF_INET;
        a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        ::bind(listen_fd_, reinterpret_cast<sockaddr*>(&a), sizeof a);
        ::listen(listen_fd_, 4);
        socklen_t len = sizeof a;
        ::getsockname(listen_fd_, reinterpret_cast<sockaddr*>(&a), &len);
        port_ = ntohs(a.sin_port);
    }
    ~LoopbackServer() {
        Drop();
        ::close(listen_fd_);
    }
    LoopbackServer(const LoopbackServer&) = delete;
    LoopbackServer& operator=(const LoopbackServer&) = delete;
    uint16_t port() const { return port_; }

    // Takes the client the console connected (it is queued once connect returned).
    bool Accept(int ms = 2000) {
        if (!Readable(listen_fd_, ms))
            return false;
        Drop();
        client_fd_ = ::accept(listen_fd_, nullptr, nullptr);
        return client_fd_ >= 0;
    }
    Bytes Receive(size_t n, int ms = 2000) {
        Bytes out;
        while (out.size() < n && Readable(client_fd_, ms)) {
            uint8_t buf[256];
            const ssize_t got = ::recv(client_fd_, buf, std::min(sizeof buf, n - out.size()), 0);
            if (got <= 0)
                break;
            out.insert(out.end(), buf, buf + got);
        }
        return out;
    }
    void Send(const Bytes& bytes) { ::send(client_fd_, bytes.data(), bytes.size(), MSG_NOSIGNAL); }
    // Closes the console's connection from the device side, and waits (bounded) until the
    // console's end has taken the close: its acknowledgement of the end of the stream moves
    // this side out of FIN-WAIT-1 (or LAST-ACK, when the console had closed first).
    void Drop(int ms = 3000) {
        if (client_fd_ < 0)
            return;
        if (::shutdown(client_fd_, SHUT_WR) == 0) {
            const auto end = SteadyClock::now() + std::chrono::milliseconds(ms);
            while (SteadyClock::now() < end) {
                tcp_info info{};
                socklen_t len = sizeof info;
                if (::getsockopt(client_fd_, IPPROTO_TCP, TCP_INFO, &info, &len) != 0 ||
                    (info.tcpi_state != TCP_FIN_WAIT1 && info.tcpi_state != TCP_LAST_ACK))
                    break;
                ::poll(nullptr, 0, 1);
            }
        }
        ::close(client_fd_);
        client_fd_ = -1;
    }

  private:
    int listen_fd_ = -1;
    int client_fd_ = -1;
    uint16_t port_ = 0;
};

// A loopback port on which nothing listens.
inline uint16_t UnusedLoopbackPort() {
    LoopbackServer probe;
    return probe.port();
}

// The main window with the link's ports pointed at the test's own endpoints, and the two
// Device Setup edits the dispatcher uses.
class LinkWindowTest : public velmor_test::MainWindowTest {
  protected:
    void TearDown() override {
        serial::clear_com_mappings();
        devlink::SetTcpPort(devlink::kSequencerTcpPort);
        MainWindowTest::TearDown();
    }

    void StartLinkWindow() {
        StartWindow();
        AnswerBoxes();
        if (!Form1->Ed_read_id)
            Form1->Ed_read_id = new forms::TEdit(Form1);
        if (!Form1->Ed_conn_id)
            Form1->Ed_conn_id = new forms::TEdit(Form1);
    }

    // Connects the Ethernet link to a loopback port through the button.
    void ConnectTcp(uint16_t port) {
        devlink::SetTcpPort(port);
        Form1->Ed_ip_address->SetText("127.0.0.1");
        Form1->Bn_ip_conn->Click();
    }

    // Real-time wait (on the socket) until the TCP client holds n bytes.
    static bool WaitForHeld(size_t n, int ms = 3000) {
        const auto end = SteadyClock::now() + std::chrono::milliseconds(ms);
        while (SteadyClock::now() < end) {
            const tcp::LinkState state = Form1->IdTCPClient1.Connected();
            if (state != tcp::LinkState::NotConnected && Form1->IdTCPClient1.HeldBytes() >= n)
                return true;
            if (state != tcp::LinkState::Connected)
                return false;
            ::poll(nullptr, 0, 2);
        }
        return false;
    }
    // Real-time wait (on the port) until n bytes wait on the serial port.
    static bool WaitForSerial(size_t n, int ms = 3000) {
        const auto end = SteadyClock::now() + std::chrono::milliseconds(ms);
        while (SteadyClock::now() < end) {
            if (Form1->SerialBytesWaiting() >= n)
                return true;
            Readable(Form1->SerialHandle, 2);
            ::poll(nullptr, 0, 1);
        }
        return false;
    }

    static std::string Panel2() { return Form1->StatusBar1->Panels(2).Text(); }
    static constexpr const char* kSuccess = "Status:Data sent successfully";
    static constexpr const char* kFailure = "Status: Data sent failed";
};

}  // namespace link_test
