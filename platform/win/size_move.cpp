// Moving and sizing a top-level window through its frame: the modal loop of WM_SYSCOMMAND
// SC_MOVE / SC_SIZE, the window's size limits (WM_GETMINMAXINFO) and where a window goes when
// it is maximized or minimized.

#include <algorithm>

#include "platform/win/input.h"
#include "platform/win/internal.h"
#include "platform/win/message.h"
#include "platform/win/metrics.h"
#include "platform/win/window.h"

namespace win {

using detail::get;
using detail::state;
using detail::Window;

namespace detail {

MINMAXINFO min_max_info(HWND hwnd) {
    MINMAXINFO mm;
    Window* w = get(hwnd);
    if (!w)
        return mm;
    RECT work;
    SystemParametersInfo(SPI_GETWORKAREA, 0, &work, 0);
    // A maximized window fills the work area with its own border hanging past the edges, so
    // that only its caption and client area show.
    const int b = frame_parts(w->style, w->exstyle).border;
    mm.ptMaxSize = {work.width() + 2 * b, work.height() + 2 * b};
    mm.ptMaxPosition = {work.left - b, work.top - b};
    mm.ptMinTrackSize = {GetSystemMetrics(SM_CXMIN), GetSystemMetrics(SM_CYMIN)};
    mm.ptMaxTrackSize = {GetSystemMetrics(SM_CXSCREEN) + 2 * b + 4,
                         GetSystemMetrics(SM_CYSCREEN) + 2 * b + 4};
    SendMessage(hwnd, WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&mm));
    // Whatever the window answered: no negative sizes, and the maximum no smaller than the
    // minimum, or the sizing below would have no answer.
    mm.ptMaxSize.x = std::max(0, mm.ptMaxSize.x);
    mm.ptMaxSize.y = std::max(0, mm.ptMaxSize.y);
    mm.ptMinTrackSize.x = std::max(0, mm.ptMinTrackSize.x);
    mm.ptMinTrackSize.y = std::max(0, mm.ptMinTrackSize.y);
    mm.ptMaxTrackSize.x = std::max(mm.ptMinTrackSize.x, mm.ptMaxTrackSize.x);
    mm.ptMaxTrackSize.y = std::max(mm.ptMinTrackSize.y, mm.ptMaxTrackSize.y);
    return mm;
}

RECT maximized_rect(HWND hwnd) {
    const MINMAXINFO mm = min_max_info(hwnd);
    return RECT::from_xywh(mm.ptMaxPosition.x, mm.ptMaxPosition.y, mm.ptMaxSize.x, mm.ptMaxSize.y);
}

RECT minimized_rect(HWND hwnd) {
    RECT work;
    SystemParametersInfo(SPI_GETWORKAREA, 0, &work, 0);
    const int cx = GetSystemMetrics(SM_CXMINIMIZED);
    const int cy = GetSystemMetrics(SM_CYMINIMIZED);
    // Caption bars line up along the bottom of the work area from the left, row above row;
    // the first place no other minimized window holds is taken.
    const int per_row = std::max(1, work.width() / cx);
    const auto& tops = state().toplevels;
    for (int i = 0;; ++i) {
        const RECT r = RECT::from_xywh(work.left + (i % per_row) * cx,
                                       work.bottom - cy * (1 + i / per_row), cx, cy);
        const bool taken = std::any_of(tops.begin(), tops.end(), [&](const Window* t) {
            return t->handle != hwnd && (t->style & WS_MINIMIZE) && (t->style & WS_VISIBLE) &&
                   t->rect.left == r.left && t->rect.top == r.top;
        });
        if (!taken || r.top < work.top)
            return r;
    }
}

}  // namespace detail

