#include "skin/engine/skin_group_box.h"

#include "platform/gdi/font_engine.h"
#include "platform/win/window.h"
#include "skin/engine/skin_data.h"

namespace skin {

namespace {
constexpr win::DWORD kRightAlignedExStyle = 0x1000;
// The corner size of the rounded frame; its arcs stay within this many pixels of the frame's
// corners.
constexpr int kCorner = 5;
}  // namespace

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
    // The height of a line of the font (what the text "0" measures high).
    const int th = dc.get_text_metrics().height;
    dc.select_pen(gdi::Pen{gdi::PenStyle::Solid, 1, SkinColor(csButtonShadow)});
    dc.select_brush(gdi::Brush{gdi::BrushStyle::Null, 0});
    dc.round_rect(gdi::Rect{r.left, r.top + th / 2, r.right - 1, r.bottom - 1}, kCorner, kCorner);
    const std::string text = control ? control->Caption() : win::GetWindowText(hwnd);
    if (!text.empty()) {
        // Only a right-aligned caption needs its width first.
        const bool right =
            (win::GetWindowLongPtr(hwnd, win::GWL_EXSTYLE) & kRightAlignedExStyle) != 0;
        const int x = right ? r.right - 8 - dc.get_text_extent(text).cx : r.left + 8;
        dc.set_bk_mode(gdi::BkMode::Opaque);
        dc.set_bk_color(face);
        dc.set_text_color(enabled ? FontColor() : SkinColor(csButtonShadow));
        dc.text_out(x, r.top, text);
    }
    PaintGraphicChildren(dc, r);
}

int TSkinGroupBox::LineHeight() const {
    const forms::TFont& font = control->Font();
    if (line_height_ < 0 || !font.SameAs(line_font_)) {
        line_height_ = gdi::FontEngine::instance().get(font.ToGdi()).metrics().height;
        line_font_ = font;
    }
    return line_height_;
}

bool TSkinGroupBox::PlainBackground(const gdi::Rect& area, gdi::Color& colour) const {
    // A raw group-box window keeps its own inside.
    if (!control || !hwnd)
        return false;
    const gdi::Rect wr = win::GetWindowRect(hwnd);
    // The frame's top line and the caption both hang on the height of the text (the height
    // of a line in the control's font).
    const int th = LineHeight();
    // Clear of the frame line and its rounded corners, and below the caption's line (the
    // caption is drawn on an opaque background from the top edge down, in the same font).
    const gdi::Rect inside{kCorner, std::max(th / 2 + kCorner, th + 1), wr.width() - 1 - kCorner,
                           wr.height() - 1 - kCorner};
    if (area.empty() || area.intersect(inside) != area || GraphicChildIn(area))
        return false;
    colour = SkinColor(csButtonFace);
    return true;
}

}  // namespace skin
