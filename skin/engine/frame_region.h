#pragma once

#include <array>
#include <memory>

#include "platform/gdi/region.h"
#include "skin/engine/frame_types.h"

namespace skin {

class TDataSkinBorder;

// The four border elements in the skin's order: Left, Right, Top, Bottom (any may be null).
using TBorderSet = std::array<const TDataSkinBorder*, 4>;

// The border widths of a skin: each from its image and state count (top and bottom images
// hold their states stacked, left and right side by side); a missing or empty image gives 0.
TFrameWidths BorderWidths(const TBorderSet& borders);

// Draws border `index` (0 Left, 1 Right, 2 Top, 3 Bottom) at the size of `part` into a new
// bitmap: its margins, its middle stretched or tiled, state 1 for an active window (or a
// border of one state) and 2 otherwise. Empty when the border or the size is empty.
gdi::Bitmap BorderPicture(const TDataSkinBorder* border, int index, int width, int height,
                          bool active);

// The shape of a window of w x h with a skinned frame: when the left, right or top border is
// transparent, the inside of the borders united with each border's pixels that are not
// magenta (a transparent border) or its whole rectangle (an opaque one; also a bottom border
// under 2 pixels high); otherwise the whole window. Empty for a window without area.
gdi::Region FrameRegion(int w, int h, const TFrameWidths& bw, const TBorderSet& borders);

}  // namespace skin
