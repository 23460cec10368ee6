#include <strings.h>
#include <algorithm>
#include <cstring>

#include "platform/clock/clock.h"
#include "platform/clock/wake_path.h"
#include "platform/win/header.h"
#include "platform/win/hook.h"
#include "platform/win/internal.h"
#include "platform/win/message.h"
#include "platform/win/metrics.h"
#include "platform/win/painting.h"
#include "platform/win/progress_bar.h"
#include "platform/win/toolbar.h"
#include "platform/win/track_bar.h"

namespace win {

using detail::get;
using detail::state;
using detail::Window;

namespace detail {

namespace {

// Every wake-up of the loop looks at it: one page, aligned to its size, beside the clock's
// reader, and made before every other static object of the program (which may already use it),
// so that state() needs no guard of a first use.
static_assert(sizeof(State) <= 4096 - 64, "the state and the clock's reader share one page");
alignas(4096) VELMOR_WAKE_DATA State g_state __attribute__((init_priority(101)));

}  // namespace

VELMOR_WAKE_CODE State& state() {
    return g_state;
}

[[gnu::hot]] SendDepth::SendDepth() {
    ++state().send_depth;
}
[[gnu::hot]] SendDepth::~SendDepth() {
    --state().send_depth;
}

[[gnu::hot]] Window* get(HWND hwnd) {
    auto& s = state();
    if (hwnd && hwnd == s.last_found)
        return s.last_found_window;
    auto it = s.windows.find(reinterpret_cast<uintptr_t>(hwnd));
    if (it == s.windows.end())
        return nullptr;
    s.last_found = hwnd;
    s.last_found_window = it->second.get();
    return s.last_found_window;
}

Window* root_of(Window* w) {
    while (w && w->parent)
        w = w->parent;
    return w;
}

POINT origin_in_root(const Window* w) {
    POINT p{0, 0};
    while (w && w->parent) {
        p.x += w->rect.left + w->parent->client.left;
        p.y += w->rect.top + w->parent->client.top;
        w = w->parent;
    }
    return p;
}

POINT origin_on_screen(const Window* w) {
    POINT p = origin_in_root(w);
    const Window* r = w;
    while (r && r->parent)
        r = r->parent;
    if (r) {
        p.x += r->rect.left;
        p.y += r->rect.top;
    }
    return p;
}

bool visible_chain(const Window* w) {
    for (; w; w = w->parent) {
        if (!(w->style & WS_VISIBLE))
            return false;
    }
    return true;
}

bool enabled_chain(const Window* w) {
    for (; w; w = w->parent) {
        if (w->style & WS_DISABLED)
            return false;
    }
    return true;
}

VELMOR_WAKE_CODE int64_t now_ms() {
    return clk::monotonic_now_ms();
}

}  // namespace detail

namespace {

bool same_name(const std::string& a, const char* b) {
    return b && strcasecmp(a.c_str(), b) == 0;
}

std::shared_ptr<detail::WindowClass> find_class(const char* name) {
    if (!name)
        return nullptr;
    for (auto& c : state().classes) {
        if (same_name(c->name, name))
            return c;
    }
    return nullptr;
}

void register_builtin_classes() {
    static bool done = false;
    if (done)
        return;
    done = true;
    WNDCLASS wc;
    wc.lpfnWndProc = DefWindowProc;
    wc.hbrBackground = COLOR_BTNFACE + 1;
    wc.style = CS_DBLCLKS | CS_SAVEBITS;
    wc.lpszClassName = kDialogClass;
    RegisterClass(wc);
    wc.hbrBackground = COLOR_MENU + 1;
    wc.lpfnWndProc = detail::popup_menu_proc;
    wc.lpszClassName = kPopupMenuClass;
    RegisterClass(wc);
    wc.hbrBackground = COLOR_BTNFACE + 1;
    wc.lpfnWndProc = detail::progress_proc;
    wc.lpszClassName = PROGRESS_CLASS;
    RegisterClass(wc);
    wc.style = CS_DBLCLKS;
    wc.lpfnWndProc = detail::trackbar_proc;
    wc.lpszClassName = TRACKBAR_CLASS;
    RegisterClass(wc);
    wc.lpfnWndProc = detail::header_proc;
    wc.lpszClassName = WC_HEADER;
    RegisterClass(wc);
    wc.lpfnWndProc = detail::toolbar_proc;
    wc.lpszClassName = TOOLBARCLASSNAME;
    RegisterClass(wc);
}

std::vector<Window*>& sibling_list(Window* w) {
    return w->parent ? w->parent->children : state().toplevels;
}

// Places w in its sibling list: after `after` (HWND_TOP, HWND_BOTTOM, HWND_TOPMOST,
// HWND_NOTOPMOST or a sibling). Topmost top-level windows stay above the others.
void place_in_zorder(Window* w, HWND after) {
    detail::layout_changed();
    auto& list = sibling_list(w);
    list.erase(std::remove(list.begin(), list.end(), w), list.end());
    if (!w->parent) {
        if (after == HWND_TOPMOST)
            w->exstyle |= WS_EX_TOPMOST;
        if (after == HWND_NOTOPMOST)
            w->exstyle &= ~WS_EX_TOPMOST;
    }
    auto band_begin = list.begin();
    auto band_end = list.end();
    if (!w->parent) {
        auto first_normal = std::find_if(list.begin(), list.end(),
                                         [](Window* x) { return !(x->exstyle & WS_EX_TOPMOST); });
        if (w->exstyle & WS_EX_TOPMOST) {
            band_end = first_normal;
        } else {
            band_begin = first_normal;
        }
    }
    auto pos = band_begin;
    if (after == HWND_BOTTOM) {
        pos = band_end;
    } else if (after != HWND_TOP && after != HWND_TOPMOST && after != HWND_NOTOPMOST) {
        Window* a = get(after);
        auto it = std::find(band_begin, band_end, a);
        pos = it == band_end ? band_begin : it + 1;
    }
    list.insert(pos, w);
}

void send_size_move(Window* w) {
    HWND h = w->handle;
    const RECT& c = w->client;
    SendMessage(h, WM_SIZE, SIZE_RESTORED, MAKELPARAM(c.width(), c.height()));
    if (!(w = get(h)))
        return;
    SendMessage(h, WM_MOVE, 0,
                MAKELPARAM(w->rect.left + w->client.left, w->rect.top + w->client.top));
}

RECT calc_client(Window* w, const RECT& new_rect, const RECT& old_rect, bool full,
                 WINDOWPOS* pos = nullptr) {
    HWND h = w->handle;
    NCCALCSIZE_PARAMS p;
    // The position data goes with the valid-rectangles form, as in Win32: a procedure that
    // draws its own frame reads the new window rectangle from it after default processing has
    // replaced rgrc[0] by the system's client area.
    p.lppos = pos;
    p.rgrc[0] = new_rect;
    p.rgrc[1] = old_rect;
    p.rgrc[2] = w->client.offset(old_rect.left, old_rect.top);
    if (full) {
        SendMessage(h, WM_NCCALCSIZE, TRUE, reinterpret_cast<LPARAM>(&p));
    } else {
        SendMessage(h, WM_NCCALCSIZE, FALSE, reinterpret_cast<LPARAM>(&p.rgrc[0]));
    }
    RECT c = p.rgrc[0].offset(-new_rect.left, -new_rect.top);
    c.left = std::clamp(c.left, 0, std::max(0, new_rect.width()));
    c.top = std::clamp(c.top, 0, std::max(0, new_rect.height()));
    c.right = std::clamp(c.right, c.left, std::max(c.left, new_rect.width()));
    c.bottom = std::clamp(c.bottom, c.top, std::max(c.top, new_rect.height()));
    return c;
}

void destroy_tree_messages(HWND h) {
    // WM_DESTROY goes to the parent first, then to the children.
    SendMessage(h, WM_DESTROY, 0, 0);
    Window* w = get(h);
    if (!w)
        return;
    std::vector<HWND> kids;
    for (Window* c : w->children)
        kids.push_back(c->handle);
    for (HWND k : kids) {
        if (get(k))
            destroy_tree_messages(k);
    }
}

void free_tree(HWND h) {
    Window* w = get(h);
    if (!w)
        return;
    std::vector<HWND> kids;
    for (Window* c : w->children)
        kids.push_back(c->handle);
    for (HWND k : kids)
        free_tree(k);
    w = get(h);
    if (!w)
        return;
    SendMessage(h, WM_NCDESTROY, 0, 0);
    w = get(h);
    if (!w)
        return;
    auto& s = state();
    detail::drop_subclasses(w);
    detail::kill_window_timers(h);
    if (s.focus == h)
        s.focus = nullptr;
    if (s.capture == h)
        s.capture = nullptr;
    if (s.track_leave == h)
        s.track_leave = nullptr;
    if (s.active == h)
        s.active = nullptr;
    if (s.last_click_hwnd == h)
        s.last_click_hwnd = nullptr;
    // A DC still held for the window (a handler destroyed its own window while painting, say)
    // stays valid until it is released, but draws nothing any more.
    for (auto& entry : s.dcs) {
        if (entry.hwnd == h || entry.root == h) {
            entry.dc->detach();
            entry.hwnd = nullptr;
            entry.root = nullptr;
        }
    }
    // Owned windows lose their owner; children were freed above. Only top-level windows have
    // an owner (a window made a child loses its own), so the top-level list is all there is to
    // look through: freeing a tree of N windows stays linear in N.
    for (Window* other : s.toplevels) {
        if (other->owner == w)
            other->owner = nullptr;
    }
    // Children go in z-order, top first, so the window is usually found at the front of its
    // sibling list: erase just that element.
    auto& list = sibling_list(w);
    if (auto it = std::find(list.begin(), list.end(), w); it != list.end())
        list.erase(it);
    detail::layout_changed();
    if (!w->parent && s.driver)
        s.driver->window_destroyed(h);
    if (s.last_found == h)
        s.last_found = nullptr;
    s.windows.erase(reinterpret_cast<uintptr_t>(h));
}

}  // namespace

// ---- Brushes -------------------------------------------------------------------------------

HBRUSH CreateSolidBrush(COLORREF c) {
    return static_cast<HBRUSH>((1LL << 32) | (c & 0xFFFFFF));
}

HBRUSH GetSysColorBrush(int index) {
    return index >= 0 && index < 31 ? index + 1 : 0;
}

bool BrushColor(HBRUSH brush, COLORREF* out) {
    if (brush <= 0)
        return false;
    COLORREF c;
    if (brush <= 31) {
        c = GetSysColor(static_cast<int>(brush - 1));
    } else if ((brush >> 32) == 1) {
        c = static_cast<COLORREF>(brush & 0xFFFFFF);
    } else {
        return false;
    }
    if (out)
        *out = c;
    return true;
}

// ---- Classes -------------------------------------------------------------------------------

ATOM RegisterClass(const WNDCLASS& wc) {
    auto& s = state();
    if (!wc.lpszClassName || !*wc.lpszClassName || find_class(wc.lpszClassName))
        return 0;
    auto c = std::make_shared<detail::WindowClass>();
    c->name = wc.lpszClassName;
    c->style = wc.style;
    c->proc = wc.lpfnWndProc ? wc.lpfnWndProc : WNDPROC(DefWindowProc);
    c->background = wc.hbrBackground;
    c->icon = wc.hIcon;
    c->instance = wc.hInstance;
    s.classes.push_back(c);
    return static_cast<ATOM>(0xC000 + s.classes.size());
}

bool UnregisterClass(const char* name, HINSTANCE) {
    auto& s = state();
    auto c = find_class(name);
    if (!c)
        return false;
    for (auto& [k, w] : s.windows) {
        if (w->cls == c)
            return false;
    }
    s.classes.erase(std::remove(s.classes.begin(), s.classes.end(), c), s.classes.end());
    return true;
}

bool GetClassInfo(HINSTANCE, const char* name, WNDCLASS* out) {
    register_builtin_classes();
    auto c = find_class(name);
    if (!c)
        return false;
    if (out) {
        *out = WNDCLASS{};
        out->style = c->style;
        out->lpfnWndProc = c->proc;
        out->hbrBackground = c->background;
        out->hIcon = c->icon;
        out->hInstance = c->instance;
        out->lpszClassName = c->name.c_str();
    }
    return true;
}

std::string GetClassName(HWND hwnd) {
    Window* w = get(hwnd);
    return w ? w->cls->name : std::string();
}

int GetClassName(HWND hwnd, char* buffer, int size) {
    if (!buffer || size <= 0)
        return 0;
    std::string n = GetClassName(hwnd);
    int len = std::min<int>(static_cast<int>(n.size()), size - 1);
    std::memcpy(buffer, n.data(), static_cast<size_t>(len));
    buffer[len] = 0;
    return len;
}

UINT GetClassStyle(HWND hwnd) {
    Window* w = get(hwnd);
    return w ? w->cls->style : 0;
}

// ---- Creation ------------------------------------------------------------------------------

HWND CreateWindowEx(DWORD exStyle, const char* className, const char* windowName, DWORD style,
                    int x, int y, int width, int height, HWND parent, HMENU menu,
                    HINSTANCE instance, void* param) {
    register_builtin_classes();
    auto& s = state();
    auto cls = find_class(className);
    if (!cls)
        return nullptr;
    Window* parent_w = nullptr;
    if (parent && parent != HWND_MESSAGE) {
        parent_w = get(parent);
        // No new windows under or owned by a window that is being destroyed: they would
        // outlive it.
        if (!parent_w)
            return nullptr;
        for (Window* a = parent_w; a; a = a->parent) {
            if (a->destroying)
                return nullptr;
        }
    }
    if ((style & WS_CHILD) && !parent_w)
        return nullptr;

    if (x == CW_USEDEFAULT)
        x = y = 0;
    if (width == CW_USEDEFAULT) {
        width = 640;
        height = 480;
    }
    width = std::max(0, width);
    height = std::max(0, height);

    auto owned = std::make_unique<Window>();
    Window* w = owned.get();
    HWND h = reinterpret_cast<HWND>(s.next_handle);
    s.next_handle += 4;
    w->handle = h;
    w->cls = cls;
    w->proc = cls->proc;
    w->style = style & ~WS_VISIBLE;
    w->exstyle = exStyle;
    w->instance = instance;
    if (style & WS_CHILD) {
        w->parent = parent_w;
        w->id = reinterpret_cast<UINT_PTR>(menu);
    } else {
        // The owner of a top-level window is itself top-level.
        w->owner = detail::root_of(parent_w);
        // Overlapped windows always have a caption and clip their siblings.
        if (!(style & WS_POPUP))
            w->style |= WS_CLIPSIBLINGS | WS_CAPTION;
    }
    w->rect = RECT::from_xywh(x, y, width, height);
    w->client = {0, 0, width, height};
    s.windows.emplace(reinterpret_cast<uintptr_t>(h), std::move(owned));
    place_in_zorder(w, HWND_TOP);
    if (!w->parent && (exStyle & WS_EX_TOPMOST))
        place_in_zorder(w, HWND_TOPMOST);
    // New children go on top of their siblings, new top-level windows on top of theirs; but
    // a child stays below the topmost siblings, so nothing more to do.

    CREATESTRUCT cs;
    cs.lpCreateParams = param;
    cs.hInstance = instance;
    cs.hMenu = menu;
    cs.hwndParent = parent;
    cs.cx = width;
    cs.cy = height;
    cs.x = x;
    cs.y = y;
    cs.style = static_cast<LONG>(style);
    cs.lpszName = windowName;
    cs.lpszClass = className;
    cs.dwExStyle = exStyle;

    auto fail = [&]() -> HWND {
        if (get(h))
            free_tree(h);
        return nullptr;
    };

    CBT_CREATEWND cbt{&cs, HWND_TOP};
    if (detail::call_cbt(HCBT_CREATEWND, HandleToWParam(h), reinterpret_cast<LPARAM>(&cbt)) != 0) {
        return fail();
    }
    if (!get(h))
        return nullptr;

    if (!SendMessage(h, WM_NCCREATE, 0, reinterpret_cast<LPARAM>(&cs)))
        return fail();
    if (!(w = get(h)))
        return nullptr;
    // The display learns of the window once it holds its text, so a native window gets its
    // title, and the window's first message is still WM_NCCREATE.
    if (!w->parent && s.driver) {
        s.driver->window_created(h);
        if (!(w = get(h)))
            return nullptr;
    }
    w->client = calc_client(w, w->rect, w->rect, false);
    detail::layout_changed();
    if (!w->parent)
        detail::ensure_backing(w);
    if (SendMessage(h, WM_CREATE, 0, reinterpret_cast<LPARAM>(&cs)) == -1)
        return fail();
    if (!(w = get(h)))
        return nullptr;
    send_size_move(w);
    if (!(w = get(h)))
        return nullptr;
    if (style & WS_VISIBLE) {
        ShowWindow(h, (style & WS_MAXIMIZE) ? SW_SHOWMAXIMIZED : SW_SHOW);
    }
    return get(h) ? h : nullptr;
}

bool DestroyWindow(HWND hwnd) {
    auto& s = state();
    Window* w = get(hwnd);
    if (!w || w->destroying)
        return false;
    if (detail::call_cbt(HCBT_DESTROYWND, HandleToWParam(hwnd), 0) != 0)
        return false;
    if (!(w = get(hwnd)))
        return true;
    w->destroying = true;
    if (w->style & WS_VISIBLE) {
        UINT flags = SWP_HIDEWINDOW | SWP_NOACTIVATE | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER;
        SetWindowPos(hwnd, nullptr, 0, 0, 0, 0, flags);
        if (!(w = get(hwnd)))
            return true;
    }
    // Owned windows go first.
    if (!w->parent) {
        std::vector<HWND> owned;
        for (Window* other : s.toplevels) {
            if (other->owner == w)
                owned.push_back(other->handle);
        }
        for (HWND o : owned)
            DestroyWindow(o);
        if (!(w = get(hwnd)))
            return true;
    }
    if (s.active == hwnd)
        detail::activate_other_than(hwnd);
    if (!(w = get(hwnd)))
        return true;
    detail::focus_lost_by(w);
    if (s.capture && (s.capture == hwnd || IsChild(hwnd, s.capture)))
        ReleaseCapture();
    if (!get(hwnd))
        return true;
    destroy_tree_messages(hwnd);
    free_tree(hwnd);
    return true;
}

bool IsWindow(HWND hwnd) {
    return get(hwnd) != nullptr;
}

// ---- Procedures and data ---------------------------------------------------------------------

LONG_PTR GetWindowLongPtr(HWND hwnd, int index) {
    Window* w = get(hwnd);
    if (!w)
        return 0;
    switch (index) {
        case GWL_STYLE:
            return static_cast<LONG_PTR>(static_cast<int32_t>(w->style));
        case GWL_EXSTYLE:
            return static_cast<LONG_PTR>(w->exstyle);
        case GWLP_ID:
            return static_cast<LONG_PTR>(w->id);
        case GWLP_USERDATA:
            return w->userdata;
        case GWLP_HINSTANCE:
            return reinterpret_cast<LONG_PTR>(w->instance);
        case GWLP_HWNDPARENT:
            return reinterpret_cast<LONG_PTR>(w->parent ? w->parent->handle
                                                        : (w->owner ? w->owner->handle : nullptr));
        default:
            return 0;
    }
}

LONG_PTR SetWindowLongPtr(HWND hwnd, int index, LONG_PTR value) {
    Window* w = get(hwnd);
    if (!w)
        return 0;
    LONG_PTR old = GetWindowLongPtr(hwnd, index);
    switch (index) {
        case GWL_STYLE:
        case GWL_EXSTYLE: {
            STYLESTRUCT ss{static_cast<DWORD>(old), static_cast<DWORD>(value)};
            SendMessage(hwnd, WM_STYLECHANGING, static_cast<WPARAM>(index),
                        reinterpret_cast<LPARAM>(&ss));
            if (!(w = get(hwnd)))
                return 0;
            if (index == GWL_STYLE) {
                w->style = ss.styleNew;
            } else {
                w->exstyle = ss.styleNew;
            }
            detail::layout_changed();
            SendMessage(hwnd, WM_STYLECHANGED, static_cast<WPARAM>(index),
                        reinterpret_cast<LPARAM>(&ss));
            break;
        }
        case GWLP_ID:
            w->id = static_cast<UINT_PTR>(value);
            break;
        case GWLP_USERDATA:
            w->userdata = value;
            break;
        case GWLP_HINSTANCE:
            w->instance = reinterpret_cast<HINSTANCE>(value);
            break;
        case GWLP_HWNDPARENT:
            if (!w->parent) {
                // An owner chain that came back to the window would never end.
                Window* owner = detail::root_of(get(reinterpret_cast<HWND>(value)));
                for (Window* o = owner; o; o = o->owner) {
                    if (o == w)
                        return 0;
                }
                w->owner = owner;
            }
            break;
        default:
            return 0;
    }
    return old;
}

WNDPROC SetWindowLongPtr(HWND hwnd, int index, WNDPROC proc) {
    Window* w = get(hwnd);
    if (!w || index != GWLP_WNDPROC)
        return nullptr;
    WNDPROC old = w->proc;
    w->proc = proc ? std::move(proc) : WNDPROC(DefWindowProc);
    return old;
}

WNDPROC GetWindowProc(HWND hwnd) {
    Window* w = get(hwnd);
    return w ? w->proc : WNDPROC();
}

LRESULT CallWindowProc(const WNDPROC& proc, HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (!proc)
        return 0;
    WNDPROC copy = proc;  // keeps a bound procedure alive while it runs
    detail::SendDepth depth;
    return copy(hwnd, msg, wParam, lParam);
}

bool SetProp(HWND hwnd, const char* name, uintptr_t data) {
    Window* w = get(hwnd);
    if (!w || !name)
        return false;
    w->props[name] = data;
    return true;
}

uintptr_t GetProp(HWND hwnd, const char* name) {
    Window* w = get(hwnd);
    if (!w || !name)
        return 0;
    auto it = w->props.find(name);
    return it == w->props.end() ? 0 : it->second;
}

uintptr_t RemoveProp(HWND hwnd, const char* name) {
    Window* w = get(hwnd);
    if (!w || !name)
        return 0;
    auto it = w->props.find(name);
    if (it == w->props.end())
        return 0;
    uintptr_t v = it->second;
    w->props.erase(it);
    return v;
}

// ---- Tree --------------------------------------------------------------------------------------

HWND GetParent(HWND hwnd) {
    Window* w = get(hwnd);
    if (!w)
        return nullptr;
    if (w->parent)
        return w->parent->handle;
    return w->owner ? w->owner->handle : nullptr;
}

HWND SetParent(HWND child, HWND newParent) {
    Window* w = get(child);
    Window* p = newParent ? get(newParent) : nullptr;
    if (!w || (newParent && !p))
        return nullptr;
    // No cycles, and no parent that is on its way out.
    auto acceptable_parent = [&] {
        for (Window* a = p; a; a = a->parent) {
            if (a == w || a->destroying)
                return false;
        }
        return true;
    };
    if (!acceptable_parent())
        return nullptr;
    HWND old = w->parent ? w->parent->handle : nullptr;
    bool was_visible = (w->style & WS_VISIBLE) != 0;
    if (was_visible)
        ShowWindow(child, SW_HIDE);
    // The hide ran handlers: look both windows up again.
    if (!(w = get(child)))
        return old;
    if (newParent && (!(p = get(newParent)) || !acceptable_parent()))
        return nullptr;
    auto& list = sibling_list(w);
    list.erase(std::remove(list.begin(), list.end(), w), list.end());
    if (!w->parent && state().driver)
        state().driver->window_destroyed(child);
    w->parent = p;
    detail::layout_changed();
    if (p) {
        w->style |= WS_CHILD;
        w->owner = nullptr;
        w->backing.reset();
    } else {
        w->style &= ~WS_CHILD;
    }
    place_in_zorder(w, HWND_TOP);
    if (!p) {
        detail::ensure_backing(w);
        if (state().driver)
            state().driver->window_created(child);
    }
    if (was_visible)
        ShowWindow(child, SW_SHOWNA);
    return old;
}

HWND GetAncestor(HWND hwnd, UINT flags) {
    Window* w = get(hwnd);
    if (!w)
        return nullptr;
    switch (flags) {
        case GA_PARENT:
            return w->parent ? w->parent->handle : nullptr;
        case GA_ROOT:
            return detail::root_of(w)->handle;
        case GA_ROOTOWNER: {
            Window* r = detail::root_of(w);
            while (r->owner)
                r = r->owner;
            return r->handle;
        }
        default:
            return nullptr;
    }
}

HWND GetWindow(HWND hwnd, UINT cmd) {
    Window* w = get(hwnd);
    if (!w)
        return nullptr;
    if (cmd == GW_CHILD)
        return w->children.empty() ? nullptr : w->children.front()->handle;
    if (cmd == GW_OWNER)
        return (!w->parent && w->owner) ? w->owner->handle : nullptr;
    auto& list = sibling_list(w);
    auto it = std::find(list.begin(), list.end(), w);
    switch (cmd) {
        case GW_HWNDFIRST:
            return list.front()->handle;
        case GW_HWNDLAST:
            return list.back()->handle;
        case GW_HWNDNEXT:
            return (it + 1) == list.end() ? nullptr : (*(it + 1))->handle;
        case GW_HWNDPREV:
            return it == list.begin() ? nullptr : (*(it - 1))->handle;
        default:
            return nullptr;
    }
}

HWND GetTopWindow(HWND parent) {
    if (!parent) {
        auto& t = state().toplevels;
        return t.empty() ? nullptr : t.front()->handle;
    }
    return GetWindow(parent, GW_CHILD);
}

HWND GetDesktopWindow() {
    return nullptr;
}

bool IsChild(HWND parent, HWND hwnd) {
    Window* p = get(parent);
    Window* w = get(hwnd);
    if (!p || !w)
        return false;
    for (Window* a = w->parent; a; a = a->parent) {
        if (a == p)
            return true;
    }
    return false;
}

namespace {
bool enum_children(HWND parent, const std::function<bool(HWND)>& cb) {
    Window* w = get(parent);
    if (!w)
        return true;
    std::vector<HWND> kids;
    for (Window* c : w->children)
        kids.push_back(c->handle);
    for (HWND k : kids) {
        if (!get(k))
            continue;
        if (!cb(k))
            return false;
        if (!enum_children(k, cb))
            return false;
    }
    return true;
}
}  // namespace

bool EnumChildWindows(HWND parent, const std::function<bool(HWND)>& callback) {
    if (!parent)
        return EnumWindows(callback);
    return enum_children(parent, callback);
}

bool EnumWindows(const std::function<bool(HWND)>& callback) {
    std::vector<HWND> tops;
    for (Window* t : state().toplevels)
        tops.push_back(t->handle);
    for (HWND t : tops) {
        if (get(t) && !callback(t))
            return false;
    }
    return true;
}

HWND GetDlgItem(HWND parent, int id) {
    Window* w = get(parent);
    if (!w)
        return nullptr;
    for (Window* c : w->children) {
        if (static_cast<int>(c->id) == id)
            return c->handle;
    }
    return nullptr;
}

int GetDlgCtrlID(HWND hwnd) {
    Window* w = get(hwnd);
    return w && w->parent ? static_cast<int>(w->id) : 0;
}

HWND FindWindow(const char* className, const char* windowName) {
    for (Window* t : state().toplevels) {
        if (className && !same_name(t->cls->name, className))
            continue;
        if (windowName && t->text != windowName)
            continue;
        return t->handle;
    }
    return nullptr;
}

// ---- Text ------------------------------------------------------------------------------------

bool SetWindowText(HWND hwnd, const std::string& text) {
    if (!get(hwnd))
        return false;
    return SendMessage(hwnd, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str())) != 0;
}

