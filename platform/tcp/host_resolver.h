#pragma once

#include <netinet/in.h>

#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace tcp {

// Whether the text is a dotted IPv4 address ("192.168.1.111").
std::optional<in_addr> parse_dotted_ipv4(std::string_view host);

// Whether the text can be a host name at all: letters, digits, '-', '_' and '.', labels of 1 to
// 63 characters not starting with '-', at most 253 characters. Anything else fails at once,
// without asking a name service.
bool is_plausible_host_name(std::string_view host);

// Looks a host up to an IPv4 address within timeout_ms. Returns nothing when the name does not
// resolve in time.
using Resolver = std::function<std::optional<in_addr>(const std::string& host, int timeout_ms)>;

// The system's name service (hosts file, then DNS), asked asynchronously so that a slow or
// unreachable name server cannot hold the connect past its time-out.
std::optional<in_addr> system_resolve(const std::string& host, int timeout_ms);

}  // namespace tcp
