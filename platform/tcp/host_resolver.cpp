#include "platform/tcp/host_resolver.h"

#include <arpa/inet.h>
#include <netdb.h>

#include <cstring>
#include <ctime>
#include <memory>

namespace tcp {

std::optional<in_addr> parse_dotted_ipv4(std::string_view host) {
    const std::string text(host);
    in_addr addr{};
    if (inet_pton(AF_INET, text.c_str(), &addr) == 1) {
        return addr;
    }
    return std::nullopt;
}

bool is_plausible_host_name(std::string_view host) {
    if (host.empty() || host.size() > 253) {
        return false;
    }
    size_t label = 0;
    for (size_t i = 0; i < host.size(); ++i) {
        const char ch = host[i];
        if (ch == '.') {
            if (label == 0) {
                return false;
            }
            label = 0;
            continue;
        }
        const bool ok = (ch >= 'a' && ch <= 'z') || (ch >= 'A' && ch <= 'Z') ||
                        (ch >= '0' && ch <= '9') || ch == '-' || ch == '_';
        if (!ok || (label == 0 && ch == '-') || ++label > 63) {
            return false;
        }
    }
    return true;
}

namespace {

// One asynchronous lookup. It must outlive the lookup thread, so a lookup that cannot be
// cancelled in time is left to finish on its own and its state is deliberately not freed.
struct Lookup {
    std::string name;
    addrinfo hints{};
    gaicb request{};
};

}  // namespace

std::optional<in_addr> system_resolve(const std::string& host, int timeout_ms) {
    auto lookup = std::make_unique<Lookup>();
    lookup->name = host;
    lookup->hints.ai_family = AF_INET;
    lookup->hints.ai_socktype = SOCK_STREAM;
    lookup->request.ar_name = lookup->name.c_str();
    lookup->request.ar_request = &lookup->hints;
    gaicb* list[] = {&lookup->request};
    if (getaddrinfo_a(GAI_NOWAIT, list, 1, nullptr) != 0) {
        return std::nullopt;
    }
    const timespec wait{timeout_ms / 1000, (timeout_ms % 1000) * 1000000L};
    const gaicb* const pending[] = {&lookup->request};
    int status = gai_error(&lookup->request);
    if (status == EAI_INPROGRESS) {
        gai_suspend(pending, 1, &wait);
        status = gai_error(&lookup->request);
    }
    if (status == EAI_INPROGRESS) {
        if (gai_cancel(&lookup->request) == EAI_NOTCANCELED) {
            lookup.release();  // still running: its thread owns the state now
            return std::nullopt;
        }
        status = gai_error(&lookup->request);
    }
    std::optional<in_addr> result;
    if (status == 0 && lookup->request.ar_result != nullptr) {
        for (const addrinfo* a = lookup->request.ar_result; a != nullptr; a = a->ai_next) {
            if (a->ai_family == AF_INET) {
                result = reinterpret_cast<const sockaddr_in*>(a->ai_addr)->sin_addr;
                break;
            }
        }
    }
    if (lookup->request.ar_result != nullptr) {
        freeaddrinfo(lookup->request.ar_result);
    }
    return result;
}

}  // namespace tcp
