// Input through the injection entry point: hit testing, activation, focus, capture, leave
// tracking, double clicks and keys.

#include <gmock/gmock.h>

#include "test_support.h"

using namespace win;
using namespace wintest;
using ::testing::ElementsAre;

namespace {

std::vector<Entry> of(HWND h, UINT msg) {
    std::vector<Entry> out;
    for (auto& e : log()) {
        if (e.hwnd == h && e.msg == msg)
            out.push_back(e);
    }
    return out;
}

class Input : public WinTest {
  protected:
    void SetUp() override {
        WinTest::SetUp();
        frame_ = top("F", WS_POPUP | WS_VISIBLE, {100, 100, 400, 300});
        a_ = child(frame_, {10, 10, 110, 60}, WS_CHILD | WS_VISIBLE, 1);
        b_ = child(a_, {5, 5, 25, 25}, WS_CHILD | WS_VISIBLE, 2);
        PumpPending();
        clear_log();
    }
    HWND frame_ = nullptr, a_ = nullptr, b_ = nullptr;
};

TEST_F(Input, ClickGoesToTheDeepestVisibleEnabledChildInClientCoordinates) {
    InjectClick({100 + 10 + 5 + 3, 100 + 10 + 5 + 4});
    PumpPending();
    auto downs = of(b_, WM_LBUTTONDOWN);
    ASSERT_EQ(downs.size(), 1u);
    EXPECT_EQ(of(b_, WM_LBUTTONUP).size(), 1u);
    EXPECT_TRUE(of(a_, WM_LBUTTONDOWN).empty());
    EXPECT_EQ(WindowFromPoint({118, 119}), b_);

    EnableWindow(b_, false);
    EXPECT_EQ(WindowFromPoint({118, 119}), a_) << "disabled windows are passed over";
    ShowWindow(b_, SW_HIDE);
    EXPECT_EQ(WindowFromPoint({118, 119}), a_);
    EXPECT_EQ(WindowFromPoint({100 + 200, 100 + 100}), frame_);
    EXPECT_EQ(WindowFromPoint({5, 5}), nullptr);
    EXPECT_EQ(ChildWindowFromPoint(frame_, {15, 15}), a_);
    EXPECT_EQ(ChildWindowFromPoint(frame_, {250, 150}), frame_);
}

TEST_F(Input, MouseCoordinatesArriveInClientCoordinates) {
    SetWindowProc(b_, [](HWND h, UINT m, WPARAM w, LPARAM l) -> LRESULT {
        if (m == WM_LBUTTONDOWN)
            log().push_back({h, m, static_cast<WPARAM>(l), {}});
        return DefWindowProc(h, m, w, l);
    });
    InjectClick({118, 119});
    PumpPending();
    auto downs = of(b_, WM_LBUTTONDOWN);
    ASSERT_EQ(downs.size(), 1u);
    EXPECT_EQ(GET_X_LPARAM(static_cast<LPARAM>(downs[0].wParam)), 3);
    EXPECT_EQ(GET_Y_LPARAM(static_cast<LPARAM>(downs[0].wParam)), 4);
}

TEST_F(Input, ClickIntoAnInactiveWindowAsksMouseActivateThenActivates) {
    HWND other = top("O", WS_POPUP | WS_VISIBLE, {600, 100, 700, 200});
    ASSERT_EQ(GetActiveWindow(), other);
    clear_log();
    InjectClick({118, 119});
    PumpPending();
    std::vector<std::string> seq;
    for (auto& e : log()) {
        if (e.msg == WM_MOUSEACTIVATE || e.msg == WM_ACTIVATE || e.msg == WM_LBUTTONDOWN) {
            seq.push_back(MessageName(e.msg) + (e.hwnd == b_       ? "@b"
                                                : e.hwnd == a_     ? "@a"
                                                : e.hwnd == frame_ ? "@frame"
                                                                   : "@other"));
        }
    }
    EXPECT_THAT(seq,
                ElementsAre("WM_MOUSEACTIVATE@b", "WM_MOUSEACTIVATE@a", "WM_MOUSEACTIVATE@frame",
                            "WM_ACTIVATE@other", "WM_ACTIVATE@frame", "WM_LBUTTONDOWN@b"));
    EXPECT_EQ(GetActiveWindow(), frame_);
    auto act = of(frame_, WM_ACTIVATE);
    EXPECT_EQ(LOWORD(act[0].wParam), WA_CLICKACTIVE);
}

TEST_F(Input, MouseActivateCanEatTheClick) {
    HWND other = top("O", WS_POPUP | WS_VISIBLE, {600, 100, 700, 200});
    (void)other;
    SetWindowProc(b_, [](HWND h, UINT m, WPARAM w, LPARAM l) -> LRESULT {
        if (m == WM_MOUSEACTIVATE)
            return MA_NOACTIVATEANDEAT;
        return RecordingProc(h, m, w, l);
    });
    clear_log();
    InjectMouse(MouseAction::LeftDown, {118, 119});
    PumpPending();
    EXPECT_TRUE(of(b_, WM_LBUTTONDOWN).empty());
    EXPECT_NE(GetActiveWindow(), frame_);
}

TEST_F(Input, FocusMovesWithKillThenSetAndIsRefusedForDisabledWindows) {
    SetFocus(a_);
    clear_log();
    EXPECT_EQ(SetFocus(b_), a_);
    std::vector<std::pair<HWND, UINT>> seq;
    for (auto& e : log()) {
        if (e.msg == WM_KILLFOCUS || e.msg == WM_SETFOCUS)
            seq.push_back({e.hwnd, e.msg});
    }
    EXPECT_EQ(seq, (std::vector<std::pair<HWND, UINT>>{{a_, WM_KILLFOCUS}, {b_, WM_SETFOCUS}}));
    EXPECT_EQ(of(a_, WM_KILLFOCUS)[0].wParam, HandleToWParam(b_));
    EXPECT_EQ(of(b_, WM_SETFOCUS)[0].wParam, HandleToWParam(a_));

    EnableWindow(a_, false);
    EXPECT_NE(GetFocus(), b_) << "disabling an ancestor takes the focus away";
    EXPECT_EQ(SetFocus(b_), nullptr);
    EXPECT_NE(GetFocus(), b_);
    EnableWindow(a_, true);
    SetFocus(b_);
    EXPECT_EQ(GetFocus(), b_);
    DestroyWindow(a_);
    EXPECT_EQ(GetFocus(), frame_) << "focus falls back to the parent of the destroyed window";
}

TEST_F(Input, KeysGoToTheFocusWindowAndTypeCharacters) {
    SetFocus(b_);
    clear_log();
    InjectKey('A', true);
    InjectKey('A', false);
    InjectKey(VK_SHIFT, true);
    InjectKey('B', true);
    InjectKey('B', false);
    InjectKey(VK_SHIFT, false);
    InjectKey('C', true, "\xE4\xB8\xAD");  // the key types a CJK character
    PumpPending();
    std::vector<WPARAM> chars;
    for (auto& e : of(b_, WM_CHAR))
        chars.push_back(e.wParam);
    EXPECT_EQ(chars, (std::vector<WPARAM>{'a', 'B', 0x4E2D}));
    EXPECT_EQ(of(b_, WM_KEYDOWN).size(), 4u);
    EXPECT_EQ(of(b_, WM_KEYUP).size(), 3u);
    // WM_CHAR follows its key-down at once.
    std::vector<std::string> seq = names(b_);
    EXPECT_EQ(seq[0], "WM_KEYDOWN");
    EXPECT_EQ(seq[1], "WM_CHAR");
    EXPECT_EQ(seq[2], "WM_KEYUP");
    EXPECT_TRUE(GetKeyState('C') < 0);
    EXPECT_FALSE(GetKeyState(VK_SHIFT) < 0);
}

TEST_F(Input, AltF4ClosesTheActiveWindow) {
    SetFocus(b_);
    InjectKey(VK_MENU, true);
    InjectKey(VK_F4, true);
    InjectKey(VK_F4, false);
    InjectKey(VK_MENU, false);
    PumpPending();
    EXPECT_FALSE(IsWindow(frame_));
}

TEST_F(Input, CaptureSendsEverythingToTheCapturingWindow) {
    SetCapture(b_);
    InjectMouse(MouseAction::Move, {390, 290});
    InjectMouse(MouseAction::LeftUp, {5, 5});
    PumpPending();
    ASSERT_EQ(of(b_, WM_MOUSEMOVE).size(), 1u);
    ASSERT_EQ(of(b_, WM_LBUTTONUP).size(), 1u);
    clear_log();
    SetCapture(a_);
    EXPECT_EQ(of(b_, WM_CAPTURECHANGED).size(), 1u);
    ReleaseCapture();
    EXPECT_EQ(of(a_, WM_CAPTURECHANGED).size(), 1u);
    EXPECT_EQ(GetCapture(), nullptr);
}

TEST_F(Input, MouseLeaveIsPostedOnceWhenThePointerLeaves) {
    InjectMouse(MouseAction::Move, {118, 119});
    PumpPending();
    TRACKMOUSEEVENT tme;
    tme.dwFlags = TME_LEAVE;
    tme.hwndTrack = b_;
    ASSERT_TRUE(TrackMouseEvent(&tme));
    InjectMouse(MouseAction::Move, {119, 119});
    PumpPending();
    EXPECT_TRUE(of(b_, WM_MOUSELEAVE).empty()) << "still inside";
    InjectMouse(MouseAction::Move, {300, 250});
    InjectMouse(MouseAction::Move, {310, 250});
    PumpPending();
    EXPECT_EQ(of(b_, WM_MOUSELEAVE).size(), 1u);
    // Asking while outside gives the leave at once.
    TrackMouseEvent(&tme);
    PumpPending();
    EXPECT_EQ(of(b_, WM_MOUSELEAVE).size(), 2u);
}

TEST_F(Input, DoubleClicksNeedTheClassStyleTheTimeAndTheDistance) {
    InjectClick({118, 119});
    clock_.advance(200);
    InjectClick({119, 120});
    PumpPending();
    EXPECT_EQ(of(b_, WM_LBUTTONDBLCLK).size(), 1u);
    EXPECT_EQ(of(b_, WM_LBUTTONDOWN).size(), 1u);

    clear_log();
    clock_.advance(1000);
    InjectClick({118, 119});
    clock_.advance(GetDoubleClickTime() + 1);
    InjectClick({118, 119});
    PumpPending();
    EXPECT_EQ(of(b_, WM_LBUTTONDOWN).size(), 2u) << "too slow";

    clear_log();
    clock_.advance(1000);
    InjectClick({118, 119});
    InjectClick({124, 119});
    PumpPending();
    EXPECT_EQ(of(b_, WM_LBUTTONDOWN).size(), 2u) << "too far";

    HWND plain = CreateWindowEx(0, "Plain", "", WS_CHILD | WS_VISIBLE, 200, 100, 50, 50, frame_,
                                nullptr, nullptr, nullptr);
    SetWindowProc(plain, RecordingProc);
    clear_log();
    clock_.advance(1000);
    InjectClick({320, 220});
    InjectClick({320, 220});
    PumpPending();
    EXPECT_EQ(of(plain, WM_LBUTTONDOWN).size(), 2u) << "no CS_DBLCLKS, no double click";
}

TEST_F(Input, CaptionButtonsAndCloseThroughTheSystemCommand) {
    HWND w = top("Closable", WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_VISIBLE,
                 {500, 500, 700, 600});
    PumpPending();
    RECT wr = GetWindowRect(w);
    // The close button sits at the right of the caption band.
    POINT close{wr.right - 3 - 2 - 5, wr.top + 3 + 8};
    EXPECT_EQ(SendMessage(w, WM_NCHITTEST, 0, POINTTOLPARAM(close)), HTCLOSE);
    EXPECT_EQ(SendMessage(w, WM_NCHITTEST, 0, POINTTOLPARAM({wr.left + 60, wr.top + 10})),
              HTCAPTION);
    EXPECT_EQ(SendMessage(w, WM_NCHITTEST, 0, POINTTOLPARAM({wr.left + 1, wr.top + 50})), HTBORDER);
    EXPECT_EQ(SendMessage(w, WM_NCHITTEST, 0, POINTTOLPARAM({wr.left + 50, wr.top + 50})),
              HTCLIENT);
    // A press on the close button that slides off and is released elsewhere is cancelled; a
    // later press in the client area released over the button does not close either.
    const POINT inside{wr.left + 50, wr.top + 50};
    InjectMouse(MouseAction::Move, close);
    InjectMouse(MouseAction::LeftDown, close);
    InjectMouse(MouseAction::Move, inside);
    InjectMouse(MouseAction::LeftUp, inside);
    InjectMouse(MouseAction::LeftDown, inside);
    InjectMouse(MouseAction::Move, close);
    InjectMouse(MouseAction::LeftUp, close);
    PumpPending();
    ASSERT_TRUE(IsWindow(w));
    EXPECT_EQ(GetCapture(), nullptr);
    // The button held for the press takes the release, and the window closes.
    clear_log();
    InjectClick(close);
    PumpPending();
    EXPECT_THAT(names(w), ::testing::IsSupersetOf({"WM_NCLBUTTONDOWN", "WM_LBUTTONUP",
                                                   "WM_SYSCOMMAND", "WM_CLOSE", "WM_DESTROY"}));
    EXPECT_FALSE(IsWindow(w));
}

TEST_F(Input, DraggingTheCaptionMovesTheWindowUntilTheButtonComesUp) {
    HWND w =
        top("Drag", WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_VISIBLE, {500, 500, 700, 600});
    PumpPending();
    InjectMouse(MouseAction::Move, {560, 510});
    InjectMouse(MouseAction::LeftDown, {560, 510});
    InjectMouse(MouseAction::Move, {580, 540});
    InjectMouse(MouseAction::Move, {600, 560});
    InjectMouse(MouseAction::LeftUp, {600, 560});
    InjectMouse(MouseAction::Move, {650, 580});
    PumpPending();
    EXPECT_EQ(GetWindowRect(w), (RECT{540, 550, 740, 650}));
    EXPECT_EQ(GetCapture(), nullptr);
}

TEST_F(Input, ADisabledOwnerTakesNoClicksAndBringsItsBoxForward) {
    HWND box = CreateWindowEx(0, "RecWindow", "Box", WS_POPUP | WS_CAPTION | WS_VISIBLE, 600, 600,
                              100, 80, frame_, nullptr, nullptr, nullptr);
    EnableWindow(frame_, false);
    SetActiveWindow(frame_);
    clear_log();
    InjectClick({118, 119});
    PumpPending();
    EXPECT_TRUE(of(b_, WM_LBUTTONDOWN).empty());
    EXPECT_TRUE(of(frame_, WM_LBUTTONDOWN).empty());
    EXPECT_EQ(GetActiveWindow(), box);
    EnableWindow(frame_, true);
    InjectClick({118, 119});
    PumpPending();
    EXPECT_EQ(of(b_, WM_LBUTTONDOWN).size(), 1u);
}

TEST_F(Input, MinimiseAndRestoreThroughTheSystemCommand) {
    HWND w = top("Min", WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_VISIBLE,
                 {500, 500, 700, 600});
    SendMessage(w, WM_SYSCOMMAND, SC_MINIMIZE, 0);
    EXPECT_TRUE(IsIconic(w));
    EXPECT_NE(GetActiveWindow(), w);
    SendMessage(w, WM_SYSCOMMAND, SC_RESTORE, 0);
    EXPECT_FALSE(IsIconic(w));
    EXPECT_EQ(GetActiveWindow(), w);
    EXPECT_EQ(GetWindowRect(w), (RECT{500, 500, 700, 600}));
}

}  // namespace
