#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace devlink {

// The TCP port the Ethernet link connects to: 8080, the port of a sequencer's network
// interface, unless a test rig chose another one for this run.
inline constexpr uint16_t kSequencerTcpPort = 8080;
uint16_t TcpPort();
void SetTcpPort(uint16_t port);

// Takes "--tcp-port P" (also written "--tcp-port=P", P from 1 to 65535) out of a command line and
// makes P the link's port for this run. The texts shown stay the same. The other arguments are
// returned in their order; an option without a valid value is refused, `error` then names it.
struct TcpPortOptionResult {
    std::vector<std::string> rest;
    std::string error;
};
TcpPortOptionResult TakeTcpPortOption(const std::vector<std::string>& args);

}  // namespace devlink
