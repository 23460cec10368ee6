// The device panels: how they stand, what a click checks, the stored IDs, the captions in the
// three languages, and what the devices' status replies show on them.

#include <gtest/gtest.h>

#include "forms/panel.h"
#include "protocol/replies.h"
#include "settings/settings_file.h"
#include "tests/pages/realtime/realtime_fixture.h"

namespace {

using realtime_test::Bytes;
using realtime_test::RealtimeTest;

TEST_F(RealtimeTest, PanelsStandAsDesignedWithEveryArrayAtItsPlace) {
    StartPage();
    EXPECT_EQ(Form1->Panel1->Parent(), Form1->TabSheet3);
    EXPECT_EQ(Form1->Panel1->BoundsRect(), gdi::Rect::from_xywh(0, 6, 1228, 538));
    EXPECT_EQ(Form1->Bn_ch_all->BoundsRect(), gdi::Rect::from_xywh(869, 492, 81, 33));
    EXPECT_EQ(Form1->Bn_ch_clr->Caption(), "CLEAR");
    std::vector<forms::TWinControl*> groups;
    for (int d = 0; d < 4; ++d) {
        auto* g = Form1->PanelGroup[d];
        groups.push_back(g);
        EXPECT_EQ(g->BoundsRect(), gdi::Rect::from_xywh(6, 1 + 119 * d, 1200, 120));
        EXPECT_EQ(Form1->PanelIdEdit[d]->BoundsRect(), gdi::Rect::from_xywh(39, 22, 44, 24));
        EXPECT_EQ(Form1->PanelIdEdit[d]->MaxLength(), 3);
        EXPECT_EQ(Form1->PanelIdEdit[d]->Font().Size(), 10);
        EXPECT_EQ(Form1->PanelLockBox[d]->BoundsRect(), gdi::Rect::from_xywh(970, 45, 60, 17));
        EXPECT_FALSE(Form1->PanelLockBox[d]->Enabled());
        EXPECT_EQ(Form1->PanelAllButton[d]->Caption(), "ALL");
        EXPECT_FALSE(Form1->DeviceRunning[d]);
        for (int c = 0; c < 17; ++c) {
            EXPECT_EQ(Form1->ChannelLed[d][c]->BoundsRect(),
                      gdi::Rect::from_xywh(219 + 43 * c, 20, 22, 22));
            EXPECT_EQ(Form1->ChannelLed[d][c]->Shape(), forms::TShapeType::stCircle);
            EXPECT_EQ(Form1->ChannelLed[d][c]->BrushColor(), forms::clWhite);
            // The labels stand where designed, as wide as their column allows.
            EXPECT_EQ(Form1->ChannelLabel[d][c]->Left(), 219 + 43 * c);
            EXPECT_EQ(Form1->ChannelLabel[d][c]->Top(), 45);
            EXPECT_LT(Form1->ChannelLabel[d][c]->Width(), 43);
            EXPECT_EQ(Form1->ChannelButton[d][c]->BoundsRect(),
                      gdi::Rect::from_xywh(212 + 43 * c, 84, 37, 30));
            EXPECT_EQ(Form1->ChannelButton[d][c]->Parent(), g);
            EXPECT_EQ(Form1->PanelButtons[d][3 + c], Form1->ChannelButton[d][c]);
        }
        for (int m = 0; m < 16; ++m)
            EXPECT_EQ(Form1->ChannelMask[d][m]->BoundsRect(),
                      gdi::Rect::from_xywh(259 + 43 * m, 64, 46, 17));
        EXPECT_EQ(Form1->PanelButtons[d][0], nullptr);
        EXPECT_EQ(Form1->PanelButtons[d][1], Form1->PanelSeqOnButton[d]);
        EXPECT_EQ(Form1->PanelButtons[d][2], Form1->PanelRevOffButton[d]);
        EXPECT_EQ(Form1->PanelButtons[d][20], Form1->PanelAllButton[d]);
    }
    EXPECT_EQ(Form1->ChannelLabel[1][0]->Caption(), "LCD");
    EXPECT_EQ(Form1->ChannelLabel[1][16]->Caption(), "CH16");
    EXPECT_GT(Form1->ChannelLabel[1][16]->Width(), 22);       // read whole, not cut at 22 pixels
    EXPECT_GT(Form1->PanelMaskLabel[0]->Width(), 64);         // "MASK OPTION: " read whole
    EXPECT_EQ(Form1->ChannelButton[3][16]->Caption(), "on");  // a new file says English
    EXPECT_EQ(Form1->FindComponent("ChannelButton1_3"), Form1->ChannelButton[1][3]);
    EXPECT_EQ(Form1->FindComponent("PanelIdEdit2"), Form1->PanelIdEdit[2]);
    groups.push_back(Form1->Bn_ch_all);
    groups.push_back(Form1->Bn_ch_clr);
    EXPECT_EQ(Form1->Panel1->TabList(), groups);
}

TEST_F(RealtimeTest, StoredPanelIdsFrom1To254ShowAndAnEditedIdIsStoredOnExit) {
    WriteStoredPanelIds({7, 254, 255, 0});
    StartWindow();
    EXPECT_EQ(Form1->PanelIdEdit[0]->Text(), "7");
    EXPECT_EQ(Form1->PanelIdEdit[1]->Text(), "254");
    EXPECT_EQ(Form1->PanelIdEdit[2]->Text(), "");
    EXPECT_EQ(Form1->PanelIdEdit[3]->Text(), "");

    // The operator types an ID and leaves the edit: entry 1 + d holds it at once.
    Form1->PageControl1->SetActivePage(Form1->TabSheet3);
    win::PumpPending();
    Form1->PanelIdEdit[3]->SetFocus();
    win::PumpPending();
    win::InjectText("42");
    win::PumpPending();
    Form1->PanelIdEdit[0]->SetFocus();
    win::PumpPending();
    EXPECT_EQ(Int32At(FileBytes(), settings::SettingsFile::SavedIds(4)), 42);
    Form1->PanelIdEdit[2]->SetText("ab");
    Form1->PanelIdEdit[2]->SetFocus();
    win::PumpPending();
    Form1->PanelIdEdit[0]->SetFocus();
    win::PumpPending();
    EXPECT_EQ(Int32At(FileBytes(), settings::SettingsFile::SavedIds(3)), 0);
    EXPECT_EQ(Int32At(FileBytes(), settings::SettingsFile::SavedIds(1)), 7);

    // Closing the window while an ID edit holds the focus stores nothing and runs no handler
    // on the edit being freed.
    Form1->PanelIdEdit[1]->SetFocus();
    win::PumpPending();
    win::InjectText("9");
    win::PumpPending();
    CloseWindow();
    EXPECT_EQ(Int32At(FileBytes(), settings::SettingsFile::SavedIds(2)), 254);
}

TEST_F(RealtimeTest, PanelChecksRefuseWithTheirBoxesAndQueueNothing) {
    StartPage({"", "3", "3", ""});
    SetLanguage(1);
    // No ID: the box; a mask box keeps the state the click gave it.
    Click(Form1->ChannelButton[0][2]);
    Toggle(Form1->ChannelMask[0][15]);
    EXPECT_TRUE(Form1->ChannelMask[0][15]->Checked());
    // A locked device refuses the four button actions but takes mask changes.
    Form1->ApplyStatus(protocol::build_status_reply(3, {false, true, false}, {}), false);
    ASSERT_TRUE(Form1->PanelLockBox[1]->Checked());
    Click(Form1->PanelSeqOnButton[1]);
    Click(Form1->PanelRevOffButton[1]);
    Click(Form1->ChannelButton[1][4]);
    Click(Form1->PanelAllButton[1]);
    EXPECT_FALSE(Form1->PendingFlag);
    Toggle(Form1->ChannelMask[1][0]);
    EXPECT_TRUE(Form1->PendingFlag);
    EXPECT_EQ(Form1->PendingFrame, (std::array<int32_t, 4>{3, 0xAF, 0x00, 0xAA}));
    win::RunFor(50);
    Frames();
    // A running sequence refuses them with its own message.
    Form1->ApplyStatus(protocol::build_status_reply(3, {false, false, true}, {}), false);
    Click(Form1->ChannelButton[2][1]);
    EXPECT_FALSE(Form1->PendingFlag);
    const std::string id_error = "Error|please input a valid ID, range: 1-255\n";
    const std::string locked = "Error|the device is in locked status\n";
    EXPECT_EQ(BoxTexts(), id_error + id_error + locked + locked + locked + locked +
                              "Error|the device is in running status\n");
}

TEST_F(RealtimeTest, CaptionsFollowTheLanguageAndAClickAfterASwitchSwitchesOn) {
    StartPage({"2", "", "", ""});
    struct Row {
        const char* status;
        const char* mask_label;
        const char* mask_all;
        const char* seq;
        const char* rev;
        const char* on;
        const char* off;
    };
    const Row rows[3] = {
        {"状态显示", "屏蔽选择：", "所有", "顺序打开", "逆序关闭", "开", "关"},
        {"  STATUS", "MASK OPTION: ", "ALL", "turn on", "turn off", "on", "off"},
        {"狀態顯示", "屏蔽選擇：", "所有", "順序打開", "逆序關閉", "開", "關"},
    };
    SetLanguage(0);
    for (int language : {1, 2, 0, 2}) {
        // The device reports CH3 on; the switch puts the on-text on every button.
        Form1->ApplyStatus(protocol::build_status_reply(2, {}, {0x2000}), false);
        EXPECT_EQ(Caption(0, 3), rows[i18n::EffectiveLanguage(Form1->LanguageIndex)].off);
        SetLanguage(language);
        const Row& r = rows[language];
        for (int d = 0; d < 4; ++d) {
            EXPECT_EQ(Form1->PanelStatusLabel[d]->Caption(), r.status);
            EXPECT_EQ(Form1->PanelMaskLabel[d]->Caption(), r.mask_label);
            EXPECT_EQ(Form1->PanelMaskAll[d]->Caption(), r.mask_all);
            EXPECT_EQ(Form1->PanelSeqOnButton[d]->Caption(), r.seq);
            EXPECT_EQ(Form1->PanelRevOffButton[d]->Caption(), r.rev);
            for (int c = 0; c < 17; ++c)
                EXPECT_EQ(Caption(d, c), r.on);
            EXPECT_EQ(Form1->PanelAllButton[d]->Caption(), "ALL");
            EXPECT_EQ(Form1->PanelIdLabel[d]->Caption(), "ID:");
        }
        EXPECT_EQ(Led(0, 3), forms::clRed);  // the indicator keeps the state
    }
    Click(Form1->ChannelButton[0][3]);
    EXPECT_EQ(Form1->PendingFrame, (std::array<int32_t, 4>{2, 0xA0, 0x00, 0x03}));
}

TEST_F(RealtimeTest, StatusRepliesShowOnEveryPanelWatchingTheDevice) {
    StartPage({"3", "3", "", "4"});
    SetLanguage(1);
    Form1->PanelAllButton[0]->SetCaption("CLEAR");
    // A StatusReply: LCD, CH1 and CH16 on, no lock, not running, the masks untouched.
    Form1->ChannelMask[0][6]->SetChecked(true);
    Form1->HandleReply(Bytes{0x55, 0x03, 0xA8, 0x01, 0x80, 0x01, 0x00, 0x2B});
    for (int d : {0, 1}) {
        for (int c = 0; c < 17; ++c) {
            if (c == 0 || c == 1 || c == 16)
                EXPECT_TRUE(ShownOn(d, c)) << d << "," << c;
            else
                EXPECT_TRUE(ShownOff(d, c)) << d << "," << c;
        }
        EXPECT_FALSE(Form1->PanelLockBox[d]->Checked());
        EXPECT_FALSE(Form1->DeviceRunning[d]);
    }
    EXPECT_TRUE(Form1->ChannelMask[0][6]->Checked());
    EXPECT_EQ(Form1->PanelAllButton[0]->Caption(), "CLEAR");
    EXPECT_TRUE(ShownOff(3, 0));

    // A StateReport with its masks: CH2 masked, running, locked; B1 updates the same way.
    for (Bytes report : {Bytes{0x57, 0x03, 0xB0, 0x06, 0x80, 0x00, 0xBF, 0xFF, 0x75},
                         Bytes{0x57, 0x03, 0xB1, 0x06, 0x80, 0x00, 0xBF, 0xFF, 0x74}}) {
        Form1->ChannelMask[1][6]->SetChecked(true);
        Form1->HandleReply(report);
        for (int d : {0, 1}) {
            EXPECT_TRUE(Form1->DeviceRunning[d]);
            EXPECT_TRUE(Form1->PanelLockBox[d]->Checked());
            EXPECT_TRUE(ShownOff(d, 0));
            EXPECT_TRUE(ShownOn(d, 1));
            for (int c = 2; c < 17; ++c)
                EXPECT_TRUE(ShownOff(d, c));
            for (int m = 0; m < 16; ++m) {
                EXPECT_EQ(Form1->ChannelMask[d][m]->Checked(), m == 1) << m;
                EXPECT_EQ(Form1->ChannelButton[d][m + 1]->Enabled(), m != 1) << m;
            }
        }
        EXPECT_FALSE(Form1->PendingFlag);  // setting a mask box from a reply queues nothing
    }

    // A panel with an empty ID never takes a reply, whatever its ID; nor a reply for an ID
    // no panel shows, nor a damaged one.
    Form1->PanelIdEdit[3]->SetText("");
    Form1->HandleReply(protocol::build_status_reply(0, {true, true, true}, {0xFFFF}));
    Form1->HandleReply(protocol::build_status_reply(9, {true, true, true}, {0xFFFF}));
    Form1->HandleReply(Bytes{0x55, 0x03, 0xA8, 0x01, 0x80, 0x01, 0x00, 0x2C});
    EXPECT_TRUE(ShownOff(3, 0));
    EXPECT_FALSE(Form1->DeviceRunning[3]);
    EXPECT_TRUE(ShownOff(0, 0));
}

TEST_F(RealtimeTest, AStateReportWhileARequestIsQueuedChangesNothing) {
    StartPage({"3", "", "", ""});
    SetLanguage(1);
    Click(Form1->PanelSeqOnButton[0]);
    Form1->Timer1->SetEnabled(true);
    Form1->StatusBar1->Panels(2).SetText("Status:");
    Form1->HandleReply(Bytes{0x57, 0x03, 0xB0, 0x06, 0x80, 0x00, 0xBF, 0xFF, 0x75});
    EXPECT_TRUE(Form1->Timer1->Enabled());
    EXPECT_EQ(Panel2(), "Status:");
    EXPECT_FALSE(Form1->DeviceRunning[0]);
    EXPECT_FALSE(Form1->ChannelMask[0][1]->Checked());
    // Once the queue has sent, the same report is taken.
    win::RunFor(50);
    Form1->HandleReply(Bytes{0x57, 0x03, 0xB0, 0x06, 0x80, 0x00, 0xBF, 0xFF, 0x75});
    EXPECT_TRUE(Form1->DeviceRunning[0]);
    EXPECT_FALSE(Form1->Timer1->Enabled());
    EXPECT_EQ(Panel2(), kSuccess);
}

}  // namespace