int GetWindowText(HWND hwnd, char* buffer, int size) {
    if (!buffer || size <= 0)
        return 0;
    buffer[0] = 0;
    return static_cast<int>(
        SendMessage(hwnd, WM_GETTEXT, static_cast<WPARAM>(size), reinterpret_cast<LPARAM>(buffer)));
}

std::string GetWindowText(HWND hwnd) {
    if (!get(hwnd))
        return {};
    int len = static_cast<int>(SendMessage(hwnd, WM_GETTEXTLENGTH, 0, 0));
    if (len <= 0)
        return {};
    std::string buf(static_cast<size_t>(len) + 1, '\0');
    int got = GetWindowText(hwnd, buf.data(), len + 1);
    buf.resize(static_cast<size_t>(std::clamp(got, 0, len)));
    return buf;
}

int GetWindowTextLength(HWND hwnd) {
    return static_cast<int>(SendMessage(hwnd, WM_GETTEXTLENGTH, 0, 0));
}

// ---- Geometry --------------------------------------------------------------------------------

bool GetWindowRect(HWND hwnd, RECT* rect) {
    Window* w = get(hwnd);
    if (!w || !rect)
        return false;
    POINT o = detail::origin_on_screen(w);
    *rect = RECT::from_xywh(o.x, o.y, w->rect.width(), w->rect.height());
    return true;
}

