#pragma once

#include "skin/engine/skin_control.h"

namespace skin {

// Draws the two halves of an up-down part (top/bottom when vertical, left/right otherwise)
// with the whole state image of the spin element stretched to each half, magenta left out, and
// the same state of its glyph image on top. States 1-4 belong to the first half, 5-8 to the
// second, each as normal, pressed, disabled, hover.
void DrawSpinHalves(gdi::DC& dc, const gdi::Rect& r, const TDataSkinBorder& spin, bool vertical,
                    int first_state, int second_state);

// The state of one half: 1 normal, 2 pressed, 3 disabled, 4 hover (before the half's offset).
int SpinHalfState(bool enabled, bool over, bool down);

// Up-down controls: composed off-screen over the button face from the spin elements.
class TSkinUpDown : public TSkinControl {
    FORMS_CLASS(TSkinUpDown, TSkinControl)
  public:
    bool vertical = true;

  protected:
    void DrawControl(gdi::DC& dc, const gdi::Rect& r) override;
    bool CanPaint() const override;
    void AfterProc(forms::TMessage& m) override;

    int over_half_ = 0;  // 0 none, 1 first, 2 second
    bool down_ = false;
};

}  // namespace skin
