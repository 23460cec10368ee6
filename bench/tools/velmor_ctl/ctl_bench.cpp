// velmor-ctl as a script runs it: a whole process from its start to its exit, against
// sequencer-sim on TCP loopback. The floor is the start and end of a process that does
// nothing (/bin/true), so the ratio shows what the client adds to it.

#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>

#include <chrono>
#include <string>
#include <vector>

#include "sim_process.h"

extern char** environ;

namespace {

using sequencer_sim::testing::SimProcess;

// Runs the program with its output thrown away and returns its exit status.
int RunQuietly(std::vector<std::string> argv) {
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    std::vector<char*> args;
    for (auto& a : argv) {
        args.push_back(a.data());
    }
    args.push_back(nullptr);
    pid_t pid = -1;
    int status = -1;
    if (posix_spawn(&pid, args[0], &actions, nullptr, args.data(), environ) == 0) {
        ::waitpid(pid, &status, 0);
    }
    posix_spawn_file_actions_destroy(&actions);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

SimProcess& Simulator() {
    // --repeat-window 0: each status request of the loop is answered, however close together.
    static SimProcess sim({"--tcp", "127.0.0.1:0", "--devices", "1,2,3", "--repeat-window", "0"});
    return sim;
}

std::string Link() {
    return "127.0.0.1:" + std::to_string(Simulator().port());
}

void BM_ProcessFloor(benchmark::State& state) {
    for (auto _ : state) {
        benchmark::DoNotOptimize(RunQuietly({"/bin/true"}));
    }
    state.SetLabel("start and end of /bin/true");
}
BENCHMARK(BM_ProcessFloor)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_StatusFromProcessStart(benchmark::State& state) {
    const std::string link = Link();
    int failures = 0;
    for (auto _ : state) {
        failures += RunQuietly({VELMOR_CTL_PATH, "--tcp", link, "status", "2"}) != 0;
    }
    state.counters["failures"] = failures;
    state.SetLabel("velmor-ctl status over loopback, start to exit");
}
BENCHMARK(BM_StatusFromProcessStart)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_ScanWholeLine50ms(benchmark::State& state) {
    const std::string link = Link();
    for (auto _ : state) {
        if (RunQuietly({VELMOR_CTL_PATH, "--tcp", link, "--timeout", "50", "scan"}) != 0) {
            state.SkipWithError("the scan found no device");
        }
    }
    state.SetLabel("scan 1-255, 50 ms time-out, 3 devices answering");
}
BENCHMARK(BM_ScanWholeLine50ms)->Unit(benchmark::kSecond)->UseRealTime()->Iterations(1);

}  // namespace
