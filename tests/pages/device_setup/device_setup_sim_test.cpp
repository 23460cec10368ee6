// The Device Setup page against the real sequencer-sim process over TCP on loopback: what the
// operator does on the page reaches the simulated devices byte for byte (as its log shows),
// and their answers fill the page. The console runs on the manual clock, the simulator in real
// time, so each step waits on the connection (never on a timer) for its reply.

#include <gtest/gtest.h>

#include <cstdio>

#include "ctl_process.h"
#include "protocol/replies.h"
#include "sim_process.h"
#include "tests/pages/device_setup/device_setup_fixture.h"

namespace {

using device_setup_test::Bytes;
using sequencer_sim::testing::read_lines;
using sequencer_sim::testing::SimProcess;

class DeviceSetupSimTest : public device_setup_test::DeviceSetupTest {
  protected:
    void StartSimPage(std::vector<std::string> options) {
        options.insert(options.end(), {"--tcp", "127.0.0.1:0", "--log", LogPath()});
        sim_ = std::make_unique<SimProcess>(options);
        StartLinkWindow();
        ConnectTcp(sim_->port());
        Form1->PageControl1->SetActivePage(Form1->TabSheet2);
        win::PumpPending();
    }
    std::string LogPath() const { return (dir_ / "sim.log").string(); }

    // Lets the receive loop take the reply of `n` bytes once it has come: the loop reads on
    // every 6th tick, on every 21st after a settings request.
    static void TakeReply(size_t n, bool settings_request = false) {
        ASSERT_TRUE(WaitForHeld(n)) << n;
        win::RunFor(settings_request ? 220 : 70);
        EXPECT_EQ(Form1->IdTCPClient1.HeldBytes(), 0u);
    }

    // The frames the simulator received, in its log's words.
    std::vector<std::string> Received() const {
        std::vector<std::string> rx;
        for (const std::string& line : read_lines(LogPath()))
            if (line.rfind("rx ", 0) == 0)
                rx.push_back(line);
        return rx;
    }
    static std::string Rx(const Bytes& frame) {
        std::string line = "rx";
        for (uint8_t b : frame) {
            char hex[4];
            std::snprintf(hex, sizeof hex, " %02X", b);
            line += hex;
        }
        return line;
    }

