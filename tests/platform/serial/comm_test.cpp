#include <gtest/gtest.h>
#include <termios.h>

#include <fstream>

#include "platform/files/temp_dir.h"
#include "platform/serial/com_ports.h"
#include "platform/serial/comm.h"
#include "pty_pair.h"

namespace serial {
namespace {

class SerialPort : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(pty_.ok());
        clear_com_mappings();
        set_com_mapping(3, pty_.slave_path());
    }
    void TearDown() override {
        if (h_ != INVALID_HANDLE_VALUE) {
            CloseHandle(h_);
        }
        clear_com_mappings();
    }
    // Opens COM3 and applies 19200 8N1 the way the serial link does.
    void open_line() {
        h_ = CreateFileA("COM3");
        ASSERT_NE(h_, INVALID_HANDLE_VALUE);
        DCB dcb;
        ASSERT_TRUE(GetCommState(h_, &dcb));
        dcb.BaudRate = 19200;
        dcb.ByteSize = 8;
        dcb.Parity = NOPARITY;
        dcb.StopBits = ONESTOPBIT;
        ASSERT_TRUE(SetCommState(h_, dcb));
    }

    PtyPair pty_;
    HANDLE h_ = INVALID_HANDLE_VALUE;
};

TEST_F(SerialPort, LineIs19200EightNoneOneRaw) {
    // Start from a cooked terminal with odd settings to see them all replaced.
    {
        const int fd = open(pty_.slave_path().c_str(), O_RDWR | O_NOCTTY);
        termios t{};
        tcgetattr(fd, &t);
        cfsetspeed(&t, B9600);
        t.c_cflag = (t.c_cflag & ~CSIZE) | CS7 | PARENB | CSTOPB;
        t.c_lflag |= ICANON | ECHO;
        t.c_iflag |= ICRNL | IXON;
        t.c_oflag |= OPOST;
        tcsetattr(fd, TCSANOW, &t);
        close(fd);
    }
    open_line();
    DCB dcb;
    ASSERT_TRUE(GetCommState(h_, &dcb));
    EXPECT_EQ(dcb.BaudRate, 19200u);
    EXPECT_EQ(dcb.ByteSize, 8);
    EXPECT_EQ(dcb.Parity, NOPARITY);
    EXPECT_EQ(dcb.StopBits, ONESTOPBIT);
    // XON/XOFF would swallow 0x11 and 0x13 in binary frames.
    EXPECT_FALSE(dcb.fOutX);
    EXPECT_FALSE(dcb.fInX);

    termios t{};
    ASSERT_EQ(tcgetattr(h_, &t), 0);
    EXPECT_EQ(t.c_lflag & (ICANON | ECHO | ISIG), 0u);
    EXPECT_EQ(t.c_iflag & (ICRNL | INLCR | IGNCR | ISTRIP), 0u);
    EXPECT_EQ(t.c_oflag & OPOST, 0u);
    EXPECT_NE(t.c_cflag & CREAD, 0u);
}

TEST_F(SerialPort, FramesCrossByteForByteBothWays) {
    open_line();
    // Bytes a cooked line would mangle: CR, NL, XON/XOFF-looking, DEL, 0xFF.
    const std::vector<uint8_t> frame{0x55, 0x03, 0x0D, 0x0A, 0x11, 0x13, 0x7F, 0xFF, 0x00, 0xAA};
    size_t written = 0;
    ASSERT_TRUE(WriteFile(h_, frame.data(), frame.size(), &written));
    EXPECT_EQ(written, frame.size());
    EXPECT_EQ(pty_.receive(frame.size()), frame);

    const std::vector<uint8_t> reply{0x54, 0x03, 0x0D, 0x0A, 0x03, 0x04, 0x1A, 0x13};
    pty_.send(reply);
    ASSERT_EQ(wait_for_waiting(h_, static_cast<int>(reply.size())), static_cast<int>(reply.size()));
    COMSTAT stat;
    uint32_t errors = 99;
    ASSERT_TRUE(ClearCommError(h_, &errors, &stat));
    EXPECT_EQ(errors, 0u);
    EXPECT_EQ(stat.cbInQue, reply.size());
    std::vector<uint8_t> got(stat.cbInQue);
    size_t read = 0;
    ASSERT_TRUE(ReadFile(h_, got.data(), got.size(), &read));
    EXPECT_EQ(read, reply.size());
    EXPECT_EQ(got, reply);

    // Nothing waiting now: a read takes nothing and does not wait.
    ASSERT_TRUE(ClearCommError(h_, nullptr, &stat));
    EXPECT_EQ(stat.cbInQue, 0u);
    uint8_t byte = 0;
    ASSERT_TRUE(ReadFile(h_, &byte, 1, &read));
    EXPECT_EQ(read, 0u);
}

