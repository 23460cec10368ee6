// Start-up cost of the settings file (open, read, parse every field, close) and of one field
// write, on a file in the temporary directory.
#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <filesystem>
#include <string>

#include "settings/settings_loader.h"
#include "settings/settings_writers.h"

namespace {

std::filesystem::path bench_file() {
    std::string pattern = (std::filesystem::temp_directory_path() / "velmor-bench-XXXXXX").string();
    return std::filesystem::path(mkdtemp(pattern.data())) / "zuvo_16.dat";
}

void BM_LoadSettings(benchmark::State& state) {
    const auto file = bench_file();
    settings::LoadSettings(file, 46000.5);
    for (auto _ : state) {
        benchmark::DoNotOptimize(settings::LoadSettings(file, 46000.5));
    }
    std::filesystem::remove_all(file.parent_path());
}
BENCHMARK(BM_LoadSettings);

void BM_ParseSettingsImage(benchmark::State& state) {
    const auto image = settings::DefaultSettingsImage(46000.5);
    for (auto _ : state) {
        benchmark::DoNotOptimize(settings::ParseSettings(image));
    }
}
BENCHMARK(BM_ParseSettingsImage);

void BM_WriteOneField(benchmark::State& state) {
    const auto file = bench_file();
    settings::LoadSettings(file, 46000.5);
    bool on = false;
    for (auto _ : state) {
        on = !on;
        benchmark::DoNotOptimize(settings::WriteOnFlag(file, 3, 4, on));
    }
    std::filesystem::remove_all(file.parent_path());
}
BENCHMARK(BM_WriteOneField);

}  // namespace
