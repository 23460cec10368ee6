#pragma once

#include <span>

namespace win {

// A descriptor that the idle loop's wait watches beside the display's own, so that its owner
// learns from the wait whether anything may have come, instead of asking the descriptor itself
// at every turn of the loop (a system call that nearly always finds nothing). The display
// watches it edge-triggered for a hang-up and, when asked, for input: each event is reported
// once, and a descriptor whose bytes wait to be read never ends a wait by itself.
//
// may_be_ready() is false only when the owner took everything the descriptor had (drained())
// and a wait of the loop has watched it since without anything coming. Without a display that
// can watch (no display, the manual clock, which never waits) it stays true, and the owner asks
// as before.
class DescriptorWatch {
  public:
    enum class Interest {
        InputAndHangUp,  // every arrival of input ends a wait
        HangUp,          // only the peer hanging up or an error does; input is read when wanted
    };

    DescriptorWatch() = default;
    ~DescriptorWatch();
    DescriptorWatch(const DescriptorWatch&) = delete;
    DescriptorWatch& operator=(const DescriptorWatch&) = delete;

    // Watches fd from now on, in place of any earlier one; -1 watches nothing. Call it with -1
    // before closing the descriptor.
    void watch(int fd, Interest interest = Interest::InputAndHangUp);
    int fd() const { return fd_; }
    Interest interest() const { return interest_; }
    // Whether the display's wait watches the descriptor.
    bool watched() const { return watched_; }
    // Whether a wait of the loop will report what the watch looks for without anyone asking:
    // the display's wait watches it and the loop really waits (not under the manual clock).
    bool reports_unasked() const;

    // Whether what the watch looks for may have come since the owner last drained it.
    bool may_be_ready() const { return state_ != State::Quiet; }
    // The owner has taken everything the descriptor had (read it dry, or found no hang-up).
    void drained() { state_ = State::Drained; }

    // For the window core: the display (re)takes or drops the watch.
    void set_watched(bool watched);
    // For the window core: a wait that watched the descriptor ended; `ready` whether it reported
    // what the watch looks for.
    void waited(bool ready);

  private:
    enum class State {
        Unknown,  // anything may have come: the owner asks the descriptor
        Drained,  // read dry, no wait has watched it since
        Quiet,    // read dry, and a wait since saw nothing come
    };
    int fd_ = -1;
    Interest interest_ = Interest::InputAndHangUp;
    bool watched_ = false;
    State state_ = State::Unknown;
};

// Called by a display after each wait that watched every descriptor it took (see
// DisplayDriver::watch_descriptor): `ready` lists those that reported what they are watched for.
void NativeDescriptorsWaited(std::span<const int> ready);

}  // namespace win
