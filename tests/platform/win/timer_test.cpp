// Timers under the manual clock: ticks where the clock says, interval changes, nested loops.

#include <gmock/gmock.h>

#include <stdexcept>

#include "platform/win/descriptor_watch.h"
#include "test_support.h"

using namespace win;
using namespace wintest;

namespace {

struct Tick {
    int64_t at;
    UINT_PTR id;
    bool operator==(const Tick&) const = default;
};

std::vector<Tick> g_ticks;
clk::ManualClock* g_clock = nullptr;

LRESULT TickProc(HWND h, UINT m, WPARAM w, LPARAM l) {
    if (m == WM_TIMER) {
        g_ticks.push_back({g_clock->monotonic_ms(), w});
        return 0;
    }
    return DefWindowProc(h, m, w, l);
}

class Timers : public WinTest {
  protected:
    void SetUp() override {
        WinTest::SetUp();
        g_clock = &clock_;
        g_ticks.clear();
        h_ = top("T", WS_OVERLAPPED);
        SetWindowProc(h_, TickProc);
        t0_ = clock_.monotonic_ms();
    }
    std::vector<Tick> ticks_of(UINT_PTR id) const {
        std::vector<Tick> out;
        for (auto& t : g_ticks) {
            if (t.id == id)
                out.push_back({t.at - t0_, id});
        }
        return out;
    }
    HWND h_ = nullptr;
    int64_t t0_ = 0;
};

TEST_F(Timers, AdvancingDeliversExactlyTheTicksDueInTimeOrderAcrossTimers) {
    SetTimer(h_, 1, 100);
    SetTimer(h_, 2, 250);
    SetTimer(h_, 3, 300);
    RunFor(1000);
    EXPECT_EQ(ticks_of(1).size(), 10u);
    EXPECT_EQ(ticks_of(2).size(), 4u);
    EXPECT_EQ(ticks_of(3).size(), 3u);
    ASSERT_EQ(g_ticks.size(), 17u);
    for (size_t i = 1; i < g_ticks.size(); ++i)
        EXPECT_LE(g_ticks[i - 1].at, g_ticks[i].at);
    EXPECT_EQ(ticks_of(2)[0].at, 250);
    EXPECT_EQ(ticks_of(2)[3].at, 1000);
    // Each tick arrives at its own moment, not when the span ends.
    EXPECT_EQ(ticks_of(3)[1].at, 600);
    RunFor(99);
    EXPECT_EQ(ticks_of(1).size(), 10u) << "the next 100 ms tick is due at 1100";
    RunFor(1);
    EXPECT_EQ(ticks_of(1).size(), 11u);
}

TEST_F(Timers, ChangingTheIntervalRestartsThePeriodTheSameIntervalKeepsThePhase) {
    SetTimer(h_, 1, 100);
    RunFor(150);
    SetTimer(h_, 1, 100);  // same interval: phase kept, next at 200
    RunFor(60);
    ASSERT_EQ(ticks_of(1).size(), 2u);
    EXPECT_EQ(ticks_of(1)[1].at, 200);

    SetTimer(h_, 1, 200);  // at 210: restarts, next at 410
    RunFor(199);
    EXPECT_EQ(ticks_of(1).size(), 2u);
    RunFor(1);
    ASSERT_EQ(ticks_of(1).size(), 3u);
    EXPECT_EQ(ticks_of(1)[2].at, 410);
}

TEST_F(Timers, IntervalsBelowTenMillisecondsCountAsTen) {
    SetTimer(h_, 1, 0);
    RunFor(100);
    EXPECT_EQ(ticks_of(1).size(), 10u);
}

TEST_F(Timers, KilledTimersAndTimersOfDestroyedWindowsStop) {
    SetTimer(h_, 1, 100);
    SetTimer(h_, 2, 100);
    RunFor(100);
    EXPECT_TRUE(KillTimer(h_, 1));
    EXPECT_FALSE(KillTimer(h_, 1));
    RunFor(100);
    EXPECT_EQ(ticks_of(1).size(), 1u);
    EXPECT_EQ(ticks_of(2).size(), 2u);
    DestroyWindow(h_);
    RunFor(500);
    EXPECT_EQ(ticks_of(2).size(), 2u);
    EXPECT_EQ(SetTimer(h_, 3, 100), 0u) << "no timers for invalid windows";
}

TEST_F(Timers, TimerProceduresAndWindowlessTimers) {
    int calls = 0;
    UINT_PTR id = SetTimer(nullptr, 0, 50, [&](HWND hw, UINT msg, UINT_PTR tid, DWORD) {
        EXPECT_EQ(hw, nullptr);
        EXPECT_EQ(msg, WM_TIMER);
        EXPECT_NE(tid, 0u);
        ++calls;
    });
    ASSERT_NE(id, 0u);
    UINT_PTR other = SetTimer(nullptr, 0, 50, [](HWND, UINT, UINT_PTR, DWORD) {});
    EXPECT_NE(other, id) << "window-less timers get fresh ids";
    RunFor(200);
    EXPECT_EQ(calls, 4);
    KillTimer(nullptr, id);
    KillTimer(nullptr, other);
    RunFor(200);
    EXPECT_EQ(calls, 4);
}

// A plain callback takes the ticks in place of the window procedure; one that kills its own
// timer runs to its end and gets no further tick, and a procedure set later replaces it.
TEST_F(Timers, PlainCallbacksTakeTheTicksAndMayKillTheirOwnTimer) {
    struct Count {
        HWND window;
        int calls = 0;
        int stop_after = 0;
    };
    Count count{h_};
    auto callback = [](void* context) {
        auto* c = static_cast<Count*>(context);
        ++c->calls;
        if (c->calls == c->stop_after)
            KillTimer(c->window, 7);
    };
    ASSERT_EQ(SetTimer(h_, 7, 20, callback, &count), 7u);
    RunFor(100);
    EXPECT_EQ(count.calls, 5);
    EXPECT_TRUE(ticks_of(7).empty()) << "the window procedure saw no tick";

    count.stop_after = 7;
    RunFor(100);
    EXPECT_EQ(count.calls, 7);

    SetTimer(h_, 7, 20, callback, &count);
    SetTimer(h_, 7, 20);  // the same timer without a procedure: ticks go to the window again
    RunFor(40);
    EXPECT_EQ(count.calls, 7);
    EXPECT_EQ(ticks_of(7).size(), 2u);
}

// The first timers are kept in the window core's own page, the rest on the heap: a callback
// that adds timers while it runs moves the table from one to the other, and every timer keeps
// ticking at its interval through that, through kills and through adding timers anew.
TEST_F(Timers, ManyTimersAddedFromATickKeepTheirIntervals) {
    constexpr UINT_PTR kMany = 40;
    struct Adder {
        HWND window;
        int calls = 0;
    };
    Adder adder{h_};
    auto add_more = [](void* context) {
        auto* a = static_cast<Adder*>(context);
        if (++a->calls == 1) {
            for (UINT_PTR id = 100; id < 100 + kMany; ++id)
                SetTimer(a->window, id, 50);
        }
    };
    SetTimer(h_, 1, 10, add_more, &adder);
    for (UINT_PTR id = 2; id < 8; ++id)
        SetTimer(h_, id, 100);
    RunFor(1010);  // the 50 ms timers start at 10 ms: due at 60, 110, ... 1010
    EXPECT_EQ(adder.calls, 101);
    for (UINT_PTR id = 2; id < 8; ++id)
        EXPECT_EQ(ticks_of(id).size(), 10u) << id;
    for (UINT_PTR id = 100; id < 100 + kMany; ++id) {
        ASSERT_EQ(ticks_of(id).size(), 20u) << id;
        EXPECT_EQ(ticks_of(id).back().at, 1010);
    }

    for (UINT_PTR id = 100; id < 100 + kMany; id += 2)
        EXPECT_TRUE(KillTimer(h_, id));
    KillTimer(h_, 1);
    g_ticks.clear();
    SetTimer(h_, 9, 25);
    RunFor(100);
    EXPECT_EQ(ticks_of(9).size(), 4u);
    for (UINT_PTR id = 100; id < 100 + kMany; ++id)
        EXPECT_EQ(ticks_of(id).size(), id % 2 ? 2u : 0u) << id;
    EXPECT_EQ(adder.calls, 101) << "the killed callback timer stays quiet";
}

TEST_F(Timers, ALateLoopGetsOneTickNotABurst) {
    SetTimer(h_, 1, 10);
    clock_.advance(1000);  // the program was busy for a second
    PumpPending();
    EXPECT_EQ(ticks_of(1).size(), 1u);
    RunFor(10);
    EXPECT_EQ(ticks_of(1).size(), 2u);
}

// A modal loop started inside a handler keeps the ticks coming.
TEST_F(Timers, NestedLoopKeepsTimerTicksFlowing) {
    static bool modal_done = false;
    static int ticks_inside = 0;
    static bool inside = false;
    modal_done = false;
    ticks_inside = 0;
    SetWindowProc(h_, [](HWND h, UINT m, WPARAM w, LPARAM l) -> LRESULT {
        if (m == WM_TIMER && w == 1) {
            g_ticks.push_back({g_clock->monotonic_ms(), w});
            if (inside)
                ++ticks_inside;
            return 0;
        }
        if (m == WM_TIMER && w == 2) {
            modal_done = true;  // the "box" closes
            KillTimer(h, 2);
            return 0;
        }
        if (m == WM_USER) {
            inside = true;
            RunMessageLoop([] { return modal_done; });
            inside = false;
            return 0;
        }
        return DefWindowProc(h, m, w, l);
    });
    SetTimer(h_, 1, 10);
    SetTimer(h_, 2, 500);
    PostMessage(h_, WM_USER, 0, 0);
    RunFor(1000);
    EXPECT_TRUE(modal_done);
    EXPECT_EQ(ticks_inside, 50);
    EXPECT_EQ(ticks_of(1).size(), 100u);
    EXPECT_EQ(clock_.monotonic_ms() - t0_, 1000);
}

TEST_F(Timers, IdleScriptDrivesANestedLoopAndWithoutOneTheLoopFailsLoudly) {
    static bool closed = false;
    closed = false;
    SetWindowProc(h_, [](HWND h, UINT m, WPARAM w, LPARAM l) -> LRESULT {
        if (m == WM_USER) {
            RunMessageLoop([] { return closed; });
            return 1;
        }
        if (m == WM_USER + 1) {
            closed = true;
            return 0;
        }
        return DefWindowProc(h, m, w, l);
    });
    int script_calls = 0;
    SetIdleScript([&] {
        ++script_calls;
        PostMessage(h_, WM_USER + 1, 0, 0);  // "press OK"
        return true;
    });
    PostMessage(h_, WM_USER, 0, 0);
    PumpPending();
    EXPECT_TRUE(closed);
    EXPECT_EQ(script_calls, 1);

    SetIdleScript(nullptr);
    closed = false;
    EXPECT_THROW(SendMessage(h_, WM_USER, 0, 0), std::runtime_error);
}

}  // namespace

