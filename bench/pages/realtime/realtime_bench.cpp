// The Real-time Control page's costs, side by side in one run: a status reply from its arrival
// to the panel's pixels, a full repaint of the page (68 indicators, 68 buttons, 64 mask boxes),
// the share of start-up that building the four panels takes, and the idle console on this page
// polling four devices next to a bare poll(10 ms) loop.
#include <benchmark/benchmark.h>

#include <poll.h>
#include <time.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <string>

#include "app/main_form.h"
#include "bench/platform/display/instruction_counter.h"
#include "forms/application.h"
#include "forms/edit.h"
#include "forms/page_control.h"
#include "forms/panel.h"
#include "platform/clock/clock.h"
#include "platform/files/settings_directory.h"
#include "platform/win/message.h"
#include "platform/win/metrics.h"
#include "platform/win/painting.h"
#include "platform/win/test_driver.h"
#include "protocol/replies.h"

namespace {

// A settings directory of its own and the headless screen; the clock is the caller's.
struct WindowWorld {
    WindowWorld() {
        dir = std::filesystem::temp_directory_path() /
              ("velmor-realtime-bench-" + std::to_string(::getpid()));
        std::filesystem::create_directories(dir);
        files::set_settings_directory(dir);
        win::SetScreenSize(1280, 1024);
    }
    ~WindowWorld() {
        StopWindow();
        files::set_settings_directory({});
        std::filesystem::remove_all(dir);
    }
    static void StartWindow() {
        forms::Application->Reset();
        forms::Application->CreateForm(&Form1);
        Form1->Show();
        win::UpdateAllWindows();
    }
    static void StopWindow() {
        delete Form1;
        Form1 = nullptr;
        win::PumpPending();
    }
    // The page shown with a device ID in each panel.
    static void ShowPage() {
        for (int d = 0; d < TForm1::kDevicePanels; ++d)
            Form1->PanelIdEdit[d]->SetText(std::to_string(d + 1));
        Form1->PageControl1->SetActivePage(Form1->TabSheet3);
        win::UpdateAllWindows();
    }
    std::filesystem::path dir;
};

struct ManualWorld : WindowWorld {
    clk::ManualClock clock;
    clk::ScopedClock scoped{clock};
};

double ProcessCpuSeconds() {
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) * 1e-9;
}

// A StatusReply for device 1 taken by the dispatcher, then everything it invalidated painted
// and composed: half of the channels change on every reply.
void BM_StatusReplyToPixels(benchmark::State& state) {
    ManualWorld world;
    WindowWorld::StartWindow();
    WindowWorld::ShowPage();
    const auto even = protocol::build_status_reply(1, {true, false, false}, {0xAAAA});
    const auto odd = protocol::build_status_reply(1, {false, false, false}, {0x5555});
    bool flip = false;
    for (auto _ : state) {
        flip = !flip;
        Form1->HandleReply(flip ? even : odd);
        win::UpdateAllWindows();
    }
}
BENCHMARK(BM_StatusReplyToPixels)->Unit(benchmark::kMicrosecond);

// Everything on the page invalidated and painted again. Kept out of line so that callgrind can
// count its instructions alone (scripts/realtime_repaint_instructions.sh).
[[gnu::noinline]] void RepaintRealtimePage() {
    win::RedrawWindow(Form1->Panel1->Handle(), nullptr, nullptr,
                      win::RDW_INVALIDATE | win::RDW_ERASE | win::RDW_ALLCHILDREN);
    win::UpdateAllWindows();
}

// The full repaint; its instructions are counted where the machine lets the process read its
// counters.
void BM_FullRepaintOfThePage(benchmark::State& state) {
    ManualWorld world;
    WindowWorld::StartWindow();
    WindowWorld::ShowPage();
    InstructionCounter counter;
    int64_t instructions = 0;
    int64_t repaints = 0;
    for (auto _ : state) {
        counter.start();
        RepaintRealtimePage();
        instructions += counter.stop();
        ++repaints;
    }
    if (counter.ok() && repaints > 0)
        state.counters["instructions"] = static_cast<double>(instructions / repaints);
}
BENCHMARK(BM_FullRepaintOfThePage)->Unit(benchmark::kMicrosecond);

