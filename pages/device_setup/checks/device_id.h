#pragma once

#include "operator_input/device_id_check.h"
#include "pages/device_setup/checks/device_setup_texts.h"

namespace device_setup {

// The ID check is shared with the command-line client; the page reads its edits with it.
using operator_input::IsCurrentId;
using operator_input::IsDeviceId;
using operator_input::ParseDeviceId;

// A refusal or error box: task-modal, without owner, OK only, in the given language.
void ShowRefusal(const MessageText& message, int language);

// The invalid-ID box, used by every page and timer that addresses a device.
inline void ShowIdError(int language) {
    ShowRefusal(kIdErrorMessage, language);
}

}  // namespace device_setup
