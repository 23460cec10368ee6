#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "tools/sequencer_sim/fault_plan.h"

namespace sequencer_sim {

struct SimOptions {
    // The line: a TCP endpoint (the default) or a pseudo-terminal.
    bool use_pty = false;
    std::string tcp_host = "127.0.0.1";
    uint16_t tcp_port = 8080;
    bool allow_remote = false;

    std::vector<uint8_t> device_ids{1};
    std::string log_path;
    bool pace = false;
    double time_scale = 1.0;
    int repeat_window_ms = 50;
    bool all_answer = false;

    uint64_t seed = 1;
    FaultSettings faults;
    int reply_delay_ms = 0;   // a device's time to answer
    int split_pause_ms = -1;  // < 0: replies go out in one write
    int noise_every_ms = 0;   // 0: no unprompted noise
    int noise_bytes = 16;
    int state_report_every_ms = 0;  // 0: no unprompted StateReport
    uint8_t state_report_code = 0xB0;
    int close_after_frames = 0;  // 0: never

    bool show_help = false;
};

struct ParsedOptions {
    SimOptions options;
    std::string error;  // empty when the command line was good
};

ParsedOptions parse_options(const std::vector<std::string>& args);

// True for an IPv4 address in 127.0.0.0/8 or the name "localhost".
bool is_loopback_host(const std::string& host);

// The --help text, which also says how the simulated devices behave.
const char* help_text();

}  // namespace sequencer_sim
