#pragma once

#include <cstdint>
#include <string>

namespace sequencer_sim {

// A listening IPv4 TCP socket, non-blocking.
class TcpListener {
  public:
    TcpListener() = default;
    ~TcpListener();
    TcpListener(const TcpListener&) = delete;
    TcpListener& operator=(const TcpListener&) = delete;

    // Binds and listens; port 0 takes a free port. Returns an error text, empty on success.
    std::string listen_on(const std::string& host, uint16_t port);
    int fd() const { return fd_; }
    uint16_t bound_port() const { return port_; }
    // The next waiting client as a non-blocking socket, or -1.
    int accept_client();

  private:
    int fd_ = -1;
    uint16_t port_ = 0;
};

}  // namespace sequencer_sim
