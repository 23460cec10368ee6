#pragma once

#include <array>
#include <optional>
#include <string>

#include "protocol/frame.h"
#include "protocol/requests.h"

namespace operator_input {

// The delay kinds of a device: the power-on row and the power-off row.
inline constexpr int kDelayKinds = 2;
inline constexpr int kDelayChannels = protocol::kChannelCount;

// One channel delay as the operator gave it: the text (as typed into an edit of the delay grid
// or given on the command line) and whether it is in minutes.
struct DelayCell {
    std::string text;
    bool minutes = false;
};
using DelayCells = std::array<std::array<DelayCell, kDelayChannels>, kDelayKinds>;

// Where the first refused cell stands: kind 0 power-on, 1 power-off; channel 0 "LCD" to 16.
struct RefusedCell {
    int kind = 0;
    int channel = 0;
};

// The WriteDelays payload of the 34 delays, or the first cell that fails its checks (power-on row
// before power-off row, LCD to CH16 within a row): only digits and one "." (so no blank, sign,
// comma or second dot), not empty, a number (a lone "." is none), at most 120 half units.
struct DelaysOrRefusal {
    std::optional<protocol::DelaysPayload> payload;
    RefusedCell refused;
};
DelaysOrRefusal BuildDelaysPayload(protocol::Byte id, const DelayCells& cells);

// The factory values that the default button puts into the grid: 0.5 to power on, 1 to
// power off, both in seconds.
inline constexpr const char* kDefaultOnDelay = "0.5";
inline constexpr const char* kDefaultOffDelay = "1";

}  // namespace operator_input