namespace {

struct Edges {
    bool left = false, right = false, top = false, bottom = false;
};

Edges edges_of(WPARAM wmsz) {
    Edges e;
    e.left = wmsz == WMSZ_LEFT || wmsz == WMSZ_TOPLEFT || wmsz == WMSZ_BOTTOMLEFT;
    e.right = wmsz == WMSZ_RIGHT || wmsz == WMSZ_TOPRIGHT || wmsz == WMSZ_BOTTOMRIGHT;
    e.top = wmsz == WMSZ_TOP || wmsz == WMSZ_TOPLEFT || wmsz == WMSZ_TOPRIGHT;
    e.bottom = wmsz == WMSZ_BOTTOM || wmsz == WMSZ_BOTTOMLEFT || wmsz == WMSZ_BOTTOMRIGHT;
    return e;
}

// Keeps the size of `r` within the tracking limits by moving the dragged edges only, so the
// opposite edges stay where they are.
RECT limit_size(RECT r, Edges e, const MINMAXINFO& mm) {
    const int w = std::clamp(r.width(), mm.ptMinTrackSize.x, mm.ptMaxTrackSize.x);
    const int h = std::clamp(r.height(), mm.ptMinTrackSize.y, mm.ptMaxTrackSize.y);
    if (e.left)
        r.left = r.right - w;
    else
        r.right = r.left + w;
    if (e.top)
        r.top = r.bottom - h;
    else
        r.bottom = r.top + h;
    return r;
}

// The rectangle of a window whose edges `e` were dragged by (dx, dy) from `start`.
RECT sized_rect(const RECT& start, Edges e, int dx, int dy, const MINMAXINFO& mm) {
    RECT r = start;
    if (e.left)
        r.left += dx;
    if (e.right)
        r.right += dx;
    if (e.top)
        r.top += dy;
    if (e.bottom)
        r.bottom += dy;
    return limit_size(r, e, mm);
}

bool is_mouse_message(UINT m) {
    return (m >= WM_MOUSEFIRST && m <= WM_MOUSELAST) ||
           (m >= WM_NCMOUSEMOVE && m <= WM_NCMBUTTONDBLCLK);
}

bool is_button_down(UINT m) {
    return m == WM_LBUTTONDOWN || m == WM_RBUTTONDOWN || m == WM_MBUTTONDOWN ||
           m == WM_NCLBUTTONDOWN || m == WM_NCRBUTTONDOWN || m == WM_NCMBUTTONDOWN ||
           m == WM_LBUTTONDBLCLK || m == WM_NCLBUTTONDBLCLK;
}

// The pointer position of the last of a run of moves waiting in the input queue, taking them
// out: a drag only ever needs to reach the latest position, however many moves the display
// delivered while the previous step was painted.
POINT latest_move(POINT p) {
    auto& s = state();
    while (!s.input.empty() && s.input.front().kind == detail::InputEvent::Kind::Mouse &&
           s.input.front().action == MouseAction::Move) {
        p = s.input.front().pt;
        s.cursor = p;
        s.input.pop_front();
    }
    return p;
}

}  // namespace

