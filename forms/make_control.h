#pragma once

#include <charconv>
#include <cstring>
#include <string>
#include <utility>

#include "forms/control.h"
#include "forms/win_control.h"

namespace forms {

// Creates a control owned by `owner`, named, placed in `parent` at the given bounds: how the
// designed controls and the start-up arrays of a form are made.
template <class T>
T* MakeControl(TComponent* owner, TWinControl* parent, std::string name, int left, int top,
               int width, int height) {
    T* control = new T(owner);
    control->SetName(std::move(name));
    control->SetParent(parent);
    control->SetBounds(left, top, width, height);
    return control;
}

// The name of a control of a start-up array: the array's name and the indices, "DelayEdit0_16"
// for (0, 16), with one allocation: a page of hundreds of controls names them all at
// start-up.
inline std::string IndexedName(const char* array, int i, int j = -1) {
    // Put together on the stack and copied once: the array's name, then the indices (two
    // numbers of at most 11 characters each and the '_' take at most 23).
    char text[64];
    char* const last = text + sizeof text;
    const size_t length = std::strlen(array);
    if (length > sizeof text - 23)
        return std::string(array) + IndexedName("", i, j);
    std::memcpy(text, array, length);
    char* end = std::to_chars(text + length, last, i).ptr;
    if (j >= 0 && end != last) {
        *end++ = '_';
        end = std::to_chars(end, last, j).ptr;
    }
    return std::string(text, end);
}

// Sets a control's font to the face of the console's window with a character height in pixels.
inline void SetFontHeight(TControl* control, int pixels) {
    control->Font().SetName("MS Sans Serif");
    control->Font().SetHeight(-pixels);
}

}  // namespace forms
