// The velmor-ctl program against the real sequencer-sim process, over TCP on loopback and over
// a paced pseudo-terminal: what it finds, what it changes on the simulated devices, the frames
// the simulator receives, and its exit statuses.

#include <stdlib.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>

#include "ctl_process.h"
#include "sim_process.h"

namespace {

using sequencer_sim::testing::read_lines;
using sequencer_sim::testing::SimProcess;
using velmor_ctl::testing::CtlRun;

class CtlSimTest : public ::testing::Test {
  protected:
    void SetUp() override {
        dir_ = std::filesystem::temp_directory_path() /
               ("velmor-ctl-test-" + std::to_string(::getpid()) + "-" +
                ::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::remove_all(dir_);
        std::filesystem::create_directories(dir_);
    }
    void TearDown() override {
        sim_.reset();
        std::filesystem::remove_all(dir_);
    }

    std::string LogPath() const { return (dir_ / "sim.log").string(); }

    void StartTcp(std::vector<std::string> options) {
        options.insert(options.end(), {"--tcp", "127.0.0.1:0", "--log", LogPath()});
        sim_ = std::make_unique<SimProcess>(options);
        ASSERT_NE(sim_->port(), 0) << sim_->first_line();
        link_ = {"--tcp", "127.0.0.1:" + std::to_string(sim_->port())};
    }
    void StartPty(std::vector<std::string> options) {
        options.insert(options.end(), {"--pty", "--pace", "--log", LogPath()});
        sim_ = std::make_unique<SimProcess>(options);
        ASSERT_FALSE(sim_->pty_path().empty()) << sim_->first_line();
        link_ = {"--serial", sim_->pty_path()};
    }

    // Runs velmor-ctl with the link and the given arguments and waits for it to end.
    CtlRun Ctl(std::vector<std::string> args, bool with_link = true) {
        if (with_link) {
            args.insert(args.begin(), link_.begin(), link_.end());
        }
        return velmor_ctl::testing::RunCtl(std::move(args), dir_);
    }

    // The frames the simulator received.
    std::vector<std::string> Received() const {
        std::vector<std::string> rx;
        for (const std::string& line : read_lines(LogPath())) {
            if (line.rfind("rx ", 0) == 0) {
                rx.push_back(line);
            }
        }
        return rx;
    }

    std::filesystem::path dir_;
    std::unique_ptr<SimProcess> sim_;
    std::vector<std::string> link_;
};

TEST_F(CtlSimTest, ScanFindsExactlyTheSimulatedDevices) {
    StartTcp({"--devices", "2,5,250"});
    CtlRun r = Ctl({"--timeout", "50", "scan"});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "devices: 2 5 250  (3 of 255 IDs answered)\n");
    EXPECT_EQ(Received().size(), 255u);

    r = Ctl({"--json", "--timeout", "50", "scan", "3-20"});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out,
              "{\"command\":\"scan\",\"ok\":true,\"first\":3,\"last\":20,\"devices\":[5]}\n");

    r = Ctl({"--timeout", "50", "scan", "6-9"});
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("no device answered"), std::string::npos);
}

TEST_F(CtlSimTest, ASilentIdTimesOutWithStatusOne) {
    StartTcp({"--devices", "1"});
    const CtlRun r = Ctl({"--timeout", "100", "status", "9"});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.out, "");
    EXPECT_NE(r.err.find("device 9 did not answer within 100 ms"), std::string::npos) << r.err;
}

TEST_F(CtlSimTest, BadArgumentsGiveStatusTwoBeforeAnythingIsSent) {
    StartTcp({"--devices", "1"});
    for (const std::vector<std::string>& args : std::vector<std::vector<std::string>>{
             {"status", "0"},
             {"on", "1", "CH17"},
             {"delays", "1", "--on", "CH1=61"},
             {"mask", "1", "LCD", "on"},
             {"frobnicate"},
         }) {
        const CtlRun r = Ctl(args);
        EXPECT_EQ(r.status, 2) << args[0];
        EXPECT_NE(r.err.find("usage: velmor-ctl"), std::string::npos) << r.err;
    }
    EXPECT_EQ(Ctl({"--tcp", "no such host", "id"}, false).status, 2);
    EXPECT_EQ(Ctl({"--tcp", "127.0.0.1:99999", "id"}, false).status, 2);
    EXPECT_TRUE(Received().empty());
    // A link that cannot be opened is status 3.
    const CtlRun r = Ctl({"--serial", (dir_ / "no-such-port").string(), "id"}, false);
    EXPECT_EQ(r.status, 3);
    EXPECT_NE(r.err.find("could not be opened"), std::string::npos);
}

