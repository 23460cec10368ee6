// The default window procedure: the frame in the plain system look (borders, caption bar with
// its buttons, client edge, scroll bars), its hit testing and mouse handling, erasing, text,
// activation and the system commands.

#include <algorithm>
#include <cstring>
#include <vector>

#include "platform/gdi/dc.h"
#include "platform/win/classic_drawing.h"
#include "platform/win/input.h"
#include "platform/win/internal.h"
#include "platform/win/menu.h"
#include "platform/win/message.h"
#include "platform/win/metrics.h"
#include "platform/win/painting.h"
#include "platform/win/scrollbar.h"

namespace win {

using detail::get;
using detail::state;
using detail::Window;

namespace detail {

FrameParts frame_parts(DWORD style, DWORD exstyle) {
    FrameParts f;
    if (style & WS_THICKFRAME) {
        f.border = GetSystemMetrics(SM_CXFRAME);
    } else if ((exstyle & WS_EX_DLGMODALFRAME) || (style & WS_DLGFRAME)) {
        f.border = GetSystemMetrics(SM_CXDLGFRAME);
    } else if (style & WS_BORDER) {
        f.border = GetSystemMetrics(SM_CXBORDER);
    }
    if ((style & WS_CAPTION) == WS_CAPTION) {
        f.caption = GetSystemMetrics((exstyle & WS_EX_TOOLWINDOW) ? SM_CYSMCAPTION : SM_CYCAPTION);
    }
    if (exstyle & WS_EX_CLIENTEDGE)
        f.edge += GetSystemMetrics(SM_CXEDGE);
    if (exstyle & WS_EX_STATICEDGE)
        f.edge += 1;
    f.vscroll = (style & WS_VSCROLL) != 0;
    f.hscroll = (style & WS_HSCROLL) != 0;
    return f;
}

}  // namespace detail

namespace {

// Where the parts of the frame lie, in window coordinates.
struct NcLayout {
    RECT caption;  // the coloured bar (empty without caption)
    RECT close, max, min;
    bool has_close = false;
    bool has_minmax = false;
    RECT vscroll, hscroll, corner;
    RECT edge;  // the client edge's outer rectangle
    RECT client;
    int border = 0;
};

NcLayout layout(DWORD style, DWORD exstyle, int width, int height) {
    NcLayout l;
    const auto f = detail::frame_parts(style, exstyle);
    l.border = f.border;
    RECT inner = RECT{0, 0, width, height}.inflate(-f.border, -f.border);
    if (f.caption > 0) {
        l.caption = {inner.left, inner.top, inner.right, inner.top + f.caption - 1};
        inner.top += f.caption;
        const int bh = std::max(0, l.caption.height() - 4);
        const int bw = bh + 2;
        const int y = l.caption.top + 2;
        int right = l.caption.right - 2;
        if (style & WS_SYSMENU) {
            l.has_close = true;
            l.close = {right - bw, y, right, y + bh};
            right = l.close.left - 2;
            if ((style & (WS_MINIMIZEBOX | WS_MAXIMIZEBOX)) && !(exstyle & WS_EX_TOOLWINDOW)) {
                l.has_minmax = true;
                l.max = {right - bw, y, right, y + bh};
                l.min = {l.max.left - bw, y, l.max.left, y + bh};
            }
        }
    }
    l.edge = inner;
    inner = inner.inflate(-f.edge, -f.edge);
    if (f.hscroll && inner.height() >= GetSystemMetrics(SM_CYHSCROLL)) {
        inner.bottom -= GetSystemMetrics(SM_CYHSCROLL);
        l.hscroll = {inner.left, inner.bottom, inner.right,
                     inner.bottom + GetSystemMetrics(SM_CYHSCROLL)};
    }
    if (f.vscroll && inner.width() >= GetSystemMetrics(SM_CXVSCROLL)) {
        inner.right -= GetSystemMetrics(SM_CXVSCROLL);
        l.vscroll = {inner.right, inner.top, inner.right + GetSystemMetrics(SM_CXVSCROLL),
                     inner.bottom};
        if (!l.hscroll.empty()) {
            l.hscroll.right = inner.right;
            l.corner = {inner.right, inner.bottom, l.vscroll.right, l.hscroll.bottom};
        }
    }
    if (inner.right < inner.left)
        inner.right = inner.left;
    if (inner.bottom < inner.top)
        inner.bottom = inner.top;
    l.client = inner;
    return l;
}

NcLayout layout_of(const Window* w) {
    return layout(w->style, w->exstyle, w->rect.width(), w->rect.height());
}

detail::ScrollBarState* bar_of(Window* w, int bar) {
    if (bar == SB_HORZ)
        return &w->hscroll;
    if (bar == SB_VERT)
        return &w->vscroll;
    return nullptr;
}

bool bar_enabled(const detail::ScrollBarState& b) {
    const int range = b.max - b.min + 1;
    return b.max > b.min && (b.page == 0 || static_cast<int>(b.page) < range);
}

// The thumb's extent along the track (start, end), track given as [t0, t1).
std::pair<int, int> thumb_span(const detail::ScrollBarState& b, int t0, int t1, int arrow) {
    const int len = t1 - t0;
    if (len <= 0 || !bar_enabled(b))
        return {t0, t0};
    const int range = b.max - b.min + 1;
    int thumb =
        b.page ? std::max(8, static_cast<int>(static_cast<int64_t>(len) * b.page / range)) : arrow;
    thumb = std::min(thumb, len);
    const int steps = std::max(1, range - std::max<int>(1, static_cast<int>(b.page)));
    const int pos = std::clamp(b.pos - b.min, 0, steps);
    const int start = t0 + static_cast<int>(static_cast<int64_t>(len - thumb) * pos / steps);
    return {start, start + thumb};
}

void draw_button_face(gdi::DC& dc, RECT r, bool pressed) {
    dc.fill_rect(r, GetSysColor(COLOR_BTNFACE));
    DrawEdge(dc, &r, pressed ? gdi::EDGE_SUNKEN : gdi::EDGE_RAISED, gdi::BF_RECT);
}

void draw_scroll_bar(gdi::DC& dc, const RECT& r, bool vertical, const detail::ScrollBarState& b) {
    const bool enabled = bar_enabled(b);
    const COLORREF glyph = enabled ? GetSysColor(COLOR_BTNTEXT) : GetSysColor(COLOR_GRAYTEXT);
    const int length = vertical ? r.height() : r.width();
    const int arrow = std::min(vertical ? r.width() : r.height(), length / 2);
    RECT a1 = vertical ? RECT{r.left, r.top, r.right, r.top + arrow}
                       : RECT{r.left, r.top, r.left + arrow, r.bottom};
    RECT a2 = vertical ? RECT{r.left, r.bottom - arrow, r.right, r.bottom}
                       : RECT{r.right - arrow, r.top, r.right, r.bottom};
    draw_button_face(dc, a1, false);
    draw_button_face(dc, a2, false);
    DrawArrowGlyph(dc, a1, vertical ? ArrowDirection::Up : ArrowDirection::Left, glyph);
    DrawArrowGlyph(dc, a2, vertical ? ArrowDirection::Down : ArrowDirection::Right, glyph);
    RECT track = vertical ? RECT{r.left, a1.bottom, r.right, a2.top}
                          : RECT{a1.right, r.top, a2.left, r.bottom};
    dc.fill_rect(track, gdi::rgb(224, 224, 224));
    if (enabled) {
        auto [t0, t1] = vertical ? thumb_span(b, track.top, track.bottom, arrow)
                                 : thumb_span(b, track.left, track.right, arrow);
        RECT thumb = vertical ? RECT{r.left, t0, r.right, t1} : RECT{t0, r.top, t1, r.bottom};
        if (!thumb.empty())
            draw_button_face(dc, thumb, false);
    }
}

void draw_caption_glyph(gdi::DC& dc, const RECT& r, LRESULT which, bool enabled, bool maximized) {
    COLORREF c = enabled ? GetSysColor(COLOR_BTNTEXT) : GetSysColor(COLOR_GRAYTEXT);
    const int cx = r.left + r.width() / 2;
    const int cy = r.top + r.height() / 2;
    if (which == HTCLOSE) {
        for (int i = -4; i <= 3; ++i) {
            dc.fill_rect({cx + i - 1, cy + i, cx + i + 1, cy + i + 1}, c);
            dc.fill_rect({cx - i - 1, cy + i, cx - i + 1, cy + i + 1}, c);
        }
    } else if (which == HTMINBUTTON) {
        dc.fill_rect({cx - 4, cy + 3, cx + 3, cy + 5}, c);
    } else if (maximized) {
        dc.frame_rect({cx - 4, cy - 1, cx + 3, cy + 5}, c);
        dc.fill_rect({cx - 4, cy - 1, cx + 3, cy}, c);
        dc.frame_rect({cx - 2, cy - 4, cx + 5, cy + 2}, c);
        dc.fill_rect({cx - 2, cy - 4, cx + 5, cy - 3}, c);
    } else {
        dc.frame_rect({cx - 5, cy - 5, cx + 5, cy + 4}, c);
        dc.fill_rect({cx - 5, cy - 5, cx + 5, cy - 3}, c);
    }
}

bool caption_button_enabled(const Window* w, LRESULT which) {
    if (which == HTCLOSE)
        return (w->style & WS_SYSMENU) && !(w->cls->style & CS_NOCLOSE);
    if (which == HTMINBUTTON)
        return (w->style & WS_MINIMIZEBOX) != 0;
    if (which == HTMAXBUTTON)
        return (w->style & WS_MAXIMIZEBOX) != 0;
    return false;
}

// Which part of a scroll bar a point (window coordinates) is on, as an SB_* request.
int scroll_request(const Window* w, int bar, POINT p) {
    const NcLayout l = layout_of(w);
    const bool vertical = bar == SB_VERT;
    const RECT& r = vertical ? l.vscroll : l.hscroll;
    const int length = vertical ? r.height() : r.width();
    const int arrow = std::min(vertical ? r.width() : r.height(), length / 2);
    const int v = vertical ? p.y : p.x;
    const int t0 = (vertical ? r.top : r.left) + arrow;
    const int t1 = (vertical ? r.bottom : r.right) - arrow;
    if (v < t0)
        return SB_LINEUP;
    if (v >= t1)
        return SB_LINEDOWN;
    auto [a, b] = thumb_span(vertical ? w->vscroll : w->hscroll, t0, t1, arrow);
    if (v < a)
        return SB_PAGEUP;
    if (v >= b)
        return SB_PAGEDOWN;
    return -1;
}

// The caption button under p (window coordinates), or HTNOWHERE.
LRESULT caption_button_at(const NcLayout& l, POINT p) {
    if (l.has_close && l.close.contains(p))
        return HTCLOSE;
    if (l.has_minmax && l.max.contains(p))
        return HTMAXBUTTON;
    if (l.has_minmax && l.min.contains(p))
        return HTMINBUTTON;
    return HTNOWHERE;
}

}  // namespace

namespace detail {

RECT default_client_rect(DWORD style, DWORD exstyle, const RECT& r) {
    return layout(style, exstyle, r.width(), r.height()).client.offset(r.left, r.top);
}

LRESULT default_hit_test(Window* w, POINT screen) {
    const POINT o = origin_on_screen(w);
    const POINT p{screen.x - o.x, screen.y - o.y};
    const RECT whole{0, 0, w->rect.width(), w->rect.height()};
    if (!whole.contains(p))
        return HTNOWHERE;
    if (w->shape && !w->shape->contains(p))
        return HTNOWHERE;
    const NcLayout l = layout_of(w);
    if (w->style & WS_MINIMIZE) {
        // A minimized window is its caption bar: its buttons work, the rest moves it.
        const LRESULT button = caption_button_at(l, p);
        return button != HTNOWHERE ? button : HTCAPTION;
    }
    if (l.client.contains(p))
        return HTCLIENT;
    const RECT inner = whole.inflate(-l.border, -l.border);
    if (!inner.contains(p)) {
        if (!(w->style & WS_THICKFRAME))
            return HTBORDER;
        const int corner = GetSystemMetrics(SM_CYCAPTION);
        const bool left = p.x < corner, right = p.x >= whole.right - corner;
        const bool top = p.y < corner, bottom = p.y >= whole.bottom - corner;
        if (p.y < l.border)
            return left ? HTTOPLEFT : right ? HTTOPRIGHT : HTTOP;
        if (p.y >= whole.bottom - l.border)
            return left ? HTBOTTOMLEFT : right ? HTBOTTOMRIGHT : HTBOTTOM;
        if (p.x < l.border)
            return top ? HTTOPLEFT : bottom ? HTBOTTOMLEFT : HTLEFT;
        return top ? HTTOPRIGHT : bottom ? HTBOTTOMRIGHT : HTRIGHT;
    }
    if (!l.caption.empty() && p.y < l.caption.bottom + 1 && p.y >= l.caption.top) {
        if (const LRESULT button = caption_button_at(l, p); button != HTNOWHERE)
            return button;
        if ((w->style & WS_SYSMENU) && p.x < l.caption.left + l.caption.height())
            return HTSYSMENU;
        return HTCAPTION;
    }
    if (l.vscroll.contains(p))
        return HTVSCROLL;
    if (l.hscroll.contains(p))
        return HTHSCROLL;
    if (l.corner.contains(p))
        return (w->style & WS_THICKFRAME) ? HTSIZE : HTBORDER;
    return HTBORDER;
}

void default_nc_paint(Window* w, HDC into) {
    const NcLayout l = layout_of(w);
    const RECT whole{0, 0, w->rect.width(), w->rect.height()};
    if (l.client == whole)
        return;  // no frame at all
    HDC dc = into ? into : GetWindowDC(w->handle);
    if (!dc)
        return;
    // Nothing below draws inside the client rectangle, so no clipping is needed for it.
    RECT r = whole;
    if (l.border >= 3) {
        DrawEdge(*dc, &r, gdi::EDGE_RAISED, gdi::BF_RECT | gdi::BF_ADJUST);
        for (int i = 2; i < l.border; ++i) {
            dc->frame_rect(r,
                           GetSysColor(w->nc_active ? COLOR_ACTIVEBORDER : COLOR_INACTIVEBORDER));
            r = r.inflate(-1, -1);
        }
    } else if (l.border == 1) {
        dc->frame_rect(r, GetSysColor(COLOR_WINDOWFRAME));
    }
    if (!l.caption.empty()) {
        const bool active = w->nc_active;
        dc->fill_rect(l.caption, GetSysColor(active ? COLOR_ACTIVECAPTION : COLOR_INACTIVECAPTION));
        dc->fill_rect({l.caption.left, l.caption.bottom, l.caption.right, l.caption.bottom + 1},
                      GetSysColor(COLOR_BTNFACE));
        RECT text = l.caption;
        text.left += 4;
        if (l.has_close)
            text.right = (l.has_minmax ? l.min.left : l.close.left) - 2;
        dc->select_font(GetCaptionFont());
        dc->set_bk_mode(gdi::BkMode::Transparent);
        dc->set_text_color(GetSysColor(active ? COLOR_CAPTIONTEXT : COLOR_INACTIVECAPTIONTEXT));
        if (!w->text.empty() && !text.empty()) {
            dc->draw_text(
                w->text, text,
                gdi::DT_SINGLELINE | gdi::DT_VCENTER | gdi::DT_NOPREFIX | gdi::DT_END_ELLIPSIS);
        }
        const bool zoomed = (w->style & WS_MAXIMIZE) != 0;
        if (l.has_minmax) {
            draw_button_face(*dc, l.min, w->nc_pressed == HTMINBUTTON);
            // A minimized window's minimize button restores it, and shows so.
            const bool iconic = (w->style & WS_MINIMIZE) != 0;
            draw_caption_glyph(*dc, l.min, iconic ? HTMAXBUTTON : HTMINBUTTON,
                               caption_button_enabled(w, HTMINBUTTON), iconic);
            draw_button_face(*dc, l.max, w->nc_pressed == HTMAXBUTTON);
            draw_caption_glyph(*dc, l.max, HTMAXBUTTON, caption_button_enabled(w, HTMAXBUTTON),
                               zoomed);
        }
        if (l.has_close) {
            draw_button_face(*dc, l.close, w->nc_pressed == HTCLOSE);
            draw_caption_glyph(*dc, l.close, HTCLOSE, caption_button_enabled(w, HTCLOSE), false);
        }
    }
    if (l.edge != l.client && (w->exstyle & (WS_EX_CLIENTEDGE | WS_EX_STATICEDGE))) {
        RECT e = l.edge;
        DrawEdge(*dc, &e, (w->exstyle & WS_EX_CLIENTEDGE) ? gdi::EDGE_SUNKEN : gdi::BDR_SUNKENOUTER,
                 gdi::BF_RECT);
    }
    if (!l.vscroll.empty())
        draw_scroll_bar(*dc, l.vscroll, true, w->vscroll);
    if (!l.hscroll.empty())
        draw_scroll_bar(*dc, l.hscroll, false, w->hscroll);
    if (!l.corner.empty())
        dc->fill_rect(l.corner, GetSysColor(COLOR_BTNFACE));
    if (!into)
        ReleaseDC(w->handle, dc);
}

}  // namespace detail

namespace {

void frame_changed(Window* w) {
    if (detail::visible_chain(w)) {
        w->ncpaint_pending = true;
        state().paint_maybe = true;
    }
}

size_t utf8_cut(const std::string& s, size_t max_bytes) {
    if (s.size() <= max_bytes)
        return s.size();
    size_t n = max_bytes;
    while (n > 0 && (static_cast<unsigned char>(s[n]) & 0xC0) == 0x80)
        --n;
    return n;
}

LRESULT nc_button_down(Window* w, WPARAM hit, LPARAM lParam) {
    HWND h = w->handle;
    switch (hit) {
        case HTCLOSE:
        case HTMINBUTTON:
        case HTMAXBUTTON:
            if (caption_button_enabled(w, static_cast<LRESULT>(hit))) {
                // The button-up comes here wherever it happens, so a press that slides off and
                // is released elsewhere is cancelled rather than left pending.
                w->nc_pressed = static_cast<LRESULT>(hit);
                frame_changed(w);
                SetCapture(h);
            }
            return 0;
        case HTVSCROLL:
        case HTHSCROLL: {
            const int bar = hit == HTVSCROLL ? SB_VERT : SB_HORZ;
            if (!bar_enabled(bar == SB_VERT ? w->vscroll : w->hscroll))
                return 0;
            POINT p = MAKEPOINT(lParam);
            const POINT o = detail::origin_on_screen(w);
            p = {p.x - o.x, p.y - o.y};
            const int req = scroll_request(w, bar, p);
            if (req < 0)
                return 0;
            const UINT msg = bar == SB_VERT ? WM_VSCROLL : WM_HSCROLL;
            SendMessage(h, msg, MAKEWPARAM(req, 0), 0);
            if (get(h))
                SendMessage(h, msg, MAKEWPARAM(SB_ENDSCROLL, 0), 0);
            return 0;
        }
        default:
            return 0;
    }
}

// Ends a caption-button press released at `hit` (screen point `lParam`): the button comes up,
// the capture taken for the press is given back, and the button acts only when released over
// itself.
LRESULT nc_button_up(Window* w, WPARAM hit, LPARAM lParam) {
    const LRESULT pressed = w->nc_pressed;
    if (!pressed)
        return 0;
    const HWND h = w->handle;
    w->nc_pressed = 0;
    frame_changed(w);
    if (GetCapture() == h)
        ReleaseCapture();
    if (static_cast<LRESULT>(hit) != pressed || !(w = get(h)))
        return 0;
    WPARAM cmd = SC_CLOSE;
    if (pressed == HTMINBUTTON)
        cmd = (w->style & WS_MINIMIZE) ? SC_RESTORE : SC_MINIMIZE;
    if (pressed == HTMAXBUTTON)
        cmd = (w->style & WS_MAXIMIZE) ? SC_RESTORE : SC_MAXIMIZE;
    return SendMessage(h, WM_SYSCOMMAND, cmd, lParam);
}

// WM_PRINT: the frame, the background and the client area (and the children) drawn into the
// given DC, which stands for the window's top-left corner.
LRESULT print_window(HWND hwnd, HDC dc, LPARAM flags) {
    Window* w = get(hwnd);
    if (!w || !dc)
        return 0;
    if ((flags & PRF_CHECKVISIBLE) && !IsWindowVisible(hwnd))
        return 0;
    if (flags & PRF_NONCLIENT)
        detail::default_nc_paint(w, dc);
    const RECT client = w->client;
    const int saved = dc->save();
    dc->intersect_clip_rect(client);
    dc->offset_viewport_origin(client.left, client.top);
    if (flags & PRF_ERASEBKGND)
        SendMessage(hwnd, WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0);
    if ((flags & PRF_CLIENT) && IsWindow(hwnd))
        SendMessage(hwnd, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc), flags);
    if ((flags & PRF_CHILDREN) && (w = get(hwnd))) {
        // Bottom to top, so the upper children end up on top.
        std::vector<HWND> children;
        for (auto it = w->children.rbegin(); it != w->children.rend(); ++it)
            children.push_back((*it)->handle);
        for (HWND c : children) {
            Window* cw = get(c);
            if (!cw || !(cw->style & WS_VISIBLE))
                continue;
            const int inner = dc->save();
            dc->intersect_clip_rect(cw->rect);
            dc->offset_viewport_origin(cw->rect.left, cw->rect.top);
            SendMessage(c, WM_PRINT, reinterpret_cast<WPARAM>(dc), flags & ~PRF_CHECKVISIBLE);
            dc->restore(inner);
        }
    }
    dc->restore(saved);
    return 0;
}

// Opens the window menu of a top-level window at a screen point; the chosen command comes
// back as WM_SYSCOMMAND.
void track_system_menu(HWND hwnd, POINT at) {
    HMENU menu = GetSystemMenu(hwnd, false);
    if (menu)
        TrackPopupMenu(menu, TPM_RIGHTBUTTON, at.x, at.y, 0, hwnd, nullptr);
}

bool is_context_menu_key(WPARAM vk) {
    return (vk == static_cast<WPARAM>(VK_F10) && GetKeyState(VK_SHIFT) < 0) ||
           vk == static_cast<WPARAM>(VK_APPS);
}

}  // namespace

