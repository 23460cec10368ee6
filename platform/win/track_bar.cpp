#include "platform/win/track_bar.h"

#include <algorithm>
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

// ---- Numbers --------------------------------------------------------------------------------

int TrackRange::PageSize() const {
    if (page_ >= 0)
        return page_;
    const int64_t fifth = (static_cast<int64_t>(EffectiveMax()) - min_) / 5;
    return static_cast<int>(std::clamp<int64_t>(fifth, 1, std::numeric_limits<int>::max()));
}

bool TrackRange::SetRange(int min, int max) {
    const int old = pos_;
    const bool range_changed = min != min_ || max != max_;
    min_ = min;
    max_ = max;
    pos_ = static_cast<int>(std::clamp<int64_t>(pos_, min_, EffectiveMax()));
    return range_changed || pos_ != old;
}

bool TrackRange::SetPosition(int64_t pos) {
    const int clamped = static_cast<int>(std::clamp<int64_t>(pos, min_, EffectiveMax()));
    if (clamped == pos_)
        return false;
    pos_ = clamped;
    return true;
}

// ---- Layout ---------------------------------------------------------------------------------

namespace {

int64_t Span(const TrackRange& range) {
    return static_cast<int64_t>(range.EffectiveMax()) - range.Min();
}

}  // namespace

int TrackLayout::OffsetOf(const TrackRange& range, int pos) const {
    const int origin = vertical ? channel.top : channel.left;
    const int64_t span = Span(range);
    if (span <= 0 || travel <= 0)
        return origin;
    const int64_t done = std::clamp<int64_t>(static_cast<int64_t>(pos) - range.Min(), 0, span);
    return origin + static_cast<int>(done * travel / span);
}

int TrackLayout::PositionAt(const TrackRange& range, int along) const {
    const int origin = vertical ? channel.top : channel.left;
    const int64_t span = Span(range);
    if (span <= 0 || travel <= 0)
        return range.Min();
    const int64_t off = std::clamp<int64_t>(static_cast<int64_t>(along) - origin, 0, travel);
    return static_cast<int>(range.Min() + (off * span + travel / 2) / travel);
}

std::vector<int> TrackLayout::TickOffsets(const TrackRange& range, DWORD style) const {
    std::vector<int> out;
    if (!ticks_before && !ticks_after)
        return out;
    out.push_back(OffsetOf(range, range.Min()));
    const int64_t span = Span(range);
    if (span <= 0)
        return out;
    const int64_t freq = range.TicFreq();
    // Ticks closer than 2 pixels would only make a grey bar: then the ends alone.
    if ((style & TBS_AUTOTICKS) && freq * travel >= 2 * span) {
        for (int64_t v = static_cast<int64_t>(range.Min()) + freq; v < range.EffectiveMax();
             v += freq)
            out.push_back(OffsetOf(range, static_cast<int>(v)));
    }
    out.push_back(OffsetOf(range, range.EffectiveMax()));
    return out;
}

TrackLayout LayoutTrackBar(const RECT& c, const TrackRange& range, DWORD style) {
    TrackLayout l;
    l.vertical = (style & TBS_VERT) != 0;
    const bool ticks = (style & TBS_NOTICKS) == 0;
    l.ticks_before = ticks && (style & (TBS_BOTH | TBS_TOP)) != 0;
    l.ticks_after = ticks && ((style & TBS_BOTH) != 0 || (style & TBS_TOP) == 0);
    const int length = std::max(0, l.vertical ? c.height() : c.width());
    const int breadth = std::max(0, l.vertical ? c.width() : c.height());
    constexpr int kTickSpace = kTrackTickLength + 2;
    const int before = l.ticks_before ? kTickSpace : 0;
    const int after = l.ticks_after ? kTickSpace : 0;
    const int thickness = std::clamp(breadth - 4 - before - after, 0, kTrackThumbThickness);
    // Thumb and ticks as one group, centred across the bar.
    const int group = before + thickness + after;
    const int across0 = std::max(0, (breadth - group) / 2) + before;
    const int centre = across0 + thickness / 2;
    constexpr int kHalf = kTrackThumbLength / 2;
    const int start = std::min(kHalf + 3, length / 2);
    const int end = std::max(start + 1, length - kHalf - 3);
    l.travel = std::max(0, end - start - 1);
    auto place = [&](int along0, int along1, int a0, int a1) {
        return l.vertical ? RECT{c.left + a0, c.top + along0, c.left + a1, c.top + along1}
                          : RECT{c.left + along0, c.top + a0, c.left + along1, c.top + a1};
    };
    const int ch0 = centre - kTrackChannelThickness / 2;
    l.channel = place(start, end, ch0, ch0 + kTrackChannelThickness);
    const int at = l.OffsetOf(range, range.Position()) - (l.vertical ? c.top : c.left);
    l.thumb = place(at - kHalf, at - kHalf + kTrackThumbLength, across0, across0 + thickness);
    return l;
}

