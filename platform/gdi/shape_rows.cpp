#include "platform/gdi/shape_rows.h"

#include <algorithm>
#include <cmath>

namespace gdi {

RowSpan ellipse_row(const Rect& e, int y) {
    const double a = e.width() / 2.0;
    const double b = e.height() / 2.0;
    const double cx = e.left + a;
    const double cy = e.top + b;
    const double dy = (y + 0.5 - cy) / b;
    if (b <= 0 || dy * dy > 1.0) {
        return {};
    }
    const double half = a * std::sqrt(1.0 - dy * dy);
    return {round_half_away(cx - half), round_half_away(cx + half)};
}

RoundRectRows::RoundRectRows(const Rect& r, int corner_w, int corner_h) : r_(r) {
    corner_w = std::clamp(corner_w, 0, std::max(0, r.width()));
    corner_h = std::clamp(corner_h, 0, std::max(0, r.height()));
    if (corner_w < 2 || corner_h < 2) {
        return;
    }
    top_corner_ = {r.left, r.top, r.left + corner_w, r.top + corner_h};
    bottom_corner_ = {r.left, r.bottom - corner_h, r.left + corner_w, r.bottom};
    half_ = corner_h / 2;
}

RowSpan RoundRectRows::row(int y) const {
    if (y < r_.top || y >= r_.bottom) {
        return {};
    }
    int inset = 0;
    if (y < r_.top + half_) {
        inset = ellipse_row(top_corner_, y).left - r_.left;
    } else if (y >= r_.bottom - half_) {
        inset = ellipse_row(bottom_corner_, y).left - r_.left;
    }
    inset = std::clamp(inset, 0, r_.width() / 2);
    return {r_.left + inset, r_.right - inset};
}

}  // namespace gdi
