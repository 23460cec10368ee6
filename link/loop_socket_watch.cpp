#include "link/loop_socket_watch.h"

#include "platform/clock/wake_path.h"

namespace devlink {

void LoopSocketWatch::watch(int fd) {
    watch_.watch(fd, win::DescriptorWatch::Interest::HangUp);
}

// Asked by the receive loop's connected test at every tick while the link is open.
VELMOR_WAKE_CODE bool LoopSocketWatch::may_be_ready() const {
    return watch_.may_be_ready();
}

void LoopSocketWatch::drained() {
    watch_.drained();
}

VELMOR_WAKE_CODE bool LoopSocketWatch::reports_hang_up() const {
    return watch_.reports_unasked();
}

}  // namespace devlink
