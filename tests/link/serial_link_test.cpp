#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <span>

#include <fcntl.h>
#include <poll.h>
#include <stdlib.h>
#include <termios.h>
#include <unistd.h>

#include "app/main_form.h"
#include "forms/button.h"
#include "platform/serial/com_ports.h"
#include "tests/app/main_window_fixture.h"

namespace {

using settings::SettingsFile;
using velmor_test::MainWindowTest;

// A pseudo-terminal pair: the console opens the terminal side through a COM mapping, the test
// plays the device on the controlling side.
class PtyPair {
  public:
    PtyPair() {
        master_ = ::posix_openpt(O_RDWR | O_NOCTTY);
        if (master_ >= 0 && ::grantpt(master_) == 0 && ::unlockpt(master_) == 0)
            path_ = ::ptsname(master_);
    }
    ~PtyPair() {
        if (master_ >= 0)
            ::close(master_);
    }
    const std::string& path() const { return path_; }
    int master() const { return master_; }

    // Waits (on the descriptor, not on a timer) until `n` bytes have come from the console.
    std::vector<uint8_t> ReadFromConsole(size_t n) {
        std::vector<uint8_t> out;
        while (out.size() < n) {
            pollfd p{master_, POLLIN, 0};
            if (::poll(&p, 1, 2000) <= 0)
                break;
            uint8_t buf[64];
            const ssize_t got = ::read(master_, buf, std::min(sizeof buf, n - out.size()));
            if (got <= 0)
                break;
            out.insert(out.end(), buf, buf + got);
        }
        return out;
    }
    void SendToConsole(const std::vector<uint8_t>& bytes) {
        ASSERT_EQ(::write(master_, bytes.data(), bytes.size()), static_cast<ssize_t>(bytes.size()));
        ::tcdrain(master_);
    }

