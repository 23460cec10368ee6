// A live resize of the 1265 x 693 console-like window by its bottom-right corner: one drag of
// one step (press, one size change with the whole window repainted and presented, release),
// and a second of motion at 60 events a second, either all waiting at once (one step to the
// last position) or each delivered after the previous step was painted (60 steps, whose CPU
// time against the second they span says whether the drag keeps up).

#include <benchmark/benchmark.h>
#include <sys/resource.h>

#include <cstdlib>
#include <string>

#include "demo_scene.h"
#include "platform/clock/clock.h"
#include "platform/display/display.h"
#include "platform/win/win.h"

using namespace win;

namespace {

constexpr int kControls = 242;
constexpr int kMotionPerSecond = 60;

double cpu_seconds() {
    rusage u{};
    getrusage(RUSAGE_SELF, &u);
    return static_cast<double>(u.ru_utime.tv_sec + u.ru_stime.tv_sec) +
           static_cast<double>(u.ru_utime.tv_usec + u.ru_stime.tv_usec) / 1e6;
}

int g_sizing_steps = 0;

LRESULT CountSteps(HWND h, UINT m, WPARAM w, LPARAM l, UINT_PTR, DWORD_PTR) {
    if (m == WM_SIZING)
        ++g_sizing_steps;
    return DefSubclassProc(h, m, w, l);
}

// The scene with a sizing frame, shown and painted; nullptr display when X11 is asked for and
// cannot be had.
struct Resizable {
    std::unique_ptr<display::Display> disp;
    demo::Scene scene;
    POINT corner;  // a point on the bottom-right corner of the frame

    explicit Resizable(display::Kind kind) {
        display::Options o;
        o.kind = kind;
        std::string err;
        disp = display::Open(o, &err);
        if (!disp)
            return;
        scene = demo::Build(kControls);
        HWND f = scene.frame;
        SetWindowLongPtr(f, GWL_STYLE, GetWindowLongPtr(f, GWL_STYLE) | WS_THICKFRAME);
        SetWindowPos(f, nullptr, 0, 0, 1265, 693,
                     SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED | SWP_NOMOVE);
        SetWindowSubclass(f, CountSteps, 1, 0);
        UpdateAllWindows();
        disp->sync();
        refresh_corner();
    }
    ~Resizable() {
        if (!disp)
            return;
        DestroyWindow(scene.frame);
        PumpPending();
        ClearQuit();
    }
    void refresh_corner() {
        const RECT r = GetWindowRect(scene.frame);
        corner = {r.right - 2, r.bottom - 2};
    }
};

// One drag: press on the corner, one step of `delta` pixels, release; painted and presented.
void OneStep(Resizable& r, int delta) {
    InjectMouse(MouseAction::Move, r.corner);
    InjectMouse(MouseAction::LeftDown, r.corner);
    const POINT to{r.corner.x + delta, r.corner.y + delta};
    InjectMouse(MouseAction::Move, to);
    InjectMouse(MouseAction::LeftUp, to);
    PumpPending();
    UpdateAllWindows();
    r.disp->sync();
    r.refresh_corner();
}

void ResizeStep(benchmark::State& state, display::Kind kind) {
    if (kind == display::Kind::X11 && !std::getenv("DISPLAY")) {
        state.SkipWithError("DISPLAY is not set");
        return;
    }
    Resizable r(kind);
    if (!r.disp) {
        state.SkipWithError("cannot open the display");
        return;
    }
    int n = 0;
    for (auto _ : state)
        OneStep(r, (++n & 1) ? 3 : -3);  // 3 pixels: never a double click
}

void BM_ResizeStep(benchmark::State& state) {
    ResizeStep(state, display::Kind::Headless);
}
BENCHMARK(BM_ResizeStep)->Unit(benchmark::kMillisecond);

void BM_X11ResizeStep(benchmark::State& state) {
    ResizeStep(state, display::Kind::X11);
}
BENCHMARK(BM_X11ResizeStep)->Unit(benchmark::kMillisecond);

// A second of motion waiting at once: the drag takes one step, to the last position.
void BM_MotionBurstAtOnce(benchmark::State& state) {
    Resizable r(display::Kind::Headless);
    int steps = 0, n = 0;
    for (auto _ : state) {
        g_sizing_steps = 0;
        const int sign = (++n & 1) ? 1 : -1;
        InjectMouse(MouseAction::Move, r.corner);
        InjectMouse(MouseAction::LeftDown, r.corner);
        for (int i = 1; i <= kMotionPerSecond; ++i)
            InjectMouse(MouseAction::Move, {r.corner.x + sign * i, r.corner.y + sign * i});
        InjectMouse(MouseAction::LeftUp,
                    {r.corner.x + sign * kMotionPerSecond, r.corner.y + sign * kMotionPerSecond});
        PumpPending();
        UpdateAllWindows();
        r.refresh_corner();
        steps += g_sizing_steps;
    }
    state.counters["steps_per_burst"] = static_cast<double>(steps) / state.iterations();
}
BENCHMARK(BM_MotionBurstAtOnce)->Unit(benchmark::kMillisecond);

// A second of motion, each event delivered once the previous step is painted: 60 steps. The
// CPU time they take, as a share of the second they span, must stay well under 1.
void MotionOneByOne(benchmark::State& state, display::Kind kind) {
    if (kind == display::Kind::X11 && !std::getenv("DISPLAY")) {
        state.SkipWithError("DISPLAY is not set");
        return;
    }
    clk::ManualClock clock;
    clk::ScopedClock scoped(clock);
    Resizable r(kind);
    if (!r.disp) {
        state.SkipWithError("cannot open the display");
        return;
    }
    int steps = 0, n = 0;
    double cpu = 0;
    for (auto _ : state) {
        g_sizing_steps = 0;
        const int sign = (++n & 1) ? 1 : -1;
        const POINT from = r.corner;
        int sent = 0;
        SetIdleScript([&] {
            if (sent < kMotionPerSecond) {
                ++sent;
                InjectMouse(MouseAction::Move, {from.x + sign * sent, from.y + sign * sent});
            } else if (sent == kMotionPerSecond) {
                ++sent;
                InjectMouse(MouseAction::LeftUp,
                            {from.x + sign * kMotionPerSecond, from.y + sign * kMotionPerSecond});
            } else {
                return false;
            }
            return true;
        });
        const double before = cpu_seconds();
        InjectMouse(MouseAction::Move, from);
        InjectMouse(MouseAction::LeftDown, from);
        PumpPending();
        UpdateAllWindows();
        r.disp->sync();
        cpu += cpu_seconds() - before;
        SetIdleScript(nullptr);
        r.refresh_corner();
        steps += g_sizing_steps;
    }
    state.counters["steps_per_second_of_motion"] = static_cast<double>(steps) / state.iterations();
    state.counters["cpu_share_of_the_second"] = cpu / state.iterations();
}

void BM_MotionOneByOne(benchmark::State& state) {
    MotionOneByOne(state, display::Kind::Headless);
}
BENCHMARK(BM_MotionOneByOne)->Unit(benchmark::kMillisecond);

void BM_X11MotionOneByOne(benchmark::State& state) {
    MotionOneByOne(state, display::Kind::X11);
}
BENCHMARK(BM_X11MotionOneByOne)->Unit(benchmark::kMillisecond);

}  // namespace
