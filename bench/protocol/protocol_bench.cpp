// How long the wire code takes per frame: building a request, and recognising, verifying and
// decoding each reply kind as the dispatcher does for one batch.
#include <benchmark/benchmark.h>

#include "protocol/delay_byte.h"
#include "protocol/replies.h"

namespace {

using namespace protocol;

void BM_BuildShortFrame(benchmark::State& state) {
    for (auto _ : state) {
        benchmark::DoNotOptimize(build_frame(ReadSettings(3)));
    }
}
BENCHMARK(BM_BuildShortFrame);

void BM_BuildWriteDelaysFrame(benchmark::State& state) {
    std::array<Byte, kChannelCount> on{};
    std::array<Byte, kChannelCount> off{};
    on.fill(0x05);
    off.fill(0x81);
    for (auto _ : state) {
        benchmark::DoNotOptimize(build_frame(WriteDelays(1, on, off)));
    }
}
BENCHMARK(BM_BuildWriteDelaysFrame);

void BM_ParseStateReport(benchmark::State& state) {
    const Bytes batch{0x57, 0x03, 0xB0, 0x06, 0x80, 0x00, 0xBF, 0xFF, 0x75};
    for (auto _ : state) {
        benchmark::DoNotOptimize(classify_reply(batch));
        benchmark::DoNotOptimize(parse_state_report(batch));
    }
}
BENCHMARK(BM_ParseStateReport);

void BM_ParseSettingsReplyAndDelayTexts(benchmark::State& state) {
    SettingsReply s;
    s.device_id = 3;
    s.on_delays.fill(0x05);
    s.off_delays.fill(0x81);
    s.cascade = kCascadeOnByte;
    const Bytes batch = build_settings_reply(s);
    for (auto _ : state) {
        const auto parsed = parse_settings_reply(batch);
        for (Byte d : parsed->on_delays) {
            benchmark::DoNotOptimize(delay_text(d));
        }
        for (Byte d : parsed->off_delays) {
            benchmark::DoNotOptimize(delay_text(d));
        }
    }
}
BENCHMARK(BM_ParseSettingsReplyAndDelayTexts);

void BM_EncodeDelayText(benchmark::State& state) {
    for (auto _ : state) {
        benchmark::DoNotOptimize(encode_delay_text("12.5", true));
    }
}
BENCHMARK(BM_EncodeDelayText);

void BM_RejectUnknownBatch(benchmark::State& state) {
    const Bytes noise(41, 0x13);
    for (auto _ : state) {
        benchmark::DoNotOptimize(classify_reply(noise));
        benchmark::DoNotOptimize(parse_settings_reply(noise));
    }
}
BENCHMARK(BM_RejectUnknownBatch);

}  // namespace
