// A description of any text over a package of small images: the whole key reading and the
// derived images run without fault, and the component ends loaded.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "platform/gdi/bmp.h"
#include "skin/data/skin_reader.h"
#include "skin/data/skin_stream.h"
#include "skin/skin_data_core.h"

namespace {

const std::vector<uint8_t>& image_bytes(int w, int h) {
    static std::vector<std::vector<uint8_t>> cache;
    gdi::Bitmap b(w, h, gdi::pixel_of(gdi::kMagenta));
    for (int y = 1; y < h - 1; ++y) {
        for (int x = 1; x < w - 1; ++x) {
            b.set_color(x, y,
                        gdi::rgb(static_cast<uint8_t>(x * 9), static_cast<uint8_t>(y * 7), 90));
        }
    }
    cache.push_back(gdi::encode_bmp(b, 24));
    return cache.back();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const std::vector<skin::SkinPackageEntry> images = {{"a.bmp", image_bytes(40, 21)},
                                                               {"b.bmp", image_bytes(126, 21)},
                                                               {"c.bmp", image_bytes(3, 60)},
                                                               {"d.bmp", image_bytes(1, 1)}};
    std::vector<skin::SkinPackageEntry> entries = images;
    entries.push_back({"fuzz.ini", std::vector<uint8_t>(data, data + size)});
    const std::vector<uint8_t> package = skin::build_skin_package(40000, entries);
    skin::TSkinDataCore skin;
    if (!skin.LoadFromPackage(package) || skin.Empty) {
        std::abort();
    }
    return 0;
}
