#pragma once

#include "platform/win/track_bar.h"
#include "skin/engine/skin_control.h"

namespace skin {

class TSkinData;

// The thumb image a track bar of `style` shows: the one pointing at its ticks (ThumbDown,
// ThumbUp, ThumbRight, ThumbLeft) or the plain one of its orientation when the ticks are on
// both sides or none, else the plain one. An upright bar whose skin has only the images of
// lying bars takes those turned a quarter round. Empty when the skin has no thumb at all.
gdi::Bitmap TrackThumbImage(const TSkinData& sd, win::DWORD style, int* frames, bool* trans);

// The state image of the thumb: 1 normal, 2 pressed, 3 hover, 4 disabled, 5 focused, as far as
// the image has that many; a state it lacks shows image 1.
int TrackThumbStateIndex(int frames, bool enabled, bool pressed, bool hover, bool focused);

// Track bars: composed off-screen over the parent's background: the `TrackBar` (or
// `TrackBarVert`) channel along the bar's channel, the ticks in the skin's text colour, and the
// thumb image centred on the thumb, in the state the mouse and the focus give it. Without a
// thumb image the bar keeps the system look.
class TSkinTrackBar : public TSkinControl {
    FORMS_CLASS(TSkinTrackBar, TSkinControl)
  protected:
    void DrawControl(gdi::DC& dc, const gdi::Rect& r) override;
    bool CanPaint() const override;
    void AfterProc(forms::TMessage& m) override;

  private:
    gdi::Rect ThumbRect() const;
    gdi::Bitmap offscreen_;
    bool hot_ = false;
    bool down_ = false;
};

}  // namespace skin
