#include "forms/track_bar.h"

#include "forms/component_tracker.h"
#include "forms/framework_mouse_messages.h"
#include "platform/text/str_to_int.h"
#include "platform/win/window.h"

namespace forms {

TTrackBar::TTrackBar(TComponent* owner) : TWinControl(owner) {
    SetBounds(0, 0, 150, 45);
    SetTabStop(true);
    state_.range.SetRange(0, 10);
    state_.range.SetPageSize(2);
}

void TTrackBar::Changed(bool changed) {
    if (changed)
        Invalidate();
}

void TTrackBar::SetMin(int v) {
    Changed(state_.range.SetRange(v, state_.range.Max()));
}

void TTrackBar::SetMax(int v) {
    Changed(state_.range.SetRange(state_.range.Min(), v));
}

void TTrackBar::SetRange(int min, int max) {
    Changed(state_.range.SetRange(min, max));
}

void TTrackBar::SetPosition(int v) {
    Changed(state_.range.SetPosition(v));
}

void TTrackBar::SetFrequency(int v) {
    state_.range.SetTicFreq(v);
    Invalidate();
}

void TTrackBar::SetOrientation(TTrackBarOrientation o) {
    if (o == orientation_)
        return;
    orientation_ = o;
    StyleChanged();
}

void TTrackBar::SetTickStyle(TTickStyle s) {
    if (s == tick_style_)
        return;
    tick_style_ = s;
    StyleChanged();
}

void TTrackBar::SetTickMarks(TTickMark m) {
    if (m == tick_marks_)
        return;
    tick_marks_ = m;
    StyleChanged();
}

win::DWORD TTrackBar::BarStyle() const {
    win::DWORD style = 0;
    if (orientation_ == TTrackBarOrientation::trVertical)
        style |= win::TBS_VERT;
    if (tick_style_ == TTickStyle::tsNone)
        style |= win::TBS_NOTICKS;
    else if (tick_style_ == TTickStyle::tsAuto)
        style |= win::TBS_AUTOTICKS;
    if (tick_marks_ == TTickMark::tmTopLeft)
        style |= win::TBS_TOP;
    else if (tick_marks_ == TTickMark::tmBoth)
        style |= win::TBS_BOTH;
    return style;
}

void TTrackBar::StyleChanged() {
    constexpr win::DWORD kBarBits =
        win::TBS_VERT | win::TBS_NOTICKS | win::TBS_AUTOTICKS | win::TBS_TOP | win::TBS_BOTH;
    if (HandleAllocated()) {
        auto style = static_cast<win::DWORD>(win::GetWindowLongPtr(handle_, win::GWL_STYLE));
        win::SetWindowLongPtr(handle_, win::GWL_STYLE, (style & ~kBarBits) | BarStyle());
    }
    Invalidate();
}

void TTrackBar::CreateParams(TCreateParams& params) {
    TWinControl::CreateParams(params);
    params.style |= BarStyle();
}

void TTrackBar::Paint(gdi::DC& dc) {
    const win::TrackThumbState thumb =
        HandleAllocated() ? win::ThumbStateOf(handle_, state_) : win::TrackThumbState::Normal;
    win::DrawTrackBar(dc, ClientRect(), state_.range, BarStyle(), thumb, Focused());
}

bool TTrackBar::WantsKey(int vk, unsigned) const {
    return vk != win::VK_TAB && vk != win::VK_RETURN && vk != win::VK_ESCAPE;
}

void TTrackBar::WndProc(TMessage& m) {
    using namespace win;
    const bool operator_input = m.Msg == WM_KEYDOWN || m.Msg == WM_LBUTTONDOWN ||
                                m.Msg == WM_LBUTTONDBLCLK || m.Msg == WM_MOUSEMOVE;
    if (handle_) {
        LRESULT result = 0;
        bool moved = false, repaint = false;
        TComponentTracker alive(this);
        const bool handled = HandleTrackBarMessage(handle_, state_, m.Msg, m.WParam, m.LParam,
                                                   result, moved, repaint);
        if (alive.Deleted())
            return;
        if (moved || repaint)
            Invalidate();
        if (moved && operator_input) {
            FireEvent(OnChange, this);
            if (alive.Deleted())
                return;
        }
        // The framework keeps the focus of its controls too.
        const bool framework_too =
            FrameworkHearsMouseMessage(m.Msg) || m.Msg == WM_SETFOCUS || m.Msg == WM_KILLFOCUS;
        if (handled && !framework_too) {
            m.Result = result;
            return;
        }
    }
    TWinControl::WndProc(m);
}

std::optional<std::string> TTrackBar::GetPropText(std::string_view name) const {
    if (name == "Min")
        return std::to_string(Min());
    if (name == "Max")
        return std::to_string(Max());
    if (name == "Position")
        return std::to_string(Position());
    if (name == "Frequency")
        return std::to_string(Frequency());
    if (name == "LineSize")
        return std::to_string(LineSize());
    if (name == "PageSize")
        return std::to_string(PageSize());
    if (name == "Orientation")
        return orientation_ == TTrackBarOrientation::trVertical ? "trVertical" : "trHorizontal";
    return TWinControl::GetPropText(name);
}

bool TTrackBar::SetPropText(std::string_view name, const std::string& value) {
    const auto n = text::str_to_int(value);
    if (!n)
        return TWinControl::SetPropText(name, value);
    if (name == "Min")
        SetMin(*n);
    else if (name == "Max")
        SetMax(*n);
    else if (name == "Position")
        SetPosition(*n);
    else if (name == "Frequency")
        SetFrequency(*n);
    else if (name == "LineSize")
        SetLineSize(*n);
    else if (name == "PageSize")
        SetPageSize(*n);
    else
        return TWinControl::SetPropText(name, value);
    return true;
}

}  // namespace forms
