#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "tools/velmor_ctl/ctl_invocation.h"

namespace ctl {

// What a read from the line found.
enum class ReadResult {
    Data,     // bytes were appended
    Nothing,  // nothing came within the wait
    Closed,   // the peer closed the connection (TCP) or the line failed
};

// The client's end of the line to the devices: the TCP connection or the serial port, through
// the platform's TCP client and serial interface.
class Line {
  public:
    virtual ~Line() = default;
    // Sends one whole frame; false when the line took it not.
    virtual bool Send(std::span<const uint8_t> frame) = 0;
    // Waits up to wait_ms for bytes and appends what arrived to *into.
    virtual ReadResult Read(std::vector<uint8_t>* into, int wait_ms) = 0;
    // Drops whatever has arrived and not been read (stale answers before a new request).
    virtual void Discard() = 0;
};

struct OpenedLine {
    std::unique_ptr<Line> line;
    std::string error;  // why the link could not be opened, when line is null
};

// Opens the link: connects within the time-out (at least the console's 2000 ms for TCP), or
// opens the serial device at 19200 baud, 8 data bits, no parity, one stop bit.
OpenedLine OpenLine(const LinkTarget& target, int timeout_ms);

}  // namespace ctl
