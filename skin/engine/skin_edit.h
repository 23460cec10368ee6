#pragma once

#include "skin/engine/skin_control.h"

namespace skin {

// Edits and time pickers: the system look inside, and the border drawn over it: a 1-pixel
// frame in the button-shadow colour and two white frames inside it. With xcSpin the up-down
// part of a time picker is drawn from the skin's spin element as well.
class TSkinEdit : public TSkinControl {
    FORMS_CLASS(TSkinEdit, TSkinControl)
  public:
    // Whether the control has a border to draw.
    bool HasBorder() const;

  protected:
    void DrawControl(gdi::DC& dc, const gdi::Rect& r) override;
    bool PaintsOverPlain() const override { return true; }
    void AfterProc(forms::TMessage& m) override;

    int spin_over_ = 0;
    bool spin_down_ = false;
};

}  // namespace skin
