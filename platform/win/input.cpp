#include "platform/win/input.h"
#include "platform/clock/wake_path.h"

#include <algorithm>
#include <cstdlib>

#include "platform/win/hook.h"
#include "platform/win/internal.h"
#include "platform/win/menu.h"
#include "platform/win/message.h"
#include "platform/win/metrics.h"

namespace win {

using detail::get;
using detail::state;
using detail::Window;

namespace detail {
Window* window_at(POINT screen, const std::vector<HWND>& excluded);
}

// ---- Focus -------------------------------------------------------------------------------------

HWND GetFocus() {
    return state().focus;
}

HWND SetFocus(HWND hwnd) {
    auto& s = state();
    HWND old = s.focus;
    if (!hwnd) {
        if (old) {
            if (detail::call_cbt(HCBT_SETFOCUS, 0, HandleToLParam(old)) != 0)
                return nullptr;
            s.focus = nullptr;
            SendMessage(old, WM_KILLFOCUS, 0, 0);
        }
        return old;
    }
    Window* w = get(hwnd);
    if (!w)
        return nullptr;
    for (Window* a = w; a; a = a->parent) {
        if (a->style & (WS_DISABLED | WS_MINIMIZE))
            return nullptr;
    }
    if (hwnd == old)
        return old;
    if (detail::call_cbt(HCBT_SETFOCUS, HandleToWParam(hwnd), HandleToLParam(old)) != 0) {
        return nullptr;
    }
    HWND root = GetAncestor(hwnd, GA_ROOT);
    if (root && root != s.active) {
        detail::set_active(root, false, false);
        if (!get(hwnd))
            return nullptr;
        // Activation may already have moved the focus here.
        if (s.focus == hwnd)
            return old;
        old = s.focus;
    }
    s.focus = hwnd;
    if (old && get(old))
        SendMessage(old, WM_KILLFOCUS, HandleToWParam(hwnd), 0);
    if (s.focus == hwnd && get(hwnd))
        SendMessage(hwnd, WM_SETFOCUS, HandleToWParam(old), 0);
    return old;
}

namespace detail {

void focus_lost_by(Window* w) {
    auto& s = state();
    if (!s.focus)
        return;
    if (s.focus == w->handle || IsChild(w->handle, s.focus)) {
        // The focus goes to the parent of a child window, else nowhere.
        HWND to = w->parent && !(w->parent->style & WS_DISABLED) && visible_chain(w->parent)
                      ? w->parent->handle
                      : nullptr;
        HWND old = s.focus;
        s.focus = to;
        SendMessage(old, WM_KILLFOCUS, HandleToWParam(to), 0);
        if (to && s.focus == to)
            SendMessage(to, WM_SETFOCUS, HandleToWParam(old), 0);
    }
}

// ---- Activation
// ----------------------------------------------------------------------------------

void set_active(HWND hwnd, bool by_mouse, bool from_native) {
    auto& s = state();
    HWND old = s.active;
    if (hwnd == old)
        return;
    if (hwnd) {
        CBTACTIVATESTRUCT cbt{by_mouse ? TRUE : FALSE, old};
        if (call_cbt(HCBT_ACTIVATE, HandleToWParam(hwnd), reinterpret_cast<LPARAM>(&cbt)) != 0) {
            return;
        }
        if (!get(hwnd))
            return;
    }
    s.active = hwnd;
    if (old && get(old)) {
        SendMessage(old, WM_NCACTIVATE, FALSE, HandleToLParam(hwnd));
        if (get(old)) {
            SendMessage(old, WM_ACTIVATE, MAKEWPARAM(WA_INACTIVE, IsIconic(old) ? 1 : 0),
                        HandleToLParam(hwnd));
        }
    }
    if (s.active != hwnd)
        return;  // a handler activated something else meanwhile
    const bool app_changes = (old == nullptr) != (hwnd == nullptr);
    if (app_changes) {
        std::vector<HWND> tops;
        for (Window* t : s.toplevels)
            tops.push_back(t->handle);
        for (HWND t : tops) {
            if (get(t))
                SendMessage(t, WM_ACTIVATEAPP, hwnd ? TRUE : FALSE, 0);
        }
    }
    if (!hwnd) {
        if (s.focus)
            SetFocus(nullptr);
        return;
    }
    if (!get(hwnd) || s.active != hwnd)
        return;
    SetWindowPos(hwnd, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    if (!get(hwnd))
        return;
    if (s.driver && !from_native)
        s.driver->window_activated(hwnd);
    SendMessage(hwnd, WM_NCACTIVATE, TRUE, HandleToLParam(old));
    if (!get(hwnd) || s.active != hwnd)
        return;
    SendMessage(hwnd, WM_ACTIVATE,
                MAKEWPARAM(by_mouse ? WA_CLICKACTIVE : WA_ACTIVE, IsIconic(hwnd) ? 1 : 0),
                HandleToLParam(old && get(old) ? old : nullptr));
    // The focus leaves the old window when nothing in the new one took it.
    if (s.active == hwnd && s.focus && !(s.focus == hwnd || IsChild(hwnd, s.focus))) {
        HWND f = s.focus;
        s.focus = nullptr;
        SendMessage(f, WM_KILLFOCUS, 0, 0);
    }
}

void activate_other_than(HWND hwnd) {
    auto& s = state();
    Window* w = get(hwnd);
    HWND next = nullptr;
    auto usable = [&](Window* c) {
        return c && c != w && !c->parent && (c->style & WS_VISIBLE) &&
               !(c->style & (WS_DISABLED | WS_MINIMIZE)) && !(c->exstyle & WS_EX_NOACTIVATE);
    };
    if (w && usable(w->owner)) {
        next = w->owner->handle;
    } else {
        for (Window* t : s.toplevels) {
            if (usable(t) && !(t->owner == w)) {
                next = t->handle;
                break;
            }
        }
    }
    set_active(next, false, false);
}

}  // namespace detail

HWND SetActiveWindow(HWND hwnd) {
    auto& s = state();
    HWND old = s.active;
    if (hwnd) {
        Window* w = get(hwnd);
        if (!w)
            return nullptr;
        hwnd = detail::root_of(w)->handle;
    }
    detail::set_active(hwnd, false, false);
    return old;
}

HWND GetActiveWindow() {
    return state().active;
}

bool SetForegroundWindow(HWND hwnd) {
    if (!get(hwnd))
        return false;
    SetActiveWindow(hwnd);
    return GetActiveWindow() == GetAncestor(hwnd, GA_ROOT);
}

// ---- Capture and tracking
// --------------------------------------------------------------------------

namespace {

// A move or size loop ends when its window loses the capture; the loop may be waiting for a
// message, so one is posted to wake it.
void wake_size_move_loop(HWND lost) {
    if (lost && state().size_move == lost)
        PostMessage(lost, WM_NULL, 0, 0);
}

}  // namespace

HWND SetCapture(HWND hwnd) {
    auto& s = state();
    HWND old = s.capture;
    if (hwnd && !get(hwnd))
        return old;
    if (old == hwnd)
        return old;
    s.capture = hwnd;
    wake_size_move_loop(old);
    if (old && get(old))
        SendMessage(old, WM_CAPTURECHANGED, 0, HandleToLParam(hwnd));
    return old;
}

bool ReleaseCapture() {
    auto& s = state();
    HWND old = s.capture;
    if (!old)
        return true;
    s.capture = nullptr;
    wake_size_move_loop(old);
    if (get(old))
        SendMessage(old, WM_CAPTURECHANGED, 0, 0);
    return true;
}

HWND GetCapture() {
    return state().capture;
}

namespace {

// The window and hit code under the pointer, as the mouse would see them now.
std::pair<HWND, LRESULT> hit_at(POINT screen) {
    std::vector<HWND> excluded;
    for (int guard = 0; guard < 64; ++guard) {
        Window* w = detail::window_at(screen, excluded);
        if (!w)
            return {nullptr, HTNOWHERE};
        HWND h = w->handle;
        LRESULT hit = SendMessage(h, WM_NCHITTEST, 0, POINTTOLPARAM(screen));
        if (hit != HTTRANSPARENT)
            return {h, hit};
        excluded.push_back(h);
    }
    return {nullptr, HTNOWHERE};
}

void post_leave() {
    auto& s = state();
    if (!s.track_leave)
        return;
    HWND h = s.track_leave;
    bool nc = s.track_nonclient;
    s.track_leave = nullptr;
    PostMessage(h, nc ? WM_NCMOUSELEAVE : WM_MOUSELEAVE, 0, 0);
}

}  // namespace

bool TrackMouseEvent(TRACKMOUSEEVENT* tme) {
    auto& s = state();
    if (!tme)
        return false;
    if (tme->dwFlags & TME_QUERY) {
        tme->dwFlags = s.track_leave ? (TME_LEAVE | (s.track_nonclient ? TME_NONCLIENT : 0)) : 0;
        tme->hwndTrack = s.track_leave;
        return true;
    }
    if (!(tme->dwFlags & TME_LEAVE))
        return true;
    const bool nc = (tme->dwFlags & TME_NONCLIENT) != 0;
    if (tme->dwFlags & TME_CANCEL) {
        if (s.track_leave == tme->hwndTrack && s.track_nonclient == nc)
            s.track_leave = nullptr;
        return true;
    }
    if (!get(tme->hwndTrack))
        return false;
    auto [h, hit] = s.capture ? std::pair<HWND, LRESULT>{s.capture, HTCLIENT} : hit_at(s.cursor);
    const bool inside = h == tme->hwndTrack && ((hit == HTCLIENT) != nc);
    if (!inside) {
        PostMessage(tme->hwndTrack, nc ? WM_NCMOUSELEAVE : WM_MOUSELEAVE, 0, 0);
        return true;
    }
    s.track_leave = tme->hwndTrack;
    s.track_nonclient = nc;
    return true;
}

// ---- Key state and cursor -------------------------------------------------------------------

short GetKeyState(int vk) {
    if (vk < 0 || vk > 255)
        return 0;
    BYTE k = state().keys[vk];
    return static_cast<short>(((k & 0x80) ? 0x8000 : 0) | (k & 1));
}

short GetAsyncKeyState(int vk) {
    return GetKeyState(vk);
}

bool GetCursorPos(POINT* pt) {
    if (!pt)
        return false;
    *pt = state().cursor;
    return true;
}

bool SetCursorPos(int x, int y) {
    InjectMouse(MouseAction::Move, {x, y});
    return true;
}

UINT GetDoubleClickTime() {
    return state().double_click_ms;
}

bool SetDoubleClickTime(UINT ms) {
    state().double_click_ms = ms ? ms : 500;
    return true;
}

// ---- Injection -------------------------------------------------------------------------------

void InjectMouse(MouseAction action, POINT screen, int wheelDelta) {
    auto& s = state();
    detail::InputEvent e;
    e.kind = detail::InputEvent::Kind::Mouse;
    e.action = action;
    e.pt = screen;
    e.wheel = wheelDelta;
    e.time = static_cast<DWORD>(detail::now_ms());
    s.input.push_back(std::move(e));
}

void InjectKey(int vk, bool down, const std::string& text) {
    auto& s = state();
    detail::InputEvent e;
    e.kind = detail::InputEvent::Kind::Key;
    e.vk = vk & 0xFF;
    e.down = down;
    e.text = text;
    e.time = static_cast<DWORD>(detail::now_ms());
    s.input.push_back(std::move(e));
}

void InjectText(const std::string& utf8) {
    auto& s = state();
    detail::InputEvent e;
    e.kind = detail::InputEvent::Kind::Text;
    e.text = utf8;
    e.time = static_cast<DWORD>(detail::now_ms());
    s.input.push_back(std::move(e));
}

void InjectClick(POINT screen) {
    InjectMouse(MouseAction::Move, screen);
    InjectMouse(MouseAction::LeftDown, screen);
    InjectMouse(MouseAction::LeftUp, screen);
}

void InjectTyping(const std::string& ascii) {
    for (char ch : ascii) {
        const unsigned char c = static_cast<unsigned char>(ch);
        int vk = 0;
        bool shift = false;
        if (c >= 'a' && c <= 'z') {
            vk = c - 'a' + 'A';
        } else if (c >= 'A' && c <= 'Z') {
            vk = c;
            shift = true;
        } else if (c >= '0' && c <= '9') {
            vk = c;
        } else if (c == ' ') {
            vk = VK_SPACE;
        } else if (c == '\r' || c == '\n') {
            vk = VK_RETURN;
        } else if (c == '\t') {
            vk = VK_TAB;
        } else if (c == '.') {
            vk = VK_OEM_PERIOD;
        } else if (c == '-') {
            vk = VK_OEM_MINUS;
        } else {
            vk = VK_OEM_2;
        }
        if (shift)
            InjectKey(VK_SHIFT, true);
        InjectKey(vk, true, std::string(1, ch == '\n' ? '\r' : ch));
        InjectKey(vk, false);
        if (shift)
            InjectKey(VK_SHIFT, false);
    }
}

namespace {

void set_key(int vk, bool down) {
    auto& s = state();
    BYTE& k = s.keys[vk & 0xFF];
    if (down) {
        if (!(k & 0x80))
            k ^= 1;
        k |= 0x80;
    } else {
        k &= static_cast<BYTE>(~0x80);
    }
}

WPARAM mouse_key_flags() {
    WPARAM f = 0;
    if (GetKeyState(VK_LBUTTON) < 0)
        f |= MK_LBUTTON;
    if (GetKeyState(VK_RBUTTON) < 0)
        f |= MK_RBUTTON;
    if (GetKeyState(VK_MBUTTON) < 0)
        f |= MK_MBUTTON;
    if (GetKeyState(VK_SHIFT) < 0)
        f |= MK_SHIFT;
    if (GetKeyState(VK_CONTROL) < 0)
        f |= MK_CONTROL;
    return f;
}

// The text a key types when the injector gave none.
std::string default_key_text(int vk) {
    const bool shift = GetKeyState(VK_SHIFT) < 0;
    const bool caps = (GetKeyState(VK_CAPITAL) & 1) != 0;
    const bool ctrl = GetKeyState(VK_CONTROL) < 0;
    if (vk >= 'A' && vk <= 'Z') {
        if (ctrl)
            return std::string(1, static_cast<char>(vk - 'A' + 1));
        return std::string(1, static_cast<char>((shift != caps) ? vk : vk - 'A' + 'a'));
    }
    if (ctrl)
        return {};
    if (vk >= '0' && vk <= '9' && !shift)
        return std::string(1, static_cast<char>(vk));
    if (vk >= VK_NUMPAD0 && vk <= VK_NUMPAD9)
        return std::string(1, static_cast<char>('0' + vk - VK_NUMPAD0));
    switch (vk) {
        case VK_SPACE:
            return " ";
        case VK_RETURN:
            return "\r";
        case VK_TAB:
            return "\t";
        case VK_BACK:
            return "\b";
        case VK_ESCAPE:
            return "\x1b";
        case VK_OEM_PERIOD:
        case VK_DECIMAL:
            return shift ? ">" : ".";
        case VK_OEM_MINUS:
        case VK_SUBTRACT:
            return shift ? "_" : "-";
        default:
            return {};
    }
}

// Decodes UTF-8 into code points (invalid bytes become U+FFFD).
std::vector<uint32_t> code_points(const std::string& s) {
    std::vector<uint32_t> out;
    for (size_t i = 0; i < s.size();) {
        const unsigned char c = static_cast<unsigned char>(s[i]);
        int len = c < 0x80 ? 1 : (c >> 5) == 6 ? 2 : (c >> 4) == 14 ? 3 : (c >> 3) == 30 ? 4 : 0;
        if (len == 0 || i + static_cast<size_t>(len) > s.size()) {
            out.push_back(0xFFFD);
            ++i;
            continue;
        }
        uint32_t cp = len == 1 ? c : (c & (0x7F >> len));
        bool ok = true;
        for (int k = 1; k < len; ++k) {
            const unsigned char cc = static_cast<unsigned char>(s[i + static_cast<size_t>(k)]);
            if ((cc & 0xC0) != 0x80)
                ok = false;
            cp = (cp << 6) | (cc & 0x3F);
        }
        out.push_back(ok ? cp : 0xFFFD);
        i += ok ? static_cast<size_t>(len) : 1;
    }
    return out;
}

bool process_mouse(const detail::InputEvent& e, MSG* out) {
    auto& s = state();
    s.cursor = e.pt;
    switch (e.action) {
        case MouseAction::LeftDown:
            set_key(VK_LBUTTON, true);
            break;
        case MouseAction::LeftUp:
            set_key(VK_LBUTTON, false);
            break;
        case MouseAction::RightDown:
            set_key(VK_RBUTTON, true);
            break;
        case MouseAction::RightUp:
            set_key(VK_RBUTTON, false);
            break;
        case MouseAction::MiddleDown:
            set_key(VK_MBUTTON, true);
            break;
        case MouseAction::MiddleUp:
            set_key(VK_MBUTTON, false);
            break;
        default:
            break;
    }
    MSG m;
    m.time = e.time;
    m.pt = e.pt;
    if (e.action == MouseAction::Wheel) {
        HWND target = s.focus ? s.focus : s.active;
        if (!target)
            return false;
        m.hwnd = target;
        m.message = WM_MOUSEWHEEL;
        m.wParam = MAKEWPARAM(static_cast<int>(mouse_key_flags()), e.wheel);
        m.lParam = POINTTOLPARAM(e.pt);
        *out = m;
        return true;
    }
    HWND target;
    LRESULT hit;
    if (s.capture && get(s.capture)) {
        target = s.capture;
        hit = HTCLIENT;
    } else {
        std::tie(target, hit) = hit_at(e.pt);
    }
    // Leave tracking ends when the pointer is no longer over the tracked part.
    if (s.track_leave && (s.track_leave != target || ((hit == HTCLIENT) == s.track_nonclient))) {
        post_leave();
    }
    if (!target || !get(target))
        return false;
    // A disabled window (a form under a modal box) takes no mouse input; a press on it brings
    // the enabled window it owns (the box) to the front instead.
    if (!detail::enabled_chain(get(target))) {
        const bool press = e.action == MouseAction::LeftDown ||
                           e.action == MouseAction::RightDown ||
                           e.action == MouseAction::MiddleDown;
        if (press) {
            Window* root = detail::root_of(get(target));
            for (Window* t : s.toplevels) {
                if (t->owner == root && (t->style & WS_VISIBLE) && !(t->style & WS_DISABLED)) {
                    detail::set_active(t->handle, true, false);
                    break;
                }
            }
        }
        return false;
    }
    const bool client = hit == HTCLIENT;
    const bool down = e.action == MouseAction::LeftDown || e.action == MouseAction::RightDown ||
                      e.action == MouseAction::MiddleDown;
    UINT base = 0;
    switch (e.action) {
        case MouseAction::Move:
            base = WM_MOUSEMOVE;
            break;
        case MouseAction::LeftDown:
            base = WM_LBUTTONDOWN;
            break;
        case MouseAction::LeftUp:
            base = WM_LBUTTONUP;
            break;
        case MouseAction::RightDown:
            base = WM_RBUTTONDOWN;
            break;
        case MouseAction::RightUp:
            base = WM_RBUTTONUP;
            break;
        case MouseAction::MiddleDown:
            base = WM_MBUTTONDOWN;
            break;
        case MouseAction::MiddleUp:
            base = WM_MBUTTONUP;
            break;
        default:
            return false;
    }
    if (down) {
        Window* w = get(target);
        Window* root = detail::root_of(w);
        if (root->handle != s.active && !(root->exstyle & WS_EX_NOACTIVATE)) {
            // The handler may destroy the window: only its handle is used after the send.
            const HWND root_handle = root->handle;
            LRESULT ma = SendMessage(target, WM_MOUSEACTIVATE, HandleToWParam(root_handle),
                                     MAKELPARAM(static_cast<int>(hit), static_cast<int>(base)));
            if (ma == 0)
                ma = MA_ACTIVATE;
            if ((ma == MA_ACTIVATE || ma == MA_ACTIVATEANDEAT) && get(root_handle)) {
                detail::set_active(root_handle, true, false);
            }
            if (ma == MA_ACTIVATEANDEAT || ma == MA_NOACTIVATEANDEAT)
                return false;
            if (!get(target))
                return false;
        }
        // Double clicks: the same button on the same window, soon enough and near enough.
        const int dx = std::abs(e.pt.x - s.last_click_pt.x);
        const int dy = std::abs(e.pt.y - s.last_click_pt.y);
        const bool wants = !client || (GetClassStyle(target) & CS_DBLCLKS);
        if (wants && s.last_click_hwnd == target && s.last_click_msg == base &&
            e.time - s.last_click_time <= s.double_click_ms &&
            dx <= GetSystemMetrics(SM_CXDOUBLECLK) / 2 &&
            dy <= GetSystemMetrics(SM_CYDOUBLECLK) / 2) {
            base += 2;  // WM_xBUTTONDOWN -> WM_xBUTTONDBLCLK
            s.last_click_hwnd = nullptr;
        } else {
            s.last_click_hwnd = target;
            s.last_click_msg = base;
            s.last_click_time = e.time;
            s.last_click_pt = e.pt;
        }
    }
    m.hwnd = target;
    if (client) {
        POINT p = e.pt;
        ScreenToClient(target, &p);
        m.message = base;
        m.wParam = mouse_key_flags();
        m.lParam = POINTTOLPARAM(p);
    } else {
        m.message = base - WM_MOUSEMOVE + WM_NCMOUSEMOVE;
        m.wParam = static_cast<WPARAM>(hit);
        m.lParam = POINTTOLPARAM(e.pt);
    }
    *out = m;
    return true;
}

bool process_key(const detail::InputEvent& e, MSG* out) {
    auto& s = state();
    const bool was_down = GetKeyState(e.vk) < 0;
    set_key(e.vk, e.down);
    if (e.vk == VK_LSHIFT || e.vk == VK_RSHIFT)
        set_key(VK_SHIFT, e.down);
    if (e.vk == VK_LCONTROL || e.vk == VK_RCONTROL)
        set_key(VK_CONTROL, e.down);
    if (e.vk == VK_LMENU || e.vk == VK_RMENU)
        set_key(VK_MENU, e.down);
    const bool alt = GetKeyState(VK_MENU) < 0 || (e.vk == VK_MENU && !e.down);
    const bool ctrl = GetKeyState(VK_CONTROL) < 0;
    HWND target = s.focus;
    bool sys = false;
    if (!target || !get(target)) {
        target = s.active;
        sys = true;
    }
    if (!target || !get(target)) {
        // An open menu takes the keyboard even when no window has the focus or is active, so
        // that Escape and the arrows still reach its loop.
        const std::vector<HWND> menus = OpenMenuWindows();
        if (menus.empty())
            return false;
        target = menus.back();
    }
    if (alt && !ctrl)
        sys = true;
    MSG m;
    m.hwnd = target;
    m.time = e.time;
    m.pt = s.cursor;
    m.message = e.down ? (sys ? WM_SYSKEYDOWN : WM_KEYDOWN) : (sys ? WM_SYSKEYUP : WM_KEYUP);
    m.wParam = static_cast<WPARAM>(e.vk);
    LPARAM l = 1;
    if (alt)
        l |= KF_ALTDOWN_BIT;
    if (was_down)
        l |= KF_REPEAT_BIT;
    if (!e.down)
        l |= KF_REPEAT_BIT | KF_UP_BIT;
    m.lParam = l;
    s.last_key_msg = m;
    s.last_key_text = e.down ? (e.text.empty() ? default_key_text(e.vk) : e.text) : std::string();
    *out = m;
    return true;
}

}  // namespace

namespace detail {

bool next_input_message(MSG* out) {
    auto& s = state();
    if (s.input.empty())
        return false;
    InputEvent e = std::move(s.input.front());
    s.input.pop_front();
    switch (e.kind) {
        case InputEvent::Kind::Mouse:
            return process_mouse(e, out);
        case InputEvent::Kind::Key:
            return process_key(e, out);
        case InputEvent::Kind::Text: {
            HWND target = s.focus ? s.focus : s.active;
            if (!target)
                return false;
            for (uint32_t cp : code_points(e.text))
                PostMessage(target, WM_CHAR, cp, 1);
            return false;
        }
    }
    return false;
}

}  // namespace detail

namespace {

// The characters of a key just pressed, posted after it (the key message is WM_KEYDOWN or
// WM_SYSKEYDOWN).
[[gnu::noinline]] bool post_key_characters(const MSG* msg) {
    auto& s = state();
    const MSG& k = s.last_key_msg;
    if (k.hwnd != msg->hwnd || k.message != msg->message || k.wParam != msg->wParam ||
        k.time != msg->time || s.last_key_text.empty()) {
        return false;
    }
    const UINT char_msg = msg->message == WM_SYSKEYDOWN ? WM_SYSCHAR : WM_CHAR;
    // Posted in front of what is queued, so the characters follow their key at once.
    auto cps = code_points(s.last_key_text);
    s.last_key_text.clear();
    std::vector<MSG> chars;
    for (uint32_t cp : cps) {
        MSG c = *msg;
        c.message = char_msg;
        c.wParam = cp;
        chars.push_back(c);
    }
    s.posted.insert(s.posted.begin(), chars.begin(), chars.end());
    return true;
}

}  // namespace

// Every message of the loop passes here; only a key pressed goes on.
VELMOR_WAKE_CODE bool TranslateMessage(const MSG* msg) {
    if (!msg || (msg->message != WM_KEYDOWN && msg->message != WM_SYSKEYDOWN))
        return false;
    return post_key_characters(msg);
}

}  // namespace win