TEST_F(SerialPort, PurgeDiscardsWaitingInput) {
    open_line();
    pty_.send(std::vector<uint8_t>(600, 0x5A));
    ASSERT_EQ(wait_for_waiting(h_, 600), 600);
    ASSERT_TRUE(PurgeComm(h_, PURGE_RXCLEAR));
    COMSTAT stat;
    ASSERT_TRUE(ClearCommError(h_, nullptr, &stat));
    EXPECT_EQ(stat.cbInQue, 0u);
    // The line still works after the purge.
    pty_.send({0x54, 0x01, 0xA8});
    ASSERT_EQ(wait_for_waiting(h_, 3), 3);
}

TEST_F(SerialPort, SecondOpenFailsUntilTheFirstCloses) {
    open_line();
    EXPECT_EQ(CreateFileA("COM3"), INVALID_HANDLE_VALUE);
    // Through another name mapped to the same device, too.
    set_com_mapping(4, pty_.slave_path());
    EXPECT_EQ(CreateFileA("COM4"), INVALID_HANDLE_VALUE);
    ASSERT_TRUE(CloseHandle(h_));
    h_ = CreateFileA("com4");
    EXPECT_NE(h_, INVALID_HANDLE_VALUE);
}

TEST_F(SerialPort, ReopensWhileTheDeviceEndKeepsTheTerminalOpen) {
    const int keeper = open(pty_.slave_path().c_str(), O_RDWR | O_NOCTTY);
    ASSERT_GE(keeper, 0);
    open_line();
    ASSERT_TRUE(CloseHandle(h_));
    h_ = CreateFileA("COM3");
    EXPECT_NE(h_, INVALID_HANDLE_VALUE);
    close(keeper);
}

TEST_F(SerialPort, SettingsThatTheTerminalCannotTakeAreRefused) {
    h_ = CreateFileA("COM3");
    ASSERT_NE(h_, INVALID_HANDLE_VALUE);
    DCB dcb;
    ASSERT_TRUE(GetCommState(h_, &dcb));
    DCB bad = dcb;
    bad.BaudRate = 12345;
    EXPECT_FALSE(SetCommState(h_, bad));
    bad = dcb;
    bad.ByteSize = 9;
    EXPECT_FALSE(SetCommState(h_, bad));
    bad = dcb;
    bad.StopBits = 1;  // one and a half
    EXPECT_FALSE(SetCommState(h_, bad));
}

TEST(SerialOpen, AbsentPortsAndNonTerminalsFail) {
    clear_com_mappings();
    set_com_mapping(7, "/dev/velmor-no-such-port");
    EXPECT_EQ(CreateFileA("COM7"), INVALID_HANDLE_VALUE);
    EXPECT_EQ(CreateFileA("COM0"), INVALID_HANDLE_VALUE);  // /dev/ttyS-1
    EXPECT_EQ(CreateFileA("LPT1"), INVALID_HANDLE_VALUE);
    EXPECT_EQ(CreateFileA(""), INVALID_HANDLE_VALUE);

    TempDir dir;
    const auto file = dir.path() / "not-a-tty";
    std::ofstream(file) << "x";
    set_com_mapping(2, file.string());
    EXPECT_EQ(CreateFileA("COM2"), INVALID_HANDLE_VALUE);
    set_com_mapping(2, "/dev/null");
    EXPECT_EQ(CreateFileA("COM2"), INVALID_HANDLE_VALUE);

    // Operations on the invalid handle fail quietly.
    COMSTAT stat;
    stat.cbInQue = 5;
    EXPECT_FALSE(ClearCommError(INVALID_HANDLE_VALUE, nullptr, &stat));
    EXPECT_EQ(stat.cbInQue, 0u);
    EXPECT_FALSE(CloseHandle(INVALID_HANDLE_VALUE));
    size_t n = 1;
    EXPECT_FALSE(WriteFile(INVALID_HANDLE_VALUE, "x", 1, &n));
    EXPECT_EQ(n, 0u);
    clear_com_mappings();
}

}  // namespace
}  // namespace serial