// Waking the loop as the real clock would: at each wake-up the timers due by then are served.
class TimerWakeUps : public Timers {
  protected:
    // Runs up to `span` ms and returns the wake-up times (relative to the start).
    std::vector<int64_t> wake_for(int64_t span) {
        std::vector<int64_t> wakes;
        for (;;) {
            auto w = NextTimerWakeTime();
            if (!w || *w - t0_ > span)
                return wakes;
            clock_.advance_to(*w);
            wakes.push_back(*w - t0_);
            PumpPending();
        }
    }
};

TEST_F(TimerWakeUps, TimersOfDifferentPhasesShareWakeUpsAndKeepTheirIntervals) {
    SetTimer(h_, 1, 10);
    clock_.advance(3);
    SetTimer(h_, 2, 100);  // due at 103, 203, ...: between two ticks of timer 1
    clock_.advance(4);
    SetTimer(h_, 3, 200);  // due at 207, 407, ...
    auto wakes = wake_for(1000);
    EXPECT_EQ(wakes.size(), 100u);  // one wake-up per tick of the 10 ms timer, no more
    for (size_t i = 0; i < wakes.size(); ++i)
        EXPECT_EQ(wakes[i], static_cast<int64_t>(10 * (i + 1)));
    auto t2 = ticks_of(2);
    auto t3 = ticks_of(3);
    ASSERT_EQ(t2.size(), 9u);
    ASSERT_EQ(t3.size(), 4u);
    for (size_t i = 0; i < t2.size(); ++i)
        EXPECT_EQ(t2[i].at, static_cast<int64_t>(103 + 100 * i + 7)) << i;
    for (size_t i = 0; i < t3.size(); ++i)
        EXPECT_EQ(t3[i].at, static_cast<int64_t>(207 + 200 * i + 3)) << i;
}

