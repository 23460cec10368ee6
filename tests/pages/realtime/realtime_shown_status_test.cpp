// A panel skips the controls that a status reply would not change; these tests make sure that
// whatever else writes to a panel, the device's next reply, even one identical to the last,
// puts the panel back to the device's state.

#include <gtest/gtest.h>

#include <array>
#include <functional>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include "forms/automation/harness.h"
#include "i18n/lang_text.h"
#include "pages/realtime/realtime_texts.h"
#include "protocol/replies.h"
#include "tests/pages/realtime/realtime_fixture.h"

namespace {

using realtime_test::Bytes;
using realtime_test::RealtimeTest;

// A device's state as a StateReport carries it.
struct DeviceState {
    protocol::StatusByte status;
    uint16_t channels = 0;  // bit 16 - c: CH c on
    uint16_t usable = 0;    // bit 16 - c: CH c usable (not masked)
};

// Device 3: LCD, CH1, CH4 and CH9 on, CH2 masked, neither locked nor running.
constexpr DeviceState kDevice3{{true, false, false}, 0x9080, 0xBFFF};

class ShownStatusTest : public RealtimeTest {
  protected:
    static Bytes Report(const DeviceState& s, uint8_t id = 3) {
        return protocol::build_state_report(id, 0xB0, s.status, {s.channels}, {s.usable});
    }
    static Bytes Status(const DeviceState& s, uint8_t id = 3) {
        return protocol::build_status_reply(id, s.status, {s.channels});
    }
    static void Apply(const DeviceState& s) { Form1->ApplyStatus(Report(s), true); }

    // Panel d shows the state whole, in the current language.
    static void ExpectShows(int d, const DeviceState& s, bool with_masks = true) {
        const int language = Form1->LanguageIndex;
        const std::string on_text(i18n::PickText(realtime::kChannelOnText, language));
        const std::string off_text(i18n::PickText(realtime::kChannelOffText, language));
        EXPECT_EQ(Form1->DeviceRunning[d], s.status.running);
        EXPECT_EQ(Form1->PanelLockBox[d]->Checked(), s.status.locked);
        for (int c = 0; c < 17; ++c) {
            const bool on = c == 0 ? s.status.lcd_on : (s.channels >> (16 - c)) & 1;
            EXPECT_EQ(Led(d, c), on ? realtime_test::kRed : realtime_test::kWhite)
                << "panel " << d << " channel " << c;
            EXPECT_EQ(Caption(d, c), on ? off_text : on_text) << "panel " << d << " channel " << c;
        }
        if (!with_masks)
            return;
        for (int m = 0; m < 16; ++m) {
            const bool usable = (s.usable >> (15 - m)) & 1;
            EXPECT_EQ(Form1->ChannelMask[d][m]->Checked(), !usable)
                << "panel " << d << " mask " << m;
            EXPECT_EQ(Form1->ChannelButton[d][m + 1]->Enabled(), usable)
                << "panel " << d << " mask " << m;
        }
    }

