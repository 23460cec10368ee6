#include "forms/status_bar.h"

#include "forms/painter.h"

namespace forms {

void TStatusPanel::SetText(std::string_view t) {
    if (t == text_)
        return;
    text_ = t;
    if (bar_)
        bar_->Invalidate();
}

void TStatusPanel::SetWidth(int w) {
    if (w == width_)
        return;
    width_ = w;
    if (bar_)
        bar_->Invalidate();
}

TStatusBar::TStatusBar(TComponent* owner) : TWinControl(owner) {
    SetBounds(0, 0, 200, 19);
    SetAlign(TAlign::alBottom);
}

TStatusPanel& TStatusBar::AddPanel(int width, const std::string& text) {
    auto p = std::make_unique<TStatusPanel>();
    p->bar_ = this;
    p->width_ = width;
    p->text_ = text;
    panels_.push_back(std::move(p));
    Invalidate();
    return *panels_.back();
}

gdi::Rect TStatusBar::PanelRect(int i) const {
    gdi::Rect r = ClientRect();
    int x = 0;
    for (int k = 0; k < i; ++k)
        x += panels_[k]->width_;
    int right = (i == PanelCount() - 1) ? r.right : x + panels_[i]->width_ - 2;
    return {x, r.top + 2, right, r.bottom};
}

void TStatusBar::Paint(gdi::DC& dc) {
    gdi::Rect r = ClientRect();
    dc.fill_rect(r, ColorToRGB(Color()));
    dc.select_font(Font().ToGdi());
    const gdi::Color text = ColorToRGB(Font().Color());
    if (simple_panel_ || panels_.empty()) {
        painter::draw_status_panel(dc, {r.left, r.top + 2, r.right, r.bottom},
                                   simple_panel_ ? simple_text_ : Caption(), text);
    } else {
        for (int i = 0; i < PanelCount(); ++i) {
            gdi::Rect pr = PanelRect(i);
            if (size_grip_ && i == PanelCount() - 1)
                pr.right = std::max(pr.left, pr.right - 1);
            painter::draw_status_panel(dc, pr, panels_[i]->Text(), text);
        }
    }
    if (size_grip_)
        painter::draw_size_grip(dc, r);
}

std::optional<std::string> TStatusBar::GetPropText(std::string_view name) const {
    if (name == "SimpleText")
        return simple_text_;
    return TWinControl::GetPropText(name);
}

}  // namespace forms
