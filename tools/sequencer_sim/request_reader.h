#pragma once

#include <optional>
#include <vector>

#include "protocol/frame.h"
#include "tools/sequencer_sim/sim_time.h"

namespace sequencer_sim {

// One piece taken off the line: a whole request frame, a frame whose check byte is wrong, or
// bytes that start no frame (line noise, or a frame left unfinished too long).
struct ReceivedPiece {
    protocol::Bytes bytes;
    std::optional<protocol::Request> request;  // set for an intact request frame only
};

// Cuts the byte stream from the console into request frames the way a device's receiver does:
// a frame starts with 0x55 (6 bytes) or 0x56 (38 bytes); any other byte where a frame should
// start is skipped; a frame whose bytes stop coming for longer than the gap time is thrown away,
// so that a lost byte costs one frame and not every frame after it. What a header byte starts
// that proves no frame (a bad check byte, or left unfinished) is thrown away up to the next
// header byte inside it, where reading goes on: a stray 0x55 or 0x56 costs no frame after it.
class RequestReader {
  public:
    explicit RequestReader(SimDuration gap = std::chrono::milliseconds(100)) : gap_(gap) {}

    void feed(const protocol::Byte* data, size_t size, SimTime now);
    // Everything complete by now, in arrival order.
    std::vector<ReceivedPiece> take(SimTime now);
    // When an unfinished frame will be thrown away, or nothing when none is waiting.
    std::optional<SimTime> deadline() const;
    void clear() { buffer_.clear(); }

  private:
    SimDuration gap_;
    protocol::Bytes buffer_;
    SimTime last_byte_{};
};

}  // namespace sequencer_sim
