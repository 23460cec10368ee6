#pragma once

#include <string>

namespace display {

// The virtual-key code of an X key symbol (0 for keys without one).
int vk_from_keysym(unsigned long keysym);
// What XLookupString typed (Latin-1) as UTF-8.
std::string latin1_to_utf8(const std::string& latin1);
// The text a key press types, as UTF-8: the character of a Unicode key symbol (what keyboard
// maps and typing tools use for characters beyond Latin-1, Chinese among them), otherwise the
// Latin-1 text XLookupString gave.
std::string typed_text(unsigned long keysym, const std::string& latin1);

}  // namespace display
