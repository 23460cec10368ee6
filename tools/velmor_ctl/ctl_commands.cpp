#include "tools/velmor_ctl/ctl_commands.h"

#include <poll.h>

#include <algorithm>
#include <chrono>
#include <ctime>
#include <map>
#include <set>

#include "operator_input/delay_cells.h"
#include "operator_input/refusal_texts.h"
#include "protocol/delay_byte.h"
#include "protocol/replies.h"
#include "protocol/requests.h"
#include "tools/velmor_ctl/channel_names.h"
#include "tools/velmor_ctl/ctl_output.h"

namespace ctl {

namespace {

using protocol::Byte;
using protocol::ShortPayload;

// The Real-time Control page polls one device per 100 ms tick; watch keeps that pace, which
// also keeps two polls of the same device well apart.
constexpr int kWatchIntervalMs = 100;

class Runner {
  public:
    Runner(const Invocation& inv, Exchanger& ex, std::ostream& out, std::ostream& err,
           const std::atomic<bool>& stop)
        : inv_(inv), ex_(ex), out_(out), err_(err), stop_(stop) {}

    int run();

  private:
    // Prints the failure of an exchange and gives status 1.
    int failed(const std::string& message, JsonObject json = {}) {
        err_ << "velmor-ctl: " << message << "\n";
        if (inv_.json) {
            out_ << JoinJson(ErrorJson(inv_.command_name, message), json).str() << "\n";
        }
        return kExitNoAnswer;
    }
    // Prints a done command: its plain line, or its JSON with "ok": true.
    int done(const std::string& plain, JsonObject json = {}) {
        if (inv_.json) {
            JsonObject head;
            head.add("command", inv_.command_name).add("ok", true);
            out_ << JoinJson(head, json).str() << "\n";
        } else {
            out_ << plain;
            if (!plain.empty() && plain.back() != '\n') {
                out_ << "\n";
            }
        }
        return kExitDone;
    }
    // Asks and prints nothing; on failure *status gets the exit status.
    std::optional<protocol::Bytes> ask(std::span<const Byte> payload, int* status,
                                       const std::string& what = {}) {
        Answer a = ex_.Ask(payload);
        if (!a.ok()) {
            *status = failed(what.empty() ? a.error : what + ": " + a.error);
            return std::nullopt;
        }
        return std::move(a.frame);
    }
    std::optional<protocol::SettingsReply> read_settings(Byte id, int* status) {
        const auto frame = ask(protocol::ReadSettings(id), status);
        if (!frame) {
            return std::nullopt;
        }
        return protocol::parse_settings_reply(*frame);
    }

    int scan();
    int read_id();
    int set_id();
    int status();
    int switch_channels(bool on);
    int simple(const ShortPayload& payload, const std::string& plain);
    int mask();
    int cascade();
    int settings();
    int delays();
    int watch();

