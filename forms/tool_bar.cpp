#include "forms/tool_bar.h"

#include <algorithm>
#include <cctype>
#include <stdexcept>
#include <string>

#include "forms/component_tracker.h"
#include "forms/framework_mouse_messages.h"
#include "platform/win/message.h"
#include "platform/win/metrics.h"
#include "platform/win/styles.h"
#include "platform/win/window.h"

namespace forms {

win::ToolbarButton& TToolButton::Item() const {
    return bar_->state_.buttons.at(index_);
}

int TToolButton::Command() const {
    return Item().command;
}

const std::string& TToolButton::Caption() const {
    return Item().text;
}

void TToolButton::SetCaption(std::string_view caption) {
    if (Item().text == caption)
        return;
    Item().text = caption;
    bar_->Invalidate();
}

TToolButtonStyle TToolButton::Style() const {
    const win::BYTE style = Item().style;
    if (style & win::TBSTYLE_SEP)
        return TToolButtonStyle::tbsSeparator;
    return (style & win::TBSTYLE_CHECK) ? TToolButtonStyle::tbsCheck : TToolButtonStyle::tbsButton;
}

void TToolButton::SetStyle(TToolButtonStyle style) {
    win::BYTE& bits = Item().style;
    const win::BYTE group = bits & win::TBSTYLE_GROUP;
    switch (style) {
        case TToolButtonStyle::tbsButton:
            bits = group;
            break;
        case TToolButtonStyle::tbsCheck:
            bits = group | win::TBSTYLE_CHECK;
            break;
        case TToolButtonStyle::tbsSeparator:
            bits = group | win::TBSTYLE_SEP;
            break;
    }
    if (style != TToolButtonStyle::tbsCheck)
        Item().state &= static_cast<win::BYTE>(~win::TBSTATE_CHECKED);
    bar_->Invalidate();
}

bool TToolButton::Grouped() const {
    return (Item().style & win::TBSTYLE_GROUP) != 0;
}

void TToolButton::SetGrouped(bool grouped) {
    win::BYTE& bits = Item().style;
    bits = grouped ? static_cast<win::BYTE>(bits | win::TBSTYLE_GROUP)
                   : static_cast<win::BYTE>(bits & ~win::TBSTYLE_GROUP);
    // A group keeps at most one button down: this one, when it is.
    if (Down())
        win::ToolbarSetChecked(bar_->state_, index_, true);
    bar_->Invalidate();
}

bool TToolButton::Down() const {
    return (Item().state & win::TBSTATE_CHECKED) != 0;
}

void TToolButton::SetDown(bool down) {
    if (Style() != TToolButtonStyle::tbsCheck || down == Down())
        return;
    bar_->Apply(win::TB_CHECKBUTTON, static_cast<win::WPARAM>(Command()), down);
}

bool TToolButton::Enabled() const {
    return (Item().state & win::TBSTATE_ENABLED) != 0;
}

void TToolButton::SetEnabled(bool enabled) {
    if (enabled == Enabled())
        return;
    bar_->Apply(win::TB_ENABLEBUTTON, static_cast<win::WPARAM>(Command()), enabled);
}

gdi::Rect TToolButton::BoundsRect() const {
    return bar_->ButtonRect(index_);
}

TToolBar::TToolBar(TComponent* owner) : TWinControl(owner) {
    SetBounds(0, 0, 200, win::ToolbarHeight(state_));
    SetAlign(TAlign::alTop);
}

TToolBar::~TToolBar() = default;

TToolButton& TToolBar::AddButton(const std::string& caption, TToolButtonStyle style) {
    win::TBBUTTON b;
    b.idCommand = next_command_++;
    b.fsStyle = style == TToolButtonStyle::tbsSeparator ? win::TBSTYLE_SEP
                : style == TToolButtonStyle::tbsCheck   ? win::TBSTYLE_CHECK
                                                        : win::TBSTYLE_BUTTON;
    b.iString = caption.empty() ? 0 : reinterpret_cast<intptr_t>(caption.c_str());
    const int before = ButtonCount();
    Apply(win::TB_ADDBUTTONS, 1, reinterpret_cast<win::LPARAM>(&b));
    // A bar that refused the button (it holds as many as a bar can) has no new button to hand
    // back; handing back the last one would let the caller change a button it never made.
    if (ButtonCount() == before)
        throw std::length_error("a tool bar holds at most " +
                                std::to_string(win::kToolbarMaxButtons) + " buttons");
    return *buttons_.back();
}

void TToolBar::DeleteButton(int i) {
    if (i < 0 || i >= ButtonCount())
        return;
    Apply(win::TB_DELETEBUTTON, static_cast<win::WPARAM>(i), 0);
}

void TToolBar::Apply(win::UINT msg, win::WPARAM wParam, win::LPARAM lParam) {
    if (handle_) {
        win::SendMessage(handle_, msg, wParam, lParam);
        return;
    }
    TMessage m{msg, wParam, lParam, 0};
    WndProc(m);
}

// One button object per button, in order, each keeping its own handlers: buttons come and go
// through the window's messages too, so the objects follow each insertion and removal.
void TToolBar::Renumber() {
    for (int i = 0; i < ButtonCount(); ++i) {
        buttons_[i]->bar_ = this;
        buttons_[i]->index_ = i;
    }
}

void TToolBar::FitHeight() {
    SetHeight(win::ToolbarHeight(state_));
}

gdi::Rect TToolBar::ButtonRect(int i) const {
    if (i < 0 || i >= ButtonCount())
        return {};
    return win::ToolbarItemRects(state_, ClientRect(), Font().ToGdi()).at(i);
}

void TToolBar::SetButtonWidth(int width) {
    Apply(win::TB_SETBUTTONSIZE, 0,
          win::MAKELPARAM(std::clamp(width, 0, 0xFFFF), state_.button_height));
}

void TToolBar::SetButtonHeight(int height) {
    Apply(win::TB_SETBUTTONSIZE, 0,
          win::MAKELPARAM(state_.button_width, std::clamp(height, 0, 0xFFFF)));
    FitHeight();
}

void TToolBar::SetFlat(bool flat) {
    if (flat == flat_)
        return;
    flat_ = flat;
    if (HandleAllocated()) {
        auto style = static_cast<win::DWORD>(win::GetWindowLongPtr(handle_, win::GWL_STYLE));
        style = flat ? style | win::TBSTYLE_FLAT : style & ~win::TBSTYLE_FLAT;
        win::SetWindowLongPtr(handle_, win::GWL_STYLE, style);
    }
    Invalidate();
}

void TToolBar::CreateParams(TCreateParams& params) {
    TWinControl::CreateParams(params);
    if (flat_)
        params.style |= win::TBSTYLE_FLAT;
}

void TToolBar::Paint(gdi::DC& dc) {
    const gdi::Rect client = ClientRect();
    if (!OnCustomDraw && !OnCustomDrawButton) {
        win::DrawToolbar(dc, client, state_, Font().ToGdi(), Enabled(), flat_);
        return;
    }
    if (client.empty())
        return;
    dc.fill_rect(client, win::GetSysColor(win::COLOR_BTNFACE));
    // The handlers run from copies: one may let itself go (or be replaced) while it runs. A
    // handler that frees the bar ends the paint.
    TComponentTracker alive(this);
    bool draw_buttons = true;
    if (OnCustomDraw) {
        const TToolBarCustomDrawEvent handler = OnCustomDraw;
        const int saved = dc.save();
        handler(this, dc, client, draw_buttons);
        if (alive.Deleted())
            return;
        dc.restore(saved);
    }
    if (!draw_buttons)
        return;
    const gdi::Font font = Font().ToGdi();
    dc.select_font(font);
    const std::vector<gdi::Rect> rects = win::ToolbarItemRects(state_, client, font);
    for (size_t i = 0; i < rects.size() && i < buttons_.size(); ++i) {
        if (rects[i].left >= client.right)
            break;
        if (state_.buttons[i].state & win::TBSTATE_HIDDEN)
            continue;  // nothing to draw, nobody to ask
        bool draw = true;
        if (OnCustomDrawButton) {
            const TToolBarCustomDrawButtonEvent handler = OnCustomDrawButton;
            const int saved = dc.save();
            handler(this, buttons_[i].get(), dc, draw);
            if (alive.Deleted())
                return;
            dc.restore(saved);
            if (i >= buttons_.size())
                break;  // the handler deleted buttons
        }
        if (draw)
            win::DrawToolbarButton(dc, rects[i], state_.buttons[i],
                                   state_.hot == static_cast<int>(i), flat_, Enabled());
    }
}

void TToolBar::WndProc(TMessage& m) {
    using namespace win;
    if (m.Msg == TB_AUTOSIZE) {
        FitHeight();  // the framework aligns the bar to its parent's top
        m.Result = 0;
        return;
    }
    const int count_before = ButtonCount();
    LRESULT result = 0;
    ToolbarOutcome out;
    TComponentTracker alive(this);
    const bool handled = HandleToolbarMessage(handle_, state_, Font().ToGdi(), m.Msg, m.WParam,
                                              m.LParam, result, out);
    const int count_after = static_cast<int>(state_.buttons.size());
    if (count_after > count_before) {
        const size_t at = m.Msg == TB_INSERTBUTTON
                              ? std::min<size_t>(m.WParam, static_cast<size_t>(count_before))
                              : static_cast<size_t>(count_before);
        for (int k = 0; k < count_after - count_before; ++k)
            buttons_.insert(buttons_.begin() + static_cast<std::ptrdiff_t>(at + k),
                            std::make_unique<TToolButton>());
        Renumber();
    } else if (count_after < count_before && m.Msg == TB_DELETEBUTTON) {
        buttons_.erase(buttons_.begin() + static_cast<std::ptrdiff_t>(m.WParam));
        Renumber();
    }
    if (out.repaint)
        Invalidate();
    if (out.clicked >= 0 && out.clicked < ButtonCount()) {
        TToolButton* button = buttons_[out.clicked].get();
        FireEvent(button->OnClick, button);
        if (alive.Deleted())
            return;
    }
    if (handled && !FrameworkHearsMouseMessage(m.Msg)) {
        m.Result = result;
        return;
    }
    TWinControl::WndProc(m);
}

std::optional<std::string> TToolBar::GetPropText(std::string_view name) const {
    if (name == "ButtonCount")
        return std::to_string(ButtonCount());
    if (name == "Flat")
        return std::string(flat_ ? "true" : "false");
    return TWinControl::GetPropText(name);
}

bool TToolBar::SetPropText(std::string_view name, const std::string& value) {
    if (name == "Flat") {
        std::string v = value;
        std::transform(v.begin(), v.end(), v.begin(),
                       [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
        if (v != "true" && v != "false")
            return false;
        SetFlat(v == "true");
        return true;
    }
    return TWinControl::SetPropText(name, value);
}

}  // namespace forms
