#pragma once

#include <charconv>
#include <cstring>
#include <string>

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

// The name of a control of a start-up array: the array's name and the indices, "DelayEdit0_16"
// for (0, 16), with one allocation: a page of hundreds of controls names them all at
// start-up.
inline std::string IndexedName(const char* array, int i, int j = -1) {
    char digits[16];
    std::string name;
    name.reserve(std::strlen(array) + 2 * sizeof digits);
    name += array;
    name.append(digits, std::to_chars(digits, digits + sizeof digits, i).ptr);
    if (j >= 0) {
        name += '_';
        name.append(digits, std::to_chars(digits, digits + sizeof digits, j).ptr);
    }
    return name;
}

// Sets a control's font to the face of the console's window with a character height in pixels.
inline void SetFontHeight(TControl* control, int pixels) {
    control->Font().SetName("MS Sans Serif");
    control->Font().SetHeight(-pixels);
}

}  // namespace forms
