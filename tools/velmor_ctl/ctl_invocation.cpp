#include "tools/velmor_ctl/ctl_invocation.h"

#include <map>

#include "operator_input/device_id_check.h"
#include "operator_input/refusal_texts.h"
#include "platform/serial/com_ports.h"
#include "platform/tcp/host_resolver.h"
#include "protocol/delay_byte.h"
#include "tools/velmor_ctl/channel_names.h"
#include "tools/velmor_ctl/ctl_help.h"

namespace ctl {

namespace {

// A plain decimal number without sign or blanks, within [low, high].
std::optional<int> decimal(const std::string& text, int low, int high) {
    if (text.empty() || text.size() > 9) {
        return std::nullopt;
    }
    int n = 0;
    for (char c : text) {
        if (c < '0' || c > '9') {
            return std::nullopt;
        }
        n = n * 10 + (c - '0');
    }
    return n >= low && n <= high ? std::optional<int>(n) : std::nullopt;
}

const std::map<std::string, CommandKind>& command_names() {
    static const std::map<std::string, CommandKind> names{
        {"scan", CommandKind::Scan},
        {"id", CommandKind::Id},
        {"set-id", CommandKind::SetId},
        {"status", CommandKind::Status},
        {"on", CommandKind::On},
        {"off", CommandKind::Off},
        {"sequence-on", CommandKind::SequenceOn},
        {"sequence-off", CommandKind::SequenceOff},
        {"broadcast-on", CommandKind::BroadcastOn},
        {"broadcast-off", CommandKind::BroadcastOff},
        {"lock", CommandKind::Lock},
        {"mask", CommandKind::Mask},
        {"cascade", CommandKind::Cascade},
        {"settings", CommandKind::Settings},
        {"delays", CommandKind::Delays},
        {"watch", CommandKind::Watch},
    };
    return names;
}

const std::string kIdRefusal(operator_input::kIdErrorMessage.text.en);
const std::string kDelayRefusal(operator_input::kDelayErrorMessage.text.en);

// Reads the command line; the first error found ends it.
class Reader {
  public:
    explicit Reader(std::vector<std::string> args) : args_(std::move(args)) {}

    ParsedCommandLine run();

  private:
    bool fail(std::string message) {
        if (error_.empty()) {
            error_ = std::move(message);
        }
        return false;
    }

    bool take_link(const std::string& option, const std::string& value);
    bool take_tcp(const std::string& value);
    bool take_command_option(const std::string& option, const std::string& value);
    bool take_positionals();
    bool take_id(const std::string& text, uint8_t* id, bool allow_zero = false);
    bool take_on_off(const std::string& text, bool* flag);
    bool take_channels(size_t from, size_t to, bool lcd_allowed);
    bool take_delays(const std::string& list, std::vector<DelayChange>* changes);
    bool take_range(const std::string& text);

