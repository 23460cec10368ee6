#include "skin/engine/skin_header.h"

#include <algorithm>

#include "platform/win/header.h"
#include "platform/win/input.h"
#include "platform/win/message.h"
#include "platform/win/window.h"
#include "skin/engine/skin_data.h"
#include "skin/skin_draw.h"

namespace skin {

int HeaderSectionStateIndex(int frames, bool enabled, bool pressed, bool hover) {
    int want = 1;
    if (!enabled)
        want = 4;
    else if (pressed)
        want = 2;
    else if (hover)
        want = 3;
    return want <= frames ? want : 1;
}

namespace members {

bool TSkinHeader::CanPaint() const {
    return fsd && fsd->Header && !fsd->Header->Map.empty();
}

int TSkinHeader::HitSection(gdi::Point p) const {
    win::HDHITTESTINFO info;
    info.pt = p;
    win::SendMessage(hwnd, win::HDM_HITTEST, 0, reinterpret_cast<win::LPARAM>(&info));
    return info.flags == win::HHT_ONHEADER ? info.iItem : -1;
}

void TSkinHeader::DrawControl(gdi::DC& dc, const gdi::Rect& r) {
    if (!CanPaint() || r.empty())
        return;
    const TDataSkinObject& e = *fsd->Header;
    const int frames = std::max(1, e.frame);
    BeginOffscreen(offscreen_, r, false);
    gdi::DC mem(offscreen_);
    mem.select_font(ControlFont());
    mem.set_bk_mode(gdi::BkMode::Transparent);
    const int count = static_cast<int>(win::SendMessage(hwnd, win::HDM_GETITEMCOUNT, 0, 0));
    int right_end = r.left;
    for (int i = 0; i < count; ++i) {
        gdi::Rect s;
        if (!win::SendMessage(hwnd, win::HDM_GETITEMRECT, i, reinterpret_cast<win::LPARAM>(&s)))
            continue;
        right_end = std::max(right_end, s.right);
        if (s.empty() || s.left >= r.right)
            continue;
        const bool down = pressed_ == i && pressed_in_;
        const int state = HeaderSectionStateIndex(frames, enabled, down, hot_ == i);
        DrawSkinMap(mem, s, frames, state, e);
        char text[260] = {};
        win::HDITEM item;
        item.mask = win::HDI_TEXT | win::HDI_FORMAT;
        item.pszText = text;
        item.cchTextMax = sizeof(text);
        win::SendMessage(hwnd, win::HDM_GETITEM, i, reinterpret_cast<win::LPARAM>(&item));
        gdi::Color colour = fsd->Resolve(e.Normalcolor2);
        if (!enabled)
            colour = SkinColor(csButtonShadow);
        else if (state == 2)
            colour = fsd->Resolve(e.Downcolor2);
        else if (state == 3)
            colour = fsd->Resolve(e.Overcolor2);
        mem.set_text_color(colour);
        unsigned fmt =
            gdi::DT_SINGLELINE | gdi::DT_VCENTER | gdi::DT_END_ELLIPSIS | gdi::DT_NOPREFIX;
        const int just = item.fmt & win::HDF_JUSTIFYMASK;
        fmt |= just == win::HDF_RIGHT    ? gdi::DT_RIGHT
               : just == win::HDF_CENTER ? gdi::DT_CENTER
                                         : 0u;
        const gdi::Rect t{s.left + 6, s.top, s.right - 6, s.bottom};
        if (!t.empty())
            mem.draw_text(text, t, fmt);
    }
    if (right_end < r.right)
        DrawSkinMap(mem, {right_end, r.top, r.right, r.bottom}, frames,
                    HeaderSectionStateIndex(frames, enabled, false, false), e);
    dc.bit_blt(r.left, r.top, r.width(), r.height(), offscreen_, 0, 0);
}

void TSkinHeader::AfterProc(forms::TMessage& m) {
    switch (m.Msg) {
        case win::WM_MOUSEMOVE: {
            const int hit = HitSection(win::MAKEPOINT(m.LParam));
            if (pressed_ >= 0) {
                // While a section is held no other one lights up, nor it once the mouse is off.
                const bool in = hit == pressed_;
                if (in != pressed_in_) {
                    pressed_in_ = in;
                    hot_ = in ? pressed_ : -1;
                    Invalidate();
                }
                return;
            }
            if (hit != hot_) {
                hot_ = hit;
                Invalidate();
                TrackLeave();
            }
            return;
        }
        case win::WM_LBUTTONDOWN: {
            // Pressed only where the header itself holds the mouse for a click.
            const auto style = static_cast<win::DWORD>(win::GetWindowLongPtr(hwnd, win::GWL_STYLE));
            const int hit = HitSection(win::MAKEPOINT(m.LParam));
            if ((style & win::HDS_BUTTONS) && hit >= 0 && win::GetCapture() == hwnd) {
                pressed_ = hit;
                pressed_in_ = true;
                Invalidate();
            }
            return;
        }
        case win::WM_LBUTTONUP:
        case win::WM_CAPTURECHANGED:
            if (pressed_ >= 0) {
                pressed_ = -1;
                pressed_in_ = false;
                Invalidate();
            }
            return;
        case win::WM_MOUSELEAVE:
            if (hot_ >= 0) {
                hot_ = -1;
                Invalidate();
            }
            return;
        default:
            TSkinControl::AfterProc(m);
    }
}

}  // namespace members

}  // namespace skin
