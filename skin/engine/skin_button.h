#pragma once

#include "platform/gdi/bitmap.h"
#include "skin/engine/skin_control.h"

namespace skin {

// A push button drawn from the skin's [Buttons] element: five state images (1 normal,
// 2 pressed, 3 disabled, 4 hover, 5 focused or default), composed off-screen with its caption.
class TSkinButton : public TSkinControl {
    FORMS_CLASS(TSkinButton, TSkinControl)
  public:
    void Init(TWinSkinForm* sf, TSkinData* sd, forms::TWinControl* owner, bool newcolor) override;
    void Inithwnd(win::HWND h, TSkinData* sd, TWinSkinForm* sf) override;
    // The state image the button shows now.
    int GetState() const;
    // The caption with every "||" turned into a line break.
    static std::string ButtonText(std::string_view caption);

    // Drawing off hides the window from the system's own painting (its visible style cleared)
    // for at most 100 ms; drawing on, or the timer, shows it again.
    void SetRedraw(bool on);
    void Unsubclass() override;

    bool trans = false;
    bool isdefault = false;
    bool MultiLine = false;
    // The visible style was cleared by SetRedraw and is still to be put back.
    bool redraw = false;

  protected:
    bool BeforeProc(forms::TMessage& m) override;
    void AfterProc(forms::TMessage& m) override;
    void DrawControl(gdi::DC& dc, const gdi::Rect& r) override;
    bool CanPaint() const override;
    void ReadState();
    void DoClick();

    gdi::Bitmap offscreen_;
};

// Bitmap, speed and menu buttons: drawn as the push button.
class TSkinBitButton : public TSkinButton {
    FORMS_CLASS(TSkinBitButton, TSkinButton)
};
class TSkinSpeedButton : public TSkinBitButton {
    FORMS_CLASS(TSkinSpeedButton, TSkinBitButton)
};
class TSkinMenuButton : public TSkinButton {
    FORMS_CLASS(TSkinMenuButton, TSkinButton)
};

}  // namespace skin
