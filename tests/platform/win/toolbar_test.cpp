// The tool bar class: buttons through its messages and the input they refuse, the layout and the
// bar's place on its parent, and what the mouse does: hot tracking, pressing, the command sent
// to the parent, check buttons and check groups.

#include "platform/gdi/dc.h"
#include "test_support.h"

using namespace win;
using namespace wintest;

namespace {

// The parent's record of commands: (command id, notification code, sending window).
struct Command {
    int id;
    int code;
    HWND from;
    bool operator==(const Command&) const = default;
};
std::vector<Command>& commands() {
    static std::vector<Command> c;
    return c;
}

LRESULT CommandParent(HWND h, UINT m, WPARAM w, LPARAM l) {
    if (m == WM_COMMAND)
        commands().push_back({LOWORD(w), HIWORD(w), reinterpret_cast<HWND>(l)});
    return DefWindowProc(h, m, w, l);
}

TBBUTTON Button(int id, const char* text, BYTE style = TBSTYLE_BUTTON,
                BYTE state = TBSTATE_ENABLED) {
    TBBUTTON b;
    b.idCommand = id;
    b.fsStyle = style;
    b.fsState = state;
    b.iString = reinterpret_cast<intptr_t>(text);
    return b;
}

class ToolbarWindow : public WinTest {
  protected:
    void SetUp() override {
        WinTest::SetUp();
        commands().clear();
        parent_ = top("T", WS_OVERLAPPED | WS_CAPTION | WS_VISIBLE);
        SetWindowProc(parent_, CommandParent);
    }
    HWND bar(DWORD style = TBSTYLE_FLAT, RECT r = {0, 0, 0, 0}) {
        HWND h = CreateWindowEx(0, TOOLBARCLASSNAME, "", WS_CHILD | WS_VISIBLE | style, r.left,
                                r.top, r.width(), r.height(), parent_, nullptr, nullptr, nullptr);
        SendMessage(h, TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
        return h;
    }
    static LRESULT add(HWND h, std::vector<TBBUTTON> buttons) {
        return SendMessage(h, TB_ADDBUTTONS, buttons.size(),
                           reinterpret_cast<LPARAM>(buttons.data()));
    }
    static RECT rect(HWND h, int i) {
        RECT r;
        SendMessage(h, TB_GETITEMRECT, i, reinterpret_cast<LPARAM>(&r));
        return r;
    }
    static int state(HWND h, int id) {
        return static_cast<int>(SendMessage(h, TB_GETSTATE, id, 0));
    }
    static void click(HWND h, POINT p) {
        SendMessage(h, WM_LBUTTONDOWN, MK_LBUTTON, POINTTOLPARAM(p));
        SendMessage(h, WM_LBUTTONUP, 0, POINTTOLPARAM(p));
    }
    static POINT centre(HWND h, int i) {
        const RECT r = rect(h, i);
        return {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
    }
    HWND parent_ = nullptr;
};

TEST_F(ToolbarWindow, ButtonsComeAndGoThroughMessagesAndBadInputChangesNothing) {
    HWND h = bar();
    EXPECT_EQ(add(h, {}), TRUE) << "no buttons is nothing to do";
    EXPECT_EQ(add(h, {Button(1, "Open"), Button(2, "Save")}), TRUE);
    const TBBUTTON third = Button(3, "Close");
    EXPECT_EQ(SendMessage(h, TB_INSERTBUTTON, 99, reinterpret_cast<LPARAM>(&third)), TRUE)
        << "past the end appends";
    EXPECT_EQ(SendMessage(h, TB_INSERTBUTTON, 0, 0), FALSE);
    EXPECT_EQ(SendMessage(h, TB_ADDBUTTONS, 5, 0), FALSE) << "a count without buttons";
    EXPECT_EQ(SendMessage(h, TB_ADDBUTTONS, 1u << 30, reinterpret_cast<LPARAM>(&third)), FALSE)
        << "more buttons than a bar holds";
    EXPECT_EQ(SendMessage(h, TB_BUTTONCOUNT, 0, 0), 3);
    TBBUTTON got;
    EXPECT_EQ(SendMessage(h, TB_GETBUTTON, 2, reinterpret_cast<LPARAM>(&got)), TRUE);
    EXPECT_EQ(got.idCommand, 3);
    EXPECT_STREQ(reinterpret_cast<const char*>(got.iString), "Close");
    EXPECT_EQ(SendMessage(h, TB_GETBUTTON, 3, reinterpret_cast<LPARAM>(&got)), FALSE);
    EXPECT_EQ(SendMessage(h, TB_GETBUTTON, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&got)),
              FALSE);
    EXPECT_EQ(SendMessage(h, TB_GETITEMRECT, 3, reinterpret_cast<LPARAM>(&got)), FALSE);
    EXPECT_EQ(SendMessage(h, TB_COMMANDTOINDEX, 2, 0), 1);
    EXPECT_EQ(state(h, 77), -1) << "no such command";
    EXPECT_EQ(SendMessage(h, TB_CHECKBUTTON, 77, TRUE), FALSE);
    EXPECT_EQ(SendMessage(h, TB_DELETEBUTTON, 0, 0), TRUE);
    EXPECT_EQ(SendMessage(h, TB_DELETEBUTTON, 9, 0), FALSE);
    EXPECT_EQ(SendMessage(h, TB_BUTTONCOUNT, 0, 0), 2);
    // A caller whose button record is of another size is refused rather than misread.
    SendMessage(h, TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON) - 8, 0);
    EXPECT_EQ(add(h, {Button(4, "X")}), FALSE);
    EXPECT_EQ(SendMessage(h, TB_GETBUTTON, 0, reinterpret_cast<LPARAM>(&got)), FALSE);
    EXPECT_EQ(SendMessage(h, TB_BUTTONCOUNT, 0, 0), 2);
}

TEST_F(ToolbarWindow, TheBarSitsAlongItsParentsTopAndLaysItsButtonsOutFromTheLeft) {
    HWND h = bar(TBSTYLE_FLAT, {30, 40, 60, 90});
    const RECT parent = GetClientRect(parent_);
    RECT wr = GetWindowRect(h);
    ScreenToClient(parent_, reinterpret_cast<POINT*>(&wr.left));
    EXPECT_EQ(wr.left, 0);
    EXPECT_EQ(wr.top, 0);
    EXPECT_EQ(GetClientRect(h).width(), parent.width());
    EXPECT_EQ(GetClientRect(h).height(), 22 + 2 * kToolbarPadding);
    TBBUTTON sep = Button(0, nullptr, TBSTYLE_SEP);
    sep.iBitmap = 12;
    add(h, {Button(1, "A"), Button(2, "A much longer caption"), sep, Button(3, "B"),
            Button(4, "Fit", TBSTYLE_AUTOSIZE),
            Button(5, "Gone", TBSTYLE_BUTTON, TBSTATE_ENABLED | TBSTATE_HIDDEN), Button(6, "C")});
    // Plain buttons share the widest caption's width; the separator has its own.
    EXPECT_EQ(rect(h, 0).left, 0);
    EXPECT_EQ(rect(h, 0).top, kToolbarPadding);
    EXPECT_EQ(rect(h, 0).height(), 22);
    EXPECT_EQ(rect(h, 0).width(), rect(h, 1).width());
    EXPECT_GT(rect(h, 1).width(), 24);
    EXPECT_EQ(rect(h, 2).width(), 12);
    EXPECT_EQ(rect(h, 3).left, rect(h, 2).right);
    EXPECT_LT(rect(h, 4).width(), rect(h, 3).width()) << "sized to its own caption";
    EXPECT_EQ(SendMessage(h, TB_GETITEMRECT, 5, reinterpret_cast<LPARAM>(&wr)), FALSE);
    EXPECT_TRUE(wr.empty()) << "a hidden button takes no room";
    EXPECT_EQ(rect(h, 6).left, rect(h, 4).right);
    // Button sizes of 0 keep the default; the bar fits the new height when asked.
    SendMessage(h, TB_SETBUTTONSIZE, 0, MAKELPARAM(0, 30));
    EXPECT_EQ(SendMessage(h, TB_GETBUTTONSIZE, 0, 0), MAKELPARAM(24, 30));
    SendMessage(h, TB_AUTOSIZE, 0, 0);
    EXPECT_EQ(GetClientRect(h).height(), 30 + 2 * kToolbarPadding);
    // A bar that keeps its place keeps its left and width.
    HWND stays = bar(CCS_NOPARENTALIGN, {30, 40, 90, 90});
    EXPECT_EQ(GetClientRect(stays).width(), 60);
    EXPECT_EQ(GetClientRect(stays).height(), 22 + 2 * kToolbarPadding);
}

TEST_F(ToolbarWindow, AButtonLetGoWhereItWasPressedSendsItsCommand) {
    HWND h = bar();
    add(h, {Button(10, "One"), Button(20, "Two"), Button(30, "Off", TBSTYLE_BUTTON, 0),
            Button(0, nullptr, TBSTYLE_SEP)});
    // Hot tracking follows the mouse over enabled buttons only.
    SendMessage(h, WM_MOUSEMOVE, 0, POINTTOLPARAM(centre(h, 1)));
    EXPECT_EQ(SendMessage(h, TB_GETHOTITEM, 0, 0), 1);
    SendMessage(h, WM_MOUSEMOVE, 0, POINTTOLPARAM(centre(h, 2)));
    EXPECT_EQ(SendMessage(h, TB_GETHOTITEM, 0, 0), -1);
    SendMessage(h, WM_MOUSEMOVE, 0, POINTTOLPARAM(centre(h, 0)));
    SendMessage(h, WM_MOUSELEAVE, 0, 0);
    EXPECT_EQ(SendMessage(h, TB_GETHOTITEM, 0, 0), -1);

    SendMessage(h, WM_LBUTTONDOWN, MK_LBUTTON, POINTTOLPARAM(centre(h, 0)));
    EXPECT_EQ(GetCapture(), h);
    EXPECT_TRUE(state(h, 10) & TBSTATE_PRESSED);
    SendMessage(h, WM_MOUSEMOVE, MK_LBUTTON, POINTTOLPARAM(centre(h, 1)));
    EXPECT_FALSE(state(h, 10) & TBSTATE_PRESSED) << "up while the mouse is off it";
    SendMessage(h, WM_MOUSEMOVE, MK_LBUTTON, POINTTOLPARAM(centre(h, 0)));
    SendMessage(h, WM_LBUTTONUP, 0, POINTTOLPARAM(centre(h, 0)));
    EXPECT_EQ(GetCapture(), nullptr);
    EXPECT_FALSE(state(h, 10) & TBSTATE_PRESSED);
    EXPECT_EQ(commands(), (std::vector<Command>{{10, BN_CLICKED, h}}));
    commands().clear();
    // Let go elsewhere, on a disabled button, on a separator, off every button: nothing.
    SendMessage(h, WM_LBUTTONDOWN, MK_LBUTTON, POINTTOLPARAM(centre(h, 1)));
    SendMessage(h, WM_LBUTTONUP, 0, POINTTOLPARAM(centre(h, 0)));
    click(h, centre(h, 2));
    click(h, centre(h, 3));
    click(h, {2000, 5});
    EXPECT_TRUE(commands().empty());
    // A button disabled or deleted while it is held is let go without a command.
    SendMessage(h, WM_LBUTTONDOWN, MK_LBUTTON, POINTTOLPARAM(centre(h, 1)));
    SendMessage(h, TB_ENABLEBUTTON, 20, FALSE);
    EXPECT_EQ(GetCapture(), nullptr);
    SendMessage(h, WM_LBUTTONUP, 0, POINTTOLPARAM(centre(h, 1)));
    SendMessage(h, WM_LBUTTONDOWN, MK_LBUTTON, POINTTOLPARAM(centre(h, 0)));
    SendMessage(h, TB_DELETEBUTTON, 0, 0);
    EXPECT_EQ(GetCapture(), nullptr);
    SendMessage(h, WM_LBUTTONUP, 0, POINTTOLPARAM(centre(h, 0)));
    EXPECT_TRUE(commands().empty());
}

TEST_F(ToolbarWindow, CheckButtonsStayDownAndAGroupKeepsOneDown) {
    HWND h = bar();
    add(h, {Button(1, "Bold", TBSTYLE_CHECK), Button(2, "L", TBSTYLE_CHECKGROUP),
            Button(3, "C", TBSTYLE_CHECKGROUP, TBSTATE_ENABLED | TBSTATE_CHECKED),
            Button(4, "R", TBSTYLE_CHECKGROUP), Button(0, nullptr, TBSTYLE_SEP),
            Button(5, "Other", TBSTYLE_CHECKGROUP, TBSTATE_ENABLED | TBSTATE_CHECKED)});
    click(h, centre(h, 0));
    EXPECT_TRUE(state(h, 1) & TBSTATE_CHECKED);
    click(h, centre(h, 0));
    EXPECT_FALSE(state(h, 1) & TBSTATE_CHECKED);
    click(h, centre(h, 1));
    EXPECT_TRUE(state(h, 2) & TBSTATE_CHECKED);
    EXPECT_FALSE(state(h, 3) & TBSTATE_CHECKED) << "the group's other button let up";
    EXPECT_TRUE(state(h, 5) & TBSTATE_CHECKED) << "past the separator is another group";
    click(h, centre(h, 1));
    EXPECT_TRUE(state(h, 2) & TBSTATE_CHECKED) << "a group button clicked again stays down";
    EXPECT_EQ(commands().size(), 4u) << "each click still reports";
    // From code: checking one lets the others up, and no command goes out.
    commands().clear();
    EXPECT_EQ(SendMessage(h, TB_CHECKBUTTON, 4, TRUE), TRUE);
    EXPECT_FALSE(state(h, 2) & TBSTATE_CHECKED);
    EXPECT_EQ(SendMessage(h, TB_ISBUTTONCHECKED, 4, 0), TRUE);
    SendMessage(h, TB_SETSTATE, 1, TBSTATE_CHECKED);
    EXPECT_EQ(SendMessage(h, TB_ISBUTTONENABLED, 1, 0), FALSE);
    EXPECT_TRUE(commands().empty());
}

TEST_F(ToolbarWindow, BarsOfNoSizeAndPlainLookStates) {
    // A bar of no size lays out, hit-tests and paints without failing.
    HWND none = bar(CCS_NORESIZE, {0, 0, 0, 0});
    add(none, {Button(1, "A")});
    UpdateAllWindows();
    POINT p{0, 0};
    EXPECT_EQ(SendMessage(none, TB_HITTEST, 0, reinterpret_cast<LPARAM>(&p)), -1);
    EXPECT_EQ(SendMessage(none, TB_HITTEST, 0, 0), -1);
    // The flat look: a button at rest is the face, one under the mouse or down has an edge.
    ToolbarState s;
    s.buttons.resize(3);
    s.buttons[0].text = "A";
    s.buttons[1].text = "B";
    s.buttons[2].text = "C";
    s.buttons[2].state |= TBSTATE_CHECKED;
    s.hot = 1;
    gdi::Bitmap out(200, 30);
    gdi::DC dc(out);
    const RECT client{0, 0, 200, 30};
    DrawToolbar(dc, client, s, GetDefaultGuiFont(), true, true);
    const std::vector<RECT> r = ToolbarItemRects(s, client, GetDefaultGuiFont());
    const gdi::Color face = GetSysColor(COLOR_BTNFACE);
    EXPECT_EQ(out.color_at(r[0].left, r[0].top), face);
    EXPECT_NE(out.color_at(r[1].left, r[1].top), face);
    EXPECT_NE(out.color_at(r[2].left, r[2].top), face);
    EXPECT_NE(out.color_at(r[2].left + 3, r[2].top + 3), face) << "a down button is lighter";
    // The raised look draws every button's edge.
    DrawToolbar(dc, client, s, GetDefaultGuiFont(), true, false);
    EXPECT_NE(out.color_at(r[0].left, r[0].top), face);
}

}  // namespace
