// The poller asks each panel's device by the ID its edit holds: whatever changed the edit's text
// last (the program, the operator's typing and editing commands, a script, the stored IDs at
// start-up), the next poll goes to the ID the text reads as, or resets the panel when the text
// holds none.

#include <gtest/gtest.h>

#include "forms/automation/harness.h"
#include "forms/page_control.h"
#include "platform/win/clipboard.h"
#include "tests/pages/realtime/realtime_fixture.h"

namespace {

using realtime_test::Bytes;
using realtime_test::RealtimeTest;

class PanelIdTest : public RealtimeTest {
  protected:
    // The next polling tick begins at panel 0; with the other three edits empty it either
    // polls panel 0's device or resets panels 0 to 2 and sends nothing. `id` is what the text
    // must read as, 0 for none. CH5 of panel 0 is shown on first, so a reset shows (its indicator
    // turns white).
    void ExpectNextPollTo(uint8_t id, const std::string& why) {
        SCOPED_TRACE(why + ": \"" + Form1->PanelIdEdit[0]->Text() + "\"");
        Form1->ShowChannel(0, 5, true);
        Form1->PollPanel = 3;
        win::RunFor(100);
        const auto frames = Frames();
        if (id != 0) {
            EXPECT_EQ(frames, std::vector<Bytes>{Poll(id)});
            EXPECT_EQ(Led(0, 5), realtime_test::kRed);
            EXPECT_EQ(Form1->PanelDeviceId(0), id);
        } else {
            EXPECT_TRUE(frames.empty());
            EXPECT_EQ(Led(0, 5), realtime_test::kWhite);
            EXPECT_EQ(Form1->PanelDeviceId(0), std::nullopt);
        }
    }

    void Focus(forms::TWinControl* control) {
        control->SetFocus();
        win::PumpPending();
    }
};

TEST_F(PanelIdTest, TextsSetByTheProgramAreReadAsTheCheckReadsThem) {
    StartPage();
    SetLanguage(1);
    const std::pair<const char*, uint8_t> cases[] = {
        {"5", 5},   {"", 0},   {"0", 0},    {"255", 255}, {" 7", 7},  {"abc", 0}, {"12x", 0},
        {"256", 0}, {"-1", 0}, {"$0A", 10}, {"1", 1},     {"007", 7}, {"+9", 9},  {"1 ", 0},
    };
    for (const auto& [text, id] : cases) {
        Form1->PanelIdEdit[0]->SetText(text);
        ExpectNextPollTo(id, "SetText");
    }
    // The edit holds at most three characters: a longer text is cut before it is read.
    Form1->PanelIdEdit[0]->SetText("2345");
    EXPECT_EQ(Form1->PanelIdEdit[0]->Text(), "234");
    ExpectNextPollTo(234, "cut to three characters");
    Form1->PanelIdEdit[0]->SetCaption("17");
    ExpectNextPollTo(17, "SetCaption");
}

TEST_F(PanelIdTest, TheOperatorsTypingAndEditingCommandsTakeEffectAtTheNextPoll) {
    StartPage();
    SetLanguage(1);
    auto* edit = Form1->PanelIdEdit[0];
    Focus(edit);
    win::InjectText("12");
    win::PumpPending();
    ExpectNextPollTo(12, "typed");
    PressKey(win::VK_BACK);
    ExpectNextPollTo(1, "one character rubbed out");
    win::InjectText("x");
    win::PumpPending();
    ExpectNextPollTo(0, "a letter typed after it");

    // Leaving the edit stores the text and changes nothing the poller reads.
    PressKey(win::VK_BACK);
    Focus(Form1->PanelIdEdit[1]);
    ExpectNextPollTo(1, "after the edit was left");

    Focus(edit);
    edit->DoEditCommand(forms::EditCommand::SelectAll);
    edit->DoEditCommand(forms::EditCommand::Cut);
    ExpectNextPollTo(0, "cut");
    edit->DoEditCommand(forms::EditCommand::Undo);
    ExpectNextPollTo(1, "cut undone");
    ASSERT_TRUE(win::SetClipboardText("99"));
    edit->DoEditCommand(forms::EditCommand::SelectAll);
    edit->DoEditCommand(forms::EditCommand::Paste);
    ExpectNextPollTo(99, "pasted");
    edit->DoEditCommand(forms::EditCommand::SelectAll);
    edit->DoEditCommand(forms::EditCommand::Delete);
    ExpectNextPollTo(0, "deleted");

    // A language switch rewrites the panels' captions, not their IDs.
    edit->SetText("3");
    for (int language : {0, 2, 1}) {
        SetLanguage(language);
        ExpectNextPollTo(3, "after a language switch");
    }
}

TEST_F(PanelIdTest, ScriptsTypingIntoAnIdEditTakeEffectAtTheNextPoll) {
    StartPage();
    SetLanguage(1);
    const std::pair<const char*, uint8_t> cases[] = {{"8", 8}, {"12x", 0}, {"255", 255}, {"0", 0}};
    for (const auto& [text, id] : cases) {
        const auto result = forms::automation::RunScript(
            Form1, std::string("type PanelIdEdit[0] ") + text + "\nclick Panel1\n");
        ASSERT_EQ(result.exit_code, 0) << result.report;
        ExpectNextPollTo(id, "typed by a script");
    }
}

TEST_F(PanelIdTest, StoredIdsShownAtStartUpArePolled) {
    WriteStoredPanelIds({7, 254, 255, 0});
    StartLinkWindow();
    EXPECT_EQ(Form1->PanelDeviceId(0), 7);
    EXPECT_EQ(Form1->PanelDeviceId(1), 254);
    EXPECT_EQ(Form1->PanelDeviceId(2), std::nullopt);  // 255 is not shown at start-up
    EXPECT_EQ(Form1->PanelDeviceId(3), std::nullopt);

    ConnectTcp(device_.port());
    ASSERT_TRUE(device_.Accept());
    Form1->PageControl1->SetActivePage(Form1->TabSheet3);
    win::PumpPending();
    Frames(20);
    // From panel 0 on: 7, then 254 (panels 2 and 3 have none), then 7 again.
    Form1->PollPanel = 3;
    std::vector<Bytes> polls;
    for (int i = 0; i < 3; ++i) {
        win::RunFor(100);
        for (const Bytes& f : Frames())
            polls.push_back(f);
    }
    EXPECT_EQ(polls, (std::vector<Bytes>{Poll(7), Poll(254), Poll(7)}));

    // A window made anew takes its IDs from the file again, into its own panels.
    Form1->PanelIdEdit[0]->SetText("9");
    RestartWindow();
    EXPECT_EQ(Form1->PanelDeviceId(0), 7);
    EXPECT_EQ(Form1->PanelDeviceId(1), 254);
}

}  // namespace
