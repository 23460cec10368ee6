#pragma once

#include <string>
#include <string_view>

namespace text {

// Conversion between the ANSI code page of the system's Chinese texts (code page 936, GBK) and
// the UTF-8 that the rest of the program holds. Bytes that do not form a character of the source
// encoding become '?' (one per offending byte) instead of stopping the conversion, so any bytes
// read from outside convert without fault. ASCII passes through unchanged either way.
std::string gbk_to_utf8(std::string_view gbk);
// Each character that code page 936 cannot represent, and each broken UTF-8 sequence, becomes
// one '?'.
std::string utf8_to_gbk(std::string_view utf8);

}  // namespace text
