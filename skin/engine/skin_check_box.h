#pragma once

#include "platform/gdi/bitmap.h"
#include "skin/engine/skin_control.h"

namespace skin {

// A check box drawn with the check image of [Buttons]: the box vertically centred at the left
// (at the right when the caption is on the left), the caption 2 pixels after it.
class TSkinCheckBox : public TSkinControl {
    FORMS_CLASS(TSkinCheckBox, TSkinControl)
  public:
    void Init(TWinSkinForm* sf, TSkinData* sd, forms::TWinControl* owner, bool newcolor) override;
    // The state image for the control's check state and enabled state, given the number of
    // state images in the check image.
    static int StateIndex(int check_state, bool enabled, int frames);
    // 1 unchecked, 2 checked, 4 indeterminate.
    int CheckState() const;
    int GetState() const;

    bool trans = false;

  protected:
    void DrawControl(gdi::DC& dc, const gdi::Rect& r) override;
    bool CanPaint() const override;
    void AfterProc(forms::TMessage& m) override;
    virtual const gdi::Bitmap& Image() const;
    virtual int Frames() const;

    gdi::Bitmap offscreen_;
};

// A radio button: the radio image of [Buttons].
class TSkinRadioButton : public TSkinCheckBox {
    FORMS_CLASS(TSkinRadioButton, TSkinCheckBox)
  public:
    static int StateIndex(bool checked, bool enabled, int frames);

  protected:
    const gdi::Bitmap& Image() const override;
    int Frames() const override;
    void DrawControl(gdi::DC& dc, const gdi::Rect& r) override;
};

}  // namespace skin
