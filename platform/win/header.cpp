#include "platform/win/header.h"

#include <algorithm>
#include <cstring>
#include <limits>
#include <memory>

#include "platform/win/classic_drawing.h"
#include "platform/win/control_states.h"
#include "platform/win/hot_part.h"
#include "platform/win/input.h"
#include "platform/win/message.h"
#include "platform/win/metrics.h"
#include "platform/win/painting.h"
#include "platform/win/styles.h"
#include "platform/win/window.h"

namespace win {

namespace {

constexpr int kDividerSlack = 3;
constexpr int kTextInset = 6;

int ClampToInt(int64_t v) {
    return static_cast<int>(std::clamp<int64_t>(v, std::numeric_limits<int>::min() / 2,
                                                std::numeric_limits<int>::max() / 2));
}

}  // namespace

RECT HeaderItemRect(const HeaderState& s, const RECT& client, int i) {
    if (i < 0 || i >= static_cast<int>(s.items.size()))
        return {};
    int64_t left = client.left;
    for (int k = 0; k < i; ++k)
        left += s.items[k].width;
    const int64_t right = left + s.items[i].width;
    return {ClampToInt(left), client.top, ClampToInt(right), client.bottom};
}

int HeaderHitTest(const HeaderState& s, const RECT& client, POINT p, UINT* flags) {
    UINT f = HHT_NOWHERE;
    int hit = -1;
    if (p.y >= client.top && p.y < client.bottom) {
        int64_t left = client.left;
        for (int i = 0; i < static_cast<int>(s.items.size()); ++i) {
            const int64_t right = left + s.items[i].width;
            // The divider belongs to the section on its left, so even a section of no width
            // can be pulled open again.
            if (p.x >= right - kDividerSlack && p.x < right + kDividerSlack) {
                hit = i;
                f = HHT_ONDIVIDER;
            } else if (f != HHT_ONDIVIDER && p.x >= left && p.x < right) {
                hit = i;
                f = HHT_ONHEADER;
            }
            left = right;
        }
        if (hit < 0 && p.x >= left)
            f = HHT_TORIGHT;
    }
    if (flags)
        *flags = f;
    return hit;
}

int HeaderHeight(const gdi::Font& font) {
    gdi::Bitmap scratch(1, 1);
    gdi::DC dc(scratch);
    dc.select_font(font);
    return dc.get_text_metrics().height + 6;
}

void DrawHeader(gdi::DC& dc, const RECT& client, const HeaderState& s, const gdi::Font& font,
                bool enabled) {
    if (client.empty())
        return;
    dc.fill_rect(client, GetSysColor(COLOR_BTNFACE));
    dc.select_font(font);
    dc.set_bk_mode(gdi::BkMode::Transparent);
    dc.set_text_color(GetSysColor(enabled ? COLOR_BTNTEXT : COLOR_GRAYTEXT));
    int right_end = client.left;
    for (int i = 0; i < static_cast<int>(s.items.size()); ++i) {
        RECT r = HeaderItemRect(s, client, i);
        right_end = std::max(right_end, r.right);
        if (r.empty() || r.left >= client.right)
            continue;
        const bool down = s.pressed == i && s.pressed_in;
        RECT edge = r;
        DrawEdge(dc, &edge, down ? gdi::BDR_SUNKENOUTER : gdi::EDGE_RAISED,
                 gdi::BF_RECT | (down ? gdi::BF_FLAT : 0u));
        const int shift = down ? 1 : 0;
        const RECT text{r.left + kTextInset + shift, r.top + shift, r.right - kTextInset + shift,
                        r.bottom + shift};
        unsigned fmt =
            gdi::DT_SINGLELINE | gdi::DT_VCENTER | gdi::DT_END_ELLIPSIS | gdi::DT_NOPREFIX;
        const int just = s.items[i].fmt & HDF_JUSTIFYMASK;
        fmt |= just == HDF_RIGHT ? gdi::DT_RIGHT : just == HDF_CENTER ? gdi::DT_CENTER : 0u;
        if (!text.empty())
            dc.draw_text(s.items[i].text, text, fmt);
    }
    if (right_end < client.right) {
        RECT rest{right_end, client.top, client.right, client.bottom};
        DrawEdge(dc, &rest, gdi::EDGE_RAISED, gdi::BF_RECT);
    }
}

namespace {

void Notify(HWND hwnd, UINT code, int item, const HeaderState& s) {
    HWND parent = GetParent(hwnd);
    if (!parent)
        return;
    HDITEM it;
    if (item >= 0 && item < static_cast<int>(s.items.size())) {
        it.mask = HDI_WIDTH | HDI_TEXT | HDI_FORMAT | HDI_LPARAM;
        it.cxy = s.items[item].width;
        it.pszText = s.items[item].text.c_str();
        it.fmt = s.items[item].fmt;
        it.lParam = s.items[item].data;
    }
    NMHEADER nm;
    nm.hdr.hwndFrom = hwnd;
    nm.hdr.idFrom = static_cast<UINT_PTR>(GetWindowLongPtr(hwnd, GWLP_ID));
    nm.hdr.code = code;
    nm.iItem = item;
    nm.pitem = &it;
    SendMessage(parent, WM_NOTIFY, nm.hdr.idFrom, reinterpret_cast<LPARAM>(&nm));
}

void Apply(HeaderItem& item, const HDITEM& in) {
    if (in.mask & HDI_WIDTH)
        item.width = std::max(0, in.cxy);
    if (in.mask & HDI_TEXT)
        item.text = in.pszText ? in.pszText : "";
    if (in.mask & HDI_FORMAT)
        item.fmt = in.fmt;
    if (in.mask & HDI_LPARAM)
        item.data = in.lParam;
}

gdi::Font FontOf(HWND hwnd) {
    if (auto f = reinterpret_cast<HFONT>(SendMessage(hwnd, WM_GETFONT, 0, 0)))
        return *f;
    return GetDefaultGuiFont();
}

}  // namespace

bool HandleHeaderMessage(HWND hwnd, HeaderState& s, UINT msg, WPARAM wParam, LPARAM lParam,
                         LRESULT& result, HeaderOutcome& out) {
    result = 0;
    out = {};
    const int count = static_cast<int>(s.items.size());
    const auto index = static_cast<intptr_t>(wParam);
    const bool valid = index >= 0 && index < count;
    switch (msg) {
        case HDM_GETITEMCOUNT:
            result = count;
            return true;
        case HDM_INSERTITEM: {
            if (!lParam) {
                result = -1;
                return true;
            }
            HeaderItem item;
            Apply(item, *reinterpret_cast<const HDITEM*>(lParam));
            const intptr_t at = std::clamp<intptr_t>(index, 0, count);
            s.items.insert(s.items.begin() + at, std::move(item));
            for (int* i : {&s.hot, &s.pressed, &s.tracking})
                if (*i >= at)
                    ++*i;
            result = at;
            out.repaint = true;
            return true;
        }
        case HDM_DELETEITEM:
            if (!valid)
                return true;
            s.items.erase(s.items.begin() + index);
            for (int* i : {&s.hot, &s.pressed, &s.tracking})
                *i = *i == index ? -1 : *i > index ? *i - 1 : *i;
            result = TRUE;
            out.repaint = true;
            return true;
        case HDM_GETITEM: {
            if (!valid || !lParam)
                return true;
            auto* it = reinterpret_cast<HDITEM*>(lParam);
            const HeaderItem& item = s.items[index];
            if (it->mask & HDI_WIDTH)
                it->cxy = item.width;
            if (it->mask & HDI_FORMAT)
                it->fmt = item.fmt;
            if (it->mask & HDI_LPARAM)
                it->lParam = item.data;
            if ((it->mask & HDI_TEXT) && it->pszText && it->cchTextMax > 0) {
                char* buf = const_cast<char*>(it->pszText);
                const size_t n =
                    std::min(item.text.size(), static_cast<size_t>(it->cchTextMax - 1));
                std::memcpy(buf, item.text.data(), n);
                buf[n] = '\0';
            }
            result = TRUE;
            return true;
        }
        case HDM_SETITEM:
            if (!valid || !lParam)
                return true;
            Apply(s.items[index], *reinterpret_cast<const HDITEM*>(lParam));
            result = TRUE;
            out.repaint = true;
            return true;
        case HDM_LAYOUT: {
            auto* layout = reinterpret_cast<HDLAYOUT*>(lParam);
            if (!layout || !layout->prc || !layout->pwpos)
                return true;
            RECT& area = *layout->prc;
            const int height =
                std::clamp(HeaderHeight(FontOf(hwnd)), 0, std::max(0, area.height()));
            *layout->pwpos = {hwnd,   nullptr, area.left, area.top, std::max(0, area.width()),
                              height, 0};
            area.top += height;
            result = TRUE;
            return true;
        }
        case HDM_HITTEST: {
            auto* info = reinterpret_cast<HDHITTESTINFO*>(lParam);
            if (!info) {
                result = -1;
                return true;
            }
            info->iItem = HeaderHitTest(s, GetClientRect(hwnd), info->pt, &info->flags);
            result = info->iItem;
            return true;
        }
        case HDM_GETITEMRECT:
            if (!valid || !lParam)
                return true;
            *reinterpret_cast<RECT*>(lParam) = HeaderItemRect(s, GetClientRect(hwnd), index);
            result = TRUE;
            return true;
        case WM_LBUTTONDOWN: {
            UINT flags = 0;
            const int hit = HeaderHitTest(s, GetClientRect(hwnd), MAKEPOINT(lParam), &flags);
            if (hit < 0)
                return true;
            if (flags == HHT_ONDIVIDER) {
                s.tracking = hit;
                SetCapture(hwnd);
                Notify(hwnd, HDN_BEGINTRACK, hit, s);
            } else if (GetWindowLongPtr(hwnd, GWL_STYLE) & HDS_BUTTONS) {
                s.pressed = hit;
                s.pressed_in = true;
                SetCapture(hwnd);
                out.repaint = true;
            }
            return true;
        }
        case WM_LBUTTONDBLCLK: {
            UINT flags = 0;
            const int hit = HeaderHitTest(s, GetClientRect(hwnd), MAKEPOINT(lParam), &flags);
            if (hit >= 0)
                Notify(hwnd, flags == HHT_ONDIVIDER ? HDN_DIVIDERDBLCLICK : HDN_ITEMDBLCLICK, hit,
                       s);
            return true;
        }
        case WM_MOUSEMOVE: {
            const RECT client = GetClientRect(hwnd);
            const POINT p = MAKEPOINT(lParam);
            if (s.tracking >= 0 && s.tracking < count) {
                const RECT r = HeaderItemRect(s, client, s.tracking);
                const int width = std::max(0, p.x - r.left);
                if (width != s.items[s.tracking].width) {
                    s.items[s.tracking].width = width;
                    out.repaint = true;
                    Notify(hwnd, HDN_TRACK, s.tracking, s);
                }
                return true;
            }
            UINT flags = 0;
            const int hit = HeaderHitTest(s, client, p, &flags);
            if (s.pressed >= 0) {
                const bool in = hit == s.pressed && flags == HHT_ONHEADER;
                out.repaint = in != s.pressed_in;
                s.pressed_in = in;
                return true;
            }
            out.repaint = detail::MoveHotPart(hwnd, s.hot, flags == HHT_ONHEADER ? hit : -1);
            return true;
        }
        case WM_MOUSELEAVE:
            out.repaint = detail::LeaveHotPart(s.hot, -1);
            return true;
        case WM_LBUTTONUP:
        case WM_CAPTURECHANGED: {
            const int tracked = s.tracking;
            const int pressed = s.pressed;
            const bool click = msg == WM_LBUTTONUP && pressed >= 0 && s.pressed_in;
            if (tracked < 0 && pressed < 0)
                return msg == WM_LBUTTONUP;
            s.tracking = -1;
            s.pressed = -1;
            s.pressed_in = false;
            out.repaint = true;
            if (msg == WM_LBUTTONUP && GetCapture() == hwnd)
                ReleaseCapture();
            if (tracked >= 0 && tracked < static_cast<int>(s.items.size())) {
                out.resized = tracked;
                Notify(hwnd, HDN_ENDTRACK, tracked, s);
                if (IsWindow(hwnd))
                    Notify(hwnd, HDN_ITEMCHANGED, tracked, s);
            }
            if (click && IsWindow(hwnd)) {
                out.clicked = pressed;
                Notify(hwnd, HDN_ITEMCLICK, pressed, s);
            }
            return true;
        }
        case WM_ENABLE:
            out.repaint = true;
            return false;
        case WM_DESTROY:
            // The mouse's hold and light belong to the window: a window made anew for the same
            // sections starts with none lit, held or dragged.
            s.hot = -1;
            s.pressed = -1;
            s.pressed_in = false;
            s.tracking = -1;
            return false;
        default:
            return false;
    }
}

namespace detail {

namespace {

ControlStates<HeaderState>& Headers() {
    static ControlStates<HeaderState> headers;
    return headers;
}

}  // namespace

LRESULT header_proc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    Headers().Follow(hwnd, msg);
    switch (msg) {
        case WM_ERASEBKGND:
            return 1;  // the paint covers the whole window
        case WM_PAINT:
            return PaintClient(hwnd, wParam, [&](gdi::DC& dc) {
                if (const auto s = Headers().Find(hwnd))
                    DrawHeader(dc, GetClientRect(hwnd), *s, FontOf(hwnd), IsWindowEnabled(hwnd));
            });
        default:
            break;
    }
    if (const std::shared_ptr<HeaderState> keep = Headers().Find(hwnd)) {
        LRESULT result = 0;
        HeaderOutcome out;
        const bool handled = HandleHeaderMessage(hwnd, *keep, msg, wParam, lParam, result, out);
        if (out.repaint && IsWindow(hwnd))
            InvalidateRect(hwnd, nullptr, false);
        if (handled)
            return result;
    }
    return DefWindowProc(hwnd, msg, wParam, lParam);
}

}  // namespace detail

}  // namespace win
