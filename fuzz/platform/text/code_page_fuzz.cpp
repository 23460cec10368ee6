// Any bytes, as read from the settings file or typed, through both conversions and the number
// readers.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "platform/text/code_page.h"
#include "platform/text/number_format.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view in(reinterpret_cast<const char*>(data), size);
    const std::string utf8 = text::gbk_to_utf8(in);
    (void)text::utf8_to_gbk(utf8);
    (void)text::utf8_to_gbk(in);
    (void)text::str_to_int(in);
    (void)text::str_to_decimal(in);
    return 0;
}
