#include <gtest/gtest.h>

#include <limits>
#include <string>
#include <vector>

#include "settings/settings_file.h"

namespace settings {
namespace {

TEST(SettingsLayout, OffsetsOfEveryField) {
    EXPECT_EQ(SettingsFile::SavedIds(4), 60u);
    EXPECT_EQ(SettingsFile::DayFlag(6), 107u);
    EXPECT_EQ(SettingsFile::OnFlag(6, 9), 387u);
    EXPECT_EQ(SettingsFile::OffFlag(0, 0), 391u);
    EXPECT_EQ(SettingsFile::OffFlag(6, 9), 667u);
    EXPECT_EQ(SettingsFile::OnTime(1, 2), 671u + 20 * 12);
    EXPECT_EQ(SettingsFile::OffTime(6, 9), 3451u);
}

TEST(SettingsLayout, DefaultImageBytes) {
    const double now = 46027.5;  // 2026-01-05 12:00
    const auto image = DefaultSettingsImage(now);
    const std::span<const uint8_t> all(image);
    EXPECT_EQ(GetInt32(all.subspan(0, 4)), 1);
    EXPECT_EQ((std::vector<uint8_t>(image.begin(), image.begin() + 4)),
              (std::vector<uint8_t>{1, 0, 0, 0}));
    // 41633.0 as a little-endian float64 is 00 00 00 00 20 54 E4 40.
    EXPECT_EQ((std::vector<uint8_t>(image.begin() + 4, image.begin() + 12)),
              (std::vector<uint8_t>{0x00, 0x00, 0x00, 0x00, 0x20, 0x54, 0xE4, 0x40}));
    EXPECT_EQ(GetFloat64(all.subspan(12, 8)), kDefaultAlarmTime);
    EXPECT_EQ(GetFloat64(all.subspan(24, 8)), 41633.0);
    EXPECT_EQ(GetFloat64(all.subspan(32, 8)), kDefaultAlarmTime);
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(GetInt32(all.subspan(SettingsFile::SavedIds(i), 4)), 0);
    }
    EXPECT_EQ(GetInt32(all.subspan(64, 4)), 1);
    EXPECT_EQ(std::string(image.begin() + 68, image.begin() + 81), "192.168.0.255");
    EXPECT_EQ(image[81], 0);
    EXPECT_EQ(image[82], 0);
    for (size_t off = 83; off < 671; off += 4) {
        EXPECT_EQ(GetInt32(all.subspan(off, 4)), FLAG_OFF) << off;
    }
    for (size_t rec = 671; rec < 3471; rec += 20) {
        EXPECT_EQ(GetFloat64(all.subspan(rec, 8)), 0.0) << rec;
        EXPECT_EQ(GetFloat64(all.subspan(rec + 8, 8)), now) << rec;
    }
}

TEST(SettingsLayout, DayCountsKeepTheSignOnTheDate) {
    EXPECT_EQ(DateOf(41633.75), 41633.0);
    EXPECT_DOUBLE_EQ(TimeOfDayOf(41633.75), 0.75);
    EXPECT_EQ(DateOf(-1.25), -1.0);
    EXPECT_DOUBLE_EQ(TimeOfDayOf(-1.25), 0.25);
    EXPECT_TRUE(IsUsableDayCount(0.0));
    EXPECT_TRUE(IsUsableDayCount(2958465.99));
    EXPECT_FALSE(IsUsableDayCount(3e6));
    EXPECT_FALSE(IsUsableDayCount(-1e9));
    EXPECT_FALSE(IsUsableDayCount(std::numeric_limits<double>::quiet_NaN()));
}

}  // namespace
}  // namespace settings
