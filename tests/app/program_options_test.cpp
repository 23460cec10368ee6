#include "app/program_options.h"

#include <gtest/gtest.h>

#include "platform/serial/com_ports.h"
#include "skin/engine/startup_skin.h"

namespace {

TEST(ProgramOptions, TakesTheConsolesOwnOptionsAndLeavesTheRest) {
    const ProgramOptions o = TakeProgramOptions(
        {"--headless", "--settings-dir", "/tmp/a b", "--com", "2=/dev/pts/7", "--script", "s"});
    EXPECT_EQ(o.error, "");
    EXPECT_EQ(o.settings_dir, "/tmp/a b");
    EXPECT_EQ(o.rest, (std::vector<std::string>{"--headless", "--script", "s"}));
    EXPECT_EQ(serial::com_device_path(2), "/dev/pts/7");
    serial::clear_com_mappings();

    EXPECT_EQ(TakeProgramOptions({"--settings-dir=/x"}).settings_dir, "/x");
}

TEST(ProgramOptions, RefusesOptionsWithoutTheirValue) {
    EXPECT_FALSE(TakeProgramOptions({"--settings-dir"}).error.empty());
    EXPECT_FALSE(TakeProgramOptions({"--settings-dir", ""}).error.empty());
    EXPECT_FALSE(TakeProgramOptions({"--settings-dir="}).error.empty());
    EXPECT_FALSE(TakeProgramOptions({"--com", "9"}).error.empty());
    // The value of --settings-dir is never read as an option of its own.
    const ProgramOptions o = TakeProgramOptions({"--settings-dir", "--com"});
    EXPECT_EQ(o.error, "");
    EXPECT_EQ(o.settings_dir, "--com");
}

}  // namespace

namespace {

TEST(ProgramOptions, TakesTheSkinSwitches) {
    const ProgramOptions o = TakeProgramOptions({"--no-skin", "--skin", "a.skn", "--headless"});
    EXPECT_EQ(o.error, "");
    EXPECT_TRUE(o.no_skin);
    EXPECT_EQ(o.skin_file, "a.skn");
    EXPECT_EQ(o.rest, (std::vector<std::string>{"--headless"}));
    EXPECT_EQ(TakeProgramOptions({"--skin=b.skn"}).skin_file, "b.skn");
    EXPECT_FALSE(TakeProgramOptions({"--skin"}).error.empty());
    EXPECT_FALSE(TakeProgramOptions({"--skin="}).error.empty());
    TakeProgramOptions({});  // back to the built-in skin for the windows of later tests
    EXPECT_FALSE(skin::startup_skin_options().no_skin);
    EXPECT_EQ(skin::startup_skin_options().skin_file, "");
}

}  // namespace
