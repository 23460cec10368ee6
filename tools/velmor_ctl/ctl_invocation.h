#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "operator_input/delay_cells.h"

namespace ctl {

// Where the client talks to the devices.
struct LinkTarget {
    enum class Kind { Tcp, Serial };
    Kind kind = Kind::Tcp;
    std::string host;      // Tcp: a dotted IPv4 address or a host name
    uint16_t port = 8080;  // Tcp
    std::string device;    // Serial: the device path
    std::string name;      // for messages: "127.0.0.1:8080", "/dev/ttyUSB0", "COM1"
};

inline constexpr uint16_t kDefaultTcpPort = 8080;
inline constexpr int kDefaultTimeoutMs = 1000;
inline constexpr int kMaxTimeoutMs = 600000;

enum class CommandKind {
    Scan,
    Id,
    SetId,
    Status,
    On,
    Off,
    SequenceOn,
    SequenceOff,
    BroadcastOn,
    BroadcastOff,
    Lock,
    Mask,
    Cascade,
    Settings,
    Delays,
    Watch,
};

// One delay given on the command line: the channel it is for and the cell the console's checks
// take (the text without its unit, and whether it is in minutes).
struct DelayChange {
    int channel = 0;
    operator_input::DelayCell cell;
};

// Everything the command line asks for, checked: every ID is 1-255 (0-255 for --current),
// every channel a channel, every delay a delay the console would send.
struct Invocation {
    LinkTarget link;
    int timeout_ms = kDefaultTimeoutMs;
    bool json = false;
    CommandKind command = CommandKind::Status;
    std::string command_name;

    std::vector<uint8_t> ids;           // the addressed device(s); watch may have several
    int first = 1, last = 255;          // scan
    uint8_t new_id = 0;                 // set-id
    std::optional<uint8_t> current_id;  // set-id --current
    std::vector<int> channels;          // on, off, mask (channel indexes 0..16)
    bool all = false;                   // on, off, mask: "all"
    bool flag = false;                  // lock, mask, cascade: on (true) or off
    std::optional<int> start_channel;   // cascade --start
    std::vector<DelayChange> on_delays, off_delays;  // delays
    std::optional<int> rounds;                       // watch --count
};

// The outcome of reading the command line: an invocation to run, a help text to print (status
// 0), or a usage error (status 2) whose message says what was wrong.
struct ParsedCommandLine {
    std::optional<Invocation> invocation;
    std::string help;
    std::string error;
    // For a usage error: whether --json was given and the command named, if any, so that the
    // error can be reported as the JSON document a script waits for.
    bool json = false;
    std::string command_name;
};

ParsedCommandLine ParseCommandLine(const std::vector<std::string>& args);

}  // namespace ctl
