#pragma once

#include <optional>
#include <string>

namespace win {

// The clipboard, for text. With a display that has one (X11: the CLIPBOARD selection, shared
// with the other programs on the display) the text goes there; without one (headless) the
// clipboard lives in this process's memory.

// Puts UTF-8 text on the clipboard. False when the display refused it (the text is still kept
// in memory for this process).
bool SetClipboardText(const std::string& utf8);
// The clipboard's text; nothing when it holds none (or its owner did not answer in time).
std::optional<std::string> GetClipboardText();
// Empties the clipboard.
void EmptyClipboard();

}  // namespace win
