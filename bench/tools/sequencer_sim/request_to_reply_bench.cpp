// From a request's bytes arriving to the reply bytes being ready for the line: the simulator's
// own share of a round trip, which must stay far below the console's 60 ms read window.
#include <benchmark/benchmark.h>

#include "protocol/requests.h"
#include "tools/sequencer_sim/device_line.h"
#include "tools/sequencer_sim/output_queue.h"
#include "tools/sequencer_sim/request_reader.h"

namespace {

using namespace sequencer_sim;

void run_request(benchmark::State& state, const protocol::Bytes& frame) {
    DeviceLine line({1, 2, 3, 4}, 1.0, false);
    RequestReader reader;
    OutputQueue output(false);
    SimTime now{};
    size_t reply_bytes = 0;
    for (auto _ : state) {
        now += std::chrono::milliseconds(1);
        reader.feed(frame.data(), frame.size(), now);
        for (auto& piece : reader.take(now)) {
            for (auto& reply : line.handle(*piece.request, now)) {
                output.push(std::move(reply), now);
            }
        }
        const protocol::Bytes out = output.take_due(now);
        reply_bytes += out.size();
        benchmark::DoNotOptimize(out.data());
    }
    state.counters["reply_bytes"] =
        benchmark::Counter(static_cast<double>(reply_bytes), benchmark::Counter::kAvgIterations);
}

void BM_PollStatus(benchmark::State& state) {
    run_request(state, protocol::build_frame(protocol::PollStatus(3)));
}
BENCHMARK(BM_PollStatus);

void BM_ReadSettings(benchmark::State& state) {
    run_request(state, protocol::build_frame(protocol::ReadSettings(4)));
}
BENCHMARK(BM_ReadSettings);

void BM_WriteDelays(benchmark::State& state) {
    std::array<protocol::Byte, 17> on{}, off{};
    on.fill(0x05);
    off.fill(0x81);
    run_request(state, protocol::build_frame(protocol::WriteDelays(2, on, off)));
}
BENCHMARK(BM_WriteDelays);

void BM_Broadcast(benchmark::State& state) {
    run_request(state, protocol::build_frame(protocol::BroadcastAllOn()));
}
BENCHMARK(BM_Broadcast);

}  // namespace
