#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "protocol/frame.h"

namespace protocol {

// One channel delay as carried by WriteDelays and SettingsReply: bit 7 the unit (set = minutes),
// bits 0-6 the delay in half units, 0..120 (0 to 60 in steps of 0.5).
inline constexpr Byte kDelayMinutesBit = 0x80;
inline constexpr Byte kDelayHalvesMask = 0x7F;
inline constexpr int kMaxDelayHalves = 120;

// Half units of an entered value: trunc(v * 2 + 0.0001). The small addition only guards against
// a product such as 0.5 * 2 landing just below a whole number; the value is truncated, never
// rounded, so 1.2 gives 2 (1.0) and 0.7 gives 1 (0.5). Returns nothing for a negative or
// non-finite value or one whose half units exceed 120, rather than wrapping into the unit bit.
std::optional<Byte> delay_halves(double value);

// The delay byte of an entered value and unit, or nothing when delay_halves refuses it.
std::optional<Byte> encode_delay(double value, bool minutes);

// The delay byte of an edit's text, with the checks the delay grid makes before it sends: only
// the digits 0-9 and one "." may occur, the text must not be empty, it must read as a decimal
// number ("." is the decimal point whatever the locale; a lone "." is no number), and its half
// units must not exceed 120. Returns nothing when any check fails.
std::optional<Byte> encode_delay_text(std::string_view text, bool minutes);

// Decoding for display.
constexpr bool delay_in_minutes(Byte delay) {
    return (delay & kDelayMinutesBit) != 0;
}
constexpr int delay_halves_of(Byte delay) {
    return delay & kDelayHalvesMask;
}

// The text a delay byte shows: h / 2 in decimal, then ".5" when h is odd (h = the low 7 bits),
// with no other formatting: 0x01 "0.5", 0x05 "2.5", 0x78 "60", 0x80 "0".
std::string delay_text(Byte delay);

}  // namespace protocol
