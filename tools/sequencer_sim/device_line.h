#pragma once

#include <optional>
#include <vector>

#include "tools/sequencer_sim/sim_device.h"

namespace sequencer_sim {

// The devices sharing one line. Every device addressed by a request carries it out (ID 0
// addresses all of them), but only the first of them on the line answers, so that one request
// brings one reply: a real line of several devices answering at once would garble each other.
// With all_answer set every addressed device answers, one reply after the other.
class DeviceLine {
  public:
    DeviceLine(const std::vector<Byte>& ids, double time_scale, bool all_answer);

    // The replies to one request, in the order they go on the line.
    std::vector<Bytes> handle(const protocol::Request& request, SimTime now);

    void advance(SimTime now);
    std::optional<SimTime> next_step_time() const;

    // A StateReport from the next device in turn.
    Bytes next_state_report(Byte code);

    const std::vector<SimDevice>& devices() const { return devices_; }

  private:
    std::vector<SimDevice> devices_;
    bool all_answer_;
    size_t report_turn_ = 0;
};

}  // namespace sequencer_sim
