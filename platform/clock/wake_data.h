#pragma once

// Marks data that every wake-up of the idle message loop reads or writes (the window core's
// state with its timers, the clock's reader). The linker gathers everything so marked into one
// section of its own, so it shares a page of memory instead of lying among the program's other
// data, and a wake-up touches one page for it.
#define VELMOR_WAKE_DATA [[gnu::section("velmor_wake_data")]]
