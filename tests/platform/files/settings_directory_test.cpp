#include <gtest/gtest.h>

#include <cstdlib>
#include <optional>
#include <string>

#include "platform/files/settings_directory.h"
#include "temp_dir.h"

namespace files {
namespace {

namespace fs = std::filesystem;

// Sets an environment variable for the life of the object and restores it afterwards.
class ScopedEnv {
  public:
    ScopedEnv(const char* name, const char* value) : name_(name) {
        if (const char* old = std::getenv(name)) {
            old_ = old;
        }
        if (value != nullptr) {
            setenv(name, value, 1);
        } else {
            unsetenv(name);
        }
    }
    ~ScopedEnv() {
        if (old_) {
            setenv(name_, old_->c_str(), 1);
        } else {
            unsetenv(name_);
        }
    }

  private:
    const char* name_;
    std::optional<std::string> old_;
};

TEST(SettingsDirectory, PrecedenceOfCommandLineEnvironmentAndHome) {
    TempDir dir;
    const std::string root = dir.path().string();
    ScopedEnv home("HOME", root.c_str());
    ScopedEnv xdg("XDG_CONFIG_HOME", nullptr);
    ScopedEnv velmor("VELMOR_SETTINGS_DIR", nullptr);
    set_settings_directory({});

    EXPECT_EQ(settings_directory(), dir.path() / ".config" / "velmor-manager");
    {
        ScopedEnv empty_xdg("XDG_CONFIG_HOME", "");  // empty counts as unset
        EXPECT_EQ(settings_directory(), dir.path() / ".config" / "velmor-manager");
    }
    ScopedEnv xdg_set("XDG_CONFIG_HOME", (root + "/xdg").c_str());
    EXPECT_EQ(settings_directory(), dir.path() / "xdg" / "velmor-manager");
    ScopedEnv velmor_set("VELMOR_SETTINGS_DIR", (root + "/env").c_str());
    EXPECT_EQ(settings_directory(), dir.path() / "env");
    set_settings_directory(dir.path() / "cli");
    EXPECT_EQ(settings_directory(), dir.path() / "cli");

    EXPECT_FALSE(fs::exists(dir.path() / "cli"));
    EXPECT_EQ(ensure_settings_directory(), dir.path() / "cli");
    EXPECT_TRUE(fs::is_directory(dir.path() / "cli"));
    set_settings_directory({});
    EXPECT_EQ(settings_directory(), dir.path() / "env");
}

}  // namespace
}  // namespace files
