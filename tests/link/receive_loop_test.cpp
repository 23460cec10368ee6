#include <gtest/gtest.h>

#include <memory>
#include <optional>

#include "forms/message_box.h"
#include "link/receive_limits.h"
#include "platform/clock/clock.h"
#include "platform/display/display.h"
#include "protocol/replies.h"
#include "protocol/requests.h"
#include "tests/link/link_test_support.h"

namespace {

using link_test::Bytes;
using link_test::LinkWindowTest;
using link_test::LoopbackServer;
using link_test::PtyLine;

// The receive loop on a pseudo-terminal line, ticks from the manual clock.
class ReceiveLoopTest : public LinkWindowTest {
  protected:
    void OpenSerial() {
        serial::set_com_mapping(1, line_.path());
        StartLinkWindow();
        Form1->Bn_ser_conn->Click();
        ASSERT_NE(Form1->SerialHandle, serial::INVALID_HANDLE_VALUE);
    }
    // The device's bytes are on the port before the ticks run.
    void Arrive(const Bytes& bytes) {
        line_.Send(bytes);
        ASSERT_TRUE(WaitForSerial(bytes.size()));
    }
    void Send(const protocol::ShortPayload& payload) {
        Form1->SendFrame(payload);
        line_.Receive(6);
        Form1->StatusBar1->Panels(2).SetText("Status:");
    }
    // The read that takes what arrived comes `ms` from now, not a tick earlier.
    void ExpectReadIn(int64_t ms) {
        win::RunFor(ms - 1);
        EXPECT_EQ(Panel2(), "Status:");
        win::RunFor(1);
        EXPECT_EQ(Panel2(), kSuccess);
    }
    PtyLine line_;
};

const Bytes kStatus{0x55, 0x03, 0xA8, 0x01, 0x80, 0x01, 0x00, 0x2B};

TEST_F(ReceiveLoopTest, TheFirstReadComesOnTheSixthTickAfterASend) {
    OpenSerial();
    Send(protocol::PollStatus(3));
    Arrive(kStatus);
    win::RunFor(59);
    EXPECT_EQ(Panel2(), "Status:");
    EXPECT_EQ(Form1->SerialBytesWaiting(), kStatus.size());
    win::RunFor(1);
    EXPECT_EQ(Panel2(), kSuccess);
    EXPECT_EQ(Form1->SerialBytesWaiting(), 0u);

    // Without a send the reads go on every sixth tick.
    Form1->StatusBar1->Panels(2).SetText("Status:");
    Form1->Timer1->SetEnabled(true);
    Arrive(kStatus);
    ExpectReadIn(60);
}

TEST_F(ReceiveLoopTest, AfterASettingsRequestReadsComeOnEveryTwentyFirstTick) {
    OpenSerial();
    Form1->Ed_conn_id->SetText("3");
    protocol::SettingsReply settings;
    settings.device_id = 3;
    const Bytes reply = protocol::build_settings_reply(settings);
    Send(protocol::ReadSettings(3));
    Arrive(reply);
    ExpectReadIn(210);

    // The slow rate lasts until a frame of another kind goes out.
    Form1->StatusBar1->Panels(2).SetText("Status:");
    Arrive(reply);
    ExpectReadIn(210);

    Send(protocol::PollStatus(3));
    Arrive(kStatus);
    win::RunFor(60);
    EXPECT_EQ(Panel2(), kSuccess);
}

TEST_F(ReceiveLoopTest, NoiseOversizedBatchesAndSplitRepliesAreForgotten) {
    OpenSerial();
    Send(protocol::AllOn(3));
    // 600 bytes of line noise: discarded unread.
    Arrive(Bytes(600, 0x54));
    win::RunFor(60);
    EXPECT_EQ(Form1->SerialBytesWaiting(), 0u);
    EXPECT_EQ(Panel2(), "Status:");
    // 45 bytes: read and dropped, although they start like an Ack of this request.
    Bytes oversized{0x54, 0x03, 0xA2};
    oversized.resize(45, 0x00);
    Arrive(oversized);
    win::RunFor(60);
    EXPECT_EQ(Form1->SerialBytesWaiting(), 0u);
    EXPECT_EQ(Panel2(), "Status:");
    // 512 bytes, the most one read takes in: read whole and dropped, nothing left behind.
    Arrive(Bytes(512, 0x54));
    win::RunFor(60);
    EXPECT_EQ(Form1->SerialBytesWaiting(), 0u);
    EXPECT_EQ(Panel2(), "Status:");
    // A settings reply read as 20 and then 21 bytes: neither part is a reply.
    Form1->Ed_conn_id->SetText("3");
    protocol::SettingsReply settings;
    settings.device_id = 3;
    const Bytes reply = protocol::build_settings_reply(settings);
    Arrive(Bytes(reply.begin(), reply.begin() + 20));
    win::RunFor(60);
    Arrive(Bytes(reply.begin() + 20, reply.end()));
    win::RunFor(60);
    EXPECT_EQ(Panel2(), "Status:");
    // Two different Acks back to back: no reply either.
    Bytes two_acks = protocol::build_ack(3, 0xA2);
    const Bytes second = protocol::build_ack(4, 0xA2);
    two_acks.insert(two_acks.end(), second.begin(), second.end());
    Arrive(two_acks);
    win::RunFor(60);
    EXPECT_EQ(Panel2(), "Status:");
    win::RunFor(2000);
    EXPECT_EQ(Panel2(), kFailure);

    // Nothing of all that is joined with what comes next.
    Send(protocol::AllOn(3));
    Arrive(protocol::build_ack(3, 0xA2));
    win::RunFor(60);
    EXPECT_EQ(Panel2(), kSuccess);
}

// Between two reads the loop only counts, so it sleeps through those ticks: one tick runs per
// read. A port closed between two reads keeps the count of the ticks that passed before.
TEST_F(ReceiveLoopTest, BetweenReadsTheLoopSleepsAndAClosedPortKeepsTheCountItHad) {
    OpenSerial();
    Send(protocol::PollStatus(3));
    const long ticks = Form1->Timer_read232->Ticks();
    Arrive(kStatus);
    win::RunFor(120);
    EXPECT_EQ(Form1->Timer_read232->Ticks(), ticks + 2) << "the reads at 60 and 120 ms";
    EXPECT_EQ(Panel2(), kSuccess);

    win::RunFor(35);
    Form1->Bn_ser_conn->Click();
    ASSERT_EQ(Form1->SerialHandle, serial::INVALID_HANDLE_VALUE);
    EXPECT_EQ(Form1->ReceiveTickCount, 3);
    win::RunFor(100);
    EXPECT_EQ(Form1->ReceiveTickCount, 3) << "without a link ticks do not count";

    // Open again, the loop counts on from three and reads on the third tick.
    Form1->Bn_ser_conn->Click();
    ASSERT_NE(Form1->SerialHandle, serial::INVALID_HANDLE_VALUE);
    Form1->StatusBar1->Panels(2).SetText("Status:");
    Arrive(kStatus);
    ExpectReadIn(25);
}

// Runs the loop on the real clock for at most `ms`, until `done` holds.
template <class Done>
void RunRealTime(int ms, Done done) {
    const auto end = link_test::SteadyClock::now() + std::chrono::milliseconds(ms);
    while (!done() && link_test::SteadyClock::now() < end) {
        win::PumpPending();
        win::WaitMessage();
    }
}

// The loop on the real clock with a display that waits, connected over TCP to `device_`: the
// loop's wait watches the socket for a hang-up, as in the running console.
class WatchedSocketTest : public ReceiveLoopTest {
  protected:
    void SetUp() override {
        ReceiveLoopTest::SetUp();
        on_real_time_.emplace(real_);
        display::Options headless;
        headless.kind = display::Kind::Headless;
        std::string error;
        display_ = display::Open(headless, &error);
        ASSERT_TRUE(display_) << error;
        StartLinkWindow();
        ConnectTcp(device_.port());
        ASSERT_TRUE(device_.Accept());
        ASSERT_TRUE(Form1->TcpSocketWatch.reports_hang_up());
    }
    void TearDown() override {
        win::SetDisplayDriver(nullptr);
        display_.reset();
        on_real_time_.reset();
        ReceiveLoopTest::TearDown();
    }
    clk::SystemClock real_;
    std::optional<clk::ScopedClock> on_real_time_;
    std::unique_ptr<display::Display> display_;
    LoopbackServer device_;
};

// Over TCP too the loop sleeps between reads: one tick runs per read, and the device's replies
// are read as before.
TEST_F(WatchedSocketTest, OneTickRunsPerRead) {
    Form1->SendFrame(protocol::PollStatus(3));
    device_.Receive(6);
    device_.Send(kStatus);
    const long ticks = Form1->Timer_read232->Ticks();
    RunRealTime(300, [] { return false; });
    EXPECT_EQ(Panel2(), kSuccess);
    EXPECT_LE(Form1->Timer_read232->Ticks() - ticks, 8)
        << "a read every 60 ms, not a tick every 10";
}

// While the loop sleeps towards the read after a settings request, whatever ends the Ethernet
// link ends the sleep as well: the device hanging up is found at the next tick, not when the
// read comes, and a disconnect by the button keeps the ticks that passed before it and counts
// none after it.
TEST_F(WatchedSocketTest, AHangUpOrADisconnectEndsTheSleepBetweenReads) {
    Form1->SendFrame(protocol::ReadSettings(3));
    device_.Receive(6);
    device_.Drop();
    RunRealTime(1000, [] { return !Form1->IdTCPClient1.HasConnection(); });
    EXPECT_FALSE(Form1->IdTCPClient1.HasConnection());
    EXPECT_LT(Form1->ReceiveTickCount, devlink::kSlowReadTickLimit)
        << "the hang-up waited for the read";

    Form1->Bn_ip_conn->Click();  // connects anew
    ASSERT_TRUE(device_.Accept());
    Form1->SendFrame(protocol::ReadSettings(3));
    device_.Receive(6);
    RunRealTime(35, [] { return false; });
    Form1->Bn_ip_conn->Click();
    ASSERT_FALSE(Form1->IdTCPClient1.HasConnection());
    const uint8_t counted = Form1->ReceiveTickCount;
    RunRealTime(300, [] { return false; });
    EXPECT_EQ(Form1->ReceiveTickCount, counted) << "ticks after the disconnect were counted";
}

// Without a link every tick would only find that there is none: the loop sleeps through them,
// a second at a time, until a link opens; then it counts and reads as after any frame.
TEST_F(ReceiveLoopTest, WithoutALinkTheLoopSleepsUntilOneOpens) {
    StartLinkWindow();
    const long ticks = Form1->Timer_read232->Ticks();
    win::RunFor(3000);
    EXPECT_LE(Form1->Timer_read232->Ticks() - ticks, 3);
    EXPECT_EQ(Form1->ReceiveTickCount, 0);

    serial::set_com_mapping(1, line_.path());
    Form1->Bn_ser_conn->Click();
    ASSERT_NE(Form1->SerialHandle, serial::INVALID_HANDLE_VALUE);
    Arrive(kStatus);
    const long opened = Form1->Timer_read232->Ticks();
    win::RunFor(60);
    EXPECT_EQ(Form1->Timer_read232->Ticks(), opened + 2) << "the first counting tick, the read";
    EXPECT_EQ(Form1->SerialBytesWaiting(), 0u);
}

TEST_F(ReceiveLoopTest, WithoutAnEthernetConnectionTicksDoNotCount) {
    StartLinkWindow();
    Form1->SendFrame(protocol::PollStatus(1));
    win::RunFor(100);
    EXPECT_EQ(Form1->ReceiveTickCount, 0);

    LoopbackServer device;
    ConnectTcp(device.port());
    ASSERT_TRUE(device.Accept());
    win::RunFor(30);
    EXPECT_EQ(Form1->ReceiveTickCount, 3);
}

TEST_F(ReceiveLoopTest, AfterAFailedSerialOpenTheLoopWaitsForTheNextFrame) {
    serial::set_com_mapping(1, (dir_ / "absent").string());
    StartLinkWindow();
    Form1->Bn_ser_conn->Click();
    ASSERT_EQ(SeenBoxes().size(), 1u);
    EXPECT_EQ(SeenBoxes()[0].text, "Port Invalid!");
    EXPECT_EQ(Form1->Bn_ser_conn->Caption(), "connect");
    EXPECT_FALSE(Form1->Timer_read232->Enabled());

    LoopbackServer device;
    ConnectTcp(device.port());
    ASSERT_TRUE(device.Accept());
    EXPECT_EQ(Form1->Bn_ip_conn->Caption(), "disconnect");
    device.Send(protocol::build_ack(1, 0xA8));
    ASSERT_TRUE(WaitForHeld(3));
    win::RunFor(200);
    EXPECT_FALSE(Form1->Timer_read232->Enabled());
    EXPECT_EQ(Form1->IdTCPClient1.HeldBytes(), 3u);

    // The first frame starts the loop again, and it reads over TCP.
    Form1->SendFrame(protocol::PollStatus(1));
    EXPECT_TRUE(Form1->Timer_read232->Enabled());
    device.Send(protocol::build_status_reply(1, {}, {}));
    ASSERT_TRUE(WaitForHeld(11));
    win::RunFor(60);
    // The stale Ack and the status reply came as one batch of 11 bytes: no reply.
    EXPECT_EQ(Form1->IdTCPClient1.HeldBytes(), 0u);
    EXPECT_EQ(Panel2(), "Status:");
}

TEST_F(ReceiveLoopTest, OnTcpABatchIsAllThatArrivedAndLongOnesAreDropped) {
    LoopbackServer device;
    StartLinkWindow();
    ConnectTcp(device.port());
    ASSERT_TRUE(device.Accept());
    Form1->SendFrame(protocol::PollStatus(3));
    device.Receive(6);
    Form1->StatusBar1->Panels(2).SetText("Status:");

    device.Send(Bytes(45, 0x55));
    ASSERT_TRUE(WaitForHeld(45));
    win::RunFor(60);
    EXPECT_EQ(Form1->IdTCPClient1.HeldBytes(), 0u);
    EXPECT_EQ(Panel2(), "Status:");

    device.Send(kStatus);
    ASSERT_TRUE(WaitForHeld(kStatus.size()));
    win::RunFor(60);
    EXPECT_EQ(Panel2(), kSuccess);
}

TEST_F(ReceiveLoopTest, AConnectionTheDeviceClosesIsReleasedQuietly) {
    LoopbackServer device;
    StartLinkWindow();
    ConnectTcp(device.port());
    ASSERT_TRUE(device.Accept());
    EXPECT_EQ(Panel(0), "Port:ethernet IP:127.0.0.1");
    device.Drop();
    win::RunFor(10);
    EXPECT_EQ(Form1->IdTCPClient1.Connected(), tcp::LinkState::NotConnected);
    // The button and panel 0 keep their look until the operator presses it again.
    EXPECT_TRUE(SeenBoxes().empty());
    EXPECT_EQ(Form1->Bn_ip_conn->Caption(), "disconnect");
    EXPECT_EQ(Panel(0), "Port:ethernet IP:127.0.0.1");
    win::RunFor(100);
    EXPECT_EQ(Form1->ReceiveTickCount, 0);

    // The press connects anew, since the client reports not connected.
    Form1->Bn_ip_conn->Click();
    ASSERT_TRUE(device.Accept());
    EXPECT_EQ(Form1->IdTCPClient1.Connected(), tcp::LinkState::Connected);
    EXPECT_EQ(Form1->Bn_ip_conn->Caption(), "disconnect");
}

}  // namespace
