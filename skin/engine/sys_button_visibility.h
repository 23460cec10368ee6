#pragma once

#include <functional>

#include "skin/engine/frame_types.h"

namespace skin {

// What a title-bar button's visibility codes look at.
struct TSysBtnConditions {
    bool maximized = false;
    bool active = false;
    TSkinFormIcons icons;
    bool dialog = false;      // the window has a dialog border
    bool messagebox = false;  // the window is a message box
    // A maximized child is shown in this window and this window has a menu bar.
    bool child_in_menubar = false;
};

// Whether one visibility code holds. `secondary` picks the Visibility1 column (which differs
// for codes 6, 8, 10 and 1000..2000). `asks` is called for codes 1000..2000 of the first
// column: the window decides by its answer.
bool SysBtnCodeHolds(int code, bool secondary, const TSysBtnConditions& c,
                     const std::function<bool()>& asks);

// Visibility and enabled state of one title button from its two codes and its action.
struct TSysBtnShown {
    bool visible = false;
    bool enabled = true;
};
TSysBtnShown SysBtnShown(int visibility, int visibility1, int action, const TSysBtnConditions& c,
                         const std::function<bool()>& asks);

}  // namespace skin
