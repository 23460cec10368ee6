#pragma once

// What each wake-up of the idle message loop runs and reads is gathered by the linker, so that
// a wake-up touches as few pages of memory as it can: each page costs a TLB miss once the other
// programs of the machine have run, and an idle console wakes 100 times a second for its 10 ms
// receive timer.

// Data that every wake-up reads or writes (the window core's state with its timers, the clock's
// reader): one section of its own, so it shares a page instead of lying among the program's
// other data.
#define VELMOR_WAKE_DATA [[gnu::section("velmor_wake_data")]]

// The code of a quiet wake-up (the loop, the display's wait, the timers' dispatch, the clock and
// the receive loop's tick): the linker sorts these sections by name and lays them side by side
// after the hot code, the first (the message loop itself) on a page boundary, so the whole way
// of a quiet tick lies in two pages.
#define VELMOR_WAKE_CODE [[gnu::hot, gnu::section(".text.sorted.velmor_wake.1")]]
#define VELMOR_WAKE_CODE_FIRST \
    [[gnu::hot, gnu::aligned(4096), gnu::section(".text.sorted.velmor_wake.0")]]
