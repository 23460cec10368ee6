#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>

#include "platform/files/exclusive_file.h"
#include "settings/settings_loader.h"
#include "settings/settings_writers.h"
#include "settings_test_support.h"

namespace settings {
namespace {

namespace fs = std::filesystem;
constexpr double kNow = 46027.25;  // 2026-01-05 06:00

std::vector<uint8_t> default_bytes() {
    const auto image = DefaultSettingsImage(kNow);
    return {image.begin(), image.end()};
}

TEST(SettingsLoader, FirstStartCreatesTheCompleteFileAndShowsTheDefaults) {
    SettingsFixtureDir dir;
    const LoadedSettings s = LoadSettings(dir.file(), kNow);
    EXPECT_EQ(s.source, LoadedSettings::Source::Created);
    EXPECT_EQ(dir.bytes(), default_bytes());
    EXPECT_EQ(dir.bytes().size(), 3471u);

    EXPECT_EQ(s.port_number.value, 1);
    EXPECT_EQ(s.saved_language.value, 1);
    EXPECT_EQ(s.saved_ip_address.value, "192.168.0.255");
    EXPECT_EQ(s.open_alarm_date.value, 41633.0);
    EXPECT_DOUBLE_EQ(s.open_alarm_time.value, kDefaultAlarmTime);
    EXPECT_EQ(s.close_alarm_date.value, 41633.0);
    for (const auto& id : s.saved_ids) {
        EXPECT_TRUE(id.present);
        EXPECT_EQ(id.value, "");
    }
    for (int d = 0; d < 7; ++d) {
        EXPECT_TRUE(s.day_flag[d].present);
        EXPECT_FALSE(s.day_flag[d].value);
        for (int slot = 0; slot < 10; ++slot) {
            EXPECT_FALSE(s.on_flag[d][slot].value);
            EXPECT_FALSE(s.off_flag[d][slot].value);
            EXPECT_DOUBLE_EQ(s.on_time[d][slot].value, 0.25);  // the start-up time of day
            EXPECT_DOUBLE_EQ(s.off_time[d][slot].value, 0.25);
        }
    }

    // The second start reads the same file and leaves it as it is.
    const auto before = dir.bytes();
    EXPECT_EQ(LoadSettings(dir.file(), kNow + 3).source, LoadedSettings::Source::File);
    EXPECT_EQ(dir.bytes(), before);
}

TEST(SettingsLoader, StoredValuesComeBackAfterARestart) {
    SettingsFixtureDir dir;
    LoadSettings(dir.file(), kNow);
    ASSERT_TRUE(WritePortNumber(dir.file(), 3));
    ASSERT_TRUE(WriteSavedId(dir.file(), 0, 254));
    ASSERT_TRUE(WriteSavedId(dir.file(), 1, 255));
    ASSERT_TRUE(WriteSavedId(dir.file(), 2, -4));
    ASSERT_TRUE(WriteSavedIdText(dir.file(), 3, "12"));
    ASSERT_TRUE(WriteSavedIdText(dir.file(), 4, "abc"));
    ASSERT_TRUE(WriteSavedLanguage(dir.file(), 7));
    ASSERT_TRUE(WriteDayFlag(dir.file(), 2, true));
    ASSERT_TRUE(WriteOnFlag(dir.file(), 6, 9, true));
    ASSERT_TRUE(WriteOffTime(dir.file(), 1, 3, 45000.75));
    ASSERT_TRUE(WriteOpenAlarm(dir.file(), 46100.9, 40000.125));

    const LoadedSettings s = LoadSettings(dir.file(), kNow);
    EXPECT_EQ(s.port_number.value, 3);
    EXPECT_EQ(s.saved_ids[0].value, "254");
    EXPECT_EQ(s.saved_ids[1].value, "");  // the limit is 254, not 255
    EXPECT_EQ(s.saved_ids[2].value, "");
    EXPECT_EQ(s.saved_ids[3].value, "12");
    EXPECT_EQ(s.saved_ids[4].value, "");
    EXPECT_EQ(s.saved_language.value, 7);  // stored as is; the language switch reads it
    EXPECT_TRUE(s.day_flag[2].value);
    EXPECT_FALSE(s.day_flag[1].value);
    EXPECT_TRUE(s.on_flag[6][9].value);
    EXPECT_DOUBLE_EQ(s.off_time[1][3].value, 0.75);
    EXPECT_EQ(s.open_alarm_date.value, 46100.0);  // only the date of the date picker
    EXPECT_DOUBLE_EQ(s.open_alarm_time.value, 0.125);
}

TEST(SettingsLoader, OnlyFlag85IsChecked) {
    SettingsFixtureDir dir;
    auto bytes = default_bytes();
    PutInt32(std::span(bytes).subspan(SettingsFile::DayFlag(0), 4), 0);
    PutInt32(std::span(bytes).subspan(SettingsFile::DayFlag(1), 4), FLAG_OFF);
    PutInt32(std::span(bytes).subspan(SettingsFile::DayFlag(2), 4), FLAG_ON);
    PutInt32(std::span(bytes).subspan(SettingsFile::OnFlag(3, 4), 4), 85 + 256);
    PutInt32(std::span(bytes).subspan(SettingsFile::OffFlag(5, 0), 4), FLAG_ON);
    dir.plant(bytes);
    const LoadedSettings s = LoadSettings(dir.file(), kNow);
    EXPECT_FALSE(s.day_flag[0].value);
    EXPECT_FALSE(s.day_flag[1].value);
    EXPECT_TRUE(s.day_flag[2].value);
    EXPECT_FALSE(s.on_flag[3][4].value);
    EXPECT_TRUE(s.off_flag[5][0].value);
}

TEST(SettingsLoader, IpAddressOfFifteenAndSixteenCharacters) {
    SettingsFixtureDir dir;
    LoadSettings(dir.file(), kNow);
    ASSERT_TRUE(WriteSavedIpAddress(dir.file(), "192.168.100.200"));
    auto bytes = dir.bytes();
    EXPECT_EQ(std::string(bytes.begin() + 68, bytes.begin() + 83), "192.168.100.200");
    EXPECT_EQ(bytes[83], 0xAA);  // no terminator: the next field follows at once
    EXPECT_EQ(LoadSettings(dir.file(), kNow).saved_ip_address.value, "192.168.100.200");

    ASSERT_TRUE(WriteSavedIpAddress(dir.file(), "192.168.100.2001"));
    EXPECT_EQ(LoadSettings(dir.file(), kNow).saved_ip_address.value, "192.168.100.200");
    ASSERT_TRUE(WriteSavedIpAddress(dir.file(), "10.0.0.1"));
    bytes = dir.bytes();
    EXPECT_EQ(std::string(bytes.begin() + 68, bytes.begin() + 83),
              std::string("10.0.0.1\0\0\0\0\0\0\0", 15));
    EXPECT_EQ(LoadSettings(dir.file(), kNow).saved_ip_address.value, "10.0.0.1");
    // A host name in Chinese characters goes out in code page 936 and comes back.
    ASSERT_TRUE(WriteSavedIpAddress(dir.file(), "设备"));
    EXPECT_EQ(LoadSettings(dir.file(), kNow).saved_ip_address.value, "设备");
    // Eight of them are 16 bytes: the field keeps seven, not seven and half of the eighth.
    ASSERT_TRUE(WriteSavedIpAddress(dir.file(), "设备设备设备设备"));
    EXPECT_EQ(dir.bytes()[82], 0);
    EXPECT_EQ(LoadSettings(dir.file(), kNow).saved_ip_address.value, "设备设备设备设");
    ASSERT_TRUE(WriteSavedIpAddress(dir.file(), "192.168.1.11设备"));
    EXPECT_EQ(LoadSettings(dir.file(), kNow).saved_ip_address.value, "192.168.1.11设");
}

TEST(SettingsLoader, ShortFileAppliesTheFieldsItHas) {
    SettingsFixtureDir dir;
    auto bytes = default_bytes();
    PutInt32(std::span(bytes).subspan(0, 4), 5);
    PutInt32(std::span(bytes).subspan(SettingsFile::SavedIds(0), 4), 9);
    bytes.resize(SettingsFile::SavedIds(1) + 2);  // ends in the middle of SavedIds[1]
    dir.plant(bytes);
    const LoadedSettings s = LoadSettings(dir.file(), kNow);
    EXPECT_EQ(s.source, LoadedSettings::Source::File);
    EXPECT_EQ(s.port_number.value, 5);
    EXPECT_TRUE(s.close_alarm_date.present);
    EXPECT_EQ(s.saved_ids[0].value, "9");
    EXPECT_FALSE(s.saved_ids[1].present);
    EXPECT_FALSE(s.saved_language.present);
    EXPECT_FALSE(s.saved_ip_address.present);
    EXPECT_FALSE(s.day_flag[0].present);
    EXPECT_FALSE(s.off_time[6][9].present);
    EXPECT_EQ(dir.bytes(), bytes);  // not completed, not extended

    dir.plant({});
    const LoadedSettings empty = LoadSettings(dir.file(), kNow);
    EXPECT_EQ(empty.source, LoadedSettings::Source::File);
    EXPECT_FALSE(empty.port_number.present);
    EXPECT_TRUE(dir.bytes().empty());
}

TEST(SettingsLoader, LongerFileReadsTheLayoutAndKeepsTheRest) {
    SettingsFixtureDir dir;
    auto bytes = default_bytes();
    bytes.resize(4000, 0x5A);
    dir.plant(bytes);
    EXPECT_TRUE(LoadSettings(dir.file(), kNow).off_time[6][9].present);
    EXPECT_EQ(dir.bytes(), bytes);
}

TEST(SettingsLoader, DamagedDatesKeepThePickers) {
    SettingsFixtureDir dir;
    auto bytes = default_bytes();
    PutFloat64(std::span(bytes).subspan(SettingsFile::OpenAlarm, 8),
               std::numeric_limits<double>::quiet_NaN());
    PutFloat64(std::span(bytes).subspan(SettingsFile::OpenAlarm + 8, 8), 1e300);
    PutFloat64(std::span(bytes).subspan(SettingsFile::OnTime(0, 0) + 8, 8), -1.25);
    dir.plant(bytes);
    const LoadedSettings s = LoadSettings(dir.file(), kNow);
    EXPECT_FALSE(s.open_alarm_date.present);
    EXPECT_FALSE(s.open_alarm_time.present);
    EXPECT_TRUE(s.close_alarm_date.present);
    EXPECT_DOUBLE_EQ(s.on_time[0][0].value, 0.25);
}

TEST(SettingsLoader, ReadOnlyFileIsNotReadAndNotReplaced) {
    SettingsFixtureDir dir;
    auto bytes = default_bytes();
    PutInt32(std::span(bytes).subspan(0, 4), 4);
    dir.plant(bytes);
    fs::permissions(dir.file(), fs::perms::owner_read | fs::perms::group_read);
    const LoadedSettings s = LoadSettings(dir.file(), kNow);
    EXPECT_EQ(s.source, LoadedSettings::Source::Defaults);
    EXPECT_EQ(s.port_number.value, 1);  // the defaults, not the file's 4
    EXPECT_EQ(dir.bytes(), bytes);
    EXPECT_FALSE(WritePortNumber(dir.file(), 2));
    EXPECT_EQ(dir.bytes(), bytes);
}

TEST(SettingsLoader, FileHeldElsewhereIsSkippedSilently) {
    SettingsFixtureDir dir;
    auto bytes = default_bytes();
    PutInt32(std::span(bytes).subspan(64, 4), 0);
    dir.plant(bytes);
    const auto holder = files::ExclusiveFile::open(dir.file(), files::Disposition::OpenExisting);
    ASSERT_TRUE(holder.valid());
    const LoadedSettings s = LoadSettings(dir.file(), kNow);
    EXPECT_EQ(s.source, LoadedSettings::Source::Defaults);
    EXPECT_EQ(s.saved_language.value, 1);
    EXPECT_FALSE(WriteSavedLanguage(dir.file(), 2));
    EXPECT_FALSE(WriteOnTime(dir.file(), 0, 0, 1.5));
    EXPECT_EQ(dir.bytes(), bytes);
}

TEST(SettingsLoader, NoFileCanBeMadeGivesTheDefaults) {
    SettingsFixtureDir dir;
    const fs::path missing_dir = dir.dir() / "absent" / "zuvo_16.dat";
    const LoadedSettings s = LoadSettings(missing_dir, kNow);
    EXPECT_EQ(s.source, LoadedSettings::Source::Defaults);
    EXPECT_EQ(s.saved_ip_address.value, "192.168.0.255");
    EXPECT_FALSE(s.on_flag[0][0].value);
    EXPECT_FALSE(fs::exists(missing_dir));
    EXPECT_FALSE(WritePortNumber(missing_dir, 2));
    EXPECT_FALSE(fs::exists(missing_dir));
}

}  // namespace
}  // namespace settings