LRESULT DefWindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    Window* w = get(hwnd);
    if (!w)
        return 0;
    auto& s = state();
    switch (msg) {
        case WM_NCCREATE: {
            auto* cs = reinterpret_cast<const CREATESTRUCT*>(lParam);
            if (cs && cs->lpszName)
                w->text = cs->lpszName;
            return TRUE;
        }
        case WM_NCCALCSIZE: {
            RECT* r = wParam ? &reinterpret_cast<NCCALCSIZE_PARAMS*>(lParam)->rgrc[0]
                             : reinterpret_cast<RECT*>(lParam);
            if (r && !w->parent && (w->style & WS_MINIMIZE))
                *r = {r->left, r->top, r->left, r->top};  // a caption bar has no client area
            else if (r)
                *r = detail::default_client_rect(w->style, w->exstyle, *r);
            return 0;
        }
        case WM_NCHITTEST:
            return detail::default_hit_test(w, MAKEPOINT(lParam));
        case WM_NCPAINT:
            detail::default_nc_paint(w);
            return 0;
        case WM_NCACTIVATE:
            w->nc_active = wParam != 0;
            if ((w->style & WS_CAPTION) == WS_CAPTION)
                frame_changed(w);
            return TRUE;
        case WM_NCLBUTTONDOWN:
            if (!w->parent && wParam == static_cast<WPARAM>(HTCAPTION) &&
                !(w->style & WS_MAXIMIZE)) {
                // Dragging the caption moves the window until the button comes up.
                return SendMessage(hwnd, WM_SYSCOMMAND, SC_DRAGMOVE, lParam);
            }
            if (!w->parent && wParam >= static_cast<WPARAM>(HTLEFT) &&
                wParam <= static_cast<WPARAM>(HTBOTTOMRIGHT) &&
                !(w->style & (WS_MAXIMIZE | WS_MINIMIZE))) {
                // Dragging a border or corner (as the hit test, default or the window's own,
                // reports it) resizes the window until the button comes up.
                return SendMessage(hwnd, WM_SYSCOMMAND,
                                   SC_SIZE + (wParam - static_cast<WPARAM>(HTLEFT) + WMSZ_LEFT),
                                   lParam);
            }
            return nc_button_down(w, wParam, lParam);
        case WM_MOUSEMOVE:
            return 0;
        case WM_LBUTTONUP:
            if (w->nc_pressed) {
                // A caption button holds the capture for its press: the release comes here.
                POINT p = MAKEPOINT(lParam);
                ClientToScreen(hwnd, &p);
                const LPARAM at = MAKELPARAM(p.x, p.y);
                const LRESULT hit = SendMessage(hwnd, WM_NCHITTEST, 0, at);
                if (!(w = get(hwnd)))
                    return 0;
                return nc_button_up(w, static_cast<WPARAM>(hit), at);
            }
            return 0;
        case WM_CAPTURECHANGED:
            if (w->nc_pressed) {
                w->nc_pressed = 0;
                frame_changed(w);
            }
            return 0;
        case WM_NCLBUTTONUP:
            return nc_button_up(w, wParam, lParam);
        case WM_NCLBUTTONDBLCLK:
            if (wParam == HTSYSMENU)
                return SendMessage(hwnd, WM_SYSCOMMAND, SC_CLOSE, lParam);
            if (wParam == static_cast<WPARAM>(HTCAPTION) && (w->style & WS_MINIMIZE))
                return SendMessage(hwnd, WM_SYSCOMMAND, SC_RESTORE, lParam);
            if (wParam == HTCAPTION && (w->style & WS_MAXIMIZEBOX)) {
                return SendMessage(hwnd, WM_SYSCOMMAND,
                                   (w->style & WS_MAXIMIZE) ? SC_RESTORE : SC_MAXIMIZE, lParam);
            }
            return nc_button_down(w, wParam, lParam);
        case WM_SYSCOMMAND:
            switch (wParam & 0xFFF0) {
                case SC_CLOSE:
                    return SendMessage(hwnd, WM_CLOSE, 0, 0);
                case SC_MOVE:
                case SC_SIZE:
                    detail::size_move_loop(hwnd, wParam);
                    return 0;
                case SC_MINIMIZE:
                    ShowWindow(hwnd, SW_MINIMIZE);
                    return 0;
                case SC_MAXIMIZE:
                    ShowWindow(hwnd, SW_SHOWMAXIMIZED);
                    return 0;
                case SC_RESTORE:
                    ShowWindow(hwnd, SW_RESTORE);
                    return 0;
                case SC_KEYMENU:
                    if (lParam == ' ') {
                        // Under the caption's left end, where the window menu's icon sits.
                        const auto f = detail::frame_parts(w->style, w->exstyle);
                        track_system_menu(hwnd, POINT{w->rect.left + f.border,
                                                      w->rect.top + f.border + f.caption});
                    }
                    return 0;
                default:
                    return 0;
            }
        case WM_PRINT:
            return print_window(hwnd, reinterpret_cast<HDC>(wParam), lParam);
        case WM_RBUTTONUP: {
            // The right button's release asks for the context menu, at the pointer.
            POINT p = MAKEPOINT(lParam);
            ClientToScreen(hwnd, &p);
            return SendMessage(hwnd, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(hwnd),
                               MAKELPARAM(p.x, p.y));
        }
        case WM_NCRBUTTONUP:
            return SendMessage(hwnd, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(hwnd), lParam);
        case WM_KEYDOWN:
            // Shift+F10 and the menu key ask for the context menu of the focus (lParam -1).
            if (is_context_menu_key(wParam))
                return SendMessage(hwnd, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(hwnd), -1);
            return 0;
        case WM_CONTEXTMENU:
            // Children leave it to their parent; a top-level window opens its window menu for
            // a click on its caption.
            if (w->parent)
                return SendMessage(w->parent->handle, WM_CONTEXTMENU, wParam, lParam);
            if (lParam != -1 && (w->style & WS_SYSMENU)) {
                const LRESULT hit = SendMessage(hwnd, WM_NCHITTEST, 0, lParam);
                if (hit == HTCAPTION || hit == HTSYSMENU)
                    track_system_menu(hwnd, MAKEPOINT(lParam));
            }
            return 0;
        case WM_SYSCHAR:
            // Alt+Space opens the window menu.
            if (wParam == ' ' && !w->parent && (w->style & WS_SYSMENU))
                return SendMessage(hwnd, WM_SYSCOMMAND, SC_KEYMENU, ' ');
            return 0;
        case WM_CLOSE:
            DestroyWindow(hwnd);
            return 0;
        case WM_SETTEXT: {
            const char* t = reinterpret_cast<const char*>(lParam);
            w->text = t ? t : "";
            if (!w->parent && s.driver)
                s.driver->window_text_changed(hwnd, w->text);
            if ((w->style & WS_CAPTION) == WS_CAPTION)
                frame_changed(w);
            return TRUE;
        }
        case WM_GETTEXT: {
            char* buf = reinterpret_cast<char*>(lParam);
            if (!buf || wParam == 0)
                return 0;
            const size_t n = utf8_cut(w->text, static_cast<size_t>(wParam) - 1);
            std::memcpy(buf, w->text.data(), n);
            buf[n] = 0;
            return static_cast<LRESULT>(n);
        }
        case WM_GETTEXTLENGTH:
            return static_cast<LRESULT>(w->text.size());
        case WM_ERASEBKGND: {
            COLORREF c;
            if (!BrushColor(w->cls->background, &c))
                return 0;
            HDC dc = reinterpret_cast<HDC>(wParam);
            if (!dc)
                return 0;
            dc->fill_rect(RECT{0, 0, w->client.width(), w->client.height()}, c);
            return 1;
        }
        case WM_CTLCOLORMSGBOX:
        case WM_CTLCOLOREDIT:
        case WM_CTLCOLORLISTBOX:
        case WM_CTLCOLORBTN:
        case WM_CTLCOLORDLG:
        case WM_CTLCOLORSCROLLBAR:
        case WM_CTLCOLORSTATIC: {
            const bool window_like = msg == WM_CTLCOLOREDIT || msg == WM_CTLCOLORLISTBOX;
            if (HDC dc = reinterpret_cast<HDC>(wParam)) {
                dc->set_text_color(GetSysColor(window_like ? COLOR_WINDOWTEXT : COLOR_BTNTEXT));
                dc->set_bk_color(GetSysColor(window_like ? COLOR_WINDOW : COLOR_BTNFACE));
            }
            return GetSysColorBrush(window_like ? COLOR_WINDOW : COLOR_BTNFACE);
        }
        case WM_PAINT: {
            PAINTSTRUCT ps;
            BeginPaint(hwnd, &ps);
            EndPaint(hwnd, &ps);
            return 0;
        }
        case WM_SETFONT:
            w->font = reinterpret_cast<HFONT>(wParam);
            if (LOWORD(static_cast<uintptr_t>(lParam)))
                InvalidateRect(hwnd, nullptr, true);
            return 0;
        case WM_GETFONT:
            return reinterpret_cast<LRESULT>(w->font);
        case WM_SETREDRAW:
            // As in Win32: drawing off hides the window without telling anybody; on shows it
            // again, and the caller repaints.
            if (wParam) {
                w->style |= WS_VISIBLE;
                s.paint_maybe = true;
            } else {
                w->style &= ~WS_VISIBLE;
            }
            detail::layout_changed();
            return 0;
        case WM_MOUSEACTIVATE:
            if (w->parent) {
                LRESULT r = SendMessage(w->parent->handle, WM_MOUSEACTIVATE, wParam, lParam);
                if (r)
                    return r;
            }
            return MA_ACTIVATE;
        case WM_ACTIVATE:
            if (LOWORD(wParam) != WA_INACTIVE && !(w->style & WS_MINIMIZE))
                SetFocus(hwnd);
            return 0;
        case WM_WINDOWPOSCHANGED: {
            auto* wp = reinterpret_cast<const WINDOWPOS*>(lParam);
            if (!wp)
                return 0;
            const UINT f = wp->flags;
            if (!(f & SWP_NOCLIENTMOVE)) {
                SendMessage(hwnd, WM_MOVE, 0,
                            MAKELPARAM(w->rect.left + w->client.left, w->rect.top + w->client.top));
            }
            if (!(f & SWP_NOCLIENTSIZE) && (w = get(hwnd))) {
                WPARAM type = (w->style & WS_MINIMIZE)   ? SIZE_MINIMIZED
                              : (w->style & WS_MAXIMIZE) ? SIZE_MAXIMIZED
                                                         : SIZE_RESTORED;
                SendMessage(hwnd, WM_SIZE, type, MAKELPARAM(w->client.width(), w->client.height()));
            }
            return 0;
        }
        case WM_SYSKEYDOWN:
            if (is_context_menu_key(wParam))
                return SendMessage(hwnd, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(hwnd), -1);
            if (wParam == static_cast<WPARAM>(VK_F4) && (lParam & KF_ALTDOWN_BIT)) {
                HWND root = GetAncestor(hwnd, GA_ROOT);
                PostMessage(root, WM_SYSCOMMAND, SC_CLOSE, 0);
            }
            return 0;
        case WM_MOUSEWHEEL:
            if (w->parent)
                return SendMessage(w->parent->handle, WM_MOUSEWHEEL, wParam, lParam);
            return 0;
        case WM_CANCELMODE:
            if (s.capture == hwnd)
                ReleaseCapture();
            return 0;
        default:
            return 0;
    }
}

