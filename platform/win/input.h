#pragma once

#include <string>

#include "platform/win/messages.h"
#include "platform/win/types.h"

namespace win {

// ---- Focus, activation, capture -----------------------------------------------------------

// Moves the keyboard focus: WM_KILLFOCUS to the old window (wParam the new), then
// WM_SETFOCUS to the new one (wParam the old). Activates the new window's top-level window
// first when needed. Refused (nullptr) for disabled or hidden windows or those with a
// disabled ancestor. Returns the previous focus window.
HWND SetFocus(HWND hwnd);
HWND GetFocus();
// Activates a top-level window: HCBT_ACTIVATE hook (may refuse), WM_ACTIVATEAPP when the
// application becomes active, WM_NCACTIVATE + WM_ACTIVATE(WA_INACTIVE) to the old window,
// WM_NCACTIVATE + WM_ACTIVATE to the new one (whose default takes the focus), and the window
// comes to the top. Returns the previous active window.
HWND SetActiveWindow(HWND hwnd);
HWND GetActiveWindow();
inline HWND GetForegroundWindow() {
    return GetActiveWindow();
}
bool SetForegroundWindow(HWND hwnd);
// Mouse capture: mouse messages go to this window wherever the pointer is, as client messages.
// WM_CAPTURECHANGED goes to the window losing it.
HWND SetCapture(HWND hwnd);
bool ReleaseCapture();
HWND GetCapture();

constexpr DWORD TME_HOVER = 0x00000001;
constexpr DWORD TME_LEAVE = 0x00000002;
constexpr DWORD TME_NONCLIENT = 0x00000010;
constexpr DWORD TME_QUERY = 0x40000000;
constexpr DWORD TME_CANCEL = 0x80000000;
struct TRACKMOUSEEVENT {
    DWORD cbSize = sizeof(TRACKMOUSEEVENT);
    DWORD dwFlags = 0;
    HWND hwndTrack = nullptr;
    DWORD dwHoverTime = 0;
};
// TME_LEAVE: posts WM_MOUSELEAVE once the pointer leaves the window's client area (or
// WM_NCMOUSELEAVE with TME_NONCLIENT for the non-client area); tracking ends then. When the
// pointer is not over the area already, the leave message is posted at once.
bool TrackMouseEvent(TRACKMOUSEEVENT* tme);

// Key state: high bit set (negative) while down, low bit toggles on each press.
short GetKeyState(int vk);
short GetAsyncKeyState(int vk);
bool GetCursorPos(POINT* pt);
// Moves the pointer without a button: the same as injecting a mouse move.
bool SetCursorPos(int x, int y);
UINT GetDoubleClickTime();
bool SetDoubleClickTime(UINT ms);

// ---- Injected input: the one entry point of displays and tests -----------------------------

enum class MouseAction {
    Move,
    LeftDown,
    LeftUp,
    RightDown,
    RightUp,
    MiddleDown,
    MiddleUp,
    Wheel,
};

// A mouse event at a screen position. Queued; when the loop retrieves it, the target is
// found (capture window, or the deepest window under the point via WM_NCHITTEST), leave
// tracking is updated, WM_MOUSEACTIVATE is sent for a press into an inactive top-level
// window, presses within the double-click time and distance become double clicks (client:
// CS_DBLCLKS classes only), and the client or non-client message is returned.
void InjectMouse(MouseAction action, POINT screen, int wheelDelta = 0);
// A key press or release. Goes to the focus window (WM_KEYDOWN/UP), or to the active window
// as WM_SYSKEYDOWN/UP when nothing has the focus or Alt is down. `text` is what the key
// types (UTF-8), delivered as WM_CHAR by TranslateMessage; when empty, letters, digits,
// space, Enter, Tab, Backspace and Escape type their usual character.
void InjectKey(int vk, bool down, const std::string& text = {});
// A typed text without a key (input methods): WM_CHAR per character to the focus window.
void InjectText(const std::string& utf8);

// Convenience for tests and scripts: press and release the left button at a screen point;
// type a string key by key.
void InjectClick(POINT screen);
void InjectTyping(const std::string& ascii);

}  // namespace win
