#pragma once

#include "forms/messages.h"

namespace forms {

// Sent to a form's window when windows of its controls have been made after the form's own (a
// page shown for the first time, a control shown or asked for its handle): LParam is the
// outermost TWinControl whose window was made; its shown children have theirs too. Those who
// look after the form's controls (the skin) take the new windows in here.
constexpr win::UINT CM_CONTROLWINDOWSMADE = CM_BASE + 30;

}  // namespace forms