    std::vector<std::string> args_;
    Invocation inv_;
    std::vector<std::string> positional_;
    std::map<std::string, std::string> command_options_;
    bool link_given_ = false;
    bool help_ = false;
    std::string error_;
};

bool Reader::take_tcp(const std::string& value) {
    // "::1", "fe80::1", "[::1]:8080": cut at the last colon, these would be blamed on a
    // mangled piece of themselves.
    if (value.find(':') != value.rfind(':') || value.starts_with('[')) {
        return fail("\"" + value +
                    "\" is an IPv6 address; the link takes an IPv4 address or a host name");
    }
    std::string host = value;
    uint16_t port = kDefaultTcpPort;
    const size_t colon = value.rfind(':');
    if (colon != std::string::npos) {
        host = value.substr(0, colon);
        const auto number = decimal(value.substr(colon + 1), 1, 65535);
        if (!number) {
            return fail("the port in \"" + value + "\" must be a number from 1 to 65535");
        }
        port = static_cast<uint16_t>(*number);
    }
    if (!tcp::parse_dotted_ipv4(host) && !tcp::is_plausible_host_name(host)) {
        return fail("\"" + host + "\" is no IPv4 address or host name");
    }
    inv_.link.kind = LinkTarget::Kind::Tcp;
    inv_.link.host = host;
    inv_.link.port = port;
    inv_.link.name = host + ":" + std::to_string(port);
    return true;
}

bool Reader::take_link(const std::string& option, const std::string& value) {
    if (link_given_) {
        return fail("give one link only (--tcp, --serial or --com)");
    }
    link_given_ = true;
    if (option == "--tcp") {
        return take_tcp(value);
    }
    inv_.link.kind = LinkTarget::Kind::Serial;
    if (option == "--serial") {
        for (unsigned char c : value) {
            if (c < 0x20 || c == 0x7F) {
                return fail("the device path holds a control character");
            }
        }
        if (value.empty()) {
            return fail("--serial needs a device path");
        }
        inv_.link.device = value;
        inv_.link.name = value;
        return true;
    }
    // --com N, or --com N=PATH as the console takes it.
    const size_t eq = value.find('=');
    const auto n = decimal(value.substr(0, eq), 1, 255);
    if (!n || (eq != std::string::npos && eq + 1 >= value.size())) {
        return fail("--com takes a port number from 1 to 255 (or N=PATH), not \"" + value + "\"");
    }
    if (eq != std::string::npos) {
        serial::set_com_mapping(*n, value.substr(eq + 1));
    }
    inv_.link.device = serial::com_device_path(*n);
    inv_.link.name = "COM" + std::to_string(*n) + " (" + inv_.link.device + ")";
    return true;
}

bool Reader::take_id(const std::string& text, uint8_t* id, bool allow_zero) {
    // The console's own reading of an ID edit: an integer, 999 for anything else.
    const int32_t n = operator_input::ParseDeviceId(text);
    const bool ok = allow_zero ? operator_input::IsCurrentId(n) : operator_input::IsDeviceId(n);
    if (!ok) {
        return fail("ID \"" + text + "\": " + kIdRefusal);
    }
    *id = static_cast<uint8_t>(n);
    return true;
}

bool Reader::take_on_off(const std::string& text, bool* flag) {
    if (text == "on") {
        *flag = true;
    } else if (text == "off") {
        *flag = false;
    } else {
        return fail("expected on or off, not \"" + text + "\"");
    }
    return true;
}

bool Reader::take_channels(size_t from, size_t to, bool lcd_allowed) {
    std::vector<std::string> names(positional_.begin() + from, positional_.begin() + to);
    if (names.empty()) {
        return fail("name at least one channel (LCD, 1-16, CH1-CH16) or all");
    }
    if (names.size() == 1 && names[0] == "all") {
        inv_.all = true;
        return true;
    }
    std::string bad;
    const auto channels = ParseChannels(names, &bad);
    if (!channels) {
        return fail("\"" + bad + "\" is no channel (LCD, 1-16, CH1-CH16, or all alone)");
    }
    if (!lcd_allowed) {
        for (int c : *channels) {
            if (c == 0) {
                return fail("the LCD channel has no mask");
            }
        }
    }
    inv_.channels = *channels;
    return true;
}

bool Reader::take_delays(const std::string& list, std::vector<DelayChange>* changes) {
    std::vector<std::string> items;
    size_t start = 0;
    while (true) {
        const size_t comma = list.find(',', start);
        items.push_back(list.substr(start, comma - start));
        if (comma == std::string::npos) {
            break;
        }
        start = comma + 1;
    }
    const bool positional = items[0].find('=') == std::string::npos;
    if (positional && items.size() != protocol::kChannelCount) {
        return fail("a delay list gives 17 values (LCD, CH1 .. CH16) or CH=VALUE items, not \"" +
                    list + "\"");
    }
    for (size_t i = 0; i < items.size(); ++i) {
        std::string value = items[i];
        std::vector<int> channels;
        if (!positional) {
            const size_t eq = value.find('=');
            if (eq == std::string::npos) {
                return fail("\"" + value + "\" is no CH=VALUE item");
            }
            const std::string name = value.substr(0, eq);
            value = value.substr(eq + 1);
            if (name == "all") {
                for (int c = 0; c < protocol::kChannelCount; ++c) {
                    channels.push_back(c);
                }
            } else if (const auto c = ParseChannel(name)) {
                channels.push_back(*c);
            } else {
                return fail("\"" + name + "\" is no channel (LCD, 1-16, CH1-CH16, all)");
            }
        } else {
            channels.push_back(static_cast<int>(i));
        }
        operator_input::DelayCell cell;
        cell.text = value;
        if (!value.empty() && (value.back() == 'm' || value.back() == 'M')) {
            cell.minutes = true;
            cell.text.pop_back();
        } else if (!value.empty() && (value.back() == 's' || value.back() == 'S')) {
            cell.text.pop_back();
        }
        // The delay grid's own checks, so that nothing the console refuses is sent.
        if (!protocol::encode_delay_text(cell.text, cell.minutes)) {
            return fail(ChannelName(channels[0]) + " delay \"" + value + "\": " + kDelayRefusal);
        }
        for (int c : channels) {
            changes->push_back({c, cell});
        }
    }
    return true;
}

bool Reader::take_range(const std::string& text) {
    const size_t dash = text.find('-', 1);
    uint8_t first = 0, last = 0;
    if (dash == std::string::npos) {
        if (!take_id(text, &first)) {
            return false;
        }
        last = first;
    } else if (!take_id(text.substr(0, dash), &first) || !take_id(text.substr(dash + 1), &last)) {
        return false;
    }
    if (first > last) {
        return fail("the range \"" + text + "\" runs backwards");
    }
    inv_.first = first;
    inv_.last = last;
    return true;
}

bool Reader::take_command_option(const std::string& option, const std::string& value) {
    const CommandKind k = inv_.command;
    if (option == "--current" && k == CommandKind::SetId) {
        uint8_t id = 0;
        if (!take_id(value, &id, /*allow_zero=*/true)) {
            return false;
        }
        inv_.current_id = id;
        return true;
    }
    if (option == "--start" && k == CommandKind::Cascade) {
        const auto channel = ParseChannel(value);
        if (!channel) {
            return fail("--start \"" + value + "\" is no channel (LCD, 1-16, CH1-CH16)");
        }
        inv_.start_channel = *channel;
        return true;
    }
    if ((option == "--on" || option == "--off") && k == CommandKind::Delays) {
        return take_delays(value, option == "--on" ? &inv_.on_delays : &inv_.off_delays);
    }
    if (option == "--count" && k == CommandKind::Watch) {
        const auto n = decimal(value, 1, 1000000);
        if (!n) {
            return fail("--count takes a number of rounds from 1 to 1000000");
        }
        inv_.rounds = *n;
        return true;
    }
    return fail("\"" + option + "\" is no option of " + inv_.command_name);
}

bool Reader::take_positionals() {
    const auto& p = positional_;
    const size_t n = p.size();
    auto count = [&](size_t low, size_t high) {
        if (n < low || n > high) {
            return fail(inv_.command_name + " takes " +
                        (low == high ? std::to_string(low)
                                     : std::to_string(low) + " to " + std::to_string(high)) +
                        " argument" + (high == 1 ? "" : "s") + ": " +
                        CommandHelp(inv_.command_name)
                            .substr(0, CommandHelp(inv_.command_name).find('\n')));
        }
        return true;
    };
    auto id_at = [&](size_t i) {
        uint8_t id = 0;
        if (!take_id(p[i], &id)) {
            return false;
        }
        inv_.ids.push_back(id);
        return true;
    };
    switch (inv_.command) {
        case CommandKind::Scan:
            return count(0, 1) && (n == 0 || take_range(p[0]));
        case CommandKind::Id:
        case CommandKind::BroadcastOn:
        case CommandKind::BroadcastOff:
            return count(0, 0);
        case CommandKind::SetId:
            return count(1, 1) && take_id(p[0], &inv_.new_id);
        case CommandKind::Status:
        case CommandKind::SequenceOn:
        case CommandKind::SequenceOff:
        case CommandKind::Settings:
        case CommandKind::Delays:
            return count(1, 1) && id_at(0);
        case CommandKind::On:
        case CommandKind::Off:
            return count(2, 18) && id_at(0) && take_channels(1, n, true);
        case CommandKind::Lock:
            return count(2, 2) && id_at(0) && take_on_off(p[1], &inv_.flag);
        case CommandKind::Cascade:
            return count(2, 2) && id_at(0) && take_on_off(p[1], &inv_.flag);
        case CommandKind::Mask:
            return count(3, 18) && id_at(0) && take_on_off(p[n - 1], &inv_.flag) &&
                   take_channels(1, n - 1, false);
        case CommandKind::Watch:
            if (n == 0) {
                return fail("watch needs at least one ID");
            }
            for (size_t i = 0; i < n; ++i) {
                if (!id_at(i)) {
                    return false;
                }
            }
            return true;
    }
    return false;
}

ParsedCommandLine Reader::run() {
    ParsedCommandLine out;
    bool have_command = false;
    std::vector<std::pair<std::string, std::string>> pending_options;
    for (size_t i = 0; i < args_.size(); ++i) {
        std::string arg = args_[i];
        if (arg == "--help" || arg == "-h") {
            help_ = true;
            continue;
        }
        if (arg == "--json") {
            inv_.json = true;
            continue;
        }
        if (arg.size() > 2 && arg.rfind("--", 0) == 0) {
            // "--name=value" or "--name value"; a value may hold "=" itself (--com N=PATH).
            std::string value;
            const size_t eq = arg.find('=');
            if (eq != std::string::npos) {
                value = arg.substr(eq + 1);
                arg = arg.substr(0, eq);
            } else if (i + 1 < args_.size()) {
                value = args_[++i];
            } else {
                fail(arg + " needs a value");
                break;
            }
            if (arg == "--tcp" || arg == "--serial" || arg == "--com") {
                if (!take_link(arg, value)) {
                    break;
                }
            } else if (arg == "--timeout") {
                const auto ms = decimal(value, 1, kMaxTimeoutMs);
                if (!ms) {
                    fail("--timeout takes milliseconds from 1 to 600000, not \"" + value + "\"");
                    break;
                }
                inv_.timeout_ms = *ms;
            } else {
                pending_options.emplace_back(arg, value);
            }
            continue;
        }
        if (!have_command) {
            const auto it = command_names().find(arg);
            if (it == command_names().end()) {
                fail("\"" + arg + "\" is no command");
                break;
            }
            have_command = true;
            inv_.command = it->second;
            inv_.command_name = arg;
            continue;
        }
        positional_.push_back(arg);
    }
    if (help_ && error_.empty()) {
        out.help = have_command ? CommandHelp(inv_.command_name) : ProgramHelp();
        return out;
    }
    if (error_.empty() && !have_command) {
        fail("no command given");
    }
    if (error_.empty()) {
        for (const auto& [option, value] : pending_options) {
            if (!take_command_option(option, value)) {
                break;
            }
        }
    }
    if (error_.empty()) {
        take_positionals();
    }
    if (error_.empty() && inv_.command == CommandKind::Delays && inv_.on_delays.empty() &&
        inv_.off_delays.empty()) {
        fail("delays needs --on LIST, --off LIST or both");
    }
    if (error_.empty() && !link_given_) {
        fail("give the link: --tcp HOST[:PORT], --serial DEVICE or --com N");
    }
    if (!error_.empty()) {
        out.error = error_;
        out.json = inv_.json;
        out.command_name = inv_.command_name;
        return out;
    }
    out.invocation = std::move(inv_);
    return out;
}

}  // namespace

ParsedCommandLine ParseCommandLine(const std::vector<std::string>& args) {
    return Reader(args).run();
}

}  // namespace ctl
