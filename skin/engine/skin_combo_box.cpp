#include "skin/engine/skin_combo_box.h"

#include "forms/combo_box.h"
#include "platform/win/input.h"
#include "platform/win/message.h"
#include "platform/win/metrics.h"
#include "platform/win/styles.h"
#include "platform/win/window.h"
#include "skin/engine/skin_data.h"
#include "skin/skin_draw.h"

namespace skin {

bool TSkinComBox::CanPaint() const {
    return fsd && ((fsd->combox && !fsd->combox->Map.empty()) ||
                   (fsd->Comboxborder && !fsd->Comboxborder->Map.empty()));
}

gdi::Rect TSkinComBox::ButtonRect() const {
    if (auto* combo = dynamic_cast<forms::TComboBox*>(control))
        return combo->ButtonRect();
    const gdi::Rect c = win::GetClientRect(hwnd);
    const int w = win::GetSystemMetrics(win::SM_CXHSCROLL) + 2;
    return {c.right - w, c.top, c.right, c.bottom};
}

int TSkinComBox::GetState() const {
    bool dropped = false;
    if (auto* combo = dynamic_cast<forms::TComboBox*>(control))
        dropped = combo->DroppedDown();
    if (!enabled)
        return 3;
    if ((state & scDown) || dropped)
        return 2;
    if (focused || (state & scMouseIn))
        return 4;
    return 1;
}

void TSkinComBox::DrawControl(gdi::DC& dc, const gdi::Rect& r) {
    if (!CanPaint() || r.empty())
        return;
    const int index = GetState();
    const TDataSkinObject* combox = fsd->combox.get();
    if (combox && combox->style == 2 && !combox->Map.empty()) {
        // The rebuilt strip: border and button in one picture, magenta where the text goes.
        DrawRect2(dc, r, combox->Map, false, combox->Tile != 0, true, combox->frame, index,
                  combox->r);
        return;
    }
    if (const TDataSkinObject* border = fsd->Comboxborder.get(); border && !border->Map.empty())
        DrawRect2(dc, r, border->Map, false, border->Tile != 0, true, border->frame, index,
                  border->r);
    if (combox && !combox->Map.empty()) {
        const int w = win::GetSystemMetrics(win::SM_CXHSCROLL) + 2;
        const gdi::Rect b{r.right - w, r.top, r.right, r.bottom};
        DrawElement(dc, b, *combox, index);
        if (const TDataSkinObject* arrow = fsd->ExtraImages.get(); arrow && !arrow->Map.empty())
            DrawRect3(dc, b, arrow->Map, arrow->frame, index, true);
    }
}

void TSkinComBox::ListPainting(win::HWND list) {
    if (list_bar_ && list_bar_->Window() == list)
        return;
    list_bar_.reset();
    if (!fsd || !TWScrollbar::CanPaint(*fsd) || !list || !win::IsWindow(list))
        return;
    if (!(win::GetWindowLongPtr(list, win::GWL_STYLE) & win::WS_VSCROLL))
        return;
    list_bar_ = std::make_unique<TComboxScrollBar>();
    list_bar_->Inithwnd(list, fsd, skinform);
    list_bar_->PaintBar();
}

void TSkinComBox::AfterProc(forms::TMessage& m) {
    // The list has closed: its skinning goes with it.
    if (list_bar_ && m.Msg != win::WM_CTLCOLORLISTBOX) {
        auto* combo = dynamic_cast<forms::TComboBox*>(control);
        if (!combo || combo->ListWindow() != list_bar_->Window())
            list_bar_.reset();
    }
    switch (m.Msg) {
        case win::WM_CTLCOLORLISTBOX:
            ListPainting(win::HwndFromParam(m.LParam));
            return;
        case win::WM_MOUSEMOVE: {
            const bool over = ButtonRect().contains(win::MAKEPOINT(m.LParam));
            if (over != ((state & scMouseIn) != 0)) {
                state = over ? (state | scMouseIn) : (state & ~unsigned(scMouseIn));
                Invalidate();
                if (over)
                    TrackLeave();
            }
            return;
        }
        case win::WM_LBUTTONDOWN:
        case win::WM_LBUTTONDBLCLK:
            state |= scDown;
            Invalidate();
            return;
        case win::WM_LBUTTONUP:
            state &= ~unsigned(scDown);
            Invalidate();
            return;
        case win::WM_MOUSELEAVE:
            state &= ~unsigned(scMouseIn | scDown);
            Invalidate();
            return;
        case forms::CM_FOCUSCHANGED:
        case forms::CM_CANCELMODE:
            Invalidate();
            return;
        default:
            TSkinControl::AfterProc(m);
    }
}

}  // namespace skin
