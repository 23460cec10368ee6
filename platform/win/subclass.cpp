#include "platform/win/subclass.h"

#include "platform/win/internal.h"
#include "platform/win/message.h"

namespace win {

using detail::get;
using detail::SubclassInfo;
using detail::SubclassNode;
using detail::Window;

namespace {

LRESULT SubclassThunk(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);

// Restores the window's own procedure once the chain is empty and no dispatch runs through it.
void release_if_unused(Window* w) {
    SubclassInfo* info = w->subclass.get();
    if (!info || info->head || info->running > 0)
        return;
    if (w->proc == WNDPROC(SubclassThunk))
        w->proc = info->original;
    w->subclass.reset();
}

LRESULT SubclassThunk(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    Window* w = get(hwnd);
    if (!w)
        return 0;
    SubclassInfo* info = w->subclass.get();
    if (!info)
        return DefWindowProc(hwnd, msg, wParam, lParam);
    // Save the position of an outer dispatch; this one starts at the head.
    auto saved_cursor = info->cursor;
    bool saved_started = info->cursor_started;
    info->cursor = nullptr;
    info->cursor_started = false;
    ++info->running;
    LRESULT r = DefSubclassProc(hwnd, msg, wParam, lParam);
    // The window may have been destroyed by the message.
    w = get(hwnd);
    if (!w || w->subclass.get() != info)
        return r;
    --info->running;
    info->cursor = saved_cursor;
    info->cursor_started = saved_started;
    release_if_unused(w);
    return r;
}

}  // namespace

namespace detail {

void drop_subclasses(Window* w) {
    if (!w->subclass)
        return;
    // The window is going away; the chain goes with it, whatever runs.
    if (w->proc == WNDPROC(SubclassThunk))
        w->proc = w->subclass->original;
    w->subclass.reset();
}

}  // namespace detail

bool SetWindowSubclass(HWND hwnd, SUBCLASSPROC proc, UINT_PTR idSubclass, DWORD_PTR refData) {
    Window* w = get(hwnd);
    if (!w || !proc)
        return false;
    if (!w->subclass) {
        w->subclass = std::make_unique<SubclassInfo>();
        w->subclass->original = w->proc;
        w->proc = SubclassThunk;
    }
    for (auto n = w->subclass->head; n; n = n->next) {
        if (n->proc == proc && n->id == idSubclass) {
            n->ref = refData;
            return true;
        }
    }
    auto node = std::make_shared<SubclassNode>();
    node->proc = proc;
    node->id = idSubclass;
    node->ref = refData;
    node->next = w->subclass->head;
    w->subclass->head = node;
    return true;
}

bool GetWindowSubclass(HWND hwnd, SUBCLASSPROC proc, UINT_PTR idSubclass, DWORD_PTR* refData) {
    Window* w = get(hwnd);
    if (!w || !w->subclass)
        return false;
    for (auto n = w->subclass->head; n; n = n->next) {
        if (n->proc == proc && n->id == idSubclass) {
            if (refData)
                *refData = n->ref;
            return true;
        }
    }
    return false;
}

bool RemoveWindowSubclass(HWND hwnd, SUBCLASSPROC proc, UINT_PTR idSubclass) {
    Window* w = get(hwnd);
    if (!w || !w->subclass)
        return false;
    SubclassInfo* info = w->subclass.get();
    std::shared_ptr<SubclassNode>* link = &info->head;
    while (*link) {
        if ((*link)->proc == proc && (*link)->id == idSubclass) {
            // Unlinked now; a dispatch that stands on this node still holds it and carries
            // on through its `next`, and it is freed when that dispatch lets go.
            *link = (*link)->next;
            release_if_unused(w);
            return true;
        }
        link = &(*link)->next;
    }
    return false;
}

LRESULT DefSubclassProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    Window* w = get(hwnd);
    if (!w)
        return 0;
    SubclassInfo* info = w->subclass.get();
    if (!info)
        return CallWindowProc(w->proc, hwnd, msg, wParam, lParam);
    std::shared_ptr<SubclassNode> node;
    if (!info->cursor_started) {
        node = info->head;
        info->cursor_started = true;
    } else {
        node = info->cursor ? info->cursor->next : nullptr;
    }
    info->cursor = node;
    if (!node) {
        WNDPROC original = info->original;
        return CallWindowProc(original, hwnd, msg, wParam, lParam);
    }
    return node->proc(hwnd, msg, wParam, lParam, node->id, node->ref);
}

}  // namespace win
