// A procedure that draws its window's frame itself, as a skin does: it answers WM_NCCALCSIZE
// with its own client rectangle (valid-rectangles code), paints WM_NCPAINT through the
// whole-window DC, answers WM_NCACTIVATE and WM_NCHITTEST itself. The tables hold the messages
// with their parameters for the calls such a procedure lives with, and for private messages sent
// and posted in the range a skin uses.

#include <gmock/gmock.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "test_support.h"

using namespace win;
using namespace wintest;
using ::testing::ElementsAre;
using ::testing::ElementsAreArray;

namespace {

// The frame this procedure draws: 5 pixels at the sides and bottom, a 26-pixel caption band.
constexpr int kSide = 5;
constexpr int kTop = 26;
constexpr COLORREF kFrame = gdi::rgb(200, 30, 160);
constexpr COLORREF kCaption = gdi::rgb(20, 90, 30);

struct FrameLog {
    std::vector<std::string> lines;
    bool active = false;
    int nc_paints = 0;
};
FrameLog g_frame;

std::string Describe(HWND h, UINT m, WPARAM w, LPARAM l) {
    std::string s = MessageName(m);
    switch (m) {
        case WM_NCCALCSIZE:
            s += w ? "(valid rects)" : "(rect)";
            break;
        case WM_NCACTIVATE:
        case WM_SETREDRAW:
        case WM_SHOWWINDOW:
            s += "(" + std::to_string(w) + ")";
            break;
        case WM_NCPAINT:
            s += w == 1 ? "(whole frame)" : "(region)";
            break;
        case WM_WINDOWPOSCHANGING:
        case WM_WINDOWPOSCHANGED: {
            const auto* wp = reinterpret_cast<const WINDOWPOS*>(l);
            s += (wp->flags & SWP_FRAMECHANGED) ? "(frame changed)" : "";
            break;
        }
        case WM_CTLCOLORSTATIC:
        case WM_CTLCOLORBTN:
            s += GetParent(reinterpret_cast<HWND>(l)) == h ? "(child)" : "(?)";
            break;
        default:
            if (m >= 0x3502 && m <= 0x3523)
                s = "0x" +
                    [&] {
                        char b[16];
                        std::snprintf(b, sizeof b, "%X", m);
                        return std::string(b);
                    }() +
                    "(" + std::to_string(w) + "," + std::to_string(l) + ")";
            break;
    }
    return s;
}

bool Noise(UINT m) {
    return m == WM_NCHITTEST || m == WM_SETCURSOR || m == WM_GETTEXT || m == WM_GETTEXTLENGTH ||
           m == WM_MOUSEMOVE || m == WM_NCMOUSEMOVE || m == WM_GETMINMAXINFO;
}

LRESULT FrameProc(HWND h, UINT m, WPARAM w, LPARAM l) {
    if (!Noise(m))
        g_frame.lines.push_back(Describe(h, m, w, l));
    switch (m) {
        case WM_NCCALCSIZE: {
            DefWindowProc(h, m, w, l);  // default processing first, as a skin does
            if (!w)
                return 0;
            auto* p = reinterpret_cast<NCCALCSIZE_PARAMS*>(l);
            RECT r = p->rgrc[0];
            // rgrc[0] after the default is the system's client area; take the new window
            // rectangle from the position data instead.
            r = p->lppos ? RECT{p->lppos->x, p->lppos->y, p->lppos->x + p->lppos->cx,
                                p->lppos->y + p->lppos->cy}
                         : r;
            p->rgrc[0] = {r.left + kSide, r.top + kTop, r.right - kSide, r.bottom - kSide};
            p->rgrc[1] = p->rgrc[0];
            return WVR_VALIDRECTS;
        }
        case WM_NCPAINT: {
            ++g_frame.nc_paints;
            gdi::Region update;
            const bool partial = w != 1 && w != 0;
            if (partial)
                update = *reinterpret_cast<const gdi::Region*>(w);
            HDC dc = partial ? GetDCEx(h, &update, DCX_WINDOW | DCX_INTERSECTRGN) : GetWindowDC(h);
            const RECT wr = GetWindowRect(h);
            const RECT whole{0, 0, wr.width(), wr.height()};
            dc->fill_rect(whole, kFrame);
            dc->fill_rect({kSide, kSide, whole.right - kSide, kTop},
                          g_frame.active ? kCaption : gdi::rgb(90, 90, 90));
            ReleaseDC(h, dc);
            return 0;
        }
        case WM_NCACTIVATE:
            g_frame.active = w != 0;
            RedrawWindow(h, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE);
            return TRUE;  // no default: the system frame is not drawn
        case WM_NCHITTEST: {
            const RECT wr = GetWindowRect(h);
            const POINT p = MAKEPOINT(l);
            if (!wr.contains(p))
                return HTNOWHERE;
            const int x = p.x - wr.left, y = p.y - wr.top;
            if (x < kSide)
                return y >= wr.height() - kSide ? HTBOTTOMLEFT : HTLEFT;
            if (x >= wr.width() - kSide)
                return y >= wr.height() - kSide ? HTBOTTOMRIGHT : HTRIGHT;
            if (y >= wr.height() - kSide)
                return HTBOTTOM;
            if (y < kSide)
                return HTTOP;
            if (y < kTop)
                return HTCAPTION;
            return HTCLIENT;
        }
        case WM_CTLCOLORSTATIC:
            return CreateSolidBrush(gdi::rgb(1, 2, 3));
        case WM_CTLCOLORBTN:
            return COLOR_WINDOW + 1;
        default:
            if (m >= 0x3502 && m <= 0x3523)
                return static_cast<LRESULT>(m - 0x3500);  // answered, each with its own value
            return DefWindowProc(h, m, w, l);
    }
}

COLORREF ColourOf(HBRUSH brush) {
    COLORREF c = 0xFFFFFFFF;
    BrushColor(brush, &c);
    return c;
}

class FrameMessages : public WinTest {
  protected:
    void SetUp() override {
        WinTest::SetUp();
        static bool registered = false;
        if (!registered) {
            WNDCLASS wc;
            wc.lpfnWndProc = FrameProc;
            wc.hbrBackground = COLOR_WINDOW + 1;
            wc.lpszClassName = "OwnFrame";
            RegisterClass(wc);
            registered = true;
        }
        g_frame = {};
    }
    HWND Make() {
        HWND h = CreateWindowEx(0, "OwnFrame", "Own frame",
                                WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME |
                                    WS_MINIMIZEBOX | WS_MAXIMIZEBOX | WS_VISIBLE,
                                100, 100, 300, 200, nullptr, nullptr, nullptr, nullptr);
        PumpPending();
        g_frame.lines.clear();
        return h;
    }
    static gdi::Color ScreenAt(int x, int y) {
        UpdateAllWindows();
        return ComposeScreen().color_at(x, y);
    }
};

TEST_F(FrameMessages, CreationTakesTheProcedursClientAreaAndPaintsItsFrame) {
    g_frame = {};
    HWND h = CreateWindowEx(0, "OwnFrame", "Own frame", WS_OVERLAPPED | WS_CAPTION | WS_VISIBLE,
                            100, 100, 300, 200, nullptr, nullptr, nullptr, nullptr);
    EXPECT_THAT(g_frame.lines,
                ElementsAre("WM_NCCREATE", "WM_NCCALCSIZE(rect)", "WM_CREATE", "WM_SIZE", "WM_MOVE",
                            "WM_SHOWWINDOW(1)", "WM_WINDOWPOSCHANGING", "WM_WINDOWPOSCHANGED",
                            "WM_ACTIVATEAPP", "WM_WINDOWPOSCHANGING", "WM_WINDOWPOSCHANGED",
                            "WM_NCACTIVATE(1)", "WM_ACTIVATE", "WM_SETFOCUS"));
    g_frame.lines.clear();
    PumpPending();
    EXPECT_THAT(g_frame.lines, ElementsAre("WM_PAINT", "WM_NCPAINT(whole frame)", "WM_ERASEBKGND"));
    EXPECT_EQ(ScreenAt(100, 100), kFrame);
    EXPECT_EQ(ScreenAt(200, 110), kCaption);
    EXPECT_EQ(ScreenAt(200, 200), GetSysColor(COLOR_WINDOW));  // the client area is erased
    DestroyWindow(h);
}

TEST_F(FrameMessages, FrameChangedRecomputesTheClientAreaWithValidRects) {
    HWND h = Make();
    // The first calculation without valid rectangles kept the system's client area: the frame
    // change asks again with them, and the procedure's own rectangle takes over.
    SetWindowPos(h, nullptr, 0, 0, 0, 0,
                 SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    EXPECT_THAT(g_frame.lines,
                ElementsAre("WM_WINDOWPOSCHANGING(frame changed)", "WM_NCCALCSIZE(valid rects)",
                            "WM_WINDOWPOSCHANGED(frame changed)", "WM_MOVE", "WM_SIZE"));
    EXPECT_EQ(GetClientRect(h), (RECT{0, 0, 300 - 2 * kSide, 200 - kTop - kSide}));
    POINT origin{0, 0};
    ClientToScreen(h, &origin);
    EXPECT_EQ(origin.x, 100 + kSide);
    EXPECT_EQ(origin.y, 100 + kTop);
    g_frame.lines.clear();
    PumpPending();
    EXPECT_THAT(g_frame.lines, ElementsAre("WM_PAINT", "WM_NCPAINT(whole frame)", "WM_ERASEBKGND"));
    EXPECT_EQ(ScreenAt(100 + kSide - 1, 150), kFrame);
    EXPECT_EQ(ScreenAt(100 + kSide, 150), GetSysColor(COLOR_WINDOW));

    // A move with the procedure in place keeps its rectangle.
    g_frame.lines.clear();
    MoveWindow(h, 50, 60, 320, 220, true);
    EXPECT_EQ(GetClientRect(h), (RECT{0, 0, 320 - 2 * kSide, 220 - kTop - kSide}));
    EXPECT_EQ(g_frame.lines.at(1), "WM_NCCALCSIZE(valid rects)");
}

TEST_F(FrameMessages, RedrawFrameSetRedrawAndActivation) {
    HWND h = Make();
    RedrawWindow(h, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE);
    EXPECT_TRUE(g_frame.lines.empty()) << "nothing is painted before the loop runs";
    PumpPending();
    EXPECT_THAT(g_frame.lines, ElementsAre("WM_PAINT", "WM_NCPAINT(whole frame)"));

    // Drawing off: the window is neither painted nor visible to hit testing; on, and a redraw
    // paints it again.
    g_frame.lines.clear();
    SendMessage(h, WM_SETREDRAW, FALSE, 0);
    RedrawWindow(h, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_ERASE);
    PumpPending();
    EXPECT_THAT(g_frame.lines, ElementsAre("WM_SETREDRAW(0)"));
    SendMessage(h, WM_SETREDRAW, TRUE, 0);
    RedrawWindow(h, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_ERASE);
    PumpPending();
    EXPECT_THAT(g_frame.lines, ElementsAre("WM_SETREDRAW(0)", "WM_SETREDRAW(1)", "WM_PAINT",
                                           "WM_NCPAINT(whole frame)", "WM_ERASEBKGND"));

    // Another window taking the activation: WM_NCACTIVATE(0), answered by the procedure, which
    // repaints its caption in the inactive colour.
    HWND other = top("Other", WS_OVERLAPPED | WS_VISIBLE, {600, 600, 700, 700});
    PumpPending();
    EXPECT_FALSE(g_frame.active);
    EXPECT_EQ(ScreenAt(200, 110), gdi::rgb(90, 90, 90));
    g_frame.lines.clear();
    SetActiveWindow(h);
    PumpPending();
    EXPECT_TRUE(g_frame.active);
    EXPECT_EQ(ScreenAt(200, 110), kCaption);
    EXPECT_EQ(g_frame.lines.front(), "WM_WINDOWPOSCHANGING");
    EXPECT_NE(std::find(g_frame.lines.begin(), g_frame.lines.end(), "WM_NCACTIVATE(1)"),
              g_frame.lines.end());
    DestroyWindow(other);
}

TEST_F(FrameMessages, OwnHitTestingMovesTheWindowByItsCaption) {
    HWND h = Make();
    SetWindowPos(h, nullptr, 0, 0, 0, 0, SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER);
    PumpPending();
    EXPECT_EQ(WindowFromPoint({150, 110}), h);
    EXPECT_EQ(SendMessage(h, WM_NCHITTEST, 0, MAKELPARAM(150, 110)), HTCAPTION);
    EXPECT_EQ(SendMessage(h, WM_NCHITTEST, 0, MAKELPARAM(102, 150)), HTLEFT);
    EXPECT_EQ(SendMessage(h, WM_NCHITTEST, 0, MAKELPARAM(150, 150)), HTCLIENT);
    // A drag on the caption band the procedure reports moves the window.
    InjectMouse(MouseAction::Move, {150, 110});
    InjectMouse(MouseAction::LeftDown, {150, 110});
    InjectMouse(MouseAction::Move, {180, 140});
    InjectMouse(MouseAction::LeftUp, {180, 140});
    PumpPending();
    EXPECT_EQ(GetWindowRect(h), (RECT{130, 130, 430, 330}));
}

TEST_F(FrameMessages, PartialFrameUpdateDrawsOnlyInsideTheUpdateRegion) {
    HWND h = Make();
    SetWindowPos(h, nullptr, 0, 0, 0, 0, SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER);
    PumpPending();
    // Paint a window-DC region with a procedure that clips to a part of the frame.
    gdi::Region part(RECT{0, 0, 40, kTop});
    HDC dc = GetDCEx(h, &part, DCX_WINDOW | DCX_INTERSECTRGN);
    ASSERT_NE(dc, nullptr);
    dc->fill_rect({0, 0, 300, 200}, gdi::rgb(0, 0, 255));
    ReleaseDC(h, dc);
    EXPECT_EQ(ScreenAt(110, 110), gdi::rgb(0, 0, 255));
    EXPECT_EQ(ScreenAt(160, 110), g_frame.active ? kCaption : gdi::rgb(90, 90, 90));
    EXPECT_EQ(ScreenAt(200, 200), GetSysColor(COLOR_WINDOW));
}

TEST_F(FrameMessages, ColourMessagesAreAnsweredByTheParentsProcedure) {
    HWND h = Make();
    HWND label = child(h, {10, 10, 80, 30});
    g_frame.lines.clear();
    HDC dc = GetDC(label);
    const HBRUSH st = SendMessage(h, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc),
                                  reinterpret_cast<LPARAM>(label));
    const HBRUSH bt = SendMessage(h, WM_CTLCOLORBTN, reinterpret_cast<WPARAM>(dc),
                                  reinterpret_cast<LPARAM>(label));
    ReleaseDC(label, dc);
    EXPECT_THAT(g_frame.lines, ElementsAre("WM_CTLCOLORSTATIC(child)", "WM_CTLCOLORBTN(child)"));
    EXPECT_EQ(ColourOf(st), gdi::rgb(1, 2, 3));
    EXPECT_EQ(ColourOf(bt), GetSysColor(COLOR_WINDOW));
    // The default answers with the button face for both.
    HWND plain = top("Plain", WS_OVERLAPPED);
    HDC pdc = GetDC(plain);
    EXPECT_EQ(ColourOf(DefWindowProc(plain, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(pdc),
                                     reinterpret_cast<LPARAM>(plain))),
              GetSysColor(COLOR_BTNFACE));
    ReleaseDC(plain, pdc);
}

TEST_F(FrameMessages, PrivateMessagesSentAndPostedKeepTheirParametersAndOrder) {
    HWND h = Make();
    std::vector<std::string> want;
    for (UINT m = 0x3502; m <= 0x3523; ++m) {
        EXPECT_EQ(SendMessage(h, m, m * 3, -static_cast<LPARAM>(m)),
                  static_cast<LRESULT>(m - 0x3500));
        char b[16];
        std::snprintf(b, sizeof b, "%X", m);
        want.push_back("0x" + std::string(b) + "(" + std::to_string(m * 3) + "," +
                       std::to_string(-static_cast<LPARAM>(m)) + ")");
    }
    EXPECT_THAT(g_frame.lines, ElementsAreArray(want)) << "sent: at once, in order";
    g_frame.lines.clear();
    for (UINT m = 0x3523; m >= 0x3502; --m)
        ASSERT_TRUE(PostMessage(h, m, m * 3, -static_cast<LPARAM>(m)));
    EXPECT_TRUE(g_frame.lines.empty()) << "posted: only when the loop takes them";
    PumpPending();
    std::reverse(want.begin(), want.end());
    EXPECT_THAT(g_frame.lines, ElementsAreArray(want)) << "posted: in the order posted";
    // Through a subclass chain the same way.
    g_frame.lines.clear();
    auto sub = [](HWND hh, UINT m, WPARAM w, LPARAM l, UINT_PTR, DWORD_PTR) -> LRESULT {
        if (m == 0x3523)
            return 1;  // answered by the subclass alone
        return DefSubclassProc(hh, m, w + 1, l);
    };
    SetWindowSubclass(h, sub, 1, 0);
    EXPECT_EQ(SendMessage(h, 0x3523, 0, 0), 1);
    EXPECT_EQ(SendMessage(h, 0x3506, 4, 5), 6);
    EXPECT_THAT(g_frame.lines, ElementsAre("0x3506(5,5)"));
    RemoveWindowSubclass(h, sub, 1);
}

}  // namespace
