#include "skin/skin_gradient.h"

#include <algorithm>
#include <cmath>

#include "skin/skin_colors.h"

namespace skin {

gdi::Color resolve_color(gdi::Color c, const std::function<gdi::Color(int)>& system) {
    if (is_system_color(c)) {
        return (system ? system(static_cast<int>(c & 0xFF)) : classic_system_color(c & 0xFF)) &
               0x00FFFFFFu;
    }
    return c & 0x00FFFFFFu;
}

gdi::Color blend(gdi::Color a, gdi::Color b, int w) {
    const int d = w < 100 ? 100 : 1000;
    auto mix = [&](int ca, int cb) {
        const int v = (cb * (d - w) + ca * w + d / 2) / d;
        return static_cast<uint8_t>(std::clamp(v, 0, 255));
    };
    return gdi::rgb(mix(gdi::red_of(a), gdi::red_of(b)), mix(gdi::green_of(a), gdi::green_of(b)),
                    mix(gdi::blue_of(a), gdi::blue_of(b)));
}

int saturation_value(gdi::Color c) {
    const int r = gdi::red_of(c);
    const int g = gdi::green_of(c);
    const int b = gdi::blue_of(c);
    if (r <= 159 && g <= 159 && b <= 159) {
        return 200;
    }
    const int mx = std::max({r, g, b});
    const int mn = std::min({r, g, b});
    // Rounds half to even, as the framework's Round does.
    return static_cast<int>(std::nearbyint(255.0 * (mx - mn) / mx));
}

std::vector<gdi::Color> gradient_rows(int rows, gdi::Color first, gdi::Color last) {
    std::vector<gdi::Color> out;
    if (rows <= 0) {
        return out;
    }
    out.reserve(static_cast<size_t>(rows));
    auto channel = [&](int a, int b, int i) {
        if (rows == 1) {
            return static_cast<uint8_t>((a + b) / 2);
        }
        return static_cast<uint8_t>(a + ((rows - 1) / 2 + i * (b - a)) / (rows - 1));
    };
    for (int i = 0; i < rows; ++i) {
        out.push_back(gdi::rgb(channel(gdi::red_of(first), gdi::red_of(last), i),
                               channel(gdi::green_of(first), gdi::green_of(last), i),
                               channel(gdi::blue_of(first), gdi::blue_of(last), i)));
    }
    return out;
}

const std::vector<gdi::Color>& GradientCache::rows(int count, gdi::Color first, gdi::Color last) {
    for (size_t i = 0; i < entries_.size(); ++i) {
        if (entries_[i].count == count && entries_[i].first == first && entries_[i].last == last) {
            // Move it to the most recent place.
            std::rotate(entries_.begin() + static_cast<std::ptrdiff_t>(i),
                        entries_.begin() + static_cast<std::ptrdiff_t>(i) + 1, entries_.end());
            return entries_.back().table;
        }
    }
    if (entries_.size() == kCapacity) {
        entries_.erase(entries_.begin());
    }
    ++computed_;
    entries_.push_back({count, first, last, gradient_rows(count, first, last)});
    return entries_.back().table;
}

void fill_gradient(gdi::Bitmap& target, gdi::Color first, gdi::Color last, GradientCache& cache) {
    const std::vector<gdi::Color>& table = cache.rows(target.height(), first, last);
    for (int y = 0; y < target.height(); ++y) {
        const gdi::Pixel p = gdi::pixel_of(table[static_cast<size_t>(y)]);
        std::fill(target.row(y), target.row(y) + target.width(), p);
    }
}

}  // namespace skin
