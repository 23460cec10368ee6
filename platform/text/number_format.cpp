#include "platform/text/number_format.h"

#include <charconv>

namespace text {

std::string int_to_str(int64_t value) {
    return std::to_string(value);
}

std::optional<double> str_to_decimal(std::string_view text) {
    bool digit = false;
    bool dot = false;
    for (char ch : text) {
        if (ch >= '0' && ch <= '9') {
            digit = true;
        } else if (ch == '.' && !dot) {
            dot = true;
        } else {
            return std::nullopt;
        }
    }
    if (!digit) {
        return std::nullopt;
    }
    double value = 0.0;
    const char* last = text.data() + text.size();
    const auto [end, error] = std::from_chars(text.data(), last, value, std::chars_format::fixed);
    if (error != std::errc{} || end != last) {
        return std::nullopt;
    }
    return value;
}

}  // namespace text
