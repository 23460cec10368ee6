#include "tools/sequencer_sim/fault_plan.h"

#include "protocol/replies.h"

namespace sequencer_sim {

uint64_t SeededRandom::next() {
    state_ += 0x9E3779B97F4A7C15ull;
    uint64_t z = state_;
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
}

bool SeededRandom::chance(int percent) {
    if (percent <= 0) {
        return false;
    }
    if (percent >= 100) {
        return true;
    }
    return next() % 100 < static_cast<uint64_t>(percent);
}

void FaultPlan::corrupt_check(protocol::Bytes& reply) {
    if (reply.size() > protocol::kAckSize) {
        reply.back() ^= 0xFF;
    }
}

protocol::Bytes FaultPlan::noise(size_t size) {
    protocol::Bytes out(size);
    for (auto& b : out) {
        b = static_cast<protocol::Byte>(random_.next() >> 56);
    }
    return out;
}

protocol::Bytes FaultPlan::apply(protocol::Bytes reply) {
    if (random_.chance(settings_.drop_percent)) {
        return {};
    }
    if (settings_.noise_reply_bytes > 0) {
        return noise(static_cast<size_t>(settings_.noise_reply_bytes));
    }
    if (random_.chance(settings_.corrupt_percent)) {
        corrupt_check(reply);
    }
    return reply;
}

}  // namespace sequencer_sim
