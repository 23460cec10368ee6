#include "forms/label.h"

#include <algorithm>

#include "forms/painter.h"

namespace forms {

TLabel::TLabel(TComponent* owner) : TGraphicControl(owner) {
    SetInitialSize(65, 17);
}

void TLabel::AdjustSize() {
    if (!auto_size_ || word_wrap_)
        return;
    gdi::Bitmap scratch(1, 1);
    gdi::DC dc(scratch);
    dc.select_font(Font().ToGdi());
    const gdi::Size extent = dc.get_text_extent(Caption());
    if (extent.cx != Width() || extent.cy != Height())
        SetBounds(Left(), Top(), std::max(extent.cx, 1), std::max(extent.cy, 1));
}

void TLabel::Paint(gdi::DC& dc) {
    gdi::Rect r = ClientRect();
    if (!transparent_)
        dc.fill_rect(r, ColorToRGB(Color()));
    dc.select_font(Font().ToGdi());
    unsigned fmt = gdi::DT_NOPREFIX;
    fmt |= word_wrap_ ? gdi::DT_WORDBREAK : gdi::DT_SINGLELINE;
    if (alignment_ == TAlignment::taCenter)
        fmt |= gdi::DT_CENTER;
    if (alignment_ == TAlignment::taRightJustify)
        fmt |= gdi::DT_RIGHT;
    painter::draw_caption(dc, Caption(), r, fmt, !Enabled(), ColorToRGB(Font().Color()));
}

std::optional<std::string> TLabel::GetPropText(std::string_view name) const {
    if (name == "Transparent")
        return transparent_ ? "true" : "false";
    if (name == "WordWrap")
        return word_wrap_ ? "true" : "false";
    return TGraphicControl::GetPropText(name);
}

bool TLabel::SetPropText(std::string_view name, const std::string& value) {
    if (name == "Transparent") {
        SetTransparent(value == "true");
        return true;
    }
    return TGraphicControl::SetPropText(name, value);
}

TShape::TShape(TComponent* owner) : TGraphicControl(owner) {
    SetInitialSize(65, 65);
}

void TShape::SetBrushColor(TColor c) {
    if (c == brush_color_)
        return;
    brush_color_ = c;
    CountChange();
    Invalidate();
}

void TShape::SetPenColor(TColor c) {
    if (c == pen_color_)
        return;
    pen_color_ = c;
    Invalidate();
}

void TShape::Paint(gdi::DC& dc) {
    int x = pen_width_ / 2, y = pen_width_ / 2;
    int w = Width() - pen_width_ + 1, h = Height() - pen_width_ + 1;
    if (pen_width_ == 0) {
        w = Width();
        h = Height();
    }
    if (shape_ == TShapeType::stSquare || shape_ == TShapeType::stRoundSquare ||
        shape_ == TShapeType::stCircle) {
        const int side = std::min(w, h);
        x += (w - side) / 2;
        y += (h - side) / 2;
        w = h = side;
    }
    gdi::Rect r = gdi::Rect::from_xywh(x, y, w, h);
    dc.select_pen({pen_width_ > 0 ? gdi::PenStyle::Solid : gdi::PenStyle::Null,
                   std::max(1, pen_width_), ColorToRGB(pen_color_)});
    dc.select_brush({gdi::BrushStyle::Solid, ColorToRGB(brush_color_)});
    switch (shape_) {
        case TShapeType::stRectangle:
        case TShapeType::stSquare:
            dc.rectangle(r);
            break;
        case TShapeType::stRoundRect:
        case TShapeType::stRoundSquare: {
            const int corner = std::min(w, h) / 4;
            dc.round_rect(r, corner, corner);
            break;
        }
        case TShapeType::stEllipse:
        case TShapeType::stCircle:
            dc.ellipse(r);
            break;
    }
}

std::optional<std::string> TShape::GetPropText(std::string_view name) const {
    if (name == "Brush.Color" || name == "BrushColor")
        return std::to_string(ColorToRGB(brush_color_));
    return TGraphicControl::GetPropText(name);
}

}  // namespace forms
