// The console's device link against the real sequencer-sim process, over TCP on loopback and
// over a pseudo-terminal. The console's timers run on the manual clock; the simulator runs in
// real time, so each step waits (on the line, never on a timer) until its bytes have come.

#include <gtest/gtest.h>

#include "forms/message_box.h"
#include "protocol/replies.h"
#include "protocol/requests.h"
#include "sim_process.h"
#include "tests/link/link_test_support.h"

namespace {

using link_test::Bytes;
using link_test::LinkWindowTest;
using sequencer_sim::testing::read_lines;
using sequencer_sim::testing::SimProcess;

class SimulatorTest : public LinkWindowTest {
  protected:
    std::string LogPath() const { return (dir_ / "sim.log").string(); }

    std::unique_ptr<SimProcess> StartTcpSim(std::vector<std::string> options) {
        options.insert(options.end(), {"--tcp", "127.0.0.1:0", "--log", LogPath()});
        auto sim = std::make_unique<SimProcess>(options);
        StartLinkWindow();
        ConnectTcp(sim->port());
        return sim;
    }
    std::unique_ptr<SimProcess> StartPtySim(std::vector<std::string> options) {
        options.insert(options.end(), {"--pty", "--log", LogPath()});
        auto sim = std::make_unique<SimProcess>(options);
        serial::set_com_mapping(1, sim->pty_path());
        StartLinkWindow();
        Form1->Bn_ser_conn->Click();
        return sim;
    }
    // Waits until the simulator's log has `n` lines.
    std::vector<std::string> WaitForLog(size_t n) {
        const auto end = link_test::SteadyClock::now() + std::chrono::seconds(3);
        std::vector<std::string> lines;
        while (link_test::SteadyClock::now() < end) {
            lines = read_lines(LogPath());
            if (lines.size() >= n)
                break;
            ::poll(nullptr, 0, 5);
        }
        return lines;
    }
    static void ShowDevice(int id) {
        Form1->Ed_conn_id->SetText(std::to_string(id));
        Form1->StatusBar1->Panels(2).SetText("Status:");
    }
};

TEST_F(SimulatorTest, ASettingsRequestOverTcpIsAnsweredAndConfirmed) {
    auto sim = StartTcpSim({"--devices", "1,3"});
    ASSERT_EQ(Form1->Bn_ip_conn->Caption(), "disconnect");
    ShowDevice(3);
    Form1->SendFrame(protocol::ReadSettings(3));
    const auto log = WaitForLog(2);
    ASSERT_GE(log.size(), 2u);
    EXPECT_EQ(log[0], "rx 55 03 A9 00 00 AA");
    ASSERT_TRUE(WaitForHeld(41));
    win::RunFor(200);
    EXPECT_EQ(Panel2(), "Status:");
    win::RunFor(10);
    EXPECT_EQ(Panel2(), kSuccess);
    EXPECT_EQ(Form1->IdTCPClient1.HeldBytes(), 0u);
}

TEST_F(SimulatorTest, ASettingsRequestOverThePaceOfASerialLineIsReadInOnePiece) {
    auto sim = StartPtySim({"--devices", "3", "--pace"});
    ASSERT_NE(Form1->SerialHandle, serial::INVALID_HANDLE_VALUE);
    Form1->LanguageIndex = 0;
    ShowDevice(3);
    Form1->SendFrame(protocol::ReadSettings(3));
    ASSERT_TRUE(WaitForSerial(41));
    win::RunFor(210);
    EXPECT_EQ(Panel2(), "状态:数据发送成功");
    EXPECT_EQ(read_lines(LogPath()).at(0), "rx 55 03 A9 00 00 AA");
}

TEST_F(SimulatorTest, AnUnansweredRequestFailsAndALateReplyStopsTheWatch) {
    auto sim = StartTcpSim({"--devices", "1", "--drop", "100"});
    ShowDevice(1);
    Form1->SendFrame(protocol::PollStatus(1));
    WaitForLog(1);
    win::RunFor(1990);
    EXPECT_EQ(Panel2(), "Status:");
    win::RunFor(10);
    EXPECT_EQ(Panel2(), kFailure);
}

TEST_F(SimulatorTest, AReplyOneAndAHalfSecondsLateStillConfirms) {
    auto sim = StartTcpSim({"--devices", "1", "--reply-delay", "1500"});
    ShowDevice(1);
    Form1->SendFrame(protocol::PollStatus(1));
    win::RunFor(1500);
    ASSERT_TRUE(WaitForHeld(8));
    win::RunFor(60);
    EXPECT_EQ(Panel2(), kSuccess);
    win::RunFor(2000);
    EXPECT_EQ(Panel2(), kSuccess);
}

TEST_F(SimulatorTest, AnAckForAnotherCommandDoesNotConfirm) {
    auto sim = StartTcpSim({"--devices", "1"});
    ShowDevice(1);
    Form1->SendFrame(protocol::AllOn(1));
    ASSERT_TRUE(WaitForHeld(3));
    // Device 2 is not on the line; the Ack of the first request is all that is read.
    Form1->SendFrame(protocol::AllOff(2));
    win::RunFor(60);
    EXPECT_EQ(Form1->IdTCPClient1.HeldBytes(), 0u);
    EXPECT_EQ(Panel2(), "Status:");
    win::RunFor(1940);
    EXPECT_EQ(Panel2(), kFailure);
}

TEST_F(SimulatorTest, ASplitReplyIsIgnoredOnBothLinks) {
    for (bool serial_link : {false, true}) {
        SCOPED_TRACE(serial_link ? "serial" : "tcp");
        auto sim = serial_link ? StartPtySim({"--devices", "1", "--split", "1000"})
                               : StartTcpSim({"--devices", "1", "--split", "1000"});
        const auto waiting = [&] {
            return serial_link ? Form1->SerialBytesWaiting() : Form1->IdTCPClient1.HeldBytes();
        };
        ShowDevice(1);
        Form1->SendFrame(protocol::PollStatus(1));
        // The simulator is held once the first half is there, so that the console's read
        // takes that half alone however slowly this test runs; the second half follows
        // when it runs again.
        ASSERT_TRUE(serial_link ? WaitForSerial(4) : WaitForHeld(4));
        sim->pause();
        ASSERT_EQ(waiting(), 4u);
        win::RunFor(60);
        EXPECT_EQ(waiting(), 0u);
        sim->resume();
        ASSERT_TRUE(serial_link ? WaitForSerial(4) : WaitForHeld(4));
        win::RunFor(60);
        EXPECT_EQ(Panel2(), "Status:");
        win::RunFor(1880);
        EXPECT_EQ(Panel2(), kFailure);
        CloseWindow();
        serial::clear_com_mappings();
        std::filesystem::remove(LogPath());
    }
}

TEST_F(SimulatorTest, LineNoiseOnTheSerialPortIsPurgedOrDropped) {
    for (int noise : {600, 45}) {
        SCOPED_TRACE(noise);
        auto sim = StartPtySim({"--devices", "1", "--noise-reply", std::to_string(noise)});
        ShowDevice(1);
        Form1->SendFrame(protocol::PollStatus(1));
        ASSERT_TRUE(WaitForSerial(static_cast<size_t>(noise)));
        win::RunFor(60);
        EXPECT_EQ(Form1->SerialBytesWaiting(), 0u);
        EXPECT_EQ(Panel2(), "Status:");
        CloseWindow();
        serial::clear_com_mappings();
    }
}

TEST_F(SimulatorTest, TheSimulatorClosingTheConnectionIsNoticed) {
    auto sim = StartTcpSim({"--devices", "1", "--close-after", "2"});
    ShowDevice(1);
    Form1->SendFrame(protocol::PollStatus(1));
    ASSERT_TRUE(WaitForHeld(8));
    win::RunFor(60);
    EXPECT_EQ(Panel2(), kSuccess);
    // The second reply is followed by the close; the next tick finds the connection broken
    // and releases it, the reply with it.
    Form1->SendFrame(protocol::PollStatus(1));
    const auto end = link_test::SteadyClock::now() + std::chrono::seconds(3);
    while (Form1->IdTCPClient1.HeldBytes() < 8 && link_test::SteadyClock::now() < end &&
           Form1->IdTCPClient1.Connected() == tcp::LinkState::Connected)
        ::poll(nullptr, 0, 5);
    while (Form1->IdTCPClient1.Connected() == tcp::LinkState::Connected &&
           link_test::SteadyClock::now() < end)
        ::poll(nullptr, 0, 5);
    ShowDevice(1);
    win::RunFor(10);
    EXPECT_EQ(Form1->IdTCPClient1.Connected(), tcp::LinkState::NotConnected);
    EXPECT_EQ(Panel2(), "Status:");
    EXPECT_TRUE(SeenBoxes().empty());
    EXPECT_EQ(Form1->Bn_ip_conn->Caption(), "disconnect");
    // Sending now goes nowhere and ends in the failure text; the button connects anew.
    Form1->SendFrame(protocol::PollStatus(1));
    win::RunFor(2000);
    EXPECT_EQ(Panel2(), kFailure);
    EXPECT_TRUE(SeenBoxes().empty());
    Form1->Bn_ip_conn->Click();
    EXPECT_EQ(Form1->IdTCPClient1.Connected(), tcp::LinkState::Connected);
    EXPECT_EQ(Form1->Bn_ip_conn->Caption(), "disconnect");
}

TEST_F(SimulatorTest, AnIdReplyOverThePtyShowsTheDevice) {
    auto sim = StartPtySim({"--devices", "42"});
    Form1->SendFrame(protocol::ReadId());
    ASSERT_TRUE(WaitForSerial(6));
    win::RunFor(60);
    EXPECT_EQ(Form1->Ed_read_id->Text(), "42");
    EXPECT_EQ(Panel2(), kSuccess);
}

}  // namespace
