#pragma once

#include <functional>
#include <string>

#include "platform/win/messages.h"
#include "platform/win/styles.h"
#include "platform/win/types.h"

namespace win {

// ---- Window classes ----------------------------------------------------------------------

struct WNDCLASS {
    UINT style = 0;
    WNDPROC lpfnWndProc;
    int cbClsExtra = 0;
    int cbWndExtra = 0;
    HINSTANCE hInstance = nullptr;
    HICON hIcon = nullptr;
    HCURSOR hCursor = nullptr;  // ignored
    HBRUSH hbrBackground = 0;   // erased with by DefWindowProc's WM_ERASEBKGND
    const char* lpszMenuName = nullptr;
    const char* lpszClassName = nullptr;
};

// Registers a class by name (names compare without regard to ASCII case, as in Win32).
// Returns 0 when the name is taken or missing.
ATOM RegisterClass(const WNDCLASS& wc);
bool UnregisterClass(const char* name, HINSTANCE instance = nullptr);
bool GetClassInfo(HINSTANCE instance, const char* name, WNDCLASS* out);
// The class name the window was created with, as registered.
std::string GetClassName(HWND hwnd);
int GetClassName(HWND hwnd, char* buffer, int size);
UINT GetClassStyle(HWND hwnd);

// Predefined class names. "#32770" (dialog) and "#32768" (pop-up menu) are registered at
// start: the dialog class with DefWindowProc as procedure (erasing with COLOR_BTNFACE), the
// menu class with the procedure that paints and prints an open menu (platform/win/menu.h).
constexpr const char* kDialogClass = "#32770";
constexpr const char* kPopupMenuClass = "#32768";

// ---- Creation and destruction -------------------------------------------------------------

// Creates a window. Parent: for WS_CHILD the parent window; otherwise the owner (a top-level
// window's owner, GW_OWNER). `menu` is the child ID for WS_CHILD windows. Order of messages:
// HCBT_CREATEWND hook, WM_NCCREATE, WM_NCCALCSIZE, WM_CREATE, WM_SIZE, WM_MOVE, then, for
// WS_VISIBLE, the ShowWindow sequence. Returns nullptr when the class is unknown, the parent
// invalid, or the hook, WM_NCCREATE or WM_CREATE refuse.
HWND CreateWindowEx(DWORD exStyle, const char* className, const char* windowName, DWORD style,
                    int x, int y, int width, int height, HWND parent, HMENU menu,
                    HINSTANCE instance, void* param);
inline HWND CreateWindow(const char* className, const char* windowName, DWORD style, int x, int y,
                         int width, int height, HWND parent, HMENU menu, HINSTANCE instance,
                         void* param) {
    return CreateWindowEx(0, className, windowName, style, x, y, width, height, parent, menu,
                          instance, param);
}
// Destroys the window, its owned windows and its children: HCBT_DESTROYWND, hide, WM_DESTROY
// (parent first), WM_NCDESTROY (children first). The handle is invalid afterwards.
bool DestroyWindow(HWND hwnd);
bool IsWindow(HWND hwnd);
// Child ID as a menu handle (the Win32 idiom for CreateWindowEx's hMenu of a child).
inline HMENU ChildId(UINT_PTR id) {
    return reinterpret_cast<HMENU>(id);
}

// ---- Procedures and window data -------------------------------------------------------------

constexpr int GWLP_WNDPROC = -4;
constexpr int GWLP_HINSTANCE = -6;
constexpr int GWLP_HWNDPARENT = -8;
constexpr int GWLP_ID = -12;
constexpr int GWL_STYLE = -16;
constexpr int GWL_EXSTYLE = -20;
constexpr int GWLP_USERDATA = -21;

// GWL_STYLE, GWL_EXSTYLE, GWLP_ID, GWLP_USERDATA, GWLP_HWNDPARENT (the owner of a top-level
// window). Setting styles sends WM_STYLECHANGING / WM_STYLECHANGED; frame changes take effect
// with SetWindowPos(SWP_FRAMECHANGED).
LONG_PTR GetWindowLongPtr(HWND hwnd, int index);
LONG_PTR SetWindowLongPtr(HWND hwnd, int index, LONG_PTR value);
inline LONG GetWindowLong(HWND hwnd, int index) {
    return static_cast<LONG>(GetWindowLongPtr(hwnd, index));
}
inline LONG SetWindowLong(HWND hwnd, int index, LONG value) {
    return static_cast<LONG>(SetWindowLongPtr(hwnd, index, value));
}
// GWLP_WNDPROC: the window procedure. Returns the previous one.
WNDPROC SetWindowLongPtr(HWND hwnd, int index, WNDPROC proc);
WNDPROC GetWindowProc(HWND hwnd);
inline WNDPROC SetWindowProc(HWND hwnd, WNDPROC proc) {
    return SetWindowLongPtr(hwnd, GWLP_WNDPROC, std::move(proc));
}
LRESULT CallWindowProc(const WNDPROC& proc, HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
// The default procedure: non-client area, erase, text, activation, close, keys, scroll bars.
LRESULT DefWindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);

// Named properties (SetProp/GetProp/RemoveProp) for code that hangs data on foreign windows.
bool SetProp(HWND hwnd, const char* name, uintptr_t data);
uintptr_t GetProp(HWND hwnd, const char* name);
uintptr_t RemoveProp(HWND hwnd, const char* name);

// ---- Tree and z-order ----------------------------------------------------------------------

constexpr UINT GW_HWNDFIRST = 0;
constexpr UINT GW_HWNDLAST = 1;
constexpr UINT GW_HWNDNEXT = 2;
constexpr UINT GW_HWNDPREV = 3;
constexpr UINT GW_OWNER = 4;
constexpr UINT GW_CHILD = 5;
constexpr UINT GA_PARENT = 1;
constexpr UINT GA_ROOT = 2;
constexpr UINT GA_ROOTOWNER = 3;

// The parent of a child window, the owner of an owned top-level window, else nullptr.
HWND GetParent(HWND hwnd);
// Re-parents a window (nullptr makes it top-level); returns the old parent.
HWND SetParent(HWND child, HWND newParent);
HWND GetAncestor(HWND hwnd, UINT flags);
// Siblings in z-order, top first; GW_CHILD is the topmost child.
HWND GetWindow(HWND hwnd, UINT cmd);
HWND GetTopWindow(HWND parent);  // nullptr parent: the topmost top-level window
HWND GetDesktopWindow();
bool IsChild(HWND parent, HWND hwnd);
// All descendants, depth first, each parent before its children, top of z-order first.
// Stops when the callback returns false.
bool EnumChildWindows(HWND parent, const std::function<bool(HWND)>& callback);
// Top-level windows, top of z-order first.
bool EnumWindows(const std::function<bool(HWND)>& callback);
HWND GetDlgItem(HWND parent, int id);
int GetDlgCtrlID(HWND hwnd);
HWND FindWindow(const char* className, const char* windowName);

// ---- Text ----------------------------------------------------------------------------------

// Window text in UTF-8, through WM_SETTEXT / WM_GETTEXT / WM_GETTEXTLENGTH.
bool SetWindowText(HWND hwnd, const std::string& text);
int GetWindowText(HWND hwnd, char* buffer, int size);
std::string GetWindowText(HWND hwnd);
int GetWindowTextLength(HWND hwnd);

// ---- Geometry ------------------------------------------------------------------------------

// The window rectangle on the screen.
bool GetWindowRect(HWND hwnd, RECT* rect);
RECT GetWindowRect(HWND hwnd);
// The rectangle a maximized or minimized top-level window goes back to when restored (its
// normal rectangle); the window rectangle for any other window.
RECT GetNormalWindowRect(HWND hwnd);
// Replaces the normal rectangle of a maximized or minimized top-level window; false (and
// nothing changes) for any other window.
bool SetNormalWindowRect(HWND hwnd, const RECT& rect);
// The size of the window's frame (outer size less client size) in its normal state, whatever
// its present state.
SIZE GetNormalFrameSize(HWND hwnd);
// The client rectangle (0, 0, width, height).
bool GetClientRect(HWND hwnd, RECT* rect);
RECT GetClientRect(HWND hwnd);
bool ClientToScreen(HWND hwnd, POINT* pt);
bool ScreenToClient(HWND hwnd, POINT* pt);
// Maps points from one window's client coordinates to another's (nullptr = the screen).
int MapWindowPoints(HWND from, HWND to, POINT* points, UINT count);
int MapWindowPoints(HWND from, HWND to, RECT* rect);

constexpr UINT SWP_NOSIZE = 0x0001;
constexpr UINT SWP_NOMOVE = 0x0002;
constexpr UINT SWP_NOZORDER = 0x0004;
constexpr UINT SWP_NOREDRAW = 0x0008;
constexpr UINT SWP_NOACTIVATE = 0x0010;
constexpr UINT SWP_FRAMECHANGED = 0x0020;
constexpr UINT SWP_SHOWWINDOW = 0x0040;
constexpr UINT SWP_HIDEWINDOW = 0x0080;
constexpr UINT SWP_NOCOPYBITS = 0x0100;
constexpr UINT SWP_NOOWNERZORDER = 0x0200;
constexpr UINT SWP_NOSENDCHANGING = 0x0400;
constexpr UINT SWP_DEFERERASE = 0x2000;
constexpr UINT SWP_ASYNCWINDOWPOS = 0x4000;
// Set in WM_WINDOWPOSCHANGED when the client did not move / resize.
constexpr UINT SWP_NOCLIENTSIZE = 0x0800;
constexpr UINT SWP_NOCLIENTMOVE = 0x1000;

inline HWND const HWND_TOP = reinterpret_cast<HWND>(0);
inline HWND const HWND_BOTTOM = reinterpret_cast<HWND>(1);
inline HWND const HWND_TOPMOST = reinterpret_cast<HWND>(-1);
inline HWND const HWND_NOTOPMOST = reinterpret_cast<HWND>(-2);
inline HWND const HWND_MESSAGE = reinterpret_cast<HWND>(-3);

// Position in parent client coordinates (screen for top-level windows). Sends
// WM_WINDOWPOSCHANGING, WM_NCCALCSIZE (size or frame changed), WM_WINDOWPOSCHANGED (whose
// default sends WM_MOVE and WM_SIZE); invalidates what was uncovered and what is new.
bool SetWindowPos(HWND hwnd, HWND insertAfter, int x, int y, int cx, int cy, UINT flags);
bool MoveWindow(HWND hwnd, int x, int y, int width, int height, bool repaint);

constexpr int SW_HIDE = 0;
constexpr int SW_SHOWNORMAL = 1;
constexpr int SW_NORMAL = 1;
constexpr int SW_SHOWMINIMIZED = 2;
constexpr int SW_SHOWMAXIMIZED = 3;
constexpr int SW_MAXIMIZE = 3;
constexpr int SW_SHOWNOACTIVATE = 4;
constexpr int SW_SHOW = 5;
constexpr int SW_MINIMIZE = 6;
constexpr int SW_SHOWMINNOACTIVE = 7;
constexpr int SW_SHOWNA = 8;
constexpr int SW_RESTORE = 9;
constexpr int SW_SHOWDEFAULT = 10;

// Returns whether the window was visible before. WM_SHOWWINDOW, then the SetWindowPos
// sequence; showing a top-level window activates it unless the command says not to.
bool ShowWindow(HWND hwnd, int cmd);
// Visible: the window and all its ancestors have WS_VISIBLE.
bool IsWindowVisible(HWND hwnd);
bool IsIconic(HWND hwnd);
bool IsZoomed(HWND hwnd);
// Returns whether the window was disabled before. Sends WM_ENABLE; disabling takes the focus
// away from the window and its children.
bool EnableWindow(HWND hwnd, bool enable);
bool IsWindowEnabled(HWND hwnd);
bool BringWindowToTop(HWND hwnd);

// The window region (window coordinates), or nullptr to remove it. Hit testing and drawing
// keep inside it. The region is copied.
int SetWindowRgn(HWND hwnd, const gdi::Region* region, bool redraw);
// 0 (ERROR) when the window has no region, else SIMPLEREGION/COMPLEXREGION and *out is set.
int GetWindowRgn(HWND hwnd, gdi::Region* out);
constexpr int ERROR_REGION = 0;
constexpr int NULLREGION = 1;
constexpr int SIMPLEREGION = 2;
constexpr int COMPLEXREGION = 3;

// The screen point -> the deepest visible, enabled window (hit test with WM_NCHITTEST,
// skipping HTTRANSPARENT windows).
HWND WindowFromPoint(POINT screen);
constexpr UINT CWP_ALL = 0x0000;
constexpr UINT CWP_SKIPINVISIBLE = 0x0001;
constexpr UINT CWP_SKIPDISABLED = 0x0002;
constexpr UINT CWP_SKIPTRANSPARENT = 0x0004;
// The direct child containing the point (parent client coordinates), the parent itself when
// no child does, nullptr when the point is outside the parent.
HWND ChildWindowFromPoint(HWND parent, POINT pt);
HWND ChildWindowFromPointEx(HWND parent, POINT pt, UINT flags);

}  // namespace win
