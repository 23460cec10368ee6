#pragma once

#include <memory>

#include "skin/engine/skin_control.h"
#include "skin/engine/skin_scroll_bar.h"

namespace skin {

// Combo boxes: the skin's combo picture (border and button in one strip, magenta inside so
// that the text shows through) over the system look; states 1 normal, 2 pressed, 3 disabled,
// 4 focused or hover. Hover is tracked over the button only.
class TSkinComBox : public TSkinControl {
    FORMS_CLASS(TSkinComBox, TSkinControl)
  public:
    int GetState() const;
    // The drop-down button's rectangle in client coordinates.
    gdi::Rect ButtonRect() const;
    // The skinned scroll bar of the dropped-down list, while one is shown.
    TComboxScrollBar* ListScrollBar() const { return list_bar_.get(); }

  protected:
    void DrawControl(gdi::DC& dc, const gdi::Rect& r) override;
    bool CanPaint() const override;
    bool PaintsOverPlain() const override { return true; }
    void AfterProc(forms::TMessage& m) override;
    // The list announced itself while painting: its scroll bar, if it has one, is skinned.
    void ListPainting(win::HWND list);

    std::unique_ptr<TComboxScrollBar> list_bar_;
};

}  // namespace skin
