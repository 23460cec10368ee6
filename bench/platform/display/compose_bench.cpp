// Figures of the window system against the budgets of an operator's console: composing and
// presenting a 1265 x 693 window of a few hundred child windows, start-up to the first frame,
// the idle loop's CPU share, resident memory; with DISPLAY set also presenting through X11.

#include <benchmark/benchmark.h>
#include <poll.h>
#include <sys/resource.h>

#include <chrono>
#include <cstdlib>
#include <fstream>
#include <string>

#include "demo_scene.h"
#include "instruction_counter.h"
#include "platform/display/display.h"
#include "platform/win/win.h"

using namespace win;

namespace {

constexpr int kControls = 242;

// The scene's frame posts WM_QUIT when destroyed; drop it so the next loop runs.
void tear_down(const demo::Scene& s) {
    DestroyWindow(s.frame);
    PumpPending();
    ClearQuit();
}

double resident_mb() {
    std::ifstream f("/proc/self/status");
    std::string line;
    while (std::getline(f, line)) {
        if (line.rfind("VmRSS:", 0) == 0)
            return std::stod(line.substr(6)) / 1024.0;
    }
    return 0;
}

double cpu_seconds() {
    rusage u{};
    getrusage(RUSAGE_SELF, &u);
    return static_cast<double>(u.ru_utime.tv_sec + u.ru_stime.tv_sec) +
           static_cast<double>(u.ru_utime.tv_usec + u.ru_stime.tv_usec) / 1e6;
}

std::unique_ptr<display::Display> open(display::Kind kind) {
    display::Options o;
    o.kind = kind;
    std::string err;
    return display::Open(o, &err);
}

void BM_ComposeAndPresentFullWindow(benchmark::State& state) {
    auto disp = open(display::Kind::Headless);
    demo::Scene s = demo::Build(kControls);
    UpdateAllWindows();
    InstructionCounter ic;
    int64_t instructions = 0;
    for (auto _ : state) {
        ic.start();
        demo::RepaintFully(s);
        instructions += ic.stop();
    }
    state.counters["controls"] = s.controls;
    if (ic.ok())
        state.counters["instructions"] = static_cast<double>(instructions) / state.iterations();
    tear_down(s);
}
BENCHMARK(BM_ComposeAndPresentFullWindow)->Unit(benchmark::kMillisecond);

void BM_RepaintOneLabel(benchmark::State& state) {
    auto disp = open(display::Kind::Headless);
    demo::Scene s = demo::Build(kControls);
    UpdateAllWindows();
    int n = 0;
    for (auto _ : state) {
        demo::SetCounter(s, ++n);
        UpdateAllWindows();
    }
    tear_down(s);
}
BENCHMARK(BM_RepaintOneLabel)->Unit(benchmark::kMicrosecond);

void BM_StartupToFirstFrame(benchmark::State& state) {
    auto disp = open(display::Kind::Headless);
    for (auto _ : state) {
        demo::Scene s = demo::Build(kControls);
        UpdateAllWindows();
        state.PauseTiming();
        tear_down(s);
        state.ResumeTiming();
    }
}
BENCHMARK(BM_StartupToFirstFrame)->Unit(benchmark::kMillisecond);

void BM_ResidentMemory(benchmark::State& state) {
    auto disp = open(display::Kind::Headless);
    demo::Scene s = demo::Build(kControls);
    UpdateAllWindows();
    for (auto _ : state)
        benchmark::DoNotOptimize(resident_mb());
    state.counters["resident_MB"] = resident_mb();
    tear_down(s);
}
BENCHMARK(BM_ResidentMemory)->Iterations(1);

// The real message loop, idle but for a 10 ms timer and two slower ones, for three seconds.
void BM_IdleLoopCpuShare(benchmark::State& state) {
    auto disp = open(display::Kind::Headless);
    demo::Scene s = demo::Build(kControls);
    UpdateAllWindows();
    static int ticks = 0;
    ticks = 0;
    double share = 0;
    for (auto _ : state) {
        SetTimer(s.frame, 1, 10, [](HWND, UINT, UINT_PTR, DWORD) { ++ticks; });
        SetTimer(s.frame, 2, 100, [](HWND, UINT, UINT_PTR, DWORD) {});
        SetTimer(s.frame, 3, 1000, [](HWND, UINT, UINT_PTR, DWORD) {});
        bool done = false;
        SetTimer(s.frame, 4, 3000, [&](HWND, UINT, UINT_PTR, DWORD) { done = true; });
        const int64_t w0 = IdleWaitCount();
        const double c0 = cpu_seconds();
        const auto t0 = std::chrono::steady_clock::now();
        RunMessageLoop([&] { return done; });
        const double wall =
            std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
        share = 100.0 * (cpu_seconds() - c0) / wall;
        state.counters["idle_waits"] = static_cast<double>(IdleWaitCount() - w0);
        for (UINT_PTR id = 1; id <= 4; ++id)
            KillTimer(s.frame, id);
    }
    state.counters["cpu_percent"] = share;
    state.counters["ticks_10ms"] = ticks;
    tear_down(s);
}
BENCHMARK(BM_IdleLoopCpuShare)->Iterations(1)->Unit(benchmark::kMillisecond);

// The floor of the figure above on this machine: a bare loop that only sleeps 10 ms at a time.
void BM_IdleBarePollBaseline(benchmark::State& state) {
    double share = 0;
    for (auto _ : state) {
        const double c0 = cpu_seconds();
        const auto t0 = std::chrono::steady_clock::now();
        for (int i = 0; i < 300; ++i)
            poll(nullptr, 0, 10);
        const double wall =
            std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
        share = 100.0 * (cpu_seconds() - c0) / wall;
    }
    state.counters["cpu_percent"] = share;
}
BENCHMARK(BM_IdleBarePollBaseline)->Iterations(1)->Unit(benchmark::kMillisecond);

void BM_X11ComposeAndPresentFullWindow(benchmark::State& state) {
    const char* d = std::getenv("DISPLAY");
    if (!d || !*d) {
        state.SkipWithError("DISPLAY is not set");
        return;
    }
    auto disp = open(display::Kind::X11);
    if (!disp) {
        state.SkipWithError("cannot open the X display");
        return;
    }
    demo::Scene s = demo::Build(kControls);
    UpdateAllWindows();
    disp->sync();
    for (auto _ : state) {
        demo::RepaintFully(s);
        disp->sync();
    }
    tear_down(s);
}
BENCHMARK(BM_X11ComposeAndPresentFullWindow)->Unit(benchmark::kMillisecond);

void BM_X11StartupToFirstFrame(benchmark::State& state) {
    const char* d = std::getenv("DISPLAY");
    if (!d || !*d) {
        state.SkipWithError("DISPLAY is not set");
        return;
    }
    for (auto _ : state) {
        auto disp = open(display::Kind::X11);
        if (!disp) {
            state.SkipWithError("cannot open the X display");
            return;
        }
        demo::Scene s = demo::Build(kControls);
        UpdateAllWindows();
        disp->sync();
        state.PauseTiming();
        tear_down(s);
        disp.reset();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_X11StartupToFirstFrame)->Unit(benchmark::kMillisecond)->Iterations(10);

}  // namespace
