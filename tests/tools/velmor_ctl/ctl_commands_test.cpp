// The commands of velmor-ctl over a scripted line: a connection that breaks or a stop that is
// raised ends them with a truthful result, and their JSON stays valid whatever text it carries.

#include <gtest/gtest.h>

#include <atomic>
#include <sstream>

#include "protocol/replies.h"
#include "scripted_line.h"
#include "tools/velmor_ctl/ctl_commands.h"
#include "tools/velmor_ctl/ctl_output.h"

namespace {

using protocol::Bytes;
using velmor_ctl::testing::ScriptedLine;

Bytes Status(uint8_t id) {
    return protocol::build_status_reply(id, protocol::StatusByte{}, protocol::ChannelWord{0});
}

struct CommandRun {
    int status = -1;
    std::string out, err;
};

// Runs the command line (the link is a dummy: the scripted line stands for it).
CommandRun RunOn(ScriptedLine& line, std::vector<std::string> args, int timeout_ms,
                 const std::atomic<bool>& stop) {
    args.insert(args.begin(), {"--tcp", "h"});
    const auto parsed = ctl::ParseCommandLine(args);
    EXPECT_TRUE(parsed.invocation) << parsed.error;
    ctl::Exchanger ex(line, timeout_ms);
    std::ostringstream out, err;
    CommandRun run;
    run.status = ctl::RunCommand(*parsed.invocation, ex, out, err, stop);
    run.out = out.str();
    run.err = err.str();
    return run;
}

TEST(CtlCommands, AConnectionThatBreaksEndsScanAndWatchWithStatusOne) {
    const std::atomic<bool> running{false};
    // Device 1 answers, ID 2 is silent, and the peer hangs up while ID 3 is asked.
    auto scripted_scan = [](ScriptedLine& line) {
        line.on_send = [&line](const Bytes& frame) {
            if (frame[1] == 1)
                line.pieces.push_back(Status(1));
            if (frame[1] == 3)
                line.close_at_end = true;
        };
    };
    ScriptedLine line;
    scripted_scan(line);
    CommandRun r = RunOn(line, {"--json", "scan", "1-10"}, 5, running);
    EXPECT_EQ(r.status, ctl::kExitNoAnswer);
    EXPECT_EQ(line.sent.size(), 3u);  // nothing is sent after the hang-up
    // The range reported is the range asked, not the one given.
    EXPECT_EQ(r.out,
              "{\"command\":\"scan\",\"ok\":false,\"error\":\"the scan of IDs 1-10 ended early: "
              "ID 3: the connection closed before an answer came\",\"first\":1,\"last\":3,"
              "\"devices\":[1]}\n");

    ScriptedLine plain;
    scripted_scan(plain);
    r = RunOn(plain, {"scan"}, 5, running);
    EXPECT_EQ(r.status, ctl::kExitNoAnswer);
    EXPECT_EQ(r.out, "devices: 1  (1 of 3 IDs answered)\n");
    EXPECT_NE(r.err.find("the scan of IDs 1-255 ended early"), std::string::npos) << r.err;

    // watch: the first poll is answered, then the connection is gone for good.
    ScriptedLine watched;
    watched.on_send = [&watched](const Bytes&) {
        watched.pieces.push_back(Status(1));
        watched.refuse_sends = true;
    };
    r = RunOn(watched, {"watch", "1", "--count", "1000"}, 5, running);
    EXPECT_EQ(r.status, ctl::kExitNoAnswer);
    EXPECT_EQ(watched.sent.size(), 1u);
    EXPECT_NE(r.out.find("device 1: the request could not be sent"), std::string::npos) << r.out;
    EXPECT_NE(r.err.find("watch ended"), std::string::npos) << r.err;
}

TEST(CtlCommands, WatchEndsWhenItsOutputCanNoLongerBeWritten) {
    // As when the reader of its pipe has ended (velmor-ctl watch 1 | head -1).
    ScriptedLine line;
    line.on_send = [&line](const Bytes&) { line.pieces.push_back(Status(1)); };
    const auto parsed = ctl::ParseCommandLine({"--tcp", "h", "watch", "1", "--count", "1000"});
    ASSERT_TRUE(parsed.invocation);
    ctl::Exchanger ex(line, 5);
    std::ostringstream out, err;
    out.setstate(std::ios::badbit);
    const std::atomic<bool> running{false};
    EXPECT_EQ(ctl::RunCommand(*parsed.invocation, ex, out, err, running), ctl::kExitNoAnswer);
    EXPECT_EQ(line.sent.size(), 1u);
    EXPECT_NE(err.str().find("its output can no longer be written"), std::string::npos);
}

TEST(CtlCommands, AStopEndsAWaitLongBeforeItsTimeOut) {
    // Ten minutes to answer; the stop comes at the third look at the line.
    std::atomic<bool> stop{false};
    int reads = 0;
    auto stop_at_third_read = [&](ScriptedLine& line) {
        stop = false;
        reads = 0;
        line.on_read = [&] {
            if (++reads == 3)
                stop = true;
        };
    };
    ScriptedLine status_line;
    stop_at_third_read(status_line);
    CommandRun r = RunOn(status_line, {"status", "9"}, 600000, stop);
    EXPECT_EQ(r.status, ctl::kExitNoAnswer);
    EXPECT_EQ(reads, 3);
    EXPECT_NE(r.err.find("interrupted while waiting for the answer of device 9"), std::string::npos)
        << r.err;

    // watch ends as Ctrl+C ends it: status 0, and no "did not answer" for the cut wait.
    ScriptedLine watch_line;
    stop_at_third_read(watch_line);
    r = RunOn(watch_line, {"watch", "9"}, 600000, stop);
    EXPECT_EQ(r.status, ctl::kExitDone);
    EXPECT_EQ(r.out, "");

    ScriptedLine scan_line;
    stop_at_third_read(scan_line);
    r = RunOn(scan_line, {"--json", "scan"}, 600000, stop);
    EXPECT_EQ(r.status, ctl::kExitNoAnswer);
    EXPECT_EQ(scan_line.sent.size(), 1u);
    EXPECT_NE(r.out.find("\"error\":\"the scan of IDs 1-255 ended early: interrupted at ID 1\","
                         "\"first\":1,\"last\":1,\"devices\":[]}"),
              std::string::npos)
        << r.out;
}

TEST(CtlJson, TextThatIsNoUtf8StillMakesAValidDocument) {
    // A stray byte, a cut sequence, an overlong form and a surrogate each become U+FFFD;
    // well-formed characters and escapes pass as they are.
    EXPECT_EQ(ctl::JsonString("a\xff"
                              "b\xc3"),
              "\"a\\ufffdb\\ufffd\"");
    EXPECT_EQ(ctl::JsonString("\xc0\xaf|\xed\xa0\x80|\xe2\x82\xac|\xf0\x9f\x94\x8c"),
              "\"\\ufffd\\ufffd|\\ufffd\\ufffd\\ufffd|\xe2\x82\xac|\xf0\x9f\x94\x8c\"");
    EXPECT_EQ(ctl::JsonString("\"\\\n"), "\"\\\"\\\\\\u000a\"");
    EXPECT_EQ(ctl::ErrorJson("", "\"x\" is no command").str(),
              "{\"ok\":false,\"error\":\"\\\"x\\\" is no command\"}");
    EXPECT_EQ(ctl::ErrorJson("id", "e").str(), "{\"command\":\"id\",\"ok\":false,\"error\":\"e\"}");
}

}  // namespace