// ---- Plain look -----------------------------------------------------------------------------

void DrawTrackBar(gdi::DC& dc, const RECT& client, const TrackRange& range, DWORD style,
                  TrackThumbState thumb, bool focused) {
    if (client.empty())
        return;
    dc.fill_rect(client, GetSysColor(COLOR_BTNFACE));
    const TrackLayout l = LayoutTrackBar(client, range, style);
    const COLORREF tick =
        GetSysColor(thumb == TrackThumbState::Disabled ? COLOR_GRAYTEXT : COLOR_BTNTEXT);
    for (int at : l.TickOffsets(range, style)) {
        auto tick_rect = [&](int a0) {
            return l.vertical ? RECT{a0, at, a0 + kTrackTickLength, at + 1}
                              : RECT{at, a0, at + 1, a0 + kTrackTickLength};
        };
        const int thumb0 = l.vertical ? l.thumb.left : l.thumb.top;
        const int thumb1 = l.vertical ? l.thumb.right : l.thumb.bottom;
        if (l.ticks_before)
            dc.fill_rect(tick_rect(thumb0 - 2 - kTrackTickLength), tick);
        if (l.ticks_after)
            dc.fill_rect(tick_rect(thumb1 + 2), tick);
    }
    RECT channel = l.channel;
    DrawEdge(dc, &channel, gdi::EDGE_SUNKEN, gdi::BF_RECT);
    if (!l.thumb.empty()) {
        RECT t = l.thumb;
        dc.fill_rect(t, GetSysColor(thumb == TrackThumbState::Hot ? COLOR_3DLIGHT : COLOR_BTNFACE));
        DrawEdge(dc, &t, thumb == TrackThumbState::Pressed ? gdi::EDGE_SUNKEN : gdi::EDGE_RAISED,
                 gdi::BF_RECT);
    }
    if (focused)
        dc.draw_focus_rect(client);
}

// ---- Input ----------------------------------------------------------------------------------

namespace {

void Notify(HWND hwnd, const TrackBarState& s, int code) {
    HWND parent = GetParent(hwnd);
    if (!parent)
        return;
    const bool vertical = (static_cast<DWORD>(GetWindowLongPtr(hwnd, GWL_STYLE)) & TBS_VERT) != 0;
    const bool with_pos = code == TB_THUMBTRACK || code == TB_THUMBPOSITION;
    SendMessage(parent, vertical ? WM_VSCROLL : WM_HSCROLL,
                MAKEWPARAM(code, with_pos ? s.range.Position() : 0),
                reinterpret_cast<LPARAM>(hwnd));
}

TrackLayout LayoutOf(HWND hwnd, const TrackBarState& s) {
    return LayoutTrackBar(GetClientRect(hwnd), s.range,
                          static_cast<DWORD>(GetWindowLongPtr(hwnd, GWL_STYLE)));
}

int Along(const TrackLayout& l, POINT p) {
    return l.vertical ? p.y : p.x;
}

// A key's move: the code and the new position; -1 for keys the bar does not take.
int KeyCode(int vk) {
    switch (vk) {
        case VK_LEFT:
        case VK_UP:
            return TB_LINEUP;
        case VK_RIGHT:
        case VK_DOWN:
            return TB_LINEDOWN;
        case VK_PRIOR:
            return TB_PAGEUP;
        case VK_NEXT:
            return TB_PAGEDOWN;
        case VK_HOME:
            return TB_TOP;
        case VK_END:
            return TB_BOTTOM;
        default:
            return -1;
    }
}

bool Apply(TrackRange& r, int code) {
    switch (code) {
        case TB_LINEUP:
            return r.MoveBy(-static_cast<int64_t>(r.LineSize()));
        case TB_LINEDOWN:
            return r.MoveBy(r.LineSize());
        case TB_PAGEUP:
            return r.MoveBy(-static_cast<int64_t>(r.PageSize()));
        case TB_PAGEDOWN:
            return r.MoveBy(r.PageSize());
        case TB_TOP:
            return r.SetPosition(r.Min());
        case TB_BOTTOM:
            return r.SetPosition(r.EffectiveMax());
        default:
            return false;
    }
}

}  // namespace

