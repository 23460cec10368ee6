#include "forms/line_editor.h"

#include <algorithm>

#include "platform/win/messages.h"

namespace forms {

void LineEditor::set_text(std::u32string t) {
    if (max_length_ > 0 && static_cast<int>(t.size()) > max_length_)
        t.resize(max_length_);
    text_ = std::move(t);
    caret_ = anchor_ = static_cast<int>(text_.size());
    can_undo_ = false;
    typing_ = false;
}

void LineEditor::remember(bool typing) {
    // Characters typed one after another are undone together.
    if (typing && typing_ && can_undo_)
        return;
    undo_text_ = text_;
    undo_caret_ = caret_;
    undo_anchor_ = anchor_;
    can_undo_ = true;
    typing_ = typing;
}

bool LineEditor::undo() {
    if (!can_undo_)
        return false;
    // Undo of an undo puts the change back, as a one-line field does.
    std::swap(text_, undo_text_);
    std::swap(caret_, undo_caret_);
    std::swap(anchor_, undo_anchor_);
    typing_ = false;
    clamp();
    return true;
}

void LineEditor::set_max_length(int n) {
    max_length_ = std::max(0, n);
}

void LineEditor::clamp() {
    const int n = static_cast<int>(text_.size());
    caret_ = std::clamp(caret_, 0, n);
    anchor_ = std::clamp(anchor_, 0, n);
}

void LineEditor::select(int start, int length) {
    typing_ = false;
    anchor_ = start;
    caret_ = start + std::max(0, length);
    clamp();
}

void LineEditor::move_to(int pos, bool extend) {
    typing_ = false;
    caret_ = pos;
    if (!extend)
        anchor_ = pos;
    clamp();
}

void LineEditor::left(bool extend) {
    if (!extend && has_selection()) {
        move_to(sel_start(), false);
        return;
    }
    move_to(caret_ - 1, extend);
}

void LineEditor::right(bool extend) {
    if (!extend && has_selection()) {
        move_to(sel_start() + sel_length(), false);
        return;
    }
    move_to(caret_ + 1, extend);
}

bool LineEditor::delete_selection() {
    if (!has_selection())
        return false;
    remember(false);
    return erase_selection();
}

bool LineEditor::erase_selection() {
    if (!has_selection())
        return false;
    int start = sel_start();
    text_.erase(start, sel_length());
    caret_ = anchor_ = start;
    return true;
}

bool LineEditor::insert(std::u32string_view s) {
    return insert_text(s, true);
}

bool LineEditor::paste(std::u32string_view s) {
    // One line: a pasted text ends at its first line break.
    const size_t end = s.find_first_of(U"\r\n");
    return insert_text(s.substr(0, end), false);
}

bool LineEditor::insert_text(std::u32string_view s, bool typing) {
    std::u32string add(s);
    const int after_delete = static_cast<int>(text_.size()) - sel_length();
    if (max_length_ > 0) {
        const int room = std::max(0, max_length_ - after_delete);
        if (static_cast<int>(add.size()) > room)
            add.resize(room);
    }
    if (add.empty())
        return false;
    remember(typing);
    erase_selection();
    text_.insert(caret_, add);
    caret_ += static_cast<int>(add.size());
    anchor_ = caret_;
    return true;
}

bool LineEditor::backspace() {
    if (delete_selection())
        return true;
    if (caret_ == 0)
        return false;
    remember(false);
    text_.erase(caret_ - 1, 1);
    anchor_ = --caret_;
    return true;
}

bool LineEditor::del() {
    if (delete_selection())
        return true;
    if (caret_ >= static_cast<int>(text_.size()))
        return false;
    remember(false);
    text_.erase(caret_, 1);
    return true;
}

LineEditor::KeyResult LineEditor::handle_key(int vk, bool shift, bool ctrl, bool read_only) {
    switch (vk) {
        case win::VK_LEFT:
            left(shift);
            return KeyResult::Moved;
        case win::VK_RIGHT:
            right(shift);
            return KeyResult::Moved;
        case win::VK_HOME:
            home(shift);
            return KeyResult::Moved;
        case win::VK_END:
            end(shift);
            return KeyResult::Moved;
        case win::VK_BACK:
            return !read_only && backspace() ? KeyResult::Changed : KeyResult::Moved;
        case win::VK_DELETE:
            return !read_only && del() ? KeyResult::Changed : KeyResult::Moved;
        case 'A':
            if (ctrl)
                select_all();
            return KeyResult::Moved;
        default:
            return KeyResult::NotHandled;
    }
}

}  // namespace forms
