#include "platform/gdi/key_runs.h"

#include "platform/gdi/bitmap.h"

namespace gdi {

KeyRuns::KeyRuns(const Bitmap& image, Color key) : key_(key) {
    const Pixel k = pixel_of(key) & 0x00FFFFFFu;
    first_.reserve(static_cast<size_t>(image.height()) + 1);
    first_.push_back(0);
    for (int y = 0; y < image.height(); ++y) {
        const Pixel* p = image.row(y);
        const int w = image.width();
        int x = 0;
        while (x < w) {
            while (x < w && (p[x] & 0x00FFFFFFu) == k)
                ++x;
            const int begin = x;
            while (x < w && (p[x] & 0x00FFFFFFu) != k)
                ++x;
            if (x > begin)
                runs_.push_back({begin, x});
        }
        first_.push_back(static_cast<uint32_t>(runs_.size()));
    }
}

}  // namespace gdi
