#pragma once

#include "forms/edit_commands.h"
#include "forms/line_editor.h"
#include "forms/popup_window.h"
#include "forms/strings.h"
#include "forms/win_control.h"

namespace forms {

enum class TComboBoxStyle { csDropDown, csDropDownList };

// A combo box: a drop-down list (csDropDownList) or an editable box with a list
// (csDropDown). The list drops down in a pop-up window, by mouse (button or, for a list, the
// whole box) or by F4 / Alt+Down; Up, Down, Home and End pick items, Enter takes the
// highlighted one and Escape closes the list. Typed text that matches no item gives ItemIndex
// -1. OnChange follows the operator's choices and typing only.
class TComboBox : public TWinControl {
    FORMS_CLASS(TComboBox, TWinControl)
  public:
    explicit TComboBox(TComponent* owner);
    ~TComboBox() override;

    TComboBoxStyle Style() const { return style_; }
    void SetStyle(TComboBoxStyle s);
    TStrings& Items() { return items_; }
    const TStrings& Items() const { return items_; }
    int ItemIndex() const { return item_index_; }
    // Picks an item (or none with -1) from code: no OnChange.
    void SetItemIndex(int index);
    const std::string& Text() const override { return caption_; }
    void SetText(std::string_view text) override;
    int DropDownCount() const { return drop_down_count_; }
    void SetDropDownCount(int n) { drop_down_count_ = n < 1 ? 1 : n; }
    int MaxLength() const { return editor_.max_length(); }
    void SetMaxLength(int n) { editor_.set_max_length(n); }

    bool DroppedDown() const { return popup_.IsOpen(); }
    // The window of the list while it is dropped down (nullptr otherwise). A list with more
    // items than DropDownCount has a vertical scroll bar. While it paints, the list sends its
    // box WM_CTLCOLORLISTBOX (wParam its DC, lParam its window), as system lists do.
    win::HWND ListWindow() const { return DroppedDown() ? popup_.hwnd() : nullptr; }
    // The first item shown in the dropped-down list.
    int TopIndex() const { return top_; }
    void SetDroppedDown(bool v);
    // The drop-down button in client coordinates.
    gdi::Rect ButtonRect() const;
    // While the list is open: the screen rectangle of item `index` if it is visible.
    bool ItemScreenRect(int index, gdi::Rect* out) const;

    TNotifyEvent OnChange;
    TNotifyEvent OnDropDown;
    TNotifyEvent OnCloseUp;

    void WndProc(TMessage& message) override;
    std::optional<std::string> GetPropText(std::string_view name) const override;

  protected:
    void Paint(gdi::DC& dc) override;
    void EraseBackground(gdi::DC&, const gdi::Rect&) override {}
    bool WantsKey(int vk, unsigned shift) const override;
    void KeyDown(int& key, unsigned shift) override;
    void KeyPress(char32_t ch) override;

  private:
    void DropDown();
    void CloseUp(bool accept);
    void OperatorSelect(int index);
    void EditChanged();
    // Makes `text` the box's text, counted as a change when it differs.
    void TakeText(std::string text);
    void EditCommandDone(EditResult result);
    int ItemHeight() const;
    int VisibleItems() const;
    void EnsureHotVisible();
    bool ListScrolls() const { return items_.Count() > drop_down_count_; }
    // Scrolls the list to show `top` first and moves its scroll bar along.
    void ScrollListTo(int top);
    void ListScrolled(int request);
    win::LRESULT ListProc(win::HWND h, win::UINT msg, win::WPARAM wp, win::LPARAM lp);
    void PaintList(gdi::DC& dc, const gdi::Rect& client);

    TComboBoxStyle style_ = TComboBoxStyle::csDropDown;
    TStrings items_;
    int item_index_ = -1;
    int drop_down_count_ = 8;
    LineEditor editor_;
    PopupWindow popup_;
    int hot_ = -1;
    int top_ = 0;
};

}  // namespace forms
