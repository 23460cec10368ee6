#include <csignal>
#include <cstdio>
#include <string>
#include <vector>

#include "tools/sequencer_sim/sim_options.h"
#include "tools/sequencer_sim/simulator.h"

int main(int argc, char** argv) {
    std::signal(SIGPIPE, SIG_IGN);
    const std::vector<std::string> args(argv + 1, argv + argc);
    const auto parsed = sequencer_sim::parse_options(args);
    if (!parsed.error.empty()) {
        std::fprintf(stderr, "sequencer-sim: %s\n(see --help)\n", parsed.error.c_str());
        return 2;
    }
    if (parsed.options.show_help) {
        std::fputs(sequencer_sim::help_text(), stdout);
        return 0;
    }
    sequencer_sim::Simulator simulator(parsed.options);
    if (const auto error = simulator.open(stdout); !error.empty()) {
        std::fprintf(stderr, "sequencer-sim: %s\n", error.c_str());
        return 1;
    }
    return simulator.run();
}
