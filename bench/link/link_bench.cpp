// The receive side of the device link: from a reply batch being there to the dispatcher having
// finished with it, and what an idle console with the TCP link open costs.
#include <arpa/inet.h>
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <stdlib.h>
#include <sys/socket.h>
#include <time.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <string>

#include "app/main_form.h"
#include "forms/application.h"
#include "forms/edit.h"
#include "forms/timer.h"
#include "link/tcp_port.h"
#include "platform/clock/clock.h"
#include "platform/files/settings_directory.h"
#include "platform/serial/com_ports.h"
#include "platform/win/metrics.h"
#include "platform/win/test_driver.h"
#include "protocol/replies.h"
#include "protocol/requests.h"

namespace {

using Bytes = std::vector<uint8_t>;

// The main window on the headless display with a settings directory of its own.
class Window {
  public:
    Window() {
        std::string pattern =
            (std::filesystem::temp_directory_path() / "velmor-link-bench-XXXXXX").string();
        dir_ = ::mkdtemp(pattern.data());
        files::set_settings_directory(dir_);
        win::SetScreenSize(1280, 1024);
        forms::Application->Reset();
        forms::Application->CreateForm(&Form1);
        Form1->Show();
        win::PumpPending();
        if (!Form1->Ed_read_id)
            Form1->Ed_read_id = new forms::TEdit(Form1);
        if (!Form1->Ed_conn_id)
            Form1->Ed_conn_id = new forms::TEdit(Form1);
        Form1->Ed_conn_id->SetText("3");
    }
    ~Window() {
        delete Form1;
        Form1 = nullptr;
        std::error_code ec;
        std::filesystem::remove_all(dir_, ec);
    }

  private:
    std::filesystem::path dir_;
};

Bytes ReplyOfKind(int kind) {
    protocol::SettingsReply settings;
    settings.device_id = 3;
    switch (kind) {
        case 0:
            return protocol::build_ack(3, 0xA2);
        case 1:
            return protocol::build_id_reply(3);
        case 2:
            return protocol::build_status_reply(3, {true, false, false}, {0x8001});
        case 3:
            return protocol::build_state_report(3, 0xB0, {}, {0x8001}, {0xFFFF});
        default:
            return protocol::build_settings_reply(settings);
    }
}

const char* kKindNames[] = {"Ack", "IdReply", "StatusReply", "StateReport", "SettingsReply"};

// The dispatcher alone, one batch of each kind.
void BM_HandleReply(benchmark::State& state) {
    clk::ManualClock clock;
    clk::ScopedClock scoped(clock);
    Window window;
    const Bytes batch = ReplyOfKind(static_cast<int>(state.range(0)));
    Form1->LastShortPayload = {3, 0xA2, 0, 0};
    for (auto _ : state) {
        Form1->Timer1->SetEnabled(true);
        Form1->HandleReply(batch);
    }
    state.SetLabel(kKindNames[state.range(0)]);
}
BENCHMARK(BM_HandleReply)->DenseRange(0, 4);

// One receive tick that finds a reply waiting on the serial port: the queue count, the read and
// the dispatch. The reply is put on the line outside the timing.
void BM_SerialBatchToDispatch(benchmark::State& state) {
    clk::ManualClock clock;
    clk::ScopedClock scoped(clock);
    const int pty = ::posix_openpt(O_RDWR | O_NOCTTY);
    ::grantpt(pty);
    ::unlockpt(pty);
    serial::set_com_mapping(1, ::ptsname(pty));
    Window window;
    if (!Form1->Set_Serial(1)) {
        state.SkipWithError("no pseudo-terminal");
        return;
    }
    const Bytes batch = ReplyOfKind(static_cast<int>(state.range(0)));
    Form1->LastShortPayload = {3, 0xA2, 0, 0};
    for (auto _ : state) {
        state.PauseTiming();
        if (::write(pty, batch.data(), batch.size()) != static_cast<ssize_t>(batch.size()))
            state.SkipWithError("write");
        while (Form1->SerialBytesWaiting() < batch.size())
            ::poll(nullptr, 0, 0);
        Form1->ReceiveTickCount = 20;  // this tick reads, at either rate
        Form1->Timer1->SetEnabled(true);
        state.ResumeTiming();
        Form1->Timer_read232Timer(nullptr);
    }
    state.SetLabel(kKindNames[state.range(0)]);
    Form1->SerialClose();
    serial::clear_com_mappings();
    ::close(pty);
}
BENCHMARK(BM_SerialBatchToDispatch)->DenseRange(0, 4);

// A loopback device with the console's TCP link connected to it.
struct TcpRig {
    int listener = -1;
    int peer = -1;
    TcpRig() {
        listener = ::socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in a{};
        a.sin_family = AF_INET;
        a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        ::bind(listener, reinterpret_cast<sockaddr*>(&a), sizeof a);
        ::listen(listener, 1);
        socklen_t len = sizeof a;
        ::getsockname(listener, reinterpret_cast<sockaddr*>(&a), &len);
        devlink::SetTcpPort(ntohs(a.sin_port));
    }
    bool Connect() {
        Form1->Ed_ip_address->SetText("127.0.0.1");
        if (Form1->ConnectEthernet())
            return false;
        peer = ::accept(listener, nullptr, nullptr);
        return peer >= 0;
    }
    ~TcpRig() {
        if (peer >= 0)
            ::close(peer);
        ::close(listener);
        devlink::SetTcpPort(devlink::kSequencerTcpPort);
    }
};

// The tick that runs a hundred times a second with the TCP link open and nothing arriving:
// the connected test and the count.
void BM_IdleTickTcpOpen(benchmark::State& state) {
    clk::ManualClock clock;
    clk::ScopedClock scoped(clock);
    Window window;
    TcpRig rig;
    if (!rig.Connect()) {
        state.SkipWithError("no loopback connection");
        return;
    }
    for (auto _ : state) {
        Form1->ReceiveTickCount = 0;
        Form1->Timer_read232Timer(nullptr);
    }
    Form1->IdTCPClient1.Disconnect();
}
BENCHMARK(BM_IdleTickTcpOpen);

double ProcessCpuSeconds() {
    timespec t{};
    ::clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) * 1e-9;
}

// The whole console idle for one second of real time with the TCP link open: every timer of
// the window ticking on the real clock. Reported as the share of one core it used.
// Argument 0 runs the same console with no link, for comparison.
void BM_IdleConsoleTcpOpen(benchmark::State& state) {
    Window window;
    TcpRig rig;
    if (state.range(0) != 0 && !rig.Connect()) {
        state.SkipWithError("no loopback connection");
        return;
    }
    double share = 0;
    for (auto _ : state) {
        forms::TTimer stop(nullptr);
        stop.SetInterval(1000);
        stop.OnTimer = [](forms::TObject*) { forms::Application->Terminate(); };
        stop.SetEnabled(true);
        const double cpu0 = ProcessCpuSeconds();
        const auto wall0 = std::chrono::steady_clock::now();
        forms::Application->Reset();
        forms::Application->Run();
        const double wall =
            std::chrono::duration<double>(std::chrono::steady_clock::now() - wall0).count();
        share = 100.0 * (ProcessCpuSeconds() - cpu0) / wall;
    }
    state.counters["core_percent"] = share;
    state.counters["receive_ticks"] = static_cast<double>(Form1->Timer_read232->Ticks());
    Form1->IdTCPClient1.Disconnect();
}
BENCHMARK(BM_IdleConsoleTcpOpen)
    ->Arg(0)
    ->Arg(1)
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

}  // namespace
