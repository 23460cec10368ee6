#include "forms/progress_bar.h"

#include "platform/text/str_to_int.h"
#include "platform/win/window.h"

namespace forms {

TProgressBar::TProgressBar(TComponent* owner) : TWinControl(owner) {
    SetBounds(0, 0, 150, 16);
}

void TProgressBar::Changed(bool changed) {
    if (changed)
        Invalidate();
}

void TProgressBar::SetMin(int v) {
    Changed(range_.SetRange(v, range_.High()));
}

void TProgressBar::SetMax(int v) {
    Changed(range_.SetRange(range_.Low(), v));
}

void TProgressBar::SetRange(int min, int max) {
    Changed(range_.SetRange(min, max));
}

void TProgressBar::SetPosition(int v) {
    Changed(range_.SetPosition(v));
}

void TProgressBar::SetStep(int v) {
    range_.SetStep(v);
}

void TProgressBar::StepIt() {
    Changed(range_.StepIt());
}

void TProgressBar::StepBy(int delta) {
    Changed(range_.DeltaPos(delta));
}

void TProgressBar::SetOrientation(TProgressBarOrientation o) {
    if (o == orientation_)
        return;
    orientation_ = o;
    StyleChanged();
}

void TProgressBar::SetSmooth(bool v) {
    if (v == smooth_)
        return;
    smooth_ = v;
    StyleChanged();
}

win::DWORD TProgressBar::BarStyle() const {
    win::DWORD style = 0;
    if (orientation_ == TProgressBarOrientation::pbVertical)
        style |= win::PBS_VERTICAL;
    if (smooth_)
        style |= win::PBS_SMOOTH;
    return style;
}

// The window carries the orientation and smoothness in its style, as the system's bars do.
void TProgressBar::StyleChanged() {
    if (HandleAllocated()) {
        auto style = static_cast<win::DWORD>(win::GetWindowLongPtr(handle_, win::GWL_STYLE));
        style = (style & ~(win::PBS_VERTICAL | win::PBS_SMOOTH)) | BarStyle();
        win::SetWindowLongPtr(handle_, win::GWL_STYLE, style);
    }
    Invalidate();
}

void TProgressBar::CreateParams(TCreateParams& params) {
    TWinControl::CreateParams(params);
    params.style |= BarStyle();
}

void TProgressBar::Paint(gdi::DC& dc) {
    win::DrawProgressBar(dc, ClientRect(), range_,
                         orientation_ == TProgressBarOrientation::pbVertical, smooth_);
}

void TProgressBar::WndProc(TMessage& m) {
    win::LRESULT result = 0;
    bool changed = false;
    if (win::HandleProgressMessage(range_, m.Msg, m.WParam, m.LParam, result, changed)) {
        m.Result = result;
        Changed(changed);
        return;
    }
    TWinControl::WndProc(m);
}

std::optional<std::string> TProgressBar::GetPropText(std::string_view name) const {
    if (name == "Min")
        return std::to_string(Min());
    if (name == "Max")
        return std::to_string(Max());
    if (name == "Position")
        return std::to_string(Position());
    if (name == "Step")
        return std::to_string(Step());
    if (name == "Orientation")
        return orientation_ == TProgressBarOrientation::pbVertical ? "pbVertical" : "pbHorizontal";
    if (name == "Smooth")
        return smooth_ ? "true" : "false";
    return TWinControl::GetPropText(name);
}

bool TProgressBar::SetPropText(std::string_view name, const std::string& value) {
    const auto n = text::str_to_int(value);
    if (name == "Min" && n) {
        SetMin(*n);
        return true;
    }
    if (name == "Max" && n) {
        SetMax(*n);
        return true;
    }
    if (name == "Position" && n) {
        SetPosition(*n);
        return true;
    }
    if (name == "Step" && n) {
        SetStep(*n);
        return true;
    }
    return TWinControl::SetPropText(name, value);
}

}  // namespace forms
