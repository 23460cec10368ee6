#pragma once

#include <string>
#include <vector>

#include "platform/win/types.h"

namespace forms {

// Button sets, icons and modality of a message box (Win32 values).
constexpr unsigned MB_OK = 0x0000;
constexpr unsigned MB_OKCANCEL = 0x0001;
constexpr unsigned MB_ICONSTOP = 0x0010;
constexpr unsigned MB_ICONERROR = 0x0010;
constexpr unsigned MB_ICONQUESTION = 0x0020;
constexpr unsigned MB_ICONWARNING = 0x0030;
constexpr unsigned MB_ICONINFORMATION = 0x0040;
constexpr unsigned MB_APPLMODAL = 0x0000;
constexpr unsigned MB_TASKMODAL = 0x2000;
// Results: the button pressed.
constexpr int IDOK = 1;
constexpr int IDCANCEL = 2;

// A message box on screen, as scripts and tests see it.
struct MessageBoxInfo {
    win::HWND hwnd = nullptr;
    std::string text;
    std::string caption;
    unsigned flags = 0;
    int result = 0;
    bool done = false;
};

// Shows a modal message box (window class "#32770") with the caption, the text and OK or OK
// and Cancel, and returns the button pressed. With an owner window the owner is disabled while
// the box is open; without one (task-modal) every top-level window of the program is. The box
// runs a nested message loop, so timers and posted messages go on being handled, and a further
// box may open on top of it. Escape and the close box answer Cancel (OK when there is only OK).
int MessageBox(win::HWND owner, const std::string& text, const std::string& caption,
               unsigned flags);

// The boxes open now, the topmost last.
const std::vector<MessageBoxInfo*>& OpenMessageBoxes();

// Registers the window classes of the boxes' own children ("Button" push buttons and "Static"
// texts) if nobody has yet.
void RegisterDialogControlClasses();

}  // namespace forms
