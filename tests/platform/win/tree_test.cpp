// The window tree: z-order, enumeration, re-parenting, text, styles and the standard scroll
// bars of a window.

#include <gmock/gmock.h>

#include "test_support.h"

using namespace win;
using namespace wintest;

namespace {

class Tree : public WinTest {};

TEST_F(Tree, ZOrderEnumerationAndTopmostWindows) {
    HWND p = top("P", WS_POPUP | WS_VISIBLE, {0, 0, 200, 200});
    HWND a = child(p, {0, 0, 10, 10}, WS_CHILD | WS_VISIBLE, 1);
    HWND b = child(p, {0, 0, 10, 10}, WS_CHILD | WS_VISIBLE, 2);
    HWND bb = child(b, {0, 0, 5, 5}, WS_CHILD | WS_VISIBLE, 3);
    EXPECT_EQ(GetWindow(p, GW_CHILD), b) << "new children go on top";
    EXPECT_EQ(GetWindow(b, GW_HWNDNEXT), a);
    EXPECT_EQ(GetWindow(a, GW_HWNDPREV), b);
    std::vector<HWND> seen;
    EnumChildWindows(p, [&](HWND h) {
        seen.push_back(h);
        return true;
    });
    EXPECT_EQ(seen, (std::vector<HWND>{b, bb, a}));
    SetWindowPos(a, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    EXPECT_EQ(GetWindow(p, GW_CHILD), a);
    EXPECT_EQ(GetDlgItem(p, 2), b);
    EXPECT_EQ(GetDlgCtrlID(bb), 3);

    HWND t = CreateWindowEx(WS_EX_TOPMOST, "RecWindow", "T", WS_POPUP | WS_VISIBLE, 0, 0, 10, 10,
                            nullptr, nullptr, nullptr, nullptr);
    HWND n = top("N", WS_POPUP | WS_VISIBLE, {0, 0, 10, 10});
    EXPECT_EQ(GetTopWindow(nullptr), t) << "a newer normal window stays below a topmost one";
    EXPECT_EQ(GetWindow(t, GW_HWNDNEXT), n);
    SetWindowPos(t, HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    SetWindowPos(n, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    EXPECT_EQ(GetTopWindow(nullptr), n);
}

// The window looked up last is found again without the table; once destroyed it is found no
// more, whether it was the last one looked up or not, and its handle takes no timer.
TEST_F(Tree, ADestroyedWindowIsNotFoundEvenRightAfterALookUp) {
    HWND a = top("A", WS_OVERLAPPED);
    HWND b = top("B", WS_OVERLAPPED);
    ASSERT_TRUE(IsWindow(a));
    ASSERT_TRUE(IsWindow(a));
    EXPECT_EQ(SetTimer(a, 1, 100), 1u);
    DestroyWindow(a);
    EXPECT_FALSE(IsWindow(a));
    EXPECT_EQ(SetTimer(a, 1, 100), 0u);
    EXPECT_FALSE(KillTimer(a, 1)) << "its timer went with it";

    ASSERT_TRUE(IsWindow(b));
    HWND c = top("C", WS_OVERLAPPED);
    ASSERT_TRUE(IsWindow(c));
    DestroyWindow(b);  // not the one looked up last
    EXPECT_FALSE(IsWindow(b));
    EXPECT_TRUE(IsWindow(c));
    EXPECT_EQ(GetWindowText(c), "C");
}

TEST_F(Tree, OwnedWindowsGoWithTheirOwnerAndReportIt) {
    HWND owner = top("O", WS_POPUP | WS_VISIBLE, {0, 0, 100, 100});
    HWND kid = child(owner, {0, 0, 10, 10});
    HWND owned = CreateWindowEx(0, "RecWindow", "D", WS_POPUP | WS_VISIBLE, 10, 10, 50, 50, kid,
                                nullptr, nullptr, nullptr);
    EXPECT_EQ(GetWindow(owned, GW_OWNER), owner) << "the owner is the child's top-level window";
    EXPECT_EQ(GetParent(owned), owner);
    EXPECT_EQ(GetAncestor(kid, GA_ROOT), owner);
    DestroyWindow(owner);
    EXPECT_FALSE(IsWindow(owned));
}

TEST_F(Tree, AnOwnerMadeAChildAndFreedWithItsParentLeavesTheOwnedWindowWithoutOwner) {
    HWND owner = top("O", WS_POPUP | WS_VISIBLE, {0, 0, 100, 100});
    HWND owned = CreateWindowEx(0, "RecWindow", "D", WS_POPUP | WS_VISIBLE, 10, 10, 50, 50, owner,
                                nullptr, nullptr, nullptr);
    HWND other = top("Other", WS_POPUP | WS_VISIBLE, {200, 0, 300, 100});
    HWND holder = top("H", WS_POPUP | WS_VISIBLE, {0, 200, 300, 400});
    // Many children in the tree that goes, so the owner is freed among them.
    for (int i = 0; i < 50; ++i)
        child(holder, {i, 0, i + 5, 5});
    ASSERT_EQ(SetParent(owner, holder), nullptr);
    EXPECT_EQ(GetWindow(owned, GW_OWNER), owner);
    DestroyWindow(holder);
    EXPECT_FALSE(IsWindow(owner));
    ASSERT_TRUE(IsWindow(owned)) << "only its owner's own destruction takes an owned window";
    EXPECT_EQ(GetWindow(owned, GW_OWNER), nullptr);
    EXPECT_EQ(GetParent(owned), nullptr);
    // The survivors still work as top-level windows and go cleanly.
    SetWindowLongPtr(owned, GWLP_HWNDPARENT, reinterpret_cast<LONG_PTR>(other));
    EXPECT_EQ(GetWindow(owned, GW_OWNER), other);
    DestroyWindow(other);
    EXPECT_FALSE(IsWindow(owned));
}

TEST_F(Tree, SetParentMovesAChildAndRefusesCycles) {
    HWND p = top("P", WS_POPUP | WS_VISIBLE, {0, 0, 200, 200});
    HWND q = top("Q", WS_POPUP | WS_VISIBLE, {300, 0, 500, 200});
    HWND c = child(p, {10, 10, 20, 20});
    EXPECT_EQ(SetParent(c, q), p);
    EXPECT_EQ(GetParent(c), q);
    EXPECT_TRUE(IsChild(q, c));
    EXPECT_FALSE(IsChild(p, c));
    POINT o{0, 0};
    ClientToScreen(c, &o);
    EXPECT_EQ(o, (POINT{310, 10}));
    EXPECT_EQ(SetParent(q, c), nullptr) << "a window cannot become its own descendant's child";
}

TEST_F(Tree, TextIsUtf8AndGetTextNeverSplitsACharacter) {
    HWND h = top("", WS_POPUP);
    SetWindowText(h, "开关 on");
    EXPECT_EQ(GetWindowText(h), "开关 on");
    EXPECT_EQ(GetWindowTextLength(h), 9);
    char buf[5];
    // Room for four bytes: one three-byte character fits, the second does not.
    EXPECT_EQ(GetWindowText(h, buf, sizeof buf), 3);
    EXPECT_STREQ(buf, "开");
    EXPECT_EQ(GetWindowText(h, buf, 0), 0);
}

TEST_F(Tree, StylesIdsAndUserDataThroughWindowLongs) {
    HWND p = top("P", WS_POPUP);
    HWND c = child(p, {0, 0, 10, 10}, WS_CHILD, 7);
    EXPECT_EQ(GetWindowLongPtr(c, GWLP_ID), 7);
    SetWindowLongPtr(c, GWLP_USERDATA, 1234);
    EXPECT_EQ(GetWindowLongPtr(c, GWLP_USERDATA), 1234);
    clear_log();
    LONG_PTR old = SetWindowLongPtr(c, GWL_STYLE, GetWindowLongPtr(c, GWL_STYLE) | WS_TABSTOP);
    EXPECT_FALSE(old & WS_TABSTOP);
    EXPECT_TRUE(GetWindowLongPtr(c, GWL_STYLE) & WS_TABSTOP);
    EXPECT_THAT(names(c), ::testing::ElementsAre("WM_STYLECHANGING", "WM_STYLECHANGED"));
    EXPECT_EQ(GetClassName(c), "RecWindow");
    EXPECT_TRUE(SetProp(c, "skin", 99));
    EXPECT_EQ(GetProp(c, "skin"), 99u);
    EXPECT_EQ(RemoveProp(c, "skin"), 99u);
    EXPECT_EQ(GetProp(c, "skin"), 0u);
}

TEST_F(Tree, ScrollBarArrowsAndTrackSendScrollRequests) {
    HWND h = top("S", WS_POPUP | WS_VISIBLE | WS_VSCROLL, {0, 0, 100, 200});
    SCROLLINFO si;
    si.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
    si.nMin = 0;
    si.nMax = 99;
    si.nPage = 10;
    si.nPos = 0;
    SetScrollInfo(h, SB_VERT, &si, true);
    PumpPending();
    clear_log();
    InjectClick({90, 5});    // the up arrow
    InjectClick({90, 195});  // the down arrow
    InjectClick({90, 150});  // the track below the thumb
    PumpPending();
    std::vector<WORD> requests;
    for (auto& e : log()) {
        if (e.msg == WM_VSCROLL)
            requests.push_back(LOWORD(e.wParam));
    }
    EXPECT_EQ(requests, (std::vector<WORD>{SB_LINEUP, SB_ENDSCROLL, SB_LINEDOWN, SB_ENDSCROLL,
                                           SB_PAGEDOWN, SB_ENDSCROLL}));
    EXPECT_EQ(SetScrollPos(h, SB_VERT, 500, true), 0);
    EXPECT_EQ(GetScrollPos(h, SB_VERT), 90) << "the position stops where the last page begins";
}

TEST_F(Tree, WheelGoesToTheFocusWindowAndUpToItsParents) {
    HWND p = top("P", WS_POPUP | WS_VISIBLE, {0, 0, 100, 100});
    HWND c = child(p, {0, 0, 50, 50});
    SetFocus(c);
    clear_log();
    InjectMouse(MouseAction::Wheel, {80, 80}, -120);
    PumpPending();
    int at_child = 0, at_parent = 0;
    for (auto& e : log()) {
        if (e.msg != WM_MOUSEWHEEL)
            continue;
        EXPECT_EQ(GET_WHEEL_DELTA_WPARAM(e.wParam), -120);
        (e.hwnd == c ? at_child : at_parent)++;
    }
    EXPECT_EQ(at_child, 1);
    EXPECT_EQ(at_parent, 1);
}

}  // namespace
