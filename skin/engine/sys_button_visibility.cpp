#include "skin/engine/sys_button_visibility.h"

namespace skin {

bool SysBtnCodeHolds(int code, bool secondary, const TSysBtnConditions& c,
                     const std::function<bool()>& asks) {
    const bool min_or_max = c.icons.has(sbiMin) || c.icons.has(sbiMax);
    switch (code) {
        case 0:
            return true;
        case 1:
            return c.maximized;
        case 2:
            return !c.maximized;
        case 3:
            return c.active;
        case 4:
            return !c.active;
        case 5:
            return false;
        case 6:
        case 8:
            return secondary ? min_or_max : min_or_max && c.icons.has(sbisystem);
        case 7:
            return !c.icons.has(sbiMax);
        case 9:
            return !c.icons.has(sbiMin);
        case 10:
            return secondary ? c.icons.has(sbiHelp) : c.icons.has(sbiHelp) && !min_or_max;
        case 100:
            return c.child_in_menubar;
        case 200:
            return c.dialog && !c.messagebox;
        default:
            break;
    }
    if (code >= 201 && code <= 999)
        return true;
    if (code >= 1000 && code <= 2000)
        return secondary || (asks && asks());
    return false;
}

TSysBtnShown SysBtnShown(int visibility, int visibility1, int action, const TSysBtnConditions& c,
                         const std::function<bool()>& asks) {
    TSysBtnShown s;
    s.visible =
        SysBtnCodeHolds(visibility, false, c, asks) && SysBtnCodeHolds(visibility1, true, c, asks);
    const bool system = c.icons.has(sbisystem);
    switch (action) {
        case 0:
            if (!system)
                s.visible = false;
            break;
        case 1:
            s.enabled = c.icons.has(sbiMax) && system;
            break;
        case 2:
            s.enabled = c.icons.has(sbiMin) && system;
            break;
        case 3:
        case 11:
        case 12:
            if (c.dialog)
                s.visible = false;
            break;
        default:
            break;
    }
    return s;
}

}  // namespace skin
