#include "forms/utf8.h"

#include "platform/text/utf8.h"

namespace forms {

std::u32string Utf8ToU32(std::string_view s) {
    std::u32string out;
    for (size_t i = 0; i < s.size();)
        out.push_back(text::next_code_point(s, i));
    return out;
}

std::string CodePointToUtf8(char32_t c) {
    std::string out;
    if (c < 0x80) {
        out.push_back(static_cast<char>(c));
    } else if (c < 0x800) {
        out.push_back(static_cast<char>(0xC0 | (c >> 6)));
        out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    } else if (c < 0x10000) {
        if (c >= 0xD800 && c <= 0xDFFF)
            c = 0xFFFD;
        out.push_back(static_cast<char>(0xE0 | (c >> 12)));
        out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    } else if (c <= 0x10FFFF) {
        out.push_back(static_cast<char>(0xF0 | (c >> 18)));
        out.push_back(static_cast<char>(0x80 | ((c >> 12) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    } else {
        out = "\xEF\xBF\xBD";
    }
    return out;
}

std::string U32ToUtf8(std::u32string_view s) {
    std::string out;
    out.reserve(s.size());
    for (char32_t c : s)
        out += CodePointToUtf8(c);
    return out;
}

}  // namespace forms
