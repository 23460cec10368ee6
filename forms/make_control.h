#pragma once

#include "forms/control.h"
#include "forms/win_control.h"

namespace forms {

// Creates a control owned by `owner`, named, placed in `parent` at the given bounds: how the
// designed controls and the start-up arrays of a form are made.
template <class T>
T* MakeControl(TComponent* owner, TWinControl* parent, const char* name, int left, int top,
               int width, int height) {
    T* control = new T(owner);
    control->SetName(name);
    control->SetParent(parent);
    control->SetBounds(left, top, width, height);
    return control;
}

// Sets a control's font to the face of the console's window with a character height in pixels.
inline void SetFontHeight(TControl* control, int pixels) {
    control->Font().SetName("MS Sans Serif");
    control->Font().SetHeight(-pixels);
}

}  // namespace forms
