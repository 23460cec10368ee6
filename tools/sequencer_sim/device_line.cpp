#include "tools/sequencer_sim/device_line.h"

namespace sequencer_sim {

DeviceLine::DeviceLine(const std::vector<Byte>& ids, double time_scale, bool all_answer)
    : all_answer_(all_answer) {
    devices_.reserve(ids.size());
    for (Byte id : ids) {
        devices_.emplace_back(id, time_scale);
    }
}

std::vector<Bytes> DeviceLine::handle(const protocol::Request& request, SimTime now) {
    // Decide who is addressed before anyone acts: a WriteId must not make a second device
    // answer to the ID the first one has just taken.
    std::vector<SimDevice*> addressed;
    for (auto& d : devices_) {
        if (d.addressed_by(request.device_id)) {
            addressed.push_back(&d);
        }
    }
    std::vector<Bytes> replies;
    for (SimDevice* d : addressed) {
        auto reply = d->handle(request, now);
        if (reply && (all_answer_ || replies.empty())) {
            replies.push_back(std::move(*reply));
        }
    }
    return replies;
}

void DeviceLine::advance(SimTime now) {
    for (auto& d : devices_) {
        d.advance(now);
    }
}

std::optional<SimTime> DeviceLine::next_step_time() const {
    std::optional<SimTime> next;
    for (const auto& d : devices_) {
        const auto t = d.next_step_time();
        if (t && (!next || *t < *next)) {
            next = t;
        }
    }
    return next;
}

Bytes DeviceLine::next_state_report(Byte code) {
    if (devices_.empty()) {
        return {};
    }
    const SimDevice& d = devices_[report_turn_ % devices_.size()];
    ++report_turn_;
    return d.state_report(code);
}

}  // namespace sequencer_sim
