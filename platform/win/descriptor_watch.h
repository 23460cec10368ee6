#pragma once

#include <span>

namespace win {

// A descriptor that the idle loop's wait watches beside the display's own, so that its owner
// learns from the wait whether anything may have come, instead of asking the descriptor itself
// at every turn of the loop (a system call that nearly always finds nothing). The display
// watches it edge-triggered for input and hang-up: each arrival is reported once, and a quiet
// descriptor never ends a wait by itself staying readable.
//
// may_have_input() is false only when the owner read the descriptor dry (drained()) and a wait
// of the loop has watched it since without anything arriving. Without a display that can watch
// (no display, the manual clock, which never waits) it stays true, and the owner asks as before.
class DescriptorWatch {
  public:
    DescriptorWatch() = default;
    ~DescriptorWatch();
    DescriptorWatch(const DescriptorWatch&) = delete;
    DescriptorWatch& operator=(const DescriptorWatch&) = delete;

    // Watches fd from now on, in place of any earlier one; -1 watches nothing. Call it with -1
    // before closing the descriptor.
    void watch(int fd);
    int fd() const { return fd_; }
    // Whether the display's wait watches the descriptor.
    bool watched() const { return watched_; }

    // Whether input or a hang-up may have come since the owner last read the descriptor dry.
    bool may_have_input() const { return state_ != State::Quiet; }
    // The owner has read everything the descriptor held.
    void drained() { state_ = State::Drained; }

    // For the window core: the display (re)takes or drops the watch.
    void set_watched(bool watched);
    // For the window core: a wait that watched the descriptor ended; `ready` whether it reported
    // input or a hang-up.
    void waited(bool ready);

  private:
    enum class State {
        Unknown,  // anything may have come: the owner asks the descriptor
        Drained,  // read dry, no wait has watched it since
        Quiet,    // read dry, and a wait since saw nothing come
    };
    int fd_ = -1;
    bool watched_ = false;
    State state_ = State::Unknown;
};

// Called by a display after each wait that watched every descriptor it took (see
// DisplayDriver::watch_descriptor): `ready` lists those on which input arrived or that hung up.
void NativeDescriptorsWaited(std::span<const int> ready);

}  // namespace win
