#include <gtest/gtest.h>

#include "forms/message_box.h"
#include "i18n/main_window_captions.h"
#include "settings/settings_file.h"
#include "tests/link/link_test_support.h"

namespace {

using link_test::LinkWindowTest;
using link_test::LoopbackServer;
using link_test::PtyLine;
using settings::SettingsFile;

class ConnectButtonsTest : public LinkWindowTest {};

TEST_F(ConnectButtonsTest, EthernetConnectsAndDisconnectsByItsConnectedState) {
    LoopbackServer device;
    StartLinkWindow();
    ConnectTcp(device.port());
    ASSERT_TRUE(device.Accept());
    EXPECT_EQ(Form1->IdTCPClient1.Connected(), tcp::LinkState::Connected);
    EXPECT_EQ(Form1->IdTCPClient1.port(), device.port());
    EXPECT_EQ(Form1->Bn_ip_conn->Caption(), "disconnect");
    EXPECT_EQ(Panel(0), "Port:ethernet IP:127.0.0.1");

    // A new address is stored but the open connection keeps the old one.
    Form1->Ed_ip_address->SetText("127.0.0.2");
    Form1->Ed_ip_addressExit(Form1->Ed_ip_address);
    EXPECT_EQ(Form1->IdTCPClient1.Connected(), tcp::LinkState::Connected);

    // The caption does not matter: a connected client is disconnected.
    Form1->Bn_ip_conn->SetCaption("connect");
    Form1->Bn_ip_conn->Click();
    EXPECT_EQ(Form1->IdTCPClient1.Connected(), tcp::LinkState::NotConnected);
    EXPECT_EQ(Form1->Bn_ip_conn->Caption(), "connect");
    EXPECT_EQ(Panel(0), "Port:");
    EXPECT_TRUE(SeenBoxes().empty());
}

TEST_F(ConnectButtonsTest, AFailedConnectShowsTheBoxAndTheNotConnectedLook) {
    WriteFileWith(SettingsFile::SavedLanguage, 0);
    StartLinkWindow();
    devlink::SetTcpPort(link_test::UnusedLoopbackPort());
    Form1->Ed_ip_address->SetText("127.0.0.1");
    Form1->Bn_ip_conn->Click();
    ASSERT_EQ(SeenBoxes().size(), 1u);
    EXPECT_EQ(SeenBoxes()[0].text, "连接主机失败，请重新检查！");
    EXPECT_EQ(SeenBoxes()[0].caption, "错误");
    EXPECT_EQ(Form1->Bn_ip_conn->Caption(), "连接");
    EXPECT_EQ(Panel(0), "Port:");

    // A host name that does not resolve (the lookup answered by the test, not a name server).
    Form1->IdTCPClient1.set_resolver([](const std::string&, int) { return std::nullopt; });
    Form1->Ed_ip_address->SetText("no-such-sequencer");
    Form1->Bn_ip_conn->Click();
    ASSERT_EQ(SeenBoxes().size(), 2u);
    EXPECT_EQ(SeenBoxes()[1].text, "连接主机失败，请重新检查！");
    // Text that can be no host at all fails the same way.
    Form1->Ed_ip_address->SetText("192.168.1.1;x");
    Form1->Bn_ip_conn->Click();
    EXPECT_EQ(SeenBoxes().size(), 3u);
    EXPECT_EQ(Form1->IdTCPClient1.Connected(), tcp::LinkState::NotConnected);
}

TEST_F(ConnectButtonsTest, EachLinkRefusesWhileTheOtherIsInUse) {
    PtyLine line;
    LoopbackServer device;
    serial::set_com_mapping(1, line.path());
    StartLinkWindow();
    devlink::SetTcpPort(device.port());
    Form1->Ed_ip_address->SetText("127.0.0.1");

    Form1->Bn_ser_conn->Click();
    ASSERT_NE(Form1->SerialHandle, serial::INVALID_HANDLE_VALUE);
    EXPECT_EQ(Form1->Bn_ser_conn->Caption(), "disconnect");
    Form1->Bn_ip_conn->Click();
    ASSERT_EQ(SeenBoxes().size(), 1u);
    EXPECT_EQ(SeenBoxes()[0].text, "Had connected the serial port!");
    EXPECT_EQ(SeenBoxes()[0].caption, "Error");
    EXPECT_NE(Form1->SerialHandle, serial::INVALID_HANDLE_VALUE);
    EXPECT_EQ(Form1->IdTCPClient1.Connected(), tcp::LinkState::NotConnected);
    EXPECT_FALSE(device.Accept(50));

    // Closing the serial link: panel 0 back to "Port:", panel 1 emptied.
    Form1->Bn_ser_conn->Click();
    EXPECT_EQ(Form1->SerialHandle, serial::INVALID_HANDLE_VALUE);
    EXPECT_EQ(Form1->Bn_ser_conn->Caption(), "connect");
    EXPECT_EQ(Panel(0), "Port:");
    EXPECT_EQ(Panel(1), "");

    Form1->Bn_ip_conn->Click();
    ASSERT_TRUE(device.Accept());
    Form1->Bn_ser_conn->Click();
    ASSERT_EQ(SeenBoxes().size(), 2u);
    EXPECT_EQ(SeenBoxes()[1].text, "Had connected the ethernet port!");
    EXPECT_EQ(Form1->SerialHandle, serial::INVALID_HANDLE_VALUE);
    EXPECT_EQ(Form1->Bn_ser_conn->Caption(), "connect");
    EXPECT_EQ(Panel(0), "Port:ethernet IP:127.0.0.1");
}

TEST_F(ConnectButtonsTest, TheSerialButtonDecidesByItsCaption) {
    PtyLine line;
    serial::set_com_mapping(1, line.path());
    StartLinkWindow();
    Form1->Bn_ser_conn->Click();
    ASSERT_NE(Form1->SerialHandle, serial::INVALID_HANDLE_VALUE);

    // After a language switch the caption is the connect caption again: a press reopens.
    Form1->LanguageIndex = 0;
    Form1->ApplyLanguage(1);
    EXPECT_EQ(Form1->Bn_ser_conn->Caption(), "连接");
    Form1->Bn_ser_conn->Click();
    EXPECT_NE(Form1->SerialHandle, serial::INVALID_HANDLE_VALUE);
    EXPECT_EQ(Form1->Bn_ser_conn->Caption(), "断开");
    EXPECT_EQ(Panel(1), "打开成功");
    EXPECT_TRUE(SeenBoxes().empty());

    // Any caption other than the connect caption closes, even with nothing open.
    Form1->Bn_ser_conn->Click();
    EXPECT_EQ(Form1->SerialHandle, serial::INVALID_HANDLE_VALUE);
    Form1->Bn_ser_conn->SetCaption("disconnect");
    Form1->Bn_ser_conn->Click();
    EXPECT_EQ(Form1->Bn_ser_conn->Caption(), "连接");
    EXPECT_EQ(Panel(0), "Port:");
}

TEST_F(ConnectButtonsTest, LeavingTheAddressStoresItsFirstFifteenBytes) {
    StartLinkWindow();
    auto stored = [this] {
        const auto bytes = FileBytes();
        return std::string(bytes.begin() + SettingsFile::SavedIpAddress,
                           bytes.begin() + SettingsFile::SavedIpAddress + 15);
    };
    Form1->Ed_ip_address->SetText("10.0.0.7");
    Form1->Ed_ip_address->SetFocus();
    win::PumpPending();
    Form1->Bn_ip_conn->SetFocus();
    win::PumpPending();
    EXPECT_EQ(stored(), std::string("10.0.0.7\0\0\0\0\0\0\0", 15));

    Form1->Ed_ip_address->SetText("192.168.100.111.22");
    Form1->Ed_ip_addressExit(Form1->Ed_ip_address);
    EXPECT_EQ(stored(), "192.168.100.111");
    EXPECT_EQ(FileBytes().size(), SettingsFile::kSize);
    // The field ends there: the first day flag after it keeps its value.
    EXPECT_EQ(Int32At(FileBytes(), SettingsFile::DayFlag(0)), settings::FLAG_OFF);
}

TEST(TcpPortOption, TakesThePortOutOfTheCommandLine) {
    auto r = devlink::TakeTcpPortOption({"--headless", "--tcp-port", "18080", "--com", "1=/x"});
    EXPECT_TRUE(r.error.empty());
    EXPECT_EQ(r.rest, (std::vector<std::string>{"--headless", "--com", "1=/x"}));
    EXPECT_EQ(devlink::TcpPort(), 18080);
    r = devlink::TakeTcpPortOption({"--tcp-port=9"});
    EXPECT_TRUE(r.error.empty());
    EXPECT_EQ(devlink::TcpPort(), 9);
    for (const char* bad : {"0", "65536", "-1", " 80", "80x", ""}) {
        r = devlink::TakeTcpPortOption({"--tcp-port", bad});
        EXPECT_FALSE(r.error.empty()) << bad;
        EXPECT_EQ(devlink::TcpPort(), 9) << bad;
    }
    EXPECT_FALSE(devlink::TakeTcpPortOption({"--tcp-port"}).error.empty());
    devlink::SetTcpPort(devlink::kSequencerTcpPort);
}

}  // namespace
