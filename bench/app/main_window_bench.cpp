// Start-up of the main window (construction, FormCreate with the settings file, first paint)
// and a language switch, on the headless display with the manual clock.
#include <benchmark/benchmark.h>

#include <unistd.h>
#include <filesystem>
#include <string>

#include "app/main_form.h"
#include "forms/application.h"
#include "forms/combo_box.h"
#include "forms/page_control.h"
#include "platform/clock/clock.h"
#include "platform/files/settings_directory.h"
#include "platform/win/metrics.h"
#include "platform/win/test_driver.h"
#include "platform/win/window.h"

namespace {

struct BenchWorld {
    BenchWorld() {
        dir = std::filesystem::temp_directory_path() /
              ("velmor-app-bench-" + std::to_string(::getpid()));
        std::filesystem::create_directories(dir);
        files::set_settings_directory(dir);
        win::SetScreenSize(1280, 1024);
    }
    ~BenchWorld() {
        files::set_settings_directory({});
        std::filesystem::remove_all(dir);
    }
    clk::ManualClock clock;
    clk::ScopedClock scoped{clock};
    std::filesystem::path dir;
};

void StartWindow() {
    forms::Application->Reset();
    forms::Application->CreateForm(&Form1);
    Form1->Show();
    win::PumpPending();
}

void StopWindow() {
    delete Form1;
    Form1 = nullptr;
    win::PumpPending();
}

void BM_StartUpAndShutdown(benchmark::State& state) {
    BenchWorld world;
    for (auto _ : state) {
        StartWindow();
        StopWindow();
    }
}
BENCHMARK(BM_StartUpAndShutdown)->Unit(benchmark::kMillisecond);

// Closing the window after every page has been shown, so every control has its window: the
// cost of taking down about a thousand windows and their controls.
void BM_ShutdownWithEveryPageShown(benchmark::State& state) {
    BenchWorld world;
    int64_t windows = 0;
    for (auto _ : state) {
        state.PauseTiming();
        StartWindow();
        for (int page = Form1->PageControl1->PageCount() - 1; page >= 0; --page) {
            Form1->PageControl1->SetActivePageIndex(page);
            win::PumpPending();
        }
        windows = 0;
        win::EnumChildWindows(Form1->Handle(), [&](win::HWND) {
            ++windows;
            return true;
        });
        state.ResumeTiming();
        StopWindow();
    }
    state.counters["windows"] = benchmark::Counter(static_cast<double>(windows));
}
BENCHMARK(BM_ShutdownWithEveryPageShown)->Unit(benchmark::kMillisecond);

// One switch: captions, status-bar translation, settings write, repaint.
void BM_LanguageSwitch(benchmark::State& state) {
    BenchWorld world;
    StartWindow();
    int language = 0;
    for (auto _ : state) {
        language = (language + 1) % 3;
        Form1->CB_language->SetItemIndex(language);
        Form1->CB_languageChange(Form1->CB_language);
        win::PumpPending();
    }
    StopWindow();
}
BENCHMARK(BM_LanguageSwitch)->Unit(benchmark::kMicrosecond);

}  // namespace
