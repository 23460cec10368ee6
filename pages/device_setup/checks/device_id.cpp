#include "pages/device_setup/checks/device_id.h"

#include <string>

#include "forms/message_box.h"

namespace device_setup {

void ShowRefusal(const MessageText& message, int language) {
    forms::MessageBox(nullptr, std::string(i18n::PickText(message.text, language)),
                      std::string(i18n::PickText(message.caption, language)),
                      forms::MB_OK | forms::MB_TASKMODAL);
}

}  // namespace device_setup
