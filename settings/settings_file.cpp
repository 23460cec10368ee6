#include "settings/settings_file.h"

#include <bit>
#include <cmath>
#include <cstring>

#include "platform/files/settings_directory.h"

namespace settings {

void PutInt32(std::span<uint8_t> out, int32_t value) {
    const auto u = static_cast<uint32_t>(value);
    for (int i = 0; i < 4; ++i) {
        out[i] = static_cast<uint8_t>(u >> (8 * i));
    }
}

int32_t GetInt32(std::span<const uint8_t> in) {
    uint32_t u = 0;
    for (int i = 0; i < 4; ++i) {
        u |= static_cast<uint32_t>(in[i]) << (8 * i);
    }
    return static_cast<int32_t>(u);
}

void PutFloat64(std::span<uint8_t> out, double value) {
    const auto u = std::bit_cast<uint64_t>(value);
    for (int i = 0; i < 8; ++i) {
        out[i] = static_cast<uint8_t>(u >> (8 * i));
    }
}

double GetFloat64(std::span<const uint8_t> in) {
    uint64_t u = 0;
    for (int i = 0; i < 8; ++i) {
        u |= static_cast<uint64_t>(in[i]) << (8 * i);
    }
    return std::bit_cast<double>(u);
}

std::array<uint8_t, TimeRecord::kSize> TimeRecord::encode() const {
    std::array<uint8_t, kSize> bytes{};
    PutFloat64(std::span(bytes).subspan(0, 8), date_part);
    PutFloat64(std::span(bytes).subspan(8, 8), time_part);
    return bytes;
}

TimeRecord TimeRecord::decode(std::span<const uint8_t, kSize> bytes) {
    return {GetFloat64(bytes.subspan(0, 8)), GetFloat64(bytes.subspan(8, 8))};
}

std::array<uint8_t, SettingsFile::kSize> DefaultSettingsImage(double startup_day_count) {
    std::array<uint8_t, SettingsFile::kSize> image{};
    const std::span<uint8_t> all(image);
    PutInt32(all.subspan(SettingsFile::PortNumber, 4), kDefaultPortNumber);
    const auto alarm = TimeRecord{kDefaultAlarmDate, kDefaultAlarmTime}.encode();
    std::memcpy(&image[SettingsFile::OpenAlarm], alarm.data(), alarm.size());
    std::memcpy(&image[SettingsFile::CloseAlarm], alarm.data(), alarm.size());
    for (int i = 0; i < SettingsFile::kSavedIds; ++i) {
        PutInt32(all.subspan(SettingsFile::SavedIds(i), 4), 0);
    }
    PutInt32(all.subspan(SettingsFile::SavedLanguage, 4), kDefaultLanguage);
    std::memcpy(&image[SettingsFile::SavedIpAddress], kDefaultIpAddress.data(),
                kDefaultIpAddress.size());
    const auto entry = TimeRecord{0.0, startup_day_count}.encode();
    for (int d = 0; d < SettingsFile::kDays; ++d) {
        PutInt32(all.subspan(SettingsFile::DayFlag(d), 4), FLAG_OFF);
        for (int s = 0; s < SettingsFile::kSlots; ++s) {
            PutInt32(all.subspan(SettingsFile::OnFlag(d, s), 4), FLAG_OFF);
            PutInt32(all.subspan(SettingsFile::OffFlag(d, s), 4), FLAG_OFF);
            std::memcpy(&image[SettingsFile::OnTime(d, s)], entry.data(), entry.size());
            std::memcpy(&image[SettingsFile::OffTime(d, s)], entry.data(), entry.size());
        }
    }
    return image;
}

std::filesystem::path SettingsFilePath() {
    return files::ensure_settings_directory() / SettingsFile::kFileName;
}

bool IsUsableDayCount(double days) {
    // 0001-01-01 is day -693593, 9999-12-31 is day 2958465.
    return std::isfinite(days) && days > -693594.0 && days < 2958466.0;
}

double DateOf(double days) {
    return std::trunc(days);
}

double TimeOfDayOf(double days) {
    const double t = std::fabs(days - std::trunc(days));
    return t < 1.0 ? t : 0.0;
}

}  // namespace settings
