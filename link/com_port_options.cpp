#include "link/com_port_options.h"

#include <string_view>

#include "platform/serial/com_ports.h"

namespace devlink {

ComOptionsResult TakeComOptions(const std::vector<std::string>& args) {
    ComOptionsResult result;
    constexpr std::string_view kOption = "--com";
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string_view arg = args[i];
        std::string_view value;
        if (arg == kOption) {
            if (i + 1 >= args.size()) {
                result.error = "--com needs N=PATH";
                return result;
            }
            value = args[++i];
        } else if (arg.starts_with("--com=")) {
            value = arg.substr(kOption.size() + 1);
        } else {
            result.rest.push_back(args[i]);
            continue;
        }
        if (!serial::parse_com_mapping(value)) {
            result.error =
                "--com expects N=PATH with N from 1 to 255, not \"" + std::string(value) + "\"";
            return result;
        }
    }
    return result;
}

}  // namespace devlink
