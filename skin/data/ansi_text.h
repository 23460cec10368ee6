#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace skin {

// Text helpers for the package directory and the description, which are ANSI text: only the
// ASCII letters change case, so the bytes of double-byte characters pass through untouched.

std::string ansi_lower(std::string_view s);
// One character in lower case (ASCII letters only).
constexpr char ansi_lower_char(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}
std::string ansi_upper(std::string_view s);
bool ansi_same_text(std::string_view a, std::string_view b);
// Drops leading and trailing spaces and control characters (bytes up to 0x20).
std::string_view trim(std::string_view s);

// Splits text into lines at CR, LF or CR LF; a line break after the last line adds no line.
// The text ends early at a NUL byte.
std::vector<std::string> split_lines(std::string_view text);

}  // namespace skin
