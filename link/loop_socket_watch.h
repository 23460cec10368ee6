#pragma once

#include "platform/tcp/socket_watch.h"
#include "platform/win/descriptor_watch.h"

namespace devlink {

// The Ethernet link's socket, watched by the message loop's wait: the receive loop's connected
// test runs 100 times a second, and asks the socket only when the wait saw something come or
// the peer hang up since it was last read dry.
class LoopSocketWatch final : public tcp::SocketWatch {
  public:
    void watch(int fd) override { watch_.watch(fd); }
    bool may_have_input() const override { return watch_.may_have_input(); }
    void drained() override { watch_.drained(); }

  private:
    win::DescriptorWatch watch_;
};

}  // namespace devlink
