#pragma once

#include <vector>

#include "platform/gdi/geometry.h"
#include "platform/gdi/shape_rows.h"

namespace gdi {

// The rows of a round shape as a DC fills it: for each row of the shape's box, the pen's
// outer extent and the brush's inner extent.
struct ShapeSpans {
    std::vector<RowSpan> outer;  // row y at outer[y - box.top]
    std::vector<RowSpan> inner;  // empty rows where the pen leaves no inside
};

enum class RoundShape { Ellipse, RoundRect };

// The rows of an ellipse inscribed in `box` (corner sizes unused), or of a rectangle with
// rounded corners, for a pen `pen_width` wide (0: no pen, the inside is the whole shape).
// Worked out once per shape and kept for the next few shapes drawn: a page of indicators draws
// the same circle dozens of times, each at the same logical place. The reference holds until
// the next call on the same thread.
const ShapeSpans& shape_spans(RoundShape kind, const Rect& box, int pen_width, int corner_w,
                              int corner_h);

}  // namespace gdi
