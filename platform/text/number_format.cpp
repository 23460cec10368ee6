#include "platform/text/number_format.h"

#include <charconv>
#include <limits>

namespace text {

std::string int_to_str(int64_t value) {
    return std::to_string(value);
}

std::optional<int32_t> str_to_int(std::string_view text) {
    size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) {
        ++i;
    }
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    if (i == text.size()) {
        return std::nullopt;
    }
    int64_t value = 0;
    for (; i < text.size(); ++i) {
        const char ch = text[i];
        if (ch < '0' || ch > '9') {
            return std::nullopt;
        }
        value = value * 10 + (ch - '0');
        if (value > int64_t{std::numeric_limits<int32_t>::max()} + 1) {
            return std::nullopt;
        }
    }
    if (negative) {
        value = -value;
    }
    if (value > std::numeric_limits<int32_t>::max() ||
        value < std::numeric_limits<int32_t>::min()) {
        return std::nullopt;
    }
    return static_cast<int32_t>(value);
}

int32_t str_to_int_def(std::string_view text, int32_t fallback) {
    return str_to_int(text).value_or(fallback);
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
