#include "platform/text/str_to_int.h"

namespace text {

namespace {

int hex_digit(char ch) {
    if (ch >= '0' && ch <= '9') {
        return ch - '0';
    }
    if (ch >= 'a' && ch <= 'f') {
        return ch - 'a' + 10;
    }
    if (ch >= 'A' && ch <= 'F') {
        return ch - 'A' + 10;
    }
    return -1;
}

// Hexadecimal digits after "$": a 32-bit pattern.
std::optional<uint32_t> hex_value(std::string_view digits) {
    if (digits.empty()) {
        return std::nullopt;
    }
    uint64_t value = 0;
    for (const char ch : digits) {
        const int d = hex_digit(ch);
        if (d < 0) {
            return std::nullopt;
        }
        value = value * 16 + static_cast<uint64_t>(d);
        if (value > 0xFFFFFFFFull) {
            return std::nullopt;
        }
    }
    return static_cast<uint32_t>(value);
}

// Decimal digits: a magnitude up to 2^31 (the magnitude of the most negative value).
std::optional<uint64_t> decimal_magnitude(std::string_view digits) {
    if (digits.empty()) {
        return std::nullopt;
    }
    uint64_t value = 0;
    for (const char ch : digits) {
        if (ch < '0' || ch > '9') {
            return std::nullopt;
        }
        value = value * 10 + static_cast<uint64_t>(ch - '0');
        if (value > 0x80000000ull) {
            return std::nullopt;
        }
    }
    return value;
}

}  // namespace

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
    if (i < text.size() && text[i] == '$') {
        const auto pattern = hex_value(text.substr(i + 1));
        if (!pattern) {
            return std::nullopt;
        }
        const uint32_t u = negative ? 0u - *pattern : *pattern;
        return static_cast<int32_t>(u);
    }
    const auto magnitude = decimal_magnitude(text.substr(i));
    if (!magnitude || (!negative && *magnitude > 0x7FFFFFFFull)) {
        return std::nullopt;
    }
    const int64_t value =
        negative ? -static_cast<int64_t>(*magnitude) : static_cast<int64_t>(*magnitude);
    return static_cast<int32_t>(value);
}

int32_t str_to_int_def(std::string_view text, int32_t fallback) {
    return str_to_int(text).value_or(fallback);
}

}  // namespace text
