#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <type_traits>

#include "platform/gdi/color.h"
#include "platform/gdi/geometry.h"

namespace win {

// The basic types of the window interface, with the Win32 names.
using BYTE = uint8_t;
using WORD = uint16_t;
using DWORD = uint32_t;
using UINT = uint32_t;
using BOOL = int;
using LONG = int32_t;
using UINT_PTR = uintptr_t;
using DWORD_PTR = uintptr_t;
using LONG_PTR = intptr_t;
using WPARAM = uintptr_t;
using LPARAM = intptr_t;
using LRESULT = intptr_t;
using ATOM = uint16_t;
using COLORREF = gdi::Color;

constexpr BOOL TRUE = 1;
constexpr BOOL FALSE = 0;

using RECT = gdi::Rect;
using POINT = gdi::Point;
using SIZE = gdi::Size;

// A window handle. Never dereferenced: it names a window in the window table, and a handle
// whose window was destroyed stays invalid for good (handles are not reused), so IsWindow
// tells the truth about any handle ever returned.
struct HWND__;
using HWND = HWND__*;

// Opaque handles kept for the Win32 shapes of the calls; the values carry no meaning here.
struct HINSTANCE__;
using HINSTANCE = HINSTANCE__*;
struct HMENU__;
using HMENU = HMENU__*;
struct HICON__;
using HICON = HICON__*;
using HCURSOR = HICON;
struct HHOOK__;
using HHOOK = HHOOK__*;

// A brush as a value: 0 = none; 1..31 = a system colour index + 1 (the Win32
// "(HBRUSH)(COLOR_BTNFACE + 1)" idiom); CreateSolidBrush values carry the colour. Brushes are
// never freed, so they can travel in an LRESULT (WM_CTLCOLOR*).
using HBRUSH = intptr_t;
HBRUSH CreateSolidBrush(COLORREF c);
HBRUSH GetSysColorBrush(int index);
// The colour a brush paints with; false for the null brush.
bool BrushColor(HBRUSH brush, COLORREF* out);

// A device context: a gdi::DC drawing into a top-level window's backing bitmap.
}  // namespace win
namespace gdi {
class DC;
class Region;
class Bitmap;
struct Font;
}  // namespace gdi
namespace win {
using HDC = gdi::DC*;
using HFONT = const gdi::Font*;

// A window procedure. It is a small value that can be copied, compared and called: either a
// plain function or a bound callable (a C++ object's member, a lambda with its context). Two
// procedures are equal when they are the same function or the same bound object, so the value
// SetWindowLongPtr returns can be put back later and compared with what is installed.
using WndProcFn = LRESULT (*)(HWND, UINT, WPARAM, LPARAM);
class WNDPROC {
  public:
    using Callable = std::function<LRESULT(HWND, UINT, WPARAM, LPARAM)>;

    WNDPROC() = default;
    WNDPROC(std::nullptr_t) {}
    WNDPROC(WndProcFn fn) : fn_(fn) {}
    // Captureless lambdas convert like plain functions.
    template <class F, std::enable_if_t<std::is_convertible_v<F, WndProcFn> &&
                                            !std::is_same_v<std::decay_t<F>, WndProcFn>,
                                        int> = 0>
    WNDPROC(F f) : fn_(static_cast<WndProcFn>(f)) {}
    // A procedure bound to a callable; each bind() gives a new identity.
    static WNDPROC bind(Callable c) {
        WNDPROC p;
        p.obj_ = std::make_shared<Callable>(std::move(c));
        return p;
    }
    // A procedure calling obj->method(hwnd, msg, wParam, lParam). The object must outlive the
    // installation (restore the previous procedure before destroying it).
    template <class T>
    static WNDPROC member(T* obj, LRESULT (T::*method)(HWND, UINT, WPARAM, LPARAM)) {
        return bind([obj, method](HWND h, UINT m, WPARAM w, LPARAM l) {
            return (obj->*method)(h, m, w, l);
        });
    }

