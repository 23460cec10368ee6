#include "forms/popup_window.h"

#include "platform/win/input.h"
#include "platform/win/painting.h"

namespace forms {

namespace {
constexpr const char* kPopupClass = "TDropDownWindow";

void EnsurePopupClass() {
    static bool done = false;
    if (done)
        return;
    win::WNDCLASS wc;
    wc.style = win::CS_DBLCLKS;
    wc.lpfnWndProc = &win::DefWindowProc;
    wc.lpszClassName = kPopupClass;
    win::RegisterClass(wc);
    done = true;
}
}  // namespace

bool PopupWindow::Open(win::HWND owner, const win::RECT& screen, Handler handler) {
    Close();
    EnsurePopupClass();
    handler_ = std::move(handler);
    hwnd_ = win::CreateWindowEx(win::WS_EX_TOPMOST | win::WS_EX_TOOLWINDOW | win::WS_EX_NOACTIVATE,
                                kPopupClass, "", win::WS_POPUP | win::WS_BORDER, screen.left,
                                screen.top, screen.width(), screen.height(), owner, nullptr,
                                nullptr, nullptr);
    if (!hwnd_)
        return false;
    win::SetWindowProc(hwnd_, win::WNDPROC::bind([this](win::HWND h, win::UINT m, win::WPARAM w,
                                                        win::LPARAM l) -> win::LRESULT {
                           if (handler_)
                               return handler_(h, m, w, l);
                           return win::DefWindowProc(h, m, w, l);
                       }));
    win::ShowWindow(hwnd_, win::SW_SHOWNOACTIVATE);
    win::SetCapture(hwnd_);
    return true;
}

void PopupWindow::Close() {
    if (!hwnd_)
        return;
    win::HWND h = hwnd_;
    hwnd_ = nullptr;
    if (win::GetCapture() == h)
        win::ReleaseCapture();
    if (win::IsWindow(h)) {
        win::SetWindowProc(h, &win::DefWindowProc);
        win::DestroyWindow(h);
    }
}

bool PopupWindow::IsOpen() const {
    return hwnd_ && win::IsWindow(hwnd_);
}

void PopupWindow::Invalidate() {
    if (IsOpen())
        win::InvalidateRect(hwnd_, nullptr, true);
}

}  // namespace forms
