#include "operator_input/device_id_check.h"

#include "platform/text/number_format.h"

namespace operator_input {

int32_t ParseDeviceId(std::string_view text) {
    return text::str_to_int_def(text, kNoDeviceId);
}

}  // namespace operator_input
