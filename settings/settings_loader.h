#pragma once

#include <array>
#include <cstdint>
#include <filesystem>
#include <span>
#include <string>

#include "settings/settings_file.h"

namespace settings {

// One loaded value: present when the file held the field whole (and, for dates and times, a
// usable day count); value is what the control it mirrors is to show. A field that is not
// present leaves its control as it was.
template <class T>
struct Loaded {
    bool present = false;
    T value{};
};

// Everything loading yields, for the main window to put into its controls.
struct LoadedSettings {
    enum class Source {
        File,     // an existing file was read
        Created,  // the file was missing and has been created with the defaults
        Defaults  // the file could be neither opened nor created: defaults, nothing stored
    };
    Source source = Source::Defaults;

    // Raw stored number; the caller selects item PortNumber - 1 of the port box, or no item
    // when it lies outside 1 to 8.
    Loaded<int32_t> port_number;
    // Whole days (date) and fraction of a day (time of day) of the two alarm records.
    Loaded<double> open_alarm_date;
    Loaded<double> open_alarm_time;
    Loaded<double> close_alarm_date;
    Loaded<double> close_alarm_time;
    // The edit texts: an ID from 1 to 254 as decimal text, any other value as "".
    std::array<Loaded<std::string>, SettingsFile::kSavedIds> saved_ids;
    // As stored, without a range check.
    Loaded<int32_t> saved_language;
    // The bytes up to the first zero (at most 15) from code page 936, in UTF-8.
    Loaded<std::string> saved_ip_address;
    // Checked exactly when the stored value is FLAG_ON.
    std::array<Loaded<bool>, SettingsFile::kDays> day_flag;
    std::array<std::array<Loaded<bool>, SettingsFile::kSlots>, SettingsFile::kDays> on_flag;
    std::array<std::array<Loaded<bool>, SettingsFile::kSlots>, SettingsFile::kDays> off_flag;
    // Time of day (fraction of a day) of each entry's time part.
    std::array<std::array<Loaded<double>, SettingsFile::kSlots>, SettingsFile::kDays> on_time;
    std::array<std::array<Loaded<double>, SettingsFile::kSlots>, SettingsFile::kDays> off_time;
};

// Reads the fields from the bytes of a file, applying every loading rule; a field that lies
// beyond the end of a short file is not present.
LoadedSettings ParseSettings(std::span<const uint8_t> bytes);

// Loads the settings file: opens it for reading and writing, exclusively; when it does not
// exist, creates it with the defaults (startup_day_count is "now" as a day count, for the
// entry records) and reads those. A file that exists but cannot be opened (held by another
// process, read-only, not a file) is neither read nor replaced; nor is anything created where
// the file cannot be made. Then the defaults are returned with Source::Defaults. Loading never
// writes to a file that already exists.
LoadedSettings LoadSettings(const std::filesystem::path& file, double startup_day_count);

}  // namespace settings
