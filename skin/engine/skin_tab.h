#pragma once

#include "skin/engine/skin_control.h"

namespace skin {

// Page controls: the tab strip drawn over the parent's colour, each tab from the
// skin's tab element (state 2 for the selected tab, 1 for the others), then the page border
// around the display area.
//
// A page control tagged 7777 shows a close button at the right of each tab. Pressing it and
// releasing over it asks the skinned window with message 0x3507 (wParam the page control's
// window, lParam the tab index); a reply of 0 frees that page.
class TSkinTab : public TSkinControl {
    FORMS_CLASS(TSkinTab, TSkinControl)
  public:
    bool HasCloseButtons() const;
    // The close button of a tab, in client coordinates.
    static gdi::Rect CloseButtonRect(const gdi::Rect& tab);
    // The tab whose close button is at the client point, or -1.
    int CloseButtonAt(gdi::Point p) const;
    // How much wider each tab is made while it carries a close button, so that the button
    // sits beside the caption instead of over it.
    static int CloseButtonRoom();
    void Unsubclass() override;

  protected:
    void DrawControl(gdi::DC& dc, const gdi::Rect& r) override;
    bool CanPaint() const override;
    void AfterProc(forms::TMessage& m) override;
    // One tab into the strip.
    virtual void DrawTab(gdi::DC& dc, const gdi::Rect& tab, const std::string& text, bool selected);
    bool BeforeProc(forms::TMessage& m) override;
    void DrawCloseButton(gdi::DC& dc, const gdi::Rect& tab, int index);
    // The operator let go over the close button of tab `index`.
    void CloseClicked(int index);

    // Gives the tabs room for their close buttons (or takes it back) when that changed.
    void SyncCloseButtonRoom();

    int close_hot_ = -1;
    int close_pressed_ = -1;
    bool room_given_ = false;
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
    // The button face wherever no windowless child reaches.
    bool PlainBackground(const gdi::Rect& area, gdi::Color& colour) const override;
};

}  // namespace skin
