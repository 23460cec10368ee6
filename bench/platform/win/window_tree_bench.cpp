// Making and destroying a top-level window with N child windows (headless): the cost per
// window must not grow with N, or a form of a thousand controls takes long to close.
#include <benchmark/benchmark.h>

#include <string>

#include "platform/clock/clock.h"
#include "platform/display/display.h"
#include "platform/win/win.h"

namespace {

constexpr const char* kClass = "TreeBenchWindow";

void RegisterBenchClass() {
    win::WNDCLASS wc;
    wc.lpfnWndProc = &win::DefWindowProc;
    wc.hbrBackground = win::COLOR_BTNFACE + 1;
    wc.lpszClassName = kClass;
    win::RegisterClass(wc);
}

// One top-level window holding N children in rows of 16 panels of 4 children each, the shape of
// the console's pages.
win::HWND MakeTree(int n) {
    win::HWND top = win::CreateWindowEx(0, kClass, "Top", win::WS_POPUP | win::WS_VISIBLE, 0, 0,
                                        1265, 693, nullptr, nullptr, nullptr, nullptr);
    win::HWND group = nullptr;
    for (int i = 0; i < n; ++i) {
        if (i % 5 == 0) {
            group = win::CreateWindowEx(0, kClass, "", win::WS_CHILD | win::WS_VISIBLE,
                                        (i / 5) % 16 * 70, (i / 80) * 20, 70, 20, top, nullptr,
                                        nullptr, nullptr);
            continue;
        }
        win::CreateWindowEx(0, kClass, "", win::WS_CHILD | win::WS_VISIBLE, (i % 5) * 14, 0, 14, 20,
                            group, nullptr, nullptr, nullptr);
    }
    return top;
}

void WindowTreeDestroy(benchmark::State& state) {
    clk::ManualClock clock;
    clk::ScopedClock scoped(clock);
    std::string error;
    auto display = display::Open({}, &error);
    if (!display) {
        state.SkipWithError(error.c_str());
        return;
    }
    RegisterBenchClass();
    const int n = static_cast<int>(state.range(0));
    for (auto _ : state) {
        state.PauseTiming();
        win::HWND top = MakeTree(n);
        win::PumpPending();
        state.ResumeTiming();
        win::DestroyWindow(top);
    }
    state.counters["ns_per_window"] =
        benchmark::Counter(static_cast<double>(n) * static_cast<double>(state.iterations()),
                           benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}
BENCHMARK(WindowTreeDestroy)->Arg(250)->Arg(1000)->Arg(4000)->Unit(benchmark::kMicrosecond);

void WindowTreeCreate(benchmark::State& state) {
    clk::ManualClock clock;
    clk::ScopedClock scoped(clock);
    std::string error;
    auto display = display::Open({}, &error);
    if (!display) {
        state.SkipWithError(error.c_str());
        return;
    }
    RegisterBenchClass();
    const int n = static_cast<int>(state.range(0));
    for (auto _ : state) {
        win::HWND top = MakeTree(n);
        state.PauseTiming();
        win::DestroyWindow(top);
        win::PumpPending();
        state.ResumeTiming();
    }
    state.counters["ns_per_window"] =
        benchmark::Counter(static_cast<double>(n) * static_cast<double>(state.iterations()),
                           benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}
BENCHMARK(WindowTreeCreate)->Arg(250)->Arg(1000)->Arg(4000)->Unit(benchmark::kMicrosecond);

}  // namespace
