#pragma once

namespace tcp {

// Someone who watches the client's socket for it (the console's message loop, whose wait learns
// of a hang-up without asking the socket), so that the connected test asks the socket only when
// something may have come. Without one the client asks at every test.
class SocketWatch {
  public:
    virtual ~SocketWatch() = default;
    // The socket of a new connection; -1 when the connection is closed (called before closing).
    virtual void watch(int fd) = 0;
    // Whether what the watch looks for (a hang-up or an error; input too, if it watches for
    // that) may have come since the client last drained the socket.
    virtual bool may_be_ready() const = 0;
    // The client has read the socket dry.
    virtual void drained() = 0;
    // Whether a hang-up ends a wait of the loop by itself (the wait watches the socket), so
    // that nothing needs to ask until the wait has reported one.
    virtual bool reports_hang_up() const = 0;
};

}  // namespace tcp
