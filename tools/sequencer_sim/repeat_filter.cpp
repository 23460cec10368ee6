#include "tools/sequencer_sim/repeat_filter.h"

namespace sequencer_sim {

bool RepeatFilter::is_repeat(const protocol::Bytes& frame, SimTime now) {
    if (window_ > SimDuration::zero() && frame == last_ && now - last_at_ <= window_) {
        return true;
    }
    last_ = frame;
    last_at_ = now;
    return false;
}

}  // namespace sequencer_sim
