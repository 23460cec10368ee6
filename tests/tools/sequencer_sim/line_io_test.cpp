#include <gtest/gtest.h>

#include "protocol/requests.h"
#include "tools/sequencer_sim/fault_plan.h"
#include "tools/sequencer_sim/frame_log.h"
#include "tools/sequencer_sim/output_queue.h"
#include "tools/sequencer_sim/repeat_filter.h"
#include "tools/sequencer_sim/request_reader.h"

namespace sequencer_sim {
namespace {

using protocol::Byte;
using protocol::Bytes;
using std::chrono::milliseconds;

const SimTime t0{};

void feed(RequestReader& r, const Bytes& bytes, SimTime now) {
    r.feed(bytes.data(), bytes.size(), now);
}

TEST(RequestReaderTest, CutsFramesOutOfNoiseAndJoinsPieces) {
    RequestReader reader;
    const Bytes poll = protocol::build_frame(protocol::PollStatus(3));
    std::array<Byte, 17> zero{};
    const Bytes delays = protocol::build_frame(protocol::WriteDelays(1, zero, zero));
    Bytes stream = {0x00, 0x12};
    stream.insert(stream.end(), poll.begin(), poll.end());
    stream.insert(stream.end(), delays.begin(), delays.begin() + 20);
    feed(reader, stream, t0);
    auto pieces = reader.take(t0);
    ASSERT_EQ(pieces.size(), 2u);
    EXPECT_EQ(pieces[0].bytes, (Bytes{0x00, 0x12}));
    EXPECT_FALSE(pieces[0].request);
    ASSERT_TRUE(pieces[1].request);
    EXPECT_EQ(pieces[1].request->command, 0xA8);
    ASSERT_TRUE(reader.deadline());

    feed(reader, Bytes(delays.begin() + 20, delays.end()), t0 + milliseconds(30));
    pieces = reader.take(t0 + milliseconds(30));
    ASSERT_EQ(pieces.size(), 1u);
    ASSERT_TRUE(pieces[0].request);
    EXPECT_TRUE(pieces[0].request->long_frame);
    EXPECT_FALSE(reader.deadline());
}

TEST(RequestReaderTest, DropsBadChecksAndFramesLeftUnfinished) {
    RequestReader reader(milliseconds(100));
    Bytes bad = protocol::build_frame(protocol::ReadId());
    bad.back() ^= 1;
    feed(reader, bad, t0);
    feed(reader, {0x55, 0x01, 0xA8}, t0);
    auto pieces = reader.take(t0);
    ASSERT_EQ(pieces.size(), 1u);
    EXPECT_EQ(pieces[0].bytes.size(), 6u);
    EXPECT_FALSE(pieces[0].request);
    EXPECT_TRUE(reader.take(t0 + milliseconds(100)).empty());
    pieces = reader.take(t0 + milliseconds(101));
    ASSERT_EQ(pieces.size(), 1u);
    EXPECT_EQ(pieces[0].bytes, (Bytes{0x55, 0x01, 0xA8}));
    // The next frame is read normally after the one thrown away.
    feed(reader, protocol::build_frame(protocol::ReadId()), t0 + milliseconds(200));
    pieces = reader.take(t0 + milliseconds(200));
    ASSERT_EQ(pieces.size(), 1u);
    EXPECT_TRUE(pieces[0].request);
}

TEST(RequestReaderTest, NoiseThatLooksLikeAHeaderDoesNotTakeTheNextFramesAlong) {
    const Bytes poll = protocol::build_frame(protocol::PollStatus(3));
    // A stray 0x56 announces a 38-byte frame: the poll after it is read once the gap shows
    // the long frame never came, and only the stray byte is thrown away.
    RequestReader reader(milliseconds(100));
    Bytes stream = {0x56};
    stream.insert(stream.end(), poll.begin(), poll.end());
    feed(reader, stream, t0);
    EXPECT_TRUE(reader.take(t0).empty());
    auto pieces = reader.take(t0 + milliseconds(101));
    ASSERT_EQ(pieces.size(), 2u);
    EXPECT_EQ(pieces[0].bytes, (Bytes{0x56}));
    ASSERT_TRUE(pieces[1].request);
    EXPECT_EQ(pieces[1].request->command, 0xA8);

    // Frames that follow at once fill the 38 bytes; the bad check byte then costs only the
    // stray byte, and all seven polls are read.
    stream = {0x56};
    for (int i = 0; i < 7; ++i)
        stream.insert(stream.end(), poll.begin(), poll.end());
    feed(reader, stream, t0 + milliseconds(200));
    pieces = reader.take(t0 + milliseconds(200));
    ASSERT_EQ(pieces.size(), 8u);
    EXPECT_EQ(pieces[0].bytes, (Bytes{0x56}));
    for (size_t i = 1; i < pieces.size(); ++i)
        EXPECT_TRUE(pieces[i].request) << i;
    EXPECT_FALSE(reader.deadline());
}

TEST(OutputQueueTest, PacedBytesLeaveAtTheLineRateAndPausesFollowThePieceBefore) {
    OutputQueue q(true);
    const auto bt = OutputQueue::kByteTime;
    q.push({1, 2, 3, 4}, t0);
    q.push({5, 6}, t0, milliseconds(10));
    EXPECT_TRUE(q.take_due(t0).empty());
    EXPECT_EQ(q.next_due(), t0 + bt);
    EXPECT_EQ(q.take_due(t0 + bt), (Bytes{1}));
    EXPECT_EQ(q.take_due(t0 + 4 * bt), (Bytes{2, 3, 4}));
    // The second piece starts 10 ms after the first has left the line.
    EXPECT_TRUE(q.take_due(t0 + 4 * bt + milliseconds(10)).empty());
    EXPECT_EQ(q.take_due(t0 + 5 * bt + milliseconds(10)), (Bytes{5}));
    EXPECT_EQ(q.take_due(t0 + milliseconds(100)), (Bytes{6}));
    EXPECT_TRUE(q.empty());
    // 41 bytes at 19200 baud take about 21 ms, well inside the console's slow read window.
    const double ms = std::chrono::duration<double, std::milli>(41 * bt).count();
    EXPECT_NEAR(ms, 21.35, 0.05);
}

TEST(OutputQueueTest, UnpacedPiecesGoWhole) {
    OutputQueue q(false);
    q.push({1, 2, 3}, t0);
    q.push({4}, t0, milliseconds(5));
    EXPECT_EQ(q.take_due(t0), (Bytes{1, 2, 3}));
    EXPECT_EQ(q.next_due(), t0 + milliseconds(5));
    EXPECT_EQ(q.take_due(t0 + milliseconds(5)), (Bytes{4}));
}

TEST(FaultPlanTest, SameSeedSameFaults) {
    FaultSettings s;
    s.drop_percent = 30;
    s.corrupt_percent = 50;
    FaultPlan a(s, 7), b(s, 7), c(s, 8);
    const Bytes status = {0x55, 0x03, 0xA8, 0x00, 0x00, 0x00, 0x00, 0xAB};
    int dropped = 0, spoiled = 0, differ = 0;
    for (int i = 0; i < 1000; ++i) {
        const Bytes x = a.apply(status);
        EXPECT_EQ(x, b.apply(status));
        differ += x != c.apply(status);
        dropped += x.empty();
        spoiled += !x.empty() && x != status;
    }
    EXPECT_NEAR(dropped, 300, 60);
    EXPECT_NEAR(spoiled, 350, 60);
    EXPECT_GT(differ, 0);
    // Spoiled replies fail their check; an Ack, without one, is never spoiled.
    Bytes ack = {0x54, 0x01, 0xA4};
    FaultPlan::corrupt_check(ack);
    EXPECT_EQ(ack, (Bytes{0x54, 0x01, 0xA4}));
}

TEST(FaultPlanTest, NoiseTakesThePlaceOfTheReply) {
    FaultSettings s;
    s.noise_reply_bytes = 600;
    FaultPlan plan(s, 1);
    EXPECT_EQ(plan.apply({0x54, 0x01, 0xA4}).size(), 600u);
}

TEST(RepeatFilterTest, TheConsolesSecondSendIsARepeat) {
    RepeatFilter f(milliseconds(50));
    const Bytes on = protocol::build_frame(protocol::ChannelOn(1, 1));
    const Bytes off = protocol::build_frame(protocol::ChannelOff(1, 1));
    EXPECT_FALSE(f.is_repeat(on, t0));
    EXPECT_TRUE(f.is_repeat(on, t0 + milliseconds(10)));
    EXPECT_FALSE(f.is_repeat(on, t0 + milliseconds(100)));  // a poll 100 ms later is new
    EXPECT_FALSE(f.is_repeat(off, t0 + milliseconds(110)));
    EXPECT_FALSE(f.is_repeat(on, t0 + milliseconds(120)));
    RepeatFilter never(SimDuration::zero());
    EXPECT_FALSE(never.is_repeat(on, t0));
    EXPECT_FALSE(never.is_repeat(on, t0));
}

TEST(FrameLogTest, UpperCaseHexSeparatedBySpaces) {
    EXPECT_EQ(format_log_line("tx", {0x54, 0x0A, 0xff}), "tx 54 0A FF");
    EXPECT_EQ(format_log_line("rx", {}), "rx");
}

}  // namespace
}  // namespace sequencer_sim
