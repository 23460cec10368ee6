#include "forms/popup_window.h"

#include <memory>
#include <vector>

#include "ui_fixture.h"

namespace forms {
namespace {

bool IsPressOrRelease(win::UINT msg) {
    switch (msg) {
        case win::WM_LBUTTONDOWN:
        case win::WM_LBUTTONUP:
        case win::WM_LBUTTONDBLCLK:
        case win::WM_RBUTTONDOWN:
        case win::WM_RBUTTONUP:
        case win::WM_RBUTTONDBLCLK:
        case win::WM_MBUTTONDOWN:
        case win::WM_MBUTTONUP:
        case win::WM_MBUTTONDBLCLK:
            return true;
        default:
            return false;
    }
}

bool IsPress(win::UINT msg) {
    return IsPressOrRelease(msg) && msg != win::WM_LBUTTONUP && msg != win::WM_RBUTTONUP &&
           msg != win::WM_MBUTTONUP;
}

// A pop-up as a control drops one down: the presses and releases its handler receives, and a
// dismissal that closes it, as a control's close-up does.
struct PopupProbe {
    PopupWindow popup;
    std::vector<win::UINT> seen;
    int dismissals = 0;

    void Open(win::HWND owner, const win::RECT& screen) {
        popup.Open(
            owner, screen,
            [this](win::HWND h, win::UINT m, win::WPARAM w, win::LPARAM l) {
                if (IsPressOrRelease(m))
                    seen.push_back(m);
                return win::DefWindowProc(h, m, w, l);
            },
            [this] {
                ++dismissals;
                popup.Close();
            });
    }
};

gdi::Point CentreOf(const gdi::Rect& r) {
    return {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
}

class PopupWindowTest : public UiTest {
  protected:
    void SetUp() override {
        UiTest::SetUp();
        opener = Add<TPanel>("Opener", 200, 20, 120, 24);
        other = Add<TButton>("Other", 10, 250, 100, 25);
        other->OnClick = [this](TObject*) { ++other_clicks; };
        TWndMethod old = other->WindowProc;
        other->WindowProc = [this, old](TMessage& m) {
            if (IsPress(m.Msg))
                other_presses.push_back(m.Msg);
            old(m);
        };
        form->Show();
        win::RunFor(10);
        // Just below the opener, as a list drops down from its box.
        gdi::Point origin = opener->ClientToScreen({0, opener->Height()});
        below_opener = gdi::Rect::from_xywh(origin.x, origin.y, 120, 80);
    }
    void OpenFromCode() {
        probe.Open(form->Handle(), below_opener);
        ASSERT_TRUE(probe.popup.IsOpen());
    }

    TPanel* opener = nullptr;
    TButton* other = nullptr;
    int other_clicks = 0;
    std::vector<win::UINT> other_presses;
    gdi::Rect below_opener;
    PopupProbe probe;
};

TEST_F(PopupWindowTest, ReleasesOutsideNeitherCloseNorReachTheOwner) {
    // The release of the press that opened the pop-up.
    opener->OnMouseDown = [this](TObject*, TMouseButton, unsigned, int, int) {
        probe.Open(form->Handle(), below_opener);
    };
    const gdi::Point on_opener = opener->ClientToScreen({60, 12});
    win::InjectMouse(win::MouseAction::LeftDown, on_opener);
    win::RunFor(10);
    ASSERT_TRUE(probe.popup.IsOpen());
    win::InjectMouse(win::MouseAction::LeftUp, on_opener);
    win::RunFor(10);
    EXPECT_TRUE(probe.popup.IsOpen());
    EXPECT_EQ(probe.dismissals, 0);
    EXPECT_TRUE(probe.seen.empty());

    // A press and release inside both go to the owner, which decides what they pick.
    const gdi::Point inside = CentreOf(below_opener);
    win::InjectClick(inside);
    win::RunFor(10);
    EXPECT_EQ(probe.seen, (std::vector<win::UINT>{win::WM_LBUTTONDOWN, win::WM_LBUTTONUP}));
    EXPECT_TRUE(probe.popup.IsOpen());

    // A press inside dragged out: the owner sees the press only.
    probe.seen.clear();
    win::RunFor(1000);  // no double click with the click before
    win::InjectMouse(win::MouseAction::LeftDown, inside);
    win::InjectMouse(win::MouseAction::Move, on_opener);
    win::InjectMouse(win::MouseAction::LeftUp, on_opener);
    win::RunFor(10);
    EXPECT_EQ(probe.seen, (std::vector<win::UINT>{win::WM_LBUTTONDOWN}));
    EXPECT_TRUE(probe.popup.IsOpen());
    EXPECT_EQ(probe.dismissals, 0);
}

TEST_F(PopupWindowTest, APressOutsideDismissesAndGoesNoFurther) {
    const struct {
        win::MouseAction down, up;
        const char* name;
    } buttons[] = {
        {win::MouseAction::LeftDown, win::MouseAction::LeftUp, "left"},
        {win::MouseAction::RightDown, win::MouseAction::RightUp, "right"},
        {win::MouseAction::MiddleDown, win::MouseAction::MiddleUp, "middle"},
    };
    const gdi::Point on_other = other->ClientToScreen({50, 12});
    for (const auto& b : buttons) {
        SCOPED_TRACE(b.name);
        probe.dismissals = 0;
        probe.seen.clear();
        other_presses.clear();
        OpenFromCode();
        win::InjectMouse(win::MouseAction::Move, on_other);
        win::InjectMouse(b.down, on_other);
        win::InjectMouse(b.up, on_other);
        win::RunFor(10);
        EXPECT_FALSE(probe.popup.IsOpen());
        // Once: the capture the pop-up gives up while closing is no second dismissal.
        EXPECT_EQ(probe.dismissals, 1);
        EXPECT_TRUE(probe.seen.empty());
        EXPECT_TRUE(other_presses.empty());
    }
    EXPECT_EQ(other_clicks, 0);
    // With the pop-up gone the next click is the window's own again.
    win::InjectClick(on_other);
    win::RunFor(10);
    EXPECT_EQ(other_clicks, 1);
}

TEST_F(PopupWindowTest, LosingTheCaptureToAnotherWindowDismisses) {
    OpenFromCode();
    win::SetCapture(other->Handle());
    EXPECT_FALSE(probe.popup.IsOpen());
    EXPECT_EQ(probe.dismissals, 1);
    win::ReleaseCapture();

    // Closing from the owner's side is no dismissal.
    OpenFromCode();
    probe.popup.Close();
    EXPECT_FALSE(probe.popup.IsOpen());
    EXPECT_EQ(probe.dismissals, 1);
    EXPECT_EQ(win::GetCapture(), nullptr);
}

TEST_F(PopupWindowTest, ADismissalMayFreeThePopup) {
    // A close-up handler that frees the control, and its pop-up with it, while the press that
    // dismissed it is still being dispatched.
    auto owned = std::make_unique<PopupWindow>();
    int dismissals = 0;
    owned->Open(
        form->Handle(), below_opener,
        [](win::HWND h, win::UINT m, win::WPARAM w, win::LPARAM l) {
            return win::DefWindowProc(h, m, w, l);
        },
        [&] {
            ++dismissals;
            owned.reset();
        });
    win::InjectClick(other->ClientToScreen({50, 12}));
    win::RunFor(10);
    EXPECT_EQ(dismissals, 1);
    EXPECT_EQ(owned, nullptr);
    EXPECT_EQ(win::GetCapture(), nullptr);
    EXPECT_TRUE(other_presses.empty());
}

}  // namespace
}  // namespace forms
