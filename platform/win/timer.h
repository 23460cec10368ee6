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

constexpr UINT USER_TIMER_MINIMUM = 10;

}  // namespace win