    std::unique_ptr<SimProcess> sim_;
};

TEST_F(DeviceSetupSimTest, ReadTheIdOfALoneDeviceAndGiveItANewOne) {
    StartSimPage({"--devices", "12"});
    Click(Form1->Bn_read_id);
    TakeReply(protocol::kIdReplySize);
    EXPECT_EQ(Form1->Ed_read_id->Text(), "12");

    TypeInto(Form1->Ed_write_id, "13");
    Click(Form1->Bn_write_id);
    TakeReply(protocol::kAckSize);
    EXPECT_EQ(Panel2(), kSuccess);

    Form1->Ed_read_id->SetText("");
    Click(Form1->Bn_read_id);
    TakeReply(protocol::kIdReplySize);
    EXPECT_EQ(Form1->Ed_read_id->Text(), "13");
    EXPECT_EQ(Received(), (std::vector<std::string>{"rx 55 00 AB 00 00 AB", "rx 55 0C AA 00 0D AB",
                                                    "rx 55 00 AB 00 00 AB"}));
    EXPECT_TRUE(SeenBoxes().empty());
}

TEST_F(DeviceSetupSimTest, DelaysWrittenAreReadBackTheSame) {
    StartSimPage({"--devices", "1,3"});
    TypeInto(Form1->Ed_conn_id, "3");
    Click(Form1->Bn_connect);
    TakeReply(protocol::kSettingsReplySize, true);
    // A new device: 0.5 s to power on, 1 s to power off, cascade off, unlocked.
    for (int b = 0; b < 17; ++b) {
        EXPECT_EQ(Form1->DelayEdit[0][b]->Text(), "0.5");
        EXPECT_EQ(Form1->DelayEdit[1][b]->Text(), "1");
    }
    EXPECT_FALSE(Form1->CheckBox17->Checked());
    EXPECT_FALSE(Form1->Cb_ch->Enabled());
    EXPECT_FALSE(Form1->CB_lock->Checked());

    const char* on[17] = {"60", "0",  "0.5", "1",  "1.5",  "2",  "2.5", "3",  "10",
                          "20", "30", "40",  "50", "59.5", "60", "7",   "0.5"};
    for (int b = 0; b < 17; ++b) {
        TypeInto(Form1->DelayEdit[0][b], on[b]);
        TypeInto(Form1->DelayEdit[1][b], on[16 - b]);
        if (b % 3 == 0)
            Toggle(Form1->DelayMinutes[0][b]);
        if (b % 4 == 1)
            Toggle(Form1->DelayMinutes[1][b]);
    }
    Click(Form1->Bn_app);
    TakeReply(protocol::kSettingsReplySize);
    EXPECT_EQ(Panel2(), kSuccess);

    // Cleared, then read again: the device holds what was written.
    for (int k = 0; k < 2; ++k) {
        for (int b = 0; b < 17; ++b) {
            Form1->DelayEdit[k][b]->SetText("");
            Form1->DelayMinutes[k][b]->SetChecked(false);
        }
    }
    Click(Form1->Bn_connect);
    TakeReply(protocol::kSettingsReplySize, true);
    for (int b = 0; b < 17; ++b) {
        EXPECT_EQ(Form1->DelayEdit[0][b]->Text(), on[b]) << b;
        EXPECT_EQ(Form1->DelayEdit[1][b]->Text(), on[16 - b]) << b;
        EXPECT_EQ(Form1->DelayMinutes[0][b]->Checked(), b % 3 == 0) << b;
        EXPECT_EQ(Form1->DelayMinutes[1][b]->Checked(), b % 4 == 1) << b;
    }
    const auto rx = Received();
    ASSERT_EQ(rx.size(), 3u);
    EXPECT_EQ(rx[0], "rx 55 03 A9 00 00 AA");
    EXPECT_EQ(rx[1].substr(0, 15), "rx 56 03 A7 F8 ");
    EXPECT_EQ(rx[1].size(), 2 + 3 * 38u);
    EXPECT_EQ(rx[2], rx[0]);
    EXPECT_TRUE(SeenBoxes().empty());
}

TEST_F(DeviceSetupSimTest, CascadeStartChannelAndSwitching) {
    StartSimPage({"--devices", "3", "--time-scale", "1000"});
    Form1->Ed_conn_id->SetText("3");
    Click(Form1->Bn_connect);
    TakeReply(protocol::kSettingsReplySize, true);
    ASSERT_FALSE(Form1->CheckBox17->Checked());

    // Cascade on, then CH5 as the start channel; the device reports both back.
    Toggle(Form1->CheckBox17);
    TakeReply(protocol::kAckSize);
    Form1->Cb_ch->SetFocus();
    win::PumpPending();
    // Each step of the selection is a change of the start channel, sent and acknowledged.
    for (int i = 0; i < 5; ++i) {
        PressKey(win::VK_DOWN);
        TakeReply(protocol::kAckSize);
    }
    Form1->Cb_ch->SetItemIndex(0);
    Click(Form1->Bn_connect);
    TakeReply(protocol::kSettingsReplySize, true);
    EXPECT_TRUE(Form1->CheckBox17->Checked());
    EXPECT_TRUE(Form1->Button3->Enabled());
    EXPECT_EQ(Form1->Cb_ch->Text(), "CH5");

    Click(Form1->Button3);
    TakeReply(protocol::kAckSize);
    Click(Form1->Button1);
    TakeReply(protocol::kAckSize);
    Click(Form1->Button2);
    TakeReply(protocol::kAckSize);

    // Cascade off keeps the start channel on the page; the device reports cascade off.
    Toggle(Form1->CheckBox17);
    TakeReply(protocol::kAckSize);
    EXPECT_FALSE(Form1->Cb_ch->Enabled());
    Click(Form1->Bn_connect);
    TakeReply(protocol::kSettingsReplySize, true);
    EXPECT_FALSE(Form1->CheckBox17->Checked());
    EXPECT_EQ(Form1->Cb_ch->Text(), "CH5");
    EXPECT_EQ(Panel2(), kSuccess);

    const std::vector<std::string> expected = {
        Rx(Wire({0x03, 0xA9, 0x00, 0x00})), Rx(Wire({0x03, 0xA6, 0x02, 0x00})),
        Rx(Wire({0x03, 0xA6, 0x02, 0x01})), Rx(Wire({0x03, 0xA6, 0x02, 0x02})),
        Rx(Wire({0x03, 0xA6, 0x02, 0x03})), Rx(Wire({0x03, 0xA6, 0x02, 0x04})),
        Rx(Wire({0x03, 0xA6, 0x02, 0x05})), Rx(Wire({0x03, 0xA9, 0x00, 0x00})),
        Rx(Wire({0x03, 0xA6, 0x07, 0x05})), Rx(Wire({0x03, 0xA6, 0x08, 0x05})),
        Rx(Wire({0x03, 0xA6, 0x09, 0x05})), Rx(Wire({0x03, 0xA6, 0x05, 0x05})),
        Rx(Wire({0x03, 0xA9, 0x00, 0x00})),
    };
    EXPECT_EQ(Received(), expected);
    EXPECT_EQ(Received()[6], "rx 55 03 A6 02 05 A2");
    EXPECT_TRUE(SeenBoxes().empty());
}

TEST_F(DeviceSetupSimTest, TheCommandLineClientSendsThePagesFramesForTheSameActions) {
    // On the page: read the lone device's ID and make it 13, read device 13, write its delays
    // with CH1 at 60 minutes and CH16's power-off at 2.5 s, switch the cascade on (start LCD).
    StartSimPage({"--devices", "12"});
    Click(Form1->Bn_read_id);
    TakeReply(protocol::kIdReplySize);
    TypeInto(Form1->Ed_write_id, "13");
    Click(Form1->Bn_write_id);
    TakeReply(protocol::kAckSize);
    TypeInto(Form1->Ed_conn_id, "13");
    Click(Form1->Bn_connect);
    TakeReply(protocol::kSettingsReplySize, true);
    TypeInto(Form1->DelayEdit[0][1], "60");
    Toggle(Form1->DelayMinutes[0][1]);
    TypeInto(Form1->DelayEdit[1][16], "2.5");
    Click(Form1->Bn_app);
    TakeReply(protocol::kSettingsReplySize);
    Toggle(Form1->CheckBox17);
    TakeReply(protocol::kAckSize);
    const std::vector<std::string> console = Received();
    ASSERT_EQ(console.size(), 5u);
    EXPECT_TRUE(SeenBoxes().empty());

    // The same with velmor-ctl against a new simulator with the same device.
    sim_.reset();
    std::filesystem::remove(LogPath());
    SimProcess sim({"--devices", "12", "--tcp", "127.0.0.1:0", "--log", LogPath()});
    const std::string link = "127.0.0.1:" + std::to_string(sim.port());
    for (const std::vector<std::string>& args : std::vector<std::vector<std::string>>{
             {"id"},
             {"set-id", "13", "--current", "12"},
             {"delays", "13", "--on", "CH1=60m", "--off", "CH16=2.5"},
             {"cascade", "13", "on", "--start", "LCD"},
         }) {
        std::vector<std::string> full = {"--tcp", link};
        full.insert(full.end(), args.begin(), args.end());
        const auto run = velmor_ctl::testing::RunCtl(full, dir_);
        EXPECT_EQ(run.status, 0) << args[0] << ": " << run.err;
    }
    EXPECT_EQ(Received(), console);
}

}  // namespace
