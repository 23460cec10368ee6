#include "skin/engine/skin_tab.h"

#include <algorithm>

#include "forms/component_tracker.h"
#include "forms/page_control.h"
#include "platform/win/input.h"
#include "platform/win/message.h"
#include "platform/win/painting.h"
#include "platform/win/window.h"
#include "skin/engine/skin_data.h"
#include "skin/engine/skin_types.h"
#include "skin/engine/win_skin_form.h"
#include "skin/skin_draw.h"

namespace skin {

bool TSkinTab::CanPaint() const {
    return fsd && fsd->tab && !fsd->tab->Map.empty() &&
           dynamic_cast<forms::TPageControl*>(control) != nullptr;
}

namespace {
constexpr int kCloseButtonSize = 13;
constexpr int kCloseButtonGap = 4;
}  // namespace

bool TSkinTab::HasCloseButtons() const {
    return control && control->Tag() == kTabCloseButtonsTag;
}

gdi::Rect TSkinTab::CloseButtonRect(const gdi::Rect& tab) {
    const int size = std::max(0, std::min(kCloseButtonSize, tab.height() - 4));
    const int top = tab.top + (tab.height() - size) / 2;
    const int right = tab.right - kCloseButtonGap;
    return {std::max(tab.left, right - size), top, right, top + size};
}

int TSkinTab::CloseButtonRoom() {
    return kCloseButtonSize + kCloseButtonGap;
}

void TSkinTab::SyncCloseButtonRoom() {
    auto* pc = dynamic_cast<forms::TPageControl*>(control);
    if (!pc || pc->Destroying())
        return;
    const bool want = skinned && HasCloseButtons();
    if (want == room_given_)
        return;
    room_given_ = want;
    pc->SetTabExtraWidth(pc->TabExtraWidth() + (want ? CloseButtonRoom() : -CloseButtonRoom()));
}

void TSkinTab::Unsubclass() {
    const bool gone = skinstate == 6;
    TSkinControl::Unsubclass();
    if (!gone)
        SyncCloseButtonRoom();
}

int TSkinTab::CloseButtonAt(gdi::Point p) const {
    auto* pc = dynamic_cast<forms::TPageControl*>(control);
    if (!pc || !HasCloseButtons())
        return -1;
    for (int i = 0; i < pc->PageCount(); ++i)
        if (CloseButtonRect(pc->TabRect(i)).contains(p))
            return i;
    return -1;
}

void TSkinTab::DrawTab(gdi::DC& dc, const gdi::Rect& tab, const std::string& text, bool selected) {
    const TDataSkinBorder& t = *fsd->tab;
    const int index = selected ? 2 : 1;
    DrawRect2(dc, tab, t.Map, false, t.Tile != 0, t.trans == 1, 5, index, t.r);
    dc.set_text_color(fsd->Resolve(selected ? t.Overcolor2 : t.Normalcolor2));
    gdi::Rect text_area = tab;
    if (HasCloseButtons())
        text_area.right = CloseButtonRect(tab).left;
    dc.draw_text(text, text_area,
                 gdi::DT_CENTER | gdi::DT_VCENTER | gdi::DT_SINGLELINE | gdi::DT_NOPREFIX);
}

void TSkinTab::DrawCloseButton(gdi::DC& dc, const gdi::Rect& tab, int index) {
    const gdi::Rect b = CloseButtonRect(tab);
    if (b.width() < 5 || b.height() < 5)
        return;
    const bool hot = index == close_hot_ && (close_pressed_ < 0 || close_pressed_ == index);
    const bool down = hot && close_pressed_ == index;
    if (hot) {
        dc.fill_rect(b, SkinColor(down ? csButtonShadow : csButtonHilight));
        dc.frame_rect(b, SkinColor(csButtonShadow));
    }
    // A cross of two 2-pixel lines, 3 pixels inside the button.
    const gdi::Color c = enabled ? SkinColor(csButtonText) : SkinColor(csButtonShadow);
    const int n = std::min(b.width(), b.height()) - 6;
    const int x0 = b.left + (b.width() - n) / 2;
    const int y0 = b.top + (b.height() - n) / 2;
    for (int i = 0; i < n; ++i) {
        dc.fill_rect({x0 + i, y0 + i, x0 + i + 2, y0 + i + 1}, c);
        dc.fill_rect({x0 + n - 2 - i, y0 + i, x0 + n - i, y0 + i + 1}, c);
    }
}

bool TSkinTab::BeforeProc(forms::TMessage& m) {
    if (!HasCloseButtons() || !CanPaint())
        return TSkinControl::BeforeProc(m);
    switch (m.Msg) {
        case win::WM_LBUTTONDOWN:
        case win::WM_LBUTTONDBLCLK: {
            const int i = CloseButtonAt(win::MAKEPOINT(m.LParam));
            if (i < 0)
                return true;
            // The press belongs to the close button: the page does not change under it.
            close_pressed_ = i;
            close_hot_ = i;
            win::SetCapture(hwnd);
            Invalidate();
            m.Result = 0;
            return false;
        }
        case win::WM_LBUTTONUP: {
            if (close_pressed_ < 0)
                return true;
            const int pressed = close_pressed_;
            close_pressed_ = -1;
            if (win::GetCapture() == hwnd)
                win::ReleaseCapture();
            Invalidate();
            m.Result = 0;
            if (CloseButtonAt(win::MAKEPOINT(m.LParam)) == pressed)
                CloseClicked(pressed);
            return false;
        }
        case win::WM_CAPTURECHANGED:
            if (close_pressed_ >= 0 && win::HwndFromParam(m.LParam) != hwnd) {
                close_pressed_ = -1;
                Invalidate();
            }
            return true;
        default:
            return TSkinControl::BeforeProc(m);
    }
}

void TSkinTab::CloseClicked(int index) {
    auto* pc = dynamic_cast<forms::TPageControl*>(control);
    if (!pc || index < 0 || index >= pc->PageCount() || !skinform)
        return;
    forms::TTabSheet* page = pc->Pages(index);
    // The window's handler may free pages, the page control or this object.
    forms::TComponentTracker page_alive(page);
    Watch self(this);
    const win::LRESULT reply =
        win::SendMessage(skinform->Hwnd, CN_TabClose, win::HandleToWParam(hwnd), index);
    if (reply != 0 || page_alive.Deleted())
        return;
    delete page;
    if (!self.Gone() && skinstate != 6)
        Invalidate();
}

void TSkinTab::DrawControl(gdi::DC& dc, const gdi::Rect& r) {
    auto* pc = dynamic_cast<forms::TPageControl*>(control);
    if (!pc || !CanPaint() || r.empty())
        return;
    SyncCloseButtonRoom();
    // Straight into the window's DC: the window is composed in its backing picture before it is
    // shown, and the DC leaves the sheets out, so only the strip and the border around them are
    // drawn (a picture of the whole control would be some 3 MB, filled and copied each paint).
    gdi::Color back = SkinColor(csButtonFace);
    if (pc->Parent())
        back = forms::ColorToRGB(pc->Parent()->Color());
    dc.fill_rect(r, back);
    dc.select_font(ControlFont());
    dc.set_bk_mode(gdi::BkMode::Transparent);

    // The page border first, so that the selected tab sits on its top edge.
    const TDataSkinBorder& t = *fsd->tab;
    const gdi::Rect pane = pc->DisplayRect().inflate(4, 4);
    if (t.style == 1 && fsd->TabSheet && !fsd->TabSheet->Map.empty()) {
        const TDataSkinObject& s = *fsd->TabSheet;
        DrawRect2(dc, pane, s.Map, false, s.Tile != 0, s.trans == 1, 1, 1, s.r);
    } else if (!t.MaskMap.empty()) {
        DrawRect2(dc, pane, t.MaskMap, false, false, false, 1, 1, gdi::Rect{4, 5, 4, 4});
    }
    const int active = pc->ActivePageIndex();
    for (int i = 0; i < pc->PageCount(); ++i) {
        if (i == active)
            continue;
        DrawTab(dc, pc->TabRect(i), pc->Pages(i)->Caption(), false);
    }
    if (active >= 0)
        DrawTab(dc, pc->TabRect(active), pc->Pages(active)->Caption(), true);
    if (HasCloseButtons())
        for (int i = 0; i < pc->PageCount(); ++i)
            DrawCloseButton(dc, pc->TabRect(i), i);
    if (focused && active >= 0)
        dc.draw_focus_rect(pc->TabRect(active).inflate(-3, -3));
}

void TSkinTab::AfterProc(forms::TMessage& m) {
    if (m.Msg == forms::CM_FOCUSCHANGED || m.Msg == win::WM_LBUTTONDOWN || m.Msg == win::WM_KEYDOWN)
        Invalidate();
    if (HasCloseButtons()) {
        if (m.Msg == win::WM_MOUSEMOVE) {
            const int hot = CloseButtonAt(win::MAKEPOINT(m.LParam));
            if (hot != close_hot_) {
                close_hot_ = hot;
                Invalidate();
                if (hot >= 0)
                    TrackLeave();
            }
        } else if (m.Msg == win::WM_MOUSELEAVE && close_hot_ >= 0 && close_pressed_ < 0) {
            close_hot_ = -1;
            Invalidate();
        }
    }
    TSkinControl::AfterProc(m);
}

void TSkinTabBtn::DrawTab(gdi::DC& dc, const gdi::Rect& tab, const std::string& text,
                          bool selected) {
    if (!fsd->Button || fsd->Button->Map.empty()) {
        TSkinTab::DrawTab(dc, tab, text, selected);
        return;
    }
    const TDataSkinButton& b = *fsd->Button;
    DrawRect2(dc, tab, b.Map, false, b.Tile != 0, b.trans == 1, 5, selected ? 2 : 1, b.r);
    dc.set_text_color(FontColor());
    dc.draw_text(text, tab,
                 gdi::DT_CENTER | gdi::DT_VCENTER | gdi::DT_SINGLELINE | gdi::DT_NOPREFIX);
}

void TSkinTabSheet::DrawControl(gdi::DC& dc, const gdi::Rect& r) {
    dc.fill_rect(r, SkinColor(csButtonFace));
    PaintGraphicChildren(dc, r);
}

bool TSkinTabSheet::PlainBackground(const gdi::Rect& area, gdi::Color& colour) const {
    if (!control || !hwnd)
        return false;
    // Past its edges the sheet paints nothing.
    const gdi::Rect wr = win::GetWindowRect(hwnd);
    const gdi::Rect sheet{0, 0, wr.width(), wr.height()};
    if (area.empty() || area.intersect(sheet) != area || GraphicChildIn(area))
        return false;
    colour = SkinColor(csButtonFace);
    return true;
}

}  // namespace skin
