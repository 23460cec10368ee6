#pragma once

#include <string>

namespace display {

// The virtual-key code of an X key symbol (0 for keys without one).
int vk_from_keysym(unsigned long keysym);
// What XLookupString typed (Latin-1) as UTF-8.
std::string latin1_to_utf8(const std::string& latin1);

}  // namespace display
