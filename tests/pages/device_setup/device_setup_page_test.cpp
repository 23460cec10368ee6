// The Device Setup page driven as an operator drives it, with every frame it sends caught by a
// loopback endpoint that plays the device.

#include <gtest/gtest.h>

#include "forms/date_time_picker.h"
#include "forms/label.h"
#include "forms/panel.h"
#include "protocol/replies.h"
#include "settings/settings_file.h"
#include "tests/pages/device_setup/device_setup_fixture.h"

namespace {

using device_setup_test::Bytes;
using device_setup_test::DeviceSetupTest;

constexpr const char* kIdError = "Error|please input a valid ID, range: 1-255\n";
constexpr const char* kDelayText =
    "please input a valid ID, from 0.5 second to 60 minute, and should be a multiple of 0.5";

struct Placement {
    const char* name;
    int left, top, width, height;
};

TEST_F(DeviceSetupTest, PageStandsAsDesigned) {
    StartPage();
    const Placement placements[] = {
        {"Bn_read_id", 14, 7, 52, 34},
        {"Label14", 69, 13, 50, 25},
        {"Ed_read_id", 117, 10, 41, 28},
        {"Bn_write_id", 163, 7, 52, 34},
        {"Label4", 220, 13, 58, 25},
        {"Ed_write_id", 277, 10, 41, 28},
        {"Label1", 332, 16, 290, 25},
        {"GroupBox1", 11, 47, 1214, 490},
        {"Label6", 21, 35, 34, 25},
        {"Ed_conn_id", 61, 32, 41, 28},
        {"Bn_connect", 108, 31, 88, 29},
        {"GroupBox_dly_setup", 3, 72, 1208, 345},
        {"Bn_default", 996, 305, 88, 33},
        {"Bn_app", 1106, 305, 89, 33},
        {"GroupBox5", 3, 416, 1208, 64},
        {"CheckBox17", 17, 25, 81, 25},
        {"Label3", 100, 29, 56, 20},
        {"Cb_ch", 155, 25, 60, 24},
        {"Label2", 221, 29, 194, 20},
        {"CB_lock", 442, 25, 79, 25},
        {"Button3", 1106, 20, 89, 33},
        {"Button1", 1124, 19, 75, 25},
        {"Button2", 1124, 50, 75, 25},
        {"CB_Opentime", 832, 20, 108, 24},
        {"DateTimePicker1", 946, 20, 91, 24},
        {"DateTimePicker2", 1043, 20, 75, 24},
        {"CB_Closetime", 832, 50, 108, 24},
        {"DateTimePicker3", 946, 50, 91, 24},
        {"DateTimePicker4", 1043, 50, 75, 24},
    };
    for (const Placement& p : placements) {
        auto* c = dynamic_cast<forms::TControl*>(Form1->FindComponent(p.name));
        ASSERT_NE(c, nullptr) << p.name;
        EXPECT_EQ(c->BoundsRect(), gdi::Rect::from_xywh(p.left, p.top, p.width, p.height))
            << p.name;
    }
    EXPECT_EQ(Form1->Panel_setup->Parent(), Form1->TabSheet2);
    EXPECT_EQ(Form1->Button1->Parent(), Form1->GroupBox1);
    EXPECT_EQ(Form1->Button3->Parent(), Form1->GroupBox5);
    EXPECT_EQ(Form1->Ed_conn_id->MaxLength(), 3);

    // Two groups of two rows: LCD to CH8, then CH9 (under LCD) to CH16, whose two-digit labels
    // start 10 pixels further left.
    for (int k = 0; k < 2; ++k) {
        EXPECT_EQ(Form1->DelayGroup[k]->BoundsRect(),
                  gdi::Rect::from_xywh(4, 28 + 132 * k, 1200, 126));
        EXPECT_EQ(Form1->DelayGroup[k]->Parent(), Form1->GroupBox_dly_setup);
        for (int b = 0; b < 17; ++b) {
            const int col = b < 9 ? b : b - 9;
            const int y = b < 9 ? 0 : 48;
            EXPECT_EQ(Form1->DelayLabel[k][b]->BoundsRect(),
                      gdi::Rect::from_xywh(134 * col + (b <= 9 ? 10 : 0), y + 35, 46, 20))
                << k << "," << b;
            EXPECT_EQ(Form1->DelayEdit[k][b]->BoundsRect(),
                      gdi::Rect::from_xywh(134 * col + 50, y + 32, 42, 28));
            EXPECT_EQ(Form1->DelayMinutes[k][b]->BoundsRect(),
                      gdi::Rect::from_xywh(134 * col + 95, y + 29, 39, 33));
            EXPECT_EQ(Form1->DelayEdit[k][b]->MaxLength(), 4);
            EXPECT_EQ(Form1->DelayEdit[k][b]->Text(), "");
            EXPECT_FALSE(Form1->DelayMinutes[k][b]->Checked());
        }
    }
    EXPECT_EQ(Form1->DelayLabel[0][0]->Caption(), "LCD:");
    EXPECT_EQ(Form1->DelayLabel[1][16]->Caption(), "CH16:");
    EXPECT_EQ(Form1->DelayLabel[0][9]->Left(), Form1->DelayLabel[0][0]->Left());
    EXPECT_EQ(Form1->DelayLabel[0][10]->Left(), 134);
    EXPECT_EQ(Form1->DelayLabel[0][0]->Font().Size(), 12);

    // The two groups first, then the two buttons.
    const std::vector<forms::TWinControl*> tab_order = {Form1->DelayGroup[0], Form1->DelayGroup[1],
                                                        Form1->Bn_default, Form1->Bn_app};
    EXPECT_EQ(Form1->GroupBox_dly_setup->TabList(), tab_order);

    // The option strip at start: cascade on with its controls enabled, LCD, the lock clear and
    // disabled; both alarms disarmed.
    EXPECT_TRUE(Form1->CheckBox17->Checked());
    EXPECT_TRUE(Form1->Cb_ch->Enabled());
    EXPECT_TRUE(Form1->Label2->Enabled());
    EXPECT_TRUE(Form1->Button3->Enabled());
    EXPECT_EQ(Form1->Cb_ch->ItemIndex(), 0);
    EXPECT_EQ(Form1->Cb_ch->Items().Count(), 17);
    EXPECT_EQ(Form1->Cb_ch->Items()[16], "CH16");
    EXPECT_FALSE(Form1->CB_lock->Checked());
    EXPECT_FALSE(Form1->CB_lock->Enabled());
    EXPECT_FALSE(Form1->CB_Opentime->Checked());
    EXPECT_FALSE(Form1->CB_Closetime->Checked());
    EXPECT_EQ(Form1->DateTimePicker2->Kind(), forms::TDateTimeKind::dtkTime);
}

TEST_F(DeviceSetupTest, IdStripReadsAndWritesTheIdOfTheOneDevice) {
    StartPage();
    Click(Form1->Bn_read_id);
    EXPECT_EQ(OneFrame(), Wire({0x00, 0xAB, 0x00, 0x00}));

    // The current ID may be 0; the new one must be 1 to 255.
    Form1->Ed_read_id->SetText("0");
    Form1->Ed_write_id->SetText("5");
    Click(Form1->Bn_write_id);
    EXPECT_EQ(OneFrame(), Wire({0x00, 0xAA, 0x00, 0x05}));
    Form1->Ed_read_id->SetText("255");
    Form1->Ed_write_id->SetText("255");
    Click(Form1->Bn_write_id);
    EXPECT_EQ(OneFrame(), Wire({0xFF, 0xAA, 0x00, 0xFF}));
    EXPECT_EQ(BoxTexts(), "");

    // Refused: a new ID of 0 or 256, a current ID that is empty, negative or no number.
    const std::pair<const char*, const char*> refused[] = {
        {"0", "0"}, {"12", "256"}, {"", "5"}, {"-1", "5"}, {"1a", "5"}, {"7", ""}, {"7", " "}};
    for (const auto& [current, wanted] : refused) {
        Form1->Ed_read_id->SetText(current);
        Form1->Ed_write_id->SetText(wanted);
        Click(Form1->Bn_write_id);
    }
    EXPECT_TRUE(Frames().empty());
    std::string expected;
    for (size_t i = 0; i < std::size(refused); ++i)
        expected += kIdError;
    EXPECT_EQ(BoxTexts(), expected);
    EXPECT_EQ(Form1->Ed_write_id->Text(), " ");
}

TEST_F(DeviceSetupTest, ReadDeviceChecksTheWorkingId) {
    StartPage();
    TypeInto(Form1->Ed_conn_id, "3");
    Click(Form1->Bn_connect);
    EXPECT_EQ(OneFrame(), Wire({0x03, 0xA9, 0x00, 0x00}));
    Form1->Ed_conn_id->SetText("255");
    Click(Form1->Bn_connect);
    EXPECT_EQ(OneFrame(), Wire({0xFF, 0xA9, 0x00, 0x00}));

    for (const char* text : {"", "0", "256", "abc", "中", "3.", "+"}) {
        Form1->Ed_conn_id->SetText(text);
        Click(Form1->Bn_connect);
    }
    EXPECT_TRUE(Frames().empty());
    EXPECT_EQ(SeenBoxes().size(), 7u);
    // In Chinese the box speaks Chinese; any language index but 0 and 2 speaks English.
    Form1->LanguageIndex = 0;
    Click(Form1->Bn_connect);
    Form1->LanguageIndex = 7;
    Click(Form1->Bn_connect);
    ASSERT_EQ(SeenBoxes().size(), 9u);
    EXPECT_EQ(SeenBoxes()[7].caption, "错误");
    EXPECT_EQ(SeenBoxes()[7].text, "请输入正确的ID值,范围为1-255");
    EXPECT_EQ(SeenBoxes()[8].caption, "Error");
}

TEST_F(DeviceSetupTest, WorkingIdIsStoredWhenTheEditLosesTheFocus) {
    StartPage();
    const size_t offset = settings::SettingsFile::SavedIds(0);
    TypeInto(Form1->Ed_conn_id, "abc");
    Form1->Bn_connect->SetFocus();
    win::PumpPending();
    EXPECT_EQ(Int32At(FileBytes(), offset), 0);

    TypeInto(Form1->Ed_conn_id, "255");
    Form1->Ed_read_id->SetFocus();
    win::PumpPending();
    EXPECT_EQ(Int32At(FileBytes(), offset), 255);
    RestartWindow();
    EXPECT_EQ(Form1->Ed_conn_id->Text(), "");

    Form1->PageControl1->SetActivePage(Form1->TabSheet2);
    TypeInto(Form1->Ed_conn_id, "254");
    Form1->Ed_read_id->SetFocus();
    win::PumpPending();
    RestartWindow();
    EXPECT_EQ(Form1->Ed_conn_id->Text(), "254");

    // A locked file keeps nothing and says nothing.
    std::filesystem::permissions(SettingsFile(), std::filesystem::perms::owner_read);
    Form1->PageControl1->SetActivePage(Form1->TabSheet2);
    TypeInto(Form1->Ed_conn_id, "9");
    Form1->Ed_read_id->SetFocus();
    win::PumpPending();
    EXPECT_EQ(Int32At(FileBytes(), offset), 254);
}

class DelayGridTest : public DeviceSetupTest {
  protected:
    void FillAll(const std::string& text, bool minutes = false) {
        for (int k = 0; k < 2; ++k) {
            for (int b = 0; b < 17; ++b) {
                Form1->DelayEdit[k][b]->SetText(text);
                Form1->DelayMinutes[k][b]->SetChecked(minutes);
            }
        }
    }
    static Bytes DelaysFrame(uint8_t id, uint8_t on, uint8_t off) {
        Bytes payload = {id, 0xA7};
        payload.insert(payload.end(), 17, on);
        payload.insert(payload.end(), 17, off);
        return protocol::build_frame(payload);
    }
};

TEST_F(DelayGridTest, ApplySendsTheEncodedDelays) {
    StartPage();
    Form1->Ed_conn_id->SetText("1");
    FillAll("0.5");
    Click(Form1->Bn_app);
    EXPECT_EQ(OneFrame(), DelaysFrame(1, 0x01, 0x01));

    FillAll("0");
    Click(Form1->Bn_app);
    const Bytes zeros = OneFrame();
    ASSERT_EQ(zeros.size(), 38u);
    EXPECT_EQ(zeros.back(), 0xA6);

    // Each cell with its own unit box: 60 minutes F8, 0.5 minutes 81, 1.2 seconds 02, 60.4
    // seconds 78 (truncated, never rounded), 0.7 seconds 01.
    FillAll("2.5");
    Form1->DelayEdit[0][0]->SetText("60");
    Form1->DelayMinutes[0][0]->SetChecked(true);
    Form1->DelayEdit[0][16]->SetText("0.5");
    Form1->DelayMinutes[0][16]->SetChecked(true);
    Form1->DelayEdit[1][0]->SetText("1.2");
    Form1->DelayEdit[1][1]->SetText("60.4");
    Form1->DelayEdit[1][16]->SetText(".7");
    Click(Form1->Bn_app);
    const Bytes mixed = OneFrame();
    ASSERT_EQ(mixed.size(), 38u);
    EXPECT_EQ(mixed[3], 0xF8);
    EXPECT_EQ(mixed[4], 0x05);
    EXPECT_EQ(mixed[19], 0x81);
    EXPECT_EQ(mixed[20], 0x02);
    EXPECT_EQ(mixed[21], 0x78);
    EXPECT_EQ(mixed[36], 0x01);
    EXPECT_EQ(BoxTexts(), "");
}

TEST_F(DelayGridTest, AnyBadCellRefusesTheWholeGrid) {
    StartPage();
    Form1->Ed_conn_id->SetText("2");
    const char* bad[] = {"1.5.", "1,5", "1 5",  " 1",  "-1",  "+1", "",  ".",
                         "..",   "99",  "60.5", "1e1", "0x1", "中", "a", "６"};
    size_t boxes = 0;
    for (const char* text : bad) {
        for (int k = 0; k < 2; ++k) {
            FillAll("1");
            Form1->DelayEdit[k][16]->SetText(text);
            Click(Form1->Bn_app);
            ++boxes;
            ASSERT_EQ(SeenBoxes().size(), boxes) << text;
            EXPECT_EQ(SeenBoxes().back().text, kDelayText) << text;
            // Nothing else changed.
            EXPECT_EQ(Form1->DelayEdit[k][16]->Text(), text);
            EXPECT_EQ(Form1->DelayEdit[k][0]->Text(), "1");
        }
    }
    // A very long paste is cut to the edit's four characters and then checked like any text.
    FillAll("1");
    Form1->DelayEdit[0][3]->SetText(std::string(5000, '9'));
    EXPECT_EQ(Form1->DelayEdit[0][3]->Text(), "9999");
    Click(Form1->Bn_app);
    EXPECT_EQ(SeenBoxes().size(), boxes + 1);
    EXPECT_TRUE(Frames().empty());

    // The ID is checked before any cell.
    Form1->Ed_conn_id->SetText("");
    Click(Form1->Bn_app);
    EXPECT_EQ(SeenBoxes().back().text, "please input a valid ID, range: 1-255");
    EXPECT_TRUE(Frames().empty());
}

TEST_F(DelayGridTest, DefaultsAskFirstAndThenApplyAsFactoryValues) {
    StartPage();
    Form1->Ed_conn_id->SetText("4");
    FillAll("7", true);
    // Cancel keeps the grid.
    win::SetIdleScript([] {
        if (forms::OpenMessageBoxes().empty())
            return false;
        win::InjectKey(win::VK_ESCAPE, true);
        win::InjectKey(win::VK_ESCAPE, false);
        return true;
    });
    Click(Form1->Bn_default);
    EXPECT_EQ(Form1->DelayEdit[0][5]->Text(), "7");
    EXPECT_TRUE(Form1->DelayMinutes[1][5]->Checked());

    AnswerBoxes();
    Form1->LanguageIndex = 1;
    Click(Form1->Bn_default);
    ASSERT_EQ(SeenBoxes().size(), 1u);
    EXPECT_EQ(SeenBoxes()[0].caption, "Attention");
    EXPECT_EQ(SeenBoxes()[0].text, "Are you sure restore the default value?");
    EXPECT_TRUE(Frames().empty());
    for (int b = 0; b < 17; ++b) {
        EXPECT_EQ(Form1->DelayEdit[0][b]->Text(), "0.5");
        EXPECT_EQ(Form1->DelayEdit[1][b]->Text(), "1");
        EXPECT_FALSE(Form1->DelayMinutes[0][b]->Checked());
        EXPECT_EQ(Form1->DelayMinutes[1][b]->Caption(), "M");
    }
    Click(Form1->Bn_app);
    EXPECT_EQ(OneFrame(), DelaysFrame(4, 0x01, 0x02));

    // The ID is checked even though nothing would be sent.
    Form1->Ed_conn_id->SetText("x");
    Click(Form1->Bn_default);
    EXPECT_EQ(SeenBoxes().back().text, "please input a valid ID, range: 1-255");
}

TEST_F(DeviceSetupTest, CascadeStartChannelAndPowerButtons) {
    StartPage();
    Form1->Ed_conn_id->SetText("3");
    Form1->Cb_ch->SetItemIndex(5);
    Toggle(Form1->CheckBox17);
    EXPECT_FALSE(Form1->CheckBox17->Checked());
    EXPECT_EQ(OneFrame(), Wire({0x03, 0xA6, 0x05, 0x05}));
    EXPECT_FALSE(Form1->Cb_ch->Enabled());
    EXPECT_FALSE(Form1->Label3->Enabled());
    EXPECT_FALSE(Form1->Label2->Enabled());
    EXPECT_FALSE(Form1->Button3->Enabled());

    // The power buttons work whatever the cascade, with the start channel as it stands.
    Click(Form1->Button1);
    EXPECT_EQ(OneFrame(), Wire({0x03, 0xA6, 0x08, 0x05}));
    Click(Form1->Button2);
    EXPECT_EQ(OneFrame(), Wire({0x03, 0xA6, 0x09, 0x05}));

    Toggle(Form1->CheckBox17);
    EXPECT_EQ(OneFrame(), Wire({0x03, 0xA6, 0x02, 0x05}));
    EXPECT_TRUE(Form1->Cb_ch->Enabled());
    EXPECT_TRUE(Form1->Button3->Enabled());
    Click(Form1->Button3);
    EXPECT_EQ(OneFrame(), Wire({0x03, 0xA6, 0x07, 0x05}));

    // The operator picks CH16 from the list.
    Form1->Cb_ch->SetFocus();
    win::PumpPending();
    PressKey(win::VK_F4);
    PressKey(win::VK_END);
    PressKey(win::VK_RETURN);
    EXPECT_EQ(Form1->Cb_ch->ItemIndex(), 16);
    EXPECT_EQ(OneFrame(), Wire({0x03, 0xA6, 0x02, 0x10}));

    // A typed start channel that names no item goes out as FF, on every change of the text.
    TypeInto(Form1->Cb_ch, "x");
    EXPECT_EQ(Form1->Cb_ch->ItemIndex(), -1);
    const auto typed = Frames();
    ASSERT_FALSE(typed.empty());
    EXPECT_EQ(typed.back(), Wire({0x03, 0xA6, 0x02, 0xFF}));
    Click(Form1->Button1);
    EXPECT_EQ(OneFrame(), Wire({0x03, 0xA6, 0x08, 0xFF}));
    EXPECT_EQ(BoxTexts(), "");
}

TEST_F(DeviceSetupTest, ARefusedCascadeClickKeepsTheBoxAsClicked) {
    StartPage();
    Form1->Ed_conn_id->SetText("300");
    Toggle(Form1->CheckBox17);
    EXPECT_FALSE(Form1->CheckBox17->Checked());
    EXPECT_TRUE(Form1->Cb_ch->Enabled());
    EXPECT_TRUE(Form1->Button3->Enabled());
    for (forms::TControl* button : {static_cast<forms::TControl*>(Form1->Button1),
                                    static_cast<forms::TControl*>(Form1->Button2),
                                    static_cast<forms::TControl*>(Form1->Button3)})
        Click(button);
    EXPECT_TRUE(Frames().empty());
    EXPECT_EQ(BoxTexts(), std::string(kIdError) + kIdError + kIdError + kIdError);
    // The lock box cannot be clicked at all.
    Form1->Ed_conn_id->SetText("3");
    Toggle(Form1->CB_lock);
    EXPECT_FALSE(Form1->CB_lock->Checked());
    EXPECT_TRUE(Frames().empty());
}

class SettingsReplyTest : public DeviceSetupTest {
  protected:
    static Bytes Reply(uint8_t id, uint8_t on, uint8_t off, uint8_t cascade, uint8_t start,
                       uint8_t lock) {
        protocol::SettingsReply r;
        r.device_id = id;
        r.on_delays.fill(on);
        r.off_delays.fill(off);
        r.cascade = cascade;
        r.start_channel = start;
        r.lock = lock;
        return protocol::build_settings_reply(r);
    }
};

TEST_F(SettingsReplyTest, AReplyFillsThePageAndSendsNothing) {
    StartPage();
    Form1->Ed_conn_id->SetText("3");
    const Bytes reply = Reply(3, 0x05, 0x81, 0x02, 0x05, 0xAA);
    ASSERT_EQ(reply.back(), 0x8D);
    Form1->HandleReply(reply);
    for (int b = 0; b < 17; ++b) {
        EXPECT_EQ(Form1->DelayEdit[0][b]->Text(), "2.5");
        EXPECT_FALSE(Form1->DelayMinutes[0][b]->Checked());
        EXPECT_EQ(Form1->DelayEdit[1][b]->Text(), "0.5");
        EXPECT_TRUE(Form1->DelayMinutes[1][b]->Checked());
    }
    EXPECT_TRUE(Form1->CheckBox17->Checked());
    EXPECT_EQ(Form1->Cb_ch->Text(), "CH5");
    EXPECT_TRUE(Form1->Label2->Enabled());
    EXPECT_TRUE(Form1->Button3->Enabled());
    EXPECT_TRUE(Form1->CB_lock->Checked());

    // Cascade off disables and keeps the selection, whatever the start byte says.
    Form1->HandleReply(Reply(3, 0x80, 0x78, 0x05, 0x09, 0x55));
    EXPECT_EQ(Form1->DelayEdit[0][7]->Text(), "0");
    EXPECT_TRUE(Form1->DelayMinutes[0][7]->Checked());
    EXPECT_EQ(Form1->DelayEdit[1][7]->Text(), "60");
    EXPECT_FALSE(Form1->DelayMinutes[1][7]->Checked());
    EXPECT_FALSE(Form1->CheckBox17->Checked());
    EXPECT_FALSE(Form1->Cb_ch->Enabled());
    EXPECT_FALSE(Form1->Label3->Enabled());
    EXPECT_FALSE(Form1->Button3->Enabled());
    EXPECT_EQ(Form1->Cb_ch->ItemIndex(), 5);
    EXPECT_FALSE(Form1->CB_lock->Checked());

    // A start channel above 16 selects LCD; a lock byte other than 55 counts as locked.
    Form1->HandleReply(Reply(3, 0x01, 0x01, 0x02, 0x20, 0x00));
    EXPECT_EQ(Form1->DelayEdit[0][0]->Text(), "0.5");
    EXPECT_TRUE(Form1->Cb_ch->Enabled());
    EXPECT_EQ(Form1->Cb_ch->ItemIndex(), 0);
    EXPECT_TRUE(Form1->CB_lock->Checked());
    EXPECT_TRUE(Frames().empty());
}

TEST_F(SettingsReplyTest, AReplyForAnotherDeviceOrDamagedChangesNothing) {
    StartPage();
    Form1->Ed_conn_id->SetText("4");
    Form1->HandleReply(Reply(3, 0x05, 0x81, 0x05, 0x05, 0xAA));
    Form1->Ed_conn_id->SetText("");
    Form1->HandleReply(Reply(3, 0x05, 0x81, 0x05, 0x05, 0xAA));
    Form1->Ed_conn_id->SetText("3");
    Bytes damaged = Reply(3, 0x05, 0x81, 0x05, 0x05, 0xAA);
    damaged[10] ^= 0x01;
    Form1->HandleReply(damaged);
    EXPECT_EQ(Form1->DelayEdit[0][0]->Text(), "");
    EXPECT_TRUE(Form1->CheckBox17->Checked());
    EXPECT_FALSE(Form1->CB_lock->Checked());
    // Even a reply handed straight to the page is checked again before it is applied.
    Form1->ApplySettingsReply(damaged);
    Form1->ApplySettingsReply(Bytes(7, 0x56));
    EXPECT_EQ(Form1->DelayEdit[0][0]->Text(), "");
}

}  // namespace

