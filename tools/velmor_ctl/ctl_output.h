#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "protocol/replies.h"

namespace ctl {

// A JSON object written member by member, on one line.
class JsonObject {
  public:
    JsonObject& add(std::string_view key, std::string_view text);
    JsonObject& add(std::string_view key, const char* text) {
        return add(key, std::string_view(text));
    }
    JsonObject& add(std::string_view key, int number);
    JsonObject& add(std::string_view key, bool flag);
    JsonObject& add_raw(std::string_view key, std::string_view json);
    // Members of another object, as its members() gives them.
    JsonObject& add_members(std::string_view members);
    std::string str() const { return "{" + members_ + "}"; }
    const std::string& members() const { return members_; }

  private:
    void key(std::string_view name);
    std::string members_;
};

// A JSON string; bytes that are no UTF-8 (a device path, an argument) become U+FFFD, so the
// document stays valid.
std::string JsonString(std::string_view text);
std::string JsonArray(const std::vector<std::string>& json_values);
std::string JsonNumbers(const std::vector<int>& numbers);

// The members of both in one object: a's, then b's.
JsonObject JoinJson(const JsonObject& a, const JsonObject& b);
// The document of a command that failed: {"command":...,"ok":false,"error":...}; the command
// is left out when it is not known (a command line without one).
JsonObject ErrorJson(std::string_view command, std::string_view message);

// What a status answer says, from a StatusReply or a StateReport (which adds the masks).
struct DeviceStatus {
    int device_id = 0;
    protocol::StatusByte status;
    protocol::ChannelWord channels;
    std::optional<protocol::ChannelWord> usable;  // StateReport only: set = usable
    friend bool operator==(const DeviceStatus&, const DeviceStatus&) = default;
};
// The status in a StatusReply or StateReport frame (verified before), or nothing.
std::optional<DeviceStatus> StatusOfAnswer(const protocol::Bytes& frame);

// The channels shown on (LCD first), and the masked ones.
std::vector<int> ChannelsOn(const DeviceStatus& s);
std::vector<int> ChannelsMasked(const DeviceStatus& s);

// One aligned line: "device   3  idle     unlocked  on: LCD, CH1-CH3".
std::string StatusLine(const DeviceStatus& s);
// The members of a status in JSON (without braces' command member).
void AddStatusJson(JsonObject& json, const DeviceStatus& s);

// A delay byte as the client shows and takes it: "0.5s", "60m".
std::string DelayWithUnit(protocol::Byte delay);

// The settings as a table: a head line and one line per channel.
std::string SettingsTable(const protocol::SettingsReply& s);
void AddSettingsJson(JsonObject& json, const protocol::SettingsReply& s);

}  // namespace ctl
