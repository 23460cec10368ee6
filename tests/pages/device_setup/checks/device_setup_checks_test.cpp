// The rules of the Device Setup page that need no window: the ID reading, the delay payload
// with its checks, and the alarm's second.

#include <gtest/gtest.h>

#include "pages/device_setup/checks/alarm_match.h"
#include "operator_input/delay_cells.h"
#include "pages/device_setup/checks/device_id.h"

namespace {

using operator_input::BuildDelaysPayload;
using operator_input::DelayCells;

DelayCells AllCells(const std::string& text, bool minutes = false) {
    DelayCells cells;
    for (auto& row : cells)
        for (auto& cell : row)
            cell = {text, minutes};
    return cells;
}

TEST(DeviceIdTest, TextThatIsNoIntegerReadsOutsideEveryRange) {
    EXPECT_EQ(device_setup::ParseDeviceId("3"), 3);
    EXPECT_EQ(device_setup::ParseDeviceId("255"), 255);
    for (const char* text : {"", "abc", "3.", "1 2", "中", "99999999999"})
        EXPECT_EQ(device_setup::ParseDeviceId(text), 999) << text;
    EXPECT_TRUE(device_setup::IsCurrentId(0));
    EXPECT_FALSE(device_setup::IsDeviceId(0));
    EXPECT_FALSE(device_setup::IsDeviceId(256));
    EXPECT_FALSE(device_setup::IsCurrentId(-1));
    EXPECT_FALSE(device_setup::IsDeviceId(999));
}

TEST(DelayPayloadTest, CellsEncodeInGridOrder) {
    DelayCells cells = AllCells("1");
    cells[0][0] = {"60", true};
    cells[0][16] = {"0.5", true};
    cells[1][0] = {"0", true};
    cells[1][16] = {"60.4", false};
    const auto built = BuildDelaysPayload(7, cells);
    ASSERT_TRUE(built.payload);
    const auto& p = *built.payload;
    EXPECT_EQ(p[0], 7);
    EXPECT_EQ(p[1], 0xA7);
    EXPECT_EQ(p[2], 0xF8);
    EXPECT_EQ(p[3], 0x02);
    EXPECT_EQ(p[18], 0x81);
    EXPECT_EQ(p[19], 0x80);
    EXPECT_EQ(p[35], 0x78);
}

TEST(DelayPayloadTest, TheFirstBadCellIsNamedPowerOnRowFirst) {
    DelayCells cells = AllCells("1");
    cells[1][2] = {"x", false};
    cells[0][16] = {"60.5", false};
    auto built = BuildDelaysPayload(1, cells);
    EXPECT_FALSE(built.payload);
    EXPECT_EQ(built.refused.kind, 0);
    EXPECT_EQ(built.refused.channel, 16);
    cells[0][16] = {"60", false};
    built = BuildDelaysPayload(1, cells);
    EXPECT_FALSE(built.payload);
    EXPECT_EQ(built.refused.kind, 1);
    EXPECT_EQ(built.refused.channel, 2);
    // The limit is the same in minutes.
    built = BuildDelaysPayload(1, AllCells("99", true));
    EXPECT_FALSE(built.payload);
    EXPECT_TRUE(BuildDelaysPayload(1, AllCells(".5", true)).payload);
    EXPECT_FALSE(BuildDelaysPayload(1, AllCells(".", false)).payload);
}

TEST(AlarmMatchTest, DueDuringTheWholeSecondOfItsDateOnly) {
    const clk::LocalTime date{2026, 3, 2, 17, 45, 12, 0, 1};  // its time of day is not used
    const clk::LocalTime time{1899, 12, 30, 8, 30, 0, 0, 6};  // its date is not used
    EXPECT_TRUE(device_setup::AlarmDue(date, time, {2026, 3, 2, 8, 30, 0, 0, 1}));
    EXPECT_TRUE(device_setup::AlarmDue(date, time, {2026, 3, 2, 8, 30, 0, 999, 1}));
    EXPECT_FALSE(device_setup::AlarmDue(date, time, {2026, 3, 2, 8, 30, 1, 0, 1}));
    EXPECT_FALSE(device_setup::AlarmDue(date, time, {2026, 3, 2, 8, 29, 59, 999, 1}));
    EXPECT_FALSE(device_setup::AlarmDue(date, time, {2026, 3, 3, 8, 30, 0, 0, 2}));
    EXPECT_FALSE(device_setup::AlarmDue(date, time, {2027, 3, 2, 8, 30, 0, 0, 2}));
    EXPECT_FALSE(device_setup::AlarmDue(date, time, {2026, 3, 2, 20, 30, 0, 0, 1}));
}

}  // namespace
