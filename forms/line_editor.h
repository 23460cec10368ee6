#pragma once

#include <string>

namespace forms {

// The text, caret and selection of a one-line text field, and the editing operations the
// keyboard performs on them. Positions count characters (code points), not bytes. A maximum
// length of 0 means no limit; edits never make the text longer than the limit.
class LineEditor {
  public:
    const std::u32string& text() const { return text_; }
    // Replaces the whole text (cut to the limit); the caret goes to the end.
    void set_text(std::u32string t);
    int max_length() const { return max_length_; }
    void set_max_length(int n);

    int caret() const { return caret_; }
    int sel_start() const { return caret_ < anchor_ ? caret_ : anchor_; }
    int sel_length() const { return caret_ < anchor_ ? anchor_ - caret_ : caret_ - anchor_; }
    bool has_selection() const { return caret_ != anchor_; }
    void select(int start, int length);
    void select_all() { select(0, static_cast<int>(text_.size())); }

    // Caret moves; `extend` keeps the anchor (Shift held).
    void move_to(int pos, bool extend);
    void left(bool extend);
    void right(bool extend);
    void home(bool extend) { move_to(0, extend); }
    void end(bool extend) { move_to(static_cast<int>(text_.size()), extend); }

    // Editing; each returns true when the text changed. `insert` is typing (characters typed
    // one after another are undone together); `paste` inserts the first line of a text.
    bool insert(std::u32string_view s);
    bool paste(std::u32string_view s);
    bool backspace();
    bool del();
    bool delete_selection();
    // The text before the last change (selection included) comes back; the change can be
    // put back by undoing again. Nothing to undo after set_text.
    bool can_undo() const { return can_undo_; }
    bool undo();
    // The selected text.
    std::u32string selected_text() const { return text_.substr(sel_start(), sel_length()); }

    // What one editing key did to the field.
    enum class KeyResult { NotHandled, Moved, Changed };
    // The editing keys of a one-line field: Left, Right, Home, End (Shift extends the
    // selection), Backspace and Delete (not when read-only) and Ctrl+A.
    KeyResult handle_key(int vk, bool shift, bool ctrl, bool read_only = false);

  private:
    void clamp();
    void remember(bool typing);
    bool erase_selection();
    bool insert_text(std::u32string_view s, bool typing);
    std::u32string text_;
    int caret_ = 0;
    int anchor_ = 0;
    int max_length_ = 0;
    std::u32string undo_text_;
    int undo_caret_ = 0;
    int undo_anchor_ = 0;
    bool can_undo_ = false;
    bool typing_ = false;
};

}  // namespace forms
