// velmor-ctl: drives power sequencers from scripts over the console's wire protocol.
#include <csignal>
#include <iostream>

#include "tools/velmor_ctl/ctl_commands.h"
#include "tools/velmor_ctl/ctl_help.h"
#include "tools/velmor_ctl/ctl_invocation.h"
#include "tools/velmor_ctl/ctl_line.h"
#include "tools/velmor_ctl/ctl_output.h"

namespace {

std::atomic<bool> g_stop{false};

void request_stop(int) {
    g_stop = true;
}

}  // namespace

int main(int argc, char** argv) {
    const ctl::ParsedCommandLine parsed =
        ctl::ParseCommandLine(std::vector<std::string>(argv + 1, argv + argc));
    if (!parsed.help.empty()) {
        std::cout << parsed.help;
        return ctl::kExitDone;
    }
    if (!parsed.invocation) {
        std::cerr << "velmor-ctl: " << parsed.error << "\n" << ctl::UsageLine();
        if (parsed.json) {
            std::cout << ctl::ErrorJson(parsed.command_name, parsed.error).str() << "\n";
        }
        return ctl::kExitUsage;
    }
    const ctl::Invocation& invocation = *parsed.invocation;
    ctl::OpenedLine opened = ctl::OpenLine(invocation.link, invocation.timeout_ms);
    if (!opened.line) {
        const std::string error =
            "the link to " + invocation.link.name + " could not be opened: " + opened.error;
        std::cerr << "velmor-ctl: " << error << "\n";
        if (invocation.json) {
            std::cout << ctl::ErrorJson(invocation.command_name, error).str() << "\n";
        }
        return ctl::kExitNoLink;
    }
    std::signal(SIGPIPE, SIG_IGN);
    std::signal(SIGINT, request_stop);
    std::signal(SIGTERM, request_stop);
    ctl::Exchanger exchanger(*opened.line, invocation.timeout_ms);
    return ctl::RunCommand(invocation, exchanger, std::cout, std::cerr, g_stop);
}
