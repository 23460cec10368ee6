#pragma once

#include <cstdint>

#include "protocol/frame.h"

namespace sequencer_sim {

// Small deterministic generator (splitmix64), so that a seed gives the same faults on every
// machine and every run.
class SeededRandom {
  public:
    explicit SeededRandom(uint64_t seed) : state_(seed) {}
    uint64_t next();
    // True with the given chance in percent (0 never, 100 always).
    bool chance(int percent);

  private:
    uint64_t state_;
};

struct FaultSettings {
    int drop_percent = 0;       // share of replies never sent
    int corrupt_percent = 0;    // share of replies sent with a wrong check byte
    int noise_reply_bytes = 0;  // when > 0, every reply is replaced by this much line noise
};

// Decides, reply by reply, what the faults do to it. Draws from the generator only for the
// faults that are switched on, so adding a fault with share 0 changes nothing.
class FaultPlan {
  public:
    FaultPlan(const FaultSettings& settings, uint64_t seed) : settings_(settings), random_(seed) {}

    // The bytes that go out for a reply: nothing when it is dropped, noise in its place, or the
    // reply with its check byte spoiled.
    protocol::Bytes apply(protocol::Bytes reply);
    protocol::Bytes noise(size_t size);

    // Spoils the check byte (the last byte) of any reply but the Ack, which has none.
    static void corrupt_check(protocol::Bytes& reply);

  private:
    FaultSettings settings_;
    SeededRandom random_;
};

}  // namespace sequencer_sim
