#include "platform/win/menu.h"

#include <algorithm>
#include <cstring>
#include <unordered_map>
#include <vector>

#include "platform/gdi/dc.h"
#include "platform/win/input.h"
#include "platform/win/internal.h"
#include "platform/win/message.h"
#include "platform/win/metrics.h"
#include "platform/win/painting.h"
#include "platform/win/styles.h"
#include "platform/win/window.h"

namespace win {

namespace {

using detail::state;

// ---- The menu table ---------------------------------------------------------------------------

struct Item {
    UINT flags = 0;  // MF_* state and kind bits
    UINT_PTR id = 0;
    std::string text;
    HMENU sub = nullptr;  // MF_POPUP items
};

struct Menu {
    bool popup = true;
    std::vector<Item> items;
};

struct MenuTable {
    uintptr_t next = 0x20010;
    std::unordered_map<uintptr_t, std::unique_ptr<Menu>> menus;
    std::unordered_map<HWND, HMENU> system_menus;
};

MenuTable& table() {
    static MenuTable t;
    return t;
}

Menu* get_menu(HMENU h) {
    auto& m = table().menus;
    auto it = m.find(reinterpret_cast<uintptr_t>(h));
    return it == m.end() ? nullptr : it->second.get();
}

HMENU new_menu(bool popup) {
    auto& t = table();
    const uintptr_t key = t.next;
    t.next += 4;
    auto menu = std::make_unique<Menu>();
    menu->popup = popup;
    t.menus.emplace(key, std::move(menu));
    return reinterpret_cast<HMENU>(key);
}

// Where an item lies: its menu and index.
struct ItemRef {
    HMENU menu = nullptr;
    size_t index = 0;
    Item* item = nullptr;
};

ItemRef find_by_command(HMENU h, UINT id, int depth = 0) {
    Menu* m = get_menu(h);
    if (!m || depth > 32)
        return {};
    for (size_t i = 0; i < m->items.size(); ++i) {
        Item& it = m->items[i];
        if (!(it.flags & MF_POPUP) && !(it.flags & MF_SEPARATOR) && it.id == id)
            return {h, i, &it};
    }
    for (size_t i = 0; i < m->items.size(); ++i) {
        if (m->items[i].flags & MF_POPUP) {
            ItemRef r = find_by_command(m->items[i].sub, id, depth + 1);
            if (r.item)
                return r;
        }
    }
    return {};
}

ItemRef find_item(HMENU h, UINT position, UINT flags) {
    Menu* m = get_menu(h);
    if (!m)
        return {};
    if (flags & MF_BYPOSITION) {
        if (position >= m->items.size())
            return {};
        return {h, position, &m->items[position]};
    }
    return find_by_command(h, position);
}

Item make_item(UINT flags, UINT_PTR id, const char* text) {
    Item it;
    it.flags = flags & (MF_GRAYED | MF_DISABLED | MF_CHECKED | MF_POPUP | MF_SEPARATOR |
                        MF_DEFAULT | MF_OWNERDRAW | MF_HILITE);
    if (it.flags & MF_SEPARATOR) {
        it.flags = MF_SEPARATOR;
        return it;
    }
    if (it.flags & MF_POPUP) {
        it.sub = reinterpret_cast<HMENU>(id);
        it.id = id;
    } else {
        it.id = id;
    }
    it.text = text ? text : "";
    return it;
}

// The accelerator letter of an item text ("&x"), lower-cased ASCII; 0 when none.
char32_t mnemonic_of(const std::string& text) {
    for (size_t i = 0; i + 1 < text.size(); ++i) {
        if (text[i] != '&')
            continue;
        if (text[i + 1] == '&') {
            ++i;
            continue;
        }
        const unsigned char c = static_cast<unsigned char>(text[i + 1]);
        if (c == '\t')
            return 0;
        return c < 0x80 ? static_cast<char32_t>(std::tolower(c)) : static_cast<char32_t>(c);
    }
    return 0;
}

bool selectable(const Item& it) {
    return !(it.flags & MF_SEPARATOR);
}

bool enabled(const Item& it) {
    return !(it.flags & (MF_GRAYED | MF_DISABLED | MF_SEPARATOR));
}

// ---- Layout and painting ----------------------------------------------------------------------

int separator_height() {
    return std::max(5, GetSystemMetrics(SM_CYMENU) / 2);
}

int gutter() {
    return GetSystemMetrics(SM_CXMENUCHECK) + 4;
}

struct Layout {
    std::vector<RECT> items;  // content coordinates (client coordinates before scrolling)
    int width = 0;
    int height = 0;
};

gdi::Font menu_font(bool bold) {
    gdi::Font f = GetDefaultGuiFont();
    if (bold)
        f.weight = gdi::FW_BOLD;
    return f;
}

// Text and shortcut of an item text ("Copy\tCtrl+C").
void split_text(const std::string& text, std::string* label, std::string* shortcut) {
    const size_t tab = text.find('\t');
    *label = text.substr(0, tab);
    *shortcut = tab == std::string::npos ? std::string() : text.substr(tab + 1);
}

Layout layout_of(const Menu& m) {
    static gdi::Bitmap scratch(1, 1);
    gdi::DC dc(scratch);
    Layout l;
    const int g = gutter();
    dc.select_font(menu_font(false));
    const int text_h = dc.get_text_metrics().height;
    const int item_h = std::max(GetSystemMetrics(SM_CYMENU) - 1, text_h + 4);
    int label_w = 0, shortcut_w = 0;
    for (const Item& it : m.items) {
        if (it.flags & MF_SEPARATOR)
            continue;
        dc.select_font(menu_font((it.flags & MF_DEFAULT) != 0));
        std::string label, shortcut;
        split_text(it.text, &label, &shortcut);
        RECT r{0, 0, 0, 0};
        dc.draw_text(label, r, gdi::DT_SINGLELINE | gdi::DT_CALCRECT);
        label_w = std::max(label_w, r.width());
        if (!shortcut.empty())
            shortcut_w = std::max(shortcut_w, dc.get_text_extent(shortcut).cx);
    }
    l.width = g + label_w + (shortcut_w ? 16 + shortcut_w : 0) + g;
    int y = 0;
    l.items.reserve(m.items.size());
    for (const Item& it : m.items) {
        const int h = (it.flags & MF_SEPARATOR) ? separator_height() : item_h;
        l.items.push_back(RECT{0, y, l.width, y + h});
        y += h;
    }
    l.height = y;
    return l;
}

void draw_check(gdi::DC& dc, const RECT& box, COLORREF c) {
    // A 7 x 7 tick, 3 pixels thick, centred in the gutter.
    const int x = box.left + (box.width() - 7) / 2;
    const int y = box.top + (box.height() - 7) / 2;
    for (int i = 0; i < 7; ++i) {
        const int top = i < 3 ? y + 2 + i : y + 4 - (i - 2);
        dc.fill_rect(RECT{x + i, top, x + i + 1, top + 3}, c);
    }
}

void draw_arrow(gdi::DC& dc, const RECT& box, COLORREF c) {
    // A small triangle pointing right.
    const int x = box.left + (box.width() - 4) / 2;
    const int cy = box.top + box.height() / 2;
    for (int i = 0; i < 4; ++i)
        dc.fill_rect(RECT{x + i, cy - 3 + i, x + i + 1, cy + 4 - i}, c);
}

void draw_item(gdi::DC& dc, const Item& it, const RECT& r, bool hot) {
    if (it.flags & MF_SEPARATOR) {
        const int y = r.top + r.height() / 2 - 1;
        dc.fill_rect(RECT{r.left + 1, y, r.right - 1, y + 1}, GetSysColor(COLOR_BTNSHADOW));
        dc.fill_rect(RECT{r.left + 1, y + 1, r.right - 1, y + 2}, GetSysColor(COLOR_BTNHIGHLIGHT));
        return;
    }
    const bool grayed = !enabled(it);
    if (hot)
        dc.fill_rect(r, GetSysColor(COLOR_HIGHLIGHT));
    const int g = gutter();
    std::string label, shortcut;
    split_text(it.text, &label, &shortcut);
    dc.select_font(menu_font((it.flags & MF_DEFAULT) != 0));
    dc.set_bk_mode(gdi::BkMode::Transparent);
    const unsigned fmt = gdi::DT_SINGLELINE | gdi::DT_VCENTER;
    RECT text_r{r.left + g, r.top, r.right - g, r.bottom};
    auto draw_texts = [&](COLORREF c, int dx, int dy) {
        dc.set_text_color(c);
        dc.draw_text(label, text_r.offset(dx, dy), fmt);
        if (!shortcut.empty())
            dc.draw_text(shortcut, text_r.offset(dx, dy), fmt | gdi::DT_RIGHT | gdi::DT_NOPREFIX);
        if (it.flags & MF_CHECKED)
            draw_check(dc, RECT{r.left, r.top, r.left + g, r.bottom}.offset(dx, dy), c);
        if (it.flags & MF_POPUP)
            draw_arrow(dc, RECT{r.right - g, r.top, r.right, r.bottom}.offset(dx, dy), c);
    };
    if (grayed && !hot) {
        // Embossed, as the classic look draws unavailable items.
        draw_texts(GetSysColor(COLOR_BTNHIGHLIGHT), 1, 1);
        draw_texts(GetSysColor(COLOR_GRAYTEXT), 0, 0);
    } else if (grayed) {
        draw_texts(GetSysColor(COLOR_GRAYTEXT), 0, 0);
    } else {
        draw_texts(GetSysColor(hot ? COLOR_HIGHLIGHTTEXT : COLOR_MENUTEXT), 0, 0);
    }
}

// The 3-pixel menu border: a raised edge and a line of the menu colour.
void draw_frame(gdi::DC& dc, const RECT& whole) {
    RECT r = whole;
    dc.draw_edge(r, gdi::EDGE_RAISED, gdi::BF_RECT | gdi::BF_ADJUST, SystemEdgeColors());
    dc.frame_rect(r, GetSysColor(COLOR_MENU));
}

// ---- Tracking ---------------------------------------------------------------------------------

struct Level {
    HMENU menu = nullptr;
    HWND hwnd = nullptr;
    int hot = -1;
    int scroll = 0;  // pixels of the content scrolled out at the top (long menus)
    int parent_item = -1;
};

struct Tracking {
    HWND owner = nullptr;
    UINT flags = 0;
    bool system = false;
    std::vector<Level> levels;
    bool done = false;
    bool chose = false;
    UINT_PTR command = 0;
    bool closing = false;  // the windows are being destroyed: no dismissal from them
};

Tracking* g_tracking = nullptr;

// Ends the menu from outside its own key and mouse handling (a handler, a change of the menu,
// EndMenu): the loop may be waiting for a message, so one is posted to wake it.
void end_tracking(Tracking& t) {
    if (t.done)
        return;
    t.done = true;
    PostMessage(nullptr, WM_NULL, 0, 0);
}

Level* level_of(HWND h) {
    if (!g_tracking)
        return nullptr;
    for (Level& l : g_tracking->levels)
        if (l.hwnd == h)
            return &l;
    return nullptr;
}

void paint_items(HWND h, gdi::DC& dc) {
    Level* lv = level_of(h);
    Menu* m = lv ? get_menu(lv->menu) : nullptr;
    if (!m)
        return;
    const Layout l = layout_of(*m);
    const RECT client = GetClientRect(h);
    for (size_t i = 0; i < m->items.size(); ++i) {
        const RECT r = l.items[i].offset(0, -lv->scroll);
        if (r.bottom <= client.top || r.top >= client.bottom)
            continue;
        draw_item(dc, m->items[i], r, static_cast<int>(i) == lv->hot);
    }
}

void erase_client(HWND h, gdi::DC& dc) {
    const RECT client = GetClientRect(h);
    dc.fill_rect(RECT{0, 0, client.width(), client.height()}, GetSysColor(COLOR_MENU));
}

// Sends a message with the DC's origin moved to the client area and its drawing limited to
// it, as WM_PRINT hands the client part on.
LRESULT send_for_client(HWND h, UINT msg, HDC dc, LPARAM lp) {
    const RECT wr = GetWindowRect(h);
    POINT origin{0, 0};
    ClientToScreen(h, &origin);
    const int dx = origin.x - wr.left, dy = origin.y - wr.top;
    const RECT client = GetClientRect(h);
    const int saved = dc->save();
    dc->intersect_clip_rect(client.offset(dx, dy));
    dc->offset_viewport_origin(dx, dy);
    const LRESULT r = SendMessage(h, msg, reinterpret_cast<WPARAM>(dc), lp);
    dc->restore(saved);
    return r;
}

}  // namespace

LRESULT detail::popup_menu_proc(HWND h, UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
        case WM_MOUSEACTIVATE:
            return MA_NOACTIVATE;
        case MN_GETHMENU: {
            Level* lv = level_of(h);
            return lv ? reinterpret_cast<LRESULT>(lv->menu) : 0;
        }
        case WM_NCPAINT: {
            HDC dc = GetWindowDC(h);
            if (dc) {
                const RECT wr = GetWindowRect(h);
                draw_frame(*dc, RECT{0, 0, wr.width(), wr.height()});
                ReleaseDC(h, dc);
            }
            return 0;
        }
        case WM_ERASEBKGND:
            if (HDC dc = reinterpret_cast<HDC>(wp))
                erase_client(h, *dc);
            return 1;
        case WM_PAINT: {
            PAINTSTRUCT ps;
            HDC dc = BeginPaint(h, &ps);
            if (dc)
                paint_items(h, *dc);
            EndPaint(h, &ps);
            return 0;
        }
        case WM_PRINT: {
            HDC dc = reinterpret_cast<HDC>(wp);
            if (!dc || ((lp & PRF_CHECKVISIBLE) && !IsWindowVisible(h)))
                return 0;
            if (lp & PRF_NONCLIENT) {
                const RECT wr = GetWindowRect(h);
                draw_frame(*dc, RECT{0, 0, wr.width(), wr.height()});
            }
            if (lp & PRF_ERASEBKGND)
                send_for_client(h, WM_ERASEBKGND, dc, 0);
            if (lp & PRF_CLIENT)
                send_for_client(h, WM_PRINTCLIENT, dc, lp & ~PRF_ERASEBKGND);
            return 0;
        }
        case WM_PRINTCLIENT: {
            HDC dc = reinterpret_cast<HDC>(wp);
            if (!dc)
                return 0;
            if (lp & PRF_ERASEBKGND)
                erase_client(h, *dc);
            paint_items(h, *dc);
            return 0;
        }
        case WM_CAPTURECHANGED:
            // Another window took the mouse: the menu gives up, as it would on a press
            // elsewhere.
            if (g_tracking && !g_tracking->closing && !level_of(HwndFromParam(lp)))
                end_tracking(*g_tracking);
            return 0;
        default:
            return DefWindowProc(h, msg, wp, lp);
    }
}

