// How velmor-ctl waits for an answer and judges it, over a line that hands out prepared
// pieces: whole answers, answers in pieces, noise, damage and answers that are not ours.

#include <gtest/gtest.h>

#include "protocol/replies.h"
#include "protocol/requests.h"
#include "scripted_line.h"
#include "tools/velmor_ctl/answer_wait.h"

namespace {

using ctl::Answer;
using protocol::Bytes;

using velmor_ctl::testing::ScriptedLine;

Bytes Status(uint8_t id, uint16_t channels = 0x8001) {
    return protocol::build_status_reply(id, protocol::StatusByte{true, false, false},
                                        protocol::ChannelWord{channels});
}

struct Rig {
    ScriptedLine line;
    ctl::Exchanger ex{line, 5};
};

TEST(CtlAnswerWait, WholeAndSplitAnswersAreTaken) {
    Rig r;
    const Bytes reply = Status(3);
    r.line.pieces = {Bytes(reply.begin(), reply.begin() + 3),
                     Bytes(reply.begin() + 3, reply.end())};
    const Answer a = r.ex.Ask(protocol::PollStatus(3));
    ASSERT_TRUE(a.ok()) << a.error;
    EXPECT_EQ(a.frame, reply);
    EXPECT_EQ(r.line.sent.at(0), (Bytes{0x55, 0x03, 0xA8, 0x00, 0x00, 0xAB}));

    r.line.pieces = {{0x54}, {0x03, 0xA6}};
    EXPECT_TRUE(r.ex.Ask(protocol::CascadeOn(3, 5)).ok());
}

TEST(CtlAnswerWait, SilenceCutShortAnswersAndAClosedPeerAreReported) {
    Rig r;
    Answer a = r.ex.Ask(protocol::PollStatus(9));
    EXPECT_EQ(a.outcome, Answer::Outcome::Silent);
    EXPECT_NE(a.error.find("device 9 did not answer"), std::string::npos);

    r.line.pieces = {{0x55, 0x09, 0xA8}};
    a = r.ex.Ask(protocol::PollStatus(9));
    EXPECT_EQ(a.outcome, Answer::Outcome::Failed);
    EXPECT_NE(a.error.find("cut short (3 of 8 bytes"), std::string::npos) << a.error;

    r.line.pieces = {{0x55, 0x09, 0xA8, 0x00}};
    r.line.close_at_end = true;
    a = r.ex.Ask(protocol::PollStatus(9));
    EXPECT_EQ(a.outcome, Answer::Outcome::Failed);
    EXPECT_NE(a.error.find("closed in the middle of an answer (4 of 8"), std::string::npos);

    r.line.pieces.clear();
    a = r.ex.Ask(protocol::PollStatus(9));
    EXPECT_NE(a.error.find("closed before an answer came"), std::string::npos);
}

TEST(CtlAnswerWait, NoiseDamageAndOtherDevicesNeverGiveAResult) {
    Rig r;
    r.line.pieces = {{0x13, 0x37}};
    Answer a = r.ex.Ask(protocol::PollStatus(3));
    EXPECT_EQ(a.outcome, Answer::Outcome::Failed);
    EXPECT_NE(a.error.find("unexpected bytes"), std::string::npos);

    Bytes damaged = Status(3);
    damaged[4] ^= 0x01;
    r.line.pieces = {damaged};
    a = r.ex.Ask(protocol::PollStatus(3));
    EXPECT_EQ(a.outcome, Answer::Outcome::Failed);
    EXPECT_NE(a.error.find("bad check byte"), std::string::npos);

    r.line.pieces = {Status(4)};
    EXPECT_EQ(r.ex.Ask(protocol::PollStatus(3)).outcome, Answer::Outcome::Failed);

    // An Ack for another command or another device does not acknowledge.
    r.line.pieces = {{0x54, 0x03, 0xA7}};
    EXPECT_FALSE(r.ex.Ask(protocol::CascadeOn(3, 0)).ok());
    r.line.pieces = {{0x54, 0x04, 0xA6}};
    EXPECT_FALSE(r.ex.Ask(protocol::CascadeOn(3, 0)).ok());

    // A settings reply of another device is not this device's settings.
    protocol::SettingsReply s;
    s.device_id = 2;
    r.line.pieces = {protocol::build_settings_reply(s)};
    EXPECT_FALSE(r.ex.Ask(protocol::ReadSettings(3)).ok());
}

TEST(CtlAnswerWait, StateReportsAnswerTheirOwnDeviceAndArePassedOverOtherwise) {
    Rig r;
    const auto report = [](uint8_t id) {
        return protocol::build_state_report(id, protocol::kStateReportQuiet, {}, {}, {0xFFFF});
    };
    // Another device's report comes first and is passed over; then the Ack.
    r.line.pieces = {report(7), {0x54, 0x03, 0xA0}};
    EXPECT_TRUE(r.ex.Ask(protocol::ChannelOn(3, 1)).ok());
    // The addressed device's own report answers a switching request.
    r.line.pieces = {report(3)};
    Answer a = r.ex.Ask(protocol::ChannelOn(3, 1));
    ASSERT_TRUE(a.ok());
    EXPECT_EQ(a.frame.size(), protocol::kStateReportSize);
    // It lacks the data of a settings read.
    r.line.pieces = {report(3)};
    EXPECT_FALSE(r.ex.Ask(protocol::ReadSettings(3)).ok());
}

TEST(CtlAnswerWait, ALateStatusOfAnotherDeviceIsHandedOnDuringAScan) {
    Rig r;
    std::vector<int> late;
    r.ex.on_late_status = [&late](uint8_t id) { late.push_back(id); };
    r.line.pieces = {Status(4), Status(5)};
    ASSERT_TRUE(r.ex.Ask(protocol::PollStatus(5)).ok());
    EXPECT_EQ(late, std::vector<int>{4});
}

TEST(CtlAnswerWait, TheIdReplyIsToldFromAStatusReplyByTheRequest) {
    Rig r;
    r.line.pieces = {protocol::build_id_reply(7)};
    const Answer a = r.ex.Ask(protocol::ReadId());
    ASSERT_TRUE(a.ok()) << a.error;
    EXPECT_EQ(protocol::parse_id_reply(a.frame)->device_id, 7);
    EXPECT_EQ(ctl::HexBytes(a.frame), "55 00 AB 00 07 AC");
}

}  // namespace
