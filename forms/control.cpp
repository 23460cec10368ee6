#include "forms/control.h"

#include <cctype>

#include "forms/component_tracker.h"
#include "forms/form.h"
#include "forms/win_control.h"
#include "platform/text/str_to_int.h"
#include "platform/win/metrics.h"
#include "platform/win/painting.h"

namespace forms {

gdi::Color ColorToRGB(TColor c) {
    if (c & kSystemColorFlag)
        return win::GetSysColor(static_cast<int>(c & 0xFF));
    return c & 0xFFFFFF;
}

namespace {

std::string BoolText(bool v) {
    return v ? "true" : "false";
}

bool ParseBool(const std::string& v, bool* out) {
    std::string l;
    for (char ch : v)
        l += static_cast<char>(std::tolower(static_cast<unsigned char>(ch)));
    if (l == "true" || l == "1") {
        *out = true;
        return true;
    }
    if (l == "false" || l == "0") {
        *out = false;
        return true;
    }
    return false;
}

// Integer properties ("Tag", "Color") read as the framework reads integers: "010" is ten,
// "$FF" is hexadecimal, anything else is refused.
bool ParseInt(const std::string& v, int* out) {
    const auto n = text::str_to_int(v);
    if (!n) {
        return false;
    }
    *out = *n;
    return true;
}

}  // namespace

void TOwnWndProc::operator()(TMessage& message) const {
    control->WndProc(message);
}

void TWindowProcedure::OwnChanged(bool was_own) {
    control_->FocusHearingChanged(control_->hears_focus_changes_ || !was_own);
}

void TControl::SetHearsFocusChanges(bool v) {
    const bool heard = HearsFocusChanges();
    hears_focus_changes_ = v;
    FocusHearingChanged(heard);
}

void TControl::FocusHearingChanged(bool heard) {
    const bool hears = HearsFocusChanges();
    if (hears != heard)
        CountFocusHearers(parent_, hears ? 1 : -1);
}

void TControl::CountFocusHearers(TWinControl* from, int delta) {
    for (TControl* c = from; c != nullptr; c = c->parent_)
        c->focus_hearers_inside_ += delta;
}

TControl::TControl(TComponent* owner) : TComponent(owner) {
    font_.OnChange = [this] {
        if (!taking_parent_font_)
            parent_font_ = false;
        FontChanged();
    };
}

TControl::~TControl() {
    MarkDestroying();
    if (TForm* form = ParentForm())
        form->ControlDestroyed(this);
    if (parent_)
        parent_->RemoveControl(this);
    parent_ = nullptr;
}

void TControl::SetParent(TWinControl* parent) {
    if (parent == parent_)
        return;
    if (parent_) {
        Invalidate();
        if (TForm* form = ParentForm())
            form->ControlDestroyed(this);
        parent_->RemoveControl(this);
    }
    parent_ = nullptr;
    if (parent) {
        parent->InsertControl(this);
        parent_ = parent;
        TakeParentFont();
        TakeParentColor();
        Invalidate();
    }
}

void TControl::SetBounds(int left, int top, int width, int height) {
    if (left == left_ && top == top_ && width == width_ && height == height_)
        return;
    left_ = left;
    top_ = top;
    width_ = width;
    height_ = height;
    if (parent_ && !AsWinControl())
        parent_->windowless_bounds_made_ = false;
    BoundsChanged();
}

void TControl::SetAlign(TAlign a) {
    if (a == align_)
        return;
    if (parent_)
        parent_->aligned_children_ += (a != TAlign::alNone) - (align_ != TAlign::alNone);
    align_ = a;
    if (parent_)
        parent_->AlignControls();
}

void TControl::SetText(std::string_view text) {
    if (text == caption_)
        return;
    caption_ = text;
    CountChange();
    TextChanged();
}

void TControl::SetParentFont(bool v) {
    parent_font_ = v;
    if (v)
        TakeParentFont();
}

void TControl::TakeParentFont() {
    if (!parent_font_ || !parent_)
        return;
    taking_parent_font_ = true;
    font_.Assign(parent_->Font());
    taking_parent_font_ = false;
}

void TControl::SetColor(TColor c) {
    parent_color_ = false;
    if (c == color_)
        return;
    color_ = c;
    ColorChanged();
}

void TControl::SetParentColor(bool v) {
    parent_color_ = v;
    if (v)
        TakeParentColor();
}

void TControl::TakeParentColor() {
    if (!parent_color_ || !parent_)
        return;
    if (parent_->Color() == color_)
        return;
    color_ = parent_->Color();
    ColorChanged();
}

void TControl::SetEnabled(bool v) {
    if (v == enabled_)
        return;
    enabled_ = v;
    CountChange();
    EnabledChanged();
}

void TControl::EnabledChanged() {
    if (Watched())
        Perform(CM_ENABLEDCHANGED);
    Invalidate();
}

void TControl::SetVisible(bool v) {
    if (v == visible_)
        return;
    visible_ = v;
    if (parent_ && !AsWinControl())
        parent_->windowless_bounds_made_ = false;
    VisibleChanged();
    Perform(CM_VISIBLECHANGED, v ? 1 : 0);
}

bool TControl::Showing() const {
    if (!visible_)
        return false;
    if (auto* form = dynamic_cast<const TForm*>(this))
        return form->HandleAllocated() && visible_;
    return parent_ && parent_->Showing();
}

win::LRESULT TControl::Perform(win::UINT msg, win::WPARAM wparam, win::LPARAM lparam) {
    TMessage m{msg, wparam, lparam, 0};
    if (HasOwnWindowProc()) {
        WndProc(m);
    } else if (WindowProc) {
        // From a copy: the procedure may replace WindowProc or free the control.
        TWndMethod proc = WindowProc.Method();
        proc(m);
    } else {
        WndProc(m);
    }
    return m.Result;
}

void TControl::WndProc(TMessage& message) {
    using namespace win;
    switch (message.Msg) {
        case WM_LBUTTONDOWN:
        case WM_LBUTTONDBLCLK:
        case WM_RBUTTONDOWN:
        case WM_LBUTTONUP:
        case WM_RBUTTONUP:
        case WM_MOUSEMOVE:
            if (!MouseMessage(message))
                return;
            break;
        default:
            break;
    }
    DefaultHandler(message);
}

bool TControl::MouseMessage(TMessage& message) {
    using namespace win;
    // The mouse events may free the control; then nothing more is done with it.
    TComponentTracker alive(this);
    switch (message.Msg) {
        case WM_LBUTTONDOWN:
        case WM_LBUTTONDBLCLK:
        case WM_RBUTTONDOWN: {
            TMouseButton b =
                message.Msg == WM_RBUTTONDOWN ? TMouseButton::Right : TMouseButton::Left;
            unsigned shift = (message.WParam & MK_SHIFT ? unsigned(ssShift) : 0u) |
                             (message.WParam & MK_CONTROL ? unsigned(ssCtrl) : 0u) |
                             (message.Msg == WM_LBUTTONDBLCLK ? unsigned(ssDouble) : 0u);
            if (message.Msg == WM_LBUTTONDBLCLK) {
                DblClick();
                if (alive.Deleted())
                    return false;
            }
            MouseDown(b, shift, GET_X_LPARAM(message.LParam), GET_Y_LPARAM(message.LParam));
            break;
        }
        case WM_LBUTTONUP:
        case WM_RBUTTONUP: {
            TMouseButton b = message.Msg == WM_RBUTTONUP ? TMouseButton::Right : TMouseButton::Left;
            MouseUp(b, 0, GET_X_LPARAM(message.LParam), GET_Y_LPARAM(message.LParam));
            break;
        }
        default:
            MouseMove(0, GET_X_LPARAM(message.LParam), GET_Y_LPARAM(message.LParam));
            break;
    }
    return !alive.Deleted();
}

void TControl::DefaultHandler(TMessage&) {}

void TControl::Invalidate() {}
void TControl::Repaint() {
    Invalidate();
}

void TControl::Click() {
    FireEvent(OnClick, this);
}

void TControl::DblClick() {
    FireEvent(OnDblClick, this);
}

void TControl::MouseDown(TMouseButton button, unsigned shift, int x, int y) {
    FireEvent(OnMouseDown, this, button, shift, x, y);
}

void TControl::MouseUp(TMouseButton button, unsigned shift, int x, int y) {
    FireEvent(OnMouseUp, this, button, shift, x, y);
}

void TControl::MouseMove(unsigned, int, int) {}

TForm* TControl::ParentForm() const {
    const TControl* c = this;
    while (c) {
        if (auto* f = dynamic_cast<const TForm*>(c))
            return const_cast<TForm*>(f);
        c = c->parent_;
    }
    return nullptr;
}

gdi::Point TControl::ClientOrigin() const {
    return {left_, top_};
}

gdi::Point TControl::ClientToScreen(gdi::Point p) const {
    if (auto* wc = AsWinControl(); wc && wc->HandleAllocated()) {
        win::POINT pt = p;
        win::ClientToScreen(const_cast<TWinControl*>(wc)->Handle(), &pt);
        return pt;
    }
    if (!parent_)
        return p;
    return parent_->ClientToScreen({p.x + left_, p.y + top_});
}

gdi::Point TControl::ScreenToClient(gdi::Point p) const {
    gdi::Point origin = ClientToScreen({0, 0});
    return {p.x - origin.x, p.y - origin.y};
}

std::optional<std::string> TControl::GetPropText(std::string_view name) const {
    if (name == "Caption" || name == "Text")
        return Text();
    if (name == "Name")
        return std::string(Name());
    if (name == "Tag")
        return std::to_string(Tag());
    if (name == "Left")
        return std::to_string(left_);
    if (name == "Top")
        return std::to_string(top_);
    if (name == "Width")
        return std::to_string(width_);
    if (name == "Height")
        return std::to_string(height_);
    if (name == "Enabled")
        return BoolText(enabled_);
    if (name == "Visible")
        return BoolText(visible_);
    if (name == "Color")
        return std::to_string(ColorToRGB(color_));
    if (name == "ParentFont")
        return BoolText(parent_font_);
    if (name == "Font")
        return font_.Name() + "," + std::to_string(font_.Height());
    return std::nullopt;
}

bool TControl::SetPropText(std::string_view name, const std::string& value) {
    bool b = false;
    int n = 0;
    if (name == "Caption" || name == "Text") {
        SetText(value);
        return true;
    }
    if (name == "Enabled" && ParseBool(value, &b)) {
        SetEnabled(b);
        return true;
    }
    if (name == "Visible" && ParseBool(value, &b)) {
        SetVisible(b);
        return true;
    }
    if (name == "Color" && ParseInt(value, &n)) {
        SetColor(static_cast<TColor>(n));
        return true;
    }
    if (name == "Tag" && ParseInt(value, &n)) {
        SetTag(n);
        return true;
    }
    return false;
}

// ---- TGraphicControl ------------------------------------------------------------------------

void TGraphicControl::Invalidate() {
    if (!parent_ || !parent_->HandleAllocated() || Destroying())
        return;
    win::RECT r = BoundsRect();
    win::InvalidateRect(parent_->Handle(), &r, true);
}

void TGraphicControl::Repaint() {
    Invalidate();
    if (parent_ && parent_->HandleAllocated())
        win::UpdateWindow(parent_->Handle());
}

void TGraphicControl::BoundsChanged() {
    // The old place was invalidated before the move by the caller of SetBounds; the new one here.
    if (parent_ && parent_->HandleAllocated())
        win::InvalidateRect(parent_->Handle(), nullptr, true);
}

void TGraphicControl::WndProc(TMessage& message) {
    using namespace win;
    if (message.Msg != WM_LBUTTONDOWN && message.Msg != WM_LBUTTONDBLCLK &&
        message.Msg != WM_LBUTTONUP) {
        TControl::WndProc(message);
        return;
    }
    TComponentTracker alive(this);
    TControl::WndProc(message);
    if (alive.Deleted())
        return;
    // A press and release on the control is its click (the parent forwards both).
    if (message.Msg == WM_LBUTTONDOWN) {
        clicking_ = true;
    } else if (message.Msg == WM_LBUTTONDBLCLK) {
        clicking_ = false;
    } else if (message.Msg == WM_LBUTTONUP && clicking_) {
        clicking_ = false;
        if (ClientRect().contains(MAKEPOINT(message.LParam)))
            Click();
    }
}

}  // namespace forms
