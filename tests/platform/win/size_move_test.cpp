// Moving, sizing, maximizing and minimizing top-level windows through their frame, for a
// window that reports its own borders and caption (as a skinned form does) and keeps the mouse
// messages of its client area to itself.

#include <gmock/gmock.h>

#include <algorithm>

#include "test_support.h"

using namespace win;
using namespace wintest;

namespace {

constexpr int kBorder = 5;
constexpr int kCaption = 24;

// What the window answers to WM_GETMINMAXINFO (0: leaves the default) and whether it snaps
// its width to tens while being sized.
POINT g_min_track{0, 0};
bool g_snap = false;

LRESULT SelfFramed(HWND h, UINT m, WPARAM w, LPARAM l) {
    if (m != WM_NCHITTEST && m != WM_SETCURSOR)
        log().push_back({h, m, w, {}});
    switch (m) {
        case WM_NCHITTEST: {
            const RECT r = GetWindowRect(h);
            const POINT p = MAKEPOINT(l);
            if (!r.contains(p))
                return HTNOWHERE;
            const bool left = p.x < r.left + kBorder, right = p.x >= r.right - kBorder;
            const bool top = p.y < r.top + kBorder, bottom = p.y >= r.bottom - kBorder;
            if (top)
                return left ? HTTOPLEFT : right ? HTTOPRIGHT : HTTOP;
            if (bottom)
                return left ? HTBOTTOMLEFT : right ? HTBOTTOMRIGHT : HTBOTTOM;
            if (left)
                return HTLEFT;
            if (right)
                return HTRIGHT;
            return p.y < r.top + kCaption ? HTCAPTION : HTCLIENT;
        }
        case WM_GETMINMAXINFO:
            if (g_min_track.x)
                reinterpret_cast<MINMAXINFO*>(l)->ptMinTrackSize = g_min_track;
            return 0;
        case WM_SIZING:
            if (g_snap) {
                RECT* r = reinterpret_cast<RECT*>(l);
                r->right = r->left + r->width() / 10 * 10;
            }
            return TRUE;
        case WM_MOUSEMOVE:
        case WM_LBUTTONDOWN:
        case WM_LBUTTONUP:
            return 0;  // the client area's mouse is the window's own business
        default:
            return DefWindowProc(h, m, w, l);
    }
}

class SizeMove : public WinTest {
  protected:
    void SetUp() override {
        WinTest::SetUp();
        static bool registered = false;
        if (!registered) {
            WNDCLASS wc;
            wc.lpfnWndProc = SelfFramed;
            wc.lpszClassName = "SelfFramed";
            RegisterClass(wc);
            registered = true;
        }
        g_min_track = {0, 0};
        g_snap = false;
        h_ = CreateWindowEx(0, "SelfFramed", "Framed",
                            WS_POPUP | WS_SYSMENU | WS_MINIMIZEBOX | WS_MAXIMIZEBOX | WS_VISIBLE,
                            200, 150, 400, 300, nullptr, nullptr, nullptr, nullptr);
        PumpPending();
        clear_log();
    }
    void TearDown() override {
        SystemParametersInfo(SPI_SETWORKAREA, 0, nullptr, 0);
        WinTest::TearDown();
    }
    // A press at `from`, the pointer through `steps` positions on the way, a release at `to`.
    static void drag(POINT from, POINT to, int steps = 2) {
        InjectMouse(MouseAction::Move, from);
        InjectMouse(MouseAction::LeftDown, from);
        for (int i = 1; i <= steps; ++i) {
            InjectMouse(MouseAction::Move, {from.x + (to.x - from.x) * i / steps,
                                            from.y + (to.y - from.y) * i / steps});
        }
        InjectMouse(MouseAction::LeftUp, to);
        PumpPending();
    }
    static size_t count(UINT msg) {
        return static_cast<size_t>(std::count_if(log().begin(), log().end(),
                                                 [&](const Entry& e) { return e.msg == msg; }));
    }
    HWND h_ = nullptr;
};

TEST_F(SizeMove, ABorderDragRunsTheModalLoopWithItsNotificationsInOrder) {
    drag({597, 447}, {617, 467});
    std::vector<std::string> seen;
    for (const std::string& n : names(h_)) {
        if (seen.empty() || seen.back() != n)
            seen.push_back(n);
    }
    EXPECT_THAT(seen, ::testing::IsSupersetOf({"WM_NCLBUTTONDOWN", "WM_SYSCOMMAND",
                                               "WM_ENTERSIZEMOVE", "WM_GETMINMAXINFO", "WM_SIZING",
                                               "WM_WINDOWPOSCHANGING", "WM_EXITSIZEMOVE"}));
    auto at = [&](const char* n) { return std::find(seen.begin(), seen.end(), n) - seen.begin(); };
    EXPECT_LT(at("WM_SYSCOMMAND"), at("WM_ENTERSIZEMOVE"));
    EXPECT_LT(at("WM_ENTERSIZEMOVE"), at("WM_GETMINMAXINFO"));
    EXPECT_LT(at("WM_GETMINMAXINFO"), at("WM_SIZING"));
    EXPECT_LT(at("WM_SIZING"), at("WM_WINDOWPOSCHANGING"));
    EXPECT_LT(at("WM_WINDOWPOSCHANGING"), at("WM_EXITSIZEMOVE"));
    const auto sys = std::find_if(log().begin(), log().end(),
                                  [](const Entry& e) { return e.msg == WM_SYSCOMMAND; });
    ASSERT_NE(sys, log().end());
    EXPECT_EQ(sys->wParam, SC_SIZE + WMSZ_BOTTOMRIGHT);
    EXPECT_EQ(count(WM_LBUTTONUP), 0u) << "the release ends the drag and goes no further";
    EXPECT_EQ(GetWindowRect(h_), (RECT{200, 150, 620, 470}));

    // The caption moves it, with WM_MOVING.
    clear_log();
    drag({300, 160}, {250, 100});
    EXPECT_EQ(GetWindowRect(h_), (RECT{150, 90, 570, 410}));
    EXPECT_GE(count(WM_MOVING), 1u);
    EXPECT_EQ(count(WM_SIZING), 0u);
}

TEST_F(SizeMove, TheWindowsLimitsAndAdjustmentsHoldDuringTheDrag) {
    g_min_track = {300, 200};
    drag({597, 447}, {200, 200});  // far past the top-left
    EXPECT_EQ(GetWindowRect(h_), (RECT{200, 150, 500, 350}));
    g_min_track = {0, 0};
    g_snap = true;
    drag({497, 347}, {524, 360});  // 327 wide: snapped to 320
    EXPECT_EQ(GetWindowRect(h_), (RECT{200, 150, 520, 363}));
}

TEST_F(SizeMove, ARunOfMotionIsOneStepAndEscapePutsTheWindowBack) {
    // Sixty moves waiting at once (a second of motion while the window was busy): one step,
    // to the last position.
    drag({597, 447}, {657, 507}, 60);
    EXPECT_EQ(count(WM_SIZING), 1u);
    EXPECT_EQ(GetWindowRect(h_), (RECT{200, 150, 660, 510}));

    clear_log();
    InjectMouse(MouseAction::Move, {300, 160});
    InjectMouse(MouseAction::LeftDown, {300, 160});
    InjectMouse(MouseAction::Move, {400, 260});
    InjectKey(VK_ESCAPE, true);
    InjectKey(VK_ESCAPE, false);
    InjectMouse(MouseAction::LeftUp, {400, 260});
    PumpPending();
    EXPECT_EQ(GetWindowRect(h_), (RECT{200, 150, 660, 510}));
    EXPECT_EQ(count(WM_EXITSIZEMOVE), 1u);
    EXPECT_EQ(GetCapture(), nullptr);

    // A drag whose window loses the capture (another window took it, the program cancelled)
    // ends where it is, though no release and no key comes.
    clear_log();
    SetTimer(h_, 7, 50, [](HWND, UINT, UINT_PTR, DWORD) { ReleaseCapture(); });
    InjectMouse(MouseAction::Move, {350, 165});
    InjectMouse(MouseAction::LeftDown, {350, 165});
    InjectMouse(MouseAction::Move, {360, 175});
    RunFor(100);
    KillTimer(h_, 7);
    EXPECT_EQ(count(WM_EXITSIZEMOVE), 1u);
    EXPECT_EQ(GetWindowRect(h_), (RECT{210, 160, 670, 520}));
    InjectMouse(MouseAction::LeftUp, {360, 175});
    PumpPending();
}

TEST_F(SizeMove, TheWindowMenusMoveAndSizeFollowTheArrowKeysUntilEnter) {
    PostMessage(h_, WM_SYSCOMMAND, SC_MOVE, 0);
    InjectKey(VK_RIGHT, true);
    InjectKey(VK_RIGHT, false);
    InjectKey(VK_DOWN, true);
    InjectKey(VK_DOWN, false);
    InjectKey(VK_RETURN, true);
    InjectKey(VK_RETURN, false);
    PumpPending();
    EXPECT_EQ(GetWindowRect(h_), (RECT{208, 158, 608, 458}));
    // Sizing: the first arrow picks the border, the next ones move it.
    PostMessage(h_, WM_SYSCOMMAND, SC_SIZE, 0);
    InjectKey(VK_LEFT, true);
    InjectKey(VK_LEFT, true);
    InjectKey(VK_RETURN, true);
    PumpPending();
    EXPECT_EQ(GetWindowRect(h_), (RECT{192, 158, 608, 458}));
    EXPECT_EQ(GetCapture(), nullptr);
}

TEST_F(SizeMove, MaximizeFillsTheWorkAreaAndMinimizeLeavesACaptionBarAlongItsBottom) {
    const RECT work{0, 0, 1280, 990};  // a panel along the bottom of the screen
    SystemParametersInfo(SPI_SETWORKAREA, 0, const_cast<RECT*>(&work), 0);
    RECT got;
    ASSERT_TRUE(SystemParametersInfo(SPI_GETWORKAREA, 0, &got, 0));
    EXPECT_EQ(got, work);
    const RECT normal = GetWindowRect(h_);

    SendMessage(h_, WM_SYSCOMMAND, SC_MAXIMIZE, 0);
    EXPECT_EQ(GetWindowRect(h_), work) << "no system border hangs past the edges";
    EXPECT_TRUE(IsZoomed(h_));
    EXPECT_GE(count(WM_GETMINMAXINFO), 1u);

    // Minimized from maximized: a caption bar at the bottom-left; restoring maximizes again.
    clear_log();
    SendMessage(h_, WM_SYSCOMMAND, SC_MINIMIZE, 0);
    EXPECT_TRUE(IsIconic(h_));
    EXPECT_FALSE(IsZoomed(h_));
    const RECT bar = GetWindowRect(h_);
    EXPECT_EQ(bar,
              RECT::from_xywh(0, 990 - GetSystemMetrics(SM_CYMINIMIZED),
                              GetSystemMetrics(SM_CXMINIMIZED), GetSystemMetrics(SM_CYMINIMIZED)));
    const auto size =
        std::find_if(log().begin(), log().end(), [](const Entry& e) { return e.msg == WM_SIZE; });
    ASSERT_NE(size, log().end());
    EXPECT_EQ(size->wParam, static_cast<WPARAM>(SIZE_MINIMIZED));
    // A second minimized window takes the place beside it.
    HWND other =
        top("Other", WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_VISIBLE);
    ShowWindow(other, SW_MINIMIZE);
    EXPECT_EQ(GetWindowRect(other), bar.offset(bar.width(), 0));
    // The caption bar is dragged like any caption, and its default frame's buttons work.
    drag({bar.left + 20, bar.top + 10}, {bar.left + 120, bar.top - 90});
    EXPECT_EQ(GetWindowRect(h_), bar.offset(100, -100));
    EXPECT_TRUE(IsIconic(h_));
    const RECT other_bar = GetWindowRect(other);
    POINT restore{0, other_bar.top + 12};
    for (int x = other_bar.left; x < other_bar.right && !restore.x; ++x) {
        if (SendMessage(other, WM_NCHITTEST, 0, MAKELPARAM(x, restore.y)) == HTMINBUTTON)
            restore.x = x + 2;
    }
    ASSERT_NE(restore.x, 0) << "the caption bar shows its restore button";
    InjectClick(restore);
    PumpPending();
    EXPECT_FALSE(IsIconic(other));
    EXPECT_EQ(GetWindowRect(other), (RECT{100, 100, 420, 340}));

    SendMessage(h_, WM_SYSCOMMAND, SC_RESTORE, 0);
    EXPECT_TRUE(IsZoomed(h_));
    EXPECT_EQ(GetWindowRect(h_), work);
    SendMessage(h_, WM_SYSCOMMAND, SC_RESTORE, 0);
    EXPECT_EQ(GetWindowRect(h_), normal);
    EXPECT_FALSE(IsZoomed(h_));
}

}  // namespace
