#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace text {

// The one string-to-integer conversion of the program, with the framework's rules: leading
// blanks (spaces and tabs), an optional sign, then either decimal digits or "$" and hexadecimal
// digits, and nothing after them. Decimal values must lie in the 32-bit signed range; a
// hexadecimal value is a 32-bit pattern ($0 to $FFFFFFFF, so "$FFFFFFFF" is -1) and a sign in
// front of it negates that pattern. "010" is ten, not eight; "0x10" is no integer.
// Returns nothing for empty text, any other character, or a value out of range.
//
// Standard library only, so that the skin package reader can use it too.
std::optional<int32_t> str_to_int(std::string_view text);

// The same with a default for text that is no integer (999 for the device-ID check, 0 for the
// stored IDs).
int32_t str_to_int_def(std::string_view text, int32_t fallback);

}  // namespace text
