#pragma once

#include "forms/font.h"
#include "skin/engine/skin_control.h"

namespace skin {

// Group boxes and radio groups: the button face, a rounded frame in the button-shadow colour
// and the caption on the button face 8 pixels from the left.
class TSkinGroupBox : public TSkinControl {
    FORMS_CLASS(TSkinGroupBox, TSkinControl)
  protected:
    void DrawControl(gdi::DC& dc, const gdi::Rect& r) override;
    // Inside the rounded frame, below the caption's line and away from the windowless
    // children, a framework group box is its fill.
    bool PlainBackground(const gdi::Rect& area, gdi::Color& colour) const override;

  private:
    // The height of a line in the framework control's font, worked out again only when the
    // font is another: every child of a busy box asks for it on each paint.
    int LineHeight() const;
    mutable forms::TFont line_font_;
    mutable int line_height_ = -1;
};

// Panels, tool bars and embedded forms: only their colour becomes the button face.
class TSkinBox : public TSkinControl {
    FORMS_CLASS(TSkinBox, TSkinControl)
  protected:
    bool CanPaint() const override { return false; }
};

// Horizontal boxes (tool bars with bands): as TSkinBox.
class TSkinBoxH : public TSkinBox {
    FORMS_CLASS(TSkinBoxH, TSkinBox)
};

}  // namespace skin
