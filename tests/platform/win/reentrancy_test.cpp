// Handlers that destroy windows, filtered loops, and loops started from inside the display:
// the window system must neither touch freed windows nor spin nor starve a nested loop.

#include <gmock/gmock.h>

#include "platform/win/display_driver.h"
#include "platform/win/test_driver.h"
#include "test_support.h"

using namespace win;

namespace wintest {
namespace {

class Reentrancy : public WinTest {};

// A popup that destroys itself when it is about to be activated by a click.
LRESULT SelfDestroyingOnActivate(HWND h, UINT m, WPARAM w, LPARAM l) {
    if (m == WM_MOUSEACTIVATE) {
        DestroyWindow(h);
        return MA_ACTIVATE;
    }
    return DefWindowProc(h, m, w, l);
}

HWND g_doomed_parent = nullptr;

// A child that destroys the window it is being moved into when it is hidden for the move.
LRESULT DestroysTheNewParentWhenHidden(HWND h, UINT m, WPARAM w, LPARAM l) {
    if (m == WM_SHOWWINDOW && !w && g_doomed_parent)
        DestroyWindow(std::exchange(g_doomed_parent, nullptr));
    return DefWindowProc(h, m, w, l);
}

// A window that destroys itself while erasing, then paints on the DC it was given.
LRESULT DestroysItselfWhileErasing(HWND h, UINT m, WPARAM w, LPARAM l) {
    if (m == WM_ERASEBKGND) {
        DestroyWindow(h);
        return 1;
    }
    if (m == WM_PAINT) {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(h, &ps);
        if (dc) {
            dc->fill_rect({0, 0, 50, 50}, gdi::rgb(255, 0, 0));
            dc->draw_text("gone", ps.rcPaint, gdi::DT_SINGLELINE);
        }
        EndPaint(h, &ps);
        return 0;
    }
    return DefWindowProc(h, m, w, l);
}

TEST_F(Reentrancy, WindowsDestroyedByTheirOwnHandlersAreNeverTouchedAgain) {
    WNDCLASS wc;
    wc.lpfnWndProc = SelfDestroyingOnActivate;
    wc.lpszClassName = "SelfDestroyingPopup";
    RegisterClass(wc);
    wc.lpfnWndProc = DestroysTheNewParentWhenHidden;
    wc.lpszClassName = "ParentKiller";
    RegisterClass(wc);
    wc.lpfnWndProc = DestroysItselfWhileErasing;
    wc.hbrBackground = COLOR_WINDOW + 1;
    wc.lpszClassName = "EraseKiller";
    RegisterClass(wc);

    HWND main = top("Main");
    HWND popup = CreateWindowEx(0, "SelfDestroyingPopup", "", WS_POPUP | WS_VISIBLE, 600, 600, 80,
                                60, nullptr, nullptr, nullptr, nullptr);
    SetActiveWindow(main);
    ASSERT_EQ(GetActiveWindow(), main);
    InjectClick({620, 620});
    PumpPending();
    EXPECT_FALSE(IsWindow(popup));

    HWND old_parent = top("Old parent");
    g_doomed_parent = top("New parent");
    HWND new_parent = g_doomed_parent;
    HWND moving = CreateWindowEx(0, "ParentKiller", "", WS_CHILD | WS_VISIBLE, 5, 5, 20, 20,
                                 old_parent, nullptr, nullptr, nullptr);
    EXPECT_EQ(SetParent(moving, new_parent), nullptr);
    EXPECT_FALSE(IsWindow(new_parent));
    ASSERT_TRUE(IsWindow(moving));
    EXPECT_EQ(GetParent(moving), old_parent);

    HWND eraser = CreateWindowEx(0, "EraseKiller", "", WS_POPUP | WS_VISIBLE, 10, 10, 60, 60,
                                 nullptr, nullptr, nullptr, nullptr);
    UpdateAllWindows();
    EXPECT_FALSE(IsWindow(eraser));
}

TEST_F(Reentrancy, OwnershipNeverComesRoundInACircle) {
    HWND a = top("A");
    HWND b = top("B");
    SetWindowLongPtr(b, GWLP_HWNDPARENT, HandleToLParam(a));
    EXPECT_EQ(GetWindow(b, GW_OWNER), a);
    EXPECT_EQ(SetWindowLongPtr(a, GWLP_HWNDPARENT, HandleToLParam(b)), 0);
    EXPECT_EQ(SetWindowLongPtr(a, GWLP_HWNDPARENT, HandleToLParam(a)), 0);
    EXPECT_EQ(GetWindow(a, GW_OWNER), nullptr);
    EXPECT_EQ(GetAncestor(b, GA_ROOTOWNER), a);
}

TEST_F(Reentrancy, FilteredPeeksAndWaitsLookOnlyAtWhatTheyCanTake) {
    HWND a = top("A");
    HWND b = top("B");
    UpdateAllWindows();
    // A message for another window, or outside the range, is left where it is.
    PostMessage(b, WM_USER + 1, 0, 0);
    MSG m;
    EXPECT_FALSE(PeekMessage(&m, a, 0, 0, PM_REMOVE));
    EXPECT_FALSE(PeekMessage(&m, nullptr, WM_PAINT, WM_PAINT, PM_REMOVE));
    UpdateAllWindows();  // the paint pass filters on WM_PAINT
    ASSERT_TRUE(PeekMessage(&m, nullptr, 0, 0, PM_REMOVE));
    EXPECT_EQ(m.message, WM_USER + 1u);

    // On the real clock: a due timer of another window does not make a filtered wait spin.
    scoped_.reset();
    clk::SystemClock real;
    clk::ScopedClock use_real(real);
    SetTimer(b, 1, 10, nullptr);
    SetTimer(a, 2, 40, nullptr);
    const int64_t waits_before = IdleWaitCount();
    ASSERT_TRUE(GetMessage(&m, a, 0, 0));
    EXPECT_EQ(m.hwnd, a);
    EXPECT_EQ(m.message, static_cast<UINT>(WM_TIMER));
    EXPECT_LT(IdleWaitCount() - waits_before, 20);
    KillTimer(a, 2);
    KillTimer(b, 1);
}

// A display whose event handling opens a modal loop, as a focus handler that shows a box does.
class NestingDisplay : public DisplayDriver {
  public:
    explicit NestingDisplay(HWND target) : target_(target) {}
    SIZE screen_size() const override { return {1280, 1024}; }
    void present(HWND, const gdi::Bitmap&, const RECT&) override {}
    void window_created(HWND h) override { created_text_ = GetWindowText(h); }
    void process_events() override {
        ++calls_;
        PostMessage(target_, WM_NULL, 0, 0);  // every pass brings an event
        if (open_loop_) {
            open_loop_ = false;
            const int start = calls_;
            RunMessageLoop([&] { return calls_ - start >= 3; });
            nested_done_ = true;
        }
    }
    void wait_events(int) override { process_events(); }

    HWND target_;
    int calls_ = 0;
    bool open_loop_ = true;
    bool nested_done_ = false;
    std::string created_text_;
};

TEST_F(Reentrancy, ALoopOpenedFromADisplayEventStillGetsTheDisplaysEvents) {
    HWND w = top("Target");
    NestingDisplay display(w);
    SetDisplayDriver(&display);
    MSG m;
    PeekMessage(&m, nullptr, 0, 0, PM_NOREMOVE);
    EXPECT_TRUE(display.nested_done_);
    // The display learns of a new window once the window holds its text.
    HWND titled = top("Titled window");
    EXPECT_EQ(display.created_text_, "Titled window");
    SetDisplayDriver(nullptr);
    DestroyWindow(titled);
}

}  // namespace
}  // namespace wintest
