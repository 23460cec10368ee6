#include "tools/sequencer_sim/sim_options.h"

#include <gtest/gtest.h>

namespace sequencer_sim {
namespace {

ParsedOptions parse(std::vector<std::string> args) {
    return parse_options(args);
}

TEST(SimOptionsTest, DefaultsAndValues) {
    auto p = parse({});
    ASSERT_EQ(p.error, "");
    EXPECT_EQ(p.options.tcp_host, "127.0.0.1");
    EXPECT_EQ(p.options.tcp_port, 8080);
    EXPECT_EQ(p.options.device_ids, std::vector<uint8_t>{1});

    p = parse({"--tcp", "127.0.0.1:0", "--devices=3,7,255", "--drop", "25", "--split=40",
               "--state-report-code", "B1", "--time-scale", "2.5", "--pace"});
    ASSERT_EQ(p.error, "");
    EXPECT_EQ(p.options.tcp_port, 0);
    EXPECT_EQ(p.options.device_ids, (std::vector<uint8_t>{3, 7, 255}));
    EXPECT_EQ(p.options.faults.drop_percent, 25);
    EXPECT_EQ(p.options.split_pause_ms, 40);
    EXPECT_EQ(p.options.state_report_code, 0xB1);
    EXPECT_DOUBLE_EQ(p.options.time_scale, 2.5);
    EXPECT_TRUE(p.options.pace);
}

TEST(SimOptionsTest, RefusesBadInputAndRemoteHosts) {
    for (const auto& args : std::vector<std::vector<std::string>>{{"--devices", "0"},
                                                                  {"--devices", "1,,2"},
                                                                  {"--devices", "256"},
                                                                  {"--tcp", "127.0.0.1"},
                                                                  {"--tcp", "127.0.0.1:70000"},
                                                                  {"--drop", "101"},
                                                                  {"--drop"},
                                                                  {"--pace=1"},
                                                                  {"--time-scale", "0"},
                                                                  {"--tcp", "127.0.0.1:1", "--pty"},
                                                                  {"--bogus"}}) {
        EXPECT_NE(parse(args).error, "") << args[0];
    }
    EXPECT_NE(parse({"--tcp", "0.0.0.0:8080"}).error.find("--allow-remote"), std::string::npos);
    EXPECT_EQ(parse({"--tcp", "0.0.0.0:8080", "--allow-remote"}).error, "");
    EXPECT_EQ(parse({"--tcp", "localhost:1"}).error, "");
    EXPECT_TRUE(is_loopback_host("127.8.9.10"));
    EXPECT_FALSE(is_loopback_host("128.0.0.1"));
}

}  // namespace
}  // namespace sequencer_sim
