#pragma once

#include <array>
#include <optional>
#include <span>

#include "protocol/device_state.h"
#include "protocol/frame.h"
#include "protocol/requests.h"

namespace protocol {

// A reply is recognised by the exact length of the batch the receive loop read and its first
// (family) byte; there is no length field and no start-of-frame search.
enum class ReplyKind { Unknown, Ack, IdReply, StatusReply, StateReport, SettingsReply };

inline constexpr size_t kAckSize = 3;
inline constexpr size_t kIdReplySize = 6;
inline constexpr size_t kStatusReplySize = 8;
inline constexpr size_t kStateReportSize = 9;
inline constexpr size_t kSettingsReplySize = 41;
inline constexpr size_t kMaxReplySize = kSettingsReplySize;

inline constexpr Byte kAckFamily = 0x54;
inline constexpr Byte kIdReplyFamily = 0x55;
inline constexpr Byte kStatusReplyFamily = 0x55;
inline constexpr Byte kStateReportFamily = 0x57;
inline constexpr Byte kSettingsReplyFamily = 0x56;

// StateReport codes: 0xB0 ends the send-failure wait with the success text, 0xB1 without it.
inline constexpr Byte kStateReportConfirmed = 0xB0;
inline constexpr Byte kStateReportQuiet = 0xB1;

// Cascade and lock bytes of SettingsReply.
inline constexpr Byte kCascadeOnByte = 0x02;
inline constexpr Byte kUnlockedByte = 0x55;

// Which reply the batch is, by length and family byte alone (its check is not looked at).
ReplyKind classify_reply(std::span<const Byte> batch);

// The one reply in a batch. A queued real-time command goes out twice, 10 ms apart, and a device
// that answers both leaves the two answers in the same read; a batch that is no reply as a whole
// but exactly two identical copies of one is that reply, taken once. Any other batch is itself.
std::span<const Byte> single_reply(std::span<const Byte> batch);

// A reply of length L is intact when the XOR of bytes 1 to L-1, check byte included, is 0x00.
// The 3-byte Ack carries no check; a batch shorter than 2 bytes is never intact.
bool reply_intact(std::span<const Byte> batch);

struct Ack {
    Byte device_id = 0;
    Byte command = 0;
};

struct IdReply {
    Byte device_id = 0;  // byte 4: the ID of the one device on the line
};

struct StatusReply {
    Byte device_id = 0;
    StatusByte status;
    ChannelWord channels;
};

struct StateReport {
    Byte device_id = 0;
    Byte code = 0;  // kStateReportConfirmed or kStateReportQuiet
    StatusByte status;
    ChannelWord channels;
    ChannelWord mask;  // set bit = channel usable, clear = masked
};

struct SettingsReply {
    Byte device_id = 0;
    std::array<Byte, kChannelCount> on_delays{};  // delay bytes, channel 0 "LCD" first
    std::array<Byte, kChannelCount> off_delays{};
    Byte cascade = 0;
    Byte start_channel = 0;
    Byte lock = 0;

    bool cascade_on() const { return cascade == kCascadeOnByte; }
    bool locked() const { return lock != kUnlockedByte; }
    // The start-channel item to select: the byte when it names a channel, else item 0 "LCD".
    int start_item() const { return start_channel <= 16 ? start_channel : 0; }
};

// Each parser returns a value only for a batch of its kind that is intact and carries the
// expected code; the dispatcher decides what a recognised but damaged batch still does.
std::optional<Ack> parse_ack(std::span<const Byte> batch);
std::optional<IdReply> parse_id_reply(std::span<const Byte> batch);              // code 0xAB
std::optional<StatusReply> parse_status_reply(std::span<const Byte> batch);      // code 0xA8
std::optional<StateReport> parse_state_report(std::span<const Byte> batch);      // 0xB0 or 0xB1
std::optional<SettingsReply> parse_settings_reply(std::span<const Byte> batch);  // code 0xA7

// True when the batch is an Ack for the given short payload: same device ID and command code.
bool acknowledges(std::span<const Byte> batch, const ShortPayload& last_short_payload);

// Reply builders, for the device side (simulator) and for tests. Each ends in its check byte.
Bytes build_ack(Byte device_id, Byte command);
// byte1 is not interpreted by the console; a device usually repeats the ID it was asked with.
Bytes build_id_reply(Byte device_id, Byte byte1 = 0x00);
Bytes build_status_reply(Byte device_id, StatusByte status, ChannelWord channels);
Bytes build_state_report(Byte device_id, Byte code, StatusByte status, ChannelWord channels,
                         ChannelWord mask);
Bytes build_settings_reply(const SettingsReply& settings);

}  // namespace protocol