  private:
    int master_ = -1;
    std::string path_;
};

class SerialLinkTest : public MainWindowTest {
  protected:
    void TearDown() override {
        serial::clear_com_mappings();
        MainWindowTest::TearDown();
    }
    // Waits until the terminal side reports `n` bytes waiting.
    static size_t WaitForBytes(size_t n) {
        size_t waiting = 0;
        for (int i = 0; i < 200 && waiting < n; ++i) {
            pollfd p{Form1->SerialHandle, POLLIN, 0};
            ::poll(&p, 1, 10);
            waiting = Form1->SerialBytesWaiting();
        }
        return waiting;
    }
    // True when nothing holds the device of COMn (it can be opened again).
    static bool PortIsFree(int n) {
        const serial::HANDLE h = serial::CreateFileA("COM" + std::to_string(n));
        if (h == serial::INVALID_HANDLE_VALUE)
            return false;
        serial::CloseHandle(h);
        return true;
    }
};

TEST_F(SerialLinkTest, OpeningAMappedPortSetsTheLineAndReportsSuccess) {
    PtyPair pty;
    ASSERT_FALSE(pty.path().empty());
    serial::set_com_mapping(3, pty.path());
    StartWindow();  // English
    Form1->Timer_read232->SetEnabled(false);
    ASSERT_TRUE(Form1->Set_Serial(3));
    EXPECT_NE(Form1->SerialHandle, serial::INVALID_HANDLE_VALUE);
    EXPECT_EQ(Panel(0), "Port:COM3:19200,8,None,1");
    EXPECT_EQ(Panel(1), "successful");
    EXPECT_TRUE(Form1->Timer_read232->Enabled());
    EXPECT_TRUE(SeenBoxes().empty());
    EXPECT_FALSE(PortIsFree(3));  // held exclusively

    termios t{};
    ASSERT_EQ(::tcgetattr(Form1->SerialHandle, &t), 0);
    EXPECT_EQ(::cfgetospeed(&t), B19200);
    EXPECT_EQ(::cfgetispeed(&t), B19200);
    EXPECT_EQ(t.c_cflag & CSIZE, static_cast<tcflag_t>(CS8));
    EXPECT_FALSE(t.c_cflag & PARENB);
    EXPECT_FALSE(t.c_cflag & CSTOPB);
    EXPECT_FALSE(t.c_lflag & (ICANON | ECHO | ISIG));
    EXPECT_FALSE(t.c_oflag & OPOST);
    EXPECT_FALSE(t.c_iflag & (ICRNL | INLCR | ISTRIP));

    // A frame goes out byte for byte, newline-like and high bytes included.
    const std::vector<uint8_t> frame{0x55, 0x03, 0xA9, 0x0A, 0x0D, 0xFF, 0x00, 0xAA};
    Form1->SerialWrite(frame);
    EXPECT_EQ(pty.ReadFromConsole(frame.size()), frame);

    // Bytes from the device wait, are read exactly, or are discarded.
    const std::vector<uint8_t> reply{0x5A, 0x03, 0x11, 0x13, 0x0D, 0x7F};
    pty.SendToConsole(reply);
    ASSERT_EQ(WaitForBytes(reply.size()), reply.size());
    std::array<uint8_t, 16> into{};
    ASSERT_EQ(Form1->SerialReadInto(std::span(into).first(reply.size())), reply.size());
    EXPECT_TRUE(std::equal(reply.begin(), reply.end(), into.begin()));
    EXPECT_EQ(Form1->SerialBytesWaiting(), 0u);
    EXPECT_EQ(Form1->SerialReadInto(std::span(into).first(4)), 0u);

    pty.SendToConsole({1, 2, 3});
    ASSERT_EQ(WaitForBytes(3), 3u);
    Form1->SerialDiscardInput();
    EXPECT_EQ(Form1->SerialBytesWaiting(), 0u);

    Form1->SerialClose();
    EXPECT_EQ(Form1->SerialHandle, serial::INVALID_HANDLE_VALUE);
    EXPECT_TRUE(PortIsFree(3));
}

TEST_F(SerialLinkTest, AnAbsentPortShowsTheBoxStopsTheReceiveLoopAndStaysClosed) {
    WriteFileWith(SettingsFile::SavedLanguage, 0);
    serial::set_com_mapping(7, (dir_ / "no-such-device").string());
    StartWindow();
    AnswerBoxes();
    ASSERT_TRUE(Form1->Timer_read232->Enabled());
    EXPECT_FALSE(Form1->Set_Serial(7));
    EXPECT_EQ(Panel(0), "Port:COM7:19200,8,None,1");
    EXPECT_EQ(Panel(1), "打开失败");
    ASSERT_EQ(SeenBoxes().size(), 1u);
    EXPECT_EQ(SeenBoxes()[0].text, "Port Invalid!");
    EXPECT_EQ(SeenBoxes()[0].caption, "Comm Error");
    EXPECT_TRUE(forms::OpenMessageBoxes().empty());
    EXPECT_FALSE(Form1->Timer_read232->Enabled());
    EXPECT_EQ(Form1->SerialHandle, serial::INVALID_HANDLE_VALUE);
}

TEST_F(SerialLinkTest, PathsThatAreNoTerminalFailAsAbsentPortsDo) {
    const auto plain = dir_ / "plain-file";
    { std::ofstream(plain) << "x"; }
    serial::set_com_mapping(4, plain.string());
    serial::set_com_mapping(5, "/dev/null");
    StartWindow();
    AnswerBoxes();
    for (int port : {4, 5, 0}) {
        Form1->Timer_read232->SetEnabled(true);
        EXPECT_FALSE(Form1->Set_Serial(port)) << port;
        EXPECT_EQ(Panel(0), "Port:COM" + std::to_string(port) + ":19200,8,None,1");
        EXPECT_EQ(Panel(1), "failing");
        EXPECT_FALSE(Form1->Timer_read232->Enabled());
        EXPECT_EQ(Form1->SerialHandle, serial::INVALID_HANDLE_VALUE);
    }
    EXPECT_EQ(SeenBoxes().size(), 3u);
    // The plain file is untouched.
    EXPECT_EQ(std::filesystem::file_size(plain), 1u);
}

TEST_F(SerialLinkTest, OpeningAnotherPortClosesTheOneOpenFirst) {
    PtyPair first, second;
    serial::set_com_mapping(1, first.path());
    serial::set_com_mapping(2, second.path());
    serial::set_com_mapping(6, (dir_ / "absent").string());
    StartWindow();
    AnswerBoxes();
    ASSERT_TRUE(Form1->Set_Serial(1));
    EXPECT_FALSE(PortIsFree(1));
    ASSERT_TRUE(Form1->Set_Serial(2));
    EXPECT_TRUE(PortIsFree(1));
    EXPECT_FALSE(PortIsFree(2));
    EXPECT_EQ(Panel(0), "Port:COM2:19200,8,None,1");
    // Frames go to the port open now.
    Form1->SerialWrite(std::vector<uint8_t>{0x55, 0x01});
    EXPECT_EQ(second.ReadFromConsole(2), (std::vector<uint8_t>{0x55, 0x01}));

    // A failing open after a good one leaves no port open at all.
    EXPECT_FALSE(Form1->Set_Serial(6));
    EXPECT_EQ(Form1->SerialHandle, serial::INVALID_HANDLE_VALUE);
    EXPECT_TRUE(PortIsFree(2));
    EXPECT_TRUE(PortIsFree(1));
}

TEST_F(SerialLinkTest, ChangingThePortOnlyStoresIt) {
    PtyPair pty;
    serial::set_com_mapping(1, pty.path());
    StartWindow();
    ASSERT_TRUE(Form1->Set_Serial(1));
    const serial::HANDLE open = Form1->SerialHandle;
    PickItem(Form1->CB_com, 4);
    EXPECT_EQ(Int32At(FileBytes(), SettingsFile::PortNumber), 5);
    EXPECT_EQ(Form1->SerialHandle, open);
    EXPECT_EQ(Panel(0), "Port:COM1:19200,8,None,1");
    // With no item selected the stored number is 0.
    Form1->CB_com->SetItemIndex(-1);
    Form1->CB_comChange(Form1->CB_com);
    EXPECT_EQ(Int32At(FileBytes(), SettingsFile::PortNumber), 0);
    RestartWindow();
    EXPECT_EQ(Form1->CB_com->ItemIndex(), -1);
}

TEST_F(SerialLinkTest, LanguageSwitchShowsTheConnectTextWhileThePortIsOpen) {
    PtyPair pty;
    serial::set_com_mapping(2, pty.path());
    StartWindow();
    ASSERT_TRUE(Form1->Set_Serial(2));
    Form1->Bn_ser_conn->SetCaption("disconnect");  // as the connect button leaves it
    PickItem(Form1->CB_language, 2);
    EXPECT_EQ(Form1->Bn_ser_conn->Caption(), "連接");
    EXPECT_EQ(Panel(1), "打開成功");
    EXPECT_NE(Form1->SerialHandle, serial::INVALID_HANDLE_VALUE);
    // The success text follows the language of the moment.
    ASSERT_TRUE(Form1->Set_Serial(2));
    EXPECT_EQ(Panel(1), "打開成功");
}

}  // namespace
