#include "settings/settings_writers.h"

#include <algorithm>
#include <array>
#include <string>

#include "platform/files/exclusive_file.h"
#include "platform/text/code_page.h"
#include "platform/text/number_format.h"
#include "settings/settings_file.h"

namespace settings {

namespace {

bool valid_day(int d) {
    return d >= 0 && d < SettingsFile::kDays;
}
bool valid_entry(int d, int s) {
    return valid_day(d) && s >= 0 && s < SettingsFile::kSlots;
}

bool write_record(const std::filesystem::path& file, size_t offset, const TimeRecord& record) {
    const auto bytes = record.encode();
    return WriteSettingsBytes(file, offset, bytes);
}

int32_t flag(bool checked) {
    return checked ? FLAG_ON : FLAG_OFF;
}

}  // namespace

bool WriteSettingsBytes(const std::filesystem::path& file, size_t offset,
                        std::span<const uint8_t> bytes) {
    if (offset > SettingsFile::kSize || bytes.size() > SettingsFile::kSize - offset) {
        return false;
    }
    files::ExclusiveFile f = files::ExclusiveFile::open(file, files::Disposition::OpenExisting);
    if (!f.valid() || !f.seek(static_cast<int64_t>(offset))) {
        return false;
    }
    const bool written = f.write(bytes.data(), bytes.size()) == bytes.size();
    f.close();
    return written;
}

bool WriteSettingsField(const std::filesystem::path& file, size_t offset, int32_t value,
                        int width) {
    if (width < 1 || width > 4) {
        return false;
    }
    std::array<uint8_t, 4> bytes{};
    PutInt32(bytes, value);
    return WriteSettingsBytes(file, offset, std::span(bytes).first(static_cast<size_t>(width)));
}

bool WritePortNumber(const std::filesystem::path& file, int32_t port_number) {
    return WriteSettingsField(file, SettingsFile::PortNumber, port_number);
}

bool WriteOpenAlarm(const std::filesystem::path& file, double date_value, double time_value) {
    return write_record(file, SettingsFile::OpenAlarm, {date_value, time_value});
}

bool WriteCloseAlarm(const std::filesystem::path& file, double date_value, double time_value) {
    return write_record(file, SettingsFile::CloseAlarm, {date_value, time_value});
}

bool WriteSavedId(const std::filesystem::path& file, int index, int32_t id) {
    if (index < 0 || index >= SettingsFile::kSavedIds) {
        return false;
    }
    return WriteSettingsField(file, SettingsFile::SavedIds(index), id);
}

bool WriteSavedIdText(const std::filesystem::path& file, int index, std::string_view text) {
    return WriteSavedId(file, index, text::str_to_int_def(text, 0));
}

bool WriteSavedLanguage(const std::filesystem::path& file, int32_t language_index) {
    return WriteSettingsField(file, SettingsFile::SavedLanguage, language_index);
}

bool WriteSavedIpAddress(const std::filesystem::path& file, std::string_view utf8_text) {
    const std::string ansi = text::utf8_to_gbk(utf8_text);
    std::array<uint8_t, SettingsFile::kIpAddressSize> field{};
    // Whole characters only: a double-byte character that does not fit is left out instead of
    // cut after its lead byte, which would read back as a '?' that was never typed.
    size_t fits = 0;
    while (fits < ansi.size()) {
        const size_t width = static_cast<uint8_t>(ansi[fits]) >= 0x81 ? 2 : 1;
        if (fits + width > field.size())
            break;
        fits += width;
    }
    std::copy_n(ansi.begin(), std::min(fits, ansi.size()), field.begin());
    return WriteSettingsBytes(file, SettingsFile::SavedIpAddress, field);
}

bool WriteDayFlag(const std::filesystem::path& file, int day, bool checked) {
    return valid_day(day) && WriteSettingsField(file, SettingsFile::DayFlag(day), flag(checked));
}

bool WriteOnFlag(const std::filesystem::path& file, int day, int slot, bool checked) {
    return valid_entry(day, slot) &&
           WriteSettingsField(file, SettingsFile::OnFlag(day, slot), flag(checked));
}

bool WriteOffFlag(const std::filesystem::path& file, int day, int slot, bool checked) {
    return valid_entry(day, slot) &&
           WriteSettingsField(file, SettingsFile::OffFlag(day, slot), flag(checked));
}

bool WriteOnTime(const std::filesystem::path& file, int day, int slot, double picker_value) {
    return valid_entry(day, slot) &&
           write_record(file, SettingsFile::OnTime(day, slot), {0.0, picker_value});
}

bool WriteOffTime(const std::filesystem::path& file, int day, int slot, double picker_value) {
    return valid_entry(day, slot) &&
           write_record(file, SettingsFile::OffTime(day, slot), {0.0, picker_value});
}

}  // namespace settings
