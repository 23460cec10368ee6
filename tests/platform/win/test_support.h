#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/clock/clock.h"
#include "platform/win/win.h"

namespace wintest {

// One recorded message or hook call.
struct Entry {
    win::HWND hwnd = nullptr;
    win::UINT msg = 0;
    win::WPARAM wParam = 0;
    std::string tag;  // "hook" for hook calls, otherwise empty or set by the test
    bool operator==(const Entry& o) const { return hwnd == o.hwnd && msg == o.msg && tag == o.tag; }
};

// The log every recording procedure writes to.
std::vector<Entry>& log();
void clear_log();
// Messages of the log as names, optionally only those of one window, without the noise of
// hit tests and text queries unless asked for.
std::vector<std::string> names(win::HWND only = nullptr, bool keep_noise = false);

// A procedure that records and then calls DefWindowProc.
win::LRESULT RecordingProc(win::HWND, win::UINT, win::WPARAM, win::LPARAM);

// The class "RecWindow" (CS_DBLCLKS, button-face background) with RecordingProc, and "Plain"
// with DefWindowProc and a white background.
void register_classes();

// The colour at a client point of a window, read from its top-level window's bitmap.
win::COLORREF pixel(win::HWND h, int x, int y);

// Installs a manual clock, registers the classes, clears the log; destroys every window and
// removes scripts afterwards.
class WinTest : public ::testing::Test {
  protected:
    void SetUp() override;
    void TearDown() override;

    win::HWND top(const char* title = "Top",
                  win::DWORD style = win::WS_OVERLAPPED | win::WS_CAPTION | win::WS_SYSMENU |
                                     win::WS_VISIBLE,
                  win::RECT r = {100, 100, 420, 340});
    win::HWND child(win::HWND parent, win::RECT r,
                    win::DWORD style = win::WS_CHILD | win::WS_VISIBLE, int id = 0,
                    const char* cls = "RecWindow");

    clk::ManualClock clock_;
    std::unique_ptr<clk::ScopedClock> scoped_;
};

}  // namespace wintest
