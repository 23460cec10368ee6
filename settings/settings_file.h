#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <span>
#include <string_view>

namespace settings {

// The settings file: 3471 bytes at fixed offsets, no header, no version, no check value. Integers
// are 32-bit signed little-endian; dates and times are little-endian float64 day counts since
// 30 December 1899 (integer part the date, fraction the time of day).
struct SettingsFile {
    static constexpr size_t kSize = 3471;
    static constexpr std::string_view kFileName = "zuvo_16.dat";
    static constexpr int kDays = 7;      // weekday d: 0 Sunday ... 6 Saturday
    static constexpr int kSlots = 10;    // entry slot s within a day
    static constexpr int kSavedIds = 5;  // [0] the Device Setup ID, [1 + p] device panel p
    static constexpr size_t kIpAddressSize = 15;

    static constexpr size_t PortNumber = 0;
    static constexpr size_t OpenAlarm = 4;
    static constexpr size_t CloseAlarm = 24;
    static constexpr size_t SavedIdsBase = 44;
    static constexpr size_t SavedLanguage = 64;
    static constexpr size_t SavedIpAddress = 68;
    static constexpr size_t DayFlagBase = 83;
    static constexpr size_t OnFlagBase = 111;
    static constexpr size_t OffFlagBase = 391;
    static constexpr size_t OnTimeBase = 671;
    static constexpr size_t OffTimeBase = 2071;

    static constexpr size_t SavedIds(int i) { return SavedIdsBase + 4 * i; }
    static constexpr size_t DayFlag(int d) { return DayFlagBase + 4 * d; }
    static constexpr size_t OnFlag(int d, int s) { return OnFlagBase + 40 * d + 4 * s; }
    static constexpr size_t OffFlag(int d, int s) { return OffFlagBase + 40 * d + 4 * s; }
    static constexpr size_t OnTime(int d, int s) { return OnTimeBase + 20 * (10 * d + s); }
    static constexpr size_t OffTime(int d, int s) { return OffTimeBase + 20 * (10 * d + s); }
};

static_assert(SettingsFile::OffTime(6, 9) + 20 == SettingsFile::kSize);

// Flag values: exactly FLAG_ON reads as checked, every other value as unchecked.
inline constexpr int32_t FLAG_ON = 85;
inline constexpr int32_t FLAG_OFF = 170;

// A date and a time as the file keeps them (20 bytes). The reader uses only the date of the
// date part and only the time of day of the time part; the 4 reserved bytes are written as zero
// and ignored when read.
struct TimeRecord {
    static constexpr size_t kSize = 20;
    double date_part = 0.0;
    double time_part = 0.0;

    std::array<uint8_t, kSize> encode() const;
    static TimeRecord decode(std::span<const uint8_t, kSize> bytes);
};

// The defaults of a new file. The alarms: 2013-12-25 (day 41633) at 13:50:25.
inline constexpr double kDefaultAlarmDate = 41633.0;
inline constexpr double kDefaultAlarmTime = (13 * 3600 + 50 * 60 + 25) / 86400.0;
inline constexpr int32_t kDefaultPortNumber = 1;
inline constexpr int32_t kDefaultLanguage = 1;
inline constexpr std::string_view kDefaultIpAddress = "192.168.0.255";

// The whole content of a new file, in file order. The weekly entries' records carry date part
// 0.0 and the start-up moment (a day count) as time part, as the entry pickers hold it then.
std::array<uint8_t, SettingsFile::kSize> DefaultSettingsImage(double startup_day_count);

// The file in the settings directory (created when missing).
std::filesystem::path SettingsFilePath();

// Day-count helpers, with the convention that the sign belongs to the date alone: -1.25 is the
// date -1 at 06:00. Values that are not finite or lie outside years 1 to 9999 are no usable
// date or time.
bool IsUsableDayCount(double days);
double DateOf(double days);       // whole days
double TimeOfDayOf(double days);  // fraction of a day, 0 <= t < 1

// Little-endian field codecs.
void PutInt32(std::span<uint8_t> out, int32_t value);
int32_t GetInt32(std::span<const uint8_t> in);
void PutFloat64(std::span<uint8_t> out, double value);
double GetFloat64(std::span<const uint8_t> in);

}  // namespace settings
