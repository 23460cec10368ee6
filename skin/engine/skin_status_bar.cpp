#include "skin/engine/skin_status_bar.h"

#include "forms/status_bar.h"
#include "skin/engine/skin_data.h"
#include "skin/skin_draw.h"

namespace skin {

bool TSkinStatusBar::CanPaint() const {
    return fsd && fsd->StatusBar && !fsd->StatusBar->Map.empty() &&
           dynamic_cast<forms::TStatusBar*>(control) != nullptr;
}

void TSkinStatusBar::DrawControl(gdi::DC& dc, const gdi::Rect& r) {
    auto* bar = dynamic_cast<forms::TStatusBar*>(control);
    if (!bar || !CanPaint() || r.empty())
        return;
    // Straight into the window's DC, which is composed in the window's backing picture before
    // it is shown: a picture of the whole bar of its own would only be filled and copied.
    dc.fill_rect(r, SkinColor(csButtonFace));
    gdi::Font font = ControlFont();
    font.weight = gdi::FW_NORMAL;
    font.strike_out = false;
    font.italic = false;
    font.underline = false;
    dc.select_font(font);
    dc.set_bk_mode(gdi::BkMode::Transparent);
    const TDataSkinObject& e = *fsd->StatusBar;
    dc.set_text_color(fsd->Resolve(e.Normalcolor2));
    const unsigned fmt = gdi::DT_LEFT | gdi::DT_VCENTER | gdi::DT_SINGLELINE | gdi::DT_NOPREFIX;
    auto panel = [&](gdi::Rect p, const std::string& text) {
        DrawRect2(dc, p, e.Map, false, e.Tile != 0, e.trans == 1, 3, 1, e.r);
        dc.draw_text(text, p.inflate(-2, -2), fmt);
    };
    if (bar->SimplePanel() || bar->PanelCount() == 0) {
        panel(r, bar->SimplePanel() ? bar->SimpleText() : bar->Caption());
    } else {
        for (int i = 0; i < bar->PanelCount(); ++i) {
            gdi::Rect p = bar->PanelRect(i);
            p.right += 2;
            if (i == bar->PanelCount() - 1)
                p.right = r.right;
            panel(p, bar->Panels(i).Text());
        }
    }
    if (bar->SizeGrip()) {
        if (const TDataSkinObject* grip = fsd->ExtraImages.get(); grip && !grip->Map.empty()) {
            const gdi::Rect s = state_rect(grip->Map, false, grip->frame, 5);
            const gdi::Rect corner{r.right - s.width(), r.bottom - s.height(), r.right, r.bottom};
            DrawRect3(dc, corner, grip->Map, grip->frame, 5, true);
        }
    }
}

}  // namespace skin
