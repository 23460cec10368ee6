#pragma once

#include <functional>
#include <memory>
#include <string_view>
#include <vector>

#include "forms/win_control.h"
#include "platform/win/toolbar.h"

namespace forms {

class TToolBar;

enum class TToolButtonStyle { tbsButton, tbsCheck, tbsSeparator };

// One button of a tool bar: a push button, a check button that stays down until pressed again
// (Grouped: adjacent grouped check buttons are a group, and pressing one lets the others up),
// or a separator. OnClick fires when the operator lets it go over where it was pressed, after
// Down has changed; setting Down from code fires nothing.
class TToolButton : public TObject {
    FORMS_CLASS(TToolButton, TObject)
  public:
    int Index() const { return index_; }
    // The command id the bar reports for it (WM_COMMAND, TB_* messages).
    int Command() const;
    const std::string& Caption() const;
    void SetCaption(std::string_view caption);
    TToolButtonStyle Style() const;
    void SetStyle(TToolButtonStyle style);
    bool Grouped() const;
    void SetGrouped(bool grouped);
    bool Down() const;
    void SetDown(bool down);
    bool Enabled() const;
    void SetEnabled(bool enabled);
    // Its rectangle in the bar's client coordinates.
    gdi::Rect BoundsRect() const;

    TNotifyEvent OnClick;

  private:
    friend class TToolBar;
    win::ToolbarButton& Item() const;
    TToolBar* bar_ = nullptr;
    int index_ = 0;
};

// Drawing handlers an application may give a tool bar. OnCustomDraw runs after the bar's
// background is painted (over `area`, the whole bar) and may draw over it; `default_draw` set
// false keeps the bar from drawing its buttons. OnCustomDrawButton runs before each button is
// drawn (separators included, hidden buttons not; the button's rectangle is its BoundsRect);
// `default_draw` set false leaves that button to the handler. A skin draws the parts whose handler
// is not assigned.
using TToolBarCustomDrawEvent =
    std::function<void(TToolBar* sender, gdi::DC& dc, const gdi::Rect& area, bool& default_draw)>;
using TToolBarCustomDrawButtonEvent =
    std::function<void(TToolBar* sender, TToolButton* button, gdi::DC& dc, bool& default_draw)>;

// A row of buttons with captions along the top of its parent, laid out from the left. All
// buttons are ButtonWidth wide, or as wide as the widest caption; the bar is ButtonHeight plus 2
// pixels above and below. Flat: buttons show their edge only under the mouse, pressed or down.
// Its window answers the tool bar messages (TB_BUTTONCOUNT, TB_GETBUTTON, TB_GETITEMRECT,
// TB_GETSTATE, TB_CHECKBUTTON ...) as the system's tool bars do.
class TToolBar : public TWinControl {
    FORMS_CLASS(TToolBar, TWinControl)
  public:
    explicit TToolBar(TComponent* owner);
    ~TToolBar() override;

    int ButtonCount() const { return static_cast<int>(buttons_.size()); }
    TToolButton& Buttons(int i) { return *buttons_.at(i); }
    // Throws std::length_error when the bar already holds kToolbarMaxButtons buttons.
    TToolButton& AddButton(const std::string& caption,
                           TToolButtonStyle style = TToolButtonStyle::tbsButton);
    void DeleteButton(int i);
    // Button i's rectangle in client coordinates (empty when there is none).
    gdi::Rect ButtonRect(int i) const;

    int ButtonWidth() const { return state_.button_width; }
    int ButtonHeight() const { return state_.button_height; }
    void SetButtonWidth(int width);
    void SetButtonHeight(int height);
    bool Flat() const { return flat_; }
    void SetFlat(bool flat);

    const win::ToolbarState& State() const { return state_; }

    TToolBarCustomDrawEvent OnCustomDraw;
    TToolBarCustomDrawButtonEvent OnCustomDrawButton;

    std::optional<std::string> GetPropText(std::string_view name) const override;
    bool SetPropText(std::string_view name, const std::string& value) override;
    void WndProc(TMessage& message) override;

  protected:
    void CreateParams(TCreateParams& params) override;
    void Paint(gdi::DC& dc) override;

  private:
    friend class TToolButton;
    // Sends a TB_* message through the window when there is one (so the mouse's hold on the
    // buttons is kept right), else applies it to the state directly.
    void Apply(win::UINT msg, win::WPARAM wParam, win::LPARAM lParam);
    void Renumber();
    void FitHeight();

    win::ToolbarState state_;
    std::vector<std::unique_ptr<TToolButton>> buttons_;
    int next_command_ = 1;
    bool flat_ = false;
};

}  // namespace forms
