#pragma once

#include "skin/engine/skin_control.h"

namespace skin {

// The state image of a header section: 1 normal, 2 pressed, 3 hover, 4 disabled, as far as the
// image has that many; a state it lacks shows image 1.
int HeaderSectionStateIndex(int frames, bool enabled, bool pressed, bool hover);

// The member is named after what it skins, as the others are; it has a namespace of its own
// because the package reader's header record (skin/data/skin_reader.h) bears the same name.
namespace members {

// Header controls: composed off-screen, each section (as the header reports it) from the
// `Header` element in its own state, its text 6 pixels in, aligned as the section says, in the
// element's text colour of that state; the space right of the last section an empty section.
// Without a `Header` image the header keeps the system look.
class TSkinHeader : public TSkinControl {
    FORMS_CLASS(TSkinHeader, TSkinControl)
  protected:
    void DrawControl(gdi::DC& dc, const gdi::Rect& r) override;
    bool CanPaint() const override;
    void AfterProc(forms::TMessage& m) override;

  private:
    int HitSection(gdi::Point p) const;
    gdi::Bitmap offscreen_;
    int hot_ = -1;
    int pressed_ = -1;
    bool pressed_in_ = false;
};

}  // namespace members

}  // namespace skin