RECT GetWindowRect(HWND hwnd) {
    RECT r;
    GetWindowRect(hwnd, &r);
    return r;
}

RECT GetNormalWindowRect(HWND hwnd) {
    Window* w = get(hwnd);
    if (!w)
        return {};
    if (!w->parent && (w->style & (WS_MAXIMIZE | WS_MINIMIZE)) && !w->restore_rect.empty())
        return w->restore_rect;
    return GetWindowRect(hwnd);
}

bool SetNormalWindowRect(HWND hwnd, const RECT& rect) {
    Window* w = get(hwnd);
    if (!w || w->parent || !(w->style & (WS_MAXIMIZE | WS_MINIMIZE)))
        return false;
    w->restore_rect = rect;
    return true;
}

SIZE GetNormalFrameSize(HWND hwnd) {
    Window* w = get(hwnd);
    if (!w)
        return {};
    const RECT outer = GetNormalWindowRect(hwnd);
    const RECT local{0, 0, outer.width(), outer.height()};
    const RECT client =
        detail::default_client_rect(w->style & ~(WS_MAXIMIZE | WS_MINIMIZE), w->exstyle, local);
    return {local.width() - client.width(), local.height() - client.height()};
}

bool GetClientRect(HWND hwnd, RECT* rect) {
    Window* w = get(hwnd);
    if (!w || !rect)
        return false;
    *rect = {0, 0, w->client.width(), w->client.height()};
    return true;
}

