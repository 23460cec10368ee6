#pragma once

#include "forms/button.h"
#include "forms/control.h"

namespace forms {

// A caption without a window, painted by its parent.
class TLabel : public TGraphicControl {
    FORMS_CLASS(TLabel, TGraphicControl)
  public:
    explicit TLabel(TComponent* owner);
    TAlignment Alignment() const { return alignment_; }
    void SetAlignment(TAlignment a) {
        alignment_ = a;
        Invalidate();
    }
    bool WordWrap() const { return word_wrap_; }
    void SetWordWrap(bool v) {
        word_wrap_ = v;
        Invalidate();
    }
    // Transparent: the parent's picture shows behind the text; otherwise the label's colour.
    bool Transparent() const { return transparent_; }
    void SetTransparent(bool v) {
        transparent_ = v;
        Invalidate();
    }
    // AutoSize: the label takes the size of its one-line caption in its font whenever either
    // changes (its left and top stay), so that a caption longer than the designed width is
    // read whole. Off by default; a word-wrapped label keeps its size.
    bool AutoSize() const { return auto_size_; }
    void SetAutoSize(bool v) {
        auto_size_ = v;
        AdjustSize();
    }
    void Paint(gdi::DC& dc) override;
    std::optional<std::string> GetPropText(std::string_view name) const override;
    bool SetPropText(std::string_view name, const std::string& value) override;

  protected:
    void TextChanged() override {
        AdjustSize();
        Invalidate();
    }
    void FontChanged() override {
        AdjustSize();
        Invalidate();
    }

  private:
    void AdjustSize();

    TAlignment alignment_ = TAlignment::taLeftJustify;
    bool word_wrap_ = false;
    bool transparent_ = false;
    bool auto_size_ = false;
};

enum class TShapeType { stRectangle, stSquare, stRoundRect, stRoundSquare, stEllipse, stCircle };

// A shape without a window (the channel indicators are circles with a brush colour).
class TShape : public TGraphicControl {
    FORMS_CLASS(TShape, TGraphicControl)
  public:
    explicit TShape(TComponent* owner);
    TShapeType Shape() const { return shape_; }
    void SetShape(TShapeType s) {
        shape_ = s;
        Invalidate();
    }
    TColor BrushColor() const { return brush_color_; }
    void SetBrushColor(TColor c);
    TColor PenColor() const { return pen_color_; }
    void SetPenColor(TColor c);
    int PenWidth() const { return pen_width_; }
    void SetPenWidth(int w) {
        pen_width_ = w;
        Invalidate();
    }
    void Paint(gdi::DC& dc) override;
    std::optional<std::string> GetPropText(std::string_view name) const override;

  private:
    TShapeType shape_ = TShapeType::stRectangle;
    TColor brush_color_ = clWhite;
    TColor pen_color_ = clBlack;
    int pen_width_ = 1;
};

}  // namespace forms
