#include "tools/sequencer_sim/output_queue.h"

#include <algorithm>

namespace sequencer_sim {

void OutputQueue::push(protocol::Bytes bytes, SimTime now, SimDuration pause_before) {
    if (bytes.empty()) {
        return;
    }
    pieces_.push_back({std::move(bytes), now, pause_before, std::nullopt, 0});
}

SimTime OutputQueue::start_of(const Piece& p) const {
    if (p.started_at) {
        return *p.started_at;
    }
    return std::max(p.queued_at, line_free_) + p.pause_before;
}

protocol::Bytes OutputQueue::take_due(SimTime now) {
    protocol::Bytes out;
    while (!pieces_.empty()) {
        Piece& p = pieces_.front();
        const SimTime start = start_of(p);
        if (now < start) {
            break;
        }
        p.started_at = start;
        if (!paced_) {
            out.insert(out.end(), p.bytes.begin(), p.bytes.end());
            line_free_ = start;
            pieces_.pop_front();
            continue;
        }
        // Byte i has arrived whole (i + 1) byte times after the piece started.
        const auto elapsed = now - start;
        const size_t arrived = std::min(p.bytes.size(), static_cast<size_t>(elapsed / kByteTime));
        if (arrived > p.released) {
            out.insert(out.end(), p.bytes.begin() + static_cast<std::ptrdiff_t>(p.released),
                       p.bytes.begin() + static_cast<std::ptrdiff_t>(arrived));
            p.released = arrived;
            line_free_ = start + static_cast<int64_t>(arrived) * kByteTime;
        }
        if (p.released < p.bytes.size()) {
            break;
        }
        pieces_.pop_front();
    }
    return out;
}

std::optional<SimTime> OutputQueue::next_due() const {
    if (pieces_.empty()) {
        return std::nullopt;
    }
    const Piece& p = pieces_.front();
    const SimTime start = start_of(p);
    if (!paced_) {
        return start;
    }
    return start + static_cast<int64_t>(p.released + 1) * kByteTime;
}

}  // namespace sequencer_sim