namespace {

void notify_select(Tracking& t, const Level& lv) {
    if (!IsWindow(t.owner) || (t.flags & TPM_NONOTIFY))
        return;
    Menu* m = get_menu(lv.menu);
    if (!m || lv.hot < 0 || lv.hot >= static_cast<int>(m->items.size()))
        return;
    const Item& it = m->items[static_cast<size_t>(lv.hot)];
    UINT flags = (it.flags & (MF_GRAYED | MF_DISABLED | MF_CHECKED | MF_POPUP | MF_SEPARATOR)) |
                 MF_HILITE | (t.system ? MF_SYSMENU : 0);
    const UINT id = (it.flags & MF_POPUP) ? static_cast<UINT>(lv.hot) : static_cast<UINT>(it.id);
    SendMessage(t.owner, WM_MENUSELECT, MAKELONG(static_cast<WORD>(id), static_cast<WORD>(flags)),
                reinterpret_cast<LPARAM>(lv.menu));
}

// Sizes and places a level's window to show its menu (after opening and after changes).
void fit_level(Level& lv, POINT at, bool place) {
    Menu* m = get_menu(lv.menu);
    if (!m || !IsWindow(lv.hwnd))
        return;
    const Layout l = layout_of(*m);
    const int frame = 2 * GetSystemMetrics(SM_CXDLGFRAME);
    const SIZE screen{GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    const int w = std::min(l.width + frame, std::max(1, screen.cx));
    const int h = std::min(l.height + frame, std::max(1, screen.cy));
    lv.scroll = std::clamp(lv.scroll, 0, std::max(0, l.height + frame - h));
    if (place) {
        SetWindowPos(lv.hwnd, nullptr, at.x, at.y, w, h, SWP_NOZORDER | SWP_NOACTIVATE);
    } else {
        SetWindowPos(lv.hwnd, nullptr, 0, 0, w, h, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    InvalidateRect(lv.hwnd, nullptr, true);
}

SIZE level_size(HMENU menu) {
    Menu* m = get_menu(menu);
    if (!m)
        return {0, 0};
    const Layout l = layout_of(*m);
    const int frame = 2 * GetSystemMetrics(SM_CXDLGFRAME);
    return {std::min(l.width + frame, GetSystemMetrics(SM_CXSCREEN)),
            std::min(l.height + frame, GetSystemMetrics(SM_CYSCREEN))};
}

// Opens a level's window with its top-left corner near `at`, kept on the screen.
bool open_level(Tracking& t, HMENU menu, POINT at, UINT align, int parent_item, const RECT* avoid) {
    const SIZE size = level_size(menu);
    if (size.cx <= 0 || size.cy <= 0)
        return false;
    const SIZE screen{GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    POINT p = at;
    if (align & TPM_RIGHTALIGN) {
        p.x -= size.cx;
    } else if (align & TPM_CENTERALIGN) {
        p.x -= size.cx / 2;
    }
    if (align & TPM_BOTTOMALIGN) {
        p.y -= size.cy;
    } else if (align & TPM_VCENTERALIGN) {
        p.y -= size.cy / 2;
    }
    if (p.x + size.cx > screen.cx)
        p.x = avoid ? avoid->left - size.cx + 3 : p.x - size.cx;
    if (p.y + size.cy > screen.cy)
        p.y = (!avoid && p.y - size.cy >= 0) ? p.y - size.cy : screen.cy - size.cy;
    p.x = std::max(0, std::min(p.x, screen.cx - size.cx));
    p.y = std::max(0, p.y);
    HWND parent_window = t.levels.empty() ? t.owner : t.levels.back().hwnd;
    HWND h = CreateWindowEx(WS_EX_TOOLWINDOW | WS_EX_TOPMOST | WS_EX_DLGMODALFRAME |
                                WS_EX_WINDOWEDGE | WS_EX_NOACTIVATE,
                            kPopupMenuClass, "", WS_POPUP | WS_CLIPSIBLINGS | WS_BORDER, p.x, p.y,
                            size.cx, size.cy, GetAncestor(parent_window, GA_ROOT), nullptr, nullptr,
                            nullptr);
    if (!h)
        return false;
    Level lv;
    lv.menu = menu;
    lv.hwnd = h;
    lv.parent_item = parent_item;
    t.levels.push_back(lv);
    ShowWindow(h, SW_SHOWNA);
    if (t.levels.size() == 1)
        SetCapture(h);
    return true;
}

void close_levels_from(Tracking& t, size_t first) {
    const bool was_closing = t.closing;
    t.closing = true;
    while (t.levels.size() > first) {
        const Level lv = t.levels.back();
        t.levels.pop_back();
        if (IsWindow(lv.hwnd)) {
            if (GetCapture() == lv.hwnd)
                ReleaseCapture();
            DestroyWindow(lv.hwnd);
        }
        if (IsWindow(t.owner) && !(t.flags & TPM_NONOTIFY) && IsMenu(lv.menu)) {
            SendMessage(t.owner, WM_UNINITMENUPOPUP, reinterpret_cast<WPARAM>(lv.menu),
                        MAKELPARAM(0, t.system ? MF_SYSMENU : 0));
        }
    }
    t.closing = was_closing;
}

void set_hot(Tracking& t, size_t level, int index) {
    if (level >= t.levels.size())
        return;
    Level& lv = t.levels[level];
    if (lv.hot == index)
        return;
    lv.hot = index;
    if (IsWindow(lv.hwnd)) {
        // Keep the item in view in a menu taller than the screen.
        if (Menu* m = get_menu(lv.menu); m && index >= 0) {
            const Layout l = layout_of(*m);
            const RECT client = GetClientRect(lv.hwnd);
            const RECT r = l.items[static_cast<size_t>(index)];
            if (r.top < lv.scroll)
                lv.scroll = r.top;
            if (r.bottom > lv.scroll + client.height())
                lv.scroll = r.bottom - client.height();
        }
        InvalidateRect(lv.hwnd, nullptr, true);
    }
    const Level copy = lv;
    notify_select(t, copy);
}

// Opens the submenu of the hot item of `level` (closing deeper ones first).
void open_submenu(Tracking& t, size_t level, bool select_first) {
    if (level >= t.levels.size())
        return;
    close_levels_from(t, level + 1);
    const Level lv = t.levels[level];
    Menu* m = get_menu(lv.menu);
    if (!m || lv.hot < 0 || lv.hot >= static_cast<int>(m->items.size()))
        return;
    const Item it = m->items[static_cast<size_t>(lv.hot)];
    if (!(it.flags & MF_POPUP) || !enabled(it) || !IsMenu(it.sub))
        return;
    if (IsWindow(t.owner) && !(t.flags & TPM_NONOTIFY)) {
        SendMessage(t.owner, WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(it.sub),
                    MAKELPARAM(lv.hot, t.system ? 1 : 0));
    }
    Menu* sub = get_menu(it.sub);
    if (!sub || sub->items.empty() || t.done || level >= t.levels.size())
        return;
    RECT item_r;
    if (!GetMenuItemRect(lv.hwnd, lv.menu, static_cast<UINT>(lv.hot), &item_r))
        return;
    const int border = GetSystemMetrics(SM_CXDLGFRAME);
    const RECT wr = GetWindowRect(lv.hwnd);
    if (!open_level(t, it.sub, POINT{wr.right - border, item_r.top - border}, 0, lv.hot, &wr))
        return;
    if (select_first) {
        for (size_t i = 0; i < sub->items.size(); ++i) {
            if (selectable(sub->items[i])) {
                set_hot(t, t.levels.size() - 1, static_cast<int>(i));
                break;
            }
        }
    }
}

void choose(Tracking& t, const Item& it) {
    t.chose = true;
    t.command = it.id;
    t.done = true;
}

// Acts on the hot item of the deepest level: opens a submenu or chooses the command.
void activate_hot(Tracking& t) {
    if (t.levels.empty())
        return;
    const size_t level = t.levels.size() - 1;
    const Level& lv = t.levels[level];
    Menu* m = get_menu(lv.menu);
    if (!m || lv.hot < 0 || lv.hot >= static_cast<int>(m->items.size()))
        return;
    const Item it = m->items[static_cast<size_t>(lv.hot)];
    if (it.flags & MF_POPUP) {
        open_submenu(t, level, true);
    } else if (enabled(it)) {
        choose(t, it);
    }
}

void move_hot(Tracking& t, int step, bool from_end) {
    if (t.levels.empty())
        return;
    const size_t level = t.levels.size() - 1;
    Level& lv = t.levels[level];
    Menu* m = get_menu(lv.menu);
    if (!m || m->items.empty())
        return;
    const int n = static_cast<int>(m->items.size());
    int i = from_end ? (step > 0 ? -1 : n) : std::clamp(lv.hot, -1, n);
    if (!from_end && lv.hot < 0 && step < 0)
        i = n;
    for (int k = 0; k < n; ++k) {
        i += step;
        if (i < 0 || i >= n) {
            if (from_end)
                return;
            i = step > 0 ? 0 : n - 1;
        }
        if (selectable(m->items[static_cast<size_t>(i)])) {
            set_hot(t, level, i);
            return;
        }
    }
}

void mnemonic(Tracking& t, char32_t ch) {
    if (t.levels.empty())
        return;
    if (ch < 0x80)
        ch = static_cast<char32_t>(std::tolower(static_cast<int>(ch)));
    const size_t level = t.levels.size() - 1;
    Menu* m = get_menu(t.levels[level].menu);
    if (!m)
        return;
    std::vector<int> matches;
    for (size_t i = 0; i < m->items.size(); ++i)
        if (selectable(m->items[i]) && mnemonic_of(m->items[i].text) == ch)
            matches.push_back(static_cast<int>(i));
    if (matches.empty())
        return;
    if (matches.size() == 1) {
        set_hot(t, level, matches[0]);
        activate_hot(t);
        return;
    }
    // Several items share the letter: each press moves to the next of them.
    const int hot = t.levels[level].hot;
    auto next = std::upper_bound(matches.begin(), matches.end(), hot);
    set_hot(t, level, next == matches.end() ? matches.front() : *next);
}

void handle_key(Tracking& t, const MSG& msg) {
    switch (static_cast<int>(msg.wParam)) {
        case VK_DOWN:
            move_hot(t, 1, false);
            return;
        case VK_UP:
            move_hot(t, -1, false);
            return;
        case VK_HOME:
            move_hot(t, 1, true);
            return;
        case VK_END:
            move_hot(t, -1, true);
            return;
        case VK_RIGHT: {
            const Level& lv = t.levels.back();
            Menu* m = get_menu(lv.menu);
            if (m && lv.hot >= 0 && lv.hot < static_cast<int>(m->items.size()) &&
                (m->items[static_cast<size_t>(lv.hot)].flags & MF_POPUP))
                open_submenu(t, t.levels.size() - 1, true);
            return;
        }
        case VK_LEFT:
            if (t.levels.size() > 1)
                close_levels_from(t, t.levels.size() - 1);
            return;
        case VK_ESCAPE:
            if (t.levels.size() > 1) {
                close_levels_from(t, t.levels.size() - 1);
            } else {
                t.done = true;
            }
            return;
        case VK_RETURN:
            activate_hot(t);
            return;
        case VK_MENU:
        case VK_F10:
            t.done = true;
            return;
        default: {
            // Other keys may type an accelerator letter.
            MSG copy = msg;
            TranslateMessage(&copy);
            return;
        }
    }
}

// The level and item under a screen point; false when it is outside every menu window.
bool hit(Tracking& t, POINT screen, size_t* level, int* item) {
    for (size_t k = t.levels.size(); k-- > 0;) {
        const Level& lv = t.levels[k];
        if (!IsWindow(lv.hwnd) || !GetWindowRect(lv.hwnd).contains(screen))
            continue;
        *level = k;
        *item = -1;
        Menu* m = get_menu(lv.menu);
        if (!m)
            return true;
        POINT p = screen;
        ScreenToClient(lv.hwnd, &p);
        if (!GetClientRect(lv.hwnd).contains(p))
            return true;
        const Layout l = layout_of(*m);
        for (size_t i = 0; i < l.items.size(); ++i) {
            if (l.items[i].offset(0, -lv.scroll).contains(p)) {
                *item = static_cast<int>(i);
                break;
            }
        }
        return true;
    }
    return false;
}

bool is_mouse_message(UINT m) {
    return (m >= WM_MOUSEFIRST && m <= WM_MOUSELAST) || (m >= WM_NCMOUSEMOVE && m <= 0x00AD);
}

void handle_mouse(Tracking& t, const MSG& msg) {
    POINT screen = MAKEPOINT(msg.lParam);
    const bool client = msg.message >= WM_MOUSEFIRST && msg.message <= WM_MOUSELAST;
    if (msg.message == WM_MOUSEWHEEL || !client) {
        // Wheel and non-client messages carry screen coordinates.
    } else {
        ClientToScreen(msg.hwnd, &screen);
    }
    size_t level = 0;
    int item = -1;
    const bool inside = hit(t, screen, &level, &item);
    switch (msg.message) {
        case WM_MOUSEMOVE:
        case WM_NCMOUSEMOVE: {
            if (!inside)
                return;
            Menu* m = get_menu(t.levels[level].menu);
            if (!m)
                return;
            if (item >= 0 && !selectable(m->items[static_cast<size_t>(item)]))
                item = -1;
            const bool submenu_open =
                level + 1 < t.levels.size() && t.levels[level + 1].parent_item == item && item >= 0;
            if (submenu_open)
                return;
            if (item < 0) {
                if (level + 1 == t.levels.size())
                    set_hot(t, level, -1);
                return;
            }
            close_levels_from(t, level + 1);
            set_hot(t, level, item);
            if (m->items[static_cast<size_t>(item)].flags & MF_POPUP)
                open_submenu(t, level, false);
            return;
        }
        case WM_LBUTTONDOWN:
        case WM_LBUTTONDBLCLK:
        case WM_RBUTTONDOWN:
        case WM_RBUTTONDBLCLK:
        case WM_MBUTTONDOWN:
        case WM_MBUTTONDBLCLK:
        case WM_NCLBUTTONDOWN:
        case WM_NCRBUTTONDOWN:
        case WM_NCMBUTTONDOWN:
            if (!inside) {
                // A press elsewhere ends the menu and goes no further.
                t.done = true;
                return;
            }
            if (item >= 0) {
                close_levels_from(t, level + 1);
                set_hot(t, level, item);
                Menu* m = get_menu(t.levels[level].menu);
                if (m && (m->items[static_cast<size_t>(item)].flags & MF_POPUP))
                    open_submenu(t, level, false);
            }
            return;
        case WM_LBUTTONUP:
        case WM_RBUTTONUP:
        case WM_NCLBUTTONUP:
        case WM_NCRBUTTONUP: {
            if (!inside || item < 0)
                return;
            Menu* m = get_menu(t.levels[level].menu);
            if (!m || item >= static_cast<int>(m->items.size()))
                return;
            const Item it = m->items[static_cast<size_t>(item)];
            // Only a release over the item the pointer went to chooses it, so the release of
            // the press that opened the menu does not.
            if (t.levels[level].hot != item || (it.flags & MF_POPUP) || !enabled(it))
                return;
            choose(t, it);
            return;
        }
        default:
            return;
    }
}

// A menu of the open menu changed: its window shows what is left.
void menu_changed(HMENU menu) {
    Tracking* t = g_tracking;
    if (!t)
        return;
    for (size_t k = 0; k < t->levels.size(); ++k) {
        Level& lv = t->levels[k];
        if (lv.menu != menu)
            continue;
        Menu* m = get_menu(menu);
        if (!m || m->items.empty()) {
            // Nothing left to show: a submenu closes, the whole menu ends.
            if (k == 0) {
                end_tracking(*t);
            } else {
                close_levels_from(*t, k);
            }
            return;
        }
        if (lv.hot >= static_cast<int>(m->items.size()))
            lv.hot = -1;
        fit_level(lv, POINT{}, false);
        return;
    }
}

void destroy_menu(HMENU h, int depth) {
    auto& menus = table().menus;
    auto it = menus.find(reinterpret_cast<uintptr_t>(h));
    if (it == menus.end())
        return;
    std::unique_ptr<Menu> m = std::move(it->second);
    menus.erase(it);
    if (depth < 32) {
        for (const Item& item : m->items)
            if (item.flags & MF_POPUP)
                destroy_menu(item.sub, depth + 1);
    }
    menu_changed(h);
}

void update_system_menu(HWND hwnd, HMENU menu) {
    const DWORD style = static_cast<DWORD>(GetWindowLongPtr(hwnd, GWL_STYLE));
    const bool maximized = (style & WS_MAXIMIZE) != 0, minimized = (style & WS_MINIMIZE) != 0;
    auto state_of = [](bool on) { return on ? MF_ENABLED : MF_GRAYED; };
    EnableMenuItem(menu, static_cast<UINT>(SC_RESTORE), state_of(maximized || minimized));
    EnableMenuItem(menu, static_cast<UINT>(SC_MOVE), state_of(!maximized));
    EnableMenuItem(menu, static_cast<UINT>(SC_SIZE),
                   state_of((style & WS_THICKFRAME) && !maximized && !minimized));
    EnableMenuItem(menu, static_cast<UINT>(SC_MINIMIZE),
                   state_of((style & WS_MINIMIZEBOX) && !minimized));
    EnableMenuItem(menu, static_cast<UINT>(SC_MAXIMIZE),
                   state_of((style & WS_MAXIMIZEBOX) && !maximized));
}

HWND system_menu_window(HMENU menu) {
    for (const auto& [hwnd, m] : table().system_menus)
        if (m == menu)
            return hwnd;
    return nullptr;
}

}  // namespace

// ---- Public interface -------------------------------------------------------------------------

HMENU CreateMenu() {
    return new_menu(false);
}

HMENU CreatePopupMenu() {
    return new_menu(true);
}

bool DestroyMenu(HMENU menu) {
    if (!get_menu(menu))
        return false;
    destroy_menu(menu, 0);
    for (auto it = table().system_menus.begin(); it != table().system_menus.end();) {
        it = it->second == menu ? table().system_menus.erase(it) : std::next(it);
    }
    return true;
}

bool IsMenu(HMENU menu) {
    return get_menu(menu) != nullptr;
}

bool AppendMenu(HMENU menu, UINT flags, UINT_PTR id, const char* text) {
    return InsertMenu(menu, 0xFFFFFFFF, flags | MF_BYPOSITION, id, text);
}

bool InsertMenu(HMENU menu, UINT position, UINT flags, UINT_PTR id, const char* text) {
    Menu* m = get_menu(menu);
    if (!m)
        return false;
    if ((flags & MF_POPUP) &&
        (!get_menu(reinterpret_cast<HMENU>(id)) || reinterpret_cast<HMENU>(id) == menu))
        return false;
    Item item = make_item(flags, id, text);
    if (flags & MF_BYPOSITION) {
        const size_t at = std::min<size_t>(position, m->items.size());
        m->items.insert(m->items.begin() + static_cast<std::ptrdiff_t>(at), std::move(item));
    } else {
        ItemRef ref = find_by_command(menu, position);
        if (!ref.item) {
            m->items.push_back(std::move(item));
        } else {
            Menu* target = get_menu(ref.menu);
            target->items.insert(target->items.begin() + static_cast<std::ptrdiff_t>(ref.index),
                                 std::move(item));
            menu_changed(ref.menu);
            return true;
        }
    }
    menu_changed(menu);
    return true;
}

bool ModifyMenu(HMENU menu, UINT position, UINT flags, UINT_PTR id, const char* text) {
    ItemRef ref = find_item(menu, position, flags);
    if (!ref.item)
        return false;
    if ((flags & MF_POPUP) && !get_menu(reinterpret_cast<HMENU>(id)))
        return false;
    *ref.item = make_item(flags, id, text);
    menu_changed(ref.menu);
    return true;
}

namespace {
bool remove_item(HMENU menu, UINT position, UINT flags, bool destroy_sub) {
    ItemRef ref = find_item(menu, position, flags);
    if (!ref.item)
        return false;
    Menu* m = get_menu(ref.menu);
    const Item removed = *ref.item;
    m->items.erase(m->items.begin() + static_cast<std::ptrdiff_t>(ref.index));
    // An open submenu of the removed item closes.
    if (Tracking* t = g_tracking) {
        for (size_t k = 0; k < t->levels.size(); ++k) {
            if (t->levels[k].menu == ref.menu && k + 1 < t->levels.size() &&
                t->levels[k + 1].parent_item == static_cast<int>(ref.index)) {
                close_levels_from(*t, k + 1);
                break;
            }
        }
        for (Level& lv : t->levels) {
            if (lv.menu == ref.menu && lv.hot >= static_cast<int>(ref.index))
                lv.hot = lv.hot == static_cast<int>(ref.index) ? -1 : lv.hot - 1;
        }
    }
    menu_changed(ref.menu);
    if (destroy_sub && (removed.flags & MF_POPUP))
        DestroyMenu(removed.sub);
    return true;
}
}  // namespace

bool RemoveMenu(HMENU menu, UINT position, UINT flags) {
    return remove_item(menu, position, flags, false);
}

bool DeleteMenu(HMENU menu, UINT position, UINT flags) {
    return remove_item(menu, position, flags, true);
}

int GetMenuItemCount(HMENU menu) {
    Menu* m = get_menu(menu);
    return m ? static_cast<int>(m->items.size()) : -1;
}

UINT GetMenuItemID(HMENU menu, int pos) {
    Menu* m = get_menu(menu);
    if (!m || pos < 0 || pos >= static_cast<int>(m->items.size()))
        return MENU_ERROR;
    const Item& it = m->items[static_cast<size_t>(pos)];
    if (it.flags & MF_POPUP)
        return MENU_ERROR;
    if (it.flags & MF_SEPARATOR)
        return 0;
    return static_cast<UINT>(it.id);
}

HMENU GetSubMenu(HMENU menu, int pos) {
    Menu* m = get_menu(menu);
    if (!m || pos < 0 || pos >= static_cast<int>(m->items.size()))
        return nullptr;
    const Item& it = m->items[static_cast<size_t>(pos)];
    return (it.flags & MF_POPUP) ? it.sub : nullptr;
}

int GetMenuString(HMENU menu, UINT item, char* buffer, int max, UINT flags) {
    ItemRef ref = find_item(menu, item, flags);
    if (!ref.item)
        return 0;
    if (!buffer || max <= 0)
        return static_cast<int>(ref.item->text.size());
    const size_t n = std::min(ref.item->text.size(), static_cast<size_t>(max - 1));
    std::memcpy(buffer, ref.item->text.data(), n);
    buffer[n] = 0;
    return static_cast<int>(n);
}

std::string GetMenuString(HMENU menu, UINT item, UINT flags) {
    ItemRef ref = find_item(menu, item, flags);
    return ref.item ? ref.item->text : std::string();
}

UINT GetMenuState(HMENU menu, UINT item, UINT flags) {
    ItemRef ref = find_item(menu, item, flags);
    if (!ref.item)
        return MENU_ERROR;
    UINT s = ref.item->flags;
    if (Tracking* t = g_tracking) {
        for (const Level& lv : t->levels)
            if (lv.menu == ref.menu && lv.hot == static_cast<int>(ref.index))
                s |= MF_HILITE;
    }
    if (s & MF_POPUP) {
        const int n = std::max(0, GetMenuItemCount(ref.item->sub));
        s = (s & 0xFF) | (static_cast<UINT>(std::min(n, 255)) << 8);
    }
    return s;
}

UINT EnableMenuItem(HMENU menu, UINT item, UINT enable) {
    ItemRef ref = find_item(menu, item, enable);
    if (!ref.item)
        return MENU_ERROR;
    const UINT previous = ref.item->flags & (MF_GRAYED | MF_DISABLED);
    if (!(ref.item->flags & MF_SEPARATOR)) {
        ref.item->flags =
            (ref.item->flags & ~(MF_GRAYED | MF_DISABLED)) | (enable & (MF_GRAYED | MF_DISABLED));
    }
    menu_changed(ref.menu);
    return previous;
}

UINT CheckMenuItem(HMENU menu, UINT item, UINT check) {
    ItemRef ref = find_item(menu, item, check);
    if (!ref.item)
        return MENU_ERROR;
    const UINT previous = ref.item->flags & MF_CHECKED;
    if (!(ref.item->flags & MF_SEPARATOR))
        ref.item->flags = (ref.item->flags & ~MF_CHECKED) | (check & MF_CHECKED);
    menu_changed(ref.menu);
    return previous;
}

bool SetMenuDefaultItem(HMENU menu, UINT item, UINT byPosition) {
    Menu* m = get_menu(menu);
    if (!m)
        return false;
    ItemRef ref;
    if (item != MENU_ERROR) {
        ref = find_item(menu, item, byPosition ? MF_BYPOSITION : MF_BYCOMMAND);
        if (!ref.item || ref.menu != menu)
            return false;
    }
    for (Item& it : m->items)
        it.flags &= ~MF_DEFAULT;
    if (ref.item && !(ref.item->flags & MF_SEPARATOR))
        ref.item->flags |= MF_DEFAULT;
    menu_changed(menu);
    return true;
}

HMENU GetSystemMenu(HWND hwnd, bool revert) {
    auto& sys = table().system_menus;
    // Menus of windows that are gone are dropped here.
    for (auto it = sys.begin(); it != sys.end();) {
        if (!IsWindow(it->first)) {
            destroy_menu(it->second, 0);
            it = sys.erase(it);
        } else {
            ++it;
        }
    }
    if (!IsWindow(hwnd) || GetParent(hwnd))
        return nullptr;
    auto it = sys.find(hwnd);
    if (revert) {
        if (it != sys.end()) {
            destroy_menu(it->second, 0);
            sys.erase(it);
        }
        return nullptr;
    }
    if (it != sys.end())
        return it->second;
    HMENU m = CreatePopupMenu();
    AppendMenu(m, MF_STRING, SC_RESTORE, "&Restore");
    AppendMenu(m, MF_STRING, SC_MOVE, "&Move");
    AppendMenu(m, MF_STRING, SC_SIZE, "&Size");
    AppendMenu(m, MF_STRING, SC_MINIMIZE, "Mi&nimize");
    AppendMenu(m, MF_STRING, SC_MAXIMIZE, "Ma&ximize");
    AppendMenu(m, MF_SEPARATOR, 0, nullptr);
    AppendMenu(m, MF_STRING | MF_DEFAULT, SC_CLOSE, "&Close\tAlt+F4");
    sys.emplace(hwnd, m);
    return m;
}

BOOL TrackPopupMenu(HMENU menu, UINT flags, int x, int y, int, HWND owner, const RECT*) {
    Menu* m = get_menu(menu);
    if (!m || m->items.empty() || g_tracking || !IsWindow(owner))
        return FALSE;
    Tracking t;
    t.owner = owner;
    t.flags = flags;
    const HWND system_of = system_menu_window(menu);
    t.system = system_of != nullptr;
    if (system_of)
        update_system_menu(system_of, menu);
    g_tracking = &t;
    struct Reset {
        ~Reset() { g_tracking = nullptr; }
    } reset;
    const bool notify = !(flags & TPM_NONOTIFY);
    if (notify) {
        SendMessage(owner, WM_ENTERMENULOOP, TRUE, 0);
        if (IsWindow(owner))
            SendMessage(owner, WM_INITMENU, reinterpret_cast<WPARAM>(menu), 0);
        if (IsWindow(owner))
            SendMessage(owner, WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(menu),
                        MAKELPARAM(0, t.system ? 1 : 0));
    }
    // The owner's preparations may have emptied or destroyed the menu, or the owner.
    m = get_menu(menu);
    bool shown = m && !m->items.empty() && IsWindow(owner) && !t.done &&
                 open_level(t, menu, POINT{x, y}, flags, -1, nullptr);

    // The menu's own loop: keys and the mouse act on the menu, everything else is dispatched.
    detail::NestedLoopScope nested_loop;
    MSG msg;
    while (shown && !t.done) {
        if (!IsWindow(owner) || t.levels.empty() || !IsWindow(t.levels.front().hwnd))
            break;
        if (!GetMessage(&msg)) {
            PostQuitMessage(static_cast<int>(msg.wParam));
            break;
        }
        switch (msg.message) {
            case WM_KEYDOWN:
            case WM_SYSKEYDOWN:
                handle_key(t, msg);
                continue;
            case WM_CHAR:
            case WM_SYSCHAR:
                mnemonic(t, static_cast<char32_t>(msg.wParam));
                continue;
            case WM_KEYUP:
            case WM_SYSKEYUP:
                continue;
            default:
                break;
        }
        if (is_mouse_message(msg.message) && level_of(msg.hwnd)) {
            handle_mouse(t, msg);
            continue;
        }
        if (is_mouse_message(msg.message)) {
            // The mouse belongs to the menu while it is open.
            if (msg.message != WM_MOUSEMOVE && msg.message != WM_NCMOUSEMOVE &&
                msg.message != WM_MOUSELEAVE)
                handle_mouse(t, msg);
            continue;
        }
        TranslateMessage(&msg);
        DispatchMessage(&msg);
    }
    t.closing = true;
    close_levels_from(t, 0);
    if (GetCapture() && !IsWindow(GetCapture()))
        ReleaseCapture();
    if (notify && IsWindow(owner)) {
        SendMessage(owner, WM_MENUSELECT, MAKELONG(0, 0xFFFF), 0);
        if (IsWindow(owner))
            SendMessage(owner, WM_EXITMENULOOP, TRUE, 0);
    }
    if (!shown)
        return (flags & TPM_RETURNCMD) ? 0 : static_cast<BOOL>(m != nullptr && IsWindow(owner));
    if (flags & TPM_RETURNCMD)
        return t.chose ? static_cast<BOOL>(t.command) : 0;
    if (t.chose && IsWindow(owner))
        PostMessage(owner, t.system ? WM_SYSCOMMAND : WM_COMMAND, t.command, 0);
    return TRUE;
}

bool EndMenu() {
    if (!g_tracking)
        return false;
    end_tracking(*g_tracking);
    return true;
}

std::vector<HWND> OpenMenuWindows() {
    std::vector<HWND> out;
    if (g_tracking)
        for (const Level& lv : g_tracking->levels)
            if (IsWindow(lv.hwnd))
                out.push_back(lv.hwnd);
    return out;
}

bool GetMenuItemRect(HWND hwnd, HMENU menu, UINT pos, RECT* out) {
    Level* lv = level_of(hwnd);
    Menu* m = get_menu(menu);
    if (!lv || lv->menu != menu || !m || pos >= m->items.size() || !out)
        return false;
    const Layout l = layout_of(*m);
    RECT r = l.items[pos].offset(0, -lv->scroll);
    POINT a{r.left, r.top};
    ClientToScreen(hwnd, &a);
    *out = RECT{a.x, a.y, a.x + r.width(), a.y + r.height()};
    return true;
}

}  // namespace win
