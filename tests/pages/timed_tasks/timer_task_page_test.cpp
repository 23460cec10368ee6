// The Timer Task page: its seven columns at their places, each operator change writing its one
// field of the settings file, the schedule coming back whole at the next start, the captions in
// the three languages, and weekly records holding any bytes.

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

#include "forms/panel.h"
#include "tests/pages/timed_tasks/timer_task_fixture.h"

namespace {

using settings::SettingsFile;
using timed_tasks_test::TimerTaskTest;

// The offsets of the bytes that differ between two files of the same length.
std::vector<size_t> Changed(const std::vector<uint8_t>& a, const std::vector<uint8_t>& b) {
    std::vector<size_t> out;
    for (size_t i = 0; i < std::min(a.size(), b.size()); ++i)
        if (a[i] != b[i])
            out.push_back(i);
    return out;
}

bool Bounds(const forms::TControl* c, int l, int t, int w, int h) {
    return c->Left() == l && c->Top() == t && c->Width() == w && c->Height() == h;
}

TEST_F(TimerTaskTest, TheColumnsStandAtTheirPlacesNamedByTheirIndices) {
    StartTimerPage();
    EXPECT_TRUE(Bounds(Form1->Panel_Time_Task, 0, 2, 1228, 538));
    EXPECT_EQ(Form1->Panel_Time_Task->Parent(), Form1->TabSheet4);
    for (int d = 0; d < 7; ++d) {
        EXPECT_TRUE(Bounds(Form1->DayPanel[d], 105 * d, 0, 105, 538)) << d;
        EXPECT_TRUE(Bounds(Form1->DayEnableBox[d], 6, 5, 100, 17)) << d;
        EXPECT_EQ(Form1->DayPanel[d]->Font().Size(), 10);
        for (int s = 0; s < 10; ++s) {
            const forms::TGroupBox* group = Form1->EntryGroup[d][s];
            EXPECT_TRUE(Bounds(group, 0, 51 * s + 20, 105, 51)) << d << " " << s;
            EXPECT_EQ(group->Parent(), Form1->DayPanel[d]);
            EXPECT_EQ(group->Caption(), "");
            EXPECT_TRUE(Bounds(Form1->EntryOnBox[d][s], 5, 7, 30, 18));
            EXPECT_TRUE(Bounds(Form1->EntryOffBox[d][s], 5, 28, 30, 18));
            EXPECT_TRUE(Bounds(Form1->EntryOnPicker[d][s], 39, 7, 60, 18));
            EXPECT_TRUE(Bounds(Form1->EntryOffPicker[d][s], 39, 28, 60, 18));
            EXPECT_EQ(Form1->EntryOnPicker[d][s]->Kind(), forms::TDateTimeKind::dtkTime);
            EXPECT_EQ(Form1->EntryOffBox[d][s]->Parent(), group);
            EXPECT_EQ(Form1->EntryOnBox[d][s]->Font().Size(), 9);
        }
    }
    // Scripts reach them by the start-up array names.
    EXPECT_EQ(Form1->FindComponent("EntryOnPicker1_3"), Form1->EntryOnPicker[1][3]);
    EXPECT_EQ(Form1->FindComponent("DayEnableBox6"), Form1->DayEnableBox[6]);
    // A new file: every day and entry unchecked, every entry disabled, the day boxes not.
    EXPECT_FALSE(Form1->DayEnableBox[2]->Checked());
    EXPECT_TRUE(Form1->DayEnableBox[2]->Enabled());
    EXPECT_FALSE(Form1->EntryOffPicker[2][7]->Enabled());
    EXPECT_FALSE(Form1->EntryOnBox[0][0]->Checked());
}

TEST_F(TimerTaskTest, TheDayBoxWritesItsFlagAndGatesItsEntriesKeepingTheirValues) {
    StartTimerPage();
    const size_t monday = SettingsFile::DayFlag(1);
    ASSERT_EQ(monday, 87u);
    Toggle(Form1->DayEnableBox[1]);
    EXPECT_EQ(FlagAt(FileBytes(), monday), settings::FLAG_ON);
    for (int s = 0; s < 10; ++s)
        EXPECT_TRUE(Form1->EntryOnPicker[1][s]->Enabled() && Form1->EntryOffBox[1][s]->Enabled());
    EXPECT_FALSE(Form1->EntryOnBox[2][0]->Enabled());  // Tuesday stays as it was

    Toggle(Form1->EntryOnBox[1][2]);
    EXPECT_EQ(FlagAt(FileBytes(), SettingsFile::OnFlag(1, 2)), settings::FLAG_ON);
    const auto before = FileBytes();
    Toggle(Form1->DayEnableBox[1]);
    const auto after = FileBytes();
    EXPECT_EQ(FlagAt(after, monday), settings::FLAG_OFF);
    EXPECT_EQ(Changed(before, after), (std::vector<size_t>{87}));
    EXPECT_FALSE(Form1->EntryOnBox[1][2]->Enabled());
    EXPECT_TRUE(Form1->EntryOnBox[1][2]->Checked());
    EXPECT_TRUE(Form1->DayEnableBox[1]->Enabled());
    // A disabled entry takes no clicks, so its stored flag stays.
    Toggle(Form1->EntryOnBox[1][2]);
    EXPECT_TRUE(Form1->EntryOnBox[1][2]->Checked());
    EXPECT_EQ(FileBytes(), after);
}

TEST_F(TimerTaskTest, EachEntryControlWritesItsOwnFieldAlone) {
    StartTimerPage();
    Toggle(Form1->DayEnableBox[6]);
    auto before = FileBytes();
    Toggle(Form1->EntryOffBox[6][9]);
    auto after = FileBytes();
    EXPECT_EQ(Changed(before, after), (std::vector<size_t>{667}));
    EXPECT_EQ(FlagAt(after, 667), settings::FLAG_ON);

    // Sunday's first on time: the 20 bytes at 671, date part 0.0, time part the picker's value.
    Toggle(Form1->DayEnableBox[0]);
    before = FileBytes();
    Form1->EntryOnPicker[0][0]->SetFocus();
    win::PumpPending();
    PressKey(win::VK_UP);
    after = FileBytes();
    const auto changed = Changed(before, after);
    ASSERT_FALSE(changed.empty());
    EXPECT_GE(changed.front(), 671u);
    EXPECT_LT(changed.back(), 691u);
    const auto record =
        settings::TimeRecord::decode(std::span<const uint8_t, 20>(after.data() + 671, 20));
    EXPECT_EQ(record.date_part, 0.0);
    EXPECT_DOUBLE_EQ(record.time_part, Form1->EntryOnPicker[0][0]->DateTime());

    // The off picker of Wednesday's slot 4 writes at 2071 + 20 * 34.
    Toggle(Form1->DayEnableBox[3]);
    before = FileBytes();
    Form1->EntryOffPicker[3][4]->SetFocus();
    win::PumpPending();
    PressKey(win::VK_DOWN);
    after = FileBytes();
    for (size_t at : Changed(before, after)) {
        EXPECT_GE(at, 2751u);
        EXPECT_LT(at, 2771u);
    }
    EXPECT_FALSE(Changed(before, after).empty());
}

TEST_F(TimerTaskTest, ARestartBringsEveryBoxEnabledStateAndTimeBackWithoutWriting) {
    StartTimerPage();
    Toggle(Form1->DayEnableBox[1]);
    Toggle(Form1->DayEnableBox[4]);
    Toggle(Form1->EntryOnBox[1][3]);
    Toggle(Form1->EntryOffBox[4][9]);
    Toggle(Form1->DayEnableBox[4]);  // Thursday off again, its entry box kept
    Form1->EntryOnPicker[1][3]->SetFocus();
    win::PumpPending();
    PressKey(win::VK_UP);
    const clk::LocalTime on_time = Form1->EntryOnPicker[1][3]->Value();
    const clk::LocalTime off_time = Form1->EntryOffPicker[4][9]->Value();
    const auto stored = FileBytes();

    clock_.advance(3 * 3600 * 1000 + 17 * 1000);  // a later start, the pickers built later
    RestartWindow();
    EXPECT_EQ(FileBytes(), stored);
    EXPECT_TRUE(Form1->DayEnableBox[1]->Checked());
    EXPECT_TRUE(Form1->EntryOnPicker[1][0]->Enabled());
    EXPECT_FALSE(Form1->DayEnableBox[4]->Checked());
    EXPECT_FALSE(Form1->EntryOffBox[4][9]->Enabled());
    EXPECT_TRUE(Form1->EntryOffBox[4][9]->Checked());
    EXPECT_TRUE(Form1->EntryOnBox[1][3]->Checked());
    EXPECT_FALSE(Form1->EntryOffBox[1][3]->Checked());
    const clk::LocalTime on_back = Form1->EntryOnPicker[1][3]->Value();
    const clk::LocalTime off_back = Form1->EntryOffPicker[4][9]->Value();
    EXPECT_EQ(std::tie(on_back.hour, on_back.minute, on_back.second),
              std::tie(on_time.hour, on_time.minute, on_time.second));
    EXPECT_EQ(std::tie(off_back.hour, off_back.minute, off_back.second),
              std::tie(off_time.hour, off_time.minute, off_time.second));
}

TEST_F(TimerTaskTest, TheCaptionsFollowTheLanguage) {
    WriteFileWith(SettingsFile::SavedLanguage, 2);
    StartTimerPage();
    EXPECT_EQ(Form1->DayEnableBox[1]->Caption(), "星期壹");
    EXPECT_EQ(Form1->DayEnableBox[0]->Caption(), "星期天");
    EXPECT_EQ(Form1->EntryOnBox[5][9]->Caption(), "開");
    EXPECT_EQ(Form1->EntryOffBox[0][0]->Caption(), "關");
    EXPECT_EQ(Form1->EntryGroup[0][0]->Caption(), "");
    PickItem(Form1->CB_language, 0);
    EXPECT_EQ(Form1->DayEnableBox[1]->Caption(), "星期一");
    EXPECT_EQ(Form1->EntryOffBox[6][9]->Caption(), "关");
    PickItem(Form1->CB_language, 1);
    EXPECT_EQ(Form1->DayEnableBox[3]->Caption(), "Wednesday");
    EXPECT_EQ(Form1->EntryOnBox[3][3]->Caption(), "on");

    // A stored language out of range reads as English.
    CloseWindow();
    WriteFileWith(SettingsFile::SavedLanguage, 7);
    StartWindow();
    EXPECT_EQ(Form1->DayEnableBox[6]->Caption(), "Saturday");
    EXPECT_EQ(Form1->EntryOffBox[6][0]->Caption(), "off");
}

TEST_F(TimerTaskTest, WeeklyRecordsHoldingAnyBytesLoadAsValidTimesAndOnlyFlag85Checks) {
    auto image = settings::DefaultSettingsImage(46000.25);  // 06:00:00
    std::vector<uint8_t> bytes(image.begin(), image.end());
    const double odd_times[] = {std::numeric_limits<double>::quiet_NaN(),
                                std::numeric_limits<double>::infinity(),
                                -std::numeric_limits<double>::infinity(),
                                -1e300,
                                1e300,
                                -3.75,
                                0.99999999999,
                                -0.0};
    const int32_t odd_flags[] = {0, 86, 170, -85, 85 + 256, 0x55555555, -1};
    for (int d = 0; d < 7; ++d) {
        settings::PutInt32(std::span<uint8_t>(bytes).subspan(SettingsFile::DayFlag(d), 4),
                           d == 1 ? settings::FLAG_ON : odd_flags[d]);
        for (int s = 0; s < 10; ++s) {
            const double t = odd_times[(d + s) % 8];
            for (size_t record : {SettingsFile::OnTime(d, s), SettingsFile::OffTime(d, s)}) {
                settings::PutFloat64(std::span<uint8_t>(bytes).subspan(record, 8), -t);
                settings::PutFloat64(std::span<uint8_t>(bytes).subspan(record + 8, 8), t);
            }
            settings::PutInt32(std::span<uint8_t>(bytes).subspan(SettingsFile::OnFlag(d, s), 4),
                               s == 3 ? settings::FLAG_ON : odd_flags[s % 7]);
            settings::PutInt32(std::span<uint8_t>(bytes).subspan(SettingsFile::OffFlag(d, s), 4),
                               odd_flags[(s + d) % 7]);
        }
    }
    WriteFileBytes(bytes);
    StartTimerPage();
    EXPECT_EQ(FileBytes(), bytes);
    for (int d = 0; d < 7; ++d) {
        EXPECT_EQ(Form1->DayEnableBox[d]->Checked(), d == 1) << d;
        EXPECT_EQ(Form1->EntryOnPicker[d][0]->Enabled(), d == 1) << d;
        for (int s = 0; s < 10; ++s) {
            EXPECT_EQ(Form1->EntryOnBox[d][s]->Checked(), s == 3);
            EXPECT_FALSE(Form1->EntryOffBox[d][s]->Checked());
            for (const forms::TDateTimePicker* p :
                 {Form1->EntryOnPicker[d][s], Form1->EntryOffPicker[d][s]}) {
                EXPECT_TRUE(clk::is_valid(p->Value())) << d << " " << s;
                EXPECT_FALSE(p->DisplayText().empty());
            }
        }
    }
    // -3.75 is the date -3 at 18:00; 0.99999999999 rounds to a time of this day.
    EXPECT_EQ(Form1->EntryOnPicker[0][5]->Value().hour, 18);
}

}  // namespace
