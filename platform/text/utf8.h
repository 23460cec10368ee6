#pragma once

#include <cstddef>
#include <string_view>

namespace text {

// Decodes the code point of UTF-8 text at `i` and advances `i` past it. Bytes that start no
// well-formed sequence (a stray continuation byte, a cut sequence, an overlong form, a
// surrogate, beyond U+10FFFF) give U+FFFD and advance by one, so any bytes decode. The one
// decoder of the program: text drawing, the edit controls and velmor-ctl's JSON share it.
char32_t next_code_point(std::string_view s, size_t& i);

}  // namespace text
