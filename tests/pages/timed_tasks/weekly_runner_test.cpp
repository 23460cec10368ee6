// The 200 ms tick with the manual clock: a due entry sends on every tick of its second, today's
// checked day only, the lowest due slot first and the power-on half before the power-off half,
// a weekly entry before both alarms, and the invalid-ID box on every due tick.

#include <gtest/gtest.h>

#include "forms/message_box.h"
#include "platform/win/message.h"
#include "tests/pages/timed_tasks/timer_task_fixture.h"

namespace {

using timed_tasks_test::Bytes;
using timed_tasks_test::TimerTaskTest;

// 2026-03-02 is a Monday, 2026-03-03 a Tuesday.
constexpr clk::LocalTime kMonday0729{2026, 3, 2, 7, 29, 59, 0, 1};
constexpr clk::LocalTime kTuesday0729{2026, 3, 3, 7, 29, 59, 0, 2};

class WeeklyRunnerTest : public TimerTaskTest {
  protected:
    void SetUp() override {
        TimerTaskTest::SetUp();
        StartTimerPage();
        Form1->Ed_conn_id->SetText("7");
        Form1->Cb_ch->SetItemIndex(3);
    }
    const Bytes turn_on_ = Wire({0x07, 0xA6, 0x08, 0x03});
    const Bytes turn_off_ = Wire({0x07, 0xA6, 0x09, 0x03});
};

TEST_F(WeeklyRunnerTest, ADueEntrySendsOnEveryTickOfItsSecondOnItsDayOnly) {
    EnableDay(1);
    Arm(Form1->EntryOnBox[1][3], Form1->EntryOnPicker[1][3], 7, 30, 0);
    RunFrom(kMonday0729, 900);
    EXPECT_TRUE(Frames().empty());
    win::RunFor(1000);  // to 07:30:00.900
    auto frames = Frames();
    EXPECT_GE(frames.size(), 4u);
    EXPECT_LE(frames.size(), 5u);
    EXPECT_EQ(Count(frames, turn_on_), frames.size());
    win::RunFor(2000);  // 07:30:01 and after
    EXPECT_TRUE(Frames().empty());

    // The same entry on a Tuesday, and on the Monday with the entry or the day unchecked.
    RunFrom(kTuesday0729, 3000);
    EXPECT_TRUE(Frames().empty());
    Form1->EntryOnBox[1][3]->SetChecked(false);
    RunFrom(kMonday0729, 3000);
    EXPECT_TRUE(Frames().empty());
    Form1->EntryOnBox[1][3]->SetChecked(true);
    Form1->DayEnableBox[1]->SetChecked(false);
    RunFrom(kMonday0729, 3000);
    EXPECT_TRUE(Frames().empty());
    // Next week's Monday fires again.
    Form1->DayEnableBox[1]->SetChecked(true);
    RunFrom({2026, 3, 9, 7, 29, 59, 500, 1}, 1500);
    EXPECT_GE(Frames().size(), 4u);
    EXPECT_EQ(BoxTexts(), "");
}

TEST_F(WeeklyRunnerTest, TheLowestDueSlotDecidesAndPowerOnGoesBeforePowerOff) {
    EnableDay(1);
    // Slot 3 powers off, slot 5 powers on, both at 07:30:00: slot 3's command alone.
    Arm(Form1->EntryOffBox[1][3], Form1->EntryOffPicker[1][3], 7, 30, 0);
    Arm(Form1->EntryOnBox[1][5], Form1->EntryOnPicker[1][5], 7, 30, 0);
    RunFrom(kMonday0729, 2000);
    auto frames = Frames();
    EXPECT_GE(frames.size(), 4u);
    EXPECT_EQ(Count(frames, turn_off_), frames.size());

    // One entry with both halves at the same time: power-on.
    Arm(Form1->EntryOnBox[1][3], Form1->EntryOnPicker[1][3], 7, 30, 0);
    RunFrom(kMonday0729, 2000);
    frames = Frames();
    EXPECT_GE(frames.size(), 4u);
    EXPECT_EQ(Count(frames, turn_on_), frames.size());
}

TEST_F(WeeklyRunnerTest, AWeeklyEntryBeatsBothAlarmsAndAlarmsNeedNoDayBox) {
    auto arm_alarm = [](forms::TCheckBox* box, forms::TDateTimePicker* date,
                        forms::TDateTimePicker* time) {
        clk::LocalTime v = date->Value();
        v.year = 2026;
        v.month = 3;
        v.day = 2;
        date->SetValue(v);
        Arm(box, time, 7, 30, 0);
    };
    arm_alarm(Form1->CB_Opentime, Form1->DateTimePicker1, Form1->DateTimePicker2);
    // No day box checked: the power-on alarm alone fires.
    RunFrom(kMonday0729, 2000);
    auto frames = Frames();
    EXPECT_GE(frames.size(), 4u);
    EXPECT_EQ(Count(frames, turn_on_), frames.size());
    // Both alarms: power-off.
    arm_alarm(Form1->CB_Closetime, Form1->DateTimePicker3, Form1->DateTimePicker4);
    RunFrom(kMonday0729, 2000);
    frames = Frames();
    EXPECT_GE(frames.size(), 4u);
    EXPECT_EQ(Count(frames, turn_off_), frames.size());
    // A weekly power-on entry in the same second decides the tick.
    EnableDay(1);
    Arm(Form1->EntryOnBox[1][9], Form1->EntryOnPicker[1][9], 7, 30, 0);
    RunFrom(kMonday0729, 2000);
    frames = Frames();
    EXPECT_GE(frames.size(), 4u);
    EXPECT_LE(frames.size(), 5u);
    EXPECT_EQ(Count(frames, turn_on_), frames.size());
}

TEST_F(WeeklyRunnerTest, AnInvalidWorkingIdStacksABoxOnEveryDueTickWhileTimersGoOn) {
    EnableDay(1);
    Arm(Form1->EntryOffBox[1][0], Form1->EntryOffPicker[1][0], 7, 30, 0);
    for (const char* id : {"0", "256", "", "x1"}) {
        Form1->Ed_conn_id->SetText(id);
        size_t most_open = 0;
        size_t answered = 0;
        win::SetIdleScript([&] {
            const auto& boxes = forms::OpenMessageBoxes();
            if (boxes.empty())
                return false;
            most_open = std::max(most_open, boxes.size());
            EXPECT_EQ(boxes.back()->text, "please input a valid ID, range: 1-255");
            EXPECT_EQ(boxes.back()->caption, "Error");
            ++answered;
            win::PostMessage(boxes.back()->hwnd, win::WM_COMMAND, forms::IDOK, 0);
            return true;
        });
        const long ticks_before = Form1->Timer2->Ticks();
        RunFrom({2026, 3, 2, 7, 29, 59, 900, 1}, 1500);
        win::SetIdleScript(nullptr);
        EXPECT_GE(most_open, 4u) << id;
        EXPECT_LE(most_open, 5u) << id;
        EXPECT_EQ(answered, most_open);
        EXPECT_GE(Form1->Timer2->Ticks() - ticks_before, 7);
        EXPECT_TRUE(Frames().empty());
    }
}

}  // namespace
