#pragma once

#include "platform/win/messages.h"
#include "platform/win/types.h"

namespace forms {

// The left-button and move messages a control passes on to the framework even when its own
// window procedure answered them (a tool bar's button, a track bar's thumb, a header's
// divider): the control's MouseDown / MouseUp / MouseMove events and its OnClick follow the
// same mouse as the window's own handling.
inline bool FrameworkHearsMouseMessage(win::UINT msg) {
    return msg == win::WM_LBUTTONDOWN || msg == win::WM_LBUTTONUP || msg == win::WM_MOUSEMOVE ||
           msg == win::WM_LBUTTONDBLCLK;
}

}  // namespace forms
