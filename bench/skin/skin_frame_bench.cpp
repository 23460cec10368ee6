// The skinned frame of a 1265 x 693 window: painting it whole (on the window and off-screen),
// beside the system frame of the same window, and one step of a live resize drag (new size,
// new client area, new shape, frame and client repainted). Headless, on the manual clock.
#include <benchmark/benchmark.h>

#include "forms/application.h"
#include "forms/form.h"
#include "platform/clock/clock.h"
#include "platform/gdi/dc.h"
#include "platform/win/message.h"
#include "platform/win/metrics.h"
#include "platform/win/painting.h"
#include "platform/win/test_driver.h"
#include "platform/win/window.h"
#include "skin/engine/skin_manage.h"
#include "skin/engine/startup_skin.h"
#include "skin/engine/win_skin_form.h"

namespace {

struct FrameWorld {
    explicit FrameWorld(bool skinned) {
        win::SetScreenSize(1280, 1024);
        form = new forms::TForm(forms::Application);
        form->SetBounds(0, 0, 1265, 693);
        form->SetCaption("Velmor Manager - frame");
        if (skinned)
            skin::CreateFrameSkin(form);
        form->Show();
        win::PumpPending();
        win::UpdateAllWindows();
        if (skinned) {
            // The skinned window keeps its client area: bring the outer size back to 1265 x 693.
            win::SetWindowPos(form->Handle(), nullptr, 0, 0, 1265, 693,
                              win::SWP_NOMOVE | win::SWP_NOZORDER);
            win::UpdateAllWindows();
            sf = skin::TSkinManage::Instance()->FindForm(form->Handle());
        }
    }
    ~FrameWorld() {
        delete form;
        win::PumpPending();
    }
    clk::ManualClock clock;
    clk::ScopedClock scoped{clock};
    forms::TForm* form = nullptr;
    skin::TWinSkinForm* sf = nullptr;
};

// arg 0: the skinned frame on the window (UpdateNc: window DC, borders, caption composed
// off-screen and copied, title buttons); 1: the same into an off-screen bitmap; 2: the system
// frame of the same window (no skin).
void BM_PaintWholeFrame(benchmark::State& state) {
    const int mode = static_cast<int>(state.range(0));
    FrameWorld world(mode != 2);
    const win::HWND h = world.form->Handle();
    const gdi::Rect wr = win::GetWindowRect(h);
    gdi::Bitmap target(wr.width(), wr.height());
    gdi::DC dc(target);
    for (auto _ : state) {
        if (mode == 0)
            world.sf->UpdateNc();
        else if (mode == 1)
            world.sf->PaintFrame(dc);
        else
            win::SendMessage(h, win::WM_NCPAINT, 1, 0);
        benchmark::ClobberMemory();
    }
    state.counters["width"] = wr.width();
    state.counters["height"] = wr.height();
    state.counters["caption"] = world.sf ? world.sf->bw.Top : 0;
}
BENCHMARK(BM_PaintWholeFrame)
    ->Arg(0)
    ->Arg(1)
    ->Arg(2)
    ->ArgName("mode")
    ->Unit(benchmark::kMicrosecond);

// One motion event of a resize drag on the skinned window: the size changes by a pixel, the
// client area, the shape and the frame follow, and everything invalid is painted.
void BM_ResizeDragStep(benchmark::State& state) {
    FrameWorld world(true);
    const win::HWND h = world.form->Handle();
    int step = 0;
    const int builds = world.sf->region_builds;
    for (auto _ : state) {
        ++step;
        win::SetWindowPos(h, nullptr, 0, 0, 1265 - (step & 15), 693 - (step & 7),
                          win::SWP_NOMOVE | win::SWP_NOZORDER | win::SWP_NOACTIVATE);
        win::UpdateAllWindows();
    }
    state.counters["region_builds_per_step"] =
        benchmark::Counter(static_cast<double>(world.sf->region_builds - builds) /
                           static_cast<double>(step ? step : 1));
}
BENCHMARK(BM_ResizeDragStep)->Unit(benchmark::kMillisecond);

}  // namespace
