#include "tests/skin/skin_test_package.h"

#include "platform/gdi/bmp.h"
#include "skin/data/skin_reader.h"
#include "skin/data/skin_stream.h"

namespace skin::test {

std::vector<uint8_t> make_skin(const std::string& ini,
                               const std::vector<std::pair<std::string, gdi::Bitmap>>& images,
                               int32_t version) {
    std::vector<SkinPackageEntry> entries;
    for (const auto& [name, bitmap] : images) {
        entries.push_back({name, gdi::encode_bmp(bitmap, 24)});
    }
    entries.push_back({"test.ini", std::vector<uint8_t>(ini.begin(), ini.end())});
    return compress_bytes(build_skin_package(version, entries));
}

gdi::Bitmap solid_states(int w, int h, const std::vector<gdi::Color>& colors, bool stacked) {
    const int n = static_cast<int>(colors.size());
    gdi::Bitmap b(stacked ? w : w * n, stacked ? h * n : h);
    for (int k = 0; k < n; ++k) {
        for (int y = 0; y < h; ++y) {
            for (int x = 0; x < w; ++x) {
                b.set_color(stacked ? x : k * w + x, stacked ? k * h + y : y,
                            colors[static_cast<size_t>(k)]);
            }
        }
    }
    return b;
}

}  // namespace skin::test
