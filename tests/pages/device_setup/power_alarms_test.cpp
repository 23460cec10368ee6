// The two one-shot alarms on the manual clock: armed, due during one second, sent on every
// 200 ms tick of it, stored on every picker change.

#include <gtest/gtest.h>

#include <algorithm>
#include <tuple>

#include "forms/date_time_picker.h"
#include "forms/message_box.h"
#include "platform/win/message.h"
#include "settings/settings_file.h"
#include "tests/pages/device_setup/device_setup_fixture.h"

namespace {

using device_setup_test::Bytes;
using device_setup_test::DeviceSetupTest;

class PowerAlarmTest : public DeviceSetupTest {
  protected:
    // Sets an alarm's pickers from code (which stores nothing) and arms it.
    static void Arm(forms::TCheckBox* box, forms::TDateTimePicker* date,
                    forms::TDateTimePicker* time, clk::LocalTime when) {
        clk::LocalTime d = date->Value();
        d.year = when.year;
        d.month = when.month;
        d.day = when.day;
        date->SetValue(d);
        clk::LocalTime t = time->Value();
        t.hour = when.hour;
        t.minute = when.minute;
        t.second = when.second;
        time->SetValue(t);
        box->SetChecked(true);
    }
    // Runs the window from `start` (local time) for `ms` milliseconds of the manual clock.
    void RunFrom(clk::LocalTime start, int64_t ms) {
        clock_.set_local(start);
        win::RunFor(ms);
    }
    static size_t Count(const std::vector<Bytes>& frames, const Bytes& frame) {
        return static_cast<size_t>(std::count(frames.begin(), frames.end(), frame));
    }
};

TEST_F(PowerAlarmTest, AnArmedAlarmSendsOnEveryTickOfItsSecondOnly) {
    StartPage();
    Form1->Ed_conn_id->SetText("2");
    Arm(Form1->CB_Opentime, Form1->DateTimePicker1, Form1->DateTimePicker2,
        {2026, 3, 2, 8, 30, 0, 0, 1});
    RunFrom({2026, 3, 2, 8, 29, 59, 0, 1}, 900);
    EXPECT_TRUE(Frames().empty());
    win::RunFor(1100);
    const auto frames = Frames();
    const Bytes turn_on = Wire({0x02, 0xA6, 0x08, 0x00});
    EXPECT_GE(frames.size(), 4u);
    EXPECT_LE(frames.size(), 5u);
    EXPECT_EQ(Count(frames, turn_on), frames.size());
    // 08:30:01 and after: nothing.
    win::RunFor(3000);
    EXPECT_TRUE(Frames().empty());
    // The next day at the same time: its date has passed.
    RunFrom({2026, 3, 3, 8, 29, 59, 0, 2}, 3000);
    EXPECT_TRUE(Frames().empty());
    // Disarmed, it stays silent even in its second.
    Form1->CB_Opentime->SetChecked(false);
    RunFrom({2026, 3, 2, 8, 29, 59, 0, 1}, 3000);
    EXPECT_TRUE(Frames().empty());
    EXPECT_EQ(BoxTexts(), "");
}

TEST_F(PowerAlarmTest, BothAlarmsInOneSecondSendOnlyTurnOff) {
    StartPage();
    Form1->Ed_conn_id->SetText("9");
    Form1->Cb_ch->SetItemIndex(4);
    Arm(Form1->CB_Opentime, Form1->DateTimePicker1, Form1->DateTimePicker2,
        {2026, 3, 2, 21, 0, 5, 0, 1});
    Arm(Form1->CB_Closetime, Form1->DateTimePicker3, Form1->DateTimePicker4,
        {2026, 3, 2, 21, 0, 5, 0, 1});
    RunFrom({2026, 3, 2, 21, 0, 4, 0, 1}, 3000);
    const auto frames = Frames();
    EXPECT_GE(frames.size(), 4u);
    EXPECT_EQ(Count(frames, Wire({0x09, 0xA6, 0x09, 0x04})), frames.size());

    // The power-off alarm alone in another second still fires, the power-on one not at all
    // in a second that is not its own.
    Arm(Form1->CB_Closetime, Form1->DateTimePicker3, Form1->DateTimePicker4,
        {2026, 3, 2, 22, 0, 0, 0, 1});
    RunFrom({2026, 3, 2, 21, 59, 59, 500, 1}, 2000);
    const auto later = Frames();
    EXPECT_GE(later.size(), 4u);
    EXPECT_EQ(Count(later, Wire({0x09, 0xA6, 0x09, 0x04})), later.size());
}

TEST_F(PowerAlarmTest, AnInvalidWorkingIdStacksABoxOnEveryTickWhileTimersGoOn) {
    StartPage();
    Form1->Ed_conn_id->SetText("");
    Arm(Form1->CB_Opentime, Form1->DateTimePicker1, Form1->DateTimePicker2,
        {2026, 3, 2, 8, 30, 0, 0, 1});
    // The operator answers only when the window has nothing more to do in the span: by then
    // every tick of the second has opened its own box over the others.
    size_t most_open = 0;
    size_t answered = 0;
    win::SetIdleScript([&] {
        const auto& boxes = forms::OpenMessageBoxes();
        if (boxes.empty())
            return false;
        most_open = std::max(most_open, boxes.size());
        EXPECT_EQ(boxes.back()->text, "please input a valid ID, range: 1-255");
        ++answered;
        // The OK button of the topmost box (a box uncovered by another takes no keys until
        // it is clicked, so the test presses its button directly).
        win::PostMessage(boxes.back()->hwnd, win::WM_COMMAND, forms::IDOK, 0);
        return true;
    });
    const long ticks_before = Form1->Timer2->Ticks();
    RunFrom({2026, 3, 2, 8, 29, 59, 900, 1}, 1500);
    EXPECT_GE(most_open, 4u);
    EXPECT_LE(most_open, 5u);
    EXPECT_EQ(answered, most_open);
    EXPECT_GE(Form1->Timer2->Ticks() - ticks_before, 7);
    EXPECT_TRUE(Frames().empty());
}

TEST_F(PowerAlarmTest, PickerChangesStoreTheWholeAlarm) {
    StartPage();
    // The defaults of a new file: 2013-12-25 and 13:50:25.
    EXPECT_EQ(Form1->DateTimePicker1->Value().year, 2013);
    EXPECT_EQ(Form1->DateTimePicker3->Value().day, 25);
    EXPECT_EQ(Form1->DateTimePicker2->Value().hour, 13);
    EXPECT_EQ(Form1->DateTimePicker4->Value().second, 25);

    // An operator's change of the power-on time, with the alarm disarmed, stores the record
    // whole: the date picker's value and the time picker's value.
    Form1->DateTimePicker2->SetFocus();
    win::PumpPending();
    PressKey(win::VK_UP);
    const double date_value = Form1->DateTimePicker1->DateTime();
    const double time_value = Form1->DateTimePicker2->DateTime();
    EXPECT_EQ(Form1->DateTimePicker2->Value().hour, 14);
    const auto bytes = FileBytes();
    ASSERT_EQ(bytes.size(), settings::SettingsFile::kSize);
    const auto record = settings::TimeRecord::decode(
        std::span<const uint8_t, 20>(bytes.data() + settings::SettingsFile::OpenAlarm, 20));
    EXPECT_DOUBLE_EQ(record.date_part, date_value);
    EXPECT_DOUBLE_EQ(record.time_part, time_value);

    // The power-off date changes; the next start shows both alarms as stored.
    Form1->DateTimePicker3->SetFocus();
    win::PumpPending();
    PressKey(win::VK_DOWN);
    const clk::LocalTime off_date = Form1->DateTimePicker3->Value();
    RestartWindow();
    EXPECT_EQ(Form1->DateTimePicker2->Value().hour, 14);
    EXPECT_EQ(Form1->DateTimePicker2->Value().minute, 50);
    const clk::LocalTime loaded = Form1->DateTimePicker3->Value();
    EXPECT_EQ(std::tie(loaded.year, loaded.month, loaded.day),
              std::tie(off_date.year, off_date.month, off_date.day));
    EXPECT_FALSE(Form1->CB_Opentime->Checked());
    EXPECT_FALSE(Form1->CB_Closetime->Checked());
}

}  // namespace
