#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace text {

// Decimal text of an integer, as the device IDs and the version digits show.
std::string int_to_str(int64_t value);

// The string-to-integer conversion of the platform: leading blanks, an optional sign and decimal
// digits, nothing after them, within the 32-bit signed range. Returns nothing for empty text,
// any other character, or a value out of range.
std::optional<int32_t> str_to_int(std::string_view text);
// The same with a default for text that is no integer (999 for the device-ID check, 0 for the
// stored IDs).
int32_t str_to_int_def(std::string_view text, int32_t fallback);

// A decimal number with "." as the decimal point whatever the locale: digits with at most one
// ".", at least one digit. Returns nothing otherwise.
std::optional<double> str_to_decimal(std::string_view text);

}  // namespace text
