#pragma once

#include <filesystem>
#include <string>

namespace files {

// The directory that stands in for the Windows directory, where the settings file lives. In
// order of precedence: the directory given on the command line (--settings-dir DIR, handed in
// through set_settings_directory), $VELMOR_SETTINGS_DIR, $XDG_CONFIG_HOME/velmor-manager, and
// ~/.config/velmor-manager. Empty variables count as unset.
std::filesystem::path settings_directory();

// The same, created (with its parents) when it is missing. A directory that cannot be created
// is still returned; opening files in it then fails, which the settings code treats as a file
// it cannot open.
std::filesystem::path ensure_settings_directory();

// Sets or (with an empty path) clears the command-line directory.
void set_settings_directory(const std::filesystem::path& dir);

}  // namespace files