// ---- Scroll bars of a window -----------------------------------------------------------------

int SetScrollInfo(HWND hwnd, int bar, const SCROLLINFO* info, bool redraw) {
    Window* w = get(hwnd);
    if (!w || !info)
        return 0;
    detail::ScrollBarState* b = bar_of(w, bar);
    if (!b)
        return 0;
    if (info->fMask & SIF_RANGE) {
        b->min = info->nMin;
        b->max = std::max(info->nMin, info->nMax);
    }
    if (info->fMask & SIF_PAGE)
        b->page = info->nPage;
    if (info->fMask & SIF_POS)
        b->pos = info->nPos;
    const int range = b->max - b->min + 1;
    b->page = std::min<UINT>(b->page, static_cast<UINT>(std::max(0, range)));
    const int top = b->max - std::max<int>(static_cast<int>(b->page) - 1, 0);
    b->pos = std::clamp(b->pos, b->min, std::max(b->min, top));
    if (redraw)
        frame_changed(w);
    return b->pos;
}

bool GetScrollInfo(HWND hwnd, int bar, SCROLLINFO* info) {
    Window* w = get(hwnd);
    if (!w || !info)
        return false;
    detail::ScrollBarState* b = bar_of(w, bar);
    if (!b)
        return false;
    if (info->fMask & SIF_RANGE) {
        info->nMin = b->min;
        info->nMax = b->max;
    }
    if (info->fMask & SIF_PAGE)
        info->nPage = b->page;
    if (info->fMask & SIF_POS)
        info->nPos = b->pos;
    if (info->fMask & SIF_TRACKPOS)
        info->nTrackPos = b->pos;
    return true;
}

