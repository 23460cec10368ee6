// Any command line: velmor-ctl either refuses it with a message or reads it into an invocation
// whose IDs, channels and delays are all ones the console would send.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "protocol/delay_byte.h"
#include "tools/velmor_ctl/ctl_invocation.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    // Arguments are separated by NUL bytes, as on a real command line.
    std::vector<std::string> args(1);
    for (size_t i = 0; i < size; ++i) {
        if (data[i] == 0) {
            args.emplace_back();
        } else {
            args.back() += static_cast<char>(data[i]);
        }
    }
    const ctl::ParsedCommandLine parsed = ctl::ParseCommandLine(args);
    if (!parsed.invocation) {
        if (parsed.help.empty() && parsed.error.empty()) {
            std::abort();  // a refusal always says why
        }
        return 0;
    }
    const ctl::Invocation& inv = *parsed.invocation;
    for (uint8_t id : inv.ids) {
        if (id == 0) {
            std::abort();
        }
    }
    for (int c : inv.channels) {
        if (c < 0 || c > 16) {
            std::abort();
        }
    }
    for (const auto* changes : {&inv.on_delays, &inv.off_delays}) {
        for (const ctl::DelayChange& change : *changes) {
            if (change.channel < 0 || change.channel > 16 ||
                !protocol::encode_delay_text(change.cell.text, change.cell.minutes)) {
                std::abort();
            }
        }
    }
    if (inv.first < 1 || inv.last > 255 || inv.first > inv.last || inv.timeout_ms < 1) {
        std::abort();
    }
    return 0;
}
