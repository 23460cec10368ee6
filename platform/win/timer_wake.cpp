// When an idle loop wakes for its timers. Timers that were started at different moments keep
// different phases: a 10 ms timer and a 100 ms timer started 3 ms apart would wake the loop 110
// times a second instead of 100. Each timer may therefore be served a little late, up to a tenth
// of its interval, so that it is taken in a wake-up that is due anyway. The late tick keeps the
// timer's phase (the next tick is due one interval after the one that was due, not after the
// late delivery), so every timer still ticks at its own interval, always the same few
// milliseconds behind; a timer that nothing else wakes for is served on time.
#include <algorithm>

#include "platform/clock/wake_path.h"
#include "platform/win/internal.h"
#include "platform/win/messages.h"
#include "platform/win/window.h"

namespace win::detail {

namespace {

VELMOR_WAKE_CODE bool takes_timers(UINT lo, UINT hi) {
    return (lo == 0 && hi == 0) || (WM_TIMER >= lo && WM_TIMER <= hi);
}

VELMOR_WAKE_CODE bool takes_timer_of(HWND filter, HWND timer_window) {
    return !filter || timer_window == filter || IsChild(filter, timer_window);
}

}  // namespace

VELMOR_WAKE_CODE UINT timer_slack(UINT interval) {
    return interval / 10;
}

VELMOR_WAKE_CODE std::optional<int64_t> timer_wake_time(HWND filter, UINT lo, UINT hi) {
    std::optional<int64_t> wake;
    if (!takes_timers(lo, hi))
        return wake;
    const auto& timers = state().timers;
    // The latest moment by which some timer would be later than its slack allows...
    std::optional<int64_t> latest;
    for (const auto& t : timers) {
        if (!takes_timer_of(filter, t.hwnd))
            continue;
        const int64_t limit = t.next_due + timer_slack(t.interval);
        if (!latest || limit < *latest)
            latest = limit;
    }
    if (!latest)
        return wake;
    // ...and the wake-up is the last due tick up to it: every timer due by then goes with it.
    for (const auto& t : timers) {
        if (!takes_timer_of(filter, t.hwnd) || t.next_due > *latest)
            continue;
        if (!wake || t.next_due > *wake)
            wake = t.next_due;
    }
    return wake;
}

}  // namespace win::detail
