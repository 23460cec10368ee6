#pragma once

#include <string>

#include "platform/win/types.h"

namespace skin {

// The small window that names a title-bar button under the mouse ("Close", "Maximize", ...).
// One is shown at a time in the whole program; showing it elsewhere moves it.
class TCaptionHint {
  public:
    // Shows `text` with its top-left corner at the screen point (x, y), at most 500 pixels
    // wide, owned by `owner` and without taking the activation.
    static void Show(win::HWND owner, const std::string& text, int x, int y);
    static void Hide();
    // The hint window while shown, else nullptr.
    static win::HWND Window();
    static std::string Text();
};

// The hint text of a title button's action, or "" for actions without one.
std::string CaptionButtonHint(int action);

}  // namespace skin
