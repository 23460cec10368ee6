// The client's serial line on a pseudo-terminal: what a read finds while the other end sends,
// stays silent, and hangs up.
#include <fcntl.h>
#include <stdlib.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "tools/velmor_ctl/ctl_line.h"

namespace {

TEST(CtlSerialLine, ReadsWhatCameWaitsOnSilenceAndEndsOnAHangUp) {
    const int device = ::posix_openpt(O_RDWR | O_NOCTTY);
    ASSERT_GE(device, 0);
    ASSERT_EQ(::grantpt(device), 0);
    ASSERT_EQ(::unlockpt(device), 0);
    ctl::LinkTarget target;
    target.kind = ctl::LinkTarget::Kind::Serial;
    target.device = ::ptsname(device);
    target.name = target.device;
    ctl::OpenedLine opened = ctl::OpenLine(target, 1000);
    ASSERT_NE(opened.line, nullptr) << opened.error;

    const uint8_t answer[] = {0x54, 0x03, 0xA2};
    ASSERT_EQ(::write(device, answer, sizeof answer), static_cast<ssize_t>(sizeof answer));
    std::vector<uint8_t> got;
    EXPECT_EQ(opened.line->Read(&got, 1000), ctl::ReadResult::Data);
    EXPECT_EQ(got, std::vector<uint8_t>(answer, answer + sizeof answer));

    got.clear();
    EXPECT_EQ(opened.line->Read(&got, 20), ctl::ReadResult::Nothing);
    EXPECT_TRUE(got.empty());

    // The device end goes away: the read says so at once, not an empty read to ask again.
    ::close(device);
    EXPECT_EQ(opened.line->Read(&got, 1000), ctl::ReadResult::Closed);
    EXPECT_TRUE(got.empty());
}

}  // namespace
