#pragma once

#include <functional>

#include "platform/win/window.h"

namespace forms {

// A pop-up window that drops down from a control (a combo box's list, a picker's calendar):
// top-most, without caption, not activated, holding the mouse capture while open so that a
// click anywhere else can close it. Its messages go to `Handler`.
class PopupWindow {
  public:
    using Handler = std::function<win::LRESULT(win::HWND, win::UINT, win::WPARAM, win::LPARAM)>;

    ~PopupWindow() { Close(); }
    // Opens at the screen rectangle, owned by `owner` (a top-level window).
    bool Open(win::HWND owner, const win::RECT& screen, Handler handler);
    void Close();
    bool IsOpen() const;
    win::HWND hwnd() const { return hwnd_; }
    void Invalidate();

  private:
    win::HWND hwnd_ = nullptr;
    Handler handler_;
};

}  // namespace forms
