#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <span>
#include <string_view>

namespace settings {

// Field writers. Each opens the settings file for reading and writing, exclusively, moves to
// the field, writes that field alone and closes the file. A file that cannot be opened (missing,
// held by another holder, read-only) is skipped silently; the return value only says whether
// the bytes were written. Nothing is ever written outside the 3471 bytes of the layout, and
// values are stored as given, without validation.

// Writes the low `width` bytes (1 to 4) of a 32-bit value, little-endian, at `offset`.
bool WriteSettingsField(const std::filesystem::path& file, size_t offset, int32_t value,
                        int width = 4);
// Writes raw bytes at `offset`; refused when they would reach past the layout.
bool WriteSettingsBytes(const std::filesystem::path& file, size_t offset,
                        std::span<const uint8_t> bytes);

// The port box's item index + 1.
bool WritePortNumber(const std::filesystem::path& file, int32_t port_number);
// date_value and time_value are the whole values (day counts) of the alarm's date picker and
// time picker.
bool WriteOpenAlarm(const std::filesystem::path& file, double date_value, double time_value);
bool WriteCloseAlarm(const std::filesystem::path& file, double date_value, double time_value);
// index 0 for the Device Setup ID, 1 + p for device panel p.
bool WriteSavedId(const std::filesystem::path& file, int index, int32_t id);
// The same from an edit's text: its decimal value, 0 when it is empty or not a number.
bool WriteSavedIdText(const std::filesystem::path& file, int index, std::string_view text);
bool WriteSavedLanguage(const std::filesystem::path& file, int32_t language_index);
// The first 15 bytes of the text in code page 936, zero-padded to 15 (no terminator when full).
bool WriteSavedIpAddress(const std::filesystem::path& file, std::string_view utf8_text);
bool WriteDayFlag(const std::filesystem::path& file, int day, bool checked);
bool WriteOnFlag(const std::filesystem::path& file, int day, int slot, bool checked);
bool WriteOffFlag(const std::filesystem::path& file, int day, int slot, bool checked);
// picker_value is the entry picker's whole value; the record's date part is 0.0.
bool WriteOnTime(const std::filesystem::path& file, int day, int slot, double picker_value);
bool WriteOffTime(const std::filesystem::path& file, int day, int slot, double picker_value);

}  // namespace settings
