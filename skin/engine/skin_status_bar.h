#pragma once

#include "skin/engine/skin_control.h"

namespace skin {

// Status bars: drawn over the button face, each panel from the skin's status
// bar element with its text 2 pixels inside, the size grip from the extra images.
class TSkinStatusBar : public TSkinControl {
    FORMS_CLASS(TSkinStatusBar, TSkinControl)
  protected:
    void DrawControl(gdi::DC& dc, const gdi::Rect& r) override;
    bool CanPaint() const override;
};

}  // namespace skin
