#pragma once

#include "platform/win/types.h"

namespace win {

// Starts or changes a timer. With a window, `id` names the timer of that window and is
// returned; without one, a fresh id is returned (unless `id` names an existing window-less
// timer). Calling again for the same timer with another interval restarts the period from
// now; with the same interval the tick phase is kept and only the procedure is replaced.
// Intervals below 10 ms count as 10 ms, as in Win32. Ticks are WM_TIMER messages retrieved
// when nothing else is pending; a timer has at most one tick waiting, and a late timer does
// not pile up ticks. Returns 0 for an invalid window.
UINT_PTR SetTimer(HWND hwnd, UINT_PTR id, UINT elapseMs, TIMERPROC proc = nullptr);
// The same with a plain procedure: each tick DispatchMessage hands over calls
// callback(context), with nothing to copy on the way (a timer object behind a timer that ticks
// a hundred times a second). The context must outlive the timer.
using TIMERCALLBACK = void (*)(void* context);
UINT_PTR SetTimer(HWND hwnd, UINT_PTR id, UINT elapseMs, TIMERCALLBACK callback, void* context);
bool KillTimer(HWND hwnd, UINT_PTR id);

// Lets the next `ticks` ticks of a timer pass undelivered, for an owner who knows that they
// would only be counted: the loop does not wake for them, and the tick after them comes at the
// timer's phase as if they had been delivered. TakeSkippedTicks ends the skip early (the next
// tick is then the first one due after now) and tells how many skipped ticks have passed since
// it was last asked; the owner counts them then. A wait that a watched descriptor ends
// (DescriptorWatch) ends every skip, so the owners look at the descriptor at their next tick.
// A skip set while one runs replaces it, its passed ticks kept for TakeSkippedTicks; killing the
// timer, or changing its interval, drops what was not taken. False for an unknown timer.
bool SkipTimerTicks(HWND hwnd, UINT_PTR id, UINT ticks);
UINT TakeSkippedTicks(HWND hwnd, UINT_PTR id);

constexpr UINT USER_TIMER_MINIMUM = 10;

}  // namespace win
