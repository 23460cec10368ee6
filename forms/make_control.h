#pragma once

#include <algorithm>
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
// for (0, 16). Written into one buffer: a page of hundreds of controls names them all at
// start-up.
inline std::string IndexedName(const char* array, int i, int j = -1) {
    char buffer[64];
    const size_t length = std::min(std::strlen(array), sizeof buffer - 24);
    std::memcpy(buffer, array, length);
    char* end = std::to_chars(buffer + length, buffer + sizeof buffer, i).ptr;
    if (j >= 0) {
        *end++ = '_';
        end = std::to_chars(end, buffer + sizeof buffer, j).ptr;
    }
    return std::string(buffer, end);
}

// Sets a control's font to the face of the console's window with a character height in pixels.
inline void SetFontHeight(TControl* control, int pixels) {
    control->Font().SetName("MS Sans Serif");
    control->Font().SetHeight(-pixels);
}

}  // namespace forms
