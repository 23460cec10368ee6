#pragma once

#include <chrono>

namespace sequencer_sim {

// The simulator runs on the machine's steady clock; every part of the model takes the current
// time as an argument, so that the model itself can be driven with any time line.
using SimClock = std::chrono::steady_clock;
using SimTime = SimClock::time_point;
using SimDuration = SimClock::duration;

}  // namespace sequencer_sim
