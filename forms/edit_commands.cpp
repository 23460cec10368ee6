#include "forms/edit_commands.h"

#include "forms/utf8.h"
#include "platform/win/clipboard.h"
#include "platform/win/menu.h"
#include "platform/win/messages.h"

namespace forms {

namespace {

bool CopySelection(const LineEditor& editor) {
    if (!editor.has_selection())
        return false;
    win::SetClipboardText(U32ToUtf8(editor.selected_text()));
    return true;
}

bool ClipboardHasText() {
    const auto text = win::GetClipboardText();
    return text && !text->empty();
}

}  // namespace

EditResult PerformEditCommand(LineEditor& editor, EditCommand command, bool read_only) {
    const auto changed = [](bool c) { return c ? EditResult::Changed : EditResult::Nothing; };
    switch (command) {
        case EditCommand::Undo:
            return changed(!read_only && editor.undo());
        case EditCommand::Cut:
            if (read_only || !CopySelection(editor))
                return EditResult::Nothing;
            return changed(editor.delete_selection());
        case EditCommand::Copy:
            CopySelection(editor);
            return EditResult::Nothing;
        case EditCommand::Paste: {
            if (read_only)
                return EditResult::Nothing;
            const auto text = win::GetClipboardText();
            if (!text)
                return EditResult::Nothing;
            return changed(editor.paste(Utf8ToU32(*text)));
        }
        case EditCommand::Delete:
            return changed(!read_only && editor.delete_selection());
        case EditCommand::SelectAll:
            editor.select_all();
            return EditResult::Moved;
        case EditCommand::None:
            break;
    }
    return EditResult::Nothing;
}

EditCommand EditCommandOfKey(int vk, bool shift, bool ctrl) {
    if (ctrl && !shift) {
        switch (vk) {
            case 'Z':
                return EditCommand::Undo;
            case 'X':
                return EditCommand::Cut;
            case 'C':
            case win::VK_INSERT:
                return EditCommand::Copy;
            case 'V':
                return EditCommand::Paste;
            case 'A':
                return EditCommand::SelectAll;
            default:
                return EditCommand::None;
        }
    }
    if (shift && !ctrl) {
        if (vk == win::VK_DELETE)
            return EditCommand::Cut;
        if (vk == win::VK_INSERT)
            return EditCommand::Paste;
    }
    return EditCommand::None;
}

bool EditCommandAvailable(const LineEditor& editor, EditCommand command, bool read_only) {
    switch (command) {
        case EditCommand::Undo:
            return !read_only && editor.can_undo();
        case EditCommand::Cut:
        case EditCommand::Delete:
            return !read_only && editor.has_selection();
        case EditCommand::Copy:
            return editor.has_selection();
        case EditCommand::Paste:
            return !read_only && ClipboardHasText();
        case EditCommand::SelectAll:
            return !editor.text().empty() &&
                   editor.sel_length() < static_cast<int>(editor.text().size());
        case EditCommand::None:
            break;
    }
    return false;
}

EditCommand TrackEditMenu(win::HWND owner, win::POINT screen, const LineEditor& editor,
                          bool read_only) {
    using namespace win;
    struct Entry {
        EditCommand command;
        const char* text;
    };
    static const Entry kEntries[] = {
        {EditCommand::Undo, "&Undo\tCtrl+Z"},   {EditCommand::None, nullptr},
        {EditCommand::Cut, "Cu&t\tCtrl+X"},     {EditCommand::Copy, "&Copy\tCtrl+C"},
        {EditCommand::Paste, "&Paste\tCtrl+V"}, {EditCommand::Delete, "&Delete\tDel"},
        {EditCommand::None, nullptr},           {EditCommand::SelectAll, "Select &All\tCtrl+A"},
    };
    HMENU menu = CreatePopupMenu();
    for (const Entry& e : kEntries) {
        if (!e.text) {
            AppendMenu(menu, MF_SEPARATOR, 0, nullptr);
            continue;
        }
        const UINT state =
            EditCommandAvailable(editor, e.command, read_only) ? MF_ENABLED : MF_GRAYED;
        AppendMenu(menu, MF_STRING | state, static_cast<UINT_PTR>(e.command), e.text);
    }
    const BOOL chosen =
        TrackPopupMenu(menu, TPM_RETURNCMD | TPM_RIGHTBUTTON, screen.x, screen.y, 0, owner);
    DestroyMenu(menu);
    return chosen > 0 ? static_cast<EditCommand>(chosen) : EditCommand::None;
}

}  // namespace forms
