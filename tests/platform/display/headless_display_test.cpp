#include <gtest/gtest.h>

#include <sys/socket.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>

#include "platform/clock/clock.h"
#include "platform/display/display.h"
#include "platform/gdi/dc.h"
#include "platform/gdi/png.h"
#include "platform/win/descriptor_watch.h"
#include "platform/win/test_driver.h"
#include "platform/win/timer.h"
#include "platform/win/win.h"

using namespace win;

namespace {

LRESULT GreenProc(HWND h, UINT m, WPARAM w, LPARAM l) {
    if (m == WM_PAINT) {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(h, &ps);
        dc->fill_rect(GetClientRect(h), gdi::rgb(0, 200, 0));
        EndPaint(h, &ps);
        return 0;
    }
    return DefWindowProc(h, m, w, l);
}

class Headless : public ::testing::Test {
  protected:
    void SetUp() override {
        static bool registered = false;
        if (!registered) {
            WNDCLASS wc;
            wc.lpfnWndProc = GreenProc;
            wc.lpszClassName = "GreenWindow";
            RegisterClass(wc);
            registered = true;
        }
        scoped_ = std::make_unique<clk::ScopedClock>(clock_);
        display::Options o;
        o.kind = display::Kind::Headless;
        o.screen = {1024, 768};
        std::string err;
        disp_ = display::Open(o, &err);
        ASSERT_TRUE(disp_) << err;
        dir_ = std::filesystem::temp_directory_path() /
               ("velmor_headless_" + std::to_string(getpid()));
        std::filesystem::create_directories(dir_);
    }
    void TearDown() override {
        if (h_)
            DestroyWindow(h_);
        disp_.reset();
        EXPECT_EQ(GetDisplayDriver(), nullptr);
        std::filesystem::remove_all(dir_);
        SetScreenSize(1280, 1024);
    }
    clk::ManualClock clock_;
    std::unique_ptr<clk::ScopedClock> scoped_;
    std::unique_ptr<display::Display> disp_;
    std::filesystem::path dir_;
    HWND h_ = nullptr;
};

TEST_F(Headless, ScreenSizeComesFromTheOptions) {
    EXPECT_EQ(GetSystemMetrics(SM_CXSCREEN), 1024);
    EXPECT_EQ(GetSystemMetrics(SM_CYSCREEN), 768);
}

TEST_F(Headless, PaintingIsPresentedAsDirtyRectanglesOnly) {
    h_ = CreateWindowEx(0, "GreenWindow", "G", WS_POPUP | WS_VISIBLE, 10, 20, 200, 100, nullptr,
                        nullptr, nullptr, nullptr);
    PumpPending();
    EXPECT_GE(disp_->presents(), 1);
    const int64_t before = disp_->presented_pixels();
    RECT r{0, 0, 10, 10};
    InvalidateRect(h_, &r, false);
    PumpPending();
    EXPECT_EQ(disp_->presented_pixels() - before, 100) << "only the invalidated part goes out";
    PumpPending();
    EXPECT_EQ(disp_->presented_pixels() - before, 100) << "an idle loop presents nothing";
}

TEST_F(Headless, WindowAndScreenShotsAreWrittenAsPng) {
    h_ = CreateWindowEx(0, "GreenWindow", "G", WS_POPUP | WS_VISIBLE, 10, 20, 200, 100, nullptr,
                        nullptr, nullptr, nullptr);
    PumpPending();
    const std::string win_png = (dir_ / "w.png").string();
    const std::string scr_png = (dir_ / "s.png").string();
    ASSERT_TRUE(display::WriteWindowPng(h_, win_png));
    ASSERT_TRUE(display::WriteScreenPng(scr_png));
    gdi::Bitmap w = gdi::read_png_file(win_png);
    gdi::Bitmap s = gdi::read_png_file(scr_png);
    ASSERT_EQ(w.width(), 200);
    ASSERT_EQ(s.width(), 1024);
    EXPECT_EQ(w.color_at(5, 5), gdi::rgb(0, 200, 0));
    EXPECT_EQ(s.color_at(10 + 5, 20 + 5), gdi::rgb(0, 200, 0));
    EXPECT_EQ(s.color_at(5, 5), GetSysColor(COLOR_DESKTOP));
    std::string err;
    EXPECT_FALSE(display::WriteWindowPng(h_, (dir_ / "no" / "such" / "x.png").string(), &err));
    EXPECT_FALSE(err.empty());
    EXPECT_FALSE(display::WriteWindowPng(nullptr, win_png, &err));
}

// One idle wait of the loop under the real clock: whatever is pending is taken first, so the
// wait lasts until the 10 ms timer is due again or a watched descriptor wakes it.
void OneIdleWait() {
    MSG m;
    while (PeekMessage(&m, nullptr, 0, 0, PM_REMOVE)) {
    }
    WaitMessage();
}

// A headless display installed as the loop's driver, and a connected pair of sockets: the one
// the loop watches (pair_[0]) and the device's end (pair_[1]).
class HeadlessWait : public ::testing::Test {
  protected:
    void SetUp() override {
        display::Options o;
        o.kind = display::Kind::Headless;
        std::string err;
        disp_ = display::Open(o, &err);
        ASSERT_TRUE(disp_) << err;
        ASSERT_EQ(socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, pair_), 0);
    }
    std::unique_ptr<display::Display> disp_;
    int pair_[2] = {-1, -1};
};

