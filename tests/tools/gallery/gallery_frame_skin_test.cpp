// The control gallery with frame skinning: the built-in skin paints its frame. The tour goes
// through the frame's states as an operator meets them (active, inactive, a title button
// hovered and pressed, its hint, the window menu, maximized, minimized, a message box) and
// checks each; with GALLERY_FRAME_SHOTS set to a directory it writes each state there as PNG.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "forms/forms.h"
#include "forms/message_box.h"
#include "platform/clock/clock.h"
#include "platform/gdi/png.h"
#include "platform/win/input.h"
#include "platform/win/menu.h"
#include "platform/win/message.h"
#include "platform/win/metrics.h"
#include "platform/win/painting.h"
#include "platform/win/test_driver.h"
#include "platform/win/window.h"
#include "skin/engine/caption_hint.h"
#include "skin/engine/skin_data.h"
#include "skin/engine/skin_manage.h"
#include "skin/engine/win_skin_form.h"
#include "skin/skin_elements.h"
#include "tools/gallery/gallery_form.h"

namespace {

class GalleryFrameSkin : public ::testing::Test {
  protected:
    GalleryFrameSkin() : scoped_(clock_) {}
    void SetUp() override {
        win::SetScreenSize(1024, 768);
        TGalleryForm::frame_skin = true;
        gallery = new TGalleryForm(forms::Application);
        gallery->Show();
        win::PumpPending();
        win::UpdateAllWindows();
        sf = skin::TSkinManage::Instance()->FindForm(gallery->Handle());
    }
    void TearDown() override {
        skin::TCaptionHint::Hide();
        delete gallery;
        win::PumpPending();
        TGalleryForm::frame_skin = false;
    }
    gdi::Bitmap Shot(const std::string& name, gdi::Rect area = {}) {
        win::UpdateAllWindows();
        if (area.empty())
            area = win::GetWindowRect(gallery->Handle()).inflate(8, 8);
        const gdi::Bitmap shot = win::ComposeScreen().copy(area);
        if (const char* dir = std::getenv("GALLERY_FRAME_SHOTS"))
            gdi::write_png_file(std::string(dir) + "/" + name + ".png", shot);
        return shot;
    }
    gdi::Point Screen(int x, int y) const {
        const gdi::Rect wr = win::GetWindowRect(gallery->Handle());
        return {wr.left + x, wr.top + y};
    }
    gdi::Color At(int x, int y) {
        win::UpdateAllWindows();
        const gdi::Point p = Screen(x, y);
        return win::ComposeScreen().color_at(p.x, p.y);
    }
    skin::TWinSysButton* Button(int action) const {
        for (const auto& b : sf->SysBtn)
            if (b->Action() == action && b->visible)
                return b.get();
        return nullptr;
    }