bool SetScrollRange(HWND hwnd, int bar, int minPos, int maxPos, bool redraw) {
    SCROLLINFO si;
    si.fMask = SIF_RANGE;
    si.nMin = minPos;
    si.nMax = maxPos;
    return get(hwnd) && (SetScrollInfo(hwnd, bar, &si, redraw), true);
}

bool GetScrollRange(HWND hwnd, int bar, int* minPos, int* maxPos) {
    SCROLLINFO si;
    si.fMask = SIF_RANGE;
    if (!GetScrollInfo(hwnd, bar, &si))
        return false;
    if (minPos)
        *minPos = si.nMin;
    if (maxPos)
        *maxPos = si.nMax;
    return true;
}

int SetScrollPos(HWND hwnd, int bar, int pos, bool redraw) {
    const int old = GetScrollPos(hwnd, bar);
    SCROLLINFO si;
    si.fMask = SIF_POS;
    si.nPos = pos;
    SetScrollInfo(hwnd, bar, &si, redraw);
    return old;
}

int GetScrollPos(HWND hwnd, int bar) {
    SCROLLINFO si;
    si.fMask = SIF_POS;
    return GetScrollInfo(hwnd, bar, &si) ? si.nPos : 0;
}

bool ShowScrollBar(HWND hwnd, int bar, bool show) {
    Window* w = get(hwnd);
    if (!w)
        return false;
    DWORD bits = bar == SB_HORZ   ? WS_HSCROLL
                 : bar == SB_VERT ? WS_VSCROLL
                 : bar == SB_BOTH ? (WS_HSCROLL | WS_VSCROLL)
                                  : 0;
    if (!bits)
        return false;
    const DWORD style = show ? (w->style | bits) : (w->style & ~bits);
    if (style == w->style)
        return true;
    w->style = style;
    detail::layout_changed();
    SetWindowPos(hwnd, nullptr, 0, 0, 0, 0,
                 SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    return true;
}

}  // namespace win
