#include "skin/engine/skin_track_bar.h"

#include <algorithm>

#include "platform/win/input.h"
#include "platform/win/message.h"
#include "platform/win/window.h"
#include "skin/engine/skin_data.h"
#include "skin/skin_draw.h"

namespace skin {

namespace {

const TDataSkinObject* Usable(const std::unique_ptr<TDataSkinObject>& e) {
    return e && !e->Map.empty() ? e.get() : nullptr;
}

win::DWORD StyleOf(win::HWND h) {
    return static_cast<win::DWORD>(win::GetWindowLongPtr(h, win::GWL_STYLE));
}

// The state images of a lying thumb, each turned a quarter round anticlockwise (a thumb
// pointing down then points right), side by side again.
gdi::Bitmap TurnStates(const TDataSkinObject& e) {
    const int frames = std::max(1, e.frame);
    const gdi::Rect first = state_rect(e.Map, false, frames, 1);
    // A count of states above the image's width leaves every state empty: nothing to turn.
    // Past this, the states number at most the image's columns, so neither the loop nor the
    // turned picture's width can run away with the count a skin claims.
    if (first.empty())
        return {};
    gdi::Bitmap out(first.height() * frames, first.width());
    gdi::DC dc(out);
    for (int k = 1; k <= frames; ++k) {
        const gdi::Rect s = state_rect(e.Map, false, frames, k);
        gdi::Bitmap one(s.width(), s.height());
        gdi::DC(one).bit_blt(0, 0, s.width(), s.height(), e.Map, s.left, s.top);
        dc.bit_blt((k - 1) * first.height(), 0, first.height(), first.width(),
                   gdi::rotate(one, 270), 0, 0);
    }
    return out;
}

}  // namespace

gdi::Bitmap TrackThumbImage(const TSkinData& sd, win::DWORD style, int* frames, bool* trans) {
    const bool vertical = (style & win::TBS_VERT) != 0;
    const bool ticks = (style & win::TBS_NOTICKS) == 0 && (style & win::TBS_BOTH) == 0;
    const bool before = (style & win::TBS_TOP) != 0;
    // Lying bars: pointing down (ticks below), up (ticks above), or plain.
    const TDataSkinObject* lying_pointed =
        ticks ? Usable(before ? sd.Tracktop : sd.Trackbottom) : nullptr;
    const TDataSkinObject* lying = lying_pointed ? lying_pointed : Usable(sd.TrackHorz);
    const TDataSkinObject* chosen = lying;
    bool turn = false;
    if (vertical) {
        const TDataSkinObject* upright_pointed =
            ticks ? Usable(before ? sd.TrackLeft : sd.Trackright) : nullptr;
        chosen = upright_pointed ? upright_pointed : Usable(sd.TrackVert);
        if (!chosen) {
            chosen = lying;
            turn = chosen != nullptr;
        }
    }
    if (!chosen)
        return {};
    *frames = std::max(1, chosen->frame);
    *trans = chosen->trans == 1;
    return turn ? TurnStates(*chosen) : chosen->Map;
}

int TrackThumbStateIndex(int frames, bool enabled, bool pressed, bool hover, bool focused) {
    int want = 1;
    if (!enabled)
        want = 4;
    else if (pressed)
        want = 2;
    else if (hover)
        want = 3;
    else if (focused)
        want = 5;
    return want <= frames ? want : 1;
}

bool TSkinTrackBar::CanPaint() const {
    if (!fsd || !hwnd)
        return false;
    int frames = 0;
    bool trans = false;
    return !TrackThumbImage(*fsd, StyleOf(hwnd), &frames, &trans).empty();
}

gdi::Rect TSkinTrackBar::ThumbRect() const {
    gdi::Rect t;
    win::SendMessage(hwnd, win::TBM_GETTHUMBRECT, 0, reinterpret_cast<win::LPARAM>(&t));
    return t;
}

void TSkinTrackBar::DrawControl(gdi::DC& dc, const gdi::Rect& r) {
    if (r.empty() || !fsd)
        return;
    const win::DWORD style = StyleOf(hwnd);
    int frames = 1;
    bool trans = false;
    const gdi::Bitmap thumb_image = TrackThumbImage(*fsd, style, &frames, &trans);
    if (thumb_image.empty())
        return;
    const bool vertical = (style & win::TBS_VERT) != 0;
    BeginOffscreen(offscreen_, r, true);
    gdi::DC mem(offscreen_);
    gdi::Rect channel, thumb;
    win::SendMessage(hwnd, win::TBM_GETCHANNELRECT, 0, reinterpret_cast<win::LPARAM>(&channel));
    thumb = ThumbRect();
    // The channel at its image's own thickness (no thicker than the thumb), centred on the bar's.
    if (const TDataSkinObject* e = Usable(vertical ? fsd->TrackBarVert : fsd->TrackBar)) {
        const gdi::Rect s = state_rect(e->Map, false, e->frame, 1);
        const int across_room = vertical ? thumb.width() : thumb.height();
        const int thick =
            std::clamp(vertical ? s.width() : s.height(), 1, std::max(1, across_room));
        gdi::Rect c = channel;
        if (vertical) {
            c.left = (channel.left + channel.right) / 2 - thick / 2;
            c.right = c.left + thick;
        } else {
            c.top = (channel.top + channel.bottom) / 2 - thick / 2;
            c.bottom = c.top + thick;
        }
        DrawSkinMap(mem, c, std::max(1, e->frame), 1, *e);
    }
    // The ticks, in the places the bar gives them.
    const int count = static_cast<int>(win::SendMessage(hwnd, win::TBM_GETNUMTICS, 0, 0));
    if (count > 0) {
        // The ends are where the thumb's centre rests at the minimum and the maximum.
        std::vector<int> at;
        at.push_back(vertical ? channel.top : channel.left);
        for (int i = 0; i + 2 < count; ++i)
            at.push_back(static_cast<int>(win::SendMessage(hwnd, win::TBM_GETTICPOS, i, 0)));
        if (count > 1)
            at.push_back(std::max(at.front(), (vertical ? channel.bottom : channel.right) - 1));
        const gdi::Color colour = SkinColor(enabled ? csButtonText : csButtonShadow);
        const bool both = (style & win::TBS_BOTH) != 0;
        const bool before = both || (style & win::TBS_TOP) != 0;
        const bool after = both || (style & win::TBS_TOP) == 0;
        const int len = win::kTrackTickLength;
        for (int p : at) {
            if (p < 0)
                continue;
            auto tick = [&](int a0) {
                return vertical ? gdi::Rect{a0, p, a0 + len, p + 1}
                                : gdi::Rect{p, a0, p + 1, a0 + len};
            };
            if (before)
                mem.fill_rect(tick((vertical ? thumb.left : thumb.top) - 2 - len), colour);
            if (after)
                mem.fill_rect(tick((vertical ? thumb.right : thumb.bottom) + 2), colour);
        }
    }
    const int state = TrackThumbStateIndex(frames, enabled, down_, hot_, focused);
    DrawRect3(mem, thumb, thumb_image, frames, state, trans);
    dc.bit_blt(r.left, r.top, r.width(), r.height(), offscreen_, 0, 0);
}

void TSkinTrackBar::AfterProc(forms::TMessage& m) {
    switch (m.Msg) {
        case win::WM_MOUSEMOVE: {
            const bool hot = ThumbRect().contains(win::MAKEPOINT(m.LParam));
            if (hot != hot_) {
                hot_ = hot;
                Invalidate();
                if (hot)
                    TrackLeave();
            }
            return;
        }
        case win::WM_LBUTTONDOWN:
        case win::WM_LBUTTONDBLCLK:
            down_ = win::GetCapture() == hwnd && ThumbRect().contains(win::MAKEPOINT(m.LParam));
            Invalidate();
            return;
        case win::WM_LBUTTONUP:
        case win::WM_CAPTURECHANGED:
            if (down_) {
                down_ = false;
                Invalidate();
            }
            return;
        case win::WM_MOUSELEAVE:
            if (hot_ && !down_) {
                hot_ = false;
                Invalidate();
            }
            return;
        default:
            TSkinControl::AfterProc(m);
    }
}

}  // namespace skin
