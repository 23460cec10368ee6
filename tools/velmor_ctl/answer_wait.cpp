#include "tools/velmor_ctl/answer_wait.h"

#include <algorithm>
#include <chrono>

#include "protocol/replies.h"
#include "protocol/requests.h"

namespace ctl {

namespace {

using protocol::Byte;
using protocol::Command;
using Clock = std::chrono::steady_clock;

// The length of the reply that starts with this family byte, as far as the request tells it
// apart (0x55 heads both the IdReply and the StatusReply); 0 for a byte that starts no reply.
size_t reply_length(Byte family, Expectation::Kind kind) {
    switch (family) {
        case protocol::kAckFamily:
            return protocol::kAckSize;
        case protocol::kIdReplyFamily:  // also kStatusReplyFamily
            return kind == Expectation::Kind::IdReply ? protocol::kIdReplySize
                                                      : protocol::kStatusReplySize;
        case protocol::kStateReportFamily:
            return protocol::kStateReportSize;
        case protocol::kSettingsReplyFamily:
            return protocol::kSettingsReplySize;
        default:
            return 0;
    }
}

std::string device_name(Byte id) {
    return "device " + std::to_string(id);
}

}  // namespace

std::string HexBytes(std::span<const uint8_t> bytes) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string text;
    for (uint8_t b : bytes) {
        if (!text.empty()) {
            text += ' ';
        }
        text += kHex[b >> 4];
        text += kHex[b & 0x0F];
    }
    return text;
}

Expectation ExpectationFor(std::span<const uint8_t> payload) {
    Expectation e;
    e.device_id = payload[0];
    e.command = payload[1];
    switch (static_cast<Command>(payload[1])) {
        case Command::ReadId:
            e.kind = Expectation::Kind::IdReply;
            break;
        case Command::PollStatus:
            e.kind = Expectation::Kind::StatusReply;
            break;
        case Command::ReadSettings:
        case Command::WriteDelays:
            e.kind = Expectation::Kind::SettingsReply;
            break;
        default:
            e.kind = Expectation::Kind::Ack;
            break;
    }
    return e;
}

Exchanger::Verdict Exchanger::judge(const protocol::Bytes& frame, const Expectation& expected) {
    using Kind = Expectation::Kind;
    const protocol::ReplyKind kind = protocol::classify_reply(frame);
    if (kind != protocol::ReplyKind::Ack && !protocol::reply_intact(frame)) {
        return Verdict::BadCheck;
    }
    switch (kind) {
        case protocol::ReplyKind::Ack:
            return expected.kind == Kind::Ack &&
                           protocol::acknowledges(frame,
                                                  {expected.device_id, expected.command, 0, 0})
                       ? Verdict::Accept
                       : Verdict::Wrong;
        case protocol::ReplyKind::IdReply:
            return expected.kind == Kind::IdReply && protocol::parse_id_reply(frame)
                       ? Verdict::Accept
                       : Verdict::Wrong;
        case protocol::ReplyKind::StatusReply: {
            const auto status = protocol::parse_status_reply(frame);
            if (!status || expected.kind != Kind::StatusReply) {
                return Verdict::Wrong;
            }
            if (status->device_id == expected.device_id) {
                return Verdict::Accept;
            }
            if (on_late_status) {
                on_late_status(status->device_id);
                return Verdict::Skip;
            }
            return Verdict::Wrong;
        }
        case protocol::ReplyKind::StateReport: {
            const auto report = protocol::parse_state_report(frame);
            if (!report) {
                return Verdict::Wrong;
            }
            const bool ours = expected.device_id == 0 || report->device_id == expected.device_id;
            const bool answers = expected.kind == Kind::Ack || expected.kind == Kind::StatusReply;
            // A report of another device is its own news, not an answer: it is passed over.
            return ours && answers ? Verdict::Accept : Verdict::Skip;
        }
        case protocol::ReplyKind::SettingsReply: {
            const auto settings = protocol::parse_settings_reply(frame);
            return settings && expected.kind == Kind::SettingsReply &&
                           settings->device_id == expected.device_id
                       ? Verdict::Accept
                       : Verdict::Wrong;
        }
        case protocol::ReplyKind::Unknown:
            break;
    }
    return Verdict::Wrong;
}

