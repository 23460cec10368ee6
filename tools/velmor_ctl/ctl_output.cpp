#include "tools/velmor_ctl/ctl_output.h"

#include <cstdio>

#include "platform/text/utf8.h"
#include "protocol/delay_byte.h"
#include "tools/velmor_ctl/channel_names.h"

namespace ctl {

std::string JsonString(std::string_view text) {
    std::string out = "\"";
    for (size_t i = 0; i < text.size();) {
        const auto c = static_cast<unsigned char>(text[i]);
        if (c >= 0x80) {
            // A well-formed sequence goes as it is; a byte that starts none becomes U+FFFD.
            const size_t start = i;
            const char32_t code_point = ::text::next_code_point(text, i);
            if (code_point == 0xFFFD && i - start == 1)
                out += "\\ufffd";
            else
                out.append(text.substr(start, i - start));
            continue;
        }
        if (c == '"' || c == '\\') {
            out += '\\';
            out += static_cast<char>(c);
        } else if (c < 0x20) {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\u%04x", c);
            out += escaped;
        } else {
            out += static_cast<char>(c);
        }
        ++i;
    }
    return out + "\"";
}

std::string JsonArray(const std::vector<std::string>& json_values) {
    std::string out = "[";
    for (size_t i = 0; i < json_values.size(); ++i) {
        out += (i ? "," : "") + json_values[i];
    }
    return out + "]";
}

std::string JsonNumbers(const std::vector<int>& numbers) {
    std::vector<std::string> values;
    for (int n : numbers) {
        values.push_back(std::to_string(n));
    }
    return JsonArray(values);
}

void JsonObject::key(std::string_view name) {
    if (!members_.empty()) {
        members_ += ',';
    }
    members_ += JsonString(name) + ":";
}

JsonObject& JsonObject::add(std::string_view k, std::string_view text) {
    key(k);
    members_ += JsonString(text);
    return *this;
}
JsonObject& JsonObject::add(std::string_view k, int number) {
    key(k);
    members_ += std::to_string(number);
    return *this;
}
JsonObject& JsonObject::add(std::string_view k, bool flag) {
    key(k);
    members_ += flag ? "true" : "false";
    return *this;
}
JsonObject& JsonObject::add_members(std::string_view members) {
    if (!members_.empty()) {
        members_ += ',';
    }
    members_ += members;
    return *this;
}
JsonObject& JsonObject::add_raw(std::string_view k, std::string_view json) {
    key(k);
    members_ += json;
    return *this;
}

JsonObject JoinJson(const JsonObject& a, const JsonObject& b) {
    JsonObject joined = a;
    if (!b.members().empty()) {
        joined.add_members(b.members());
    }
    return joined;
}

JsonObject ErrorJson(std::string_view command, std::string_view message) {
    JsonObject json;
    if (!command.empty()) {
        json.add("command", command);
    }
    return json.add("ok", false).add("error", message);
}

std::optional<DeviceStatus> StatusOfAnswer(const protocol::Bytes& frame) {
    if (const auto reply = protocol::parse_status_reply(frame)) {
        return DeviceStatus{reply->device_id, reply->status, reply->channels, std::nullopt};
    }
    if (const auto report = protocol::parse_state_report(frame)) {
        return DeviceStatus{report->device_id, report->status, report->channels, report->mask};
    }
    return std::nullopt;
}

std::vector<int> ChannelsOn(const DeviceStatus& s) {
    std::vector<int> on;
    if (s.status.lcd_on) {
        on.push_back(0);
    }
    for (int c = 1; c <= 16; ++c) {
        if (s.channels.test(c)) {
            on.push_back(c);
        }
    }
    return on;
}

std::vector<int> ChannelsMasked(const DeviceStatus& s) {
    std::vector<int> masked;
    for (int c = 1; s.usable && c <= 16; ++c) {
        if (!s.usable->test(c)) {
            masked.push_back(c);
        }
    }
    return masked;
}

std::string StatusLine(const DeviceStatus& s) {
    char head[64];
    std::snprintf(head, sizeof head, "device %3d  %-8s %-9s on: ", s.device_id,
                  s.status.running ? "running" : "idle", s.status.locked ? "locked" : "unlocked");
    std::string line = head + ChannelRanges(ChannelsOn(s));
    if (s.usable) {
        line += "  masked: " + ChannelRanges(ChannelsMasked(s));
    }
    return line;
}

void AddStatusJson(JsonObject& json, const DeviceStatus& s) {
    json.add("device", s.device_id).add("running", s.status.running).add("locked", s.status.locked);
    std::vector<std::string> on;
    for (int c : ChannelsOn(s)) {
        on.push_back(JsonString(ChannelName(c)));
    }
    json.add_raw("on", JsonArray(on));
    JsonObject channels;
    channels.add("LCD", s.status.lcd_on);
    for (int c = 1; c <= 16; ++c) {
        channels.add(ChannelName(c), s.channels.test(c));
    }
    json.add_raw("channels", channels.str());
    if (s.usable) {
        std::vector<std::string> masked;
        for (int c : ChannelsMasked(s)) {
            masked.push_back(JsonString(ChannelName(c)));
        }
        json.add_raw("masked", JsonArray(masked));
    }
}

std::string DelayWithUnit(protocol::Byte delay) {
    return protocol::delay_text(delay) + (protocol::delay_in_minutes(delay) ? "m" : "s");
}

std::string SettingsTable(const protocol::SettingsReply& s) {
    std::string text = "device " + std::to_string(s.device_id) + ": cascade " +
                       (s.cascade_on() ? "on" : "off") + ", start channel " +
                       ChannelName(s.start_item()) + ", " + (s.locked() ? "locked" : "unlocked") +
                       "\n";
    text += "channel  power-on  power-off\n";
    for (int c = 0; c < protocol::kChannelCount; ++c) {
        char line[64];
        std::snprintf(line, sizeof line, "%-8s %-9s %s\n", ChannelName(c).c_str(),
                      DelayWithUnit(s.on_delays[c]).c_str(),
                      DelayWithUnit(s.off_delays[c]).c_str());
        text += line;
    }
    return text;
}

void AddSettingsJson(JsonObject& json, const protocol::SettingsReply& s) {
    json.add("device", static_cast<int>(s.device_id))
        .add("cascade", s.cascade_on())
        .add("start_channel", ChannelName(s.start_item()))
        .add("locked", s.locked());
    JsonObject on, off;
    for (int c = 0; c < protocol::kChannelCount; ++c) {
        on.add(ChannelName(c), DelayWithUnit(s.on_delays[c]));
        off.add(ChannelName(c), DelayWithUnit(s.off_delays[c]));
    }
    json.add_raw("on_delays", on.str()).add_raw("off_delays", off.str());
}

}  // namespace ctl
