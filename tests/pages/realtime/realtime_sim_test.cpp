// The Real-time Control page against the real sequencer-sim process, over TCP on loopback and
// over a paced pseudo-terminal: channel switches and a whole power-on sequence, the indicators
// following the devices through the polling, every frame checked in the simulator's log. The
// console runs on the manual clock and the simulator in real time; each 10 ms step of the
// console waits on the line (never on a timer) for a reply that may be on its way.

#include <gtest/gtest.h>

#include <cstdio>
#include <memory>

#include "ctl_process.h"
#include "platform/serial/com_ports.h"
#include "protocol/replies.h"
#include "sim_process.h"
#include "tests/pages/realtime/realtime_fixture.h"

namespace {

using realtime_test::Bytes;
using sequencer_sim::testing::read_lines;
using sequencer_sim::testing::SimProcess;

class RealtimeSimTest : public realtime_test::RealtimeTest {
  protected:
    void StartTcp(std::vector<std::string> options) {
        options.insert(options.end(), {"--tcp", "127.0.0.1:0", "--log", LogPath()});
        sim_ = std::make_unique<SimProcess>(options);
        StartLinkWindow();
        ConnectTcp(sim_->port());
        ShowPage();
    }
    void StartPty(std::vector<std::string> options) {
        options.insert(options.end(), {"--pty", "--pace", "--log", LogPath()});
        sim_ = std::make_unique<SimProcess>(options);
        serial::set_com_mapping(1, sim_->pty_path());
        StartLinkWindow();
        Form1->Bn_ser_conn->Click();
        ASSERT_NE(Form1->SerialHandle, serial::INVALID_HANDLE_VALUE);
        serial_ = true;
        ShowPage();
    }
    void ShowPage() {
        SetLanguage(1);
        Form1->PanelIdEdit[0]->SetText("1");
        Form1->PanelIdEdit[1]->SetText("2");
        Form1->PageControl1->SetActivePage(Form1->TabSheet3);
        win::PumpPending();
    }
    std::string LogPath() const { return (dir_ / "sim.log").string(); }

    // One 10 ms step of the console. A reply on its way is waited for on the line, whole
    // (until the line has been quiet for 3 ms, six byte times at 19200 baud), so that the
    // console's time keeps pace with the simulator's and its reads take whole replies.
    void Step() {
        win::RunFor(10);
        if (Held() == 0 && !(serial_ ? WaitForSerial(1, 12) : WaitForHeld(1, 12)))
            return;
        size_t held = Held();
        for (int i = 0; i < 30; ++i) {
            ::poll(nullptr, 0, 3);
            const size_t now = Held();
            if (now == held)
                break;
            held = now;
        }
    }
    size_t Held() const {
        return serial_ ? Form1->SerialBytesWaiting() : Form1->IdTCPClient1.HeldBytes();
    }
    void Steps(int n) {
        for (int i = 0; i < n; ++i)
            Step();
    }

    // The frames the simulator received and sent, in its log's words.
    std::vector<std::string> Log(const char* direction) const {
        std::vector<std::string> lines;
        for (const std::string& line : read_lines(LogPath()))
            if (line.rfind(direction, 0) == 0)
                lines.push_back(line);
        return lines;
    }
    static std::string Hex(const char* direction, const Bytes& frame) {
        std::string line = direction;
        for (uint8_t b : frame) {
            char hex[4];
            std::snprintf(hex, sizeof hex, " %02X", b);
            line += hex;
        }
        return line;
    }
    static int ChannelsOn(int d) {
        int on = 0;
        for (int c = 0; c < 17; ++c)
            on += ShownOn(d, c) ? 1 : 0;
        return on;
    }

    // Every frame the simulator got is a poll of a panel's device or one of the page's
    // commands, each command twice in a row.
    void ExpectOnlyPollsAnd(const std::vector<Bytes>& commands) {
        std::vector<std::string> rx = Log("rx");
        std::vector<std::string> seen;
        for (const std::string& line : rx) {
            if (line == Hex("rx", Poll(1)) || line == Hex("rx", Poll(2)))
                continue;
            seen.push_back(line);
        }
        std::vector<std::string> expected;
        for (const Bytes& c : commands) {
            expected.push_back(Hex("rx", Wire({c[0], c[1], c[2], c[3]})));
            expected.push_back(expected.back());
        }
        EXPECT_EQ(seen, expected);
    }

