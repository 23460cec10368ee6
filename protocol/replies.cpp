#include "protocol/replies.h"

#include <algorithm>
#include <utility>

namespace protocol {

ReplyKind classify_reply(std::span<const Byte> batch) {
    if (batch.empty()) {
        return ReplyKind::Unknown;
    }
    const Byte family = batch[0];
    switch (batch.size()) {
        case kAckSize:
            return family == kAckFamily ? ReplyKind::Ack : ReplyKind::Unknown;
        case kIdReplySize:
            return family == kIdReplyFamily ? ReplyKind::IdReply : ReplyKind::Unknown;
        case kStatusReplySize:
            return family == kStatusReplyFamily ? ReplyKind::StatusReply : ReplyKind::Unknown;
        case kStateReportSize:
            return family == kStateReportFamily ? ReplyKind::StateReport : ReplyKind::Unknown;
        case kSettingsReplySize:
            return family == kSettingsReplyFamily ? ReplyKind::SettingsReply : ReplyKind::Unknown;
        default:
            return ReplyKind::Unknown;
    }
}

std::span<const Byte> single_reply(std::span<const Byte> batch) {
    if (classify_reply(batch) != ReplyKind::Unknown || batch.size() % 2 != 0)
        return batch;
    const auto first = batch.first(batch.size() / 2);
    const auto second = batch.last(batch.size() / 2);
    if (classify_reply(first) == ReplyKind::Unknown ||
        !std::equal(first.begin(), first.end(), second.begin()))
        return batch;
    return first;
}

bool reply_intact(std::span<const Byte> batch) {
    return batch.size() >= 2 && check_byte(batch.subspan(1)) == 0x00;
}

namespace {

bool is_valid(std::span<const Byte> batch, ReplyKind kind) {
    return classify_reply(batch) == kind && reply_intact(batch);
}

}  // namespace

std::optional<Ack> parse_ack(std::span<const Byte> batch) {
    if (classify_reply(batch) != ReplyKind::Ack) {
        return std::nullopt;
    }
    return Ack{batch[1], batch[2]};
}

std::optional<IdReply> parse_id_reply(std::span<const Byte> batch) {
    if (!is_valid(batch, ReplyKind::IdReply) || batch[2] != code_of(Command::ReadId)) {
        return std::nullopt;
    }
    return IdReply{batch[4]};
}

std::optional<StatusReply> parse_status_reply(std::span<const Byte> batch) {
    if (!is_valid(batch, ReplyKind::StatusReply) || batch[2] != code_of(Command::PollStatus)) {
        return std::nullopt;
    }
    return StatusReply{batch[1], StatusByte::decode(batch[3]),
                       ChannelWord::from_bytes(batch[4], batch[5])};
}

std::optional<StateReport> parse_state_report(std::span<const Byte> batch) {
    if (!is_valid(batch, ReplyKind::StateReport) ||
        (batch[2] != kStateReportConfirmed && batch[2] != kStateReportQuiet)) {
        return std::nullopt;
    }
    return StateReport{batch[1], batch[2], StatusByte::decode(batch[3]),
                       ChannelWord::from_bytes(batch[4], batch[5]),
                       ChannelWord::from_bytes(batch[6], batch[7])};
}

std::optional<SettingsReply> parse_settings_reply(std::span<const Byte> batch) {
    if (!is_valid(batch, ReplyKind::SettingsReply) || batch[2] != code_of(Command::WriteDelays)) {
        return std::nullopt;
    }
    SettingsReply s;
    s.device_id = batch[1];
    std::copy_n(batch.begin() + 3, kChannelCount, s.on_delays.begin());
    std::copy_n(batch.begin() + 3 + kChannelCount, kChannelCount, s.off_delays.begin());
    s.cascade = batch[37];
    s.start_channel = batch[38];
    s.lock = batch[39];
    return s;
}

bool acknowledges(std::span<const Byte> batch, const ShortPayload& last_short_payload) {
    const auto ack = parse_ack(batch);
    return ack && ack->device_id == last_short_payload[0] && ack->command == last_short_payload[1];
}

namespace {

// Appends the check that makes the XOR of every byte after the family byte 0x00.
Bytes seal(Bytes reply) {
    reply.push_back(check_byte(std::span<const Byte>(reply).subspan(1)));
    return reply;
}

}  // namespace

Bytes build_ack(Byte device_id, Byte command) {
    return {kAckFamily, device_id, command};
}

Bytes build_id_reply(Byte device_id, Byte byte1) {
    return seal({kIdReplyFamily, byte1, code_of(Command::ReadId), 0x00, device_id});
}

Bytes build_status_reply(Byte device_id, StatusByte status, ChannelWord channels) {
    return seal({kStatusReplyFamily, device_id, code_of(Command::PollStatus), status.encode(),
                 channels.high(), channels.low(), 0x00});
}

Bytes build_state_report(Byte device_id, Byte code, StatusByte status, ChannelWord channels,
                         ChannelWord mask) {
    return seal({kStateReportFamily, device_id, code, status.encode(), channels.high(),
                 channels.low(), mask.high(), mask.low()});
}

Bytes build_settings_reply(const SettingsReply& settings) {
    Bytes reply{kSettingsReplyFamily, settings.device_id, code_of(Command::WriteDelays)};
    reply.insert(reply.end(), settings.on_delays.begin(), settings.on_delays.end());
    reply.insert(reply.end(), settings.off_delays.begin(), settings.off_delays.end());
    reply.push_back(settings.cascade);
    reply.push_back(settings.start_channel);
    reply.push_back(settings.lock);
    return seal(std::move(reply));
}

}  // namespace protocol
