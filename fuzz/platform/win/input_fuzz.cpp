// Input as a display delivers it, mixed with the window changes handlers make while it is in
// flight: each input byte picks an operation on a small window tree, then the loop runs. The
// window system must neither crash nor touch freed windows, whatever the order.

#include <cstddef>
#include <cstdint>
#include <vector>

#include "platform/clock/clock.h"
#include "platform/gdi/region.h"
#include "platform/win/menu.h"
#include "platform/win/win.h"

using namespace win;

namespace {

std::vector<HWND> g_windows;

// A procedure that sometimes changes the tree from inside a message, as real controls do.
LRESULT FuzzProc(HWND h, UINT m, WPARAM w, LPARAM l) {
    const LONG_PTR mode = GetWindowLongPtr(h, GWLP_USERDATA);
    switch (m) {
        case WM_LBUTTONDOWN:
            if (mode == 1)
                SetCapture(h);
            if (mode == 2)
                DestroyWindow(h);
            if (mode == 3) {
                TRACKMOUSEEVENT t;
                t.dwFlags = TME_LEAVE;
                t.hwndTrack = h;
                TrackMouseEvent(&t);
            }
            return 0;
        case WM_LBUTTONUP:
            if (GetCapture() == h)
                ReleaseCapture();
            return 0;
        case WM_MOUSELEAVE:
            if (mode == 3)
                ShowWindow(h, SW_HIDE);
            return 0;
        case WM_SETFOCUS:
            if (mode == 4)
                EnableWindow(h, false);
            return 0;
        case WM_KEYDOWN:
            if (mode == 5)
                DestroyWindow(GetParent(h) ? GetParent(h) : h);
            return 0;
        case WM_TIMER:
            if (mode == 6)
                KillTimer(h, w);
            InvalidateRect(h, nullptr, true);
            return 0;
        case WM_PAINT: {
            PAINTSTRUCT ps;
            HDC dc = BeginPaint(h, &ps);
            if (dc)
                dc->fill_rect(ps.rcPaint, gdi::rgb(10, 20, 30));
            EndPaint(h, &ps);
            return 0;
        }
        default:
            return DefWindowProc(h, m, w, l);
    }
}

HWND pick(uint8_t b) {
    std::vector<HWND> live;
    for (HWND h : g_windows) {
        if (IsWindow(h))
            live.push_back(h);
    }
    return live.empty() ? nullptr : live[b % live.size()];
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static bool registered = false;
    if (!registered) {
        WNDCLASS wc;
        wc.style = CS_DBLCLKS;
        wc.lpfnWndProc = FuzzProc;
        wc.hbrBackground = COLOR_BTNFACE + 1;
        wc.lpszClassName = "FuzzWindow";
        RegisterClass(wc);
        registered = true;
    }
    clk::ManualClock clock;
    clk::ScopedClock scoped(clock);
    // Input may open a menu (a right click on the caption, Alt+Space, Shift+F10) or begin a
    // move or a resize (a press on the caption or a border, Move or Size from the window menu);
    // once the loop is idle the menu is ended and the drag loses the capture, so that their own
    // loops end.
    SetIdleScript([] {
        if (!OpenMenuWindows().empty() && EndMenu())
            return true;
        if (GetCapture()) {
            ReleaseCapture();
            return true;
        }
        return false;
    });
    g_windows.clear();
    HWND top = CreateWindowEx(0, "FuzzWindow", "fuzz",
                              WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_VISIBLE,
                              0, 0, 200, 150, nullptr, nullptr, nullptr, nullptr);
    g_windows.push_back(top);
    size_t i = 0;
    auto next = [&]() -> uint8_t { return i < size ? data[i++] : 0; };
    while (i < size && g_windows.size() < 64) {
        const uint8_t op = next();
        const uint8_t a = next(), b = next(), c = next();
        HWND h = pick(a);
        switch (op % 16) {
            case 0:
                InjectMouse(static_cast<MouseAction>(b % 8), {c, static_cast<int>(b)},
                            (c & 1) ? 120 : -120);
                break;
            case 1:
                InjectClick({b, c});
                break;
            case 2:
                InjectKey(b, (c & 1) != 0,
                          (c & 2) ? std::string(1, static_cast<char>(b)) : std::string());
                break;
            case 3:
                if (h) {
                    HWND k = CreateWindowEx(
                        (b & 1) ? WS_EX_CLIENTEDGE : 0, "FuzzWindow", "",
                        WS_CHILD | WS_VISIBLE | ((b & 2) ? WS_CLIPCHILDREN : 0) |
                            ((b & 4) ? WS_CLIPSIBLINGS : 0) | ((b & 8) ? WS_VSCROLL : 0),
                        b % 50, c % 50, 10 + c % 60, 10 + b % 60, h, nullptr, nullptr, nullptr);
                    if (k) {
                        SetWindowLongPtr(k, GWLP_USERDATA, c % 8);
                        g_windows.push_back(k);
                    }
                }
                break;
            case 4:
                if (h)
                    DestroyWindow(h);
                break;
            case 5:
                if (h)
                    SetWindowPos(h, (b & 1) ? HWND_BOTTOM : HWND_TOP, b % 80 - 10, c % 80 - 10,
                                 c % 90, b % 90, 0);
                break;
            case 6:
                if (h)
                    ShowWindow(h, b % 10);
                break;
            case 7:
                if (h)
                    EnableWindow(h, (b & 1) != 0);
                break;
            case 8:
                if (h)
                    SetFocus(h);
                break;
            case 9:
                if (h) {
                    gdi::Region r = gdi::Region::ellipse({0, 0, 1 + b % 70, 1 + c % 70});
                    SetWindowRgn(h, (c & 1) ? &r : nullptr, true);
                }
                break;
            case 10:
                if (h) {
                    RECT r{b % 40, c % 40, b % 40 + c % 50, c % 40 + b % 50};
                    InvalidateRect(h, &r, (c & 1) != 0);
                }
                break;
            case 11:
                if (h)
                    SetTimer(h, b % 4, 10 + c, nullptr);
                break;
            case 12:
                RunFor(b);
                break;
            case 13:
                if (h)
                    SendMessage(h, WM_SYSCOMMAND, (b & 1) ? SC_MINIMIZE : SC_RESTORE, 0);
                break;
            case 14:
                if (h)
                    SetWindowLongPtr(h, GWLP_USERDATA, b % 8);
                break;
            default:
                if (h) {
                    HDC dc = (b & 1) ? GetWindowDC(h) : GetDC(h);
                    if (dc) {
                        dc->fill_rect({0, 0, c, b}, gdi::rgb(b, c, 0));
                        ReleaseDC(h, dc);
                    }
                }
                break;
        }
        if (op & 0x80)
            PumpPending();
    }
    PumpPending();
    for (HWND w : g_windows) {
        if (IsWindow(w))
            DestroyWindow(w);
    }
    PumpPending();
    ClearQuit();
    SetIdleScript(nullptr);
    ReleaseCapture();
    return 0;
}
