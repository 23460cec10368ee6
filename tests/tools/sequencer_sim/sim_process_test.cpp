#include <gtest/gtest.h>
#include <unistd.h>

#include <chrono>

#include "protocol/replies.h"
#include "protocol/requests.h"
#include "sim_process.h"
#include "tools/sequencer_sim/fault_plan.h"
#include "tools/sequencer_sim/frame_log.h"

namespace sequencer_sim {
namespace {

using protocol::Bytes;
using std::chrono::milliseconds;
using testing::LineEnd;
using testing::SimProcess;

Bytes frame(std::span<const protocol::Byte> payload) {
    return protocol::build_frame(payload);
}

std::string log_path(const char* name) {
    return ::testing::TempDir() + "sequencer_sim_" + name + "_" + std::to_string(::getpid()) +
           ".log";
}

TEST(SimProcessTest, AnswersOverTcpAndLogsEveryFrame) {
    const std::string log = log_path("tcp");
    SimProcess sim({"--tcp", "127.0.0.1:0", "--devices", "3,5", "--log", log});
    ASSERT_EQ(sim.first_line().rfind("tcp 127.0.0.1:", 0), 0u) << sim.first_line();
    LineEnd line = LineEnd::tcp(sim.port());

    line.send(frame(protocol::ReadSettings(3)));
    const Bytes settings = line.receive(41);
    ASSERT_EQ(settings.size(), 41u);
    EXPECT_EQ(settings[0], 0x56);
    EXPECT_EQ(settings[1], 3);
    EXPECT_TRUE(protocol::reply_intact(settings));

    // Noise, then two frames in one write: the device skips the noise and answers both.
    Bytes two = {0x00, 0xFF};
    const Bytes on = frame(protocol::ChannelOn(5, 1));
    const Bytes poll = frame(protocol::PollStatus(5));
    two.insert(two.end(), on.begin(), on.end());
    two.insert(two.end(), poll.begin(), poll.end());
    line.send(two);
    EXPECT_EQ(line.receive(11),
              (Bytes{0x54, 0x05, 0xA0, 0x55, 0x05, 0xA8, 0x00, 0x80, 0x00, 0x00, 0x2D}));
    // The console's repeat, right behind: neither carried out nor answered.
    line.send(frame(protocol::ChannelOff(5, 1)));
    line.send(frame(protocol::ChannelOff(5, 1)));
    EXPECT_EQ(line.receive(3), (Bytes{0x54, 0x05, 0xA1}));
    line.send(frame(protocol::ReadId()));
    EXPECT_EQ(line.receive(6), (Bytes{0x55, 0x00, 0xAB, 0x00, 0x03, 0xA8}));

    EXPECT_EQ(testing::read_lines(log), (std::vector<std::string>{
                                            "rx 55 03 A9 00 00 AA",
                                            format_log_line("tx", settings),
                                            "rx 00 FF",
                                            "rx 55 05 A0 00 01 A4",
                                            "tx 54 05 A0",
                                            "rx 55 05 A8 00 00 AD",
                                            "tx 55 05 A8 00 80 00 00 2D",
                                            "rx 55 05 A1 00 01 A5",
                                            "tx 54 05 A1",
                                            "rx 55 05 A1 00 01 A5",
                                            "rx 55 00 AB 00 00 AB",
                                            "tx 55 00 AB 00 03 A8",
                                        }));
}

TEST(SimProcessTest, OneClientAtATimeAndTheNextAfterItLeaves) {
    SimProcess sim({"--tcp", "127.0.0.1:0", "--close-after", "2"});
    {
        LineEnd first = LineEnd::tcp(sim.port());
        LineEnd second = LineEnd::tcp(sim.port());
        EXPECT_TRUE(second.closed_within(milliseconds(2000)));
        first.send(frame(protocol::AllOn(1)));
        EXPECT_EQ(first.receive(3), (Bytes{0x54, 0x01, 0xA2}));
        first.send(frame(protocol::PollStatus(1)));
        EXPECT_EQ(first.receive(8).size(), 8u);
        EXPECT_TRUE(first.closed_within(milliseconds(2000)));
    }
    {
        // A client that leaves right after its last frame still has that frame carried out.
        LineEnd brief = LineEnd::tcp(sim.port());
        brief.send(frame(protocol::ChannelOff(1, 16)));
    }
    // The devices keep their state for the next client, which gets its own two frames.
    LineEnd next = LineEnd::tcp(sim.port());
    next.send(frame(protocol::PollStatus(1)));
    EXPECT_EQ(next.receive(8), (Bytes{0x55, 0x01, 0xA8, 0x01, 0xFF, 0xFE, 0x00, 0xA9}));
}

TEST(SimProcessTest, PacedRepliesOverAPseudoTerminal) {
    SimProcess sim({"--pty", "--pace", "--close-after", "2"});
    const std::string path = sim.pty_path();
    ASSERT_FALSE(path.empty()) << sim.first_line();
    LineEnd line = LineEnd::pty(path);
    line.send(frame(protocol::ReadId()));
    EXPECT_EQ(line.receive(6), (Bytes{0x55, 0x00, 0xAB, 0x00, 0x01, 0xAA}));
    const auto sent = std::chrono::steady_clock::now();
    line.send(frame(protocol::ReadSettings(1)));
    EXPECT_EQ(line.receive(41).size(), 41u);
    // 41 bytes of 10 bits at 19200 baud need at least 21 ms on the line.
    EXPECT_GE(std::chrono::steady_clock::now() - sent, milliseconds(21));
    EXPECT_EQ(sim.wait_exit(milliseconds(2000)), 0);
}

TEST(SimProcessTest, DropsAndSpoilsTheRepliesTheSeedChooses) {
    SimProcess sim({"--tcp", "127.0.0.1:0", "--drop", "40", "--corrupt", "50", "--seed", "42",
                    "--repeat-window", "0"});
    LineEnd line = LineEnd::tcp(sim.port());
    FaultSettings faults;
    faults.drop_percent = 40;
    faults.corrupt_percent = 50;
    FaultPlan plan(faults, 42);
    const Bytes status = {0x55, 0x01, 0xA8, 0x00, 0x00, 0x00, 0x00, 0xA9};
    Bytes all, expected;
    for (int i = 0; i < 20; ++i) {
        const Bytes poll = frame(protocol::PollStatus(1));
        all.insert(all.end(), poll.begin(), poll.end());
        const Bytes out = plan.apply(status);
        expected.insert(expected.end(), out.begin(), out.end());
    }
    ASSERT_LT(expected.size(), 20 * status.size());
    line.send(all);
    EXPECT_EQ(line.receive(expected.size()), expected);
    EXPECT_TRUE(line.receive_some(milliseconds(100)).empty());
}

TEST(SimProcessTest, SplitNoiseAndUnpromptedReports) {
    {
        SimProcess sim({"--tcp", "127.0.0.1:0", "--split", "150"});
        LineEnd line = LineEnd::tcp(sim.port());
        line.send(frame(protocol::ReadSettings(1)));
        EXPECT_EQ(line.receive_some().size(), 20u);
        EXPECT_EQ(line.receive(21).size(), 21u);
    }
    {
        // A late reply: the console must see nothing in its first read window.
        SimProcess sim({"--tcp", "127.0.0.1:0", "--reply-delay", "200"});
        LineEnd line = LineEnd::tcp(sim.port());
        line.send(frame(protocol::PollStatus(1)));
        EXPECT_TRUE(line.receive_some(milliseconds(60)).empty());
        EXPECT_EQ(line.receive(8).size(), 8u);
    }
    {
        SimProcess sim({"--tcp", "127.0.0.1:0", "--noise-reply", "600"});
        LineEnd line = LineEnd::tcp(sim.port());
        line.send(frame(protocol::PollStatus(1)));
        EXPECT_EQ(line.receive(600).size(), 600u);
    }
    {
        const std::string log = log_path("noise");
        SimProcess sim(
            {"--tcp", "127.0.0.1:0", "--noise-every", "30", "--noise-bytes", "7", "--log", log});
        LineEnd line = LineEnd::tcp(sim.port());
        const Bytes noise = line.receive(7);
        ASSERT_EQ(noise.size(), 7u);
        EXPECT_EQ(testing::read_lines(log).at(0), format_log_line("tx", noise));
    }
    {
        SimProcess sim({"--tcp", "127.0.0.1:0", "--devices", "4", "--state-report-every", "30",
                        "--state-report-code", "B1"});
        LineEnd line = LineEnd::tcp(sim.port());
        const Bytes report = line.receive(9);
        EXPECT_EQ(report, (Bytes{0x57, 0x04, 0xB1, 0x00, 0x00, 0x00, 0xFF, 0xFF, 0xB5}));
    }
}

TEST(SimProcessTest, SequencesRunWithTheirDelays) {
    // 0.5 s delays, 20 times faster: one channel every 25 ms.
    SimProcess sim({"--tcp", "127.0.0.1:0", "--time-scale", "20", "--state-report-every", "20"});
    LineEnd line = LineEnd::tcp(sim.port());
    line.send(frame(protocol::SequentialOn(1)));
    bool saw_running = false;
    protocol::StateReport last{};
    // Reports and the Ack arrive in whole pieces; read reply by reply until the end.
    for (int i = 0; i < 200; ++i) {
        Bytes head = line.receive(1);
        ASSERT_EQ(head.size(), 1u);
        if (head[0] == 0x54) {
            EXPECT_EQ(line.receive(2), (Bytes{0x01, 0xA4}));
            continue;
        }
        Bytes rest = line.receive(8);
        head.insert(head.end(), rest.begin(), rest.end());
        const auto report = protocol::parse_state_report(head);
        ASSERT_TRUE(report);
        last = *report;
        if (report->status.running) {
            saw_running = true;
            // Channels come on in order: LCD first, then CH1 upwards.
            EXPECT_TRUE(report->channels.bits == 0 || report->status.lcd_on);
        } else if (saw_running) {
            break;
        }
    }
    EXPECT_TRUE(saw_running);
    EXPECT_FALSE(last.status.running);
    EXPECT_TRUE(last.status.lcd_on);
    EXPECT_EQ(last.channels.bits, 0xFFFF);
}

}  // namespace
}  // namespace sequencer_sim
