#include "bench/skin/lzh_bench_packages.h"

#include <random>
#include <string>

#include "platform/gdi/bmp.h"
#include "skin/data/skin_reader.h"
#include "skin/data/skin_stream.h"
#include "skin/embedded_skin.h"

namespace skin_bench {

std::vector<uint8_t> default_package_stream() {
    skin::TMemoryStream stored(std::vector<uint8_t>(skin::embedded_skin_stream().begin(),
                                                    skin::embedded_skin_stream().end()));
    skin::TMemoryStream data;
    skin::ReadSkinStream(stored, data);
    return data.Bytes();
}

std::vector<uint8_t> noisy_package_stream() {
    std::mt19937 rng(2026);
    std::vector<skin::SkinPackageEntry> entries;
    for (int n = 0; n < 6; ++n) {
        gdi::Bitmap b(200, 200);
        for (int y = 0; y < b.height(); ++y) {
            for (int x = 0; x < b.width(); ++x) {
                const auto noise = static_cast<int>(rng() % 3);
                const auto v = [&](int base) {
                    return static_cast<uint8_t>((base + noise) & 0xFF);
                };
                b.set_color(x, y, gdi::rgb(v(x + n * 20), v(y), v((x + y) / 2)));
            }
        }
        entries.push_back({"noise" + std::to_string(n) + ".bmp", gdi::encode_bmp(b, 24)});
    }
    const std::string ini = "[Personality]\nTop=noise0.bmp\n";
    entries.push_back({"noise.ini", std::vector<uint8_t>(ini.begin(), ini.end())});
    return skin::compress_bytes(skin::build_skin_package(40000, entries));
}

}  // namespace skin_bench