TEST_F(TimerWakeUps, ATimerWaitsForAnotherOnlyWithinATenthOfItsIntervalAndKeepsItsPhase) {
    SetTimer(h_, 1, 1000);
    EXPECT_EQ(wake_for(2000), (std::vector<int64_t>{1000, 2000}));  // alone: on time
    clock_.advance(150);
    SetTimer(h_, 2, 300);  // due at 2450, 2750, 3050, ...: 3050 is within 100 ms of 3000
    EXPECT_EQ(wake_for(4000), (std::vector<int64_t>{2450, 2750, 3050, 3350, 3650, 3950, 4000}));
    std::vector<int64_t> t1;
    for (const auto& t : ticks_of(1))
        t1.push_back(t.at);
    EXPECT_EQ(t1, (std::vector<int64_t>{1000, 2000, 3050, 4000}));
}

// An owner that knows its timer's next ticks would only be counted lets them pass: the loop
// does not wake for them, the tick after them comes at the timer's phase, and the owner learns
// how many passed when it asks.
TEST_F(TimerWakeUps, SkippedTicksWakeNothingKeepThePhaseAndAreCountedWhenTaken) {
    SetTimer(h_, 1, 10);
    SetTimer(h_, 2, 100);
    ASSERT_TRUE(SkipTimerTicks(h_, 1, 5));  // 10 to 50
    EXPECT_EQ(wake_for(100), (std::vector<int64_t>{60, 70, 80, 90, 100}));
    EXPECT_EQ(TakeSkippedTicks(h_, 1), 5u);
    EXPECT_EQ(TakeSkippedTicks(h_, 1), 0u);

    // Taken early, the ticks due by then count and the next one comes at the phase.
    SkipTimerTicks(h_, 1, 5);  // 110 to 150
    clock_.advance(25);
    EXPECT_EQ(TakeSkippedTicks(h_, 1), 2u);
    EXPECT_EQ(wake_for(140), (std::vector<int64_t>{130, 140}));

    // A new skip replaces a running one; what passed of the old one is kept for the owner.
    SkipTimerTicks(h_, 1, 3);  // 150 to 170
    clock_.advance(15);
    SkipTimerTicks(h_, 1, 2);  // 150 has passed; 160 and 170
    EXPECT_EQ(wake_for(200), (std::vector<int64_t>{180, 190, 200}));
    EXPECT_EQ(TakeSkippedTicks(h_, 1), 3u);
    std::vector<int64_t> delivered;
    for (const auto& t : ticks_of(1))
        delivered.push_back(t.at);
    EXPECT_EQ(delivered, (std::vector<int64_t>{60, 70, 80, 90, 100, 130, 140, 180, 190, 200}));
    EXPECT_EQ(ticks_of(2).size(), 2u) << "the other timer is not touched";

    // A new interval, or the timer killed, forgets the skip.
    SkipTimerTicks(h_, 1, 3);
    clock_.advance(15);
    SetTimer(h_, 1, 20);
    EXPECT_EQ(TakeSkippedTicks(h_, 1), 0u);
    EXPECT_EQ(NextTimerWakeTime(), t0_ + 235);
    KillTimer(h_, 1);
    EXPECT_FALSE(SkipTimerTicks(h_, 1, 1));
    EXPECT_EQ(TakeSkippedTicks(h_, 1), 0u);
}

