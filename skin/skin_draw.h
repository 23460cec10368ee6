#pragma once

#include "platform/gdi/bitmap.h"
#include "platform/gdi/dc.h"
#include "platform/gdi/geometry.h"

namespace skin {

class TDataSkinObject;

// Where one state image sits in an element image of `frame` state images; states count from
// 1. A frame count below 1 is taken as 1 and a state outside 1..frame as the nearest one, so
// that a description with odd counts never divides by zero or reads beside the image.
gdi::Rect state_rect(const gdi::Bitmap& image, bool vertical, int frame, int state);

// Builds the W x H picture of one state of an element: corners copied, edges and centre
// stretched by dropping pixels (the centre tiled at its natural size when `tile` is set), in
// the order top-left, bottom-left, top-right, left, top, centre, bottom-right, right, bottom.
// Margins that do not fit the width (or the height) are dropped in that direction. Empty when
// W or H is not positive or the state image is empty.
gdi::Bitmap GetHMap(int width, int height, const gdi::Bitmap& image, bool vertical, bool tile,
                    int frame, int state, const gdi::Rect& margins);

// Draws that picture into dest, leaving magenta pixels out when `transparent`. A destination
// whose right edge is left of its left edge, or bottom above top, draws nothing.
void DrawRect2(gdi::DC& dc, const gdi::Rect& dest, const gdi::Bitmap& image, bool vertical,
               bool tile, bool transparent, int frame, int state, const gdi::Rect& margins);
// As filling dest with `under` and then drawing DrawRect2 over it, in one pass: the element's
// transparent pixels take the colour. Draws nothing and returns false when the element's
// pieces do not cover dest side by side (margins as large as the state image, an empty
// image); the caller then fills and draws.
bool DrawRect2Over(gdi::DC& dc, const gdi::Rect& dest, const gdi::Bitmap& image, bool vertical,
                   bool tile, bool transparent, int frame, int state, const gdi::Rect& margins,
                   gdi::Color under);
// An element with its own margins, tiling and transparency, state images side by side.
void DrawElement(gdi::DC& dc, const gdi::Rect& dest, const TDataSkinObject& element, int state,
                 bool vertical = false);

// One whole state image stretched to dest.
void DrawRect1(gdi::DC& dc, const gdi::Rect& dest, const gdi::Bitmap& image, int frame, int state,
               bool transparent, bool vertical = false);
// One state image centred in dest at its own size.
void DrawRect3(gdi::DC& dc, const gdi::Rect& dest, const gdi::Bitmap& image, int frame, int state,
               bool transparent, bool vertical = false);
// The whole image at (x, y), magenta left out.
void DrawTranmap(gdi::DC& dc, int x, int y, const gdi::Bitmap& image);

}  // namespace skin
