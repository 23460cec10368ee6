// The display driver slot and the notifications a display sends about its native windows.

#include "platform/win/display_driver.h"
#include "platform/win/internal.h"
#include "platform/win/message.h"
#include "platform/win/painting.h"
#include "platform/win/window.h"

namespace win {

using detail::get;
using detail::state;
using detail::Window;

void SetDisplayDriver(DisplayDriver* driver) {
    auto& s = state();
    DisplayDriver* old_driver = s.driver;
    s.driver = driver;
    if (old_driver != driver)
        detail::rewatch_descriptors(old_driver, driver);
    if (!driver)
        return;
    // Announce what exists, bottom first, and have it presented in full.
    for (auto it = s.toplevels.rbegin(); it != s.toplevels.rend(); ++it) {
        Window* t = *it;
        driver->window_created(t->handle);
        driver->window_moved(t->handle, t->rect);
        if (!t->text.empty())
            driver->window_text_changed(t->handle, t->text);
        if (t->shape) {
            const gdi::Region shape =
                t->shape->intersect(RECT{0, 0, t->rect.width(), t->rect.height()});
            driver->window_shaped(t->handle, &shape);
        }
        if (t->style & WS_VISIBLE)
            driver->window_shown(t->handle, true);
        t->dirty = {0, 0, t->rect.width(), t->rect.height()};
        s.present_maybe = true;
    }
}

DisplayDriver* GetDisplayDriver() {
    return state().driver;
}

void NativeExpose(HWND topLevel, const RECT& area) {
    Window* w = get(topLevel);
    if (!w || w->parent)
        return;
    w->dirty = w->dirty.unite(area.intersect({0, 0, w->rect.width(), w->rect.height()}));
    state().present_maybe = true;
}

void NativeMoved(HWND topLevel, const RECT& screen) {
    Window* w = get(topLevel);
    if (!w || w->parent)
        return;
    if (screen == w->rect)
        return;
    // Keep the driver from being told back what it told us.
    auto& s = state();
    DisplayDriver* d = s.driver;
    HWND saved = s.moved_by_display;
    s.moved_by_display = topLevel;
    SetWindowPos(topLevel, nullptr, screen.left, screen.top, screen.width(), screen.height(),
                 SWP_NOZORDER | SWP_NOACTIVATE);
    s.moved_by_display = saved;
    if (Window* again = get(topLevel)) {
        if (again->rect.width() != screen.width() || again->rect.height() != screen.height()) {
            // The window refused the size; the display follows the window.
            if (d)
                d->window_moved(topLevel, again->rect);
        }
        if (d) {
            again->dirty = {0, 0, again->rect.width(), again->rect.height()};
            s.present_maybe = true;
        }
    }
}

void NativeFocus(HWND topLevel, bool focused) {
    auto& s = state();
    Window* w = get(topLevel);
    if (!w)
        return;
    if (focused) {
        if (s.active != topLevel && !(w->style & WS_DISABLED))
            detail::set_active(topLevel, false, true);
    } else if (s.active == topLevel) {
        // Another application took the focus: nothing of ours is active.
        detail::set_active(nullptr, false, true);
    }
}

void NativeCloseRequest(HWND topLevel) {
    if (get(topLevel))
        PostMessage(topLevel, WM_SYSCOMMAND, SC_CLOSE, 0);
}

void NativeRestoreRequest(HWND topLevel) {
    if (IsWindow(topLevel) && IsIconic(topLevel))
        PostMessage(topLevel, WM_SYSCOMMAND, SC_RESTORE, 0);
}

}  // namespace win
