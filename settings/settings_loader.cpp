#include "settings/settings_loader.h"

#include <cerrno>
#include <vector>

#include "platform/files/exclusive_file.h"
#include "platform/text/code_page.h"

namespace settings {

namespace {

// A view of the file's bytes that hands out a field only when it lies wholly inside them.
class FieldReader {
  public:
    explicit FieldReader(std::span<const uint8_t> bytes) : bytes_(bytes) {}

    bool has(size_t offset, size_t width) const {
        return offset <= bytes_.size() && width <= bytes_.size() - offset;
    }
    Loaded<int32_t> int32(size_t offset) const {
        if (!has(offset, 4)) {
            return {};
        }
        return {true, GetInt32(bytes_.subspan(offset, 4))};
    }
    Loaded<bool> flag(size_t offset) const {
        const auto v = int32(offset);
        return {v.present, v.present && v.value == FLAG_ON};
    }
    Loaded<std::string> id_text(size_t offset) const {
        const auto v = int32(offset);
        if (!v.present) {
            return {};
        }
        return {true, v.value >= 1 && v.value <= 254 ? std::to_string(v.value) : std::string()};
    }
    // The date of a record's date part (first 8 bytes) or the time of day of its time part.
    Loaded<double> date_of(size_t record) const { return day_count(record, true); }
    Loaded<double> time_of(size_t record) const { return day_count(record + 8, false); }

    Loaded<std::string> ip_address(size_t offset) const {
        if (!has(offset, SettingsFile::kIpAddressSize)) {
            return {};
        }
        const auto field = bytes_.subspan(offset, SettingsFile::kIpAddressSize);
        std::string ansi;
        for (uint8_t b : field) {
            if (b == 0) {
                break;
            }
            ansi.push_back(static_cast<char>(b));
        }
        return {true, text::gbk_to_utf8(ansi)};
    }

  private:
    Loaded<double> day_count(size_t offset, bool date) const {
        if (!has(offset, 8)) {
            return {};
        }
        const double days = GetFloat64(bytes_.subspan(offset, 8));
        // A value that is no date (NaN, infinite, out of the calendar) keeps the picker as it
        // was instead of giving it a nonsense value.
        if (!IsUsableDayCount(days)) {
            return {};
        }
        return {true, date ? DateOf(days) : TimeOfDayOf(days)};
    }

    std::span<const uint8_t> bytes_;
};

}  // namespace

LoadedSettings ParseSettings(std::span<const uint8_t> bytes) {
    const FieldReader in(bytes);
    LoadedSettings out;
    out.port_number = in.int32(SettingsFile::PortNumber);
    out.open_alarm_date = in.date_of(SettingsFile::OpenAlarm);
    out.open_alarm_time = in.time_of(SettingsFile::OpenAlarm);
    out.close_alarm_date = in.date_of(SettingsFile::CloseAlarm);
    out.close_alarm_time = in.time_of(SettingsFile::CloseAlarm);
    for (int i = 0; i < SettingsFile::kSavedIds; ++i) {
        out.saved_ids[i] = in.id_text(SettingsFile::SavedIds(i));
    }
    out.saved_language = in.int32(SettingsFile::SavedLanguage);
    out.saved_ip_address = in.ip_address(SettingsFile::SavedIpAddress);
    for (int d = 0; d < SettingsFile::kDays; ++d) {
        out.day_flag[d] = in.flag(SettingsFile::DayFlag(d));
        for (int s = 0; s < SettingsFile::kSlots; ++s) {
            out.on_flag[d][s] = in.flag(SettingsFile::OnFlag(d, s));
            out.off_flag[d][s] = in.flag(SettingsFile::OffFlag(d, s));
            out.on_time[d][s] = in.time_of(SettingsFile::OnTime(d, s));
            out.off_time[d][s] = in.time_of(SettingsFile::OffTime(d, s));
        }
    }
    return out;
}

LoadedSettings LoadSettings(const std::filesystem::path& file, double startup_day_count) {
    const auto defaults = DefaultSettingsImage(startup_day_count);
    files::ExclusiveFile f = files::ExclusiveFile::open(file, files::Disposition::OpenExisting);
    LoadedSettings::Source source = LoadedSettings::Source::File;
    if (!f.valid()) {
        // Only a file that does not exist is created: one that exists but is held elsewhere or
        // may only be read keeps its bytes.
        if (f.error() != ENOENT) {
            LoadedSettings out = ParseSettings(defaults);
            out.source = LoadedSettings::Source::Defaults;
            return out;
        }
        f = files::ExclusiveFile::open(file, files::Disposition::CreateAlways);
        if (!f.valid() || f.write(defaults.data(), defaults.size()) != defaults.size() ||
            !f.seek(0)) {
            LoadedSettings out = ParseSettings(defaults);
            out.source = LoadedSettings::Source::Defaults;
            return out;
        }
        source = LoadedSettings::Source::Created;
    }
    // Only the fixed layout matters; bytes past it are never looked at.
    std::vector<uint8_t> bytes(SettingsFile::kSize);
    bytes.resize(f.read(bytes.data(), bytes.size()));
    f.close();
    LoadedSettings out = ParseSettings(bytes);
    out.source = source;
    return out;
}

}  // namespace settings
