// Decoding the embedded skin and loading it whole, with the rates of both.
#include <benchmark/benchmark.h>

#include "skin/data/skin_reader.h"
#include "skin/data/skin_stream.h"
#include "skin/embedded_skin.h"
#include "skin/skin_data_core.h"
#include "skin/skin_draw.h"

namespace {

std::vector<uint8_t> embedded_compressed() {
    skin::TMemoryStream stored(std::vector<uint8_t>(skin::embedded_skin_stream().begin(),
                                                    skin::embedded_skin_stream().end()));
    skin::TMemoryStream data;
    skin::ReadSkinStream(stored, data);
    return data.Bytes();
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
        // LoadSkin decodes again; the difference to BM_LoadEmbeddedSkin is the decode.
        skin.LoadSkin();
    }
}
BENCHMARK(BM_LoadFromIniOnly)->Unit(benchmark::kMillisecond);

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
