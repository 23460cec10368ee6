// The command line of velmor-ctl: what it accepts and, above all, what it refuses before
// anything is sent.

#include <gtest/gtest.h>

#include "tools/velmor_ctl/channel_names.h"
#include "tools/velmor_ctl/ctl_invocation.h"

namespace {

using ctl::CommandKind;
using ctl::ParseCommandLine;

ctl::ParsedCommandLine Parse(std::vector<std::string> args) {
    return ParseCommandLine(args);
}

std::string ErrorOf(std::vector<std::string> args) {
    const auto parsed = Parse(std::move(args));
    EXPECT_FALSE(parsed.invocation);
    return parsed.error;
}

TEST(CtlCommandLine, LinksAndOptionsAnywhereOnTheLine) {
    auto p = Parse({"status", "3", "--tcp", "192.168.1.111", "--json", "--timeout=250"});
    ASSERT_TRUE(p.invocation) << p.error;
    EXPECT_EQ(p.invocation->command, CommandKind::Status);
    EXPECT_EQ(p.invocation->link.host, "192.168.1.111");
    EXPECT_EQ(p.invocation->link.port, 8080);
    EXPECT_EQ(p.invocation->timeout_ms, 250);
    EXPECT_TRUE(p.invocation->json);
    EXPECT_EQ(p.invocation->ids, std::vector<uint8_t>{3});

    p = Parse({"--tcp", "localhost:18080", "scan", "7-9"});
    ASSERT_TRUE(p.invocation) << p.error;
    EXPECT_EQ(p.invocation->link.port, 18080);
    EXPECT_EQ(p.invocation->first, 7);
    EXPECT_EQ(p.invocation->last, 9);

    p = Parse({"--com", "2=/dev/pts/9", "id"});
    ASSERT_TRUE(p.invocation) << p.error;
    EXPECT_EQ(p.invocation->link.kind, ctl::LinkTarget::Kind::Serial);
    EXPECT_EQ(p.invocation->link.device, "/dev/pts/9");
}

TEST(CtlCommandLine, ChannelsMasksAndDelays) {
    auto p = Parse({"--serial", "/dev/ttyUSB0", "on", "1", "lcd", "5", "CH16", "ch5"});
    ASSERT_TRUE(p.invocation) << p.error;
    EXPECT_EQ(p.invocation->channels, (std::vector<int>{0, 5, 16}));

    p = Parse({"--tcp", "h", "mask", "2", "all", "off"});
    ASSERT_TRUE(p.invocation) << p.error;
    EXPECT_TRUE(p.invocation->all);
    EXPECT_FALSE(p.invocation->flag);

    p = Parse({"--tcp", "h", "delays", "4", "--on", "all=0.5,CH3=60m", "--off",
               "1,2,3,4,5,6,7,8,9,10,11,12,13,14,15,16,2.5s"});
    ASSERT_TRUE(p.invocation) << p.error;
    ASSERT_EQ(p.invocation->on_delays.size(), 18u);
    EXPECT_EQ(p.invocation->on_delays.back().channel, 3);
    EXPECT_EQ(p.invocation->on_delays.back().cell.text, "60");
    EXPECT_TRUE(p.invocation->on_delays.back().cell.minutes);
    EXPECT_EQ(p.invocation->off_delays[16].cell.text, "2.5");
    EXPECT_FALSE(p.invocation->off_delays[16].cell.minutes);

    p = Parse({"--tcp", "h", "cascade", "4", "on", "--start", "CH5"});
    ASSERT_TRUE(p.invocation) << p.error;
    EXPECT_EQ(p.invocation->start_channel, 5);

    p = Parse({"--tcp", "h", "set-id", "13", "--current", "0"});
    ASSERT_TRUE(p.invocation) << p.error;
    EXPECT_EQ(p.invocation->current_id, 0);
    EXPECT_EQ(p.invocation->new_id, 13);
}

TEST(CtlCommandLine, IdsAreCheckedAsTheConsoleChecksItsEdits) {
    for (const char* id : {"0", "256", "", "abc", "-1", "3x", "999"}) {
        const std::string error = ErrorOf({"--tcp", "h", "status", id});
        EXPECT_NE(error.find("please input a valid ID, range: 1-255"), std::string::npos) << id;
    }
    // The console's one integer conversion: blanks, a sign, "$" hexadecimal.
    for (const auto& [text, id] : std::vector<std::pair<std::string, int>>{
             {"$FF", 255}, {" 7", 7}, {"+12", 12}, {"$a", 10}}) {
        const auto p = Parse({"--tcp", "h", "status", text});
        ASSERT_TRUE(p.invocation) << text << ": " << p.error;
        EXPECT_EQ(p.invocation->ids.at(0), id) << text;
    }
    EXPECT_FALSE(ErrorOf({"--tcp", "h", "status", "$100"}).empty());
    EXPECT_FALSE(ErrorOf({"--tcp", "h", "set-id", "0"}).empty());
    EXPECT_FALSE(ErrorOf({"--tcp", "h", "set-id", "5", "--current", "256"}).empty());
    EXPECT_FALSE(ErrorOf({"--tcp", "h", "scan", "9-3"}).empty());
    EXPECT_FALSE(ErrorOf({"--tcp", "h", "scan", "0-3"}).empty());
    EXPECT_FALSE(ErrorOf({"--tcp", "h", "watch"}).empty());
}

TEST(CtlCommandLine, BadChannelsDelaysLinksAndOptionsAreRefused) {
    const std::vector<std::vector<std::string>> bad = {
        {"--tcp", "h", "on", "1", "CH17"},
        {"--tcp", "h", "on", "1", "CH0"},
        {"--tcp", "h", "on", "1", "05"},
        {"--tcp", "h", "on", "1"},
        {"--tcp", "h", "on", "1", "all", "CH1"},
        {"--tcp", "h", "mask", "1", "LCD", "on"},
        {"--tcp", "h", "mask", "1", "CH1", "maybe"},
        {"--tcp", "h", "lock", "1", "yes"},
        {"--tcp", "h", "cascade", "1", "on", "--start", "CH99"},
        {"--tcp", "h", "delays", "1"},
        {"--tcp", "h", "delays", "1", "--on", "1,2,3"},
        {"--tcp", "bad host", "id"},
        {"--tcp", "h:0", "id"},
        {"--tcp", "h:70000", "id"},
        {"--tcp", "h:80x", "id"},
        {"--serial", "", "id"},
        {"--serial", "/dev/tty\x01", "id"},
        {"--com", "0", "id"},
        {"--com", "x", "id"},
        {"--tcp", "h", "--serial", "/dev/ttyS0", "id"},
        {"id"},
        {"--tcp", "h"},
        {"--tcp", "h", "explode"},
        {"--tcp", "h", "status", "1", "2"},
        {"--tcp", "h", "status", "1", "--start", "CH1"},
        {"--tcp", "h", "--timeout", "0", "id"},
        {"--tcp", "h", "--timeout", "600001", "id"},
        {"--tcp", "h", "id", "--timeout"},
    };
    for (const auto& args : bad) {
        std::string joined;
        for (const auto& a : args)
            joined += a + " ";
        EXPECT_FALSE(ErrorOf(args).empty()) << joined;
    }
    // The comma separates a list: "1,5" is no decimal here either.
    EXPECT_FALSE(ErrorOf({"--tcp", "h", "delays", "1", "--on", "CH2=1,5"}).empty());
    // A delay the Device Setup page refuses is refused with its text.
    for (const char* value : {"99", "1.5.", "-1", "60.5", "", ".", "1 ", "5h"}) {
        const std::string error =
            ErrorOf({"--tcp", "h", "delays", "1", "--on", std::string("CH2=") + value});
        EXPECT_NE(error.find("from 0.5 second to 60 minute"), std::string::npos) << value;
    }
}

TEST(CtlCommandLine, AnIpv6AddressIsNamedAsSuchNotByAPieceOfIt) {
    for (const char* value : {"::1", "fe80::1:8080", "[::1]:8080", "[::1]"}) {
        EXPECT_EQ(ErrorOf({"--tcp", value, "id"}),
                  std::string("\"") + value +
                      "\" is an IPv6 address; the link takes an IPv4 address or a host name");
    }
}

TEST(CtlCommandLine, HelpForTheProgramAndEachCommand) {
    auto p = Parse({"--help"});
    EXPECT_NE(p.help.find("Exit status"), std::string::npos);
    p = Parse({"delays", "--help"});
    EXPECT_NE(p.help.find("delays ID [--on LIST] [--off LIST]"), std::string::npos);
    EXPECT_FALSE(p.invocation);
}

TEST(CtlChannelNames, NamesAndRanges) {
    EXPECT_EQ(ctl::ParseChannel("Lcd"), 0);
    EXPECT_EQ(ctl::ParseChannel("ch16"), 16);
    EXPECT_EQ(ctl::ParseChannel("CH"), std::nullopt);
    EXPECT_EQ(ctl::ParseChannel("+1"), std::nullopt);
    EXPECT_EQ(ctl::ChannelRanges({16, 0, 1, 2, 3, 5, 6}), "LCD, CH1-CH3, CH5, CH6, CH16");
    EXPECT_EQ(ctl::ChannelRanges({}), "none");
}

}  // namespace
