#include <gtest/gtest.h>

#include "protocol/frame.h"
#include "protocol/requests.h"

namespace protocol {
namespace {

Bytes frame_of(const ShortPayload& p) {
    return build_frame(p);
}

TEST(RequestFrames, WireExamples) {
    EXPECT_EQ(frame_of(ReadId()), (Bytes{0x55, 0x00, 0xAB, 0x00, 0x00, 0xAB}));
    EXPECT_EQ(frame_of(ReadSettings(3)), (Bytes{0x55, 0x03, 0xA9, 0x00, 0x00, 0xAA}));
    EXPECT_EQ(frame_of(CascadeOn(3, 5)), (Bytes{0x55, 0x03, 0xA6, 0x02, 0x05, 0xA2}));
    EXPECT_EQ(frame_of(BroadcastAllOn()), (Bytes{0x55, 0x00, 0xAC, 0x00, 0x00, 0xAC}));
    EXPECT_EQ(frame_of(WriteId(12, 13)), (Bytes{0x55, 0x0C, 0xAA, 0x00, 0x0D, 0xAB}));
}

TEST(RequestFrames, WriteDelaysAllZeroIsALongFrame) {
    const std::array<Byte, kChannelCount> zero{};
    const Bytes frame = build_frame(WriteDelays(1, zero, zero));
    ASSERT_EQ(frame.size(), 38u);
    EXPECT_EQ(frame[0], 0x56);
    EXPECT_EQ(frame[1], 0x01);
    EXPECT_EQ(frame[2], 0xA7);
    for (size_t i = 3; i < 37; ++i) {
        EXPECT_EQ(frame[i], 0x00) << i;
    }
    EXPECT_EQ(frame[37], 0xA6);
}

TEST(RequestFrames, WriteDelaysPutsOnRowBeforeOffRow) {
    std::array<Byte, kChannelCount> on{};
    std::array<Byte, kChannelCount> off{};
    for (int c = 0; c < kChannelCount; ++c) {
        on[c] = static_cast<Byte>(c + 1);
        off[c] = static_cast<Byte>(0x80 | (c + 20));
    }
    const DelaysPayload p = WriteDelays(9, on, off);
    EXPECT_EQ(p[2], 1);      // LCD power-on
    EXPECT_EQ(p[18], 17);    // CH16 power-on
    EXPECT_EQ(p[19], 0x94);  // LCD power-off
    EXPECT_EQ(p[35], 0xA4);  // CH16 power-off
    const Bytes frame = build_frame(p);
    EXPECT_EQ(frame.back(), check_byte(p));
}

// A frame written into a buffer is the frame built, short and long; a payload too long for any
// request writes nothing.
TEST(RequestFrames, FramesWrittenInPlaceMatchTheFramesBuilt) {
    std::array<Byte, kMaxRequestFrameSize> buffer;
    buffer.fill(0xEE);
    const ShortPayload poll = PollStatus(3);
    const auto short_frame = write_frame(poll, buffer);
    ASSERT_TRUE(short_frame);
    EXPECT_EQ(Bytes(short_frame->begin(), short_frame->end()), build_frame(poll));
    EXPECT_EQ(buffer[6], 0xEE) << "nothing written past the frame";

    std::array<Byte, kChannelCount> on{};
    std::array<Byte, kChannelCount> off{};
    on[4] = 0x33;
    off[16] = 0x81;
    const DelaysPayload delays = WriteDelays(200, on, off);
    const auto long_frame = write_frame(delays, buffer);
    ASSERT_TRUE(long_frame);
    EXPECT_EQ(Bytes(long_frame->begin(), long_frame->end()), build_frame(delays));

    buffer.fill(0xEE);
    const Bytes too_long(kDelaysPayloadSize + 1, 0x01);
    EXPECT_FALSE(write_frame(too_long, buffer));
    EXPECT_EQ(buffer[0], 0xEE);
}

// Every request and sub-code: the command byte, the arguments and zero fill.
TEST(RequestFrames, EveryCommandCarriesItsCodeAndArguments) {
    struct Case {
        ShortPayload payload;
        ShortPayload expected;
    };
    const Case cases[] = {
        {ChannelOn(7, 0), {7, 0xA0, 0, 0}},
        {ChannelOn(7, 16), {7, 0xA0, 0, 16}},
        {ChannelOff(7, 3), {7, 0xA1, 0, 3}},
        {AllOn(255), {255, 0xA2, 0, 0}},
        {AllOff(1), {1, 0xA3, 0, 0}},
        {SequentialOn(2), {2, 0xA4, 0, 0}},
        {ReverseOff(2), {2, 0xA5, 0, 0}},
        {PollStatus(4), {4, 0xA8, 0, 0}},
        {ReadSettings(4), {4, 0xA9, 0, 0}},
        {WriteId(0, 255), {0, 0xAA, 0, 255}},
        {ReadId(), {0, 0xAB, 0, 0}},
        {BroadcastAllOn(), {0, 0xAC, 0, 0}},
        {BroadcastAllOff(), {0, 0xAD, 0, 0}},
        {SetLock(5, true), {5, 0xAE, 0xAA, 0}},
        {SetLock(5, false), {5, 0xAE, 0x55, 0}},
        {SetMask(5, 0, true), {5, 0xAF, 0, 0xAA}},
        {SetMask(5, 15, false), {5, 0xAF, 15, 0x55}},
        {SetMask(5, kMaskAll, true), {5, 0xAF, 0xFF, 0xAA}},
        {CascadeOn(3, 0), {3, 0xA6, 0x02, 0}},
        {CascadeOff(3, 16), {3, 0xA6, 0x05, 16}},
        {ManualSwitch(3, 4), {3, 0xA6, 0x07, 4}},
        {TurnOn(3, 1), {3, 0xA6, 0x08, 1}},
        {TurnOff(3, 2), {3, 0xA6, 0x09, 2}},
        // No start channel selected: index -1 goes out as 0xFF.
        {TurnOff(3, -1), {3, 0xA6, 0x09, 0xFF}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(c.payload, c.expected) << int(c.expected[1]);
        const Bytes frame = frame_of(c.payload);
        ASSERT_EQ(frame.size(), 6u);
        EXPECT_EQ(frame[0], 0x55);
        EXPECT_EQ(frame[5], c.expected[0] ^ c.expected[1] ^ c.expected[2] ^ c.expected[3]);
    }
}

TEST(RequestFrames, HeaderFollowsPayloadLength) {
    EXPECT_EQ(build_frame(Bytes(6, 0x01))[0], 0x55);
    EXPECT_EQ(build_frame(Bytes(7, 0x01))[0], 0x56);
    EXPECT_EQ(build_frame(Bytes{}), (Bytes{0x55, 0x00}));
}

TEST(RequestParsing, DeviceSideReadsWhatTheConsoleSends) {
    const auto r = parse_request_frame(frame_of(SetMask(9, 3, true)));
    ASSERT_TRUE(r);
    EXPECT_EQ(r->device_id, 9);
    EXPECT_EQ(r->command, 0xAF);
    EXPECT_EQ(r->arg2, 3);
    EXPECT_EQ(r->arg3, 0xAA);
    EXPECT_FALSE(r->long_frame);

    std::array<Byte, kChannelCount> on{};
    std::array<Byte, kChannelCount> off{};
    on[0] = 0x05;
    off[16] = 0xF8;
    const auto d = parse_request_frame(build_frame(WriteDelays(2, on, off)));
    ASSERT_TRUE(d);
    EXPECT_TRUE(d->long_frame);
    EXPECT_EQ(d->command, 0xA7);
    EXPECT_EQ(d->delays[0], 0x05);
    EXPECT_EQ(d->delays[33], 0xF8);
}

TEST(RequestParsing, RefusesDamagedOrMisframedInput) {
    Bytes frame = frame_of(ReadSettings(3));
    frame[5] ^= 0x01;
    EXPECT_FALSE(parse_request_frame(frame));
    EXPECT_FALSE(parse_request_frame(Bytes{}));
    EXPECT_FALSE(parse_request_frame(Bytes{0x55, 0x03, 0xA9, 0x00, 0xAA}));  // one short
    EXPECT_FALSE(parse_request_frame(Bytes{0x57, 0x03, 0xA9, 0x00, 0x00, 0xAA}));
    EXPECT_EQ(request_frame_length(0x55), 6u);
    EXPECT_EQ(request_frame_length(0x56), 38u);
    EXPECT_EQ(request_frame_length(0x00), 0u);
}

}  // namespace
}  // namespace protocol
