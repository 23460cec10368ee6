#include "skin/engine/skin_tab.h"

#include "forms/page_control.h"
#include "platform/win/window.h"
#include "skin/engine/skin_data.h"
#include "skin/skin_draw.h"

namespace skin {

bool TSkinTab::CanPaint() const {
    return fsd && fsd->tab && !fsd->tab->Map.empty() &&
           dynamic_cast<forms::TPageControl*>(control) != nullptr;
}

void TSkinTab::DrawTab(gdi::DC& dc, const gdi::Rect& tab, const std::string& text, bool selected) {
    const TDataSkinBorder& t = *fsd->tab;
    const int index = selected ? 2 : 1;
    DrawRect2(dc, tab, t.Map, false, t.Tile != 0, t.trans == 1, 5, index, t.r);
    dc.set_text_color(fsd->Resolve(selected ? t.Overcolor2 : t.Normalcolor2));
    dc.draw_text(text, tab,
                 gdi::DT_CENTER | gdi::DT_VCENTER | gdi::DT_SINGLELINE | gdi::DT_NOPREFIX);
}

void TSkinTab::DrawControl(gdi::DC& dc, const gdi::Rect& r) {
    auto* pc = dynamic_cast<forms::TPageControl*>(control);
    if (!pc || !CanPaint() || r.empty())
        return;
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
    if (focused && active >= 0)
        dc.draw_focus_rect(pc->TabRect(active).inflate(-3, -3));
}

void TSkinTab::AfterProc(forms::TMessage& m) {
    if (m.Msg == forms::CM_FOCUSCHANGED || m.Msg == win::WM_LBUTTONDOWN || m.Msg == win::WM_KEYDOWN)
        Invalidate();
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

}  // namespace skin
