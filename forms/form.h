#pragma once

#include "forms/win_control.h"

namespace forms {

enum class TFormBorderStyle { bsNone, bsSingle, bsSizeable, bsDialog };
enum class TCloseAction { caNone, caHide, caFree, caMinimize };
using TCloseEvent = std::function<void(TObject* sender, TCloseAction& action)>;

// One of a form's two standard scroll bars: shown or not, and its range in pixels.
struct TControlScrollBar {
    bool Visible = false;
    int Range = 0;
};

// A top-level window holding controls. Left/Top/Width/Height are its outer rectangle on the
// screen; ClientWidth/ClientHeight its client area, where the children are placed. It tracks
// the focused control (firing OnExit / OnEnter as the focus moves between its controls), moves
// the focus with Tab and Shift+Tab in tab order, and lets Enter and Escape press its default
// and cancel buttons.
class TForm : public TWinControl {
    FORMS_CLASS(TForm, TWinControl)
  public:
    explicit TForm(TComponent* owner);
    ~TForm() override;

    TFormBorderStyle BorderStyle() const { return border_style_; }
    void SetBorderStyle(TFormBorderStyle s) { border_style_ = s; }
    bool MaximizeBox() const { return maximize_box_; }
    void SetMaximizeBox(bool v) { maximize_box_ = v; }
    bool MinimizeBox() const { return minimize_box_; }
    void SetMinimizeBox(bool v) { minimize_box_ = v; }

    int ClientWidth();
    int ClientHeight();
    void SetClientWidth(int w);
    void SetClientHeight(int h);

    // Shows the form and makes it the active window; the focus goes to ActiveControl or to the
    // first control in tab order.
    virtual void Show();
    // Asks the form to close: OnClose decides; closing the main form ends the application.
    void Close();
    // Runs `OnCreate` (the application calls it once, after construction).
    void DoCreate();

    TWinControl* ActiveControl() const { return active_control_; }
    void SetActiveControl(TWinControl* c);
    // Moves the focus to the next (or previous) focusable control in tab order after `current`.
    void SelectNext(TWinControl* current, bool forward);
    // True while the focus is being moved by the keyboard (Tab); edits select all then.
    bool FocusingByKeyboard() const { return focusing_by_keyboard_; }

    // The standard scroll bars (set Visible/Range, then ApplyScrollBars()).
    TControlScrollBar HorzScrollBar;
    TControlScrollBar VertScrollBar;
    void ApplyScrollBars();

    // Called by controls: the focus moved to `c` (fires OnExit and OnEnter).
    void SetFocusedControl(TWinControl* c);
    // A dialog key (Tab, Enter, Escape) that the focused control does not take; true if used.
    bool DialogKey(int key, unsigned shift);
    // A control is going away: drop references to it.
    void ControlDestroyed(TControl* c);

    TNotifyEvent OnCreate;
    TNotifyEvent OnShow;
    TNotifyEvent OnDestroy;
    TCloseEvent OnClose;

    void WndProc(TMessage& message) override;

  protected:
    void CreateParams(TCreateParams& params) override;
    void VisibleChanged() override;
    void TextChanged() override;

  private:
    TFormBorderStyle border_style_ = TFormBorderStyle::bsSizeable;
    bool maximize_box_ = true;
    bool minimize_box_ = true;
    TWinControl* active_control_ = nullptr;
    bool focusing_by_keyboard_ = false;
};

}  // namespace forms
