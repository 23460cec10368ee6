// Feeds arbitrary bytes to the BMP reader (with and without file header); a bitmap that reads
// is then drawn the ways element images are drawn, so its size and pixels are used for real.
#include <cstddef>
#include <cstdint>
#include <span>

#include "platform/gdi/bmp.h"
#include "platform/gdi/dc.h"
#include "platform/gdi/region.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::span<const uint8_t> bytes(data, size);
    for (const gdi::BmpResult& r : {gdi::read_bmp(bytes), gdi::read_dib(bytes)}) {
        if (!r.ok()) {
            if (!r.bitmap.empty())
                __builtin_trap();
            continue;
        }
        const gdi::Bitmap& b = r.bitmap;
        if (b.empty() || b.width() > 4096 || b.height() > 4096)
            continue;
        gdi::Bitmap target(16, 16);
        gdi::DC dc(target);
        dc.stretch_blt(0, 0, 16, 16, b, 0, 0, b.width(), b.height());
        dc.transparent_blt(-3, -3, 20, 9, b, 0, 0, b.width(), b.height());
        dc.bit_blt(2, 2, b.width(), b.height(), b, 0, 0);
        const gdi::Region mask = gdi::Region::from_mask(b);
        if (!mask.empty() && mask.bounds().intersect(b.rect()) != mask.bounds()) {
            __builtin_trap();
        }
    }
    return 0;
}
