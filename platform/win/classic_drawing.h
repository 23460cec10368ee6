#pragma once

#include "platform/gdi/dc.h"
#include "platform/win/types.h"

// The 3-D edges and arrow glyphs of the plain look, drawn in the current system colours
// (GetSysColor). The default frame and scroll bars, and the framework's control painter, all
// draw with these, so that SetSysColor changes every part of the plain look alike.
namespace win {

// DrawEdge in the system colours (COLOR_3DHILIGHT, COLOR_3DLIGHT, COLOR_3DSHADOW,
// COLOR_3DDKSHADOW, COLOR_3DFACE ...). With BF_ADJUST, `r` is shrunk by the drawn width.
bool DrawEdge(gdi::DC& dc, RECT* r, UINT edge, UINT flags);

// Where an arrow glyph points.
enum class ArrowDirection { Up, Down, Left, Right };

// A solid triangle centred in `r`: `rows` rows (1, 3, 5 ... pixels long) from its tip to its
// base; 0 picks a size that suits `r` (a quarter of its smaller side, 2 to 4 rows).
void DrawArrowGlyph(gdi::DC& dc, const RECT& r, ArrowDirection direction, COLORREF color,
                    int rows = 0);

}  // namespace win
