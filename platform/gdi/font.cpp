#include "platform/gdi/font.h"

#include <utility>

namespace gdi {

Font Font::from_points(std::string face, int points, int weight) {
    Font f;
    f.face = std::move(face);
    // 96 dpi: one point is 4/3 pixel, rounded to the nearest pixel as Windows does.
    const int px = (points * 96 + (points >= 0 ? 36 : -36)) / 72;
    f.height = -px;
    f.weight = weight;
    return f;
}

}  // namespace gdi
