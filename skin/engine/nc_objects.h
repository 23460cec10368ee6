#pragma once

#include "platform/gdi/bitmap.h"
#include "platform/gdi/dc.h"
#include "platform/gdi/geometry.h"
#include "skin/skin_elements.h"

namespace skin {

class TSkinData;
class TWinSkinForm;

// Something in the skinned non-client area that reacts to the mouse.
class TNCObject {
  public:
    TNCObject(TWinSkinForm* sf, TSkinData* sd) : SF(sf), fsd(sd) {}
    virtual ~TNCObject() = default;
    TNCObject(const TNCObject&) = delete;
    TNCObject& operator=(const TNCObject&) = delete;

    // Pressed (state 2), released (hover, 3), entered (3), left (1); each redraws.
    virtual void MouseDown();
    virtual void MouseUp();
    virtual void MouseEnter();
    virtual void MouseLeave();
    // Redraws the object on the window in its present state.
    virtual void Draw() = 0;

    TWinSkinForm* SF;
    TSkinData* fsd;
    gdi::Rect bounds;  // in window coordinates
    bool visible = false;
    int state = 1;  // 1 normal, 2 pressed, 3 hover
    bool enabled = true;
};

// One title-bar button of the skin.
class TWinSysButton : public TNCObject {
  public:
    TWinSysButton(TWinSkinForm* sf, TSkinData* sd, const TDataSkinSysButton* d);

    void Draw() override;
    // Draws the button in the given state image into a DC whose origin is the window's.
    void Paint(gdi::DC& dc, int image_state) const;
    // The state image for a redraw of this button alone.
    int RedrawState() const;
    // The state image inside the caption bar: 1 active, 4 inactive or disabled.
    int CaptionState(bool window_active) const;
    // Whether the button has a picture (its own image, or the window icon for the icon
    // actions).
    bool HasImage() const { return !image.empty(); }
    int Action() const;
    // Size of one state image.
    int ImageWidth() const;
    int ImageHeight() const { return image.height(); }

    // A copy of the skin's button: a skin loaded anew frees its buttons before the window
    // hears of the change.
    TDataSkinSysButton data;
    gdi::Bitmap image;  // the skin's picture, or the window icon
    int frames = 1;
};

}  // namespace skin