    explicit operator bool() const { return fn_ != nullptr || obj_ != nullptr; }
    LRESULT operator()(HWND h, UINT m, WPARAM w, LPARAM l) const {
        if (fn_)
            return fn_(h, m, w, l);
        if (obj_)
            return (*obj_)(h, m, w, l);
        return 0;
    }
    friend bool operator==(const WNDPROC& a, const WNDPROC& b) {
        return a.fn_ == b.fn_ && a.obj_ == b.obj_;
    }

  private:
    WndProcFn fn_ = nullptr;
    std::shared_ptr<Callable> obj_;
};

// Subclass procedures in the manner of comctl32: identified by (procedure, id); the reference
// data is the caller's context (typically the C++ object doing the subclassing).
using SUBCLASSPROC = LRESULT (*)(HWND, UINT, WPARAM, LPARAM, UINT_PTR uIdSubclass,
                                 DWORD_PTR dwRefData);

// Timer callbacks (SetTimer with a procedure): hwnd, WM_TIMER, id, tick time in ms.
using TIMERPROC = std::function<void(HWND, UINT, UINT_PTR, DWORD)>;

// Hook procedures (SetWindowsHookEx): code, wParam, lParam.
using HOOKPROC = std::function<LRESULT(int, WPARAM, LPARAM)>;

// Word and point helpers (Win32 macros as functions).
constexpr WORD LOWORD(uintptr_t v) {
    return static_cast<WORD>(v & 0xFFFF);
}
constexpr WORD HIWORD(uintptr_t v) {
    return static_cast<WORD>((v >> 16) & 0xFFFF);
}
constexpr BYTE LOBYTE(uintptr_t v) {
    return static_cast<BYTE>(v & 0xFF);
}
constexpr BYTE HIBYTE(uintptr_t v) {
    return static_cast<BYTE>((v >> 8) & 0xFF);
}
constexpr DWORD MAKELONG(WORD lo, WORD hi) {
    return static_cast<DWORD>(lo) | (static_cast<DWORD>(hi) << 16);
}
constexpr LPARAM MAKELPARAM(int lo, int hi) {
    return static_cast<LPARAM>(
        static_cast<int32_t>(MAKELONG(static_cast<WORD>(lo), static_cast<WORD>(hi))));
}
constexpr WPARAM MAKEWPARAM(int lo, int hi) {
    return static_cast<WPARAM>(MAKELONG(static_cast<WORD>(lo), static_cast<WORD>(hi)));
}
constexpr LRESULT MAKELRESULT(int lo, int hi) {
    return MAKELPARAM(lo, hi);
}
// Signed coordinates packed in an lParam (mouse messages).
constexpr int GET_X_LPARAM(LPARAM l) {
    return static_cast<int16_t>(LOWORD(static_cast<uintptr_t>(l)));
}
constexpr int GET_Y_LPARAM(LPARAM l) {
    return static_cast<int16_t>(HIWORD(static_cast<uintptr_t>(l)));
}
constexpr POINT MAKEPOINT(LPARAM l) {
    return {GET_X_LPARAM(l), GET_Y_LPARAM(l)};
}
constexpr LPARAM POINTTOLPARAM(POINT p) {
    return MAKELPARAM(p.x, p.y);
}
constexpr int GET_WHEEL_DELTA_WPARAM(WPARAM w) {
    return static_cast<int16_t>(HIWORD(w));
}
constexpr int GET_KEYSTATE_WPARAM(WPARAM w) {
    return LOWORD(w);
}
constexpr int GET_NCHITTEST_WPARAM(WPARAM w) {
    return static_cast<int16_t>(LOWORD(w));
}

// Handle <-> integer conversions for handles that travel in wParam/lParam.
inline WPARAM HandleToWParam(HWND h) {
    return reinterpret_cast<WPARAM>(h);
}
inline LPARAM HandleToLParam(HWND h) {
    return reinterpret_cast<LPARAM>(h);
}
inline HWND HwndFromParam(uintptr_t v) {
    return reinterpret_cast<HWND>(v);
}
inline HWND HwndFromParam(intptr_t v) {
    return reinterpret_cast<HWND>(v);
}

struct MSG {
    HWND hwnd = nullptr;
    UINT message = 0;
    WPARAM wParam = 0;
    LPARAM lParam = 0;
    DWORD time = 0;
    POINT pt;
};

}  // namespace win
