#pragma once

#include <cstdint>
#include <string_view>

namespace operator_input {

// What an ID text reads as when it is no integer: outside every accepted range.
inline constexpr int32_t kNoDeviceId = 999;

// The number an ID text holds: the text as an integer, 999 when it is empty or not a number.
// The caller compares it with its own range before anything is built or sent.
int32_t ParseDeviceId(std::string_view text);

// The range of an addressed device.
constexpr bool IsDeviceId(int32_t id) {
    return id >= 1 && id <= 255;
}
// The range of the current ID of a write-ID request, which may be 0 (the one device on the
// line).
constexpr bool IsCurrentId(int32_t id) {
    return id >= 0 && id <= 255;
}

}  // namespace operator_input