// The idle wait watches a device's socket for its owner, so that the owner asks the socket only
// when something came: quiet only after it was read dry and a wait since saw nothing.
TEST_F(HeadlessWait, AWatchedDescriptorIsQuietUntilInputOrAHangUpComes) {
    const UINT_PTR timer = SetTimer(nullptr, 0, 10, nullptr);

    DescriptorWatch watch;
    watch.watch(pair_[0]);
    EXPECT_TRUE(watch.watched());
    EXPECT_TRUE(watch.may_be_ready());
    watch.drained();
    EXPECT_TRUE(watch.may_be_ready()) << "no wait has watched it since";
    OneIdleWait();
    EXPECT_FALSE(watch.may_be_ready());
    OneIdleWait();
    EXPECT_FALSE(watch.may_be_ready());

    // Input that comes is reported once; read dry, the socket is quiet again after a wait.
    ASSERT_EQ(write(pair_[1], "x", 1), 1);
    OneIdleWait();
    EXPECT_TRUE(watch.may_be_ready());
    OneIdleWait();
    EXPECT_TRUE(watch.may_be_ready()) << "not read yet";
    char c;
    ASSERT_EQ(read(pair_[0], &c, 1), 1);
    watch.drained();
    OneIdleWait();
    EXPECT_FALSE(watch.may_be_ready());

    // Without a display nothing watches: the owner asks. A display installed again watches.
    SetDisplayDriver(nullptr);
    EXPECT_FALSE(watch.watched());
    EXPECT_TRUE(watch.may_be_ready());
    SetDisplayDriver(disp_.get());
    EXPECT_TRUE(watch.watched());
    watch.drained();
    OneIdleWait();
    EXPECT_FALSE(watch.may_be_ready());

    // The peer hanging up is reported like input.
    close(pair_[1]);
    OneIdleWait();
    EXPECT_TRUE(watch.may_be_ready());

    watch.watch(-1);
    EXPECT_FALSE(watch.watched());
    close(pair_[0]);

    // Watched for a hang-up only: input does not end the watch's quiet, the hang-up does.
    ASSERT_EQ(socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, pair_), 0);
    watch.watch(pair_[0], DescriptorWatch::Interest::HangUp);
    EXPECT_TRUE(watch.watched());
    watch.drained();
    OneIdleWait();
    EXPECT_FALSE(watch.may_be_ready());
    ASSERT_EQ(write(pair_[1], "x", 1), 1);
    OneIdleWait();
    OneIdleWait();
    EXPECT_FALSE(watch.may_be_ready());
    close(pair_[1]);
    OneIdleWait();
    EXPECT_TRUE(watch.may_be_ready());
    watch.watch(-1);
    close(pair_[0]);
    KillTimer(nullptr, timer);
}

// A timer that sleeps through ticks it would only count must not sleep through a device's
// hang-up: the hang-up ends the wait at once, and with it the skip, so the timer's owner runs at
// its next tick and finds it.
TEST_F(HeadlessWait, AHangUpEndsTheSkipOfATimerThatSleepsThroughItsTicks) {
    DescriptorWatch watch;
    watch.watch(pair_[0], DescriptorWatch::Interest::HangUp);
    watch.drained();
    const UINT_PTR timer = SetTimer(nullptr, 0, 10, nullptr);
    ASSERT_TRUE(SkipTimerTicks(nullptr, timer, 6000));  // a minute
    close(pair_[1]);
    OneIdleWait();
    EXPECT_TRUE(watch.may_be_ready());
    const auto next = NextTimerWakeTime();
    ASSERT_TRUE(next);
    EXPECT_LE(*next, clk::monotonic_now_ms() + 10);
    watch.watch(-1);
    close(pair_[0]);
    KillTimer(nullptr, timer);
}

}  // namespace
