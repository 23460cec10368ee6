#pragma once

#include "forms/win_control.h"

namespace device_setup {

// Creates a control owned by `owner`, named, placed in `parent` at the given bounds.
template <class T>
T* MakeControl(forms::TComponent* owner, forms::TWinControl* parent, const char* name, int left,
               int top, int width, int height) {
    T* control = new T(owner);
    control->SetName(name);
    control->SetParent(parent);
    control->SetBounds(left, top, width, height);
    return control;
}

// The page's fonts: the face of the window with a character height in pixels.
inline void SetFontHeight(forms::TControl* control, int pixels) {
    control->Font().SetName("MS Sans Serif");
    control->Font().SetHeight(-pixels);
}

}  // namespace device_setup