    // Lets a queued request go out (with its follow-up) and the queue fall quiet.
    static void Drain() { win::RunFor(60); }
};

TEST_F(ShownStatusTest, AnIdenticalReplyPutsThePanelBackAfterEveryOtherWriter) {
    StartPage({"3", "", "", ""});
    SetLanguage(1);
    const std::vector<std::pair<const char*, std::function<void()>>> writers = {
        {"a mask box clicked", [] { Toggle(Form1->ChannelMask[0][4]); }},
        {"a masked channel's box clicked", [] { Toggle(Form1->ChannelMask[0][1]); }},
        {"the mask request sent",
         [] {
             Toggle(Form1->ChannelMask[0][6]);
             Drain();
         }},
        {"the all-mask box clicked and its request sent",
         [] {
             Toggle(Form1->PanelMaskAll[0]);
             Drain();
         }},
        {"a channel switched on by its button",
         [] {
             Click(Form1->ChannelButton[0][3]);
             Drain();
         }},
        {"a lit channel switched off by its button",
         [] {
             Click(Form1->ChannelButton[0][0]);
             Drain();
         }},
        {"all channels on",
         [] {
             Click(Form1->PanelAllButton[0]);
             Drain();
         }},
        {"all channels of every device off",
         [] {
             Click(Form1->Bn_ch_clr);
             Drain();
         }},
        {"all channels of every device on",
         [] {
             Click(Form1->Bn_ch_all);
             Drain();
         }},
        {"the poller's reset of a panel without an ID",
         [] {
             Form1->PanelIdEdit[0]->SetText("");
             win::RunFor(400);
             Form1->PanelIdEdit[0]->SetText("3");
         }},
        {"the ID typed again",
         [] {
             const auto result =
                 forms::automation::RunScript(Form1, "type PanelIdEdit[0] 3\nclick Panel1\n");
             EXPECT_EQ(result.exit_code, 0) << result.report;
         }},
        {"a script's click and key",
         [] {
             const auto result = forms::automation::RunScript(
                 Form1, "click ChannelMask[0][9]\nwait 60\nfocus ChannelMask[0][1]\nkey Space\n");
             EXPECT_EQ(result.exit_code, 0) << result.report;
         }},
        {"code that sets the controls",
         [] {
             Form1->PanelLockBox[0]->SetChecked(true);
             Form1->ChannelLed[0][9]->SetBrushColor(realtime_test::kWhite);
             Form1->ChannelButton[0][5]->SetCaption("off");
             Form1->ChannelButton[0][2]->SetEnabled(true);
         }},
        {"a switch to Chinese", [] { SetLanguage(0); }},
        {"a switch back to English", [] { SetLanguage(1); }},
    };
    for (const auto& [what, write] : writers) {
        SCOPED_TRACE(what);
        Drain();
        Apply(kDevice3);
        Apply(kDevice3);
        write();
        Apply(kDevice3);
        ExpectShows(0, kDevice3);
        // The record taken again holds: a further identical reply changes nothing.
        Apply(kDevice3);
        ExpectShows(0, kDevice3);
    }
}

TEST_F(ShownStatusTest, PanelsOfOneDeviceFollowItTogetherAndOnlyPanelsWithItsId) {
    StartPage({"3", "3", "", "4"});
    SetLanguage(1);
    Apply(kDevice3);
    Apply(kDevice3);
    // One of the two panels written by another hand; both follow the next reply.
    Form1->ChannelLed[1][4]->SetBrushColor(realtime_test::kRed);
    Form1->ChannelMask[1][0]->SetChecked(true);
    Apply(kDevice3);
    ExpectShows(0, kDevice3);
    ExpectShows(1, kDevice3);
    // A change of the device reaches both, the held one and the rewritten one alike.
    const DeviceState changed{{false, true, true}, 0x0001, 0xFFFE};
    Apply(changed);
    ExpectShows(0, changed);
    ExpectShows(1, changed);
    // The panel with an empty ID and the one of device 4 take nothing, whatever the reply.
    EXPECT_TRUE(ShownOff(2, 0));
    EXPECT_TRUE(ShownOff(3, 0));
    Form1->HandleReply(Report(kDevice3, 0));
    Form1->HandleReply(Report(kDevice3, 4));
    EXPECT_TRUE(ShownOn(3, 0));
    EXPECT_TRUE(ShownOff(2, 0));
    EXPECT_FALSE(Form1->PanelLockBox[2]->Checked());
}

TEST_F(ShownStatusTest, AStatusReplyNeverStandsForTheMasks) {
    StartPage({"3", "", "", ""});
    SetLanguage(1);
    // A StatusReply first: the StateReport after it still shows the masks.
    Form1->HandleReply(Status(kDevice3));
    ExpectShows(0, kDevice3, false);
    EXPECT_FALSE(Form1->ChannelMask[0][1]->Checked());
    Form1->HandleReply(Report(kDevice3));
    ExpectShows(0, kDevice3);

    // A mask box clicked, then a StatusReply that rewrites the panel: the report after it
    // puts the box back.
    Toggle(Form1->ChannelMask[0][5]);
    Drain();
    Form1->HandleReply(Status(kDevice3));
    Form1->HandleReply(Report(kDevice3));
    ExpectShows(0, kDevice3);

    // A StatusReply of other channels between two reports with other masks.
    const DeviceState lit{{false, false, false}, 0x00FF, 0xBFFF};
    Form1->HandleReply(Status(lit));
    ExpectShows(0, lit);
    const DeviceState remasked{{false, false, false}, 0x00FF, 0x7FFF};
    Form1->HandleReply(Report(remasked));
    ExpectShows(0, remasked);
}

TEST_F(ShownStatusTest, AReportWhileARequestIsQueuedIsIgnoredAndTheSameReportLaterIsShown) {
    StartPage({"3", "", "", ""});
    SetLanguage(1);
    Form1->HandleReply(Report(kDevice3));
    Click(Form1->ChannelButton[0][3]);
    const DeviceState other{{true, true, true}, 0xFFFF, 0x0000};
    Form1->HandleReply(Report(other));
    ExpectShows(0, kDevice3);
    Drain();
    EXPECT_TRUE(ShownOn(0, 3));  // the follow-up trusts the device
    Form1->HandleReply(Report(kDevice3));
    ExpectShows(0, kDevice3);
}

TEST_F(ShownStatusTest, EveryReplyInAnyMixOfWritersAndRepliesLeavesItsPanelsShowingTheDevice) {
    // Panels 0 and 1 watch device 3, panel 2 device 4: the operator, the queue, the poller, the
    // language and the IDs change the panels in a seeded random order, with replies of both
    // devices (the same one often again) between them. Whatever came before, every panel that
    // shows the reporting device shows what it reported, and a StatusReply leaves the masks.
    StartPage({"3", "3", "4", ""});
    SetLanguage(1);
    std::mt19937 random(20261210);
    const auto pick = [&random](int n) { return static_cast<int>(random() % unsigned(n)); };
    std::array<DeviceState, 6> states{};
    for (DeviceState& s : states) {
        s.status = {pick(2) == 0, pick(4) == 0, pick(4) == 0};
        s.channels = static_cast<uint16_t>(random());
        s.usable = static_cast<uint16_t>(random() | random());
    }
    const std::array<const char*, 4> ids = {"3", "4", "", "x"};
    for (int step = 0; step < 1500; ++step) {
        SCOPED_TRACE("step " + std::to_string(step));
        const int d = pick(4);
        switch (pick(21)) {
            case 0:
                Toggle(Form1->ChannelMask[d][pick(16)]);
                break;
            case 1:
                Click(Form1->ChannelButton[d][pick(17)]);
                break;
            case 2:
                Click(Form1->PanelAllButton[d]);
                break;
            case 3:
                Toggle(Form1->PanelMaskAll[d]);
                break;
            case 4:
                Click(pick(2) ? Form1->PanelSeqOnButton[d] : Form1->PanelRevOffButton[d]);
                break;
            case 5:
                Click(pick(2) ? Form1->Bn_ch_all : Form1->Bn_ch_clr);
                break;
            case 6:
                SetLanguage(pick(3));
                break;
            case 7:
                Form1->PanelIdEdit[d]->SetText(ids[pick(4)]);
                break;
            case 8:
                win::RunFor(10 * (1 + pick(50)));
                break;
            case 9:
                Form1->PageControl1->SetActivePage(pick(2) ? Form1->TabSheet3 : Form1->TabSheet1);
                break;
            case 10:
                Form1->ChannelLed[d][pick(17)]->SetBrushColor(pick(2) ? realtime_test::kRed
                                                                      : realtime_test::kWhite);
                break;
            case 11:
                Form1->ChannelMask[d][pick(16)]->SetChecked(pick(2));
                break;
            case 12:
                Form1->ChannelButton[d][pick(17)]->SetEnabled(pick(2));
                break;
            case 13:
                Form1->ChannelButton[d][pick(17)]->SetCaption(pick(2) ? "on" : "off");
                break;
            case 14:
                Form1->PanelLockBox[d]->SetChecked(pick(2));
                break;
            default: {
                const uint8_t id = pick(2) ? 3 : 4;
                const DeviceState& s = states[pick(6)];
                if (pick(2) && !Form1->PendingFlag) {
                    Form1->HandleReply(Report(s, id));
                    for (int p = 0; p < 4; ++p) {
                        if (Form1->PanelDeviceId(p) == id)
                            ExpectShows(p, s);
                    }
                    break;
                }
                std::array<std::array<bool, 16>, 4> masks{};
                std::array<std::array<bool, 16>, 4> enabled{};
                for (int p = 0; p < 4; ++p) {
                    for (int m = 0; m < 16; ++m) {
                        masks[p][m] = Form1->ChannelMask[p][m]->Checked();
                        enabled[p][m] = Form1->ChannelButton[p][m + 1]->Enabled();
                    }
                }
                Form1->HandleReply(Status(s, id));
                for (int p = 0; p < 4; ++p) {
                    if (Form1->PanelDeviceId(p) != id)
                        continue;
                    ExpectShows(p, s, false);
                    for (int m = 0; m < 16; ++m) {
                        EXPECT_EQ(Form1->ChannelMask[p][m]->Checked(), masks[p][m])
                            << "panel " << p << " mask " << m;
                        EXPECT_EQ(Form1->ChannelButton[p][m + 1]->Enabled(), enabled[p][m])
                            << "panel " << p << " mask " << m;
                    }
                }
                break;
            }
        }
        if (HasFailure())
            return;
    }
}

}  // namespace
