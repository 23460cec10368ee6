// Message order tests in the manner of a message-sequence table: record, then compare.

#include <gmock/gmock.h>

#include "test_support.h"

using namespace win;
using namespace wintest;
using ::testing::ElementsAre;
using ::testing::ElementsAreArray;

namespace {

LRESULT HookRecorder(int code, WPARAM wParam, LPARAM lParam);
HHOOK g_hook = nullptr;
LRESULT HookRecorder(int code, WPARAM wParam, LPARAM lParam) {
    static const char* kNames[] = {"HCBT_MOVESIZE",
                                   "HCBT_MINMAX",
                                   "HCBT_QS",
                                   "HCBT_CREATEWND",
                                   "HCBT_DESTROYWND",
                                   "HCBT_ACTIVATE",
                                   "",
                                   "",
                                   "",
                                   "HCBT_SETFOCUS"};
    if (code == HCBT_CREATEWND || code == HCBT_DESTROYWND || code == HCBT_ACTIVATE) {
        log().push_back({HwndFromParam(wParam), 0, 0, kNames[code]});
    }
    return CallNextHookEx(g_hook, code, wParam, lParam);
}

class MessageSequence : public WinTest {};

TEST_F(MessageSequence, CreateShowPaintDestroyOfATopLevelWindow) {
    g_hook = SetWindowsHookEx(WH_CBT, HookRecorder);
    HWND h = top();
    ASSERT_TRUE(IsWindow(h));
    EXPECT_THAT(names(), ElementsAre("HCBT_CREATEWND", "WM_NCCREATE", "WM_NCCALCSIZE", "WM_CREATE",
                                     "WM_SIZE", "WM_MOVE", "WM_SHOWWINDOW", "WM_WINDOWPOSCHANGING",
                                     "WM_WINDOWPOSCHANGED", "HCBT_ACTIVATE", "WM_ACTIVATEAPP",
                                     "WM_WINDOWPOSCHANGING", "WM_WINDOWPOSCHANGED", "WM_NCACTIVATE",
                                     "WM_ACTIVATE", "WM_SETFOCUS"));
    EXPECT_EQ(GetActiveWindow(), h);
    EXPECT_EQ(GetFocus(), h);

    clear_log();
    PumpPending();
    EXPECT_THAT(names(), ElementsAre("WM_PAINT", "WM_NCPAINT", "WM_ERASEBKGND"));
    clear_log();
    PumpPending();
    EXPECT_TRUE(names().empty()) << "painted windows are not painted again";

    clear_log();
    DestroyWindow(h);
    EXPECT_THAT(names(),
                ElementsAre("HCBT_DESTROYWND", "WM_WINDOWPOSCHANGING", "WM_WINDOWPOSCHANGED",
                            "WM_NCACTIVATE", "WM_ACTIVATE", "WM_ACTIVATEAPP", "WM_KILLFOCUS",
                            "WM_DESTROY", "WM_NCDESTROY"));
    EXPECT_FALSE(IsWindow(h));
    EXPECT_EQ(GetActiveWindow(), nullptr);
    EXPECT_EQ(GetFocus(), nullptr);
    UnhookWindowsHookEx(g_hook);
}

TEST_F(MessageSequence, ChildrenGetDestroyParentFirstAndNcDestroyChildrenFirst) {
    HWND p = top("P", WS_OVERLAPPED | WS_CAPTION);
    HWND a = child(p, {0, 0, 50, 50});
    HWND b = child(a, {0, 0, 10, 10});
    clear_log();
    DestroyWindow(p);
    std::vector<std::pair<HWND, UINT>> got;
    for (auto& e : log()) {
        if (e.msg == WM_DESTROY || e.msg == WM_NCDESTROY)
            got.push_back({e.hwnd, e.msg});
    }
    std::vector<std::pair<HWND, UINT>> want = {{p, WM_DESTROY},   {a, WM_DESTROY},
                                               {b, WM_DESTROY},   {b, WM_NCDESTROY},
                                               {a, WM_NCDESTROY}, {p, WM_NCDESTROY}};
    EXPECT_EQ(got, want);
    EXPECT_FALSE(IsWindow(a));
    EXPECT_FALSE(IsWindow(b));
}

TEST_F(MessageSequence, DestroyedHandlesStayInvalidAndAreNotReused) {
    HWND a = top("A", WS_OVERLAPPED);
    DestroyWindow(a);
    HWND b = top("B", WS_OVERLAPPED);
    EXPECT_NE(a, b);
    EXPECT_FALSE(IsWindow(a));
    EXPECT_EQ(SendMessage(a, WM_GETTEXTLENGTH, 0, 0), 0);
    EXPECT_FALSE(PostMessage(a, WM_USER, 0, 0));
    EXPECT_FALSE(SetWindowText(a, "x"));
    EXPECT_EQ(GetWindowText(a), "");
}

TEST_F(MessageSequence, RefusingCreationGivesNoWindowAndNoLeftovers) {
    // WM_CREATE returning -1 aborts: the window is destroyed and its handle invalid.
    static HWND created = nullptr;
    WNDCLASS wc;
    wc.lpfnWndProc = [](HWND h, UINT m, WPARAM w, LPARAM l) -> LRESULT {
        if (m == WM_CREATE) {
            created = h;
            return -1;
        }
        return DefWindowProc(h, m, w, l);
    };
    wc.lpszClassName = "Refuser";
    RegisterClass(wc);
    HWND h = CreateWindowEx(0, "Refuser", "", WS_OVERLAPPED | WS_VISIBLE, 0, 0, 10, 10, nullptr,
                            nullptr, nullptr, nullptr);
    EXPECT_EQ(h, nullptr);
    EXPECT_NE(created, nullptr);
    EXPECT_FALSE(IsWindow(created));
    EXPECT_EQ(
        CreateWindowEx(0, "NoSuchClass", "", 0, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr),
        nullptr);
}

// ---- Replaced window procedures -------------------------------------------------------------

struct Replacer {
    WNDPROC previous;
    std::vector<UINT> seen;
    LRESULT Proc(HWND h, UINT m, WPARAM w, LPARAM l) {
        seen.push_back(m);
        if (m == WM_USER + 1)
            return 42;  // handled here, not passed on
        return CallWindowProc(previous, h, m, w, l);
    }
};

TEST_F(MessageSequence, ReplacedProcedureSeesMessagesFirstChainsAndCanBeRestored) {
    HWND h = top("T", WS_OVERLAPPED);
    Replacer r;
    WNDPROC mine = WNDPROC::member(&r, &Replacer::Proc);
    r.previous = SetWindowLongPtr(h, GWLP_WNDPROC, mine);
    EXPECT_TRUE(r.previous == WNDPROC(RecordingProc));
    EXPECT_TRUE(GetWindowProc(h) == mine);

    clear_log();
    EXPECT_EQ(SendMessage(h, WM_USER + 1, 0, 0), 42);
    EXPECT_TRUE(names(h).empty()) << "a message handled by the replacement never reaches the old";
    SendMessage(h, WM_USER + 2, 0, 0);
    EXPECT_THAT(names(h), ElementsAre("WM_USER+0x2"));
    EXPECT_EQ(r.seen, (std::vector<UINT>{WM_USER + 1, WM_USER + 2}));

    // Restoring puts the old procedure back; the replacement sees nothing more.
    WNDPROC back = SetWindowLongPtr(h, GWLP_WNDPROC, r.previous);
    EXPECT_TRUE(back == mine);
    r.seen.clear();
    clear_log();
    EXPECT_EQ(SendMessage(h, WM_USER + 1, 0, 0), 0);
    EXPECT_TRUE(r.seen.empty());
    EXPECT_THAT(names(h), ElementsAre("WM_USER+0x1"));
}

TEST_F(MessageSequence, TwoBoundProceduresOfTheSameObjectAreDifferentIdentities) {
    Replacer r;
    WNDPROC a = WNDPROC::member(&r, &Replacer::Proc);
    WNDPROC b = WNDPROC::member(&r, &Replacer::Proc);
    WNDPROC a2 = a;
    EXPECT_FALSE(a == b);
    EXPECT_TRUE(a == a2);
    EXPECT_TRUE(WNDPROC(DefWindowProc) == WNDPROC(DefWindowProc));
}

// ---- Subclass chains ---------------------------------------------------------------------------

std::vector<std::string> g_chain;

LRESULT SubA(HWND h, UINT m, WPARAM w, LPARAM l, UINT_PTR, DWORD_PTR) {
    if (m >= WM_USER)
        g_chain.push_back("A");
    return DefSubclassProc(h, m, w, l);
}

LRESULT SubSelfRemoving(HWND h, UINT m, WPARAM w, LPARAM l, UINT_PTR id, DWORD_PTR ref) {
    if (m >= WM_USER) {
        g_chain.push_back("R");
        *reinterpret_cast<int*>(ref) += 1;
        if (m == WM_USER + 5)
            RemoveWindowSubclass(h, SubSelfRemoving, id);
        // Nested message while removed: it must not come back here.
        if (m == WM_USER + 5)
            SendMessage(h, WM_USER + 6, 0, 0);
    }
    return DefSubclassProc(h, m, w, l);
}

LRESULT SubB(HWND h, UINT m, WPARAM w, LPARAM l, UINT_PTR, DWORD_PTR) {
    if (m >= WM_USER)
        g_chain.push_back("B");
    return DefSubclassProc(h, m, w, l);
}

TEST_F(MessageSequence, SubclassChainRunsNewestFirstAndEndsInTheWindowProcedure) {
    HWND h = top("S", WS_OVERLAPPED);
    g_chain.clear();
    SetWindowSubclass(h, SubA, 1, 0);
    SetWindowSubclass(h, SubB, 1, 0);
    clear_log();
    SendMessage(h, WM_USER + 1, 0, 0);
    EXPECT_EQ(g_chain, (std::vector<std::string>{"B", "A"}));
    EXPECT_THAT(names(h), ElementsAre("WM_USER+0x1"));
    RemoveWindowSubclass(h, SubA, 1);
    RemoveWindowSubclass(h, SubB, 1);
    EXPECT_TRUE(GetWindowProc(h) == WNDPROC(RecordingProc))
        << "empty chain gives the procedure back";
}

TEST_F(MessageSequence, SubclassRemovedDuringItsOwnDispatchFinishesAndIsGoneAfterwards) {
    HWND h = top("S", WS_OVERLAPPED);
    g_chain.clear();
    int calls = 0;
    SetWindowSubclass(h, SubA, 1, 0);
    SetWindowSubclass(h, SubSelfRemoving, 7, reinterpret_cast<DWORD_PTR>(&calls));
    SetWindowSubclass(h, SubB, 1, 0);
    clear_log();
    SendMessage(h, WM_USER + 5, 0, 0);
    // B, R (removes itself, sends +6 which runs B, A, proc), then the rest of +5: A, proc.
    EXPECT_EQ(g_chain, (std::vector<std::string>{"B", "R", "B", "A", "A"}));
    EXPECT_THAT(names(h), ElementsAre("WM_USER+0x6", "WM_USER+0x5"));
    EXPECT_EQ(calls, 1);
    g_chain.clear();
    SendMessage(h, WM_USER + 5, 0, 0);
    EXPECT_EQ(g_chain, (std::vector<std::string>{"B", "A"}));
    EXPECT_EQ(calls, 1);
    DWORD_PTR ref = 0;
    EXPECT_FALSE(GetWindowSubclass(h, SubSelfRemoving, 7, &ref));
    EXPECT_TRUE(GetWindowSubclass(h, SubA, 1, &ref));
}

TEST_F(MessageSequence, WindowDestroyedInsideASubclassDispatchIsSafe) {
    HWND h = top("S", WS_OVERLAPPED);
    SetWindowSubclass(
        h,
        [](HWND hh, UINT m, WPARAM w, LPARAM l, UINT_PTR, DWORD_PTR) -> LRESULT {
            if (m == WM_USER + 9) {
                DestroyWindow(hh);
                return DefSubclassProc(hh, m, w, l);  // the window is gone: harmless
            }
            return DefSubclassProc(hh, m, w, l);
        },
        3, 0);
    SendMessage(h, WM_USER + 9, 0, 0);
    EXPECT_FALSE(IsWindow(h));
}

// ---- Sent versus posted
// --------------------------------------------------------------------------

TEST_F(MessageSequence, SentMessagesRunNowPostedOnesWhenTheLoopGetsThem) {
    HWND h = top("Q", WS_OVERLAPPED);
    PumpPending();
    clear_log();
    PostMessage(h, WM_USER + 1, 0, 0);
    SendMessage(h, WM_USER + 2, 0, 0);
    PostMessage(h, WM_USER + 3, 0, 0);
    EXPECT_THAT(names(h), ElementsAre("WM_USER+0x2"));
    PumpPending();
    EXPECT_THAT(names(h), ElementsAre("WM_USER+0x2", "WM_USER+0x1", "WM_USER+0x3"));
}

TEST_F(MessageSequence, PostedMessagesComeBeforePaintAndTimers) {
    HWND h = top("Q", WS_OVERLAPPED | WS_VISIBLE);
    PumpPending();
    SetTimer(h, 1, 10, nullptr);
    clock_.advance(10);
    InvalidateRect(h, nullptr, false);
    PostMessage(h, WM_USER, 0, 0);
    clear_log();
    PumpPending();
    EXPECT_THAT(names(h), ElementsAre("WM_USER+0x0", "WM_PAINT", "WM_TIMER"));
}

TEST_F(MessageSequence, QuitEndsTheLoopAfterThePostedMessagesBeforeIt) {
    HWND h = top("Q", WS_OVERLAPPED);
    PostMessage(h, WM_USER + 1, 0, 0);
    PostQuitMessage(3);
    PostMessage(h, WM_USER + 2, 0, 0);
    clear_log();
    EXPECT_EQ(RunMessageLoop(), 3);
    EXPECT_THAT(names(h), ElementsAre("WM_USER+0x1", "WM_USER+0x2"));
}

TEST_F(MessageSequence, QuitInsideANestedLoopEndsTheOuterLoopToo) {
    HWND h = top("Q", WS_OVERLAPPED);
    static int inner_result = -1;
    SetWindowLongPtr(h, GWLP_WNDPROC, WNDPROC([](HWND hh, UINT m, WPARAM w, LPARAM l) -> LRESULT {
                         if (m == WM_USER) {
                             PostQuitMessage(5);
                             inner_result = RunMessageLoop();
                             return 0;
                         }
                         return DefWindowProc(hh, m, w, l);
                     }));
    PostMessage(h, WM_USER, 0, 0);
    EXPECT_EQ(RunMessageLoop(), 5);
    EXPECT_EQ(inner_result, 5);
}

// ---- Hook ------------------------------------------------------------------------------------

TEST_F(MessageSequence, HookSeesCreationDestructionAndActivationAndCanRefuse) {
    g_hook = SetWindowsHookEx(WH_CBT, HookRecorder);
    HWND a = top("A");
    HWND b = top("B");
    clear_log();
    SetActiveWindow(a);
    EXPECT_THAT(names(), ::testing::Contains("HCBT_ACTIVATE"));
    EXPECT_EQ(log().front().hwnd, a);

    // A second hook refusing activation of b, called before the recorder.
    static HHOOK refuse = nullptr;
    static HWND refused = nullptr;
    refused = b;
    refuse = SetWindowsHookEx(WH_CBT, [](int code, WPARAM w, LPARAM l) -> LRESULT {
        if (code == HCBT_ACTIVATE && HwndFromParam(w) == refused)
            return 1;
        return CallNextHookEx(refuse, code, w, l);
    });
    SetActiveWindow(b);
    EXPECT_EQ(GetActiveWindow(), a);
    UnhookWindowsHookEx(refuse);
    SetActiveWindow(b);
    EXPECT_EQ(GetActiveWindow(), b);

    clear_log();
    DestroyWindow(b);
    EXPECT_EQ(names().front(), "HCBT_DESTROYWND");
    EXPECT_EQ(log().front().hwnd, b);
    EXPECT_EQ(GetActiveWindow(), a) << "the next window is activated";
    UnhookWindowsHookEx(g_hook);
}

TEST_F(MessageSequence, HookRemovingItselfWhileRunningIsSafe) {
    static HHOOK self = nullptr;
    static int runs = 0;
    runs = 0;
    self = SetWindowsHookEx(WH_CBT, [](int code, WPARAM w, LPARAM l) -> LRESULT {
        ++runs;
        UnhookWindowsHookEx(self);
        return CallNextHookEx(self, code, w, l);
    });
    top("A", WS_OVERLAPPED);
    top("B", WS_OVERLAPPED);
    EXPECT_EQ(runs, 1);
}

TEST_F(MessageSequence, HookRefusingCreationGivesNoWindow) {
    static HHOOK h = nullptr;
    h = SetWindowsHookEx(WH_CBT, [](int code, WPARAM w, LPARAM l) -> LRESULT {
        if (code == HCBT_CREATEWND) {
            auto* cbt = reinterpret_cast<CBT_CREATEWND*>(l);
            if (std::string(cbt->lpcs->lpszName) == "no")
                return 1;
        }
        return CallNextHookEx(h, code, w, l);
    });
    EXPECT_EQ(top("no"), nullptr);
    EXPECT_NE(top("yes"), nullptr);
    UnhookWindowsHookEx(h);
}

TEST(MessageNames, KnownAndPrivateNumbers) {
    EXPECT_EQ(MessageName(WM_PAINT), "WM_PAINT");
    EXPECT_EQ(MessageName(WM_NCHITTEST), "WM_NCHITTEST");
    EXPECT_EQ(MessageName(0x3503), "CN_SkinActive");
    EXPECT_EQ(MessageName(WM_USER + 0x10), "WM_USER+0x10");
    EXPECT_EQ(MessageName(WM_APP + 1), "WM_APP+0x1");
}

}  // namespace

namespace {

TEST_F(MessageSequence, NoWindowsAreBornUnderAWindowThatIsBeingDestroyed) {
    static HWND late_child = reinterpret_cast<HWND>(1);
    HWND p = top("P", WS_OVERLAPPED);
    HWND c = child(p, {0, 0, 10, 10});
    SetWindowProc(c, [](HWND h, UINT m, WPARAM w, LPARAM l) -> LRESULT {
        if (m == WM_DESTROY) {
            late_child = CreateWindowEx(0, "RecWindow", "", WS_CHILD, 0, 0, 5, 5, h, nullptr,
                                        nullptr, nullptr);
        }
        return DefWindowProc(h, m, w, l);
    });
    DestroyWindow(p);
    EXPECT_EQ(late_child, nullptr);
    EXPECT_FALSE(IsWindow(c));
}

}  // namespace
