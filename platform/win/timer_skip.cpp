// Skipped timer ticks. A timer that ticks a hundred times a second only to count most of its
// ticks (the receive loop between two reads) need not wake the loop for the ones it counts: its
// owner says how many would only count, the loop sleeps through them, and the owner adds them
// up when it next runs. The skip keeps the timer's phase, so the tick after it comes exactly
// when it would have come.
#include <algorithm>
#include <utility>

#include "platform/clock/wake_path.h"
#include "platform/win/internal.h"
#include "platform/win/timer.h"

namespace win {

namespace detail {

VELMOR_WAKE_CODE void end_timer_skip(TimerEntry& timer, int64_t now) {
    if (!timer.skipping)
        return;
    const int64_t length = (timer.next_due - timer.skip_from) / timer.interval;
    const int64_t passed =
        now < timer.skip_from ? 0 : std::min(length, (now - timer.skip_from) / timer.interval + 1);
    timer.skipped += static_cast<UINT>(passed);
    timer.next_due = timer.skip_from + passed * timer.interval;
    timer.skipping = false;
}

void end_timer_skips() {
    const int64_t now = now_ms();
    for (TimerEntry& t : state().timers)
        end_timer_skip(t, now);
}

}  // namespace detail

VELMOR_WAKE_CODE bool SkipTimerTicks(HWND hwnd, UINT_PTR id, UINT ticks) {
    detail::TimerEntry* timer = detail::find_timer(hwnd, id);
    if (!timer)
        return false;
    detail::end_timer_skip(*timer, detail::now_ms());
    if (ticks == 0)
        return true;
    timer->skip_from = timer->next_due;
    timer->next_due += static_cast<int64_t>(ticks) * timer->interval;
    timer->skipping = true;
    return true;
}

VELMOR_WAKE_CODE UINT TakeSkippedTicks(HWND hwnd, UINT_PTR id) {
    detail::TimerEntry* timer = detail::find_timer(hwnd, id);
    if (!timer)
        return 0;
    detail::end_timer_skip(*timer, detail::now_ms());
    return std::exchange(timer->skipped, 0);
}

}  // namespace win