TEST_F(CtlSimTest, SwitchingMasksLockAndCascadeChangeTheDeviceWithTheConsolesFrames) {
    StartTcp({"--devices", "3,12", "--time-scale", "1000"});
    EXPECT_EQ(Ctl({"on", "3", "LCD", "CH1", "16"}).status, 0);
    CtlRun r = Ctl({"status", "3"});
    EXPECT_EQ(r.out, "device   3  idle     unlocked  on: LCD, CH1, CH16\n");
    EXPECT_EQ(Ctl({"mask", "3", "CH2", "on"}).status, 0);
    EXPECT_EQ(Ctl({"on", "3", "all"}).status, 0);
    EXPECT_EQ(Ctl({"off", "3", "CH1"}).status, 0);
    r = Ctl({"--json", "status", "3"});
    EXPECT_NE(r.out.find("\"on\":[\"LCD\",\"CH3\",\"CH4\",\"CH5\""), std::string::npos) << r.out;
    EXPECT_EQ(Ctl({"lock", "3", "on"}).status, 0);
    EXPECT_EQ(Ctl({"status", "3"}).out, "device   3  idle     locked    on: LCD, CH3-CH16\n");
    EXPECT_EQ(Ctl({"lock", "3", "off"}).status, 0);
    EXPECT_EQ(Ctl({"cascade", "3", "on", "--start", "CH5"}).status, 0);
    EXPECT_EQ(Ctl({"cascade", "3", "off"}).status, 0);
    r = Ctl({"set-id", "13"}, true);
    // Two devices share the line: the read goes to the first one, as on the console.
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "device 3 is now device 13\n");
    EXPECT_EQ(Ctl({"set-id", "3", "--current", "13"}).status, 0);
    EXPECT_EQ(Ctl({"broadcast-off"}).status, 0);
    EXPECT_EQ(Ctl({"status", "3"}).out, "device   3  idle     unlocked  on: none\n");

    // The same bytes as the console's buttons send for the same actions: ChannelOn with the
    // channel in byte 3, SetMask with index m = CH - 1, the cascade with the start channel
    // (read from the device when not given), WriteId after ReadId, the broadcast to ID 0.
    const std::vector<std::string> expected = {
        "rx 55 03 A0 00 00 A3", "rx 55 03 A0 00 01 A2", "rx 55 03 A0 00 10 B3",
        "rx 55 03 A8 00 00 AB", "rx 55 03 AF 01 AA 07", "rx 55 03 A2 00 00 A1",
        "rx 55 03 A1 00 01 A3", "rx 55 03 A8 00 00 AB", "rx 55 03 AE AA 00 07",
        "rx 55 03 A8 00 00 AB", "rx 55 03 AE 55 00 F8", "rx 55 03 A6 02 05 A2",
        "rx 55 03 A9 00 00 AA", "rx 55 03 A6 05 05 A5", "rx 55 00 AB 00 00 AB",
        "rx 55 03 AA 00 0D A4", "rx 55 0D AA 00 03 A4", "rx 55 00 AD 00 00 AD",
        "rx 55 03 A8 00 00 AB",
    };
    EXPECT_EQ(Received(), expected);
}

TEST_F(CtlSimTest, DelaysAreReadMergedWrittenAndShown) {
    StartTcp({"--devices", "1,3"});
    CtlRun r = Ctl({"delays", "3", "--on", "all=60m,LCD=0", "--off", "CH16=2.5"});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_NE(r.out.find("LCD      0s        1s\nCH1      60m       1s\n"), std::string::npos)
        << r.out;
    EXPECT_NE(r.out.find("CH16     60m       2.5s\n"), std::string::npos);
    r = Ctl({"--json", "settings", "3"});
    EXPECT_NE(r.out.find("\"on_delays\":{\"LCD\":\"0s\",\"CH1\":\"60m\""), std::string::npos);
    const auto rx = Received();
    ASSERT_EQ(rx.size(), 3u);
    EXPECT_EQ(rx[0], "rx 55 03 A9 00 00 AA");
    // LCD 0 s, CH1-CH16 60 minutes (F8); the power-off row as read (02) but CH16 2.5 s (05).
    std::string write = "rx 56 03 A7 00";
    for (int i = 0; i < 16; ++i)
        write += " F8";
    for (int i = 0; i < 16; ++i)
        write += " 02";
    write += " 05";
    EXPECT_EQ(rx[1].substr(0, write.size()), write);
    EXPECT_EQ(rx[1].size(), 2 + 3 * 38u);
}

