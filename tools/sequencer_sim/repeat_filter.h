#pragma once

#include "protocol/frame.h"
#include "tools/sequencer_sim/sim_time.h"

namespace sequencer_sim {

// The console sends each real-time command twice, 10 ms apart, and reads one batch after the
// second. A device that answered both would put two replies into that batch, which the console
// cannot recognise; so a device takes a frame equal to the one it last carried out, arriving
// within the window, as a repeat: it neither carries it out again nor answers it.
class RepeatFilter {
  public:
    explicit RepeatFilter(SimDuration window) : window_(window) {}

    // True when this frame is a repeat; otherwise remembers it as the last frame carried out.
    bool is_repeat(const protocol::Bytes& frame, SimTime now);
    void clear() { last_.clear(); }

  private:
    SimDuration window_;
    protocol::Bytes last_;
    SimTime last_at_{};
};

}  // namespace sequencer_sim
