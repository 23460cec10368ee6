#include "platform/win/clipboard.h"

#include "platform/win/display_driver.h"

namespace win {

namespace {
// The clipboard of a process without a display clipboard.
std::optional<std::string>& memory() {
    static std::optional<std::string> text;
    return text;
}
}  // namespace

bool SetClipboardText(const std::string& utf8) {
    memory() = utf8;
    DisplayDriver* d = GetDisplayDriver();
    if (d && d->has_clipboard())
        return d->set_clipboard_text(utf8);
    return true;
}

std::optional<std::string> GetClipboardText() {
    DisplayDriver* d = GetDisplayDriver();
    if (d && d->has_clipboard())
        return d->clipboard_text();
    return memory();
}

void EmptyClipboard() {
    memory().reset();
    DisplayDriver* d = GetDisplayDriver();
    if (d && d->has_clipboard())
        d->set_clipboard_text(std::string());
}

}  // namespace win
