#pragma once

#include "platform/tcp/socket_watch.h"
#include "platform/win/descriptor_watch.h"

namespace devlink {

// The Ethernet link's socket, watched by the message loop's wait for a hang-up: the receive
// loop's connected test runs 100 times a second and asks the socket only when the wait saw the
// peer hang up (or the connection fail) since the socket was last read dry. Input is not
// watched: the loop takes in what came on its reading ticks (TakeIn), and a reply that ended a
// wait of its own would wake the loop ten times a second on the Real-time Control page only for
// it to sleep again.
class LoopSocketWatch final : public tcp::SocketWatch {
  public:
    void watch(int fd) override;
    bool may_be_ready() const override;
    void drained() override;
    bool reports_hang_up() const override;

  private:
    win::DescriptorWatch watch_;
};

}  // namespace devlink
