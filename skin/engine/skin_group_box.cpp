#include "skin/engine/skin_group_box.h"

#include "platform/win/window.h"
#include "skin/engine/skin_data.h"

namespace skin {

namespace {
constexpr win::DWORD kRightAlignedExStyle = 0x1000;
}

void TSkinGroupBox::DrawControl(gdi::DC& dc, const gdi::Rect& r) {
    if (r.empty())
        return;
    const gdi::Color face = SkinColor(csButtonFace);
    if (control) {
        dc.fill_rect(r, face);
    } else {
        // A raw group-box window keeps its inside; only its edge takes the background.
        dc.frame_rect(r, face);
        dc.frame_rect(r.inflate(-1, -1), face);
    }
    dc.select_font(ControlFont());
    const int th = dc.get_text_extent("0").cy;
    dc.select_pen(gdi::Pen{gdi::PenStyle::Solid, 1, SkinColor(csButtonShadow)});
    dc.select_brush(gdi::Brush{gdi::BrushStyle::Null, 0});
    dc.round_rect(gdi::Rect{r.left, r.top + th / 2, r.right - 1, r.bottom - 1}, 5, 5);
    const std::string text = control ? control->Caption() : win::GetWindowText(hwnd);
    if (!text.empty()) {
        const int tw = dc.get_text_extent(text).cx;
        const bool right =
            (win::GetWindowLongPtr(hwnd, win::GWL_EXSTYLE) & kRightAlignedExStyle) != 0;
        const int x = right ? r.right - 8 - tw : r.left + 8;
        dc.set_bk_mode(gdi::BkMode::Opaque);
        dc.set_bk_color(face);
        dc.set_text_color(enabled ? FontColor() : SkinColor(csButtonShadow));
        dc.text_out(x, r.top, text);
    }
    PaintGraphicChildren(dc, r);
}

}  // namespace skin
