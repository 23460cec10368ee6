#pragma once

#include <deque>
#include <optional>

#include "protocol/frame.h"
#include "tools/sequencer_sim/sim_time.h"

namespace sequencer_sim {

// The bytes waiting to go out on the line, in order. Each piece may ask for a pause after the
// piece before it has gone out. Unpaced, a piece is released whole as soon as it is due; paced,
// its bytes are released one by one at the pace of a 19200-baud line (10 bits a byte), each
// byte when it would have arrived whole.
class OutputQueue {
  public:
    static constexpr SimDuration kByteTime = std::chrono::microseconds(10'000'000 / 19200);

    explicit OutputQueue(bool paced) : paced_(paced) {}

    void push(protocol::Bytes bytes, SimTime now, SimDuration pause_before = {});
    // The bytes due for writing by now.
    protocol::Bytes take_due(SimTime now);
    // When the next byte falls due, or nothing when the queue is empty.
    std::optional<SimTime> next_due() const;
    bool empty() const { return pieces_.empty(); }
    void clear() { pieces_.clear(); }

  private:
    struct Piece {
        protocol::Bytes bytes;
        SimTime queued_at;
        SimDuration pause_before;
        std::optional<SimTime> started_at;
        size_t released = 0;
    };
    SimTime start_of(const Piece& p) const;

    bool paced_;
    std::deque<Piece> pieces_;
    SimTime line_free_{};  // when the last byte released so far has left the line
};

}  // namespace sequencer_sim
