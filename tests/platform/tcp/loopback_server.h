#pragma once

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cstdint>
#include <vector>

// A listening socket on 127.0.0.1 with an ephemeral port; the test accepts and talks by hand.
class LoopbackServer {
  public:
    explicit LoopbackServer(int backlog = 4) {
        listen_fd_ = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
        sockaddr_in a{};
        a.sin_family = AF_INET;
        a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        a.sin_port = 0;
        bind(listen_fd_, reinterpret_cast<sockaddr*>(&a), sizeof a);
        listen(listen_fd_, backlog);
        socklen_t len = sizeof a;
        getsockname(listen_fd_, reinterpret_cast<sockaddr*>(&a), &len);
        port_ = ntohs(a.sin_port);
    }
    ~LoopbackServer() {
        close_peer();
        if (listen_fd_ >= 0) {
            close(listen_fd_);
        }
    }
    LoopbackServer(const LoopbackServer&) = delete;
    LoopbackServer& operator=(const LoopbackServer&) = delete;

    uint16_t port() const { return port_; }
    int listen_fd() const { return listen_fd_; }

    bool accept_peer(int bound_ms = 2000) {
        pollfd p{listen_fd_, POLLIN, 0};
        if (poll(&p, 1, bound_ms) <= 0) {
            return false;
        }
        peer_ = accept(listen_fd_, nullptr, nullptr);
        return peer_ >= 0;
    }
    void send(const std::vector<uint8_t>& bytes) const {
        ::send(peer_, bytes.data(), bytes.size(), MSG_NOSIGNAL);
    }
    std::vector<uint8_t> receive(size_t n, int bound_ms = 2000) const {
        std::vector<uint8_t> out;
        while (out.size() < n) {
            pollfd p{peer_, POLLIN, 0};
            if (poll(&p, 1, bound_ms) <= 0) {
                break;
            }
            uint8_t buf[512];
            const ssize_t r = recv(peer_, buf, sizeof buf, 0);
            if (r <= 0) {
                break;
            }
            out.insert(out.end(), buf, buf + r);
        }
        return out;
    }
    // Closes the accepted connection; with reset, the peer sees a reset instead of an end.
    void close_peer(bool reset = false) {
        if (peer_ < 0) {
            return;
        }
        if (reset) {
            linger l{1, 0};
            setsockopt(peer_, SOL_SOCKET, SO_LINGER, &l, sizeof l);
        }
        close(peer_);
        peer_ = -1;
    }

  private:
    int listen_fd_ = -1;
    int peer_ = -1;
    uint16_t port_ = 0;
};
