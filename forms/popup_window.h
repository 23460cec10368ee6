#pragma once

#include <functional>

#include "platform/win/window.h"

namespace forms {

// A pop-up window that drops down from a control (a combo box's list, a picker's calendar):
// top-most, without caption, not activated, holding the mouse capture while open so that a
// click anywhere else can close it.
//
// The pop-up handles its own dismissal, the same way for every control that drops one down:
// - A press of any mouse button outside it dismisses it and goes no further: it neither reaches
//   the window under the pointer nor acts on the control that opened it (a press on that
//   control closes the pop-up as well).
// - A release outside it is swallowed. While it is open the only releases that arrive outside
//   are the release of the press that opened it and that of a press inside dragged out (a
//   press outside has dismissed it); neither picks anything nor closes it.
// - Losing the capture to another window dismisses it. The capture it gives up itself while
//   closing does not.
// - A press on its own scroll bar (a pop-up opened with WS_VSCROLL or WS_HSCROLL) is inside: it
//   scrolls, as the window's non-client press would (WM_NCLBUTTONDOWN).
// Dismissing calls the owner's `Dismiss`, which must close the pop-up (the owner's close-up
// without taking anything). Every other message, presses and releases inside included, goes to
// the owner's `Handler`.
class PopupWindow {
  public:
    using Handler = std::function<win::LRESULT(win::HWND, win::UINT, win::WPARAM, win::LPARAM)>;
    using DismissHandler = std::function<void()>;

    ~PopupWindow() { Close(); }
    // Opens at the screen rectangle, owned by `owner` (a top-level window); `extra_style` adds
    // styles such as WS_VSCROLL.
    bool Open(win::HWND owner, const win::RECT& screen, Handler handler, DismissHandler dismiss,
              win::DWORD extra_style = 0);
    // Gives up the capture and destroys the window; no message reaches the owner meanwhile.
    void Close();
    bool IsOpen() const;
    win::HWND hwnd() const { return hwnd_; }
    void Invalidate();

  private:
    win::LRESULT WindowProc(win::HWND h, win::UINT msg, win::WPARAM wp, win::LPARAM lp);
    void Dismiss();

    win::HWND hwnd_ = nullptr;
    Handler handler_;
    DismissHandler dismiss_;
    bool closing_ = false;
};

}  // namespace forms
