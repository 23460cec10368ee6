// Decoding the embedded skin and loading it whole, with the rates of both; the decoder against
// the one it replaced and the textbook C decoder, on the default package and on a package of
// noisy bitmaps.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <ctime>
#include <string>

#include "bench/skin/baseline_lzh_decoder.h"
#include "bench/skin/classic_lzh_decoder.h"
#include "bench/skin/lzh_bench_packages.h"
#include "platform/gdi/bmp.h"

#include "skin/built_in_description.h"
#include "skin/data/skin_reader.h"
#include "skin/data/skin_stream.h"
#include "skin/embedded_skin.h"
#include "skin/skin_data_core.h"
#include "skin/skin_draw.h"

namespace {

std::vector<uint8_t> embedded_compressed() {
    return skin_bench::default_package_stream();
}

void BM_DecodeEmbeddedPackage(benchmark::State& state) {
    const std::vector<uint8_t> compressed = embedded_compressed();
    size_t produced = 0;
    for (auto _ : state) {
        auto package = skin::decompress_bytes(compressed);
        produced = package->size();
        benchmark::DoNotOptimize(package);
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * produced));
    state.counters["package_bytes"] = static_cast<double>(produced);
    state.counters["compressed_bytes"] = static_cast<double>(compressed.size());
}
BENCHMARK(BM_DecodeEmbeddedPackage)->Unit(benchmark::kMillisecond);

std::vector<uint8_t> noisy_compressed() {
    return skin_bench::noisy_package_stream();
}

// Milliseconds of processor time of the best of a few runs of a decoder, for the ratio beside
// the rate (processor time, so that other work on the machine does not tilt the ratio).
template <typename Decode>
double best_ms(const Decode& decode) {
    const auto now_ms = [] {
        timespec t{};
        clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
        return static_cast<double>(t.tv_sec) * 1e3 + static_cast<double>(t.tv_nsec) / 1e6;
    };
    double best = 1e9;
    for (int i = 0; i < 7; ++i) {
        const double start = now_ms();
        benchmark::DoNotOptimize(decode());
        best = std::min(best, now_ms() - start);
    }
    return best;
}

// The decoder (state.range(0) == 0), the one it replaced (1) or the textbook C decoder (2) on
// the default package or the noisy one; the counters give the sizes, the best times of all
// three measured in the same run, and how many times faster the decoder is than the other two.
void decode_rates(benchmark::State& state, const std::vector<uint8_t>& compressed) {
    const int64_t which = state.range(0);
    const auto fast = [&] { return *skin::decompress_bytes(compressed); };
    const auto old = [&] { return skin_bench::baseline_lzh_decode(compressed); };
    const auto classic = [&] { return skin_bench::classic_lzh_decode(compressed); };
    const std::vector<uint8_t> expected = fast();
    if (old() != expected || classic() != expected) {
        state.SkipWithError("the decoders disagree");
        return;
    }
    for (auto _ : state) {
        benchmark::DoNotOptimize(which == 0 ? fast() : which == 1 ? old() : classic());
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * expected.size()));
    state.counters["package_bytes"] = static_cast<double>(expected.size());
    state.counters["compressed_bytes"] = static_cast<double>(compressed.size());
    const double fast_ms = best_ms(fast);
    const double old_ms = best_ms(old);
    const double classic_ms = best_ms(classic);
    state.counters["best_ms"] = which == 0 ? fast_ms : which == 1 ? old_ms : classic_ms;
    state.counters["replaced_ms"] = old_ms;
    state.counters["classic_ms"] = classic_ms;
    state.counters["x_replaced"] = old_ms / fast_ms;
    state.counters["x_classic"] = classic_ms / fast_ms;
}

void BM_DecodeDefaultPackage(benchmark::State& state) {
    decode_rates(state, embedded_compressed());
}
BENCHMARK(BM_DecodeDefaultPackage)->Arg(0)->Arg(1)->Arg(2)->ArgName("decoder");

void BM_DecodeNoisyPackage(benchmark::State& state) {
    static const std::vector<uint8_t> compressed = noisy_compressed();
    decode_rates(state, compressed);
}
BENCHMARK(BM_DecodeNoisyPackage)
    ->Arg(0)
    ->Arg(1)
    ->Arg(2)
    ->ArgName("decoder")
    ->Unit(benchmark::kMillisecond);

