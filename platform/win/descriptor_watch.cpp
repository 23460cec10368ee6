#include "platform/win/descriptor_watch.h"
#include "platform/clock/clock.h"
#include "platform/clock/wake_path.h"

#include <algorithm>

#include "platform/win/internal.h"

namespace win {

using detail::state;

namespace {

bool wants_input(DescriptorWatch::Interest interest) {
    return interest == DescriptorWatch::Interest::InputAndHangUp;
}

}  // namespace

DescriptorWatch::~DescriptorWatch() {
    watch(-1);
}

void DescriptorWatch::watch(int fd, Interest interest) {
    auto& s = state();
    auto& watches = s.descriptor_watches;
    if (fd_ >= 0) {
        if (watched_ && s.driver)
            s.driver->unwatch_descriptor(fd_);
        watches.erase(std::remove(watches.begin(), watches.end(), this), watches.end());
    }
    fd_ = fd;
    interest_ = interest;
    watched_ = false;
    state_ = State::Unknown;
    if (fd_ < 0)
        return;
    watches.push_back(this);
    watched_ = s.driver && s.driver->watch_descriptor(fd_, wants_input(interest_));
}

void DescriptorWatch::set_watched(bool watched) {
    watched_ = watched;
    state_ = State::Unknown;  // what came while nobody watched is not known
}

VELMOR_WAKE_CODE void DescriptorWatch::waited(bool ready) {
    if (ready)
        state_ = State::Unknown;
    else if (state_ == State::Drained)
        state_ = State::Quiet;
}

VELMOR_WAKE_CODE bool DescriptorWatch::reports_unasked() const {
    return watched_ && !clk::current_manual();
}

VELMOR_WAKE_CODE void NativeDescriptorsWaited(std::span<const int> ready) {
    for (DescriptorWatch* w : state().descriptor_watches) {
        if (w->watched())
            w->waited(std::find(ready.begin(), ready.end(), w->fd()) != ready.end());
    }
    // A timer's owner skips ticks only while nothing comes; its descriptor may have news now.
    if (!ready.empty())
        detail::end_timer_skips();
}

namespace detail {

void rewatch_descriptors(DisplayDriver* old_driver, DisplayDriver* new_driver) {
    for (DescriptorWatch* w : state().descriptor_watches) {
        if (w->watched() && old_driver)
            old_driver->unwatch_descriptor(w->fd());
        w->set_watched(new_driver &&
                       new_driver->watch_descriptor(w->fd(), wants_input(w->interest())));
    }
}

}  // namespace detail

}  // namespace win
