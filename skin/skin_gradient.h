#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include "platform/gdi/bitmap.h"
#include "platform/gdi/color.h"

namespace skin {

// Resolves a colour value: a system colour value (top bit set) through `system`, any other as
// it is (top byte cleared).
gdi::Color resolve_color(gdi::Color c, const std::function<gdi::Color(int)>& system);

// Mixes a and b with weight w of a: d = 100 when w < 100, else 1000; each channel is
// (b * (d - w) + a * w + d / 2) / d. Both colours must already be resolved.
gdi::Color blend(gdi::Color a, gdi::Color b, int w);

// 200 unless a channel is above 159; then round(255 * (max - min) / max).
int saturation_value(gdi::Color c);

// The row colours of a vertical linear gradient of n rows from first to last: row i has, per
// channel, first + ((n - 1) / 2 + i * (last - first)) / (n - 1); a single row the midpoint.
std::vector<gdi::Color> gradient_rows(int rows, gdi::Color first, gdi::Color last);

// The 16 most recent gradient tables, keyed by row count and end colours.
class GradientCache {
  public:
    static constexpr size_t kCapacity = 16;
    const std::vector<gdi::Color>& rows(int count, gdi::Color first, gdi::Color last);
    size_t size() const { return entries_.size(); }
    // How many tables were computed rather than reused (for tests and benchmarks).
    int computed() const { return computed_; }

  private:
    struct Entry {
        int count;
        gdi::Color first;
        gdi::Color last;
        std::vector<gdi::Color> table;
    };
    std::vector<Entry> entries_;  // most recent last
    int computed_ = 0;
};

// Fills a bitmap with a top-to-bottom gradient.
void fill_gradient(gdi::Bitmap& target, gdi::Color first, gdi::Color last, GradientCache& cache);

}  // namespace skin
