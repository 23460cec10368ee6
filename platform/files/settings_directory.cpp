#include "platform/files/settings_directory.h"

#include <pwd.h>
#include <unistd.h>

#include <cstdlib>
#include <system_error>

namespace files {

namespace {

std::filesystem::path& command_line_directory() {
    static std::filesystem::path dir;
    return dir;
}

const char* env(const char* name) {
    const char* value = std::getenv(name);
    return value != nullptr && *value != '\0' ? value : nullptr;
}

std::filesystem::path home_directory() {
    if (const char* home = env("HOME")) {
        return home;
    }
    if (const passwd* pw = getpwuid(getuid()); pw != nullptr && pw->pw_dir != nullptr) {
        return pw->pw_dir;
    }
    return ".";
}

}  // namespace

std::filesystem::path settings_directory() {
    if (!command_line_directory().empty()) {
        return command_line_directory();
    }
    if (const char* dir = env("VELMOR_SETTINGS_DIR")) {
        return dir;
    }
    if (const char* config = env("XDG_CONFIG_HOME")) {
        return std::filesystem::path(config) / "velmor-manager";
    }
    return home_directory() / ".config" / "velmor-manager";
}

std::filesystem::path ensure_settings_directory() {
    const std::filesystem::path dir = settings_directory();
    std::error_code ec;
    std::filesystem::create_directories(dir, ec);
    return dir;
}

void set_settings_directory(const std::filesystem::path& dir) {
    command_line_directory() = dir;
}

}  // namespace files
