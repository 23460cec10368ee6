// A settings file of any length and content: loading must not fault, must leave the file
// byte for byte as it was, and the parse must agree with what loading the file gives. The
// weekly schedule's records give a time of day a picker can show or nothing, and its flags
// check a box only when they hold exactly 85.
#include <stdlib.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "platform/clock/clock.h"
#include "settings/settings_loader.h"

namespace {

// The file every input is written to, in a directory of its own that goes when the run ends.
class WorkFile {
  public:
    WorkFile() {
        std::string pattern =
            (std::filesystem::temp_directory_path() / "velmor-fuzz-XXXXXX").string();
        dir_ = mkdtemp(pattern.data());
    }
    ~WorkFile() {
        std::error_code ec;
        std::filesystem::remove_all(dir_, ec);
    }
    std::filesystem::path path() const { return dir_ / "zuvo_16.dat"; }

  private:
    std::filesystem::path dir_;
};

const std::filesystem::path& work_file() {
    static const WorkFile dir;
    static const std::filesystem::path file = dir.path();
    return file;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const auto& file = work_file();
    {
        std::ofstream out(file, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    }
    const settings::LoadedSettings loaded = settings::LoadSettings(file, 46000.5);
    std::vector<uint8_t> after;
    {
        std::ifstream in(file, std::ios::binary);
        after.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }
    if (after != std::vector<uint8_t>(data, data + size)) {
        std::abort();  // loading changed the file
    }
    if (loaded.source != settings::LoadedSettings::Source::File) {
        std::abort();
    }
    const auto parsed = settings::ParseSettings({data, size});
    if (parsed.saved_ip_address.value != loaded.saved_ip_address.value ||
        parsed.port_number.present != (size >= 4)) {
        std::abort();
    }
    const std::span<const uint8_t> bytes(data, size);
    auto stored_flag = [&](size_t offset) {
        return offset + 4 <= size &&
               settings::GetInt32(bytes.subspan(offset, 4)) == settings::FLAG_ON;
    };
    auto usable_time = [](const settings::Loaded<double>& t) {
        if (!t.present) {
            return true;  // the picker keeps the time it was built with
        }
        if (!(t.value >= 0.0 && t.value < 1.0)) {
            return false;
        }
        return clk::is_valid(clk::from_day_count(1.0 + t.value));
    };
    for (int d = 0; d < settings::SettingsFile::kDays; ++d) {
        if (loaded.day_flag[d].value != stored_flag(settings::SettingsFile::DayFlag(d))) {
            std::abort();
        }
        for (int s = 0; s < settings::SettingsFile::kSlots; ++s) {
            if (loaded.on_flag[d][s].value != stored_flag(settings::SettingsFile::OnFlag(d, s)) ||
                loaded.off_flag[d][s].value != stored_flag(settings::SettingsFile::OffFlag(d, s)) ||
                !usable_time(loaded.on_time[d][s]) || !usable_time(loaded.off_time[d][s])) {
                std::abort();
            }
        }
    }
    for (const auto& id : loaded.saved_ids) {
        if (id.value.size() > 3) {
            std::abort();  // only 1 to 254 show as text
        }
    }
    return 0;
}