RECT GetClientRect(HWND hwnd) {
    RECT r;
    GetClientRect(hwnd, &r);
    return r;
}

bool ClientToScreen(HWND hwnd, POINT* pt) {
    Window* w = get(hwnd);
    if (!w || !pt)
        return false;
    POINT o = detail::origin_on_screen(w);
    pt->x += o.x + w->client.left;
    pt->y += o.y + w->client.top;
    return true;
}

bool ScreenToClient(HWND hwnd, POINT* pt) {
    Window* w = get(hwnd);
    if (!w || !pt)
        return false;
    POINT o = detail::origin_on_screen(w);
    pt->x -= o.x + w->client.left;
    pt->y -= o.y + w->client.top;
    return true;
}

int MapWindowPoints(HWND from, HWND to, POINT* points, UINT count) {
    POINT d{0, 0};
    if (from && !ClientToScreen(from, &d))
        return 0;
    if (to && !ScreenToClient(to, &d))
        return 0;
    for (UINT i = 0; i < count; ++i) {
        points[i].x += d.x;
        points[i].y += d.y;
    }
    return MAKELONG(static_cast<WORD>(d.x), static_cast<WORD>(d.y));
}

int MapWindowPoints(HWND from, HWND to, RECT* rect) {
    POINT p[2] = {{rect->left, rect->top}, {rect->right, rect->bottom}};
    int r = MapWindowPoints(from, to, p, 2);
    *rect = {p[0].x, p[0].y, p[1].x, p[1].y};
    return r;
}