namespace detail {

void size_move_loop(HWND hwnd, WPARAM command) {
    auto& s = state();
    Window* w = get(hwnd);
    if (!w || w->parent || !(w->style & WS_VISIBLE))
        return;
    const bool moving = (command & 0xFFF0) == SC_MOVE;
    WPARAM edge = command & 0x000F;
    if (w->style & WS_MAXIMIZE)
        return;  // a maximized window stays where it is until restored
    if (!moving && ((w->style & WS_MINIMIZE) || edge > WMSZ_BOTTOMRIGHT))
        return;
    // A drag begun by the mouse follows it until the button comes up; a drag begun from the
    // window menu follows the arrow keys (and the mouse) until Enter or a click.
    const bool by_mouse = edge != 0;
    if (by_mouse && GetKeyState(VK_LBUTTON) >= 0)
        return;  // the button is already up: there is nothing to follow
    SendMessage(hwnd, WM_ENTERSIZEMOVE, 0, 0);
    if (!get(hwnd))
        return;
    const MINMAXINFO mm = min_max_info(hwnd);
    if (!(w = get(hwnd)))
        return;
    const RECT start = w->rect;
    const POINT from = s.cursor;
    POINT pointer = from;
    POINT keys{0, 0};  // the distance the arrow keys added
    bool cancelled = false;

    auto place = [&](RECT r) {
        if (moving) {
            SendMessage(hwnd, WM_MOVING, 0, reinterpret_cast<LPARAM>(&r));
        } else {
            SendMessage(hwnd, WM_SIZING, edge, reinterpret_cast<LPARAM>(&r));
            r = limit_size(r, edges_of(edge), mm);
        }
        Window* now = get(hwnd);
        if (!now || r == now->rect)
            return;
        SetWindowPos(hwnd, nullptr, r.left, r.top, r.width(), r.height(),
                     SWP_NOZORDER | SWP_NOACTIVATE | (moving ? SWP_NOSIZE : 0));
    };
    auto follow = [&]() {
        const int dx = pointer.x - from.x + keys.x;
        const int dy = pointer.y - from.y + keys.y;
        if (moving)
            place(start.offset(dx, dy));
        else if (edge)
            place(sized_rect(start, edges_of(edge), dx, dy, mm));
    };

    SetCapture(hwnd);
    NestedLoopScope nested_loop;
    struct Running {
        HWND saved = state().size_move;
        explicit Running(HWND h) { state().size_move = h; }
        ~Running() { state().size_move = saved; }
    } running(hwnd);
    MSG msg;
    bool done = false;
    while (!done && IsWindow(hwnd) && GetCapture() == hwnd) {
        if (!GetMessage(&msg)) {
            PostQuitMessage(static_cast<int>(msg.wParam));
            break;
        }
        const UINT m = msg.message;
        if (m == WM_MOUSEMOVE || m == WM_NCMOUSEMOVE) {
            pointer = latest_move(msg.pt);
            follow();
            continue;
        }
        if (m == WM_LBUTTONUP || m == WM_NCLBUTTONUP) {
            done = by_mouse;
            continue;
        }
        if (is_button_down(m)) {
            done = !by_mouse;
            continue;
        }
        if (is_mouse_message(m))
            continue;  // the mouse belongs to the drag
        if (m == WM_KEYDOWN || m == WM_SYSKEYDOWN) {
            const int vk = static_cast<int>(msg.wParam);
            if (vk == VK_ESCAPE) {
                cancelled = true;
                done = true;
            } else if (vk == VK_RETURN) {
                done = true;
            } else if (vk == VK_LEFT || vk == VK_RIGHT || vk == VK_UP || vk == VK_DOWN) {
                const int step = GetKeyState(VK_CONTROL) < 0 ? 1 : 8;
                if (!moving && !edge) {
                    // The first arrow picks the border that the keys move.
                    edge = vk == VK_LEFT    ? WMSZ_LEFT
                           : vk == VK_RIGHT ? WMSZ_RIGHT
                           : vk == VK_UP    ? WMSZ_TOP
                                            : WMSZ_BOTTOM;
                }
                keys.x += vk == VK_LEFT ? -step : vk == VK_RIGHT ? step : 0;
                keys.y += vk == VK_UP ? -step : vk == VK_DOWN ? step : 0;
                follow();
            }
            continue;
        }
        if (m == WM_KEYUP || m == WM_SYSKEYUP || m == WM_CHAR || m == WM_SYSCHAR)
            continue;
        TranslateMessage(&msg);
        DispatchMessage(&msg);
    }
    if (cancelled && (w = get(hwnd)) && w->rect != start) {
        SetWindowPos(hwnd, nullptr, start.left, start.top, start.width(), start.height(),
                     SWP_NOZORDER | SWP_NOACTIVATE);
    }
    if (GetCapture() == hwnd)
        ReleaseCapture();
    if (IsWindow(hwnd))
        SendMessage(hwnd, WM_EXITSIZEMOVE, 0, 0);
}

}  // namespace detail

}  // namespace win