TEST_F(CtlSimTest, WatchPrintsTheStepsOfARunningSequence) {
    // 0.5 s per channel made eight times shorter: a step every 62.5 ms, about 1 s in all.
    StartTcp({"--devices", "4", "--time-scale", "8"});
    ASSERT_EQ(Ctl({"sequence-on", "4"}).status, 0);
    const CtlRun r = Ctl({"watch", "4", "--count", "20"});
    EXPECT_EQ(r.status, 0) << r.err;
    std::vector<std::string> lines;
    std::istringstream in(r.out);
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    ASSERT_GE(lines.size(), 4u) << r.out;
    int running = 0;
    for (const auto& line : lines)
        running += line.find(" running ") != std::string::npos;
    EXPECT_GE(running, 3) << r.out;
    EXPECT_NE(lines.back().find("idle     unlocked  on: LCD, CH1-CH16"), std::string::npos)
        << r.out;
    // A change per line: no two lines the same after their time of day.
    for (size_t i = 1; i < lines.size(); ++i)
        EXPECT_NE(lines[i].substr(12), lines[i - 1].substr(12));
}

TEST_F(CtlSimTest, OverAPacedPseudoTerminal) {
    StartPty({"--devices", "1,3"});
    CtlRun r = Ctl({"--timeout", "150", "scan", "1-5"});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "devices: 1 3  (2 of 5 IDs answered)\n");
    EXPECT_EQ(Ctl({"on", "3", "CH2"}).status, 0);
    r = Ctl({"settings", "3"});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out.substr(0, 50), "device 3: cascade off, start channel LCD, unlocked");
    EXPECT_EQ(Ctl({"status", "3"}).out, "device   3  idle     unlocked  on: CH2\n");
    // --com N finds its device as the console's ports do, in $VELMOR_COMN.
    ::setenv("VELMOR_COM7", sim_->pty_path().c_str(), 1);
    r = Ctl({"--com", "7", "status", "1"}, false);
    ::unsetenv("VELMOR_COM7");
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "device   1  idle     unlocked  on: none\n");
}

TEST_F(CtlSimTest, FaultsOnTheLineGiveAClearErrorNeverAWrongResult) {
    StartTcp({"--devices", "1", "--split", "30"});
    CtlRun r = Ctl({"status", "1"});
    EXPECT_EQ(r.status, 0) << r.err;  // an answer in two pieces is still one answer
    sim_.reset();

    StartTcp({"--devices", "1", "--corrupt", "100"});
    r = Ctl({"settings", "1"});
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("bad check byte"), std::string::npos) << r.err;
    EXPECT_EQ(r.out, "");
    sim_.reset();

    StartTcp({"--devices", "1", "--noise-reply", "5"});
    r = Ctl({"--json", "status", "1"});
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.out.find("\"ok\":false"), std::string::npos) << r.out;
    sim_.reset();

    StartTcp({"--devices", "1", "--close-after", "1"});
    r = Ctl({"on", "1", "CH1", "CH2"});
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("CH2: the "), std::string::npos) << r.err;
}

TEST_F(CtlSimTest, WithJsonEveryErrorIsADocumentAndAHangUpEndsWatch) {
    StartTcp({"--devices", "1", "--close-after", "2"});
    // A usage error and a link that cannot be opened are documents on stdout too.
    CtlRun r = Ctl({"--json", "status", "0"});
    EXPECT_EQ(r.status, 2);
    EXPECT_EQ(r.out,
              "{\"command\":\"status\",\"ok\":false,\"error\":\"ID \\\"0\\\": please input a "
              "valid ID, range: 1-255\"}\n");
    r = Ctl({"--json", "--serial", (dir_ / "no-such-port").string(), "id"}, false);
    EXPECT_EQ(r.status, 3);
    EXPECT_EQ(r.out.rfind("{\"command\":\"id\",\"ok\":false,\"error\":\"the link to ", 0), 0u)
        << r.out;
    // The simulator hangs up after two answers: watch reports it once and ends.
    r = Ctl({"watch", "1", "--count", "100"});
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("watch ended"), std::string::npos) << r.err;
    EXPECT_LE(Received().size(), 2u);
}

}  // namespace
