// Pop-up menus: the menu table, TrackPopupMenu driven by keys and the mouse, the notifications
// the owner gets, the "#32768" windows the hook sees, printing, and menus changed or torn down
// while they are open.

#include <gmock/gmock.h>

#include <deque>
#include <memory>

#include "platform/gdi/bitmap.h"
#include "platform/gdi/dc.h"
#include "test_support.h"

using namespace win;
using namespace wintest;
using ::testing::ElementsAre;

namespace {

constexpr UINT kCut = 101, kCopy = 102, kPaste = 103, kDelete = 104;

class Menus : public WinTest {
  protected:
    void SetUp() override {
        WinTest::SetUp();
        owner_ = top("Owner", WS_OVERLAPPEDWINDOW | WS_VISIBLE, {100, 100, 500, 400});
        PumpPending();
        menu_ = CreatePopupMenu();
        AppendMenu(menu_, MF_STRING, kCut, "Cu&t\tCtrl+X");
        AppendMenu(menu_, MF_STRING | MF_GRAYED, kCopy, "&Copy");
        AppendMenu(menu_, MF_SEPARATOR, 0, nullptr);
        AppendMenu(menu_, MF_STRING, kPaste, "&Paste");
        AppendMenu(menu_, MF_STRING | MF_CHECKED, kDelete, "&Delete");
        clear_log();
    }
    void TearDown() override {
        DestroyMenu(menu_);
        WinTest::TearDown();
    }
    // Keys pressed one after another once the menu is idle.
    // (The loop calls a copy of the script: the keys left are kept outside it.)
    void keys_when_open(std::deque<int> keys) {
        auto left = std::make_shared<std::deque<int>>(std::move(keys));
        SetIdleScript([left] {
            if (left->empty() || OpenMenuWindows().empty())
                return false;
            InjectKey(left->front(), true);
            InjectKey(left->front(), false);
            left->pop_front();
            return true;
        });
    }
    // A click at the middle of item `pos` of the open (innermost) menu.
    static bool click_item(UINT pos) {
        auto open = OpenMenuWindows();
        if (open.empty())
            return false;
        HMENU m = reinterpret_cast<HMENU>(SendMessage(open.back(), MN_GETHMENU, 0, 0));
        RECT r;
        if (!GetMenuItemRect(open.back(), m, pos, &r))
            return false;
        const POINT p{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
        InjectMouse(MouseAction::Move, p);
        InjectClick(p);
        return true;
    }
    HWND owner_ = nullptr;
    HMENU menu_ = nullptr;
};

TEST_F(Menus, TableKeepsItemsStatesAndTexts) {
    EXPECT_EQ(GetMenuItemCount(menu_), 5);
    EXPECT_EQ(GetMenuItemID(menu_, 0), kCut);
    EXPECT_EQ(GetMenuItemID(menu_, 2), 0u) << "a separator";
    EXPECT_EQ(GetMenuItemID(menu_, 9), MENU_ERROR);
    EXPECT_EQ(GetMenuString(menu_, kCut, MF_BYCOMMAND), "Cu&t\tCtrl+X");
    char small[4];
    EXPECT_EQ(GetMenuString(menu_, 0, small, sizeof small, MF_BYPOSITION), 3);
    EXPECT_STREQ(small, "Cu&");
    EXPECT_EQ(GetMenuState(menu_, kCopy, MF_BYCOMMAND), MF_GRAYED);
    EXPECT_EQ(GetMenuState(menu_, 2, MF_BYPOSITION), MF_SEPARATOR);
    EXPECT_EQ(CheckMenuItem(menu_, kDelete, MF_UNCHECKED), MF_CHECKED);
    EXPECT_EQ(EnableMenuItem(menu_, kCopy, MF_ENABLED), MF_GRAYED);
    EXPECT_EQ(GetMenuState(menu_, kCopy, MF_BYCOMMAND), 0u);

    EXPECT_TRUE(InsertMenu(menu_, 0, MF_BYPOSITION | MF_STRING, 7, "&Undo"));
    EXPECT_TRUE(InsertMenu(menu_, kPaste, MF_BYCOMMAND | MF_STRING, 8, ""));
    EXPECT_EQ(GetMenuItemID(menu_, 0), 7u);
    EXPECT_EQ(GetMenuItemID(menu_, 4), 8u) << "inserted before Paste";
    EXPECT_TRUE(RemoveMenu(menu_, 8, MF_BYCOMMAND));
    EXPECT_FALSE(RemoveMenu(menu_, 8, MF_BYCOMMAND));

    // Submenus: found by command, destroyed with their parent, kept by RemoveMenu.
    HMENU sub = CreatePopupMenu();
    AppendMenu(sub, MF_STRING, 55, "Deep");
    EXPECT_TRUE(AppendMenu(menu_, MF_POPUP, reinterpret_cast<UINT_PTR>(sub), "&More"));
    EXPECT_FALSE(AppendMenu(menu_, MF_POPUP, reinterpret_cast<UINT_PTR>(menu_), "Self"));
    EXPECT_EQ(GetSubMenu(menu_, 6), sub);
    EXPECT_EQ(GetMenuState(menu_, 6, MF_BYPOSITION), MF_POPUP | (1u << 8));
    EXPECT_EQ(GetMenuString(menu_, 55, MF_BYCOMMAND), "Deep");
    EXPECT_TRUE(RemoveMenu(menu_, 6, MF_BYPOSITION));
    EXPECT_TRUE(IsMenu(sub));
    AppendMenu(menu_, MF_POPUP, reinterpret_cast<UINT_PTR>(sub), "&More");
    EXPECT_TRUE(DestroyMenu(menu_));
    EXPECT_FALSE(IsMenu(menu_));
    EXPECT_FALSE(IsMenu(sub));
    EXPECT_EQ(GetMenuItemCount(menu_), -1);
    EXPECT_FALSE(AppendMenu(menu_, MF_STRING, 1, "x"));
    EXPECT_FALSE(DestroyMenu(menu_));
    menu_ = CreatePopupMenu();
}

TEST_F(Menus, KeysChooseAndTheOwnerIsToldInOrder) {
    std::vector<std::string> hooked;
    HHOOK hook = SetWindowsHookEx(WH_CBT, [&](int code, WPARAM wp, LPARAM lp) -> LRESULT {
        if (code == HCBT_CREATEWND || code == HCBT_DESTROYWND)
            hooked.push_back((code == HCBT_CREATEWND ? "create " : "destroy ") +
                             GetClassName(reinterpret_cast<HWND>(wp)));
        return CallNextHookEx(nullptr, code, wp, lp);
    });
    // Down goes to Cut, Down passes over the separator... Copy is grayed but can be visited;
    // Enter on it does nothing, the next Down and Down reach Delete past the separator.
    keys_when_open({VK_DOWN, VK_DOWN, VK_RETURN, VK_DOWN, VK_DOWN, VK_RETURN});
    const BOOL r = TrackPopupMenu(menu_, TPM_RETURNCMD, 150, 150, 0, owner_);
    UnhookWindowsHookEx(hook);
    EXPECT_EQ(r, static_cast<BOOL>(kDelete));
    EXPECT_THAT(hooked, ElementsAre("create #32768", "destroy #32768"));
    EXPECT_TRUE(OpenMenuWindows().empty());
    EXPECT_THAT(names(owner_),
                ElementsAre("WM_ENTERMENULOOP", "WM_INITMENU", "WM_INITMENUPOPUP", "WM_MENUSELECT",
                            "WM_MENUSELECT", "WM_MENUSELECT", "WM_MENUSELECT", "WM_UNINITMENUPOPUP",
                            "WM_MENUSELECT", "WM_EXITMENULOOP"));
    // The last WM_MENUSELECT says the menu closed.
    int selects = 0;
    for (const Entry& e : log()) {
        if (e.hwnd == owner_ && e.msg == WM_MENUSELECT && ++selects == 2) {
            EXPECT_EQ(e.wParam, MAKELONG(kCopy, MF_GRAYED | MF_HILITE));
        }
    }
    for (auto it = log().rbegin(); it != log().rend(); ++it)
        if (it->msg == WM_MENUSELECT) {
            EXPECT_EQ(HIWORD(it->wParam), 0xFFFF);
            break;
        }
}

TEST_F(Menus, AcceleratorsEscapeAndPostedCommands) {
    keys_when_open({'P'});
    EXPECT_EQ(TrackPopupMenu(menu_, 0, 150, 150, 0, owner_), TRUE);
    clear_log();
    PumpPending();
    std::vector<WPARAM> commands;
    for (const Entry& e : log())
        if (e.hwnd == owner_ && e.msg == WM_COMMAND)
            commands.push_back(e.wParam);
    EXPECT_THAT(commands, ElementsAre(kPaste));

    keys_when_open({'C', VK_ESCAPE});  // Copy is grayed: its letter does not choose it
    EXPECT_EQ(TrackPopupMenu(menu_, TPM_RETURNCMD, 150, 150, 0, owner_), 0);
    clear_log();
    PumpPending();
    for (const Entry& e : log())
        EXPECT_NE(e.msg, WM_COMMAND);
}

TEST_F(Menus, MouseChoosesAndAPressOutsideDismissesWithoutReachingTheWindow) {
    SetIdleScript([] { return click_item(3); });
    EXPECT_EQ(TrackPopupMenu(menu_, TPM_RETURNCMD, 150, 150, 0, owner_), static_cast<BOOL>(kPaste));

    // A click on a grayed item or a separator chooses nothing; a press outside ends the menu.
    int step = 0;
    SetIdleScript([&] {
        switch (step++) {
            case 0:
                return click_item(1);
            case 1:
                return click_item(2);
            case 2:
                clear_log();
                InjectClick({450, 380});
                return true;
            default:
                return false;
        }
    });
    EXPECT_EQ(TrackPopupMenu(menu_, TPM_RETURNCMD, 150, 150, 0, owner_), 0);
    PumpPending();
    for (const Entry& e : log())
        EXPECT_NE(e.msg, WM_LBUTTONDOWN) << "the dismissing press goes no further";
}

TEST_F(Menus, SubmenusOpenWithRightAndCloseWithLeft) {
    HMENU sub = CreatePopupMenu();
    AppendMenu(sub, MF_STRING, 201, "&First");
    AppendMenu(sub, MF_STRING, 202, "&Second");
    AppendMenu(menu_, MF_POPUP, reinterpret_cast<UINT_PTR>(sub), "&More");
    size_t deepest = 0;
    std::deque<int> keys{VK_END, VK_RIGHT, VK_LEFT, VK_RIGHT, VK_DOWN, VK_RETURN};
    SetIdleScript([&] {
        deepest = std::max(deepest, OpenMenuWindows().size());
        if (keys.empty())
            return false;
        InjectKey(keys.front(), true);
        InjectKey(keys.front(), false);
        keys.pop_front();
        return true;
    });
    EXPECT_EQ(TrackPopupMenu(menu_, TPM_RETURNCMD, 150, 150, 0, owner_), 202);
    EXPECT_EQ(deepest, 2u);
    EXPECT_FALSE(IsWindow(FindWindow("#32768", nullptr)));
}

TEST_F(Menus, PrintDrawsTheFramePaintingDrawsAndAReplacedProcedureCanFrameTheItems) {
    gdi::Bitmap painted, printed, framed;
    SetIdleScript([&] {
        auto open = OpenMenuWindows();
        if (open.empty() || !painted.empty())
            return false;
        HWND m = open[0];
        UpdateAllWindows();
        painted = CaptureWindow(m);
        const RECT wr = GetWindowRect(m);
        printed = gdi::Bitmap(wr.width(), wr.height());
        {
            gdi::DC dc(printed);
            SendMessage(m, WM_PRINT, reinterpret_cast<WPARAM>(&dc),
                        PRF_NONCLIENT | PRF_CLIENT | PRF_ERASEBKGND);
        }
        // What a skin does: its own frame picture, then the items clipped inside the border.
        framed = gdi::Bitmap(wr.width(), wr.height());
        {
            gdi::DC dc(framed);
            dc.fill_rect({0, 0, wr.width(), wr.height()}, gdi::rgb(255, 0, 255));
            dc.intersect_clip_rect({3, 3, wr.width() - 3, wr.height() - 3});
            SendMessage(m, WM_PRINT, reinterpret_cast<WPARAM>(&dc), PRF_NONCLIENT | PRF_CLIENT);
        }
        InjectKey(VK_ESCAPE, true);
        InjectKey(VK_ESCAPE, false);
        return true;
    });
    TrackPopupMenu(menu_, TPM_RETURNCMD, 150, 150, 0, owner_);
    ASSERT_FALSE(painted.empty());
    ASSERT_EQ(painted.width(), printed.width());
    int differing = 0;
    for (int y = 0; y < painted.height(); ++y)
        for (int x = 0; x < painted.width(); ++x)
            differing += painted.pixel(x, y) != printed.pixel(x, y);
    EXPECT_EQ(differing, 0) << "WM_PRINT draws what painting shows";
    EXPECT_EQ(framed.pixel(1, 1) & 0xFFFFFF, gdi::rgb(255, 0, 255)) << "the skin's frame stays";
    // The text of the first item is drawn inside the frame, with no background of its own.
    int ink = 0;
    for (int x = 3; x < framed.width() - 3; ++x)
        for (int y = 4; y < 20; ++y)
            ink += (framed.pixel(x, y) & 0xFFFFFF) != gdi::rgb(255, 0, 255);
    EXPECT_GT(ink, 10);
}

TEST_F(Menus, EscapeClosesTheMenuWhenNoWindowHasTheFocus) {
    // The owner is hidden while its menu is open, so no window is active or has the focus:
    // the keys must still reach the menu's loop, or nothing could close it.
    int idle = 0;
    SetIdleScript([&idle, this] {
        if (OpenMenuWindows().empty())
            return false;
        if (++idle == 1) {
            ShowWindow(owner_, SW_HIDE);
            SetFocus(nullptr);
        } else if (idle > 20) {
            EndMenu();  // ends the test's loop instead of spinning when keys are lost
            return true;
        }
        InjectKey(VK_ESCAPE, true);
        InjectKey(VK_ESCAPE, false);
        return true;
    });
    EXPECT_EQ(TrackPopupMenu(menu_, TPM_RETURNCMD, 150, 150, 0, owner_), 0);
    EXPECT_EQ(GetActiveWindow(), nullptr);
    EXPECT_LE(idle, 2) << "the first Escape closed the menu";
}

TEST_F(Menus, BadInputDoesNotCrash) {
    // Hundreds of items and empty texts: the window fits the screen, keys scroll the list.
    HMENU big = CreatePopupMenu();
    for (int i = 0; i < 600; ++i)
        AppendMenu(big, MF_STRING, 1000 + i, i % 3 ? "" : "Item");
    keys_when_open({VK_END, VK_UP, VK_RETURN});
    EXPECT_EQ(TrackPopupMenu(big, TPM_RETURNCMD, 10, 10, 0, owner_), 1598);
    DestroyMenu(big);

    // Items removed while the menu is open, down to none: the menu ends.
    int step = 0;
    SetIdleScript([&] {
        if (OpenMenuWindows().empty())
            return false;
        if (step++ == 0) {
            InjectKey(VK_END, true);
            InjectKey(VK_END, false);
            return true;
        }
        return RemoveMenu(menu_, 0, MF_BYPOSITION);
    });
    EXPECT_EQ(TrackPopupMenu(menu_, TPM_RETURNCMD, 150, 150, 0, owner_), 0);
    EXPECT_EQ(GetMenuItemCount(menu_), 0);
    EXPECT_FALSE(TrackPopupMenu(menu_, 0, 150, 150, 0, owner_)) << "an empty menu";

    // The menu destroyed while open.
    AppendMenu(menu_, MF_STRING, 1, "One");
    SetIdleScript([&] { return !OpenMenuWindows().empty() && DestroyMenu(menu_); });
    EXPECT_EQ(TrackPopupMenu(menu_, TPM_RETURNCMD, 150, 150, 0, owner_), 0);
    EXPECT_TRUE(OpenMenuWindows().empty());
    menu_ = CreatePopupMenu();
    AppendMenu(menu_, MF_STRING, 1, "One");

    // The owner destroyed while preparing the menu, and while it is open.
    SetWindowProc(owner_, [](HWND h, UINT m, WPARAM w, LPARAM l) -> LRESULT {
        if (m == WM_INITMENUPOPUP) {
            DestroyWindow(h);
            return 0;
        }
        return DefWindowProc(h, m, w, l);
    });
    EXPECT_FALSE(TrackPopupMenu(menu_, TPM_RETURNCMD, 150, 150, 0, owner_));
    EXPECT_FALSE(IsWindow(owner_));
    HWND other = top("Other");
    SetIdleScript([&] { return !OpenMenuWindows().empty() && DestroyWindow(other); });
    EXPECT_EQ(TrackPopupMenu(menu_, TPM_RETURNCMD, 150, 150, 0, other), 0);
    EXPECT_TRUE(OpenMenuWindows().empty());
    EXPECT_FALSE(TrackPopupMenu(menu_, 0, 1, 1, 0, nullptr)) << "no owner";
}

TEST_F(Menus, WindowMenuFollowsTheWindowAndSendsSystemCommands) {
    HMENU sys = GetSystemMenu(owner_, false);
    ASSERT_TRUE(IsMenu(sys));
    EXPECT_EQ(GetSystemMenu(owner_, false), sys);
    EXPECT_EQ(GetMenuItemCount(sys), 7);
    // Opened by a right click on the caption; Close is chosen by its letter.
    keys_when_open({'C'});
    InjectMouse(MouseAction::RightDown, {200, 110});
    InjectMouse(MouseAction::RightUp, {200, 110});
    PumpPending();
    EXPECT_EQ(GetMenuState(sys, SC_RESTORE, MF_BYCOMMAND), MF_GRAYED) << "not maximized";
    EXPECT_EQ(GetMenuState(sys, SC_MAXIMIZE, MF_BYCOMMAND), 0u);
    EXPECT_FALSE(IsWindow(owner_)) << "WM_SYSCOMMAND SC_CLOSE closed it";
    EXPECT_EQ(GetSystemMenu(owner_, false), nullptr);
    EXPECT_FALSE(IsMenu(sys));
}

TEST_F(Menus, ContextMenuRequestsComeFromTheRightButtonAndTheKeyboard) {
    HWND c = child(owner_, {10, 10, 110, 60});
    SetFocus(c);
    clear_log();
    InjectMouse(MouseAction::RightDown, {100 + 4 + 20, 100 + 4 + 23 + 20});
    InjectMouse(MouseAction::RightUp, {100 + 4 + 20, 100 + 4 + 23 + 20});
    InjectKey(VK_SHIFT, true);
    InjectKey(VK_F10, true);
    InjectKey(VK_F10, false);
    InjectKey(VK_SHIFT, false);
    InjectKey(VK_APPS, true);
    InjectKey(VK_APPS, false);
    PumpPending();
    std::vector<HWND> where;
    for (const Entry& e : log())
        if (e.msg == WM_CONTEXTMENU)
            where.push_back(e.hwnd);
    EXPECT_THAT(where, ElementsAre(c, owner_, c, owner_, c, owner_))
        << "each request goes from the child to its parent";
}

}  // namespace

namespace {

// DefWindowProc's WM_PRINT draws a window with its frame and its children into any DC, as
// the screen shows it.
TEST_F(WinTest, PrintDrawsTheFrameTheClientAndTheChildrenAsPainted) {
    HWND frame =
        top("Printed", WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_VISIBLE, {50, 50, 250, 200});
    HWND c = child(frame, {10, 10, 60, 40}, WS_CHILD | WS_VISIBLE, 0, "Plain");
    (void)c;
    UpdateAllWindows();
    const gdi::Bitmap shown = CaptureWindow(frame);
    gdi::Bitmap printed(shown.width(), shown.height());
    {
        gdi::DC dc(printed);
        SendMessage(frame, WM_PRINT, reinterpret_cast<WPARAM>(&dc),
                    PRF_NONCLIENT | PRF_ERASEBKGND | PRF_CLIENT | PRF_CHILDREN);
    }
    int differing = 0;
    for (int y = 0; y < shown.height(); ++y)
        for (int x = 0; x < shown.width(); ++x)
            differing += (shown.pixel(x, y) & 0xFFFFFF) != (printed.pixel(x, y) & 0xFFFFFF);
    EXPECT_EQ(differing, 0);

    // Hidden windows print nothing when asked to check.
    ShowWindow(frame, SW_HIDE);
    gdi::Bitmap none(shown.width(), shown.height(), gdi::rgb(1, 2, 3));
    {
        gdi::DC dc(none);
        SendMessage(frame, WM_PRINT, reinterpret_cast<WPARAM>(&dc),
                    PRF_CHECKVISIBLE | PRF_NONCLIENT | PRF_CLIENT);
    }
    EXPECT_EQ(none.pixel(0, 0) & 0xFFFFFF, gdi::rgb(1, 2, 3));
}

}  // namespace