Answer Exchanger::Ask(std::span<const uint8_t> payload) {
    const Expectation expected = ExpectationFor(payload);
    const protocol::Bytes frame = protocol::build_frame(payload);
    Answer answer;
    // Whatever arrived before this request belongs to no request of ours.
    line_.Discard();
    if (!line_.Send(frame)) {
        answer.outcome = Answer::Outcome::Failed;
        answer.error = "the request could not be sent: the connection is broken";
        answer.line_lost = true;
        return answer;
    }
    const auto deadline = Clock::now() + std::chrono::milliseconds(timeout_ms_);
    const auto hard_deadline = deadline + std::chrono::milliseconds(timeout_ms_);
    std::vector<uint8_t> buffer;
    auto fail = [&](std::string error) {
        answer.outcome = Answer::Outcome::Failed;
        answer.error = std::move(error);
        return answer;
    };
    // Set once the wait is over: what the last read brought is judged, then the wait ends.
    bool last_look = false;
    while (true) {
        while (!buffer.empty()) {
            const size_t length = reply_length(buffer[0], expected.kind);
            if (length == 0) {
                return fail("unexpected bytes on the line instead of an answer: " +
                            HexBytes(buffer));
            }
            if (buffer.size() < length) {
                break;
            }
            protocol::Bytes reply(buffer.begin(), buffer.begin() + length);
            switch (judge(reply, expected)) {
                case Verdict::Accept:
                    answer.outcome = Answer::Outcome::Answered;
                    answer.frame = std::move(reply);
                    return answer;
                case Verdict::Skip:
                    buffer.erase(buffer.begin(), buffer.begin() + length);
                    continue;
                case Verdict::BadCheck:
                    return fail("an answer with a bad check byte was not trusted: " +
                                HexBytes(reply));
                case Verdict::Wrong:
                    return fail("the answer does not belong to the request to " +
                                device_name(expected.device_id) + ": " + HexBytes(reply));
            }
        }
        if (!last_look) {
            if (stopped()) {
                answer.interrupted = true;
                return fail("interrupted while waiting for the answer of " +
                            device_name(expected.device_id));
            }
            // The wait is cut into slices so that a raised stop flag is seen soon.
            const auto left =
                std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
            const int slice = std::clamp(static_cast<int>(left.count()), 0, kStopCheckMs);
            const ReadResult read = line_.Read(&buffer, slice);
            if (read == ReadResult::Closed) {
                answer.line_lost = true;
                return fail(buffer.empty()
                                ? "the connection closed before an answer came"
                                : "the connection closed in the middle of an answer (" +
                                      std::to_string(buffer.size()) + " of " +
                                      std::to_string(reply_length(buffer[0], expected.kind)) +
                                      " bytes): " + HexBytes(buffer));
            }
            // Bytes that are still coming are taken even at the deadline; the wait ends when
            // the line falls quiet after it, or at twice the time-out whatever comes.
            const auto now = Clock::now();
            last_look = (read == ReadResult::Nothing && now >= deadline) || now >= hard_deadline;
            continue;
        }
        if (buffer.empty()) {
            answer.outcome = Answer::Outcome::Silent;
            answer.error =
                expected.device_id == 0 && expected.command == protocol::code_of(Command::ReadId)
                    ? "no device answered within " + std::to_string(timeout_ms_) + " ms"
                    : device_name(expected.device_id) + " did not answer within " +
                          std::to_string(timeout_ms_) + " ms";
            return answer;
        }
        return fail("the answer was cut short (" + std::to_string(buffer.size()) + " of " +
                    std::to_string(reply_length(buffer[0], expected.kind)) + " bytes within " +
                    std::to_string(timeout_ms_) + " ms): " + HexBytes(buffer));
    }
}

}  // namespace ctl
