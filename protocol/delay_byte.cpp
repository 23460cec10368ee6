#include "protocol/delay_byte.h"

#include <charconv>
#include <cmath>

namespace protocol {

std::optional<Byte> delay_halves(double value) {
    if (!std::isfinite(value) || value < 0.0) {
        return std::nullopt;
    }
    const double halves = std::trunc(value * 2.0 + 0.0001);
    if (halves > kMaxDelayHalves) {
        return std::nullopt;
    }
    return static_cast<Byte>(halves);
}

std::optional<Byte> encode_delay(double value, bool minutes) {
    const auto halves = delay_halves(value);
    if (!halves) {
        return std::nullopt;
    }
    return static_cast<Byte>(*halves | (minutes ? kDelayMinutesBit : 0x00));
}

std::optional<Byte> encode_delay_text(std::string_view text, bool minutes) {
    if (text.empty()) {
        return std::nullopt;
    }
    bool seen_dot = false;
    for (char ch : text) {
        if (ch == '.' && !seen_dot) {
            seen_dot = true;
        } else if (ch < '0' || ch > '9') {
            return std::nullopt;  // any other character, or a second "."
        }
    }
    double value = 0.0;
    const char* first = text.data();
    const char* last = text.data() + text.size();
    const auto [end, error] = std::from_chars(first, last, value, std::chars_format::fixed);
    if (error != std::errc{} || end != last) {
        // A lone ".", or digits too many to hold: no number the grid can send.
        return std::nullopt;
    }
    return encode_delay(value, minutes);
}

std::string delay_text(Byte delay) {
    const int halves = delay_halves_of(delay);
    std::string text = std::to_string(halves / 2);
    if (halves % 2 != 0) {
        text += ".5";
    }
    return text;
}

}  // namespace protocol
