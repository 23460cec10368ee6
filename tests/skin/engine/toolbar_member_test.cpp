// The tool bar's skinning object: which bars get it, the state image each button shows, and
// the system look where the skin has nothing to paint a bar with.
#include <gtest/gtest.h>

#include <vector>

#include "forms/tool_bar.h"
#include "platform/win/metrics.h"
#include "platform/win/styles.h"
#include "platform/win/toolbar.h"
#include "platform/win/window.h"
#include "skin/engine/skin_toolbar.h"
#include "skin/skin_elements.h"
#include "tests/skin/engine/skin_engine_fixture.h"

namespace skin::test {
namespace {

TEST(SkinToolbarButton, StateIndexFollowsTheImagesStateCount) {
    EXPECT_EQ(ToolbarButtonStateIndex(5, true, false, false, false), 1);
    EXPECT_EQ(ToolbarButtonStateIndex(5, true, true, true, true), 2) << "pressed wins";
    EXPECT_EQ(ToolbarButtonStateIndex(5, false, true, true, true), 3) << "disabled wins all";
    EXPECT_EQ(ToolbarButtonStateIndex(5, true, false, false, true), 4);
    EXPECT_EQ(ToolbarButtonStateIndex(5, true, false, true, true), 5) << "down, under the mouse";
    EXPECT_EQ(ToolbarButtonStateIndex(3, true, false, true, false), 2)
        << "without a down image a down button looks pressed";
    EXPECT_EQ(ToolbarButtonStateIndex(3, true, false, false, true), 1);
    EXPECT_EQ(ToolbarButtonStateIndex(1, false, false, false, false), 1);
    EXPECT_EQ(ToolbarButtonStateIndex(0, true, true, false, false), 1);
}

// Five plain state images, 10 pixels wide each, no margins.
constexpr gdi::Color kStates[5] = {gdi::rgb(10, 0, 0), gdi::rgb(20, 0, 0), gdi::rgb(30, 0, 0),
                                   gdi::rgb(40, 0, 0), gdi::rgb(50, 0, 0)};

std::unique_ptr<TDataSkinObject> ButtonElement() {
    auto e = std::make_unique<TDataSkinObject>();
    e->IDName = "ToolBars";
    e->Map = gdi::Bitmap(50, 10);
    gdi::DC dc(e->Map);
    for (int i = 0; i < 5; ++i)
        dc.fill_rect({10 * i, 0, 10 * i + 10, 10}, kStates[i]);
    e->frame = 5;
    return e;
}

class SkinToolbarTest : public SkinUiTest {
  protected:
    forms::TToolBar* MakeBar() {
        auto* bar = Add<forms::TToolBar>("Bar", 0, 0, 0, 26);
        bar->AddButton("Open");
        bar->AddButton("Bold", forms::TToolButtonStyle::tbsCheck);
        bar->AddButton("Off").SetEnabled(false);
        return bar;
    }
    gdi::Color Corner(forms::TToolBar* bar, int i) {
        const gdi::Rect r = bar->ButtonRect(i);
        return Pixel(bar, r.left + 1, r.top + 1);
    }
};

TEST_F(SkinToolbarTest, ToolBarsAreSkinnedByClassMadeFlatAndLeftAloneWithoutTheirSwitch) {
    auto* bar = MakeBar();
    ShowSkinned();
    EXPECT_EQ(SkinClass(bar), "TSkinToolbar");
    EXPECT_TRUE(bar->Flat()) << "buttons at rest show the skin's bar";
    data->SkinControls.exclude(xcToolbar);
    auto* later = Add<forms::TToolBar>("Later", 0, 40, 200, 26);
    Skinned()->InitControls(form);
    EXPECT_EQ(SkinClass(later), "none");
    EXPECT_FALSE(later->Flat());
    // A tool bar window of a dialog box, by its class.
    data->SkinControls.include(xcToolbar);
    win::HWND dlg =
        win::CreateWindowEx(0, "#32770", "Tools", win::WS_POPUP | win::WS_CAPTION | win::WS_VISIBLE,
                            50, 50, 300, 120, nullptr, nullptr, nullptr, nullptr);
    win::HWND raw =
        win::CreateWindowEx(0, win::TOOLBARCLASSNAME, "", win::WS_CHILD | win::WS_VISIBLE, 0, 0, 0,
                            0, dlg, nullptr, nullptr, nullptr);
    win::SetActiveWindow(dlg);
    win::PumpPending();
    TWinSkinForm* sf = TSkinManage::Instance()->FindForm(dlg);
    ASSERT_NE(sf, nullptr);
    ASSERT_NE(sf->SkinOfWindow(raw), nullptr);
    EXPECT_EQ(sf->SkinOfWindow(raw)->ClassName(), "TSkinToolbar");
    win::DestroyWindow(dlg);
    win::PumpPending();
}

TEST_F(SkinToolbarTest, EachButtonShowsTheStateImageOfWhatTheMouseAndItsStateSay) {
    data->Toolbarbtn = ButtonElement();
    auto* bar = MakeBar();
    ShowSkinned();
    ASSERT_EQ(SkinClass(bar), "TSkinToolbar");
    const gdi::Color rest = Corner(bar, 0);
    EXPECT_NE(rest, kStates[0]) << "a flat bar's button at rest shows the bar";
    EXPECT_EQ(Corner(bar, 2), kStates[2]) << "disabled";
    win::HWND h = bar->Handle();
    const gdi::Rect open = bar->ButtonRect(0);
    const win::LPARAM at_open = win::MAKELPARAM(open.left + 5, open.top + 5);
    win::SendMessage(h, win::WM_MOUSEMOVE, 0, at_open);
    EXPECT_EQ(Corner(bar, 0), kStates[3]) << "under the mouse";
    win::SendMessage(h, win::WM_LBUTTONDOWN, win::MK_LBUTTON, at_open);
    EXPECT_EQ(Corner(bar, 0), kStates[1]) << "pressed";
    win::SendMessage(h, win::WM_LBUTTONUP, 0, at_open);
    win::SendMessage(h, win::WM_MOUSELEAVE, 0, 0);
    EXPECT_EQ(Corner(bar, 0), rest);
    bar->Buttons(1).SetDown(true);
    EXPECT_EQ(Corner(bar, 1), kStates[4]) << "down";
    // On a raised bar a button at rest shows the first image.
    bar->SetFlat(false);
    EXPECT_EQ(Corner(bar, 0), kStates[0]);
}

TEST_F(SkinToolbarTest, WithoutItsElementsOrItsSkinTheBarHasTheSystemLook) {
    auto* bar = MakeBar();
    ShowSkinned();
    ASSERT_EQ(SkinClass(bar), "TSkinToolbar");
    const gdi::Color face = win::GetSysColor(win::COLOR_BTNFACE);
    // The bar's gradient, with the buttons in their plain look over it.
    const gdi::Color skinned = Pixel(bar, bar->Width() - 5, 2);
    EXPECT_NE(skinned, face);
    win::SendMessage(bar->Handle(), CN_SkinEnable, 0, 0);
    EXPECT_EQ(Pixel(bar, bar->Width() - 5, 2), face);
    win::SendMessage(bar->Handle(), CN_SkinEnable, 1, 0);
    EXPECT_EQ(Pixel(bar, bar->Width() - 5, 2), skinned);
    // No bar background asked for, and no button image: nothing of the skin's to paint.
    data->Options.exclude(xoToolbarBK);
    bar->Invalidate();
    EXPECT_EQ(Pixel(bar, bar->Width() - 5, 2), face);
    data->Options.include(xoToolbarBK);
    data->Toolbar.reset();
    bar->Invalidate();
    EXPECT_EQ(Pixel(bar, bar->Width() - 5, 2), face);
    // A bar with no buttons, and one of no size, paint without failing.
    auto* empty = Add<forms::TToolBar>("Empty", 0, 60, 0, 0);
    data->Toolbarbtn = ButtonElement();
    Skinned()->InitControls(form);
    EXPECT_EQ(SkinClass(empty), "TSkinToolbar");
    empty->SetHeight(0);
    win::UpdateAllWindows();
}

TEST_F(SkinToolbarTest, TheApplicationsDrawingHandlersKeepTheirPartsFromTheSkin) {
    data->Toolbarbtn = ButtonElement();
    auto* bar = MakeBar();
    const gdi::Color blue = gdi::rgb(0, 0, 200);
    bar->OnCustomDraw = [&](forms::TToolBar*, gdi::DC& dc, const gdi::Rect& area, bool&) {
        dc.fill_rect(area, blue);
    };
    bar->OnCustomDrawButton = [&](forms::TToolBar*, forms::TToolButton* b, gdi::DC&, bool& draw) {
        draw = b->Index() != 2;
    };
    ShowSkinned();
    ASSERT_EQ(SkinClass(bar), "TSkinToolbar");
    EXPECT_EQ(Pixel(bar, bar->Width() - 5, 2), blue) << "the handler's background, not the skin's";
    EXPECT_EQ(Corner(bar, 2), blue) << "the disabled button is the handler's";
    bar->SetFlat(false);
    EXPECT_EQ(Corner(bar, 0), kStates[0]) << "the others are the skin's";
}

// The skin asks the button drawing handler for the same buttons as the bar without a skin:
// separators too (the handler may draw one its own way), hidden buttons not.
TEST_F(SkinToolbarTest, TheButtonDrawingHandlerIsAskedForSeparatorsAndNotForHiddenButtons) {
    data->Toolbarbtn = ButtonElement();
    auto* bar = MakeBar();
    bar->AddButton("", forms::TToolButtonStyle::tbsSeparator);
    bar->AddButton("Hidden");
    const gdi::Color blue = gdi::rgb(0, 0, 200);
    std::vector<int> asked;
    bar->OnCustomDrawButton = [&](forms::TToolBar*, forms::TToolButton* b, gdi::DC& dc,
                                  bool& draw) {
        asked.push_back(b->Index());
        if (b->Style() == forms::TToolButtonStyle::tbsSeparator) {
            dc.fill_rect(b->BoundsRect(), blue);
            draw = false;
        }
    };
    ShowSkinned();
    ASSERT_EQ(SkinClass(bar), "TSkinToolbar");
    win::SendMessage(bar->Handle(), win::TB_HIDEBUTTON, bar->Buttons(4).Command(), 1);
    asked.clear();
    bar->Invalidate();
    win::UpdateAllWindows();
    EXPECT_EQ(asked, (std::vector<int>{0, 1, 2, 3}));
    EXPECT_EQ(Corner(bar, 3), blue) << "the separator the handler drew";
}

// A button drawing handler that lets itself go after the first button: the skin draws the
// rest of the bar itself.
TEST_F(SkinToolbarTest, AButtonDrawingHandlerThatLetsItselfGoLeavesTheRestToTheSkin) {
    data->Toolbarbtn = ButtonElement();
    auto* bar = MakeBar();
    int calls = 0;
    bar->OnCustomDrawButton = [bar, &calls](forms::TToolBar*, forms::TToolButton*, gdi::DC&,
                                            bool&) {
        ++calls;
        bar->OnCustomDrawButton = nullptr;
    };
    ShowSkinned();
    ASSERT_EQ(SkinClass(bar), "TSkinToolbar");
    EXPECT_EQ(calls, 1);
    EXPECT_EQ(Corner(bar, 2), kStates[2]) << "the disabled button, drawn by the skin";
}

// A bar of thousands of buttons, most of them hidden through the window: the shown ones after
// them take the bar's left in their own state images, and the hidden ones leave nothing.
TEST_F(SkinToolbarTest, ShownButtonsAfterThousandsOfHiddenOnesPaintInTheirPlaces) {
    data->Toolbarbtn = ButtonElement();
    auto* bar = Add<forms::TToolBar>("Bar", 0, 0, 0, 26);
    for (int i = 0; i < win::kToolbarMaxButtons - 2; ++i)
        bar->AddButton("Hidden");
    bar->AddButton("Shown");
    bar->AddButton("Off").SetEnabled(false);
    ShowSkinned();
    ASSERT_EQ(SkinClass(bar), "TSkinToolbar");
    bar->SetFlat(false);  // buttons at rest show their first image
    for (int i = 0; i < win::kToolbarMaxButtons - 2; ++i)
        win::SendMessage(bar->Handle(), win::TB_HIDEBUTTON, bar->Buttons(i).Command(), 1);
    win::UpdateAllWindows();
    const int shown = win::kToolbarMaxButtons - 2;
    EXPECT_EQ(bar->ButtonRect(shown).left, 0);
    EXPECT_EQ(Corner(bar, shown), kStates[0]);
    EXPECT_EQ(Corner(bar, shown + 1), kStates[2]) << "disabled";
    const gdi::Rect off = bar->ButtonRect(shown + 1);
    EXPECT_NE(Pixel(bar, off.right + 5, off.top + 1), kStates[0]) << "nothing past the shown";
}

}  // namespace
}  // namespace skin::test
