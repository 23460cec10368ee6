#include "link/com_port_options.h"

#include <gtest/gtest.h>

#include "platform/serial/com_ports.h"

namespace {

class ComPortOptionsTest : public ::testing::Test {
  protected:
    void TearDown() override { serial::clear_com_mappings(); }
};

TEST_F(ComPortOptionsTest, MapsEveryPortAndKeepsTheOtherArguments) {
    const auto result = devlink::TakeComOptions(
        {"--headless", "--com", "3=/dev/pts/9", "--screen", "1024x768", "--com=8=/tmp/x y"});
    EXPECT_EQ(result.error, "");
    EXPECT_EQ(result.rest, (std::vector<std::string>{"--headless", "--screen", "1024x768"}));
    EXPECT_EQ(serial::com_device_path(3), "/dev/pts/9");
    EXPECT_EQ(serial::com_device_path(8), "/tmp/x y");
}

TEST_F(ComPortOptionsTest, RefusesMalformedMappings) {
    for (const auto& args : std::vector<std::vector<std::string>>{{"--com"},
                                                                  {"--com", "3"},
                                                                  {"--com", "=/dev/x"},
                                                                  {"--com=0=/dev/x"},
                                                                  {"--com", "3="},
                                                                  {"--com", "x=/dev/x"}}) {
        const auto result = devlink::TakeComOptions(args);
        EXPECT_FALSE(result.error.empty()) << args.back();
    }
    // A later good mapping is not applied after a bad one.
    const auto result = devlink::TakeComOptions({"--com", "bad", "--com", "2=/dev/pts/4"});
    EXPECT_FALSE(result.error.empty());
    EXPECT_NE(serial::com_device_path(2), "/dev/pts/4");
}

}  // namespace
