#include "skin/engine/skin_check_box.h"

#include <algorithm>

#include "forms/button.h"
#include "platform/win/input.h"
#include "platform/win/message.h"
#include "platform/win/metrics.h"
#include "platform/win/window.h"
#include "skin/engine/skin_data.h"
#include "skin/skin_draw.h"

namespace skin {

namespace {

constexpr win::UINT BM_GETCHECK = 0x00F0;
constexpr win::DWORD BS_LEFTTEXT = 0x0020;

// The box at its own size, vertically centred, and the caption beside it.
void DrawBoxAndCaption(gdi::DC& dc, const gdi::Rect& r, const gdi::Bitmap& image, int frames,
                       int index, bool box_right, const std::string& caption, const gdi::Font& font,
                       gdi::Color color, bool focused) {
    const gdi::Rect src = state_rect(image, false, frames, index);
    const int bw = src.width();
    const int bh = src.height();
    const int x = box_right ? r.right - bw : r.left;
    const int y = r.top + (r.height() - bh) / 2;
    if (bw > 0 && bh > 0)
        dc.transparent_blt(x, y, bw, bh, image, src.left, src.top, bw, bh, gdi::kMagenta);
    dc.select_font(font);
    dc.set_text_color(color);
    dc.set_bk_mode(gdi::BkMode::Transparent);
    gdi::Rect text = box_right ? gdi::Rect{r.left, r.top, x - 2, r.bottom}
                               : gdi::Rect{x + bw + 2, r.top, r.right, r.bottom};
    const unsigned fmt = gdi::DT_LEFT | gdi::DT_VCENTER | gdi::DT_SINGLELINE | gdi::DT_NOPREFIX;
    dc.draw_text(caption, text, fmt);
    if (focused && !caption.empty()) {
        gdi::Rect measured = text;
        dc.draw_text(caption, measured, fmt | gdi::DT_CALCRECT);
        const int h = measured.height();
        const int top = text.top + (text.height() - h) / 2;
        dc.draw_focus_rect(gdi::Rect{measured.left - 1, top, measured.right + 1, top + h});
    }
}

}  // namespace

void TSkinCheckBox::Init(TWinSkinForm* sf, TSkinData* sd, forms::TWinControl* owner,
                         bool newcolor) {
    TSkinControl::Init(sf, sd, owner, newcolor);
    trans = owner->Tag() == kTransparentTag || sd->Options.has(xoTransparent);
}

const gdi::Bitmap& TSkinCheckBox::Image() const {
    return fsd->Button->CheckMap;
}

int TSkinCheckBox::Frames() const {
    return std::max(1, fsd->Button->checkframe);
}

bool TSkinCheckBox::CanPaint() const {
    return fsd && fsd->Button && !Image().empty();
}

int TSkinCheckBox::CheckState() const {
    if (control) {
        const std::string s = Prop("State");
        if (!s.empty()) {
            if (s.find("uncheck") != std::string::npos)
                return 1;
            if (s.find("check") != std::string::npos)
                return 2;
            if (s.find("gray") != std::string::npos)
                return 4;
        }
        const std::string c = Prop("Checked");
        if (c == "true")
            return 2;
        if (c == "false")
            return 1;
    }
    const win::LRESULT check = win::SendMessage(hwnd, BM_GETCHECK, 0, 0);
    return check == 1 ? 2 : check == 2 ? 4 : 1;
}

int TSkinCheckBox::StateIndex(int check_state, bool enabled, int frames) {
    if (frames >= 12) {
        switch (check_state) {
            case 2:
                return enabled ? 5 : 8;
            case 4:
                return enabled ? 9 : 12;
            default:
                return enabled ? 1 : 4;
        }
    }
    return check_state + (enabled ? 0 : 2);
}

int TSkinCheckBox::GetState() const {
    return StateIndex(CheckState(), enabled, Frames());
}

void TSkinCheckBox::DrawControl(gdi::DC& dc, const gdi::Rect& r) {
    if (!CanPaint() || r.empty())
        return;
    BeginOffscreen(offscreen_, r, trans);
    gdi::DC mem(offscreen_);
    bool box_right = false;
    if (control) {
        if (auto* cb = dynamic_cast<forms::TCheckBox*>(control))
            box_right = cb->Alignment() == forms::TAlignment::taLeftJustify;
        caption = control->Caption();
    } else {
        box_right = (win::GetWindowLongPtr(hwnd, win::GWL_STYLE) & BS_LEFTTEXT) != 0;
        caption = win::GetWindowText(hwnd);
    }
    const gdi::Color color = enabled ? FontColor() : win::GetSysColor(win::COLOR_BTNSHADOW);
    DrawBoxAndCaption(mem, r, Image(), Frames(), GetState(), box_right, caption, ControlFont(),
                      color, focused);
    dc.bit_blt(r.left, r.top, r.width(), r.height(), offscreen_, 0, 0);
}

void TSkinCheckBox::AfterProc(forms::TMessage& m) {
    switch (m.Msg) {
        case win::WM_LBUTTONUP:
        case win::WM_KEYUP:
        case forms::CM_FOCUSCHANGED:
            Invalidate();
            return;
        default:
            TSkinControl::AfterProc(m);
    }
}

const gdi::Bitmap& TSkinRadioButton::Image() const {
    return fsd->Button->RadioMap;
}

int TSkinRadioButton::Frames() const {
    return std::max(1, fsd->Button->radioframe);
}

int TSkinRadioButton::StateIndex(bool checked, bool enabled, int frames) {
    if (frames >= 8) {
        if (checked)
            return enabled ? 5 : 8;
        return enabled ? 1 : 4;
    }
    return (checked ? 2 : 1) + (enabled ? 0 : 2);
}

void TSkinRadioButton::DrawControl(gdi::DC& dc, const gdi::Rect& r) {
    if (!CanPaint() || r.empty())
        return;
    BeginOffscreen(offscreen_, r, trans);
    gdi::DC mem(offscreen_);
    bool checked = false;
    if (control) {
        checked = Prop("Checked") == "true";
        caption = control->Caption();
    } else {
        checked = win::SendMessage(hwnd, BM_GETCHECK, 0, 0) == 1;
        caption = win::GetWindowText(hwnd);
    }
    const bool box_right =
        !control && (win::GetWindowLongPtr(hwnd, win::GWL_STYLE) & BS_LEFTTEXT) != 0;
    const gdi::Color color = enabled ? FontColor() : win::GetSysColor(win::COLOR_BTNSHADOW);
    DrawBoxAndCaption(mem, r, Image(), Frames(), StateIndex(checked, enabled, Frames()), box_right,
                      caption, ControlFont(), color, focused);
    dc.bit_blt(r.left, r.top, r.width(), r.height(), offscreen_, 0, 0);
}

}  // namespace skin
