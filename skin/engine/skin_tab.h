#pragma once

#include "platform/gdi/bitmap.h"
#include "skin/engine/skin_control.h"

namespace skin {

// Page controls: the tab strip drawn over the parent's colour, each tab from the
// skin's tab element (state 2 for the selected tab, 1 for the others), then the page border
// around the display area.
class TSkinTab : public TSkinControl {
    FORMS_CLASS(TSkinTab, TSkinControl)
  protected:
    void DrawControl(gdi::DC& dc, const gdi::Rect& r) override;
    bool CanPaint() const override;
    void AfterProc(forms::TMessage& m) override;
    // One tab into the strip.
    virtual void DrawTab(gdi::DC& dc, const gdi::Rect& tab, const std::string& text, bool selected);
};

// Page controls whose tabs look like buttons: the tabs from the button element.
class TSkinTabBtn : public TSkinTab {
    FORMS_CLASS(TSkinTabBtn, TSkinTab)
  protected:
    void DrawTab(gdi::DC& dc, const gdi::Rect& tab, const std::string& text,
                 bool selected) override;
};

// Tab sets: as the page control's strip.
class TSkinTab31 : public TSkinTab {
    FORMS_CLASS(TSkinTab31, TSkinTab)
};

// Tab sheets: the button face, then the sheet's windowless children.
class TSkinTabSheet : public TSkinControl {
    FORMS_CLASS(TSkinTabSheet, TSkinControl)
  protected:
    void DrawControl(gdi::DC& dc, const gdi::Rect& r) override;
};

}  // namespace skin