    const Invocation& inv_;
    Exchanger& ex_;
    std::ostream& out_;
    std::ostream& err_;
    const std::atomic<bool>& stop_;
};

std::string device_name(int id) {
    return "device " + std::to_string(id);
}

int Runner::scan() {
    std::set<int> found;
    ex_.on_late_status = [&found](uint8_t id) { found.insert(id); };
    // Set when the scan ends before the end of its range: a broken line, or a stop.
    std::string cut_short;
    int last_asked = inv_.first - 1;
    for (int id = inv_.first; id <= inv_.last && !stop_; ++id) {
        const Answer a = ex_.Ask(protocol::PollStatus(static_cast<Byte>(id)));
        last_asked = id;
        if (a.interrupted) {
            cut_short = "interrupted at ID " + std::to_string(id);
            break;
        }
        if (a.ok()) {
            found.insert(id);
        } else if (a.line_lost) {
            // No later ID can answer: the IDs not asked must not be reported as silent.
            cut_short = "ID " + std::to_string(id) + ": " + a.error;
            break;
        } else if (a.outcome == Answer::Outcome::Failed) {
            // One garbled answer must not end a scan of the whole line; say so and go on.
            err_ << "velmor-ctl: ID " << id << ": " << a.error << "\n";
        }
    }
    ex_.on_late_status = nullptr;
    if (cut_short.empty() && last_asked < inv_.last) {
        cut_short = "interrupted after ID " + std::to_string(last_asked);
    }
    const std::vector<int> ids(found.begin(), found.end());
    std::string plain;
    for (int id : ids) {
        plain += (plain.empty() ? "" : " ") + std::to_string(id);
    }
    const int asked = last_asked - inv_.first + 1;
    // The range in the result is the range actually asked.
    JsonObject json;
    json.add("first", inv_.first).add("last", last_asked).add_raw("devices", JsonNumbers(ids));
    const std::string summary = "devices: " + (plain.empty() ? std::string("none") : plain) +
                                "  (" + std::to_string(ids.size()) + " of " +
                                std::to_string(asked) + " IDs answered)";
    if (!cut_short.empty()) {
        // What was found so far is shown, but the scan is not done: status 1.
        if (!inv_.json) {
            out_ << summary << "\n";
        }
        return failed("the scan of IDs " + std::to_string(inv_.first) + "-" +
                          std::to_string(inv_.last) + " ended early: " + cut_short,
                      json);
    }
    if (ids.empty()) {
        return failed("no device answered among IDs " + std::to_string(inv_.first) + "-" +
                      std::to_string(inv_.last));
    }
    return done(summary, json);
}

int Runner::read_id() {
    int status = kExitDone;
    const auto frame = ask(protocol::ReadId(), &status);
    if (!frame) {
        return status;
    }
    const int id = protocol::parse_id_reply(*frame)->device_id;
    return done("ID " + std::to_string(id), JsonObject().add("device", id));
}

int Runner::set_id() {
    int status = kExitDone;
    Byte current = 0;
    if (inv_.current_id) {
        current = *inv_.current_id;
    } else {
        const auto frame = ask(protocol::ReadId(), &status, "reading the current ID");
        if (!frame) {
            return status;
        }
        current = protocol::parse_id_reply(*frame)->device_id;
    }
    if (!ask(protocol::WriteId(current, inv_.new_id), &status)) {
        return status;
    }
    return done(device_name(current) + " is now " + device_name(inv_.new_id),
                JsonObject().add("old", static_cast<int>(current)).add("device", inv_.new_id));
}

int Runner::status() {
    int status = kExitDone;
    const auto frame = ask(protocol::PollStatus(inv_.ids[0]), &status);
    if (!frame) {
        return status;
    }
    const auto s = StatusOfAnswer(*frame);
    JsonObject json;
    AddStatusJson(json, *s);
    return done(StatusLine(*s), json);
}

int Runner::switch_channels(bool on) {
    const Byte id = inv_.ids[0];
    const std::string state = on ? "on" : "off";
    int status = kExitDone;
    if (inv_.all) {
        if (!ask(on ? protocol::AllOn(id) : protocol::AllOff(id), &status)) {
            return status;
        }
        return done(device_name(id) + ": all channels switched " + state,
                    JsonObject().add("device", id).add_raw("channels", "\"all\""));
    }
    std::vector<std::string> names;
    for (int c : inv_.channels) {
        const auto payload = on ? protocol::ChannelOn(id, static_cast<Byte>(c))
                                : protocol::ChannelOff(id, static_cast<Byte>(c));
        if (!ask(payload, &status, ChannelName(c))) {
            return status;
        }
        names.push_back(JsonString(ChannelName(c)));
    }
    return done(device_name(id) + ": " + ChannelRanges(inv_.channels) + " switched " + state,
                JsonObject().add("device", id).add_raw("channels", JsonArray(names)));
}

int Runner::simple(const ShortPayload& payload, const std::string& plain) {
    int status = kExitDone;
    if (!ask(payload, &status)) {
        return status;
    }
    JsonObject json;
    if (payload[0] != 0) {
        json.add("device", static_cast<int>(payload[0]));
    }
    return done(plain, json);
}

int Runner::mask() {
    const Byte id = inv_.ids[0];
    int status = kExitDone;
    const std::string state = inv_.flag ? "masked" : "usable";
    if (inv_.all) {
        if (!ask(protocol::SetMask(id, protocol::kMaskAll, inv_.flag), &status)) {
            return status;
        }
        return done(device_name(id) + ": all channels " + state,
                    JsonObject().add("device", id).add("masked", inv_.flag));
    }
    for (int c : inv_.channels) {
        if (!ask(protocol::SetMask(id, static_cast<Byte>(c - 1), inv_.flag), &status,
                 ChannelName(c))) {
            return status;
        }
    }
    return done(device_name(id) + ": " + ChannelRanges(inv_.channels) + " " + state,
                JsonObject().add("device", id).add("masked", inv_.flag));
}

int Runner::cascade() {
    const Byte id = inv_.ids[0];
    int status = kExitDone;
    int start = 0;
    if (inv_.start_channel) {
        start = *inv_.start_channel;
    } else {
        // The console sends the start channel it shows, which a read of the device filled.
        const auto settings = read_settings(id, &status);
        if (!settings) {
            return status;
        }
        start = settings->start_item();
    }
    const auto payload =
        inv_.flag ? protocol::CascadeOn(id, start) : protocol::CascadeOff(id, start);
    if (!ask(payload, &status)) {
        return status;
    }
    return done(device_name(id) + ": cascade " + (inv_.flag ? "on" : "off") + ", start channel " +
                    ChannelName(start),
                JsonObject()
                    .add("device", id)
                    .add("cascade", inv_.flag)
                    .add("start_channel", ChannelName(start)));
}

int Runner::settings() {
    int status = kExitDone;
    const auto settings = read_settings(inv_.ids[0], &status);
    if (!settings) {
        return status;
    }
    JsonObject json;
    AddSettingsJson(json, *settings);
    return done(SettingsTable(*settings), json);
}

int Runner::delays() {
    const Byte id = inv_.ids[0];
    int status = kExitDone;
    // As on the Device Setup page: the device is read, the grid edited, all 34 written.
    const auto current = read_settings(id, &status);
    if (!current) {
        return status;
    }
    operator_input::DelayCells cells;
    for (int c = 0; c < protocol::kChannelCount; ++c) {
        cells[0][c] = {protocol::delay_text(current->on_delays[c]),
                       protocol::delay_in_minutes(current->on_delays[c])};
        cells[1][c] = {protocol::delay_text(current->off_delays[c]),
                       protocol::delay_in_minutes(current->off_delays[c])};
    }
    for (const DelayChange& change : inv_.on_delays) {
        cells[0][change.channel] = change.cell;
    }
    for (const DelayChange& change : inv_.off_delays) {
        cells[1][change.channel] = change.cell;
    }
    const auto built = operator_input::BuildDelaysPayload(id, cells);
    if (!built.payload) {
        // Only a value the device itself reported can get here (the given ones were checked).
        return failed(ChannelName(built.refused.channel) + ": " +
                      std::string(operator_input::kDelayErrorMessage.text.en));
    }
    const auto frame = ask(*built.payload, &status);
    if (!frame) {
        return status;
    }
    const auto written = protocol::parse_settings_reply(*frame);
    const auto& p = *built.payload;
    if (!std::equal(written->on_delays.begin(), written->on_delays.end(), p.begin() + 2) ||
        !std::equal(written->off_delays.begin(), written->off_delays.end(),
                    p.begin() + 2 + protocol::kChannelCount)) {
        return failed(device_name(id) + " answered with other delays than were written");
    }
    JsonObject json;
    AddSettingsJson(json, *written);
    return done(SettingsTable(*written), json);
}

std::string time_of_day() {
    const auto now = std::chrono::system_clock::now();
    const std::time_t t = std::chrono::system_clock::to_time_t(now);
    const int ms = static_cast<int>(
        std::chrono::duration_cast<std::chrono::milliseconds>(now.time_since_epoch()).count() %
        1000);
    std::tm local{};
    localtime_r(&t, &local);
    char text[32];
    std::snprintf(text, sizeof text, "%02d:%02d:%02d.%03d", local.tm_hour, local.tm_min,
                  local.tm_sec, ms);
    return text;
}

int Runner::watch() {
    using Clock = std::chrono::steady_clock;
    // The last thing printed per device: a status, or "no answer" (nullopt).
    std::map<int, std::optional<DeviceStatus>> last;
    std::map<int, bool> seen;
    auto next = Clock::now();
    for (int round = 0; !stop_ && (!inv_.rounds || round < *inv_.rounds); ++round) {
        for (Byte id : inv_.ids) {
            if (stop_) {
                break;
            }
            const Answer a = ex_.Ask(protocol::PollStatus(id));
            if (a.interrupted) {
                return kExitDone;  // stopped while waiting: nothing new to show
            }
            std::optional<DeviceStatus> now;
            std::string problem;
            if (a.ok()) {
                now = StatusOfAnswer(a.frame);
            } else {
                problem = a.error;
            }
            const bool changed = !seen[id] || last[id] != now;
            if (changed || (!a.ok() && a.outcome == Answer::Outcome::Failed)) {
                seen[id] = true;
                last[id] = now;
                const std::string when = time_of_day();
                if (inv_.json) {
                    JsonObject json;
                    json.add("time", when);
                    if (now) {
                        AddStatusJson(json, *now);
                    } else {
                        json.add("device", id).add("error", problem);
                    }
                    out_ << json.str() << "\n";
                } else {
                    out_ << when << "  "
                         << (now ? StatusLine(*now) : device_name(id) + ": " + problem) << "\n";
                }
                out_.flush();
                if (!out_) {
                    // Nobody reads what watch prints any more (a pipe whose reader ended): the
                    // polling would go on unseen for ever.
                    err_ << "velmor-ctl: watch ended: its output can no longer be written\n";
                    return kExitNoAnswer;
                }
            }
            if (a.line_lost) {
                // The peer hung up or the line failed: every later poll would fail the same way.
                err_ << "velmor-ctl: watch ended: " << problem << "\n";
                return kExitNoAnswer;
            }
            next += std::chrono::milliseconds(kWatchIntervalMs);
            const auto wait =
                std::chrono::duration_cast<std::chrono::milliseconds>(next - Clock::now());
            if (wait.count() > 0) {
                ::poll(nullptr, 0, static_cast<int>(wait.count()));
            } else {
                next = Clock::now();
            }
        }
    }
    return kExitDone;
}

int Runner::run() {
    ex_.set_stop(&stop_);
    const Byte id = inv_.ids.empty() ? 0 : inv_.ids[0];
    switch (inv_.command) {
        case CommandKind::Scan:
            return scan();
        case CommandKind::Id:
            return read_id();
        case CommandKind::SetId:
            return set_id();
        case CommandKind::Status:
            return status();
        case CommandKind::On:
            return switch_channels(true);
        case CommandKind::Off:
            return switch_channels(false);
        case CommandKind::SequenceOn:
            return simple(protocol::SequentialOn(id),
                          device_name(id) + ": power-on sequence started");
        case CommandKind::SequenceOff:
            return simple(protocol::ReverseOff(id),
                          device_name(id) + ": power-off sequence started");
        case CommandKind::BroadcastOn:
            return simple(protocol::BroadcastAllOn(), "every device: all channels switched on");
        case CommandKind::BroadcastOff:
            return simple(protocol::BroadcastAllOff(), "every device: all channels switched off");
        case CommandKind::Lock:
            return simple(protocol::SetLock(id, inv_.flag),
                          device_name(id) + (inv_.flag ? ": locked" : ": unlocked"));
        case CommandKind::Mask:
            return mask();
        case CommandKind::Cascade:
            return cascade();
        case CommandKind::Settings:
            return settings();
        case CommandKind::Delays:
            return delays();
        case CommandKind::Watch:
            return watch();
    }
    return kExitUsage;
}

}  // namespace

int RunCommand(const Invocation& invocation, Exchanger& exchanger, std::ostream& out,
               std::ostream& err, const std::atomic<bool>& stop) {
    return Runner(invocation, exchanger, out, err, stop).run();
}

}  // namespace ctl
