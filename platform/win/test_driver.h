#pragma once

#include <cstdint>
#include <functional>
#include <optional>

namespace win {

// Driving the message loop from tests and scripts, with the manual clock installed
// (clk::ScopedClock over a clk::ManualClock). Nothing here sleeps.

// Dispatches everything ready now: posted messages, injected input, paints, timers due at
// the present time, then presents. Returns how many messages were dispatched.
int PumpPending();

// Advances the manual clock by `ms`, stopping at each timer tick that falls due in that span
// (in time order, across all timers) and dispatching everything that becomes ready. Message
// loops that handlers start (a modal box) keep running in the same virtual time: they advance
// the clock to their next due tick as long as it lies within the span. Without a manual clock
// installed this only pumps.
void RunFor(int64_t ms);
inline void AdvanceTime(int64_t ms) {
    RunFor(ms);
}

// A script that a message loop calls when it is idle under the manual clock and nothing more
// falls due within the current span: it may inject input, close boxes, or advance time with
// RunFor. It returns false when it has nothing more to do. A nested loop that is idle with no
// script (or a script that returns false) throws std::runtime_error rather than hang.
void SetIdleScript(std::function<bool()> script);

// Idle waits so far (how often a loop had nothing to do and would have slept), for tests of
// the idle behaviour.
int64_t IdleWaitCount();

// The moment (clock milliseconds) an idle loop taking every message would wake for its timers
// under the real clock, or nothing without timers. A timer may be served up to a tenth of its
// interval late, so that timers of different phases share a wake-up; it keeps its phase.
std::optional<int64_t> NextTimerWakeTime();

// Whether PostQuitMessage was called and its WM_QUIT not yet retrieved (the pumps above stop
// at it and leave it pending); ClearQuit drops it.
bool QuitPosted(int* exitCode = nullptr);
void ClearQuit();

}  // namespace win
