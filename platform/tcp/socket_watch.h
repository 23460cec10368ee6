#pragma once

namespace tcp {

// Someone who watches the client's socket for it (the console's message loop, whose wait
// learns of every arrival and hang-up anyway), so that the connected test asks the socket only
// when something may have come. Without one the client asks at every test.
class SocketWatch {
  public:
    virtual ~SocketWatch() = default;
    // The socket of a new connection; -1 when the connection is closed (called before closing).
    virtual void watch(int fd) = 0;
    // Whether input or a hang-up may have come since the client last read the socket dry.
    virtual bool may_have_input() const = 0;
    // The client has read everything the socket held.
    virtual void drained() = 0;
};

}  // namespace tcp
