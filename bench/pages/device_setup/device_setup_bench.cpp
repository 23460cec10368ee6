// The Device Setup page's work per event: checking and encoding the 34 delay cells, a settings
// reply written into the page, and one 200 ms tick of the alarm check, on the real main window
// on the headless display with the manual clock.
#include <benchmark/benchmark.h>

#include <unistd.h>

#include <filesystem>
#include <string>

#include "app/main_form.h"
#include "forms/application.h"
#include "forms/button.h"
#include "forms/date_time_picker.h"
#include "forms/edit.h"
#include "operator_input/delay_cells.h"
#include "platform/clock/clock.h"
#include "platform/files/settings_directory.h"
#include "platform/win/metrics.h"
#include "platform/win/test_driver.h"
#include "protocol/replies.h"

namespace {

struct PageWorld {
    PageWorld() {
        dir = std::filesystem::temp_directory_path() /
              ("velmor-device-setup-bench-" + std::to_string(::getpid()));
        std::filesystem::create_directories(dir);
        files::set_settings_directory(dir);
        win::SetScreenSize(1280, 1024);
        forms::Application->Reset();
        forms::Application->CreateForm(&Form1);
        Form1->Show();
        win::PumpPending();
    }
    ~PageWorld() {
        delete Form1;
        Form1 = nullptr;
        win::PumpPending();
        files::set_settings_directory({});
        std::filesystem::remove_all(dir);
    }
    clk::ManualClock clock;
    clk::ScopedClock scoped{clock};
    std::filesystem::path dir;
};

void BM_BuildDelaysPayload(benchmark::State& state) {
    operator_input::DelayCells cells;
    for (auto& row : cells)
        for (auto& cell : row)
            cell = {"59.5", true};
    for (auto _ : state)
        benchmark::DoNotOptimize(operator_input::BuildDelaysPayload(3, cells));
}
BENCHMARK(BM_BuildDelaysPayload);

// 34 edits and unit boxes, the cascade controls and the lock box.
void BM_ApplySettingsReply(benchmark::State& state) {
    PageWorld world;
    Form1->Ed_conn_id->SetText("3");
    protocol::SettingsReply reply;
    reply.device_id = 3;
    reply.cascade = 0x02;
    reply.start_channel = 5;
    reply.lock = 0xAA;
    int64_t n = 0;
    for (auto _ : state) {
        reply.on_delays.fill(static_cast<uint8_t>(n & 0xFF));
        reply.off_delays.fill(static_cast<uint8_t>((n >> 1) & 0xFF));
        const auto batch = protocol::build_settings_reply(reply);
        Form1->ApplySettingsReply(batch);
        ++n;
    }
}
BENCHMARK(BM_ApplySettingsReply)->Unit(benchmark::kMicrosecond);

// A tick with both alarms armed but not due (the usual case): one clock reading and two
// date-and-time comparisons.
void BM_AlarmTick(benchmark::State& state) {
    PageWorld world;
    Form1->CB_Opentime->SetChecked(true);
    Form1->CB_Closetime->SetChecked(true);
    for (auto _ : state)
        Form1->Timer2Timer(nullptr);
}
BENCHMARK(BM_AlarmTick)->Unit(benchmark::kMicrosecond);

}  // namespace