// A wait that a watched descriptor ended may bring what the owners sleep through their ticks
// for; every skip ends there. A wait that saw nothing leaves them.
TEST_F(TimerWakeUps, AWaitThatAWatchedDescriptorEndsEndsEverySkip) {
    SetTimer(h_, 1, 10);
    SetTimer(h_, 2, 20);
    SkipTimerTicks(h_, 1, 10);  // next at 110
    SkipTimerTicks(h_, 2, 10);  // next at 220
    clock_.advance(25);
    NativeDescriptorsWaited({});
    EXPECT_EQ(NextTimerWakeTime(), t0_ + 110);
    const int ready[] = {5};
    NativeDescriptorsWaited(ready);
    EXPECT_EQ(NextTimerWakeTime(), t0_ + 30);
    EXPECT_EQ(TakeSkippedTicks(h_, 1), 2u);
    EXPECT_EQ(TakeSkippedTicks(h_, 2), 1u);
}

// A loop that comes late to the end of a skip, or takes the skipped ticks late: the owner counts
// the ticks it skipped and no more, the tick after them is delivered once, and the ticks missed
// after it are dropped as for any late timer.
TEST_F(TimerWakeUps, ALoopLateForTheEndOfASkipCountsTheSkipAndDropsWhatItMissedAfter) {
    SetTimer(h_, 1, 10);
    SkipTimerTicks(h_, 1, 5);  // 10 to 50
    clock_.advance(125);
    PumpPending();
    EXPECT_EQ(ticks_of(1).size(), 1u);
    EXPECT_EQ(TakeSkippedTicks(h_, 1), 5u);
    EXPECT_EQ(NextTimerWakeTime(), t0_ + 130);

    SkipTimerTicks(h_, 1, 5);  // 130 to 170
    clock_.advance(200);
    EXPECT_EQ(TakeSkippedTicks(h_, 1), 5u);
    PumpPending();
    EXPECT_EQ(ticks_of(1).size(), 2u);
    EXPECT_EQ(NextTimerWakeTime(), t0_ + 330);
}
