// The skin on the main window: taking it over, a skinned repaint of the busiest page beside the
// plain one, start-up to the first skinned frame beside the plain start-up, and the resident
// memory the skin adds. Headless, on the manual clock.
#include <benchmark/benchmark.h>

#include <unistd.h>
#include <chrono>
#include <filesystem>
#include <fstream>
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
#include "skin/engine/skin_manage.h"
#include "skin/engine/startup_skin.h"
#include "skin/engine/win_skin_form.h"

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

long ResidentKb() {
    std::ifstream in("/proc/self/status");
    std::string line;
    while (std::getline(in, line))
        if (line.starts_with("VmRSS:"))
            return std::stol(line.substr(6));
    return 0;
}

// Discovery and initialisation of every control of the four pages.
void BM_TakeOverMainWindow(benchmark::State& state) {
    BenchWorld world;
    StartWindow(false);
    skin::TSkinManage* m = skin::TSkinManage::Instance();
    const win::HWND h = Form1->Handle();
    size_t objects = 0;
    for (auto _ : state) {
        m->active = true;
        m->AddForm(h);
        win::SendMessage(h, skin::CN_SkinActive, 0, 1000);
        state.PauseTiming();
        objects = m->FindForm(h)->Controllist.size();
        m->ReleaseAll();
        win::PumpPending();
        state.ResumeTiming();
    }
    state.counters["skinning_objects"] = static_cast<double>(objects);
    StopWindow();
}
BENCHMARK(BM_TakeOverMainWindow)->Unit(benchmark::kMillisecond);

// A full repaint of the busiest page (Real-time Control), plain (0) and skinned (1).
void BM_RepaintBusiestPage(benchmark::State& state) {
    BenchWorld world;
    StartWindow(state.range(0) == 1);
    Form1->PageControl1->SetActivePageIndex(2);
    win::UpdateAllWindows();
    const win::HWND h = Form1->Handle();
    for (auto _ : state) {
        win::RedrawWindow(h, nullptr, nullptr,
                          win::RDW_INVALIDATE | win::RDW_ERASE | win::RDW_ALLCHILDREN);
        win::UpdateAllWindows();
    }
    StopWindow();
}
BENCHMARK(BM_RepaintBusiestPage)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// Start-up to the first frame, plain and skinned, alternately in the same run; the ratio is
// skinned over plain.
void BM_StartUpPlainAndSkinned(benchmark::State& state) {
    BenchWorld world;
    using clock = std::chrono::steady_clock;
    double plain = 0, skinned = 0;
    for (auto _ : state) {
        auto t0 = clock::now();
        StartWindow(false);
        auto t1 = clock::now();
        StopWindow();
        auto t2 = clock::now();
        StartWindow(true);
        auto t3 = clock::now();
        StopWindow();
        plain += std::chrono::duration<double, std::milli>(t1 - t0).count();
        skinned += std::chrono::duration<double, std::milli>(t3 - t2).count();
    }
    const double n = static_cast<double>(state.iterations());
    state.counters["plain_ms"] = plain / n;
    state.counters["skinned_ms"] = skinned / n;
    state.counters["ratio"] = plain > 0 ? skinned / plain : 0;
}
BENCHMARK(BM_StartUpPlainAndSkinned)->Unit(benchmark::kMillisecond)->Iterations(20);

// Resident memory with the window open, plain and then skinned (after a warm-up of both, so
// that what the first start-up loads once is not counted as the skin's).
void BM_ResidentMemory(benchmark::State& state) {
    BenchWorld world;
    StartWindow(true);
    StopWindow();
    long plain = 0, skinned = 0;
    for (auto _ : state) {
        StartWindow(false);
        plain = ResidentKb();
        StopWindow();
        StartWindow(true);
        skinned = ResidentKb();
        StopWindow();
    }
    state.counters["rss_plain_kB"] = static_cast<double>(plain);
    state.counters["rss_skinned_kB"] = static_cast<double>(skinned);
    state.counters["skin_adds_kB"] = static_cast<double>(skinned - plain);
}
BENCHMARK(BM_ResidentMemory)->Iterations(3)->Unit(benchmark::kMillisecond);

}  // namespace
