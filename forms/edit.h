#pragma once

#include "forms/edit_commands.h"
#include "forms/line_editor.h"
#include "forms/win_control.h"

namespace forms {

// A one-line text field: typing, Backspace, Delete, arrows, Home, End, Shift-selection;
// Undo, Cut, Copy, Paste, Delete and Select All on its context menu (right button, Shift+F10,
// the menu key) and on Ctrl+Z/X/C/V/A, with the clipboard shared with other programs; at most
// MaxLength characters (0: no limit); the whole text is selected when the focus arrives by
// keyboard. OnChange follows the operator's edits only.
class TEdit : public TWinControl {
    FORMS_CLASS(TEdit, TWinControl)
  public:
    explicit TEdit(TComponent* owner);

    const std::string& Text() const override { return caption_; }
    // Sets the text (cut to MaxLength); no OnChange.
    void SetText(std::string_view text) override;
    int MaxLength() const { return editor_.max_length(); }
    void SetMaxLength(int n);
    bool ReadOnly() const { return read_only_; }
    void SetReadOnly(bool v) { read_only_ = v; }
    int SelStart() const { return editor_.sel_start(); }
    int SelLength() const { return editor_.sel_length(); }
    void SetSelStart(int pos) {
        editor_.move_to(pos, false);
        Invalidate();
    }
    void SetSelLength(int n) {
        editor_.select(editor_.sel_start(), n);
        Invalidate();
    }
    void SelectAll() {
        editor_.select_all();
        Invalidate();
    }
    const LineEditor& Editor() const { return editor_; }
    // Carries out an editing command as the operator would (OnChange when the text changed).
    void DoEditCommand(EditCommand command);

    TNotifyEvent OnChange;

    void WndProc(TMessage& message) override;
    std::optional<std::string> GetPropText(std::string_view name) const override;

  protected:
    void Paint(gdi::DC& dc) override;
    void EraseBackground(gdi::DC&, const gdi::Rect&) override {}
    void KeyDown(int& key, unsigned shift) override;
    void KeyPress(char32_t ch) override;
    void TextChanged() override;
    // The operator changed the text.
    virtual void Change();

  private:
    void ContextMenu(win::LPARAM at);
    void SyncFromEditor();
    int CharAt(int x);
    int TextX(int chars);
    LineEditor editor_;
    bool read_only_ = false;
    bool selecting_ = false;
    int scroll_x_ = 0;
};

}  // namespace forms
