#include "forms/panel.h"

#include "forms/painter.h"

namespace forms {

TPanel::TPanel(TComponent* owner) : TCustomControl(owner) {
    SetInitialSize(185, 41);
}

void TPanel::Paint(gdi::DC& dc) {
    gdi::Rect r = ClientRect();
    dc.fill_rect(r, ColorToRGB(Color()));
    auto bevel = [&](TBevelCut cut) {
        if (cut == TBevelCut::bvRaised)
            painter::draw_thin_raised(dc, r);
        if (cut == TBevelCut::bvLowered)
            painter::draw_thin_sunken(dc, r);
        if (cut != TBevelCut::bvNone)
            r = r.inflate(-1, -1);
    };
    bevel(bevel_outer_);
    bevel(bevel_inner_);
    if (!Caption().empty()) {
        dc.select_font(Font().ToGdi());
        painter::draw_caption(dc, Caption(), r,
                              gdi::DT_CENTER | gdi::DT_VCENTER | gdi::DT_SINGLELINE, !Enabled(),
                              ColorToRGB(Font().Color()));
    }
}

std::optional<std::string> TPanel::GetPropText(std::string_view name) const {
    if (name == "Transparent")
        return transparent_ ? "true" : "false";
    if (name == "BevelOuter")
        return bevel_outer_ == TBevelCut::bvNone
                   ? "bvNone"
                   : (bevel_outer_ == TBevelCut::bvRaised ? "bvRaised" : "bvLowered");
    return TCustomControl::GetPropText(name);
}

bool TPanel::SetPropText(std::string_view name, const std::string& value) {
    if (name == "Transparent") {
        transparent_ = value == "true";
        Invalidate();
        return true;
    }
    return TCustomControl::SetPropText(name, value);
}

TGroupBox::TGroupBox(TComponent* owner) : TCustomControl(owner) {
    SetInitialSize(185, 105);
}

void TGroupBox::Paint(gdi::DC& dc) {
    gdi::Rect r = ClientRect();
    const gdi::Color face = ColorToRGB(Color());
    dc.fill_rect(r, face);
    dc.select_font(Font().ToGdi());
    const int text_h = dc.get_text_metrics().height;
    painter::draw_group_box(dc, r, Caption(), text_h, Enabled() ? 0u : unsigned(painter::kDisabled),
                            face, ColorToRGB(Font().Color()));
}

gdi::Rect TGroupBox::AlignRect() const {
    gdi::Rect r = ClientRect();
    return {r.left + 2, r.top + 16, r.right - 2, r.bottom - 2};
}

}  // namespace forms
