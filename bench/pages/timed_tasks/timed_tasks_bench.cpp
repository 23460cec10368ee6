// The Timer Task page's work: one 200 ms tick with all 140 entry halves armed on seven checked
// days, building the page's columns, and start-up to the first frame with the page built, on
// the real main window on the headless display with the manual clock.
#include <benchmark/benchmark.h>

#include <unistd.h>

#include <filesystem>
#include <string>

#include "app/main_form.h"
#include "forms/application.h"
#include "forms/button.h"
#include "forms/date_time_picker.h"
#include "forms/edit.h"
#include "forms/page_control.h"
#include "forms/panel.h"
#include "platform/clock/clock.h"
#include "platform/files/settings_directory.h"
#include "platform/win/metrics.h"
#include "platform/win/test_driver.h"

namespace {

struct PageWorld {
    PageWorld() {
        dir = std::filesystem::temp_directory_path() /
              ("velmor-timed-tasks-bench-" + std::to_string(::getpid()));
        std::filesystem::create_directories(dir);
        files::set_settings_directory(dir);
        win::SetScreenSize(1280, 1024);
    }
    ~PageWorld() {
        files::set_settings_directory({});
        std::filesystem::remove_all(dir);
    }
    static void Start() {
        forms::Application->Reset();
        forms::Application->CreateForm(&Form1);
        Form1->Show();
        win::PumpPending();
    }
    static void Stop() {
        delete Form1;
        Form1 = nullptr;
        win::PumpPending();
    }
    clk::ManualClock clock{{2026, 3, 2, 9, 30, 0, 0, 1}};
    clk::ScopedClock scoped{clock};
    std::filesystem::path dir;
};

// Every day checked, every half of every entry armed one second after now, so that each tick
// compares all of today's twenty halves and finds none due.
void BM_TickWith140EntriesArmed(benchmark::State& state) {
    PageWorld world;
    PageWorld::Start();
    Form1->Ed_conn_id->SetText("3");
    for (int d = 0; d < TForm1::kWeekDays; ++d) {
        Form1->DayEnableBox[d]->SetChecked(true);
        Form1->SetDayEntriesEnabled(d, true);
        for (int s = 0; s < TForm1::kDaySlots; ++s) {
            for (auto* half : {Form1->EntryOnBox[d][s], Form1->EntryOffBox[d][s]})
                half->SetChecked(true);
            for (auto* picker : {Form1->EntryOnPicker[d][s], Form1->EntryOffPicker[d][s]}) {
                clk::LocalTime t = picker->Value();
                t.hour = 9;
                t.minute = 30;
                t.second = 1;
                picker->SetValue(t);
            }
        }
    }
    Form1->CB_Opentime->SetChecked(true);
    Form1->CB_Closetime->SetChecked(true);
    for (auto _ : state)
        Form1->Timer2Timer(nullptr);
    PageWorld::Stop();
}
BENCHMARK(BM_TickWith140EntriesArmed)->Unit(benchmark::kMicrosecond);

// Start-up (construction, FormCreate with the settings file, first paint) and shutdown.
void BM_StartUpToFirstFrame(benchmark::State& state) {
    PageWorld world;
    for (auto _ : state) {
        PageWorld::Start();
        state.PauseTiming();
        PageWorld::Stop();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_StartUpToFirstFrame)->Unit(benchmark::kMillisecond);

// The page's share of start-up: the 364 controls of a second set of columns, built and captioned
// on the running window, then freed again.
void BM_BuildTimerTaskPage(benchmark::State& state) {
    PageWorld world;
    PageWorld::Start();
    for (auto _ : state) {
        Form1->BuildTimerTaskPage();
        state.PauseTiming();
        for (auto* day : Form1->DayPanel)
            delete day;  // its children go with it
        Form1->DayPanel = {};
        Form1->DayEnableBox = {};
        state.ResumeTiming();
    }
    PageWorld::Stop();
}
BENCHMARK(BM_BuildTimerTaskPage)->Unit(benchmark::kMillisecond);

// The page brought to the front and painted whole: 140 time pickers, 140 entry boxes, 70 frames
// and the day columns.
void BM_ShowTimerTaskPage(benchmark::State& state) {
    PageWorld world;
    PageWorld::Start();
    for (auto _ : state) {
        Form1->PageControl1->SetActivePage(Form1->TabSheet4);
        win::PumpPending();
        state.PauseTiming();
        Form1->PageControl1->SetActivePage(Form1->TabSheet1);
        win::PumpPending();
        state.ResumeTiming();
    }
    PageWorld::Stop();
}
BENCHMARK(BM_ShowTimerTaskPage)->Unit(benchmark::kMillisecond);

}  // namespace