    void SwitchAndRunASequence() {
        // CH3 of device 1 on: the indicator turns red with the send, and stays so with the
        // device's own answers.
        Click(Form1->ChannelButton[0][3]);
        Steps(5);
        EXPECT_TRUE(ShownOn(0, 3));
        Steps(60);
        EXPECT_TRUE(ShownOn(0, 3));
        EXPECT_EQ(ChannelsOn(0), 1);
        EXPECT_EQ(ChannelsOn(1), 0);

        // Device 2 runs its power-on sequence; the panel follows it channel by channel.
        Click(Form1->PanelSeqOnButton[1]);
        std::vector<int> counts;
        bool saw_running = false;
        bool clicked = false;
        for (int i = 0;
             i < 1500 && (counts.empty() || counts.back() < 17 || Form1->DeviceRunning[1]); ++i) {
            Step();
            saw_running = saw_running || Form1->DeviceRunning[1];
            if (Form1->DeviceRunning[1] && !clicked) {
                Click(Form1->ChannelButton[1][16]);  // refused while the sequence runs
                clicked = true;
            }
            if (counts.empty() || counts.back() != ChannelsOn(1))
                counts.push_back(ChannelsOn(1));
        }
        EXPECT_TRUE(saw_running);
        EXPECT_FALSE(Form1->DeviceRunning[1]);
        ASSERT_FALSE(counts.empty());
        EXPECT_EQ(counts.back(), 17);
        // Never a channel lost on the way, and several steps seen between none and all.
        for (size_t i = 1; i < counts.size(); ++i)
            EXPECT_GT(counts[i], counts[i - 1]);
        EXPECT_GE(counts.size(), 4u);
        EXPECT_EQ(ChannelsOn(0), 1);  // device 1 untouched

        // While it ran, a command to it was refused with the running box.
        EXPECT_EQ(BoxTexts(), "Error|the device is in running status\n");

        // CH5 of device 1 masked, then all channels on: the device leaves CH5 off, and the
        // polling keeps it so.
        Toggle(Form1->ChannelMask[0][4]);
        Steps(10);
        EXPECT_FALSE(Form1->ChannelButton[0][5]->Enabled());
        Click(Form1->PanelAllButton[0]);
        Steps(60);
        EXPECT_EQ(Form1->PanelAllButton[0]->Caption(), "CLEAR");
        EXPECT_EQ(ChannelsOn(0), 16);
        EXPECT_TRUE(ShownOff(0, 5));

        ExpectOnlyPollsAnd({{0x01, 0xA0, 0x00, 0x03},
                            {0x02, 0xA4, 0x00, 0x00},
                            {0x01, 0xAF, 0x04, 0xAA},
                            {0x01, 0xA2, 0x00, 0x00}});
        // And every reply that went out was a StatusReply or an Ack of a command.
        for (const std::string& tx : Log("tx"))
            EXPECT_TRUE(tx.rfind("tx 55 01 A8", 0) == 0 || tx.rfind("tx 55 02 A8", 0) == 0 ||
                        tx == "tx 54 01 A0" || tx == "tx 54 02 A4" || tx == "tx 54 01 AF" ||
                        tx == "tx 54 01 A2")
                << tx;
    }

    std::unique_ptr<SimProcess> sim_;
    bool serial_ = false;
};

TEST_F(RealtimeSimTest, OverTcpTheIndicatorsFollowSwitchesAndASequenceToItsEnd) {
    StartTcp({"--devices", "1,2", "--time-scale", "4"});
    SwitchAndRunASequence();
}

TEST_F(RealtimeSimTest, OverAPacedSerialLineTheIndicatorsFollowToo) {
    StartPty({"--devices", "1,2", "--time-scale", "4"});
    SwitchAndRunASequence();
}

TEST_F(RealtimeSimTest, TheCommandLineClientSendsThePanelsCommands) {
    // On the page: CH3 of device 1 on, CH5 masked, all on; device 2's power-on sequence, then
    // its reverse power-off; every channel of every device off.
    StartTcp({"--devices", "1,2", "--time-scale", "1000"});
    Click(Form1->ChannelButton[0][3]);
    Steps(10);
    Toggle(Form1->ChannelMask[0][4]);
    Steps(10);
    Click(Form1->PanelAllButton[0]);
    Steps(10);
    Click(Form1->PanelSeqOnButton[1]);
    Steps(20);
    Click(Form1->PanelRevOffButton[1]);
    Steps(20);
    Click(Form1->Bn_ch_clr);
    Steps(10);
    EXPECT_EQ(BoxTexts(), "");
    // The page's commands without its polls, each sent twice in a row by the queue.
    std::vector<std::string> console;
    for (const std::string& line : Log("rx")) {
        if (line == Hex("rx", Poll(1)) || line == Hex("rx", Poll(2)))
            continue;
        console.push_back(line);
    }
    ASSERT_EQ(console.size(), 12u);
    for (size_t i = 0; i < console.size(); i += 2)
        EXPECT_EQ(console[i], console[i + 1]);

    // velmor-ctl, against a new simulator with the same devices, sends each of them once: it
    // waits for the answer instead of repeating blindly.
    sim_.reset();
    std::filesystem::remove(LogPath());
    SimProcess sim(
        {"--devices", "1,2", "--time-scale", "1000", "--tcp", "127.0.0.1:0", "--log", LogPath()});
    const std::string link = "127.0.0.1:" + std::to_string(sim.port());
    for (const std::vector<std::string>& args : std::vector<std::vector<std::string>>{
             {"on", "1", "CH3"},
             {"mask", "1", "CH5", "on"},
             {"on", "1", "all"},
             {"sequence-on", "2"},
             {"sequence-off", "2"},
             {"broadcast-off"},
         }) {
        std::vector<std::string> full = {"--tcp", link};
        full.insert(full.end(), args.begin(), args.end());
        const auto run = velmor_ctl::testing::RunCtl(full, dir_);
        EXPECT_EQ(run.status, 0) << args[0] << ": " << run.err;
        ::poll(nullptr, 0, 30);  // the sequences run their course (under 10 ms at this scale)
    }
    std::vector<std::string> once;
    for (size_t i = 0; i < console.size(); i += 2)
        once.push_back(console[i]);
    EXPECT_EQ(Log("rx"), once);
}

}  // namespace
