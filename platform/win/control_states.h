#pragma once

#include <memory>
#include <unordered_map>

#include "platform/win/messages.h"
#include "platform/win/painting.h"

namespace win::detail {

// What a built-in control class keeps for each of its windows: made when the window is created
// (WM_NCCREATE) and dropped when it goes (WM_NCDESTROY). Each state is shared, so that a message
// under way keeps its window's state while a handler it notifies destroys the window.
template <class State>
class ControlStates {
  public:
    // Makes or drops a window's state on the messages that begin and end the window.
    void Follow(HWND hwnd, UINT msg) {
        if (msg == WM_NCCREATE)
            states_[hwnd] = std::make_shared<State>();
        else if (msg == WM_NCDESTROY)
            states_.erase(hwnd);
    }
    // The window's state, or none outside its life.
    std::shared_ptr<State> Find(HWND hwnd) const {
        const auto it = states_.find(hwnd);
        return it == states_.end() ? nullptr : it->second;
    }

  private:
    std::unordered_map<HWND, std::shared_ptr<State>> states_;
};

// Answers WM_PAINT for a control that paints its whole client area: on the DC a caller passes
// in wParam to have the control painted into it, else between BeginPaint and EndPaint.
template <class Draw>
LRESULT PaintClient(HWND hwnd, WPARAM wParam, Draw draw) {
    PAINTSTRUCT ps;
    HDC dc = wParam ? reinterpret_cast<HDC>(wParam) : BeginPaint(hwnd, &ps);
    if (dc)
        draw(*dc);
    if (!wParam)
        EndPaint(hwnd, &ps);
    return 0;
}

}  // namespace win::detail