// The working ID is read by the one conversion of the program: "$A" and "010" both name
// device 10, for asking it, for storing it and for taking its reply.
TEST_F(SettingsReplyTest, HexAndLeadingZeroIdsNameTheSameDevice) {
    StartPage();
    const size_t offset = settings::SettingsFile::SavedIds(0);
    TypeInto(Form1->Ed_conn_id, "$A");
    Click(Form1->Bn_connect);
    EXPECT_EQ(OneFrame(), Bytes({0x55, 0x0A, 0xA9, 0x00, 0x00, 0xA3}));
    EXPECT_EQ(BoxTexts(), "");
    Form1->Ed_read_id->SetFocus();
    win::PumpPending();
    EXPECT_EQ(Int32At(FileBytes(), offset), 10);

    Form1->HandleReply(Reply(10, 0x05, 0x81, 0x02, 0x05, 0xAA));
    EXPECT_EQ(Form1->DelayEdit[0][0]->Text(), "2.5");
    EXPECT_TRUE(Form1->CB_lock->Checked());

    TypeInto(Form1->Ed_conn_id, "010");
    Click(Form1->Bn_connect);
    EXPECT_EQ(OneFrame(), Wire({0x0A, 0xA9, 0x00, 0x00}));
    Form1->HandleReply(Reply(10, 0x01, 0x01, 0x02, 0x05, 0x55));
    EXPECT_EQ(Form1->DelayEdit[0][0]->Text(), "0.5");

    // Hexadecimal outside the range, or with no digits, is refused like any other bad ID.
    TypeInto(Form1->Ed_conn_id, "$0");
    Click(Form1->Bn_connect);
    TypeInto(Form1->Ed_conn_id, "$");
    Click(Form1->Bn_connect);
    EXPECT_TRUE(Frames().empty());
    EXPECT_EQ(BoxTexts(), std::string(kIdError) + kIdError);
}
