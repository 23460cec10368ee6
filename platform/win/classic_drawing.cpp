#include "platform/win/classic_drawing.h"

#include <algorithm>

#include "platform/win/metrics.h"

namespace win {

bool DrawEdge(gdi::DC& dc, RECT* r, UINT edge, UINT flags) {
    if (!r)
        return false;
    return dc.draw_edge(*r, edge, flags, SystemEdgeColors());
}

void DrawArrowGlyph(gdi::DC& dc, const RECT& r, ArrowDirection direction, COLORREF color,
                    int rows) {
    if (r.empty())
        return;
    if (rows <= 0)
        rows = std::clamp(std::min(r.width(), r.height()) / 4, 2, 4);
    // The glyph spans `rows` pixels around the centre of `r` (for an even count, one more
    // before the centre than after); the opposite directions are mirror images of each other.
    const int cx = r.left + r.width() / 2;
    const int cy = r.top + r.height() / 2;
    const int base_offset = -(rows / 2);
    const int mirror = rows % 2 == 0 ? 1 : 0;
    for (int i = 0; i < rows; ++i) {
        const int half = rows - 1 - i;  // row i from the base: 2 * half + 1 pixels long
        const int d = base_offset + i;  // distance of the row from the centre, towards the tip
        switch (direction) {
            case ArrowDirection::Down:
                dc.fill_rect({cx - half, cy + d, cx + half + 1, cy + d + 1}, color);
                break;
            case ArrowDirection::Up:
                dc.fill_rect({cx - half, cy - d - mirror, cx + half + 1, cy - d - mirror + 1},
                             color);
                break;
            case ArrowDirection::Right:
                dc.fill_rect({cx + d, cy - half, cx + d + 1, cy + half + 1}, color);
                break;
            case ArrowDirection::Left:
                dc.fill_rect({cx - d - mirror, cy - half, cx - d - mirror + 1, cy + half + 1},
                             color);
                break;
        }
    }
}

}  // namespace win
