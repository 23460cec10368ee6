#pragma once

#include "forms/line_editor.h"
#include "platform/win/types.h"

namespace forms {

// The commands a text field offers on its context menu and its shortcut keys.
enum class EditCommand { None, Undo, Cut, Copy, Paste, Delete, SelectAll };

// What a command did to the field.
enum class EditResult { Nothing, Moved, Changed };

// Carries out a command on a one-line field and the clipboard. A read-only field only copies
// and selects.
EditResult PerformEditCommand(LineEditor& editor, EditCommand command, bool read_only);

// The command of a shortcut: Ctrl+Z, Ctrl+X, Ctrl+C, Ctrl+V, Ctrl+A, and the older Shift+Delete
// (cut), Ctrl+Insert (copy), Shift+Insert (paste). None for any other key.
EditCommand EditCommandOfKey(int vk, bool shift, bool ctrl);

// Whether the command can be carried out now (the menu grays the others).
bool EditCommandAvailable(const LineEditor& editor, EditCommand command, bool read_only);

// Shows the field's context menu (Undo, Cut, Copy, Paste, Delete, Select All) at a screen
// point, with `owner` (the field's window) as the menu's owner, and returns the command chosen
// (None when the menu was dismissed).
EditCommand TrackEditMenu(win::HWND owner, win::POINT screen, const LineEditor& editor,
                          bool read_only);

}  // namespace forms