void BM_EncodeEmbeddedPackage(benchmark::State& state) {
    const std::vector<uint8_t> package = *skin::decompress_bytes(embedded_compressed());
    for (auto _ : state) {
        benchmark::DoNotOptimize(skin::compress_bytes(package));
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * package.size()));
}
BENCHMARK(BM_EncodeEmbeddedPackage)->Unit(benchmark::kMillisecond);

// The whole load of the main form's skin: stored property, decoding, package, description,
// every image and the derived ones.
void BM_LoadEmbeddedSkin(benchmark::State& state) {
    const auto stored = skin::embedded_skin_stream();
    for (auto _ : state) {
        skin::TSkinDataCore skin;
        skin::TMemoryStream in(std::vector<uint8_t>(stored.begin(), stored.end()));
        if (!skin.ReadData(in)) {
            state.SkipWithError("the embedded skin did not load");
            break;
        }
        benchmark::DoNotOptimize(skin.Button.get());
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * stored.size()));
}
BENCHMARK(BM_LoadEmbeddedSkin)->Unit(benchmark::kMillisecond);

void BM_LoadFromIniOnly(benchmark::State& state) {
    skin::TSkinDataCore skin;
    const auto stored = skin::embedded_skin_stream();
    skin::TMemoryStream in(std::vector<uint8_t>(stored.begin(), stored.end()));
    skin.ReadData(in);
    for (auto _ : state) {
        // The held bytes are the built-in skin's: its description's table and the machine's
        // part of loading; the difference to BM_LoadEmbeddedSkin is the stored property's copy.
        skin.LoadSkin();
    }
}
BENCHMARK(BM_LoadFromIniOnly)->Unit(benchmark::kMillisecond);

// The built-in skin's description from the table the build made of it (state.range(0) == 0)
// against reading its text (1: a package of the description alone, so that no image is
// decoded; both give every element object). The counters give the best times of both, measured
// in the same run, and how many times faster the table is.
void BM_BuiltInDescription(benchmark::State& state) {
    const auto package = skin::embedded_skin_package();
    skin::TSkinReader reader;
    skin::TMemoryStream text;
    std::string name;
    if (!reader.LoadPackage(std::vector<uint8_t>(package.begin(), package.end()))) {
        state.SkipWithError("the built-in package does not read");
        return;
    }
    reader.readIni(".ini", &text, name);
    if (text.Size() == 0) {
        state.SkipWithError("the built-in package has no description");
        return;
    }
    const std::vector<uint8_t> description_only =
        skin::build_skin_package(reader.header.Version, {{name, text.Bytes()}});
    const auto table = [] {
        skin::TSkinDataCore s;
        return skin::read_built_in_description(s);
    };
    const auto read = [&] {
        skin::TSkinDataCore s;
        return s.ReadPackageDescription(description_only);
    };
    for (auto _ : state) {
        benchmark::DoNotOptimize(state.range(0) == 0 ? table() : read());
    }
    const double table_ms = best_ms(table);
    const double read_ms = best_ms(read);
    state.counters["table_ms"] = table_ms;
    state.counters["text_ms"] = read_ms;
    state.counters["x_text"] = read_ms / table_ms;
}
BENCHMARK(BM_BuiltInDescription)->Arg(0)->Arg(1)->ArgName("text")->Unit(benchmark::kMicrosecond);

// One 120 x 30 button face through the slicing primitive, the unit of all control painting.
void BM_DrawRect2Button(benchmark::State& state) {
    skin::TSkinDataCore skin;
    const auto stored = skin::embedded_skin_stream();
    skin::TMemoryStream in(std::vector<uint8_t>(stored.begin(), stored.end()));
    skin.ReadData(in);
    gdi::Bitmap target(120, 30);
    gdi::DC dc(target);
    for (auto _ : state) {
        skin::DrawElement(dc, {0, 0, 120, 30}, *skin.Button, 4);
    }
}
BENCHMARK(BM_DrawRect2Button);

}  // namespace
