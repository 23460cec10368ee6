// The gallery's skinned frame on a real X window, driven by input the server delivers (XTEST):
// dragged by its caption, sized by a corner and a border, maximized, minimized and closed
// through the skin's title buttons, restored by a double click on its caption bar, with the
// native window's geometry checked after each step (screenshots with VELMOR_FRAME_SCREENSHOTS).

#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <string>

#include "forms/forms.h"
#include "skin/engine/nc_objects.h"
#include "skin/engine/skin_manage.h"
#include "skin/engine/win_skin_form.h"
#include "tools/gallery/gallery_form.h"
// Xlib last: its macros (None, KeyPress, Bool) collide with the names of gtest and the forms.
#include "tests/platform/display/x11_hand.h"

namespace {

class GalleryFrameSkinX11 : public ::testing::Test {
  protected:
    void SetUp() override {
        const char* d = std::getenv("DISPLAY");
        if (!d || !*d)
            GTEST_SKIP() << "DISPLAY is not set";
        scoped_ = std::make_unique<clk::ScopedClock>(clock_);
        display::Options o;
        o.kind = display::Kind::X11;
        std::string err;
        disp_ = display::Open(o, &err);
        ASSERT_TRUE(disp_) << err;
        hand_ = std::make_unique<x11test::Hand>(*disp_, clock_);
        ASSERT_NE(hand_->probe(), nullptr);
        TGalleryForm::frame_skin = true;
        gallery_ = new TGalleryForm(forms::Application);
        gallery_->Show();
        hand_->settle();
        h_ = gallery_->Handle();
        sf_ = skin::TSkinManage::Instance()->FindForm(h_);
    }
    void TearDown() override {
        delete gallery_;
        TGalleryForm::frame_skin = false;
        if (hand_)
            hand_->settle();
        hand_.reset();
        disp_.reset();
    }
    // The centre of the visible title button with one of the actions, on the screen.
    win::POINT button(int action, int other_action = -1) {
        for (const auto& b : sf_->SysBtn) {
            if (b->visible && (b->Action() == action || b->Action() == other_action)) {
                const win::RECT wr = win::GetWindowRect(h_);
                return {wr.left + (b->bounds.left + b->bounds.right) / 2,
                        wr.top + (b->bounds.top + b->bounds.bottom) / 2};
            }
        }
        ADD_FAILURE() << "no visible title button with action " << action;
        return {0, 0};
    }
    win::RECT native() { return hand_->native_rect(h_); }

    clk::ManualClock clock_{{2026, 3, 2, 9, 30, 0, 0, 1}};
    std::unique_ptr<clk::ScopedClock> scoped_;
    std::unique_ptr<display::Display> disp_;
    std::unique_ptr<x11test::Hand> hand_;
    TGalleryForm* gallery_ = nullptr;
    win::HWND h_ = nullptr;
    skin::TWinSkinForm* sf_ = nullptr;
};

TEST_F(GalleryFrameSkinX11, TheSkinnedFrameMovesSizesMaximizesMinimizesAndClosesTheRealWindow) {
    ASSERT_NE(sf_, nullptr);
    ASSERT_TRUE(sf_->sMainMenu);
    ASSERT_TRUE(hand_->viewable(h_));
    const win::RECT start = win::GetWindowRect(h_);
    EXPECT_EQ(native(), start);
    hand_->screenshot("skin_active");

    // Dragged by the caption band the skin paints.
    const win::POINT on_caption{start.left + 200, start.top + sf_->bw.Top / 2};
    hand_->drag(on_caption, {on_caption.x + 60, on_caption.y + 40});
    const win::RECT moved = start.offset(60, 40);
    EXPECT_EQ(win::GetWindowRect(h_), moved);
    EXPECT_EQ(native(), moved);
    hand_->screenshot("skin_dragged");

    // Sized by the bottom-right corner, then by the left border; the client area follows.
    const win::RECT client = win::GetClientRect(h_);
    hand_->drag({moved.right - 2, moved.bottom - 2}, {moved.right + 48, moved.bottom + 28});
    win::RECT sized{moved.left, moved.top, moved.right + 50, moved.bottom + 30};
    EXPECT_EQ(win::GetWindowRect(h_), sized);
    EXPECT_EQ(native(), sized);
    EXPECT_EQ(win::GetClientRect(h_).width(), client.width() + 50);
    EXPECT_EQ(win::GetClientRect(h_).height(), client.height() + 30);
    hand_->drag({sized.left + 1, sized.top + sized.height() / 2},
                {sized.left - 39, sized.top + sized.height() / 2});
    sized.left -= 40;
    EXPECT_EQ(win::GetWindowRect(h_), sized);
    EXPECT_EQ(native(), sized);
    hand_->screenshot("skin_resized");

    // Maximized by its title button: the work area, the window's system border past the
    // edges; restored by the same place.
    hand_->click(button(1, 22));
    ASSERT_TRUE(win::IsZoomed(h_));
    win::RECT work;
    win::SystemParametersInfo(win::SPI_GETWORKAREA, 0, &work, 0);
    const win::RECT maximized = win::GetWindowRect(h_);
    EXPECT_EQ(native(), maximized);
    EXPECT_TRUE(maximized.contains({work.left, work.top}));
    EXPECT_GE(maximized.width(), work.width());
    hand_->screenshot("skin_maximized");
    clock_.advance(1000);
    hand_->click(button(1, 22));
    EXPECT_FALSE(win::IsZoomed(h_));
    EXPECT_EQ(native(), sized);

    // Minimized: the caption bar along the bottom of the work area, drawn by the skin; a
    // double click on it restores the window.
    clock_.advance(1000);
    hand_->click(button(2, 23));
    ASSERT_TRUE(win::IsIconic(h_));
    const win::RECT bar = native();
    EXPECT_EQ(bar, win::GetWindowRect(h_));
    EXPECT_EQ(bar.left, work.left);
    EXPECT_EQ(bar.bottom, work.bottom);
    EXPECT_TRUE(hand_->viewable(h_));
    hand_->screenshot("skin_minimized");
    // On the title text, past the icon (whose click opens the window menu).
    const win::POINT on_bar{bar.left + 50, bar.top + bar.height() / 2};
    hand_->click(on_bar);
    hand_->click(on_bar);
    EXPECT_FALSE(win::IsIconic(h_));
    EXPECT_EQ(native(), sized);

    // Closed by its title button: the window goes from the screen.
    clock_.advance(1000);
    hand_->click(button(0));
    EXPECT_FALSE(win::IsWindow(h_) && win::IsWindowVisible(h_));
    EXPECT_FALSE(hand_->viewable(h_));
}

}  // namespace
