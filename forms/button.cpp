#include "forms/button.h"

#include "forms/component_tracker.h"
#include "forms/form.h"
#include "forms/painter.h"
#include "platform/win/input.h"

namespace forms {

// ---- TButtonControl -----------------------------------------------------------------------

TButtonControl::TButtonControl(TComponent* owner) : TWinControl(owner) {
    SetTabStop(true);
}

void TButtonControl::WndProc(TMessage& m) {
    using namespace win;
    switch (m.Msg) {
        case WM_LBUTTONDOWN:
        case WM_LBUTTONDBLCLK:
            if (CanFocus() && !Focused())
                SetFocus();
            tracking_ = true;
            pressed_ = true;
            SetCapture(handle_);
            Invalidate();
            break;
        case WM_MOUSEMOVE:
            if (tracking_) {
                bool inside = ClientRect().contains(MAKEPOINT(m.LParam));
                if (inside != pressed_) {
                    pressed_ = inside;
                    Invalidate();
                }
            }
            break;
        case WM_LBUTTONUP:
            if (tracking_) {
                const bool click = ClientRect().contains(MAKEPOINT(m.LParam));
                tracking_ = false;
                pressed_ = false;
                if (GetCapture() == handle_)
                    ReleaseCapture();
                Invalidate();
                TComponentTracker alive(this);
                TControl::WndProc(m);  // MouseUp first, as the framework reports it
                if (click && !alive.Deleted())
                    Pressed_Released();
                return;
            }
            break;
        case WM_CAPTURECHANGED:
            if (tracking_) {
                tracking_ = false;
                pressed_ = false;
                Invalidate();
            }
            break;
        case WM_KEYUP:
            if (m.WParam == VK_SPACE && pressed_) {
                pressed_ = false;
                Invalidate();
                Pressed_Released();
                m.Result = 0;
                return;
            }
            break;
        case WM_KILLFOCUS:
            if (pressed_ && !tracking_)
                pressed_ = false;
            break;
        default:
            break;
    }
    TWinControl::WndProc(m);
}

void TButtonControl::KeyDown(int& key, unsigned) {
    if (key == win::VK_SPACE && !pressed_) {
        pressed_ = true;
        Invalidate();
    }
}

// ---- TButton -------------------------------------------------------------------------------

TButton::TButton(TComponent* owner) : TButtonControl(owner) {
    SetInitialSize(75, 25);
    // The default frame follows the focus.
    SetHearsFocusChanges(true);
}

void TButton::SetDefault(bool v) {
    if (v == default_)
        return;
    default_ = v;
    TForm* form = ParentForm();
    TWinControl* focused = form ? form->ActiveControl() : nullptr;
    active_ = Focused() || (default_ && !dynamic_cast<TButton*>(focused));
    Invalidate();
}

void TButton::WndProc(TMessage& m) {
    switch (m.Msg) {
        case CM_DIALOGKEY: {
            const int key = static_cast<int>(m.WParam);
            const unsigned shift = static_cast<unsigned>(m.LParam);
            if (((key == win::VK_RETURN && active_) || (key == win::VK_ESCAPE && cancel_)) &&
                (shift & (ssShift | ssCtrl | ssAlt)) == 0 && CanFocus()) {
                Click();
                m.Result = 1;
                return;
            }
            break;
        }
        case CM_FOCUSCHANGED: {
            auto* focused = reinterpret_cast<TWinControl*>(m.LParam);
            const bool was = active_;
            active_ = focused == this || (default_ && !dynamic_cast<TButton*>(focused));
            if (was != active_)
                Invalidate();
            break;
        }
        default:
            break;
    }
    TButtonControl::WndProc(m);
}

void TButton::Paint(gdi::DC& dc) {
    unsigned flags = 0;
    if (pressed_)
        flags |= painter::kPressed;
    if (!Enabled())
        flags |= painter::kDisabled;
    if (Focused())
        flags |= painter::kFocused;
    if (active_ || default_)
        flags |= painter::kDefault;
    dc.select_font(Font().ToGdi());
    painter::draw_button(dc, ClientRect(), Caption(), flags, ColorToRGB(Font().Color()));
}

std::optional<std::string> TButton::GetPropText(std::string_view name) const {
    if (name == "Default")
        return default_ ? "true" : "false";
    if (name == "Cancel")
        return cancel_ ? "true" : "false";
    return TButtonControl::GetPropText(name);
}

bool TButton::SetPropText(std::string_view name, const std::string& value) {
    if (name == "Default") {
        SetDefault(value == "true");
        return true;
    }
    if (name == "Cancel") {
        SetCancel(value == "true");
        return true;
    }
    return TButtonControl::SetPropText(name, value);
}

// ---- TCheckBox -----------------------------------------------------------------------------

TCheckBox::TCheckBox(TComponent* owner) : TButtonControl(owner) {
    SetInitialSize(97, 17);
}

void TCheckBox::SetState(TCheckBoxState s) {
    if (s == state_)
        return;
    state_ = s;
    CountChange();
    Invalidate();
}

void TCheckBox::SetAlignment(TAlignment a) {
    if (a == alignment_)
        return;
    alignment_ = a;
    Invalidate();
}

void TCheckBox::Pressed_Released() {
    switch (state_) {
        case TCheckBoxState::cbUnchecked:
            state_ = allow_grayed_ ? TCheckBoxState::cbGrayed : TCheckBoxState::cbChecked;
            break;
        case TCheckBoxState::cbGrayed:
            state_ = TCheckBoxState::cbChecked;
            break;
        case TCheckBoxState::cbChecked:
            state_ = TCheckBoxState::cbUnchecked;
            break;
    }
    CountChange();
    Invalidate();
    Click();
}

void TCheckBox::Paint(gdi::DC& dc) {
    gdi::Rect r = ClientRect();
    dc.fill_rect(r, ColorToRGB(Color()));
    unsigned flags = 0;
    if (pressed_)
        flags |= painter::kPressed;
    if (!Enabled())
        flags |= painter::kDisabled;
    if (state_ == TCheckBoxState::cbChecked)
        flags |= painter::kChecked;
    if (state_ == TCheckBoxState::cbGrayed)
        flags |= painter::kGrayed;
    const int box_y = r.top + (r.height() - painter::kCheckBoxSize) / 2;
    const bool box_left = alignment_ != TAlignment::taLeftJustify;
    const int box_x = box_left ? r.left : r.right - painter::kCheckBoxSize;
    painter::draw_check_box(dc, {box_x, box_y}, flags);
    dc.select_font(Font().ToGdi());
    gdi::Rect text = box_left
                         ? gdi::Rect{r.left + painter::kCheckBoxSize + 4, r.top, r.right, r.bottom}
                         : gdi::Rect{r.left, r.top, r.right - painter::kCheckBoxSize - 4, r.bottom};
    const unsigned fmt = gdi::DT_LEFT | gdi::DT_VCENTER | gdi::DT_SINGLELINE;
    painter::draw_caption(dc, Caption(), text, fmt, !Enabled(), ColorToRGB(Font().Color()));
    if (Focused() && !Caption().empty()) {
        gdi::Rect m{0, 0, text.width(), text.height()};
        dc.draw_text(Caption(), m, gdi::DT_CALCRECT | gdi::DT_SINGLELINE);
        int h = m.height();
        gdi::Rect focus = gdi::Rect::from_xywh(text.left - 1, text.top + (text.height() - h) / 2,
                                               std::min(m.width() + 2, text.width()), h);
        dc.draw_focus_rect(focus);
    }
}

std::optional<std::string> TCheckBox::GetPropText(std::string_view name) const {
    if (name == "Checked")
        return Checked() ? "true" : "false";
    if (name == "State") {
        switch (state_) {
            case TCheckBoxState::cbUnchecked:
                return "cbUnchecked";
            case TCheckBoxState::cbChecked:
                return "cbChecked";
            case TCheckBoxState::cbGrayed:
                return "cbGrayed";
        }
    }
    if (name == "AllowGrayed")
        return allow_grayed_ ? "true" : "false";
    return TButtonControl::GetPropText(name);
}

bool TCheckBox::SetPropText(std::string_view name, const std::string& value) {
    if (name == "Checked") {
        SetChecked(value == "true");
        return true;
    }
    return TButtonControl::SetPropText(name, value);
}

}  // namespace forms
