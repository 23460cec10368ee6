// Skinned window frames: the client area inside the skin's borders, the caption bar and its
// title buttons, the window's shape, and the way back to the system frame.
#include <gtest/gtest.h>

#include <functional>

#include "forms/message_box.h"
#include "platform/gdi/dc.h"
#include "platform/win/input.h"
#include "platform/win/menu.h"
#include "platform/win/message.h"
#include "platform/win/metrics.h"
#include "platform/win/painting.h"
#include "platform/win/subclass.h"
#include "platform/win/test_driver.h"
#include "platform/win/timer.h"
#include "platform/win/window.h"
#include "skin/engine/caption_hint.h"
#include "skin/engine/frame_region.h"
#include "skin/engine/startup_skin.h"
#include "skin/engine/sys_button_visibility.h"
#include "skin/skin_elements.h"
#include "tests/skin/engine/skin_engine_fixture.h"
#include "tests/skin/skin_test_package.h"

namespace skin::test {
namespace {

constexpr gdi::Color kLeftOn = gdi::rgb(200, 0, 0), kLeftOff = gdi::rgb(100, 0, 0);
constexpr gdi::Color kRightOn = gdi::rgb(0, 200, 0), kRightOff = gdi::rgb(0, 100, 0);
constexpr gdi::Color kTopOn = gdi::rgb(0, 0, 200), kTopOff = gdi::rgb(0, 0, 100);
constexpr gdi::Color kBottomOn = gdi::rgb(200, 200, 0), kBottomOff = gdi::rgb(100, 100, 0);
const std::vector<gdi::Color> kButtonStates = {gdi::rgb(10, 20, 30), gdi::rgb(40, 50, 60),
                                               gdi::rgb(70, 80, 90), gdi::rgb(1, 2, 3)};

// A top image of 58 pixels in two stacked states with magenta top corners (6 x 4, the width of its
// fixed ends).
gdi::Bitmap TopImage() {
    gdi::Bitmap top = solid_states(40, 29, {kTopOn, kTopOff}, true);
    for (int k = 0; k < 2; ++k)
        for (int y = 0; y < 4; ++y)
            for (int x = 0; x < 6; ++x) {
                top.set_color(x, k * 29 + y, gdi::kMagenta);
                top.set_color(39 - x, k * 29 + y, gdi::kMagenta);
            }
    return top;
}

std::string FrameIni(const std::string& extra = {}) {
    return "[Personality]\n"
           "Left=l.bmp\nLeftFrame=2\nLeftTrans=0\n"
           "Right=r.bmp\nRightFrame=2\nRightTrans=0\n"
           "Top=t.bmp\nTopFrame=2\nTopTrans=1\nTopTopHeight=6\nTopBotHeight=6\n"
           "Bottom=b.bmp\nBottomFrame=2\nBottomTrans=0\n"
           "TextShift=28\nTextRightClip=100\n"
           "[Button0]\nAction=0\nAlign=1\nXcoord=27\nYcoord=4\nframe=4\nButtonImage=btn.bmp\n"
           "[Button1]\nAction=77\nAlign=1\nXcoord=50\nYcoord=4\nframe=4\nButtonImage=btn.bmp\n"
           "[Button2]\nAction=78\nAlign=1\nXcoord=73\nYcoord=4\nVisibility=1000\nframe=4\n"
           "ButtonImage=btn.bmp\n"
           "[Button3]\nAction=3\nAlign=0\nXcoord=200\nYcoord=4\nframe=4\nButtonImage=btn.bmp\n" +
           extra;
}

std::vector<uint8_t> FrameSkin(const std::string& extra = {}) {
    return make_skin(FrameIni(extra),
                     {{"l.bmp", solid_states(4, 10, {kLeftOn, kLeftOff})},
                      {"r.bmp", solid_states(4, 10, {kRightOn, kRightOff})},
                      {"t.bmp", TopImage()},
                      {"b.bmp", solid_states(10, 4, {kBottomOn, kBottomOff}, true)},
                      {"btn.bmp", solid_states(21, 21, kButtonStates)}});
}

// A form whose skin component has frame skinning, with the skin above.
class FrameSkinTest : public forms::UiTest {
  protected:
    void SetUp() override {
        forms::UiTest::SetUp();
        startup_skin_options() = {};
        data = CreateFrameSkin(form);
        ASSERT_TRUE(data->LoadFromBytes(FrameSkin()));
    }
    void TearDown() override {
        TCaptionHint::Hide();
        forms::UiTest::TearDown();
        EXPECT_EQ(TSkinManage::Instance(), nullptr);
    }
    void ShowSkinned() {
        form->Show();
        win::PumpPending();
    }
    TWinSkinForm* Skinned() const {
        TSkinManage* m = TSkinManage::Instance();
        return m ? m->FindForm(form->Handle()) : nullptr;
    }
    gdi::Rect WindowRect() const { return win::GetWindowRect(form->Handle()); }
    gdi::Rect ClientRect() const { return win::GetClientRect(form->Handle()); }
    // A pixel of the screen at a point of the window.
    gdi::Color At(int x, int y) {
        win::UpdateAllWindows();
        const gdi::Rect wr = WindowRect();
        return win::ComposeScreen().color_at(wr.left + x, wr.top + y);
    }
    gdi::Point Screen(int x, int y) const {
        const gdi::Rect wr = WindowRect();
        return {wr.left + x, wr.top + y};
    }
    TSkinData* data = nullptr;
};

TEST_F(SkinUiTest, ComponentWithoutFrameSkinningKeepsTheSystemFrameAndTheExactOuterSize) {
    form->SetBounds(0, 0, 1265, 693);
    form->HandleNeeded();
    const gdi::Rect before = win::GetWindowRect(form->Handle());
    const gdi::Rect client = win::GetClientRect(form->Handle());
    const auto style = win::GetWindowLongPtr(form->Handle(), win::GWL_STYLE) | win::WS_VISIBLE;
    ShowSkinned();
    ASSERT_NE(Skinned(), nullptr);
    EXPECT_FALSE(Skinned()->sMainMenu);
    EXPECT_EQ(win::GetWindowRect(form->Handle()), before);
    EXPECT_EQ(before.width(), 1265);
    EXPECT_EQ(before.height(), 693);
    EXPECT_EQ(win::GetClientRect(form->Handle()), client);
    EXPECT_EQ(win::GetWindowLongPtr(form->Handle(), win::GWL_STYLE), style);
    gdi::Region shape;
    EXPECT_EQ(win::GetWindowRgn(form->Handle(), &shape), 0) << "no window region";
}

TEST_F(FrameSkinTest, TakeOverPutsTheSkinsBordersAroundTheSameClientAreaAndOffRestoresAll) {
    form->HandleNeeded();
    const gdi::Rect outer = WindowRect();
    const gdi::Rect client = ClientRect();
    ShowSkinned();
    TWinSkinForm* sf = Skinned();
    ASSERT_NE(sf, nullptr);
    ASSERT_TRUE(sf->sMainMenu);
    // 58 pixels of "Top" in two states: a caption band of 29.
    EXPECT_EQ(sf->bw, (TFrameWidths{4, 29, 4, 4}));
    EXPECT_EQ(ClientRect().width(), client.width());
    EXPECT_EQ(ClientRect().height(), client.height());
    EXPECT_EQ(WindowRect().width(), client.width() + 8);
    EXPECT_EQ(WindowRect().height(), client.height() + 33);
    EXPECT_EQ(WindowRect().left, outer.left);
    EXPECT_EQ(WindowRect().top, outer.top);

    // Active: state 1 of every border and the close button's first image.
    const int w = WindowRect().width(), h = WindowRect().height();
    EXPECT_EQ(At(1, 100), kLeftOn);
    EXPECT_EQ(At(w - 2, 100), kRightOn);
    EXPECT_EQ(At(100, h - 2), kBottomOn);
    EXPECT_EQ(At(10, 20), kTopOn);
    EXPECT_EQ(At(w - 27 + 10, 14), kButtonStates[0]);
    // The top image's magenta corners show the side borders or are cut away, never magenta.
    {
        const gdi::Bitmap screen = win::ComposeScreen();
        const gdi::Rect wr = WindowRect();
        int magenta = 0;
        for (int y = wr.top; y < wr.top + 29; ++y)
            for (int x = wr.left; x < wr.right; ++x)
                magenta += screen.color_at(x, y) == gdi::kMagenta;
        EXPECT_EQ(magenta, 0);
        EXPECT_EQ(At(1, 1), kLeftOn);
    }

    // Another window takes the activation: state 2 of the borders, the fourth button image.
    forms::TForm other(forms::Application);
    other.SetBounds(600, 500, 100, 100);
    other.Show();
    win::PumpPending();
    EXPECT_EQ(At(1, 100), kLeftOff);
    EXPECT_EQ(At(10, 20), kTopOff);
    EXPECT_EQ(At(w - 27 + 10, 14), kButtonStates[3]);

    data->SetActive(false);
    win::RunFor(300);
    EXPECT_EQ(Skinned(), nullptr);
    EXPECT_EQ(WindowRect(), outer) << "the system frame and the outer size are back";
    EXPECT_EQ(ClientRect(), client);
    gdi::Region shape;
    EXPECT_EQ(win::GetWindowRgn(form->Handle(), &shape), 0);
}

TEST_F(FrameSkinTest, TransparentBorderPixelsShapeTheWindowRebuiltOnlyWhenTheSizeChanges) {
    ShowSkinned();
    TWinSkinForm* sf = Skinned();
    ASSERT_NE(sf, nullptr);
    gdi::Region shape;
    ASSERT_NE(win::GetWindowRgn(form->Handle(), &shape), 0);
    const int w = WindowRect().width();
    EXPECT_FALSE(shape.contains({5, 1})) << "the magenta corner of the top image is cut away";
    EXPECT_FALSE(shape.contains({w - 6, 1}));
    EXPECT_TRUE(shape.contains({7, 1}));
    EXPECT_TRUE(shape.contains({1, 1})) << "an opaque left border is whole";
    EXPECT_TRUE(shape.contains({100, 100}));

    const int builds = sf->region_builds;
    const gdi::Rect wr = WindowRect();
    win::SetWindowPos(form->Handle(), nullptr, wr.left + 30, wr.top + 10, 0, 0,
                      win::SWP_NOSIZE | win::SWP_NOZORDER);
    win::SendMessage(form->Handle(), win::WM_SIZE, win::SIZE_RESTORED,
                     win::MAKELPARAM(ClientRect().width(), ClientRect().height()));
    EXPECT_EQ(sf->region_builds, builds) << "moving or a repeated size builds nothing";

    win::SetWindowPos(form->Handle(), nullptr, 0, 0, 0, 0, win::SWP_NOMOVE | win::SWP_NOZORDER);
    win::UpdateAllWindows();
    EXPECT_EQ(sf->region_builds, builds + 1);
    EXPECT_EQ(win::GetWindowRgn(form->Handle(), &shape), 0) << "no area, no region";

    win::SetWindowPos(form->Handle(), nullptr, 0, 0, 300, 200, win::SWP_NOMOVE | win::SWP_NOZORDER);
    win::UpdateAllWindows();
    EXPECT_EQ(sf->region_builds, builds + 2);
    ASSERT_NE(win::GetWindowRgn(form->Handle(), &shape), 0);
    EXPECT_FALSE(shape.contains({294, 1}));
    EXPECT_TRUE(shape.contains({150, 150}));
    EXPECT_EQ(At(10, 20), kTopOn);
}

// Answers 0x3515 with `answer` and records the 0x3514 actions.
struct AppSide {
    int answer = 0;
    std::vector<win::WPARAM> actions;
    static win::LRESULT Proc(win::HWND h, win::UINT msg, win::WPARAM wp, win::LPARAM lp,
                             win::UINT_PTR, win::DWORD_PTR ref) {
        auto* self = reinterpret_cast<AppSide*>(ref);
        if (msg == CN_SysBtnVisible)
            return self->answer;
        if (msg == CN_SysBtnAction)
            self->actions.push_back(wp);
        return win::DefSubclassProc(h, msg, wp, lp);
    }
};

TEST_F(FrameSkinTest, TitleButtonsFollowTheApplicationHoverPressAndPostUnknownActions) {
    AppSide app;
    win::SetWindowSubclass(form->Handle(), &AppSide::Proc, 7,
                           reinterpret_cast<win::DWORD_PTR>(&app));
    ShowSkinned();
    TWinSkinForm* sf = Skinned();
    ASSERT_NE(sf, nullptr);
    const int w = WindowRect().width();
    // Visibility 1000: shown only while the window answers 0x3515 with a positive value.
    EXPECT_NE(At(w - 73 + 10, 14), kButtonStates[0]);
    app.answer = 1;
    win::SendMessage(form->Handle(), CN_RepaintFrame, 0, 0);
    EXPECT_EQ(At(w - 73 + 10, 14), kButtonStates[0]);
    app.answer = 0;
    win::SendMessage(form->Handle(), CN_RepaintFrame, 0, 0);
    EXPECT_NE(At(w - 73 + 10, 14), kButtonStates[0]);

    // Hover (image 3), press (image 2), release: the unknown action goes to the application.
    const gdi::Point custom = Screen(w - 50 + 10, 14);
    win::InjectMouse(win::MouseAction::Move, custom);
    win::PumpPending();
    EXPECT_EQ(At(w - 50 + 10, 14), kButtonStates[2]);
    win::InjectMouse(win::MouseAction::LeftDown, custom);
    win::PumpPending();
    EXPECT_EQ(At(w - 50 + 10, 14), kButtonStates[1]);
    win::InjectMouse(win::MouseAction::LeftUp, custom);
    win::PumpPending();
    ASSERT_EQ(app.actions.size(), 1u);
    EXPECT_EQ(app.actions[0], 77u);
    EXPECT_TRUE(win::IsWindow(form->Handle()));

    // Resting on the close button names it after the hint pause, then the name goes.
    const gdi::Point close = Screen(w - 27 + 10, 14);
    win::InjectMouse(win::MouseAction::Move, close);
    win::PumpPending();
    win::RunFor(1100);
    EXPECT_EQ(TCaptionHint::Text(), "Close");
    win::RunFor(3000);
    EXPECT_EQ(TCaptionHint::Window(), nullptr);
    // Leaving the button ends its hover on the next tick.
    win::InjectMouse(win::MouseAction::Move, Screen(100, 100));
    win::RunFor(300);
    EXPECT_EQ(sf->ActiveBtn, nullptr);
    EXPECT_EQ(At(w - 27 + 10, 14), kButtonStates[0]);

    // Released away from the pressed button: nothing happens.
    win::InjectMouse(win::MouseAction::LeftDown, custom);
    win::InjectMouse(win::MouseAction::Move, Screen(100, 14));
    win::InjectMouse(win::MouseAction::LeftUp, Screen(100, 14));
    win::PumpPending();
    EXPECT_EQ(app.actions.size(), 1u);
    win::RemoveWindowSubclass(form->Handle(), &AppSide::Proc, 7);
}

TEST_F(FrameSkinTest, OperatorMovesSizesMaximizesAndOpensTheMenuThroughTheSkinnedFrame) {
    ShowSkinned();
    TWinSkinForm* sf = Skinned();
    ASSERT_NE(sf, nullptr);
    const gdi::Rect start = WindowRect();
    // Dragging the caption moves the window.
    win::InjectMouse(win::MouseAction::LeftDown, Screen(150, 15));
    win::InjectMouse(win::MouseAction::Move, Screen(200, 45));
    win::InjectMouse(win::MouseAction::LeftUp, Screen(200, 45));
    win::PumpPending();
    EXPECT_EQ(WindowRect(), start.offset(50, 30));

    // Dragging the skinned right border sizes it; the shape follows the new size.
    const int builds = sf->region_builds;
    const gdi::Rect moved = WindowRect();
    win::InjectMouse(win::MouseAction::LeftDown, Screen(moved.width() - 2, 100));
    win::InjectMouse(win::MouseAction::Move, Screen(moved.width() + 38, 100));
    win::InjectMouse(win::MouseAction::LeftUp, Screen(moved.width() + 38, 100));
    win::PumpPending();
    EXPECT_EQ(WindowRect().width(), moved.width() + 40);
    EXPECT_EQ(WindowRect().height(), moved.height());
    EXPECT_EQ(ClientRect().width(), moved.width() + 40 - 8);
    EXPECT_EQ(sf->region_builds, builds + 1);

    // A double click on the caption maximizes, another restores.
    const gdi::Rect normal = WindowRect();
    win::InjectMouse(win::MouseAction::LeftDown, Screen(150, 15));
    win::InjectMouse(win::MouseAction::LeftUp, Screen(150, 15));
    win::InjectMouse(win::MouseAction::LeftDown, Screen(150, 15));
    win::InjectMouse(win::MouseAction::LeftUp, Screen(150, 15));
    win::PumpPending();
    EXPECT_TRUE(win::IsZoomed(form->Handle()));
    EXPECT_EQ(sf->Windowstate, swsMax);
    win::InjectMouse(win::MouseAction::LeftDown, Screen(150, 15));
    win::InjectMouse(win::MouseAction::LeftUp, Screen(150, 15));
    win::InjectMouse(win::MouseAction::LeftDown, Screen(150, 15));
    win::InjectMouse(win::MouseAction::LeftUp, Screen(150, 15));
    win::PumpPending();
    EXPECT_FALSE(win::IsZoomed(form->Handle()));
    EXPECT_EQ(WindowRect(), normal);

    // Alt+Space opens the window menu, skinned; its Minimize minimizes.
    bool skinned_menu = false;
    const win::UINT_PTR watch =
        win::SetTimer(nullptr, 0, 20, [&](win::HWND, win::UINT, win::UINT_PTR, win::DWORD) {
            for (win::HWND m : win::OpenMenuWindows())
                skinned_menu = skinned_menu || win::SendMessage(m, CN_SkinQuery, 0, 0) == 1;
        });
    auto r =
        Run("key Alt+Space\nwait 50\nexpect-menu Restore Move Size Minimize Maximize - Close\n"
            "menu Minimize\nwait 50\n");
    win::KillTimer(nullptr, watch);
    win::PumpPending();
    EXPECT_EQ(r.exit_code, 0) << r.report;
    EXPECT_TRUE(skinned_menu);
    EXPECT_TRUE(win::IsIconic(form->Handle()));
    EXPECT_EQ(sf->Windowstate, swsMin);

    // A double click on the icon: the first click opens the window menu, the second closes
    // the window.
    win::SendMessage(form->Handle(), win::WM_SYSCOMMAND, win::SC_RESTORE, 0);
    win::PumpPending();
    int closes = 0;
    form->OnClose = [&](forms::TObject*, forms::TCloseAction& action) {
        ++closes;
        action = forms::TCloseAction::caNone;
    };
    for (int i = 0; i < 2; ++i) {
        win::InjectMouse(win::MouseAction::LeftDown, Screen(210, 14));
        win::InjectMouse(win::MouseAction::LeftUp, Screen(210, 14));
    }
    win::PumpPending();
    EXPECT_EQ(closes, 1);
}

TEST_F(FrameSkinTest, MinimizedWindowPaintsOnlyItsCaptionBar) {
    ShowSkinned();
    TWinSkinForm* sf = Skinned();
    ASSERT_NE(sf, nullptr);
    const gdi::Rect wr = WindowRect();
    gdi::Bitmap target(wr.width(), wr.height());
    gdi::DC dc(target);
    dc.fill_rect({0, 0, wr.width(), wr.height()}, gdi::rgb(1, 1, 1));
    sf->Windowstate = swsMin;
    sf->PaintFrame(dc);
    EXPECT_EQ(target.color_at(10, 20), kTopOn);
    EXPECT_EQ(target.color_at(1, 100), gdi::rgb(1, 1, 1));
    EXPECT_EQ(target.color_at(100, wr.height() - 2), gdi::rgb(1, 1, 1));
    sf->Windowstate = swsNormal;
}

TEST(FrameSkinCodes, VisibilityTableAndActions) {
    TSysBtnConditions c;
    c.icons = {sbisystem, sbiMin};
    int asked = 0;
    const auto no = [&] { return ++asked, false; };
    EXPECT_TRUE(SysBtnCodeHolds(2, false, c, no));
    EXPECT_FALSE(SysBtnCodeHolds(1, false, c, no));
    EXPECT_TRUE(SysBtnCodeHolds(6, false, c, no));
    EXPECT_TRUE(SysBtnCodeHolds(7, false, c, no)) << "no maximize box";
    EXPECT_FALSE(SysBtnCodeHolds(9, false, c, no));
    EXPECT_TRUE(SysBtnCodeHolds(500, false, c, no));
    EXPECT_FALSE(SysBtnCodeHolds(2001, false, c, no));
    EXPECT_FALSE(SysBtnCodeHolds(-3, false, c, no));
    EXPECT_FALSE(SysBtnCodeHolds(1000, false, c, no));
    EXPECT_TRUE(SysBtnCodeHolds(1000, true, c, no)) << "the second column never asks";
    EXPECT_EQ(asked, 1);
    c.icons = {sbiHelp};
    EXPECT_FALSE(SysBtnCodeHolds(6, true, c, no));
    EXPECT_TRUE(SysBtnCodeHolds(10, false, c, no));
    // Actions: close needs the system menu, maximize its box, the icon no dialog border.
    EXPECT_FALSE(SysBtnShown(0, 0, 0, c, no).visible);
    EXPECT_FALSE(SysBtnShown(0, 0, 1, c, no).enabled);
    c.icons = {sbisystem, sbiMax};
    EXPECT_TRUE(SysBtnShown(0, 0, 1, c, no).enabled);
    EXPECT_FALSE(SysBtnShown(0, 0, 2, c, no).enabled);
    c.dialog = true;
    EXPECT_FALSE(SysBtnShown(0, 0, 3, c, no).visible);
    EXPECT_TRUE(SysBtnCodeHolds(200, false, c, no));
    c.messagebox = true;
    EXPECT_FALSE(SysBtnCodeHolds(200, false, c, no));
}

TEST_F(FrameSkinTest, BadBorderImagesAndButtonsOutsideTheCaptionNeitherCrashNorSpill) {
    // No border images: no frame at all, the client area is the window.
    ASSERT_TRUE(data->LoadFromBytes(make_skin("[Personality]\nTop=\nLeft=none.bmp\n", {})));
    ShowSkinned();
    TWinSkinForm* sf = Skinned();
    ASSERT_NE(sf, nullptr);
    EXPECT_EQ(sf->bw, TFrameWidths{});
    EXPECT_EQ(ClientRect().width(), WindowRect().width());
    EXPECT_EQ(ClientRect().height(), WindowRect().height());
    win::UpdateAllWindows();

    // Borders far larger than the window, a title button far below the caption.
    const gdi::Bitmap huge = solid_states(900, 700, {kTopOn});
    ASSERT_TRUE(data->LoadFromBytes(make_skin(
        "[Personality]\nLeft=h.bmp\nRight=h.bmp\nTop=h.bmp\nBottom=h.bmp\nTopTrans=1\n"
        "[Button0]\nAction=77\nAlign=0\nXcoord=10\nYcoord=2000\nframe=4\nButtonImage=btn.bmp\n",
        {{"h.bmp", huge}, {"btn.bmp", solid_states(21, 21, kButtonStates)}})));
    // Until the change reaches the window (a quarter second later) its frame still paints.
    win::SendMessage(form->Handle(), CN_RepaintFrame, 0, 0);
    data->UpdateSkin();
    const gdi::Rect client = ClientRect();
    win::RunFor(300);
    win::PumpPending();
    sf = Skinned();
    ASSERT_NE(sf, nullptr);
    EXPECT_EQ(sf->bw.Top, 700);
    EXPECT_EQ(ClientRect(), client) << "the new borders go around the same client area";
    // Made smaller than its borders: no client area, and nothing drawn beside the window.
    win::SetWindowPos(form->Handle(), nullptr, 0, 0, 300, 200, win::SWP_NOMOVE | win::SWP_NOZORDER);
    win::UpdateAllWindows();
    EXPECT_TRUE(ClientRect().empty());
    const gdi::Rect wr = WindowRect();
    const gdi::Bitmap screen = win::ComposeScreen();
    EXPECT_NE(screen.color_at(wr.right + 5, wr.top + 5), kTopOn) << "nothing beside the window";
    EXPECT_NE(screen.color_at(wr.left + 5, wr.bottom + 5), kTopOn);
    EXPECT_EQ(sf->SysBtnAt({15, 2005}), nullptr);

    // Sized to nothing and back.
    win::SetWindowPos(form->Handle(), nullptr, 0, 0, 0, 0, win::SWP_NOMOVE | win::SWP_NOZORDER);
    win::UpdateAllWindows();
    win::SetWindowPos(form->Handle(), nullptr, 0, 0, 200, 150, win::SWP_NOMOVE | win::SWP_NOZORDER);
    win::UpdateAllWindows();
    EXPECT_TRUE(win::IsWindow(form->Handle()));
}

TEST_F(FrameSkinTest, MessageBoxFrameIsWidenedForItsCaption) {
    ShowSkinned();
    int width = 0, caption_needed = 0;
    const std::string caption(60, 'W');
    data->OnAfterSkinForm = [&](forms::TObject*, win::HWND h, const std::string& cls) {
        if (cls != "#32770")
            return;
        width = win::GetWindowRect(h).width();
        gdi::Bitmap probe(1, 1);
        gdi::DC dc(probe);
        dc.select_font(win::GetCaptionFont());
        caption_needed = dc.get_text_extent(caption + " ").cx + 28 + 100;
    };
    win::SetIdleScript([&] {
        if (!width)
            return false;
        win::InjectKey(win::VK_ESCAPE, true);
        win::InjectKey(win::VK_ESCAPE, false);
        return true;
    });
    forms::MessageBox(form->Handle(), "short", caption.c_str(), forms::MB_OK);
    win::SetIdleScript(nullptr);
    ASSERT_GT(width, 0);
    EXPECT_GE(width, caption_needed);
}

// Runs `run` when the window is activated.
struct OnActivated {
    std::function<void()> run;
    static win::LRESULT Proc(win::HWND h, win::UINT msg, win::WPARAM wp, win::LPARAM lp,
                             win::UINT_PTR, win::DWORD_PTR ref) {
        auto* self = reinterpret_cast<OnActivated*>(ref);
        if (msg == win::WM_ACTIVATE && win::LOWORD(wp) != 0 && self->run)
            self->run();
        return win::DefSubclassProc(h, msg, wp, lp);
    }
};

TEST_F(FrameSkinTest, PressOnAnInactiveWindowsTitleButtonSurvivesAnActivationThatRebuildsOrFrees) {
    ShowSkinned();
    forms::TForm other(forms::Application);
    other.SetBounds(600, 500, 100, 100);
    other.Show();
    win::PumpPending();
    ASSERT_NE(Skinned(), nullptr);
    ASSERT_FALSE(Skinned()->FWindowActive);
    const int w = WindowRect().width();
    const gdi::Point custom = Screen(w - 50 + 10, 14);

    // The activation rebuilds the title buttons (a new icon or skin): the press lands on the
    // new button under the mouse, and its release still does the button's action.
    AppSide app;
    win::SetWindowSubclass(form->Handle(), &AppSide::Proc, 7,
                           reinterpret_cast<win::DWORD_PTR>(&app));
    OnActivated activated;
    int rebuilds = 0;
    activated.run = [&] {
        if (TWinSkinForm* sf = Skinned()) {
            sf->InitSkinData();
            ++rebuilds;
        }
    };
    win::SetWindowSubclass(form->Handle(), &OnActivated::Proc, 8,
                           reinterpret_cast<win::DWORD_PTR>(&activated));
    const auto press = [&] {
        win::SendMessage(form->Handle(), win::WM_NCLBUTTONDOWN,
                         static_cast<win::WPARAM>(win::HTCAPTION),
                         win::MAKELPARAM(custom.x, custom.y));
        win::PumpPending();
    };
    press();
    EXPECT_EQ(rebuilds, 1);
    ASSERT_NE(Skinned(), nullptr);
    ASSERT_NE(Skinned()->ActiveBtn, nullptr);
    EXPECT_EQ(Skinned()->ActiveBtn->state, 2) << "the rebuilt button is the one pressed";
    win::InjectMouse(win::MouseAction::LeftUp, custom);
    win::PumpPending();
    EXPECT_EQ(app.actions, std::vector<win::WPARAM>{77u});
    // Rebuilt while active (the press itself activates the window): the new buttons are laid
    // out at once, so the press is not taken for a caption drag.
    Skinned()->InitSkinData();
    win::InjectMouse(win::MouseAction::LeftDown, custom);
    win::InjectMouse(win::MouseAction::LeftUp, custom);
    win::PumpPending();
    EXPECT_EQ(app.actions.size(), 2u);

    // The activation releases the window's skinning: the press does nothing more.
    other.Show();
    win::SetActiveWindow(other.Handle());
    win::PumpPending();
    ASSERT_FALSE(Skinned()->FWindowActive);
    activated.run = [&] {
        if (TWinSkinForm* sf = Skinned())
            TSkinManage::Instance()->ReleaseForm(sf);
    };
    press();
    EXPECT_EQ(Skinned(), nullptr);
    EXPECT_TRUE(win::IsWindow(form->Handle()));
    EXPECT_EQ(app.actions.size(), 2u);
    win::RemoveWindowSubclass(form->Handle(), &OnActivated::Proc, 8);
    win::RemoveWindowSubclass(form->Handle(), &AppSide::Proc, 7);
}

TEST_F(FrameSkinTest, SkinningReleasedWhileTheWindowMenuIsOpenIsNotTouchedAfterward) {
    ShowSkinned();
    ASSERT_NE(Skinned(), nullptr);
    bool released = false;
    win::SetIdleScript([&] {
        if (released || win::OpenMenuWindows().empty())
            return false;
        released = true;
        if (TWinSkinForm* sf = Skinned())
            TSkinManage::Instance()->ReleaseForm(sf);
        win::EndMenu();
        return true;
    });
    win::SendMessage(form->Handle(), win::WM_SYSCOMMAND, win::SC_KEYMENU, ' ');
    win::SetIdleScript(nullptr);
    win::PumpPending();
    EXPECT_TRUE(released);
    EXPECT_EQ(Skinned(), nullptr);
    EXPECT_TRUE(win::IsWindow(form->Handle()));
}

TEST_F(FrameSkinTest, MaximizedOrMinimizedWindowGoesBackToTheSameClientAreaWithEitherFrame) {
    form->HandleNeeded();
    const gdi::Rect outer = WindowRect();
    const gdi::Rect client = ClientRect();
    const auto command = [&](win::WPARAM cmd) {
        win::SendMessage(form->Handle(), win::WM_SYSCOMMAND, cmd, 0);
        win::PumpPending();
    };
    ShowSkinned();
    ASSERT_NE(Skinned(), nullptr);
    const gdi::Rect skinned = WindowRect();
    ASSERT_NE(skinned.height(), outer.height());
    for (const win::WPARAM state : {win::SC_MAXIMIZE, win::SC_MINIMIZE}) {
        SCOPED_TRACE(state);
        // Skinning switched off while maximized or minimized: restored, the window has the
        // system frame around the same client area.
        command(state);
        data->SetActive(false);
        win::RunFor(300);
        ASSERT_EQ(Skinned(), nullptr);
        command(win::SC_RESTORE);
        EXPECT_EQ(WindowRect(), outer);
        EXPECT_EQ(ClientRect(), client);
        // Switched on while so: measured in the normal state, and restored with the skin's
        // frame around the same client area.
        command(state);
        data->SetActive(true);
        win::RunFor(300);
        ASSERT_NE(Skinned(), nullptr);
        EXPECT_EQ(Skinned()->sys_nc,
                  (gdi::Size{outer.width() - client.width(), outer.height() - client.height()}));
        command(win::SC_RESTORE);
        EXPECT_EQ(WindowRect(), skinned);
        EXPECT_EQ(ClientRect(), client);
    }
}

}  // namespace
}  // namespace skin::test
