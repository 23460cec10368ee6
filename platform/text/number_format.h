#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "platform/text/str_to_int.h"

namespace text {

// The string-to-integer conversion (str_to_int, str_to_int_def) is in str_to_int.h.

// Decimal text of an integer, as the device IDs and the version digits show.
std::string int_to_str(int64_t value);

// A decimal number with "." as the decimal point whatever the locale: digits with at most one
// ".", at least one digit. Returns nothing otherwise.
std::optional<double> str_to_decimal(std::string_view text);

}  // namespace text
