#include "tools/sequencer_sim/sim_device.h"

#include <gtest/gtest.h>

#include "protocol/requests.h"
#include "tools/sequencer_sim/device_line.h"

namespace sequencer_sim {
namespace {

using std::chrono::milliseconds;

const SimTime t0{};

protocol::Request request_of(std::span<const Byte> payload) {
    auto r = protocol::parse_request_frame(protocol::build_frame(payload));
    EXPECT_TRUE(r.has_value());
    return *r;
}

Bytes reply(SimDevice& d, std::span<const Byte> payload, SimTime now = t0) {
    return d.handle(request_of(payload), now).value_or(Bytes{});
}

TEST(SimDeviceTest, AnswersEachRequestWithItsOneReply) {
    SimDevice d(3);
    EXPECT_EQ(reply(d, protocol::ReadId()), (Bytes{0x55, 0x00, 0xAB, 0x00, 0x03, 0xA8}));
    EXPECT_EQ(reply(d, protocol::PollStatus(3)),
              (Bytes{0x55, 0x03, 0xA8, 0x00, 0x00, 0x00, 0x00, 0xAB}));
    EXPECT_EQ(reply(d, protocol::CascadeOn(3, 5)), (Bytes{0x54, 0x03, 0xA6}));
    const Bytes settings = reply(d, protocol::ReadSettings(3));
    ASSERT_EQ(settings.size(), 41u);
    EXPECT_TRUE(protocol::reply_intact(settings));
    EXPECT_EQ(settings[3], 0x01);   // power-on delay of LCD, 0.5 s
    EXPECT_EQ(settings[20], 0x02);  // power-off delay of LCD, 1 s
    EXPECT_EQ(settings[37], 0x02);  // cascade on, from the CascadeOn above
    EXPECT_EQ(settings[38], 5);
    EXPECT_EQ(settings[39], 0x55);

    std::array<Byte, 17> on{}, off{};
    on.fill(0x81);
    off[16] = 0x78;
    const Bytes written = reply(d, protocol::WriteDelays(3, on, off));
    ASSERT_EQ(written.size(), 41u);
    EXPECT_EQ(written[3], 0x81);
    EXPECT_EQ(written[36], 0x78);
    EXPECT_TRUE(protocol::reply_intact(written));
}

TEST(SimDeviceTest, LeavesUnknownAndMalformedRequestsUnanswered) {
    SimDevice d(1);
    EXPECT_FALSE(d.handle(request_of(std::array<Byte, 4>{1, 0xB5, 0, 0}), t0));
    EXPECT_FALSE(d.handle(request_of(std::array<Byte, 4>{1, 0xA6, 0x03, 0}), t0));
    // The WriteDelays code in a short frame is no WriteDelays.
    EXPECT_FALSE(d.handle(request_of(std::array<Byte, 4>{1, 0xA7, 0, 0}), t0));
    // WriteId to ID 0 is refused and the device keeps its ID.
    EXPECT_FALSE(d.handle(request_of(protocol::WriteId(1, 0)), t0));
    EXPECT_EQ(d.id(), 1);
    EXPECT_EQ(reply(d, protocol::WriteId(1, 13)), (Bytes{0x54, 0x01, 0xAA}));
    EXPECT_EQ(d.id(), 13);
}

TEST(SimDeviceTest, MasksKeepChannelsOutOfSwitching) {
    SimDevice d(1);
    reply(d, protocol::ChannelOn(1, 2));
    reply(d, protocol::SetMask(1, 1, true));  // CH2, while on: it stays on
    reply(d, protocol::SetMask(1, 4, true));  // CH5
    reply(d, protocol::ChannelOff(1, 2));
    EXPECT_TRUE(d.channel_on(2));
    reply(d, protocol::AllOn(1));
    EXPECT_TRUE(d.channel_on(0));
    EXPECT_FALSE(d.channel_on(5));
    EXPECT_TRUE(d.channel_on(16));
    EXPECT_EQ(d.mask_word().bits, 0xFFFF & ~(0x8000 >> 1) & ~(0x8000 >> 4));

    reply(d, protocol::SetMask(1, protocol::kMaskAll, true));
    reply(d, protocol::BroadcastAllOff());
    EXPECT_FALSE(d.channel_on(0));  // LCD has no mask
    EXPECT_TRUE(d.channel_on(1));
    reply(d, protocol::SetMask(1, protocol::kMaskAll, false));
    EXPECT_EQ(d.mask_word().bits, 0xFFFF);
    // A flag byte that is neither set nor cleared changes nothing.
    reply(d, std::array<Byte, 4>{1, 0xAF, 0, 0x12});
    EXPECT_EQ(d.mask_word().bits, 0xFFFF);
}

TEST(SimDeviceTest, LockRefusesSwitchingButNotSettings) {
    SimDevice d(1);
    reply(d, protocol::SetLock(1, true));
    EXPECT_EQ(reply(d, protocol::AllOn(1)), (Bytes{0x54, 0x01, 0xA2}));
    EXPECT_FALSE(d.channel_on(3));
    reply(d, protocol::TurnOn(1, 0));
    EXPECT_FALSE(d.running());
    reply(d, protocol::SetMask(1, 0, true));
    EXPECT_TRUE(d.masked(1));
    const Bytes status = reply(d, protocol::PollStatus(1));
    EXPECT_EQ(status[3], 0x02);
    reply(d, protocol::SetLock(1, false));
    reply(d, protocol::AllOn(1));
    EXPECT_TRUE(d.channel_on(3));
}

TEST(SimDeviceTest, SequentialPowerOnWaitsEachDelayFromTheStartChannel) {
    SimDevice d(1, 10.0);  // ten times faster: 0.5 s becomes 50 ms
    std::array<Byte, 17> on{}, off{};
    on.fill(0x01);
    on[0] = 0x02;  // LCD waits 1 s (100 ms here)
    off.fill(0x01);
    reply(d, protocol::WriteDelays(1, on, off));
    reply(d, protocol::CascadeOn(1, 15));
    reply(d, protocol::SetMask(1, 15, true));  // CH16 is left out

    reply(d, protocol::SequentialOn(1), t0);
    EXPECT_TRUE(d.running());
    EXPECT_EQ(d.next_step_time(), t0 + milliseconds(50));
    // A running device takes no second switching request.
    reply(d, protocol::ReverseOff(1), t0 + milliseconds(10));
    d.advance(t0 + milliseconds(49));
    EXPECT_FALSE(d.channel_on(15));
    d.advance(t0 + milliseconds(50));
    EXPECT_TRUE(d.channel_on(15));
    EXPECT_FALSE(d.channel_on(0));
    d.advance(t0 + milliseconds(149));
    EXPECT_FALSE(d.channel_on(0));
    d.advance(t0 + milliseconds(150));  // CH15, then LCD after its 100 ms
    EXPECT_TRUE(d.channel_on(0));
    EXPECT_FALSE(d.channel_on(1));
    // The poll reports the sequence as running until the last channel, CH14, is on.
    EXPECT_EQ(reply(d, protocol::PollStatus(1), t0 + milliseconds(849))[3], 0x05);
    EXPECT_EQ(reply(d, protocol::PollStatus(1), t0 + milliseconds(850))[3], 0x01);
    EXPECT_TRUE(d.channel_on(14));
    EXPECT_FALSE(d.channel_on(16));
    EXPECT_FALSE(d.running());

    // Reverse power-off: CH14 goes first, CH15 last.
    const SimTime t1 = t0 + milliseconds(1000);
    reply(d, protocol::TurnOff(1, 0), t1);
    d.advance(t1 + milliseconds(50));
    EXPECT_FALSE(d.channel_on(14));
    EXPECT_TRUE(d.channel_on(13));
    d.advance(t1 + milliseconds(50 * 16 - 1));
    EXPECT_TRUE(d.channel_on(15));
    d.advance(t1 + milliseconds(50 * 16));
    EXPECT_FALSE(d.channel_on(15));
    EXPECT_FALSE(d.running());
}

TEST(SimDeviceTest, DelayBytesInBothUnits) {
    SimDevice d(1);
    EXPECT_EQ(d.delay_duration(0x78), std::chrono::seconds(60));
    EXPECT_EQ(d.delay_duration(0x81), std::chrono::seconds(30));
    EXPECT_EQ(d.delay_duration(0xF8), std::chrono::minutes(60));
    EXPECT_EQ(d.delay_duration(0x7F), std::chrono::seconds(60));  // capped at 120 halves
    EXPECT_EQ(d.delay_duration(0x00), SimDuration::zero());
}

TEST(SimDeviceTest, ManualSwitchTogglesAndZeroDelaysFinishAtOnce) {
    SimDevice d(1);
    std::array<Byte, 17> zero{};
    reply(d, protocol::WriteDelays(1, zero, zero));
    reply(d, protocol::ManualSwitch(1, 0));
    EXPECT_FALSE(d.running());
    EXPECT_TRUE(d.channel_on(0) && d.channel_on(16));
    reply(d, protocol::ManualSwitch(1, 0));
    EXPECT_FALSE(d.channel_on(0) || d.channel_on(16));
}

TEST(SimDeviceTest, StateReportCarriesStatusChannelsAndMasks) {
    SimDevice d(3);
    reply(d, protocol::ChannelOn(3, 1));
    reply(d, protocol::SetMask(3, 1, true));
    reply(d, protocol::SetLock(3, true));
    const Bytes report = d.state_report(0xB0);
    EXPECT_EQ(report, (Bytes{0x57, 0x03, 0xB0, 0x02, 0x80, 0x00, 0xBF, 0xFF, 0x71}));
}

TEST(DeviceLineTest, OnlyTheFirstAddressedDeviceAnswers) {
    DeviceLine line({1, 2, 2}, 1.0, false);
    EXPECT_EQ(line.handle(request_of(protocol::ReadId()), t0).size(), 1u);
    auto replies = line.handle(request_of(protocol::ReadSettings(2)), t0);
    ASSERT_EQ(replies.size(), 1u);
    EXPECT_EQ(replies[0][1], 2);
    // A broadcast reaches every device and is acknowledged once, with ID 0.
    replies = line.handle(request_of(protocol::BroadcastAllOn()), t0);
    ASSERT_EQ(replies.size(), 1u);
    EXPECT_EQ(replies[0], (Bytes{0x54, 0x00, 0xAC}));
    for (const auto& d : line.devices()) {
        EXPECT_TRUE(d.channel_on(7));
    }
    EXPECT_TRUE(line.handle(request_of(protocol::PollStatus(9)), t0).empty());
}

TEST(DeviceLineTest, AllAnswerLetsEveryAddressedDeviceReply) {
    DeviceLine line({1, 2, 2}, 1.0, true);
    EXPECT_EQ(line.handle(request_of(protocol::ReadId()), t0).size(), 3u);
    EXPECT_EQ(line.handle(request_of(protocol::ReadSettings(2)), t0).size(), 2u);
    // WriteId decides who is addressed before anyone changes: only device 1 becomes 2.
    EXPECT_EQ(line.handle(request_of(protocol::WriteId(1, 2)), t0).size(), 1u);
    EXPECT_EQ(line.handle(request_of(protocol::PollStatus(2)), t0).size(), 3u);
    // The StateReports take turns.
    EXPECT_EQ(line.next_state_report(0xB1)[2], 0xB1);
}

}  // namespace
}  // namespace sequencer_sim
