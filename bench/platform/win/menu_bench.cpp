// Opening a pop-up menu of ten items to its first frame on the headless display: the owner's
// notifications, the "#32768" window, the first paint and present, and closing again.
#include <benchmark/benchmark.h>

#include <string>

#include "platform/clock/clock.h"
#include "platform/display/display.h"
#include "platform/win/win.h"

namespace {

void PopupMenuToFirstFrame(benchmark::State& state) {
    clk::ManualClock clock;
    clk::ScopedClock scoped(clock);
    std::string error;
    auto display = display::Open({}, &error);
    if (!display) {
        state.SkipWithError(error.c_str());
        return;
    }
    win::WNDCLASS wc;
    wc.lpfnWndProc = &win::DefWindowProc;
    wc.hbrBackground = win::COLOR_BTNFACE + 1;
    wc.lpszClassName = "MenuBenchOwner";
    win::RegisterClass(wc);
    win::HWND owner = win::CreateWindowEx(0, "MenuBenchOwner", "Owner",
                                          win::WS_OVERLAPPEDWINDOW | win::WS_VISIBLE, 100, 100, 640,
                                          480, nullptr, nullptr, nullptr, nullptr);
    win::PumpPending();
    win::HMENU menu = win::CreatePopupMenu();
    for (int i = 0; i < 10; ++i) {
        const std::string text = "Item &" + std::to_string(i) + "\tCtrl+" + std::to_string(i);
        win::AppendMenu(menu, win::MF_STRING | (i == 3 ? win::MF_GRAYED : 0u), 100 + i,
                        text.c_str());
    }
    int64_t frames = 0;
    const int64_t presents_before = display->presents();
    // The loop goes idle once the menu's first frame is painted and presented: it closes then.
    win::SetIdleScript([&] {
        ++frames;
        return win::EndMenu();
    });
    for (auto _ : state)
        benchmark::DoNotOptimize(win::TrackPopupMenu(menu, win::TPM_RETURNCMD, 300, 200, 0, owner));
    win::SetIdleScript(nullptr);
    state.counters["frames_per_open"] =
        benchmark::Counter(static_cast<double>(frames) / static_cast<double>(state.iterations()));
    state.counters["presents_per_open"] =
        benchmark::Counter(static_cast<double>(display->presents() - presents_before) /
                           static_cast<double>(state.iterations()));
    win::DestroyMenu(menu);
    win::DestroyWindow(owner);
    win::PumpPending();
}
BENCHMARK(PopupMenuToFirstFrame)->Unit(benchmark::kMicrosecond);

}  // namespace
