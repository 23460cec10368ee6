#include "skin/engine/skin_edit.h"

#include "forms/date_time_picker.h"
#include "platform/win/message.h"
#include "platform/win/styles.h"
#include "platform/win/window.h"
#include "skin/engine/skin_data.h"
#include "skin/engine/skin_up_down.h"

namespace skin {

bool TSkinEdit::HasBorder() const {
    if (control)
        return Prop("BorderStyle") != "bsnone";
    const auto style = win::GetWindowLongPtr(hwnd, win::GWL_STYLE);
    const auto ex = win::GetWindowLongPtr(hwnd, win::GWL_EXSTYLE);
    return (style & win::WS_BORDER) || (ex & win::WS_EX_CLIENTEDGE);
}

void TSkinEdit::DrawControl(gdi::DC& dc, const gdi::Rect& r) {
    if (r.empty())
        return;
    if (HasBorder()) {
        const gdi::Color white = gdi::rgb(255, 255, 255);
        dc.frame_rect(r, SkinColor(csButtonShadow));
        dc.frame_rect(r.inflate(-1, -1), white);
        dc.frame_rect(r.inflate(-2, -2), white);
    }
    auto* picker = dynamic_cast<forms::TDateTimePicker*>(control);
    if (picker && picker->Kind() == forms::TDateTimeKind::dtkTime &&
        fsd->SkinControls.has(xcSpin) && fsd->VSpin && !fsd->VSpin->Map.empty()) {
        const gdi::Rect b = picker->ButtonRect();
        dc.fill_rect(b, SkinColor(csButtonFace));
        DrawSpinHalves(dc, b, *fsd->VSpin, true,
                       SpinHalfState(enabled, spin_over_ == 1, spin_down_),
                       4 + SpinHalfState(enabled, spin_over_ == 2, spin_down_));
    }
}

void TSkinEdit::AfterProc(forms::TMessage& m) {
    auto* picker = dynamic_cast<forms::TDateTimePicker*>(control);
    if (picker) {
        switch (m.Msg) {
            case win::WM_MOUSEMOVE: {
                const gdi::Point p = win::MAKEPOINT(m.LParam);
                const gdi::Rect b = picker->ButtonRect();
                const int half = b.contains(p) ? (p.y < b.top + b.height() / 2 ? 1 : 2) : 0;
                if (half != spin_over_) {
                    spin_over_ = half;
                    Invalidate();
                    TrackLeave();
                }
                return;
            }
            case win::WM_LBUTTONDOWN:
            case win::WM_LBUTTONUP:
                spin_down_ = m.Msg == win::WM_LBUTTONDOWN;
                Invalidate();
                return;
            case win::WM_MOUSELEAVE:
                spin_over_ = 0;
                spin_down_ = false;
                Invalidate();
                return;
            default:
                break;
        }
    }
    TSkinControl::AfterProc(m);
}

}  // namespace skin
