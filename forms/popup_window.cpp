#include "forms/popup_window.h"

#include "platform/win/input.h"
#include "platform/win/message.h"
#include "platform/win/painting.h"
#include "platform/win/styles.h"

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

bool IsInside(win::HWND h, win::LPARAM lp) {
    return win::GetClientRect(h).contains(win::MAKEPOINT(lp));
}

// The scroll bar of the pop-up under a client point (HTVSCROLL, HTHSCROLL), or 0.
win::LRESULT ScrollBarAt(win::HWND h, win::LPARAM lp) {
    const auto style = win::GetWindowLongPtr(h, win::GWL_STYLE);
    if (!(style & (win::WS_VSCROLL | win::WS_HSCROLL)))
        return 0;
    win::POINT p = win::MAKEPOINT(lp);
    win::ClientToScreen(h, &p);
    const win::LRESULT hit = win::SendMessage(h, win::WM_NCHITTEST, 0, win::MAKELPARAM(p.x, p.y));
    return hit == win::HTVSCROLL || hit == win::HTHSCROLL ? hit : 0;
}
}  // namespace

bool PopupWindow::Open(win::HWND owner, const win::RECT& screen, Handler handler,
                       DismissHandler dismiss, win::DWORD extra_style) {
    Close();
    EnsurePopupClass();
    handler_ = std::move(handler);
    dismiss_ = std::move(dismiss);
    hwnd_ = win::CreateWindowEx(win::WS_EX_TOPMOST | win::WS_EX_TOOLWINDOW | win::WS_EX_NOACTIVATE,
                                kPopupClass, "", win::WS_POPUP | win::WS_BORDER | extra_style,
                                screen.left, screen.top, screen.width(), screen.height(), owner,
                                nullptr, nullptr, nullptr);
    if (!hwnd_)
        return false;
    win::SetWindowProc(hwnd_, win::WNDPROC::bind([this](win::HWND h, win::UINT m, win::WPARAM w,
                                                        win::LPARAM l) -> win::LRESULT {
                           return WindowProc(h, m, w, l);
                       }));
    win::ShowWindow(hwnd_, win::SW_SHOWNOACTIVATE);
    win::SetCapture(hwnd_);
    return true;
}

void PopupWindow::Close() {
    if (!hwnd_ || closing_)
        return;
    closing_ = true;
    win::HWND h = hwnd_;
    hwnd_ = nullptr;
    if (win::GetCapture() == h)
        win::ReleaseCapture();
    if (win::IsWindow(h)) {
        win::SetWindowProc(h, &win::DefWindowProc);
        win::DestroyWindow(h);
    }
    closing_ = false;
}

bool PopupWindow::IsOpen() const {
    return hwnd_ && win::IsWindow(hwnd_);
}

void PopupWindow::Invalidate() {
    if (IsOpen())
        win::InvalidateRect(hwnd_, nullptr, true);
}

win::LRESULT PopupWindow::WindowProc(win::HWND h, win::UINT msg, win::WPARAM wp, win::LPARAM lp) {
    using namespace win;
    if (closing_)
        return DefWindowProc(h, msg, wp, lp);
    switch (msg) {
        case WM_LBUTTONDOWN:
        case WM_LBUTTONDBLCLK:
            if (!IsInside(h, lp)) {
                if (const LRESULT bar = ScrollBarAt(h, lp)) {
                    POINT p = MAKEPOINT(lp);
                    ClientToScreen(h, &p);
                    SendMessage(h, WM_NCLBUTTONDOWN, static_cast<WPARAM>(bar),
                                MAKELPARAM(p.x, p.y));
                    return 0;
                }
                Dismiss();
                return 0;
            }
            break;
        case WM_RBUTTONDOWN:
        case WM_RBUTTONDBLCLK:
        case WM_MBUTTONDOWN:
        case WM_MBUTTONDBLCLK:
            if (!IsInside(h, lp)) {
                Dismiss();
                return 0;
            }
            break;
        case WM_LBUTTONUP:
        case WM_RBUTTONUP:
        case WM_MBUTTONUP:
            if (!IsInside(h, lp))
                return 0;
            break;
        case WM_CAPTURECHANGED:
            if (HwndFromParam(lp) != h)
                Dismiss();
            return 0;
        default:
            break;
    }
    if (handler_)
        return handler_(h, msg, wp, lp);
    return DefWindowProc(h, msg, wp, lp);
}

void PopupWindow::Dismiss() {
    // The owner's close-up may run handlers that free the owner, and this pop-up with it: the
    // callback runs from a copy and nothing of this object is touched after it.
    DismissHandler dismiss = dismiss_;
    if (dismiss) {
        dismiss();
    } else {
        Close();
    }
}

}  // namespace forms
