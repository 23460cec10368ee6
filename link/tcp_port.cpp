#include "link/tcp_port.h"

#include <string_view>

#include "platform/text/number_format.h"

namespace devlink {

namespace {

uint16_t g_tcp_port = kSequencerTcpPort;

}  // namespace

uint16_t TcpPort() {
    return g_tcp_port;
}

void SetTcpPort(uint16_t port) {
    g_tcp_port = port;
}

TcpPortOptionResult TakeTcpPortOption(const std::vector<std::string>& args) {
    TcpPortOptionResult result;
    constexpr std::string_view kOption = "--tcp-port";
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string_view arg = args[i];
        std::string_view value;
        if (arg == kOption) {
            if (i + 1 >= args.size()) {
                result.error = "--tcp-port needs a port number";
                return result;
            }
            value = args[++i];
        } else if (arg.starts_with("--tcp-port=")) {
            value = arg.substr(kOption.size() + 1);
        } else {
            result.rest.push_back(args[i]);
            continue;
        }
        // Only plain digits: a sign or blanks in a port number are a typing error.
        const bool digits =
            !value.empty() && value.find_first_not_of("0123456789") == std::string_view::npos;
        const auto port = digits ? text::str_to_int(value) : std::nullopt;
        if (!port || *port < 1 || *port > 65535) {
            result.error =
                "--tcp-port expects a port from 1 to 65535, not \"" + std::string(value) + "\"";
            return result;
        }
        SetTcpPort(static_cast<uint16_t>(*port));
    }
    return result;
}

}  // namespace devlink
