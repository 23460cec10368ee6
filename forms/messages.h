#pragma once

#include "platform/win/messages.h"
#include "platform/win/types.h"

namespace forms {

// A window message as the framework's window-procedure methods see it.
struct TMessage {
    win::UINT Msg = 0;
    win::WPARAM WParam = 0;
    win::LPARAM LParam = 0;
    win::LRESULT Result = 0;
};

// A window-procedure method: the control's WindowProc member holds one. It can be replaced (a
// skin saves the old one, installs its own and calls the old one explicitly).
using TWndMethod = std::function<void(TMessage&)>;

// The framework's own notifications, sent to controls through their WindowProc with Perform.
constexpr win::UINT CM_BASE = 0xB000;
constexpr win::UINT CM_ACTIVATE = CM_BASE + 0;
constexpr win::UINT CM_DEACTIVATE = CM_BASE + 1;
constexpr win::UINT CM_DIALOGKEY = CM_BASE + 5;     // WParam: virtual key; Result 1 = handled
constexpr win::UINT CM_FOCUSCHANGED = CM_BASE + 7;  // LParam: the newly focused TWinControl*
constexpr win::UINT CM_PARENTFONTCHANGED = CM_BASE + 8;
constexpr win::UINT CM_PARENTCOLORCHANGED = CM_BASE + 9;
constexpr win::UINT CM_VISIBLECHANGED = CM_BASE + 11;
constexpr win::UINT CM_ENABLEDCHANGED = CM_BASE + 12;
constexpr win::UINT CM_COLORCHANGED = CM_BASE + 13;
constexpr win::UINT CM_FONTCHANGED = CM_BASE + 14;
constexpr win::UINT CM_TEXTCHANGED = CM_BASE + 18;
constexpr win::UINT CM_MOUSEENTER = CM_BASE + 19;
constexpr win::UINT CM_MOUSELEAVE = CM_BASE + 20;
constexpr win::UINT CM_ENTER = CM_BASE + 27;
constexpr win::UINT CM_EXIT = CM_BASE + 28;
constexpr win::UINT CM_WANTSPECIALKEY = CM_BASE + 29;  // WParam: key; Result 1 = the control
                                                       // takes Tab / Enter / Escape itself
constexpr win::UINT CM_CANCELMODE = CM_BASE + 4;       // close drop-downs and captures

}  // namespace forms
