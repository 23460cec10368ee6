#pragma once

#include <string>
#include <string_view>

namespace forms {

// UTF-8 <-> UTF-32. Malformed bytes decode as U+FFFD, so any byte string becomes text.
std::u32string Utf8ToU32(std::string_view s);
std::string U32ToUtf8(std::u32string_view s);
std::string CodePointToUtf8(char32_t c);

}  // namespace forms
