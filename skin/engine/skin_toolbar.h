#pragma once

#include "skin/engine/skin_control.h"

namespace skin {

// The state image of a tool bar button: 1 normal, 2 pressed, 3 disabled, 4 under the mouse,
// 5 down (a check button that stays down); disabled overrides all, then pressed, down and hover.
// An image with fewer states shows a down button pressed (2), and any other state it lacks as
// image 1.
int ToolbarButtonStateIndex(int frames, bool enabled, bool pressed, bool checked, bool hover);

// Tool bars: composed off-screen, the bar's background from the `Toolbar` element (the skin's
// gradient; with xoToolbarBK) and each button from the `Toolbarbtn` element (with
// xoToolbarButton) in its own state, its caption centred in the element's text colour of that
// state (button shadow when disabled). On a flat bar a button at rest shows no element, only its
// caption over the background; a separator is an etched line in the skin's shadow and highlight
// colours. Without a button element the buttons keep their plain look over the skinned
// background; without either element the bar keeps the system look.
class TSkinToolbar : public TSkinControl {
    FORMS_CLASS(TSkinToolbar, TSkinControl)
  protected:
    void DrawControl(gdi::DC& dc, const gdi::Rect& r) override;
    bool CanPaint() const override;

  private:
    bool PaintsBackground() const;
    bool PaintsButtons() const;
    gdi::Bitmap offscreen_;
};

}  // namespace skin
