#include "tools/sequencer_sim/sim_options.h"

#include <arpa/inet.h>

#include <charconv>
#include <cstdlib>

namespace sequencer_sim {

namespace {

bool parse_int(const std::string& text, long long low, long long high, long long& out) {
    long long v = 0;
    const char* end = text.data() + text.size();
    auto [ptr, ec] = std::from_chars(text.data(), end, v);
    if (ec != std::errc() || ptr != end || v < low || v > high) {
        return false;
    }
    out = v;
    return true;
}

bool parse_device_ids(const std::string& text, std::vector<uint8_t>& ids) {
    ids.clear();
    size_t pos = 0;
    while (true) {
        const size_t comma = text.find(',', pos);
        const std::string item = text.substr(pos, comma == std::string::npos ? comma : comma - pos);
        long long id = 0;
        if (!parse_int(item, 1, 255, id)) {
            return false;
        }
        ids.push_back(static_cast<uint8_t>(id));
        if (comma == std::string::npos) {
            return true;
        }
        pos = comma + 1;
    }
}

bool parse_endpoint(const std::string& text, std::string& host, uint16_t& port) {
    const size_t colon = text.rfind(':');
    if (colon == std::string::npos || colon == 0) {
        return false;
    }
    long long p = 0;
    if (!parse_int(text.substr(colon + 1), 0, 65535, p)) {
        return false;
    }
    host = text.substr(0, colon);
    in_addr addr{};
    if (host != "localhost" && inet_pton(AF_INET, host.c_str(), &addr) != 1) {
        return false;
    }
    port = static_cast<uint16_t>(p);
    return true;
}

bool takes_value(const std::string& name) {
    static const char* const kWithValue[] = {"--tcp",
                                             "--devices",
                                             "--log",
                                             "--time-scale",
                                             "--repeat-window",
                                             "--seed",
                                             "--drop",
                                             "--corrupt",
                                             "--split",
                                             "--reply-delay",
                                             "--noise-reply",
                                             "--noise-every",
                                             "--noise-bytes",
                                             "--state-report-every",
                                             "--state-report-code",
                                             "--close-after"};
    for (const char* n : kWithValue) {
        if (name == n) {
            return true;
        }
    }
    return false;
}

}  // namespace

bool is_loopback_host(const std::string& host) {
    if (host == "localhost") {
        return true;
    }
    in_addr addr{};
    if (inet_pton(AF_INET, host.c_str(), &addr) != 1) {
        return false;
    }
    return (ntohl(addr.s_addr) >> 24) == 127;
}

ParsedOptions parse_options(const std::vector<std::string>& args) {
    ParsedOptions parsed;
    SimOptions& o = parsed.options;
    auto fail = [&](const std::string& why) {
        parsed.error = why;
        return parsed;
    };
    bool tcp_given = false;
    for (size_t i = 0; i < args.size(); ++i) {
        std::string name = args[i];
        std::string value;
        const size_t eq = name.find('=');
        const bool inline_value = name.rfind("--", 0) == 0 && eq != std::string::npos;
        if (inline_value) {
            value = name.substr(eq + 1);
            name = name.substr(0, eq);
        }
        if (takes_value(name)) {
            if (!inline_value) {
                if (i + 1 >= args.size()) {
                    return fail(name + " needs a value");
                }
                value = args[++i];
            }
        } else if (inline_value) {
            return fail(name + " takes no value");
        }
        long long n = 0;
        auto number = [&](long long low, long long high) {
            if (!parse_int(value, low, high, n)) {
                parsed.error = "bad value for " + name + ": " + value;
                return false;
            }
            return true;
        };
        if (name == "--help" || name == "-h") {
            o.show_help = true;
        } else if (name == "--pty") {
            o.use_pty = true;
        } else if (name == "--allow-remote") {
            o.allow_remote = true;
        } else if (name == "--pace") {
            o.pace = true;
        } else if (name == "--all-answer") {
            o.all_answer = true;
        } else if (name == "--tcp") {
            if (!parse_endpoint(value, o.tcp_host, o.tcp_port)) {
                return fail(
                    "bad --tcp endpoint (want HOST:PORT, HOST a dotted IPv4 address or "
                    "localhost): " +
                    value);
            }
            tcp_given = true;
        } else if (name == "--devices") {
            if (!parse_device_ids(value, o.device_ids)) {
                return fail("bad --devices list (want IDs 1 to 255 separated by commas): " + value);
            }
        } else if (name == "--log") {
            o.log_path = value;
        } else if (name == "--time-scale") {
            char* end = nullptr;
            o.time_scale = std::strtod(value.c_str(), &end);
            if (value.empty() || *end != '\0' || !(o.time_scale > 0) || o.time_scale > 1e6) {
                return fail("bad value for --time-scale: " + value);
            }
        } else if (name == "--repeat-window") {
            if (!number(0, 60'000))
                return parsed;
            o.repeat_window_ms = static_cast<int>(n);
        } else if (name == "--seed") {
            if (!number(0, INT64_MAX))
                return parsed;
            o.seed = static_cast<uint64_t>(n);
        } else if (name == "--drop") {
            if (!number(0, 100))
                return parsed;
            o.faults.drop_percent = static_cast<int>(n);
        } else if (name == "--corrupt") {
            if (!number(0, 100))
                return parsed;
            o.faults.corrupt_percent = static_cast<int>(n);
        } else if (name == "--reply-delay") {
            if (!number(0, 60'000))
                return parsed;
            o.reply_delay_ms = static_cast<int>(n);
        } else if (name == "--split") {
            if (!number(0, 60'000))
                return parsed;
            o.split_pause_ms = static_cast<int>(n);
        } else if (name == "--noise-reply") {
            if (!number(1, 65'536))
                return parsed;
            o.faults.noise_reply_bytes = static_cast<int>(n);
        } else if (name == "--noise-every") {
            if (!number(1, 3'600'000))
                return parsed;
            o.noise_every_ms = static_cast<int>(n);
        } else if (name == "--noise-bytes") {
            if (!number(1, 65'536))
                return parsed;
            o.noise_bytes = static_cast<int>(n);
        } else if (name == "--state-report-every") {
            if (!number(1, 3'600'000))
                return parsed;
            o.state_report_every_ms = static_cast<int>(n);
        } else if (name == "--state-report-code") {
            const std::string hex = value.rfind("0x", 0) == 0 ? value.substr(2) : value;
            if (hex == "B0" || hex == "b0") {
                o.state_report_code = 0xB0;
            } else if (hex == "B1" || hex == "b1") {
                o.state_report_code = 0xB1;
            } else {
                return fail("bad value for --state-report-code (want B0 or B1): " + value);
            }
        } else if (name == "--close-after") {
            if (!number(1, INT32_MAX))
                return parsed;
            o.close_after_frames = static_cast<int>(n);
        } else {
            return fail("unknown option: " + name);
        }
    }
    if (o.use_pty && tcp_given) {
        return fail("--tcp and --pty exclude each other");
    }
    if (!o.use_pty && !o.allow_remote && !is_loopback_host(o.tcp_host)) {
        return fail("refusing to listen on " + o.tcp_host +
                    ", which is not a loopback address (add --allow-remote to do so)");
    }
    return parsed;
}

const char* help_text() {
    return R"(Usage: sequencer-sim [options]

Behaves as one or more power sequencers on one line, for trying and testing the console
without hardware.

The line:
  --tcp HOST:PORT     listen for the console on HOST:PORT (default 127.0.0.1:8080); port 0
                      picks a free port. The first output line is "tcp HOST:PORT" with the
                      port bound. One client at a time; a second client is closed at once,
                      and a new client is taken when the previous one has left.
  --allow-remote      allow a HOST that is not a loopback address
  --pty               open a pseudo-terminal instead; the first output line is "pty PATH",
                      for the console's --com N=PATH
  --devices ID,...    the device IDs on the line, 1 to 255 (default 1)
  --log FILE          one line per frame: "rx" or "tx", then the bytes in hex
  --pace              send at the pace of a 19200-baud line (10 bits a byte)
  --time-scale F      run every channel delay F times faster (default 1)
  --reply-delay MS    wait MS ms before each reply (default 0: answer at once)
  --repeat-window MS  a frame equal to the one before, within MS ms of it, is taken as the
                      console's repeat of it: neither carried out nor answered (default 50;
                      0 carries out and answers every frame)

Faults, for tests:
  --seed N                  seed of the fault choices (default 1)
  --drop P                  drop P percent of the replies
  --corrupt P               send P percent of the replies with a wrong check byte (an Ack has
                            no check byte and goes out unchanged)
  --split MS                write every reply in two halves, MS ms apart
  --noise-reply N           send N bytes of line noise in place of every reply
  --noise-every MS          send a burst of line noise every MS ms
  --noise-bytes N           bytes in each such burst (default 16)
  --state-report-every MS   send a StateReport every MS ms on the devices' own initiative, the
                            devices taking turns
  --state-report-code C     code of those reports, B0 (default) or B1
  --close-after N           close the connection once the replies to N frames have gone out
                            (on a pseudo-terminal the simulator closes it and ends)
  --all-answer              let every addressed device answer, not only the first on the line

How the devices behave:
  Requests: 0x55 + 4 payload bytes + check, or 0x56 + 36 bytes (WriteDelays) + check. Bytes
  that start no frame are skipped; a frame with a wrong check byte is thrown away unanswered; a
  frame left unfinished for 100 ms is thrown away.
  Replies: ReadId gets IdReply, PollStatus StatusReply, ReadSettings and WriteDelays
  SettingsReply, every other known request an Ack with the request's ID and code. One request
  brings one reply. A request the device does not know is not answered.
  ID 0 addresses every device. Only the first addressed device on the line answers, unless
  --all-answer. WriteId to a new ID of 0 is refused unanswered.
  A locked or running device acknowledges switching requests (channel, all, sequence,
  broadcast, ManualSwitch, TurnOn, TurnOff) without carrying them out; settings, masks, lock
  and ID can always be changed. A masked channel keeps its state and is left out of every
  switching request and sequence; "LCD" has no mask.
  Sequential power-on starts at the start channel when cascade is on (at LCD when off) and
  runs up through all 17 channels, wrapping from CH16 to LCD, waiting each channel's power-on
  delay before switching it on; reverse power-off runs that order backwards with the power-off
  delays. The device reports itself running meanwhile. TurnOn and TurnOff run these
  sequences; ManualSwitch runs power-off when any channel is on and power-on otherwise.
  A new device has every channel off and unmasked, power-on delays 0.5 s, power-off delays
  1 s, cascade off, start channel LCD, unlocked. Devices keep their state across clients.
)";
}

}  // namespace sequencer_sim
