#include "forms/line_editor.h"

#include <algorithm>

#include "platform/win/messages.h"

namespace forms {

void LineEditor::set_text(std::u32string t) {
    if (max_length_ > 0 && static_cast<int>(t.size()) > max_length_)
        t.resize(max_length_);
    text_ = std::move(t);
    caret_ = anchor_ = static_cast<int>(text_.size());
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
    anchor_ = start;
    caret_ = start + std::max(0, length);
    clamp();
}

void LineEditor::move_to(int pos, bool extend) {
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
    int start = sel_start();
    text_.erase(start, sel_length());
    caret_ = anchor_ = start;
    return true;
}

bool LineEditor::insert(std::u32string_view s) {
    std::u32string add(s);
    const int after_delete = static_cast<int>(text_.size()) - sel_length();
    if (max_length_ > 0) {
        const int room = std::max(0, max_length_ - after_delete);
        if (static_cast<int>(add.size()) > room)
            add.resize(room);
    }
    if (add.empty())
        return false;
    delete_selection();
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
    text_.erase(caret_ - 1, 1);
    anchor_ = --caret_;
    return true;
}

bool LineEditor::del() {
    if (delete_selection())
        return true;
    if (caret_ >= static_cast<int>(text_.size()))
        return false;
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
