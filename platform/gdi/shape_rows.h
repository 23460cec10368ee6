#pragma once

#include "platform/gdi/geometry.h"

namespace gdi {

// One pixel row of a filled shape: the pixels left <= x < right (none when right <= left).
struct RowSpan {
    int left = 0;
    int right = 0;
    bool empty() const { return right <= left; }
};

// The rows of the round shapes, one at a time. Regions are built from them and a DC fills
// them directly, drawing only the rows its clip lets through, so a shape drawn and the same
// shape as a region always cover the same pixels.

// x rounded to the nearest integer, halves away from zero: what std::lround gives for the
// coordinates shapes use, without a library call for each row's two ends.
inline int round_half_away(double x) {
    const long long t = static_cast<long long>(x);       // toward zero
    const double fraction = x - static_cast<double>(t);  // exact
    return static_cast<int>(fraction >= 0.5 ? t + 1 : fraction <= -0.5 ? t - 1 : t);
}

// The horizontal extent of an ellipse inscribed in `e` on row y (empty outside it).
RowSpan ellipse_row(const Rect& e, int y);

// A rectangle with rounded corners (ellipse width and height of the corners, clamped to the
// rectangle; under 2 pixels the corners are square). Only the first and last corner_rows()
// rows are narrower than the rectangle.
class RoundRectRows {
  public:
    RoundRectRows(const Rect& r, int corner_w, int corner_h);
    RowSpan row(int y) const;
    int corner_rows() const { return half_; }

  private:
    Rect r_;
    Rect top_corner_;
    Rect bottom_corner_;
    int half_ = 0;
};

}  // namespace gdi