    clk::ManualClock clock_{{2026, 3, 2, 9, 30, 0, 0, 1}};
    clk::ScopedClock scoped_;
    TGalleryForm* gallery = nullptr;
    skin::TWinSkinForm* sf = nullptr;
};

TEST_F(GalleryFrameSkin, TourOfTheSkinnedFrame) {
    ASSERT_NE(sf, nullptr);
    ASSERT_TRUE(sf->sMainMenu);
    const win::HWND h = gallery->Handle();
    EXPECT_GT(sf->bw.Top, 20);
    const gdi::Color caption_active = At(sf->bw.Top + 100, sf->bw.Top / 2 + 8);
    Shot("frame_active");

    // Inactive: another window has the activation.
    forms::TForm other(forms::Application);
    other.SetBounds(700, 600, 200, 100);
    other.SetCaption("other");
    other.Show();
    win::PumpPending();
    EXPECT_NE(At(sf->bw.Top + 100, sf->bw.Top / 2 + 8), caption_active);
    Shot("frame_inactive");
    other.Hide();
    win::SetActiveWindow(h);
    win::PumpPending();

    // The close button hovered, its hint, then pressed.
    skin::TWinSysButton* close = Button(0);
    ASSERT_NE(close, nullptr);
    const gdi::Point on_close = Screen(close->bounds.left + 8, close->bounds.top + 8);
    win::InjectMouse(win::MouseAction::Move, on_close);
    win::PumpPending();
    EXPECT_EQ(close->state, 3);
    Shot("frame_close_hovered");
    win::RunFor(1100);
    EXPECT_EQ(skin::TCaptionHint::Text(), "Close");
    EXPECT_EQ(win::GetActiveWindow(), h);
    EXPECT_TRUE(sf->FWindowActive);
    Shot("frame_close_hint", win::GetWindowRect(h)
                                 .unite(win::GetWindowRect(skin::TCaptionHint::Window()))
                                 .inflate(8, 8));
    win::InjectMouse(win::MouseAction::LeftDown, on_close);
    win::PumpPending();
    EXPECT_EQ(close->state, 2);
    EXPECT_EQ(win::GetActiveWindow(), h);
    EXPECT_TRUE(sf->FWindowActive);
    EXPECT_EQ(skin::TCaptionHint::Window(), nullptr);
    Shot("frame_close_pressed");
    // Released elsewhere: the window stays.
    win::InjectMouse(win::MouseAction::Move, Screen(200, 200));
    win::InjectMouse(win::MouseAction::LeftUp, Screen(200, 200));
    win::RunFor(300);
    EXPECT_TRUE(win::IsWindow(h));
    EXPECT_EQ(close->state, 1);

    // The window menu from a right click on the caption, skinned as a window menu.
    bool menu_seen = false;
    win::SetIdleScript([&] {
        const auto open = win::OpenMenuWindows();
        if (open.empty() || menu_seen)
            return false;
        menu_seen = true;
        EXPECT_EQ(win::SendMessage(open[0], skin::CN_SkinQuery, 0, 0), 1) << "skinned";
        Shot("frame_window_menu",
             win::GetWindowRect(h).unite(win::GetWindowRect(open[0])).inflate(8, 8));
        win::InjectKey(win::VK_ESCAPE, true);
        win::InjectKey(win::VK_ESCAPE, false);
        return true;
    });
    win::InjectMouse(win::MouseAction::RightDown, Screen(300, sf->bw.Top / 2));
    win::InjectMouse(win::MouseAction::RightUp, Screen(300, sf->bw.Top / 2));
    win::PumpPending();
    win::SetIdleScript(nullptr);
    EXPECT_TRUE(menu_seen);

    // Maximized through its title button, then restored.
    const gdi::Rect normal = win::GetWindowRect(h);
    skin::TWinSysButton* max = Button(1);
    ASSERT_NE(max, nullptr);
    const gdi::Point on_max = Screen(max->bounds.left + 8, max->bounds.top + 8);
    win::InjectMouse(win::MouseAction::Move, on_max);
    win::InjectMouse(win::MouseAction::LeftDown, on_max);
    win::InjectMouse(win::MouseAction::LeftUp, on_max);
    win::PumpPending();
    EXPECT_TRUE(win::IsZoomed(h));
    EXPECT_EQ(sf->Windowstate, skin::swsMax);
    Shot("frame_maximized", {0, 0, 1024, 768});
    win::SendMessage(h, win::WM_SYSCOMMAND, win::SC_RESTORE, 0);
    win::PumpPending();
    EXPECT_EQ(win::GetWindowRect(h), normal);

    // Minimized: only the caption bar is painted.
    win::SendMessage(h, win::WM_SYSCOMMAND, win::SC_MINIMIZE, 0);
    win::PumpPending();
    EXPECT_EQ(sf->Windowstate, skin::swsMin);
    {
        const gdi::Rect wr = win::GetWindowRect(h);
        gdi::Bitmap frame(wr.width(), wr.height());
        gdi::DC dc(frame);
        dc.fill_rect({0, 0, wr.width(), wr.height()}, gdi::kMagenta);
        sf->PaintFrame(dc);
        // The window is its caption bar now (SM_CYMINIMIZED high): below the caption band, the
        // left and bottom borders would meet in its bottom-left corner.
        EXPECT_EQ(wr.height(), win::GetSystemMetrics(win::SM_CYMINIMIZED));
        if (sf->bw.Top < wr.height()) {
            EXPECT_EQ(frame.color_at(1, wr.height() - 1), gdi::kMagenta) << "no side borders";
        }
        EXPECT_NE(frame.color_at(wr.width() / 2, sf->bw.Top / 2), gdi::kMagenta);
        if (const char* dir = std::getenv("GALLERY_FRAME_SHOTS"))
            gdi::write_png_file(std::string(dir) + "/frame_minimized.png",
                                frame.copy({0, 0, wr.width(), sf->bw.Top}));
    }
    win::SendMessage(h, win::WM_SYSCOMMAND, win::SC_RESTORE, 0);
    win::PumpPending();

    // A message box with a skinned frame, widened for its long caption.
    const std::string caption = "注意 Attention - restoring the defaults of every sequencer";
    int box_width = 0;
    win::SetIdleScript([&] {
        const auto boxes = forms::OpenMessageBoxes();
        if (boxes.empty() || box_width)
            return false;
        box_width = win::GetWindowRect(boxes[0]->hwnd).width();
        Shot("frame_message_box", win::GetWindowRect(boxes[0]->hwnd).inflate(8, 8));
        win::InjectKey(win::VK_ESCAPE, true);
        win::InjectKey(win::VK_ESCAPE, false);
        return true;
    });
    forms::MessageBox(h, "确定恢复默认值吗? Restore the defaults?", caption.c_str(), forms::MB_OK);
    win::SetIdleScript(nullptr);
    gdi::Bitmap probe(1, 1);
    gdi::DC dc(probe);
    dc.select_font(win::GetCaptionFont());
    EXPECT_GE(box_width,
              dc.get_text_extent(caption).cx + sf->fsd->Title->r.left + sf->fsd->Title->r.right);
}

}  // namespace
