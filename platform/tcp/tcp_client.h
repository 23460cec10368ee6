#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "platform/tcp/host_resolver.h"
#include "platform/tcp/socket_watch.h"

namespace tcp {

// The outcome of a connect.
struct ConnectError {
    enum class Code { None, AlreadyConnected, HostNotFound, Refused, TimedOut, Failed };
    Code code = Code::None;
    int sys_error = 0;  // errno, where there is one
    std::string text;

    explicit operator bool() const { return code != Code::None; }
};

// What the connected test found.
enum class LinkState {
    NotConnected,
    Connected,
    Broken,  // the peer closed or the connection failed: an error; Disconnect to recover
};

// A TCP client over IPv4 in the manner of the console's socket component: every read takes only
// bytes that are already held, so nothing but connect and the short wait for data ever waits.
// Bytes that arrive are taken in by the connected test and by the wait, and held until read.
class TcpClient {
  public:
    TcpClient();
    ~TcpClient();
    TcpClient(const TcpClient&) = delete;
    TcpClient& operator=(const TcpClient&) = delete;

    void set_host(std::string host) { host_ = std::move(host); }
    void set_port(uint16_t port) { port_ = port; }
    void set_connect_timeout_ms(int ms) { connect_timeout_ms_ = ms; }
    // Replaces the name lookup (tests); the default is system_resolve.
    void set_resolver(Resolver resolver) { resolver_ = std::move(resolver); }
    // Lets `watch` (not owned; it must outlive the client or be replaced by nullptr first) tell
    // the connected test when the socket may have something, so that a quiet socket is not
    // asked. The connection open now, if any, is handed to it.
    void set_watch(SocketWatch* watch);
    const std::string& host() const { return host_; }
    uint16_t port() const { return port_; }

    // Opens the connection within the connect time-out. Dotted IPv4 addresses are used as they
    // are; other texts are looked up as host names.
    ConnectError Connect();

    // Whether the connection is up; takes in, without waiting, whatever has arrived. With a
    // watch the socket is asked only when the watch says something may have come; bytes that
    // arrived meanwhile wait in the socket for TakeIn or the next test that asks. A peer that
    // closed, or a failed socket, gives Broken until Disconnect.
    // Without a connection it answers at once, without a call: the receive loop asks 100 times
    // a second.
    LinkState Connected() { return fd_ < 0 ? LinkState::NotConnected : connected_test(); }
    // Whether a connection is open (up or broken), asking nothing.
    bool HasConnection() const { return fd_ >= 0; }
    // Whether the connection is up as far as anyone knows and its watch will report a hang-up
    // unasked: until the watch reports, every connected test would find it up.
    bool UpUnderWatch() const {
        return fd_ >= 0 && !broken_ && watch_ && watch_->reports_hang_up();
    }
    // Takes in whatever has arrived, without waiting, whatever a watch says; then as Connected.
    LinkState TakeIn();

    // Bytes taken in and not yet read.
    size_t HeldBytes() const { return held_.size(); }
    // Waits up to timeout_ms for more bytes from the socket and takes them in.
    void WaitForData(int timeout_ms = 10);
    // Removes and returns n held bytes (all held bytes when fewer are held).
    std::vector<uint8_t> Read(size_t n);
    // Removes as many held bytes as fit into `out` and copies them there; returns how many.
    size_t ReadInto(std::span<uint8_t> out);
    // Sends all bytes. Fails (and marks the connection broken) when the connection is broken
    // or not open, or when the peer takes none of the bytes for a second.
    bool Write(std::span<const uint8_t> bytes);
    // Closes the connection and forgets the held bytes; the connected test then reports
    // NotConnected. Returns false only if closing the socket failed.
    bool Disconnect();

    // Held bytes beyond this are left in the socket until some are read.
    static constexpr size_t kMaxHeld = 64 * 1024;

  private:
    // How far a take-in reads: until the socket answers that it has nothing more (the connected
    // test, which is there to find a hang-up), or until a read leaves room in the buffer (the
    // socket's queue is then empty, and the loop's wait still watches for a hang-up).
    enum class Drain { UntilDry, UntilShort };
    // Connected() with a connection open.
    LinkState connected_test();
    // Reads what the socket has without waiting; notes a closed or failed connection.
    void take_in(Drain drain = Drain::UntilDry);

    std::string host_;
    uint16_t port_ = 0;
    int connect_timeout_ms_ = 2000;
    Resolver resolver_;
    SocketWatch* watch_ = nullptr;
    int fd_ = -1;
    bool broken_ = false;
    std::vector<uint8_t> held_;
};

}  // namespace tcp
