// The command queue and the poller on the manual clock: what goes out on the wire, when, and
// what the panels show after each send.

#include <gtest/gtest.h>

#include <algorithm>

#include "forms/automation/harness.h"
#include "forms/page_control.h"
#include "protocol/replies.h"
#include "tests/pages/realtime/realtime_fixture.h"

namespace {

using realtime_test::Bytes;
using realtime_test::RealtimeTest;

TEST_F(RealtimeTest, AChannelClickGoesOutTwiceAfterThreeTicksAndPollingResumes) {
    StartPage({"1", "", "", ""});
    SetLanguage(1);
    Click(Form1->ChannelButton[0][1]);
    EXPECT_TRUE(Form1->PendingFlag);
    EXPECT_EQ(Form1->Timer3->Interval(), 10u);
    EXPECT_TRUE(ShownOff(0, 1));  // nothing changes with the enqueue itself

    win::RunFor(30);  // three waiting ticks
    EXPECT_TRUE(Frames().empty());
    EXPECT_TRUE(ShownOff(0, 1));
    win::RunFor(10);
    EXPECT_EQ(Frames(), std::vector<Bytes>{Wire({0x01, 0xA0, 0x00, 0x01})});
    EXPECT_TRUE(ShownOn(0, 1));
    EXPECT_TRUE(ShownOff(0, 2));
    win::RunFor(10);
    EXPECT_EQ(Frames(), std::vector<Bytes>{Wire({0x01, 0xA0, 0x00, 0x01})});
    EXPECT_FALSE(Form1->PendingFlag);
    EXPECT_EQ(Form1->Timer3->Interval(), 100u);

    // Back to polling every 100 ms. The first tick looks at panels 1 to 3, finds no ID and
    // stops after three; the next one reaches panel 0. The button now switches the channel off.
    win::RunFor(100);
    EXPECT_TRUE(Frames().empty());
    win::RunFor(99);
    EXPECT_TRUE(Frames().empty());
    win::RunFor(1);
    EXPECT_EQ(Frames(), std::vector<Bytes>{Poll(1)});
    Click(Form1->ChannelButton[0][1]);
    win::RunFor(50);
    EXPECT_EQ(Frames().size(), 2u);
    EXPECT_EQ(Form1->PendingFrame[1], 0xA1);
    EXPECT_TRUE(ShownOff(0, 1));
}

TEST_F(RealtimeTest, ASecondClickBeforeTheSendReplacesTheFirstAndAnotherPageFreezesTheQueue) {
    StartPage({"", "", "7", ""});
    SetLanguage(1);
    Click(Form1->ChannelButton[2][3]);
    EXPECT_EQ(Form1->PendingPanel, 2);
    EXPECT_EQ(Form1->PendingSlot, 6);
    win::RunFor(30);
    Click(Form1->PanelSeqOnButton[2]);  // countdown starts again at 5
    win::RunFor(30);
    EXPECT_TRUE(Frames().empty());
    win::RunFor(20);
    const Bytes seq = Wire({0x07, 0xA4, 0x00, 0x00});
    EXPECT_EQ(Frames(), (std::vector<Bytes>{seq, seq}));
    EXPECT_TRUE(ShownOff(2, 3));  // the replaced channel request never went out

    // Queued, then the Timer Task page: nothing moves, not even the countdown.
    Click(Form1->PanelRevOffButton[2]);
    win::RunFor(20);
    Form1->PageControl1->SetActivePage(Form1->TabSheet4);
    win::RunFor(500);
    EXPECT_TRUE(Frames().empty());
    EXPECT_EQ(Form1->PendingCountdown, 3);
    Form1->PageControl1->SetActivePage(Form1->TabSheet3);
    win::RunFor(10);
    EXPECT_TRUE(Frames().empty());
    win::RunFor(20);
    const Bytes rev = Wire({0x07, 0xA5, 0x00, 0x00});
    EXPECT_EQ(Frames(), (std::vector<Bytes>{rev, rev}));
}

TEST_F(RealtimeTest, AllOnAndAllOffLeaveMaskedChannelsAsTheyWere) {
    StartPage({"4", "", "", ""});
    SetLanguage(1);
    // CH2 and CH5 masked by the device's report; CH5 on, CH2 off.
    Form1->ApplyStatus(protocol::build_state_report(4, 0xB0, {}, {0x0800}, {0xB7FF}), true);
    ASSERT_TRUE(Form1->ChannelMask[0][1]->Checked());
    ASSERT_TRUE(Form1->ChannelMask[0][4]->Checked());
    ASSERT_TRUE(ShownOn(0, 5));

    Click(Form1->PanelAllButton[0]);
    win::RunFor(40);
    EXPECT_EQ(Frames(), std::vector<Bytes>{Wire({0x04, 0xA2, 0x00, 0x00})});
    EXPECT_EQ(Form1->PanelAllButton[0]->Caption(), "CLEAR");
    for (int c = 0; c < 17; ++c) {
        if (c == 2)
            EXPECT_TRUE(ShownOff(0, c));
        else
            EXPECT_TRUE(ShownOn(0, c)) << c;
    }
    win::RunFor(10);
    Click(Form1->PanelAllButton[0]);
    win::RunFor(50);
    EXPECT_EQ(Frames().size(), 3u);  // the second AllOn, then AllOff twice
    EXPECT_EQ(Form1->PanelAllButton[0]->Caption(), "ALL");
    EXPECT_TRUE(ShownOn(0, 5));
    EXPECT_TRUE(ShownOff(0, 0));
    EXPECT_TRUE(ShownOff(0, 16));
}

TEST_F(RealtimeTest, PollingTakesThePanelsInTurnAndResetsThoseWithoutAValidId) {
    StartPage({"11", "12", "", "14"});
    SetLanguage(1);
    // The first poll after start goes to panel 1, then 3 (panel 2 has no ID), 0, 1.
    std::vector<Bytes> polls;
    for (int i = 0; i < 4; ++i) {
        win::RunFor(100);
        for (const Bytes& f : Frames())
            polls.push_back(f);
    }
    EXPECT_EQ(polls, (std::vector<Bytes>{Poll(12), Poll(14), Poll(11), Poll(12)}));

    // All four IDs empty: each tick resets three panels and sends nothing.
    Form1->ApplyStatus(protocol::build_status_reply(14, {true, false, false}, {0xFFFF}), false);
    for (int d = 0; d < 4; ++d)
        Form1->PanelIdEdit[d]->SetText(d == 1 ? "x" : "");
    Form1->PanelAllButton[3]->SetCaption("CLEAR");
    Form1->PollPanel = 2;
    win::RunFor(100);
    EXPECT_TRUE(Frames().empty());
    EXPECT_EQ(Form1->PollPanel, 1);
    EXPECT_TRUE(ShownOff(3, 0));
    EXPECT_TRUE(ShownOff(3, 16));
    EXPECT_EQ(Form1->PanelAllButton[3]->Caption(), "CLEAR");
}

TEST_F(RealtimeTest, BroadcastsReachEveryDeviceButOnlyPanelsWithAValidIdFollow) {
    StartPage({"", "", "", "9"});
    SetLanguage(1);
    Click(Form1->Bn_ch_all);
    win::RunFor(40);
    EXPECT_EQ(Frames(), std::vector<Bytes>{Wire({0x00, 0xAC, 0x00, 0x00})});
    for (int c = 0; c < 17; ++c) {
        EXPECT_TRUE(ShownOn(3, c));
        EXPECT_TRUE(ShownOff(0, c));
    }
    EXPECT_EQ(Form1->PanelAllButton[3]->Caption(), "CLEAR");
    EXPECT_EQ(Form1->PanelAllButton[0]->Caption(), "ALL");
    win::RunFor(10);
    Click(Form1->Bn_ch_clr);
    win::RunFor(50);
    EXPECT_EQ(Frames().back(), Wire({0x00, 0xAD, 0x00, 0x00}));
    EXPECT_TRUE(ShownOff(3, 7));
    EXPECT_EQ(Form1->PanelAllButton[3]->Caption(), "ALL");
}

TEST_F(RealtimeTest, MaskRequestsGreyTheChannelButtonsAfterTheSend) {
    StartPage({"5", "", "", ""});
    Toggle(Form1->ChannelMask[0][15]);
    EXPECT_TRUE(Form1->ChannelButton[0][16]->Enabled());
    win::RunFor(40);
    EXPECT_EQ(Frames(), std::vector<Bytes>{Wire({0x05, 0xAF, 0x0F, 0xAA})});
    EXPECT_FALSE(Form1->ChannelButton[0][16]->Enabled());
    win::RunFor(10);
    Toggle(Form1->ChannelMask[0][15]);
    win::RunFor(50);
    EXPECT_EQ(Frames().back(), Wire({0x05, 0xAF, 0x0F, 0x55}));
    EXPECT_TRUE(Form1->ChannelButton[0][16]->Enabled());

    // Mask all: every box follows the all box without queuing requests of its own.
    Toggle(Form1->PanelMaskAll[0]);
    win::RunFor(50);
    EXPECT_EQ(Frames(),
              (std::vector<Bytes>{Wire({0x05, 0xAF, 0xFF, 0xAA}), Wire({0x05, 0xAF, 0xFF, 0xAA})}));
    EXPECT_FALSE(Form1->PendingFlag);
    for (int m = 0; m < 16; ++m) {
        EXPECT_TRUE(Form1->ChannelMask[0][m]->Checked());
        EXPECT_FALSE(Form1->ChannelButton[0][m + 1]->Enabled());
    }
    EXPECT_TRUE(Form1->ChannelButton[0][0]->Enabled());  // the LCD has no mask
}

}  // namespace

namespace {

TEST_F(RealtimeTest, ScriptsDriveThePanelsByTheirIndices) {
    StartPage();
    SetLanguage(1);
    const auto result = forms::automation::RunScript(Form1,
                                                     "page 2\n"
                                                     "type PanelIdEdit[2] 6\n"
                                                     "click ChannelButton[2][16]\n"
                                                     "wait 60\n"
                                                     "expect ChannelButton[2][16] off\n"
                                                     "expect ChannelLed[2][16].color #ff0000\n"
                                                     "click ChannelMask[2][0]\n"
                                                     "wait 60\n"
                                                     "expect ChannelMask[2][0].checked true\n"
                                                     "expect ChannelButton[2][1].enabled false\n"
                                                     "expect PanelIdEdit2 6\n");
    EXPECT_EQ(result.exit_code, 0) << result.report;
    const auto frames = Frames();
    EXPECT_NE(std::find(frames.begin(), frames.end(), Wire({0x06, 0xA0, 0x00, 0x10})),
              frames.end());
    EXPECT_NE(std::find(frames.begin(), frames.end(), Wire({0x06, 0xAF, 0x00, 0xAA})),
              frames.end());
}

}  // namespace
