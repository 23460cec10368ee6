#include <gtest/gtest.h>

#include <functional>

#include "settings/settings_loader.h"
#include "settings/settings_writers.h"
#include "settings_test_support.h"

namespace settings {
namespace {

// Each writer changes exactly the bytes of its own field.
TEST(SettingsWriters, OneFieldsWriteChangesOnlyItsBytes) {
    struct Case {
        const char* name;
        std::function<bool(const std::filesystem::path&)> write;
        size_t offset;
        size_t width;
    };
    const Case cases[] = {
        {"port", [](auto& f) { return WritePortNumber(f, 8); }, 0, 4},
        {"open alarm", [](auto& f) { return WriteOpenAlarm(f, 46000.5, 0.75); }, 4, 20},
        {"close alarm", [](auto& f) { return WriteCloseAlarm(f, 46000.5, 0.75); }, 24, 20},
        {"id 0", [](auto& f) { return WriteSavedId(f, 0, 300); }, 44, 4},
        {"id 4", [](auto& f) { return WriteSavedId(f, 4, 3); }, 60, 4},
        {"language", [](auto& f) { return WriteSavedLanguage(f, 0); }, 64, 4},
        {"ip", [](auto& f) { return WriteSavedIpAddress(f, "1.2.3.4"); }, 68, 15},
        {"day 6", [](auto& f) { return WriteDayFlag(f, 6, true); }, 107, 4},
        {"on 3/7", [](auto& f) { return WriteOnFlag(f, 3, 7, true); }, 111 + 120 + 28, 4},
        {"off 0/0", [](auto& f) { return WriteOffFlag(f, 0, 0, true); }, 391, 4},
        {"on time 2/5", [](auto& f) { return WriteOnTime(f, 2, 5, 46001.5); }, 671 + 500, 20},
        {"off time 6/9", [](auto& f) { return WriteOffTime(f, 6, 9, 46001.5); }, 3451, 20},
    };
    for (const auto& c : cases) {
        SettingsFixtureDir dir;
        LoadSettings(dir.file(), 46000.0);
        const auto before = dir.bytes();
        ASSERT_TRUE(c.write(dir.file())) << c.name;
        const auto after = dir.bytes();
        ASSERT_EQ(after.size(), before.size()) << c.name;
        bool changed = false;
        for (size_t i = 0; i < after.size(); ++i) {
            const bool inside = i >= c.offset && i < c.offset + c.width;
            if (!inside) {
                EXPECT_EQ(after[i], before[i]) << c.name << " byte " << i;
            } else {
                changed |= after[i] != before[i];
            }
        }
        EXPECT_TRUE(changed) << c.name;
    }
}

TEST(SettingsWriters, RecordsAndFlagsHoldTheirValues) {
    SettingsFixtureDir dir;
    LoadSettings(dir.file(), 46000.0);
    ASSERT_TRUE(WriteOnTime(dir.file(), 2, 5, 46001.5));
    ASSERT_TRUE(WriteOffFlag(dir.file(), 0, 0, true));
    ASSERT_TRUE(WriteDayFlag(dir.file(), 1, false));
    const auto bytes = dir.bytes();
    const std::span<const uint8_t> all(bytes);
    const size_t rec = SettingsFile::OnTime(2, 5);
    EXPECT_EQ(GetFloat64(all.subspan(rec, 8)), 0.0);
    EXPECT_EQ(GetFloat64(all.subspan(rec + 8, 8)), 46001.5);
    EXPECT_EQ(GetInt32(all.subspan(rec + 16, 4)), 0);  // reserved bytes
    EXPECT_EQ(GetInt32(all.subspan(SettingsFile::OffFlag(0, 0), 4)), FLAG_ON);
    EXPECT_EQ(GetInt32(all.subspan(SettingsFile::DayFlag(1), 4)), FLAG_OFF);
}

TEST(SettingsWriters, NeverWriteOutsideTheLayout) {
    SettingsFixtureDir dir;
    LoadSettings(dir.file(), 46000.0);
    const auto before = dir.bytes();
    EXPECT_FALSE(WriteSettingsField(dir.file(), 3468, 1));  // would end at 3472
    EXPECT_FALSE(WriteSettingsField(dir.file(), SIZE_MAX - 1, 1));
    EXPECT_FALSE(WriteSettingsField(dir.file(), 0, 1, 0));
    EXPECT_FALSE(WriteSettingsField(dir.file(), 0, 1, 5));
    EXPECT_FALSE(WriteSavedId(dir.file(), 5, 1));
    EXPECT_FALSE(WriteSavedId(dir.file(), -1, 1));
    EXPECT_FALSE(WriteDayFlag(dir.file(), 7, true));
    EXPECT_FALSE(WriteOnFlag(dir.file(), 0, 10, true));
    EXPECT_FALSE(WriteOffTime(dir.file(), 7, 0, 1.0));
    EXPECT_FALSE(WriteOnTime(dir.file(), -1, 0, 1.0));
    EXPECT_EQ(dir.bytes(), before);

    EXPECT_TRUE(WriteSettingsField(dir.file(), 3467, 0x01020304));  // the last four bytes
    EXPECT_TRUE(WriteSettingsField(dir.file(), 0, 0x0A0B0C0D, 2));
    const auto after = dir.bytes();
    ASSERT_EQ(after.size(), 3471u);
    EXPECT_EQ(after[3467], 0x04);
    EXPECT_EQ(after[3470], 0x01);
    EXPECT_EQ(after[0], 0x0D);
    EXPECT_EQ(after[1], 0x0C);
    EXPECT_EQ(after[2], 0x00);  // width 2 leaves the rest
}

TEST(SettingsWriters, MissingFileIsNotCreatedByAWriter) {
    SettingsFixtureDir dir;
    EXPECT_FALSE(WriteSavedLanguage(dir.file(), 2));
    EXPECT_FALSE(std::filesystem::exists(dir.file()));
}

}  // namespace
}  // namespace settings
