#pragma once

#include "platform/win/input.h"
#include "platform/win/messages.h"

namespace win::detail {

// The lit part of a built-in control: the button, section or thumb under the pointer. `Part`
// is the control's own way of naming it (an index with -1 for none, a flag), `none` the value
// for no part.

// On WM_MOUSEMOVE: makes `hot` the lit part. When that changes, the control asks to hear
// WM_MOUSELEAVE, so that the part goes dark again when the pointer leaves the window. Answers
// whether it changed (the control repaints).
template <class Part>
bool MoveHotPart(HWND hwnd, Part& lit, Part hot) {
    if (hot == lit)
        return false;
    lit = hot;
    TRACKMOUSEEVENT tme;
    tme.dwFlags = TME_LEAVE;
    tme.hwndTrack = hwnd;
    TrackMouseEvent(&tme);
    return true;
}

// On WM_MOUSELEAVE: no part is lit any more. Answers whether one was (the control repaints).
template <class Part>
bool LeaveHotPart(Part& lit, Part none) {
    if (lit == none)
        return false;
    lit = none;
    return true;
}

}  // namespace win::detail
