// The skin on the main window: taking it over, a skinned repaint of the busiest page beside the
// plain one, start-up to the first skinned frame beside the plain start-up, and the resident
// memory the skin adds. Headless, on the manual clock.
#include <benchmark/benchmark.h>

#include <malloc.h>
#include <unistd.h>
#include <ctime>
#include <filesystem>
#include <string>

#include "app/main_form.h"
#include "forms/application.h"
#include "forms/page_control.h"
#include "platform/clock/clock.h"
#include "platform/files/settings_directory.h"
#include "platform/win/message.h"
#include "platform/win/metrics.h"
#include "platform/win/painting.h"
#include "platform/win/test_driver.h"
#include "skin/embedded_skin.h"
#include "skin/engine/skin_manage.h"
#include "skin/engine/startup_skin.h"
#include "skin/engine/win_skin_form.h"
#include "skin/skin_data_core.h"

namespace {

struct BenchWorld {
    BenchWorld() {
        dir = std::filesystem::temp_directory_path() /
              ("velmor-skin-bench-" + std::to_string(::getpid()));
        std::filesystem::create_directories(dir);
        files::set_settings_directory(dir);
        win::SetScreenSize(1280, 1024);
    }
    ~BenchWorld() {
        skin::startup_skin_options() = {};
        files::set_settings_directory({});
        std::filesystem::remove_all(dir);
    }
    clk::ManualClock clock;
    clk::ScopedClock scoped{clock};
    std::filesystem::path dir;
};

void StartWindow(bool skinned) {
    skin::startup_skin_options().no_skin = !skinned;
    forms::Application->Reset();
    forms::Application->CreateForm(&Form1);
    Form1->Show();
    win::PumpPending();
    win::UpdateAllWindows();
}

void StopWindow() {
    delete Form1;
    Form1 = nullptr;
    win::PumpPending();
}

// Bytes of heap in use: unlike the resident size of a process that has run both looks, it
// goes down again when a window and its skinning objects are freed.
long HeapInUseKb() {
    return static_cast<long>(mallinfo2().uordblks / 1024);
}

// Discovery and initialisation of every control of the four pages. The window starts skinned
// (a window started plain holds no decoded skin to take it over with), shows each page once so
// that every control has its window, and gives the skin back before each take-over.
void BM_TakeOverMainWindow(benchmark::State& state) {
    BenchWorld world;
    StartWindow(true);
    // Every page shown once, so that the windows of all four pages exist to be taken over.
    forms::TPageControl* pages = Form1->PageControl1;
    for (int i = pages->PageCount() - 1; i >= 0; --i)
        pages->SetActivePageIndex(i);
    win::PumpPending();
    skin::TSkinManage* m = skin::TSkinManage::Instance();
    const win::HWND h = Form1->Handle();
    size_t objects = 0;
    for (auto _ : state) {
        state.PauseTiming();
        m->ReleaseAll();
        win::PumpPending();
        m->active = true;
        state.ResumeTiming();
        m->AddForm(h);
        win::SendMessage(h, skin::CN_SkinActive, 0, 1000);
        state.PauseTiming();
        const skin::TWinSkinForm* form = m->FindForm(h);
        state.ResumeTiming();
        if (!form) {
            state.SkipWithError("the main window was not taken over");
            break;
        }
        objects = form->Controllist.size();
    }
    state.counters["skinning_objects"] = static_cast<double>(objects);
    StopWindow();
}
BENCHMARK(BM_TakeOverMainWindow)->Unit(benchmark::kMillisecond);

// The whole main window invalidated and painted again. Kept out of line so that callgrind can
// count its instructions alone (scripts/skinned_repaint_instructions.sh).
[[gnu::noinline]] void RepaintMainWindow(win::HWND h) {
    win::RedrawWindow(h, nullptr, nullptr,
                      win::RDW_INVALIDATE | win::RDW_ERASE | win::RDW_ALLCHILDREN);
    win::UpdateAllWindows();
}

// A full repaint of the busiest page (Real-time Control), plain (0) and skinned (1).
void BM_RepaintBusiestPage(benchmark::State& state) {
    BenchWorld world;
    StartWindow(state.range(0) == 1);
    Form1->PageControl1->SetActivePageIndex(2);
    win::UpdateAllWindows();
    const win::HWND h = Form1->Handle();
    for (auto _ : state)
        RepaintMainWindow(h);
    StopWindow();
}
BENCHMARK(BM_RepaintBusiestPage)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// Start-up to the first frame inside the process (the main form made, shown and painted),
// plain and skinned, alternately in the same run, in processor time of this thread (the
// machine is shared); the ratio is skinned over plain. The whole program from exec to exit
// after its first frame: scripts/skin_startup_figures.sh.
double ThreadCpuMs() {
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) * 1e3 + static_cast<double>(t.tv_nsec) / 1e6;
}

void BM_StartUpPlainAndSkinned(benchmark::State& state) {
    BenchWorld world;
    double plain = 0, skinned = 0;
    for (auto _ : state) {
        const double t0 = ThreadCpuMs();
        StartWindow(false);
        const double t1 = ThreadCpuMs();
        StopWindow();
        const double t2 = ThreadCpuMs();
        StartWindow(true);
        const double t3 = ThreadCpuMs();
        StopWindow();
        plain += t1 - t0;
        skinned += t3 - t2;
    }
    const double n = static_cast<double>(state.iterations());
    state.counters["plain_cpu_ms"] = plain / n;
    state.counters["skinned_cpu_ms"] = skinned / n;
    state.counters["ratio"] = plain > 0 ? skinned / plain : 0;
}
BENCHMARK(BM_StartUpPlainAndSkinned)->Unit(benchmark::kMillisecond)->Iterations(20);

// Heap in use with the window open, plain and then skinned (after a warm-up of both, so that
// what the first start-up makes once is not counted as the skin's), and what the skin
// component's loaded skin holds (element images, description) in either look. The peak
// resident size of the program itself: scripts/skin_startup_figures.sh.
void BM_SkinMemory(benchmark::State& state) {
    BenchWorld world;
    StartWindow(true);
    StopWindow();
    long plain = 0, skinned = 0, skin_data = 0;
    for (auto _ : state) {
        StartWindow(false);
        plain = HeapInUseKb();
        StopWindow();
        StartWindow(true);
        skinned = HeapInUseKb();
        StopWindow();
        const long before = HeapInUseKb();
        {
            skin::TSkinDataCore data;
            const auto stored = skin::embedded_skin_stream();
            skin::TMemoryStream in(std::vector<uint8_t>(stored.begin(), stored.end()));
            data.ReadData(in);
            skin_data = HeapInUseKb() - before;
        }
    }
    state.counters["heap_plain_kB"] = static_cast<double>(plain);
    state.counters["heap_skinned_kB"] = static_cast<double>(skinned);
    state.counters["skinning_adds_kB"] = static_cast<double>(skinned - plain);
    state.counters["loaded_skin_kB"] = static_cast<double>(skin_data);
}
BENCHMARK(BM_SkinMemory)->Iterations(3)->Unit(benchmark::kMillisecond);

}  // namespace