bool HandleTrackBarMessage(HWND hwnd, TrackBarState& s, UINT msg, WPARAM wParam, LPARAM lParam,
                           LRESULT& result, bool& moved, bool& repaint) {
    moved = false;
    repaint = false;
    result = 0;
    auto set_range = [&](int min, int max) {
        moved = s.range.SetRange(min, max);
        repaint = moved && wParam != 0;
    };
    switch (msg) {
        case TBM_GETPOS:
            result = s.range.Position();
            return true;
        case TBM_GETRANGEMIN:
            result = s.range.Min();
            return true;
        case TBM_GETRANGEMAX:
            result = s.range.Max();
            return true;
        case TBM_SETPOS:
            moved = s.range.SetPosition(lParam);
            repaint = moved && wParam != 0;
            return true;
        case TBM_SETRANGE:
            set_range(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
            return true;
        case TBM_SETRANGEMIN:
            set_range(static_cast<int>(lParam), s.range.Max());
            return true;
        case TBM_SETRANGEMAX:
            set_range(s.range.Min(), static_cast<int>(lParam));
            return true;
        case TBM_SETTICFREQ:
            s.range.SetTicFreq(static_cast<int>(std::clamp<int64_t>(
                static_cast<intptr_t>(wParam), 0, std::numeric_limits<int>::max())));
            repaint = true;
            return true;
        case TBM_GETNUMTICS: {
            const auto style = static_cast<DWORD>(GetWindowLongPtr(hwnd, GWL_STYLE));
            result = static_cast<LRESULT>(LayoutOf(hwnd, s).TickOffsets(s.range, style).size());
            return true;
        }
        case TBM_GETTICPOS: {
            const auto style = static_cast<DWORD>(GetWindowLongPtr(hwnd, GWL_STYLE));
            const std::vector<int> ticks = LayoutOf(hwnd, s).TickOffsets(s.range, style);
            const size_t inner = ticks.size() > 2 ? ticks.size() - 2 : 0;
            result = wParam < inner ? ticks[wParam + 1] : -1;
            return true;
        }
        case TBM_SETPAGESIZE:
            result = s.range.PageSize();
            s.range.SetPageSize(static_cast<int>(lParam));
            return true;
        case TBM_GETPAGESIZE:
            result = s.range.PageSize();
            return true;
        case TBM_SETLINESIZE:
            result = s.range.LineSize();
            s.range.SetLineSize(static_cast<int>(lParam));
            return true;
        case TBM_GETLINESIZE:
            result = s.range.LineSize();
            return true;
        case TBM_GETTHUMBRECT:
        case TBM_GETCHANNELRECT:
            if (lParam) {
                const TrackLayout l = LayoutOf(hwnd, s);
                *reinterpret_cast<RECT*>(lParam) = msg == TBM_GETTHUMBRECT ? l.thumb : l.channel;
            }
            return true;
        case WM_GETDLGCODE:
            result = DLGC_WANTARROWS;
            return true;
        case WM_KEYDOWN: {
            const int code = KeyCode(static_cast<int>(wParam));
            if (code < 0)
                return false;
            moved = Apply(s.range, code);
            repaint = moved;
            Notify(hwnd, s, code);
            return true;
        }
        case WM_KEYUP:
            if (KeyCode(static_cast<int>(wParam)) < 0)
                return false;
            Notify(hwnd, s, TB_ENDTRACK);
            return true;
        case WM_LBUTTONDOWN:
        case WM_LBUTTONDBLCLK: {
            if (GetFocus() != hwnd)
                SetFocus(hwnd);
            if (!IsWindow(hwnd))
                return true;
            const TrackLayout l = LayoutOf(hwnd, s);
            const POINT p = MAKEPOINT(lParam);
            SetCapture(hwnd);
            repaint = true;
            if (l.thumb.contains(p)) {
                s.dragging = true;
                s.grip = Along(l, p) - l.OffsetOf(s.range, s.range.Position());
                return true;
            }
            s.paging = true;
            const int code =
                Along(l, p) < l.OffsetOf(s.range, s.range.Position()) ? TB_PAGEUP : TB_PAGEDOWN;
            moved = Apply(s.range, code);
            Notify(hwnd, s, code);
            return true;
        }
        case WM_MOUSEMOVE: {
            const TrackLayout l = LayoutOf(hwnd, s);
            const POINT p = MAKEPOINT(lParam);
            if (s.dragging) {
                moved = s.range.SetPosition(l.PositionAt(s.range, Along(l, p) - s.grip));
                repaint = moved;
                if (moved)
                    Notify(hwnd, s, TB_THUMBTRACK);
                return true;
            }
            repaint = detail::MoveHotPart(hwnd, s.hot, l.thumb.contains(p));
            return true;
        }
        case WM_MOUSELEAVE:
            repaint = detail::LeaveHotPart(s.hot, false);
            return true;
        case WM_LBUTTONUP:
        case WM_CAPTURECHANGED: {
            if (!s.dragging && !s.paging)
                return msg == WM_LBUTTONUP;
            const bool dragged = s.dragging;
            s.dragging = false;
            s.paging = false;
            repaint = true;
            if (msg == WM_LBUTTONUP && GetCapture() == hwnd)
                ReleaseCapture();
            if (!IsWindow(hwnd))
                return true;
            if (dragged)
                Notify(hwnd, s, TB_THUMBPOSITION);
            if (IsWindow(hwnd))
                Notify(hwnd, s, TB_ENDTRACK);
            return true;
        }
        case WM_SETFOCUS:
        case WM_KILLFOCUS:
        case WM_ENABLE:
            repaint = true;
            return false;
        case WM_DESTROY:
            // The mouse's hold and light belong to the window: a window made anew for the same
            // range starts with the thumb neither held nor lit.
            s.dragging = false;
            s.paging = false;
            s.hot = false;
            return false;
        default:
            return false;
    }
}

TrackThumbState ThumbStateOf(HWND hwnd, const TrackBarState& s) {
    if (!IsWindowEnabled(hwnd))
        return TrackThumbState::Disabled;
    if (s.dragging)
        return TrackThumbState::Pressed;
    if (s.hot)
        return TrackThumbState::Hot;
    return TrackThumbState::Normal;
}

namespace detail {

namespace {

ControlStates<TrackBarState>& Bars() {
    static ControlStates<TrackBarState> bars;
    return bars;
}

}  // namespace

LRESULT trackbar_proc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    Bars().Follow(hwnd, msg);
    switch (msg) {
        case WM_ERASEBKGND:
            return 1;  // the paint covers the whole window
        case WM_STYLECHANGED:
            InvalidateRect(hwnd, nullptr, true);
            return 0;
        case WM_PAINT:
            return PaintClient(hwnd, wParam, [&](gdi::DC& dc) {
                if (const auto s = Bars().Find(hwnd))
                    DrawTrackBar(dc, GetClientRect(hwnd), s->range,
                                 static_cast<DWORD>(GetWindowLongPtr(hwnd, GWL_STYLE)),
                                 ThumbStateOf(hwnd, *s), GetFocus() == hwnd);
            });
        default:
            break;
    }
    if (const std::shared_ptr<TrackBarState> keep = Bars().Find(hwnd)) {
        LRESULT result = 0;
        bool moved = false, repaint = false;
        const bool handled =
            HandleTrackBarMessage(hwnd, *keep, msg, wParam, lParam, result, moved, repaint);
        if ((repaint || moved) && IsWindow(hwnd))
            InvalidateRect(hwnd, nullptr, false);
        if (handled)
            return result;
    }
    return DefWindowProc(hwnd, msg, wParam, lParam);
}

}  // namespace detail

}  // namespace win
