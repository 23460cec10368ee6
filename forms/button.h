#pragma once

#include "forms/win_control.h"

namespace forms {

// The common base of push buttons and check boxes: pressed-state tracking of the mouse and of
// the space bar.
class TButtonControl : public TWinControl {
    FORMS_CLASS(TButtonControl, TWinControl)
  public:
    explicit TButtonControl(TComponent* owner);
    bool Pressed() const { return pressed_; }
    void WndProc(TMessage& message) override;

  protected:
    // The operator's completed press (mouse released inside, or space released).
    virtual void Pressed_Released() { Click(); }
    void KeyDown(int& key, unsigned shift) override;
    bool pressed_ = false;
    bool tracking_ = false;
};

// A push button. Default: Enter presses it when no other button has the focus; Cancel:
// Escape presses it.
class TButton : public TButtonControl {
    FORMS_CLASS(TButton, TButtonControl)
  public:
    explicit TButton(TComponent* owner);
    bool Default() const { return default_; }
    void SetDefault(bool v);
    bool Cancel() const { return cancel_; }
    void SetCancel(bool v) { cancel_ = v; }
    // True while Enter would press this button (it has the focus, or it is the default button
    // and no other button has the focus).
    bool Active() const { return active_; }

    void WndProc(TMessage& message) override;
    std::optional<std::string> GetPropText(std::string_view name) const override;
    bool SetPropText(std::string_view name, const std::string& value) override;

  protected:
    void Paint(gdi::DC& dc) override;
    void EraseBackground(gdi::DC&, const gdi::Rect&) override {}

  private:
    bool default_ = false;
    bool cancel_ = false;
    bool active_ = false;
};

enum class TCheckBoxState { cbUnchecked, cbChecked, cbGrayed };
enum class TAlignment { taLeftJustify, taRightJustify, taCenter };

// A check box: the operator toggles it by click or space bar (OnClick follows); setting
// Checked or State from code fires nothing.
class TCheckBox : public TButtonControl {
    FORMS_CLASS(TCheckBox, TButtonControl)
  public:
    explicit TCheckBox(TComponent* owner);
    bool Checked() const { return state_ == TCheckBoxState::cbChecked; }
    void SetChecked(bool v) {
        SetState(v ? TCheckBoxState::cbChecked : TCheckBoxState::cbUnchecked);
    }
    TCheckBoxState State() const { return state_; }
    void SetState(TCheckBoxState s);
    bool AllowGrayed() const { return allow_grayed_; }
    void SetAllowGrayed(bool v) { allow_grayed_ = v; }
    // taRightJustify (the default): box at the left, caption to its right.
    TAlignment Alignment() const { return alignment_; }
    void SetAlignment(TAlignment a);

    std::optional<std::string> GetPropText(std::string_view name) const override;
    bool SetPropText(std::string_view name, const std::string& value) override;

  protected:
    void Pressed_Released() override;
    void Paint(gdi::DC& dc) override;

  private:
    TCheckBoxState state_ = TCheckBoxState::cbUnchecked;
    bool allow_grayed_ = false;
    TAlignment alignment_ = TAlignment::taRightJustify;
};

}  // namespace forms
