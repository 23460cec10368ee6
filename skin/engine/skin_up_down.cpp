#include "skin/engine/skin_up_down.h"

#include "platform/win/message.h"
#include "platform/win/window.h"
#include "skin/engine/skin_data.h"
#include "skin/skin_draw.h"

namespace skin {

void DrawSpinHalves(gdi::DC& dc, const gdi::Rect& r, const TDataSkinBorder& spin, bool vertical,
                    int first_state, int second_state) {
    if (spin.Map.empty() || r.empty())
        return;
    gdi::Rect first = r, second = r;
    if (vertical) {
        first.bottom = second.top = r.top + r.height() / 2;
    } else {
        first.right = second.left = r.left + r.width() / 2;
    }
    const int frames = spin.frame > 0 ? spin.frame : 8;
    DrawRect1(dc, first, spin.Map, frames, first_state, true);
    DrawRect1(dc, second, spin.Map, frames, second_state, true);
    if (!spin.MaskMap.empty()) {
        DrawRect3(dc, first, spin.MaskMap, frames, first_state, true);
        DrawRect3(dc, second, spin.MaskMap, frames, second_state, true);
    }
}

int SpinHalfState(bool enabled, bool over, bool down) {
    if (!enabled)
        return 3;
    if (over && down)
        return 2;
    if (over)
        return 4;
    return 1;
}

bool TSkinUpDown::CanPaint() const {
    const auto& spin = vertical ? fsd->VSpin : fsd->HSpin;
    return spin && !spin->Map.empty();
}

void TSkinUpDown::DrawControl(gdi::DC& dc, const gdi::Rect& r) {
    if (!CanPaint() || r.empty())
        return;
    gdi::Bitmap off(r.width(), r.height());
    gdi::DC mem(off);
    mem.fill_rect(r, SkinColor(csButtonFace));
    const auto& spin = vertical ? *fsd->VSpin : *fsd->HSpin;
    DrawSpinHalves(mem, r, spin, vertical, SpinHalfState(enabled, over_half_ == 1, down_),
                   4 + SpinHalfState(enabled, over_half_ == 2, down_));
    dc.bit_blt(r.left, r.top, r.width(), r.height(), off, 0, 0);
}

void TSkinUpDown::AfterProc(forms::TMessage& m) {
    switch (m.Msg) {
        case win::WM_MOUSEMOVE: {
            const gdi::Point p = win::MAKEPOINT(m.LParam);
            const gdi::Rect c = win::GetClientRect(hwnd);
            const int half =
                vertical ? (p.y < c.height() / 2 ? 1 : 2) : (p.x < c.width() / 2 ? 1 : 2);
            if (half != over_half_) {
                over_half_ = half;
                Invalidate();
                TrackLeave();
            }
            return;
        }
        case win::WM_LBUTTONDOWN:
            down_ = true;
            Invalidate();
            return;
        case win::WM_LBUTTONUP:
            down_ = false;
            Invalidate();
            return;
        case win::WM_MOUSELEAVE:
            over_half_ = 0;
            down_ = false;
            Invalidate();
            return;
        default:
            TSkinControl::AfterProc(m);
    }
}

}  // namespace skin
