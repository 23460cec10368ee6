#include "pages/device_setup/checks/device_id.h"

#include <string>

#include "forms/message_box.h"
#include "platform/text/number_format.h"

namespace device_setup {

namespace {

// What an edit's text reads as when it is no integer: outside every accepted range.
constexpr int32_t kNoDeviceId = 999;

}  // namespace

int32_t ParseDeviceId(std::string_view text) {
    return text::str_to_int_def(text, kNoDeviceId);
}

void ShowRefusal(const MessageText& message, int language) {
    forms::MessageBox(nullptr, std::string(i18n::PickText(message.text, language)),
                      std::string(i18n::PickText(message.caption, language)),
                      forms::MB_OK | forms::MB_TASKMODAL);
}

}  // namespace device_setup