// Start-up to the first frame, with all four panels built.
void BM_StartUpToFirstFrame(benchmark::State& state) {
    ManualWorld world;
    for (auto _ : state) {
        WindowWorld::StartWindow();
        state.PauseTiming();
        WindowWorld::StopWindow();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_StartUpToFirstFrame)->Unit(benchmark::kMillisecond);

// What the four panels add to start-up: building them with their captions while the first
// page is shown, as start-up does (they are painted only when their page is first shown).
// Start-up without them is the figure above less this one.
void BM_PanelsShareOfStartUp(benchmark::State& state) {
    ManualWorld world;
    WindowWorld::StartWindow();
    for (auto _ : state) {
        state.PauseTiming();
        Form1->ReleaseDevicePanels();
        win::UpdateAllWindows();
        state.ResumeTiming();
        Form1->BuildDevicePanels();
        Form1->ApplyPanelCaptions(Form1->LanguageIndex);
        win::UpdateAllWindows();
    }
}
BENCHMARK(BM_PanelsShareOfStartUp)->Unit(benchmark::kMillisecond);

constexpr auto kIdleSpan = std::chrono::seconds(3);

// The console idle on this page for a few seconds of real time, four devices polled in turn
// (each every 400 ms) with no link open, so the receive loop sleeps through its ticks: the
// process's CPU time over the wall time.
void BM_IdleConsoleOnThePage(benchmark::State& state) {
    WindowWorld world;
    WindowWorld::StartWindow();
    WindowWorld::ShowPage();
    double share = 0;
    for (auto _ : state) {
        const auto end = std::chrono::steady_clock::now() + kIdleSpan;
        const double cpu = ProcessCpuSeconds();
        win::RunMessageLoop([&] { return std::chrono::steady_clock::now() >= end; });
        share = (ProcessCpuSeconds() - cpu) / std::chrono::duration<double>(kIdleSpan).count();
    }
    state.counters["cpu_share_percent"] = share * 100;
}
BENCHMARK(BM_IdleConsoleOnThePage)->Iterations(1)->Unit(benchmark::kMillisecond);

// The same console idle on the Port Setup page, where nobody is polled: what the page's
// polling adds is the difference.
void BM_IdleConsoleOnPortSetup(benchmark::State& state) {
    WindowWorld world;
    WindowWorld::StartWindow();
    double share = 0;
    for (auto _ : state) {
        const auto end = std::chrono::steady_clock::now() + kIdleSpan;
        const double cpu = ProcessCpuSeconds();
        win::RunMessageLoop([&] { return std::chrono::steady_clock::now() >= end; });
        share = (ProcessCpuSeconds() - cpu) / std::chrono::duration<double>(kIdleSpan).count();
    }
    state.counters["cpu_share_percent"] = share * 100;
}
BENCHMARK(BM_IdleConsoleOnPortSetup)->Iterations(1)->Unit(benchmark::kMillisecond);

// The floor to compare with: a loop that does nothing but wait 10 ms at a time.
void BM_BarePoll10msLoop(benchmark::State& state) {
    double share = 0;
    for (auto _ : state) {
        const auto end = std::chrono::steady_clock::now() + kIdleSpan;
        const double cpu = ProcessCpuSeconds();
        while (std::chrono::steady_clock::now() < end)
            ::poll(nullptr, 0, 10);
        share = (ProcessCpuSeconds() - cpu) / std::chrono::duration<double>(kIdleSpan).count();
    }
    state.counters["cpu_share_percent"] = share * 100;
}
BENCHMARK(BM_BarePoll10msLoop)->Iterations(1)->Unit(benchmark::kMillisecond);

}  // namespace
