#include "platform/win/progress_bar.h"

#include <algorithm>
#include <limits>

#include "platform/win/classic_drawing.h"
#include "platform/win/control_states.h"
#include "platform/win/metrics.h"
#include "platform/win/painting.h"
#include "platform/win/styles.h"
#include "platform/win/window.h"

namespace win {

namespace {

int Clamp(int64_t v, int low, int high) {
    return static_cast<int>(std::clamp<int64_t>(v, low, high));
}

}  // namespace

bool ProgressRange::SetRange(int low, int high) {
    const int old_pos = pos_;
    const bool range_changed = low != low_ || high != high_;
    low_ = low;
    high_ = high;
    pos_ = Clamp(pos_, low_, EffectiveHigh());
    return range_changed || pos_ != old_pos;
}

bool ProgressRange::SetPosition(int64_t pos) {
    const int clamped = Clamp(pos, low_, EffectiveHigh());
    if (clamped == pos_)
        return false;
    pos_ = clamped;
    return true;
}

bool ProgressRange::SetStep(int step) {
    if (step == step_)
        return false;
    step_ = step;
    return true;
}

bool ProgressRange::DeltaPos(int64_t delta) {
    return SetPosition(static_cast<int64_t>(pos_) + delta);
}

bool ProgressRange::StepIt() {
    const int64_t low = low_;
    const int64_t high = EffectiveHigh();
    const int64_t span = high - low;
    int64_t next = static_cast<int64_t>(pos_) + step_;
    if (span == 0) {
        next = low;
    } else if (next > high) {
        next = low + (next - high) % span;
    } else if (next < low) {
        next = high - (low - next) % span;
    }
    return SetPosition(next);
}

int ProgressRange::FilledLength(int length) const {
    if (length <= 0)
        return 0;
    const int64_t span = static_cast<int64_t>(EffectiveHigh()) - low_;
    if (span <= 0)
        return 0;
    const int64_t done = static_cast<int64_t>(pos_) - low_;
    return static_cast<int>(done * length / span);
}

void DrawProgressBar(gdi::DC& dc, const RECT& r, const ProgressRange& range, bool vertical,
                     bool smooth) {
    if (r.empty())
        return;
    RECT well = r;
    DrawEdge(dc, &well, gdi::BDR_SUNKENOUTER, gdi::BF_RECT | gdi::BF_ADJUST);
    if (well.empty())
        return;
    dc.fill_rect(well, GetSysColor(COLOR_BTNFACE));
    // The blocks keep one pixel from the well's edge.
    const RECT inner = well.inflate(-1, -1);
    if (inner.empty())
        return;
    const int length = vertical ? inner.height() : inner.width();
    const int filled = range.FilledLength(length);
    if (filled <= 0)
        return;
    const COLORREF bar = GetSysColor(COLOR_HIGHLIGHT);
    auto span_rect = [&](int from, int to) {
        return vertical ? RECT{inner.left, inner.bottom - to, inner.right, inner.bottom - from}
                        : RECT{inner.left + from, inner.top, inner.left + to, inner.bottom};
    };
    if (smooth) {
        dc.fill_rect(span_rect(0, filled), bar);
        return;
    }
    const int thickness = vertical ? inner.width() : inner.height();
    const int block = std::max(2, thickness * 2 / 3);
    constexpr int kGap = 2;
    // Whole blocks, the last one cut only by the end of the well.
    for (int at = 0; at < filled; at += block + kGap)
        dc.fill_rect(span_rect(at, std::min(at + block, length)), bar);
}

bool HandleProgressMessage(ProgressRange& range, UINT msg, WPARAM wParam, LPARAM lParam,
                           LRESULT& result, bool& changed) {
    // A position in wParam is a signed number of the pointer's width: huge values clamp.
    const auto signed_w = static_cast<int64_t>(static_cast<intptr_t>(wParam));
    switch (msg) {
        case PBM_SETRANGE: {
            result = MAKELRESULT(range.Low(), range.High());
            changed = range.SetRange(LOWORD(static_cast<uintptr_t>(lParam)),
                                     HIWORD(static_cast<uintptr_t>(lParam)));
            return true;
        }
        case PBM_SETRANGE32:
            result = MAKELRESULT(range.Low(), range.High());
            changed = range.SetRange(static_cast<int>(static_cast<intptr_t>(wParam)),
                                     static_cast<int>(lParam));
            return true;
        case PBM_GETRANGE:
            if (lParam) {
                auto* out = reinterpret_cast<PBRANGE*>(lParam);
                out->iLow = range.Low();
                out->iHigh = range.High();
            }
            result = wParam ? range.Low() : range.High();
            changed = false;
            return true;
        case PBM_SETPOS:
            result = range.Position();
            changed = range.SetPosition(signed_w);
            return true;
        case PBM_DELTAPOS:
            result = range.Position();
            changed = range.DeltaPos(signed_w);
            return true;
        case PBM_SETSTEP:
            result = range.Step();
            range.SetStep(static_cast<int>(std::clamp<int64_t>(
                signed_w, std::numeric_limits<int>::min(), std::numeric_limits<int>::max())));
            changed = false;  // the step alone changes nothing on the screen
            return true;
        case PBM_STEPIT:
            result = range.Position();
            changed = range.StepIt();
            return true;
        case PBM_GETPOS:
            result = range.Position();
            changed = false;
            return true;
        default:
            return false;
    }
}

namespace detail {

namespace {

ControlStates<ProgressRange>& Bars() {
    static ControlStates<ProgressRange> bars;
    return bars;
}

}  // namespace

LRESULT progress_proc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    Bars().Follow(hwnd, msg);
    switch (msg) {
        case WM_ERASEBKGND:
            return 1;  // the paint covers the whole window
        case WM_STYLECHANGED:
            InvalidateRect(hwnd, nullptr, true);
            return 0;
        case WM_PAINT:
            return PaintClient(hwnd, wParam, [&](gdi::DC& dc) {
                if (const auto range = Bars().Find(hwnd)) {
                    const auto style = static_cast<DWORD>(GetWindowLongPtr(hwnd, GWL_STYLE));
                    DrawProgressBar(dc, GetClientRect(hwnd), *range, (style & PBS_VERTICAL) != 0,
                                    (style & PBS_SMOOTH) != 0);
                }
            });
        default: {
            const auto range = Bars().Find(hwnd);
            LRESULT result = 0;
            bool changed = false;
            if (range && HandleProgressMessage(*range, msg, wParam, lParam, result, changed)) {
                if (changed)
                    InvalidateRect(hwnd, nullptr, false);
                return result;
            }
            break;
        }
    }
    return DefWindowProc(hwnd, msg, wParam, lParam);
}

}  // namespace detail

}  // namespace win
