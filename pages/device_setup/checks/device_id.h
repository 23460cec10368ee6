#pragma once

#include <cstdint>
#include <string_view>

#include "pages/device_setup/checks/device_setup_texts.h"

namespace device_setup {

// The number an ID edit holds: its text as an integer, 999 when it is empty or not a number.
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

// A refusal or error box: task-modal, without owner, OK only, in the given language.
void ShowRefusal(const MessageText& message, int language);

// The invalid-ID box, used by every page and timer that addresses a device.
inline void ShowIdError(int language) {
    ShowRefusal(kIdErrorMessage, language);
}

}  // namespace device_setup