bool SetWindowPos(HWND hwnd, HWND insertAfter, int x, int y, int cx, int cy, UINT flags) {
    auto& s = state();
    Window* w = get(hwnd);
    if (!w)
        return false;
    WINDOWPOS wp{hwnd, insertAfter, x, y, cx, cy, flags};
    if (flags & SWP_NOMOVE) {
        wp.x = w->rect.left;
        wp.y = w->rect.top;
    }
    if (flags & SWP_NOSIZE) {
        wp.cx = w->rect.width();
        wp.cy = w->rect.height();
    }
    wp.cx = std::max(0, wp.cx);
    wp.cy = std::max(0, wp.cy);
    const bool was_visible = (w->style & WS_VISIBLE) != 0;
    if ((flags & SWP_SHOWWINDOW) && was_visible)
        wp.flags &= ~SWP_SHOWWINDOW;
    if ((flags & SWP_HIDEWINDOW) && !was_visible)
        wp.flags &= ~SWP_HIDEWINDOW;
    if (!(flags & SWP_NOSENDCHANGING)) {
        SendMessage(hwnd, WM_WINDOWPOSCHANGING, 0, reinterpret_cast<LPARAM>(&wp));
        if (!(w = get(hwnd)))
            return false;
    }
    const RECT old_rect = w->rect;
    const RECT old_client = w->client;
    RECT new_rect = RECT::from_xywh(wp.x, wp.y, std::max(0, wp.cx), std::max(0, wp.cy));
    const bool moved = new_rect.left != old_rect.left || new_rect.top != old_rect.top;
    const bool sized =
        new_rect.width() != old_rect.width() || new_rect.height() != old_rect.height();
    RECT new_client = old_client;
    if (sized || (wp.flags & SWP_FRAMECHANGED)) {
        new_client = calc_client(w, new_rect, old_rect, true, &wp);
        if (!(w = get(hwnd)))
            return false;
    }
    // Uncovered parts of the parent are repainted (children only; top-level windows have
    // their own bitmaps).
    const bool shown = (wp.flags & SWP_SHOWWINDOW) != 0;
    const bool hidden = (wp.flags & SWP_HIDEWINDOW) != 0;
    bool zchanged = false;
    if (!(wp.flags & SWP_NOZORDER)) {
        auto& list = sibling_list(w);
        auto before = list;
        place_in_zorder(w, wp.hwndInsertAfter);
        zchanged = before != sibling_list(w);
    }
    if (w->parent && was_visible && (moved || sized || hidden || zchanged) &&
        !(wp.flags & SWP_NOREDRAW)) {
        detail::invalidate_parent_area(w, old_rect);
    }
    w->rect = new_rect;
    w->client = new_client;
    detail::layout_changed();
    if (shown)
        w->style |= WS_VISIBLE;
    if (hidden)
        w->style &= ~WS_VISIBLE;
    const bool visible = (w->style & WS_VISIBLE) != 0;
    if (!w->parent) {
        if (sized)
            detail::ensure_backing(w);
        if (s.driver) {
            if ((moved || sized) && s.moved_by_display != hwnd)
                s.driver->window_moved(hwnd, w->rect);
            if (sized && w->shape) {
                // The region stays where it was in window coordinates; the native window's
                // shape is cut to the new size, so that what was cut off shows again.
                const gdi::Region shape =
                    w->shape->intersect(RECT{0, 0, w->rect.width(), w->rect.height()});
                s.driver->window_shaped(hwnd, &shape);
            }
            if (shown || hidden)
                s.driver->window_shown(hwnd, visible);
        }
    }
    if (visible && !(wp.flags & SWP_NOREDRAW) &&
        (shown || sized || (wp.flags & SWP_FRAMECHANGED) || (w->parent && (moved || zchanged)))) {
        gdi::Region all(RECT{0, 0, new_rect.width(), new_rect.height()});
        detail::invalidate(w, all, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
    }
    if (new_client.left + new_rect.left == old_client.left + old_rect.left &&
        new_client.top + new_rect.top == old_client.top + old_rect.top) {
        wp.flags |= SWP_NOCLIENTMOVE;
    }
    if (new_client.width() == old_client.width() && new_client.height() == old_client.height()) {
        wp.flags |= SWP_NOCLIENTSIZE;
    }
    wp.x = new_rect.left;
    wp.y = new_rect.top;
    wp.cx = new_rect.width();
    wp.cy = new_rect.height();
    s.paint_maybe = true;
    SendMessage(hwnd, WM_WINDOWPOSCHANGED, 0, reinterpret_cast<LPARAM>(&wp));
    if (hidden && (w = get(hwnd))) {
        if (s.active == hwnd)
            detail::activate_other_than(hwnd);
        if ((w = get(hwnd)))
            detail::focus_lost_by(w);
        if (s.capture && (s.capture == hwnd || IsChild(hwnd, s.capture)))
            ReleaseCapture();
    }
    return true;
}

bool MoveWindow(HWND hwnd, int x, int y, int width, int height, bool repaint) {
    return SetWindowPos(hwnd, nullptr, x, y, width, height,
                        SWP_NOZORDER | SWP_NOACTIVATE | (repaint ? 0 : SWP_NOREDRAW));
}

bool ShowWindow(HWND hwnd, int cmd) {
    auto& s = state();
    Window* w = get(hwnd);
    if (!w)
        return false;
    const bool was_visible = (w->style & WS_VISIBLE) != 0;
    bool show = cmd != SW_HIDE;
    bool activate = !w->parent && !(w->exstyle & WS_EX_NOACTIVATE) &&
                    (cmd == SW_SHOWNORMAL || cmd == SW_SHOW || cmd == SW_SHOWMAXIMIZED ||
                     cmd == SW_RESTORE || cmd == SW_SHOWDEFAULT);
    UINT swp = SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_NOZORDER;
    int x = 0, y = 0, cx = 0, cy = 0;
    bool minimized_now = false;
    if (cmd == SW_MINIMIZE || cmd == SW_SHOWMINIMIZED || cmd == SW_SHOWMINNOACTIVE) {
        if (!(w->style & WS_MINIMIZE)) {
            if (!w->parent) {
                // A top-level window shrinks to its caption bar along the bottom of the work
                // area (the display may also hide it in its task bar); restoring brings back
                // the normal rectangle, or maximizes again.
                w->restore_maximized = (w->style & WS_MAXIMIZE) != 0;
                if (!w->restore_maximized)
                    w->restore_rect = w->rect;
                w->style = (w->style | WS_MINIMIZE) & ~WS_MAXIMIZE;
                detail::layout_changed();
                const RECT r = detail::minimized_rect(hwnd);
                x = r.left;
                y = r.top;
                cx = r.width();
                cy = r.height();
                swp = (swp & ~(SWP_NOMOVE | SWP_NOSIZE)) | SWP_FRAMECHANGED;
                minimized_now = true;
            } else {
                w->style |= WS_MINIMIZE;
                detail::layout_changed();
            }
            if (!w->parent && s.driver)
                s.driver->window_minimized(hwnd, true);
            if (s.active == hwnd && cmd != SW_SHOWMINIMIZED)
                detail::activate_other_than(hwnd);
            if (!(w = get(hwnd)))
                return was_visible;
            if (w->parent) {
                SendMessage(hwnd, WM_SIZE, SIZE_MINIMIZED, 0);
                if (!(w = get(hwnd)))
                    return was_visible;
            }
        }
        activate = cmd == SW_SHOWMINIMIZED;
    } else if (cmd == SW_RESTORE || cmd == SW_SHOWNORMAL) {
        if (w->style & WS_MINIMIZE) {
            w->style &= ~WS_MINIMIZE;
            detail::layout_changed();
            if (!w->parent && s.driver)
                s.driver->window_minimized(hwnd, false);
            if (!(w = get(hwnd)))
                return was_visible;
            swp |= SWP_FRAMECHANGED;
            if (!w->parent) {
                RECT r = w->restore_rect;
                if (w->restore_maximized) {
                    w->style |= WS_MAXIMIZE;
                    detail::layout_changed();
                    r = detail::maximized_rect(hwnd);
                    if (!(w = get(hwnd)))
                        return was_visible;
                }
                w->restore_maximized = false;
                if (!r.empty()) {
                    swp &= ~(SWP_NOMOVE | SWP_NOSIZE);
                    x = r.left;
                    y = r.top;
                    cx = r.width();
                    cy = r.height();
                }
            }
        } else if (w->style & WS_MAXIMIZE) {
            w->style &= ~WS_MAXIMIZE;
            detail::layout_changed();
            swp = (swp & ~(SWP_NOMOVE | SWP_NOSIZE)) | SWP_FRAMECHANGED;
            x = w->restore_rect.left;
            y = w->restore_rect.top;
            cx = w->restore_rect.width();
            cy = w->restore_rect.height();
        }
    } else if (cmd == SW_SHOWMAXIMIZED) {
        if (!(w->style & WS_MAXIMIZE)) {
            if (w->style & WS_MINIMIZE) {
                // From the caption bar: the rectangle to restore to is the one kept at minimize.
                if (!w->parent && s.driver)
                    s.driver->window_minimized(hwnd, false);
                if (!(w = get(hwnd)))
                    return was_visible;
                w->restore_maximized = false;
            } else {
                w->restore_rect = w->rect;
            }
            w->style = (w->style | WS_MAXIMIZE) & ~WS_MINIMIZE;
            detail::layout_changed();
            swp = (swp & ~(SWP_NOMOVE | SWP_NOSIZE)) | SWP_FRAMECHANGED;
            if (w->parent) {
                x = -detail::frame_parts(w->style, w->exstyle).border;
                y = x;
                cx = w->parent->client.width() - 2 * x;
                cy = w->parent->client.height() - 2 * x;
            } else {
                const RECT r = detail::maximized_rect(hwnd);
                if (!(w = get(hwnd)))
                    return was_visible;
                x = r.left;
                y = r.top;
                cx = r.width();
                cy = r.height();
            }
        }
    }
    if (show != was_visible) {
        SendMessage(hwnd, WM_SHOWWINDOW, show ? TRUE : FALSE, 0);
        if (!get(hwnd))
            return was_visible;
    }
    swp |= show ? SWP_SHOWWINDOW : SWP_HIDEWINDOW;
    const RECT client_before = w->client;
    if (show != was_visible || !(swp & SWP_NOSIZE) || (swp & SWP_FRAMECHANGED)) {
        SetWindowPos(hwnd, nullptr, x, y, cx, cy, swp);
    }
    if (!(w = get(hwnd)))
        return was_visible;
    if (minimized_now && w->client.width() == client_before.width() &&
        w->client.height() == client_before.height()) {
        // The size change told nothing (a window without client area before): tell it now.
        SendMessage(hwnd, WM_SIZE, SIZE_MINIMIZED, 0);
        if (!(w = get(hwnd)))
            return was_visible;
    }
    if (show && activate && s.active != hwnd && !(w->style & WS_DISABLED)) {
        detail::set_active(hwnd, false, false);
    }
    return was_visible;
}

bool IsWindowVisible(HWND hwnd) {
    Window* w = get(hwnd);
    return w && detail::visible_chain(w);
}

bool IsIconic(HWND hwnd) {
    Window* w = get(hwnd);
    return w && (w->style & WS_MINIMIZE);
}

bool IsZoomed(HWND hwnd) {
    Window* w = get(hwnd);
    return w && (w->style & WS_MAXIMIZE);
}

bool EnableWindow(HWND hwnd, bool enable) {
    Window* w = get(hwnd);
    if (!w)
        return false;
    const bool was_disabled = (w->style & WS_DISABLED) != 0;
    if (enable == !was_disabled)
        return was_disabled;
    if (enable) {
        w->style &= ~WS_DISABLED;
    } else {
        w->style |= WS_DISABLED;
        detail::focus_lost_by(w);
        auto& s = state();
        if (s.capture && (s.capture == hwnd || IsChild(hwnd, s.capture)))
            ReleaseCapture();
    }
    SendMessage(hwnd, WM_ENABLE, enable ? TRUE : FALSE, 0);
    return was_disabled;
}

bool IsWindowEnabled(HWND hwnd) {
    Window* w = get(hwnd);
    return w && !(w->style & WS_DISABLED);
}

bool BringWindowToTop(HWND hwnd) {
    return SetWindowPos(hwnd, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
}

int SetWindowRgn(HWND hwnd, const gdi::Region* region, bool redraw) {
    Window* w = get(hwnd);
    if (!w)
        return 0;
    RECT area = w->rect;
    if (region)
        w->shape = *region;
    else
        w->shape.reset();
    detail::layout_changed();
    // A top-level window's display shapes its native window; parts of the region outside the
    // window, and an empty region, are passed on as they cut the rectangle.
    if (!w->parent && state().driver) {
        if (w->shape) {
            const gdi::Region shape = w->shape->intersect(RECT{0, 0, area.width(), area.height()});
            state().driver->window_shaped(hwnd, &shape);
        } else {
            state().driver->window_shaped(hwnd, nullptr);
        }
    }
    if (redraw && detail::visible_chain(w)) {
        if (w->parent)
            detail::invalidate_parent_area(w, area);
        gdi::Region all(RECT{0, 0, w->rect.width(), w->rect.height()});
        detail::invalidate(w, all, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
    }
    return 1;
}

int GetWindowRgn(HWND hwnd, gdi::Region* out) {
    Window* w = get(hwnd);
    if (!w || !w->shape)
        return ERROR_REGION;
    if (out)
        *out = *w->shape;
    if (w->shape->empty())
        return NULLREGION;
    return w->shape->rects().size() == 1 ? SIMPLEREGION : COMPLEXREGION;
}

// ---- Hit testing --------------------------------------------------------------------------------

namespace {

// Whether the point (parent client coordinates) lies in the window's rectangle and region.
bool contains_point(const Window* c, POINT pt) {
    if (!c->rect.contains(pt))
        return false;
    if (c->shape && !c->shape->contains({pt.x - c->rect.left, pt.y - c->rect.top}))
        return false;
    return true;
}

}  // namespace

HWND ChildWindowFromPointEx(HWND parent, POINT pt, UINT flags) {
    Window* p = get(parent);
    if (!p)
        return nullptr;
    RECT client{0, 0, p->client.width(), p->client.height()};
    if (!client.contains(pt))
        return nullptr;
    for (Window* c : p->children) {
        if ((flags & CWP_SKIPINVISIBLE) && !(c->style & WS_VISIBLE))
            continue;
        if ((flags & CWP_SKIPDISABLED) && (c->style & WS_DISABLED))
            continue;
        if ((flags & CWP_SKIPTRANSPARENT) && (c->exstyle & WS_EX_TRANSPARENT))
            continue;
        if (contains_point(c, pt))
            return c->handle;
    }
    return parent;
}

HWND ChildWindowFromPoint(HWND parent, POINT pt) {
    return ChildWindowFromPointEx(parent, pt, CWP_ALL);
}

namespace detail {

// The deepest visible, enabled window under a screen point, skipping the excluded ones.
Window* window_at(POINT screen, const std::vector<HWND>& excluded) {
    auto is_excluded = [&](Window* w) {
        return std::find(excluded.begin(), excluded.end(), w->handle) != excluded.end();
    };
    for (Window* t : state().toplevels) {
        if (!(t->style & WS_VISIBLE) || is_excluded(t))
            continue;
        if (!contains_point(t, screen))
            continue;
        Window* found = t;
        POINT local{screen.x - t->rect.left - t->client.left,
                    screen.y - t->rect.top - t->client.top};
        for (;;) {
            Window* next = nullptr;
            RECT client{0, 0, found->client.width(), found->client.height()};
            if (!client.contains(local))
                break;
            for (Window* c : found->children) {
                if (!(c->style & WS_VISIBLE) || (c->style & WS_DISABLED) || is_excluded(c))
                    continue;
                if (contains_point(c, local)) {
                    next = c;
                    break;
                }
            }
            if (!next)
                break;
            local = {local.x - next->rect.left - next->client.left,
                     local.y - next->rect.top - next->client.top};
            found = next;
        }
        return found;
    }
    return nullptr;
}

}  // namespace detail

HWND WindowFromPoint(POINT screen) {
    std::vector<HWND> excluded;
    for (int guard = 0; guard < 64; ++guard) {
        Window* w = detail::window_at(screen, excluded);
        if (!w)
            return nullptr;
        HWND h = w->handle;
        LRESULT hit = SendMessage(h, WM_NCHITTEST, 0, POINTTOLPARAM(screen));
        if (hit != HTTRANSPARENT)
            return h;
        excluded.push_back(h);
    }
    return nullptr;
}

}  // namespace win
