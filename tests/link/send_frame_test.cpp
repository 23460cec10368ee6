#include <gtest/gtest.h>

#include "forms/message_box.h"
#include "forms/timer.h"
#include "protocol/replies.h"
#include "protocol/requests.h"
#include "tests/link/link_test_support.h"

namespace {

using link_test::Bytes;
using link_test::LinkWindowTest;
using link_test::LoopbackServer;
using link_test::PtyLine;

class SendFrameTest : public LinkWindowTest {
  protected:
    // Connected to `device`, which then drops the connection before the receive loop has
    // looked: the next send is the first to find the loss.
    void ConnectAndLose(LoopbackServer& device) {
        StartLinkWindow();
        ConnectTcp(device.port());
        ASSERT_TRUE(device.Accept());
        device.Drop();
        Form1->Timer_read232->SetEnabled(false);
    }
};

TEST_F(SendFrameTest, AShortFrameGoesOutOnTcpAndIsRemembered) {
    LoopbackServer device;
    StartLinkWindow();
    ConnectTcp(device.port());
    ASSERT_TRUE(device.Accept());

    Form1->SendFrame(protocol::ReadSettings(3));
    EXPECT_EQ(device.Receive(6), (Bytes{0x55, 0x03, 0xA9, 0x00, 0x00, 0xAA}));
    EXPECT_TRUE(Form1->ReadSettingsSent);
    EXPECT_EQ(Form1->LastShortPayload, (std::array<uint8_t, 4>{0x03, 0xA9, 0x00, 0x00}));
    EXPECT_EQ(Form1->ReceiveTickCount, 0);
    EXPECT_TRUE(Form1->Timer1->Enabled());
    EXPECT_TRUE(Form1->Timer_read232->Enabled());

    // Any other kind of frame ends the slow read rate.
    Form1->SendFrame(protocol::CascadeOn(3, 5));
    EXPECT_EQ(device.Receive(6), (Bytes{0x55, 0x03, 0xA6, 0x02, 0x05, 0xA2}));
    EXPECT_FALSE(Form1->ReadSettingsSent);
}

TEST_F(SendFrameTest, TheLongDelaysFrameGoesOutOnSerialAndLeavesTheShortPayload) {
    PtyLine line;
    serial::set_com_mapping(1, line.path());
    StartLinkWindow();
    Form1->Bn_ser_conn->Click();
    ASSERT_NE(Form1->SerialHandle, serial::INVALID_HANDLE_VALUE);

    Form1->SendFrame(protocol::ReadSettings(1));
    line.Receive(6);
    std::array<uint8_t, protocol::kChannelCount> zero{};
    Form1->SendFrame(protocol::WriteDelays(1, zero, zero));
    Bytes expected{0x56, 0x01, 0xA7};
    expected.insert(expected.end(), 34, 0x00);
    expected.push_back(0xA6);
    EXPECT_EQ(line.Receive(38), expected);
    EXPECT_FALSE(Form1->ReadSettingsSent);
    EXPECT_EQ(Form1->LastShortPayload, (std::array<uint8_t, 4>{0x01, 0xA9, 0x00, 0x00}));
}

TEST_F(SendFrameTest, WithNoLinkTheFailureTextFollowsTwoSecondsAfterTheLastSend) {
    StartLinkWindow();
    Form1->SendFrame(protocol::PollStatus(1));
    win::RunFor(1999);
    EXPECT_EQ(Panel2(), "Status:");
    win::RunFor(1);
    EXPECT_EQ(Panel2(), kFailure);
    EXPECT_FALSE(Form1->Timer1->Enabled());

    // A new frame restarts the watch.
    Form1->StatusBar1->Panels(2).SetText("Status:");
    Form1->SendFrame(protocol::PollStatus(1));
    win::RunFor(1500);
    Form1->SendFrame(protocol::PollStatus(1));
    win::RunFor(1999);
    EXPECT_EQ(Panel2(), "Status:");
    win::RunFor(1);
    EXPECT_EQ(Panel2(), kFailure);

    // In Chinese the failure text is the current language's.
    Form1->LanguageIndex = 2;
    Form1->SendFrame(protocol::PollStatus(1));
    win::RunFor(2000);
    EXPECT_EQ(Panel2(), "狀態:數據發送失敗");
}

TEST_F(SendFrameTest, AReplyOneAndAHalfSecondsLaterEndsTheWatch) {
    PtyLine line;
    serial::set_com_mapping(2, line.path());
    StartLinkWindow();
    Form1->CB_com->SetItemIndex(1);
    Form1->Bn_ser_conn->Click();
    ASSERT_NE(Form1->SerialHandle, serial::INVALID_HANDLE_VALUE);

    Form1->SendFrame(protocol::AllOn(4));
    win::RunFor(1500);
    line.Send(protocol::build_ack(4, protocol::code_of(protocol::Command::AllOn)));
    ASSERT_TRUE(WaitForSerial(3));
    win::RunFor(60);
    EXPECT_EQ(Panel2(), kSuccess);
    EXPECT_FALSE(Form1->Timer1->Enabled());
    win::RunFor(3000);
    EXPECT_EQ(Panel2(), kSuccess);
}

TEST_F(SendFrameTest, EachFrameStartsTheReceiveLoopAFullIntervalLaterAlsoWhenItWasStopped) {
    StartLinkWindow();
    win::RunFor(4);  // between two receive ticks
    const long ticks = Form1->Timer_read232->Ticks();
    Form1->SendFrame(protocol::PollStatus(1));
    // Without a link the loop sleeps through its ticks; taking the skipped ones (none yet) ends
    // that, and the next tick comes at the phase the write gave the timer.
    win::RunFor(9);
    EXPECT_EQ(Form1->Timer_read232->TakeSkippedTicks(), 0u);
    EXPECT_EQ(Form1->Timer_read232->Ticks(), ticks);
    win::RunFor(1);
    EXPECT_EQ(Form1->Timer_read232->Ticks(), ticks + 1);

    // A failed serial open stops the loop; the next frame starts it.
    Form1->Timer_read232->SetEnabled(false);
    win::RunFor(50);
    Form1->SendFrame(protocol::PollStatus(1));
    EXPECT_TRUE(Form1->Timer_read232->Enabled());
    win::RunFor(9);
    EXPECT_EQ(Form1->Timer_read232->TakeSkippedTicks(), 0u);
    win::RunFor(1);
    EXPECT_EQ(Form1->Timer_read232->Ticks(), ticks + 2);
}

TEST_F(SendFrameTest, AWriteToABrokenConnectionIsReportedAndTheBookkeepingStillRuns) {
    LoopbackServer device;
    ASSERT_NO_FATAL_FAILURE(ConnectAndLose(device));

    Form1->SendFrame(protocol::PollStatus(1));
    ASSERT_EQ(SeenBoxes().size(), 1u);
    EXPECT_NE(SeenBoxes()[0].text.find("Socket error"), std::string::npos);
    EXPECT_TRUE(forms::OpenMessageBoxes().empty());
    EXPECT_TRUE(Form1->Timer_read232->Enabled());
    EXPECT_TRUE(Form1->Timer1->Enabled());
    EXPECT_EQ(Form1->ReceiveTickCount, 0);

    // The next receive tick releases the connection; the watch ends in the failure text.
    win::RunFor(2000);
    EXPECT_EQ(Form1->IdTCPClient1.Connected(), tcp::LinkState::NotConnected);
    EXPECT_EQ(Panel2(), kFailure);
    EXPECT_EQ(SeenBoxes().size(), 1u);
}

TEST_F(SendFrameTest, NeitherLinkTimerTicksBehindTheErrorBoxOfAFailedWrite) {
    LoopbackServer device;
    ASSERT_NO_FATAL_FAILURE(ConnectAndLose(device));
    std::vector<bool> running_behind_the_box;
    win::SetIdleScript([&] {
        if (forms::OpenMessageBoxes().empty())
            return false;
        running_behind_the_box = {Form1->Timer_read232->Enabled(), Form1->Timer1->Enabled()};
        win::InjectKey(win::VK_RETURN, true);
        win::InjectKey(win::VK_RETURN, false);
        return true;
    });

    Form1->SendFrame(protocol::PollStatus(1));
    AnswerBoxes();  // the script above must not outlive this test
    EXPECT_EQ(running_behind_the_box, (std::vector<bool>{false, false}));
    EXPECT_TRUE(Form1->Timer_read232->Enabled());
    EXPECT_TRUE(Form1->Timer1->Enabled());
}

}  // namespace
