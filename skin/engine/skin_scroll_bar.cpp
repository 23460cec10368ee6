#include "skin/engine/skin_scroll_bar.h"

#include <algorithm>
#include <cstdint>

#include "platform/win/input.h"
#include "platform/win/message.h"
#include "platform/win/metrics.h"
#include "platform/win/painting.h"
#include "platform/win/styles.h"
#include "platform/win/window.h"
#include "skin/engine/skin_data.h"

namespace skin {

namespace {

bool HasImage(const std::unique_ptr<TDataSkinObject>& e) {
    return e && !e->Map.empty();
}

// A control whose scroll bars are painted over its frame paints itself: of the messages
// before it, only its end and the skin's query go to the skin control.
bool GoesToSkinControl(win::UINT msg) {
    return msg == win::WM_NCDESTROY || msg == CN_SkinQuery;
}

// Offsets into the arrow strip: the four directions, four states each.
constexpr int kArrowUp = 1;
constexpr int kArrowDown = 5;
constexpr int kArrowLeft = 9;
constexpr int kArrowRight = 13;
constexpr int kArrowStates = 23;

// 0 normal, 1 hover, 2 pressed, 3 disabled: the order of every scroll-bar strip.
int Look(bool enabled, bool hot, bool pressed) {
    if (!enabled)
        return 3;
    if (pressed)
        return 2;
    if (hot)
        return 1;
    return 0;
}

}  // namespace

TScrollBarLayout TWScrollbar::Layout(const gdi::Rect& bar, bool vertical,
                                     const win::SCROLLINFO& si) {
    TScrollBarLayout l;
    if (bar.empty())
        return l;
    const int length = vertical ? bar.height() : bar.width();
    const int arrow = std::min(vertical ? bar.width() : bar.height(), length / 2);
    if (vertical) {
        l.arrow1 = {bar.left, bar.top, bar.right, bar.top + arrow};
        l.arrow2 = {bar.left, bar.bottom - arrow, bar.right, bar.bottom};
        l.track = {bar.left, l.arrow1.bottom, bar.right, l.arrow2.top};
    } else {
        l.arrow1 = {bar.left, bar.top, bar.left + arrow, bar.bottom};
        l.arrow2 = {bar.right - arrow, bar.top, bar.right, bar.bottom};
        l.track = {l.arrow1.right, bar.top, l.arrow2.left, bar.bottom};
    }
    // The thumb as the window system places it: its length from the page, at the position's
    // share of the track.
    const int64_t range = int64_t(si.nMax) - si.nMin + 1;
    l.enabled = si.nMax > si.nMin && (si.nPage == 0 || int64_t(si.nPage) < range);
    const int t0 = vertical ? l.track.top : l.track.left;
    const int len = (vertical ? l.track.bottom : l.track.right) - t0;
    if (!l.enabled || len <= 0)
        return l;
    int thumb =
        si.nPage ? static_cast<int>(std::max<int64_t>(8, int64_t(len) * si.nPage / range)) : arrow;
    thumb = std::min(thumb, len);
    const int64_t steps = std::max<int64_t>(1, range - std::max<int64_t>(1, si.nPage));
    const int64_t pos = std::clamp<int64_t>(int64_t(si.nPos) - si.nMin, 0, steps);
    const int start = t0 + static_cast<int>(int64_t(len - thumb) * pos / steps);
    l.thumb = vertical ? gdi::Rect{bar.left, start, bar.right, start + thumb}
                       : gdi::Rect{start, bar.top, start + thumb, bar.bottom};
    return l;
}

TScrollPart TWScrollbar::PartAt(const TScrollBarLayout& l, bool vertical, gdi::Point p) {
    if (l.arrow1.contains(p))
        return TScrollPart::LineUp;
    if (l.arrow2.contains(p))
        return TScrollPart::LineDown;
    if (!l.track.contains(p))
        return TScrollPart::None;
    if (l.thumb.empty())
        return TScrollPart::None;
    if (l.thumb.contains(p))
        return TScrollPart::Thumb;
    const bool before = vertical ? p.y < l.thumb.top : p.x < l.thumb.left;
    return before ? TScrollPart::PageUp : TScrollPart::PageDown;
}

bool TWScrollbar::CanPaint(const TSkinData& sd) {
    return HasImage(sd.SArrow);
}

void TWScrollbar::Draw(gdi::DC& dc, const TSkinData& sd, const gdi::Rect& bar, bool vertical,
                       const win::SCROLLINFO& si, TScrollPart hot, TScrollPart pressed) {
    if (!CanPaint(sd) || bar.empty())
        return;
    const TScrollBarLayout l = Layout(bar, vertical, si);
    const TDataSkinObject& arrows = *sd.SArrow;
    const int arrow_frames = arrows.frame > 0 ? arrows.frame : kArrowStates;
    auto arrow = [&](const gdi::Rect& r, int base, TScrollPart part) {
        if (r.empty())
            return;
        const int state = base + Look(l.enabled, hot == part, pressed == part);
        TSkinControl::DrawSkinMap(dc, r, arrow_frames, state, arrows);
    };
    arrow(l.arrow1, vertical ? kArrowUp : kArrowLeft, TScrollPart::LineUp);
    arrow(l.arrow2, vertical ? kArrowDown : kArrowRight, TScrollPart::LineDown);

    const std::unique_ptr<TDataSkinObject>& track = vertical ? sd.VBar : sd.HBar;
    if (HasImage(track) && !l.track.empty()) {
        const bool track_hot = hot == TScrollPart::PageUp || hot == TScrollPart::PageDown;
        const bool track_down = pressed == TScrollPart::PageUp || pressed == TScrollPart::PageDown;
        const int state = 1 + Look(l.enabled, track_hot, track_down);
        TSkinControl::DrawSkinMap(dc, l.track, track->frame, state, *track);
    }
    const std::unique_ptr<TDataSkinObject>& slider = vertical ? sd.VSlider : sd.HSlider;
    if (HasImage(slider) && !l.thumb.empty()) {
        const int state = 1 + Look(true, hot == TScrollPart::Thumb, pressed == TScrollPart::Thumb);
        TSkinControl::DrawSkinMap(dc, l.thumb, slider->frame, state, *slider);
    }
}

gdi::Rect TWScrollbar::BarRect(win::HWND h, int bar) {
    if (!h || !win::IsWindow(h))
        return {};
    const auto style = win::GetWindowLongPtr(h, win::GWL_STYLE);
    const gdi::Rect wr = win::GetWindowRect(h);
    win::POINT origin{0, 0};
    win::ClientToScreen(h, &origin);
    const gdi::Rect client = win::GetClientRect(h).offset(origin.x - wr.left, origin.y - wr.top);
    if (bar == win::SB_VERT && (style & win::WS_VSCROLL)) {
        const int w = win::GetSystemMetrics(win::SM_CXVSCROLL);
        return {client.right, client.top, client.right + w, client.bottom};
    }
    if (bar == win::SB_HORZ && (style & win::WS_HSCROLL)) {
        const int h2 = win::GetSystemMetrics(win::SM_CYHSCROLL);
        return {client.left, client.bottom, client.right, client.bottom + h2};
    }
    return {};
}

namespace {

constexpr int kSizeBoxState = 17;

// The scroll information of one bar, or false when the window has no such bar.
bool BarInfo(win::HWND h, int bar, gdi::Rect* rect, win::SCROLLINFO* si) {
    *rect = TWScrollbar::BarRect(h, bar);
    if (rect->empty())
        return false;
    si->fMask = win::SIF_ALL;
    return win::GetScrollInfo(h, bar, si);
}

// A screen point in a window's own coordinates (its top-left corner at 0, 0).
gdi::Point ToWindow(win::HWND h, gdi::Point screen) {
    const gdi::Rect wr = win::GetWindowRect(h);
    return {screen.x - wr.left, screen.y - wr.top};
}

}  // namespace

bool TSkinScrollbar::CanPaint() const {
    return fsd && TWScrollbar::CanPaint(*fsd);
}

void TSkinScrollbar::PaintBars() {
    if (!CanPaint() || !hwnd || !win::IsWindow(hwnd))
        return;
    win::HDC dc = win::GetWindowDC(hwnd);
    if (!dc)
        return;
    gdi::Rect vert, horz;
    for (int bar : {win::SB_VERT, win::SB_HORZ}) {
        gdi::Rect r;
        win::SCROLLINFO si;
        if (!BarInfo(hwnd, bar, &r, &si))
            continue;
        (bar == win::SB_VERT ? vert : horz) = r;
        const bool mine = hot_bar_ == bar;
        TWScrollbar::Draw(*dc, *fsd, r, bar == win::SB_VERT, si, mine ? hot_ : TScrollPart::None,
                          mine ? pressed_ : TScrollPart::None);
    }
    if (!vert.empty() && !horz.empty()) {
        const gdi::Rect corner{vert.left, horz.top, vert.right, horz.bottom};
        const TDataSkinObject& arrows = *fsd->SArrow;
        DrawSkinMap(*dc, corner, arrows.frame > 0 ? arrows.frame : 23, kSizeBoxState, arrows);
    }
    win::ReleaseDC(hwnd, dc);
}

std::pair<int, TScrollPart> TSkinScrollbar::PartAtScreen(gdi::Point p) const {
    const gdi::Point w = ToWindow(hwnd, p);
    for (int bar : {win::SB_VERT, win::SB_HORZ}) {
        gdi::Rect r;
        win::SCROLLINFO si;
        if (!BarInfo(hwnd, bar, &r, &si) || !r.contains(w))
            continue;
        const bool vertical = bar == win::SB_VERT;
        return {bar, TWScrollbar::PartAt(TWScrollbar::Layout(r, vertical, si), vertical, w)};
    }
    return {-1, TScrollPart::None};
}

void TSkinScrollbar::SetHot(int bar, TScrollPart part) {
    if (bar == hot_bar_ && part == hot_)
        return;
    hot_bar_ = part == TScrollPart::None ? -1 : bar;
    hot_ = part;
    PaintBars();
}

bool TSkinScrollbar::BeforeProc(forms::TMessage& m) {
    // The control paints itself; its bars are painted over the frame afterwards.
    return GoesToSkinControl(m.Msg) ? TSkinControl::BeforeProc(m) : true;
}

void TSkinScrollbar::AfterProc(forms::TMessage& m) {
    switch (m.Msg) {
        case win::WM_NCPAINT:
        case win::WM_VSCROLL:
        case win::WM_HSCROLL:
        case win::WM_ENABLE:
            PaintBars();
            return;
        case win::WM_NCMOUSEMOVE: {
            auto [bar, part] = PartAtScreen(win::MAKEPOINT(m.LParam));
            if (part != TScrollPart::None && hot_ == TScrollPart::None) {
                win::TRACKMOUSEEVENT tme;
                tme.dwFlags = win::TME_LEAVE | win::TME_NONCLIENT;
                tme.hwndTrack = hwnd;
                win::TrackMouseEvent(&tme);
            }
            SetHot(bar, part);
            return;
        }
        case win::WM_NCLBUTTONDOWN:
        case win::WM_NCLBUTTONDBLCLK: {
            // The press has scrolled already (the previous procedure ran first).
            auto [bar, part] = PartAtScreen(win::MAKEPOINT(m.LParam));
            pressed_ = part;
            hot_bar_ = part == TScrollPart::None ? -1 : bar;
            hot_ = part;
            PaintBars();
            return;
        }
        case win::WM_NCLBUTTONUP:
        case win::WM_LBUTTONUP:
            if (pressed_ != TScrollPart::None) {
                pressed_ = TScrollPart::None;
                PaintBars();
            }
            return;
        case win::WM_NCMOUSELEAVE:
        case win::WM_MOUSEMOVE:
            pressed_ = TScrollPart::None;
            SetHot(-1, TScrollPart::None);
            return;
        default:
            TSkinControl::AfterProc(m);
    }
}

bool TComboxScrollBar::CanPaint() const {
    return fsd && TWScrollbar::CanPaint(*fsd);
}

void TComboxScrollBar::PaintBar() {
    if (!CanPaint() || !hwnd || !win::IsWindow(hwnd))
        return;
    const gdi::Rect bar = TWScrollbar::BarRect(hwnd, win::SB_VERT);
    if (bar.empty())
        return;
    win::SCROLLINFO si;
    si.fMask = win::SIF_ALL;
    if (!win::GetScrollInfo(hwnd, win::SB_VERT, &si))
        return;
    if (win::HDC dc = win::GetWindowDC(hwnd)) {
        TWScrollbar::Draw(*dc, *fsd, bar, true, si, hot_, pressed_);
        win::ReleaseDC(hwnd, dc);
    }
}

TScrollPart TComboxScrollBar::PartAtClient(gdi::Point p) const {
    const gdi::Rect bar = TWScrollbar::BarRect(hwnd, win::SB_VERT);
    if (bar.empty())
        return TScrollPart::None;
    win::SCROLLINFO si;
    si.fMask = win::SIF_ALL;
    if (!win::GetScrollInfo(hwnd, win::SB_VERT, &si))
        return TScrollPart::None;
    // Client to window coordinates.
    win::POINT origin{0, 0};
    win::ClientToScreen(hwnd, &origin);
    const gdi::Rect wr = win::GetWindowRect(hwnd);
    const gdi::Point w{p.x + origin.x - wr.left, p.y + origin.y - wr.top};
    return TWScrollbar::PartAt(TWScrollbar::Layout(bar, true, si), true, w);
}

bool TComboxScrollBar::BeforeProc(forms::TMessage& m) {
    // The list paints itself; the bar is painted over the frame afterwards.
    return GoesToSkinControl(m.Msg) ? TSkinControl::BeforeProc(m) : true;
}

void TComboxScrollBar::AfterProc(forms::TMessage& m) {
    switch (m.Msg) {
        case win::WM_NCPAINT:
            PaintBar();
            return;
        case win::WM_MOUSEMOVE: {
            const TScrollPart part = PartAtClient(win::MAKEPOINT(m.LParam));
            if (part != hot_) {
                hot_ = part;
                PaintBar();
            }
            return;
        }
        case win::WM_LBUTTONDOWN:
        case win::WM_LBUTTONDBLCLK: {
            // The press scrolled the list already (the previous procedure ran first).
            const TScrollPart part = PartAtClient(win::MAKEPOINT(m.LParam));
            if (part != TScrollPart::None || pressed_ != TScrollPart::None) {
                pressed_ = part;
                hot_ = part;
                PaintBar();
            }
            return;
        }
        case win::WM_LBUTTONUP:
            if (pressed_ != TScrollPart::None) {
                pressed_ = TScrollPart::None;
                PaintBar();
            }
            return;
        default:
            return;
    }
}

}  // namespace skin
