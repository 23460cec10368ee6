// The skin component and the manager taking a form over, and the skinned controls' painting
// and input.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>

#include "forms/button.h"
#include "forms/combo_box.h"
#include "forms/edit.h"
#include "forms/panel.h"
#include "platform/gdi/bitmap.h"
#include "platform/gdi/dc.h"
#include "platform/gdi/png.h"
#include "platform/win/menu.h"
#include "platform/win/test_driver.h"
#include "skin/engine/skin_button.h"
#include "skin/engine/skin_check_box.h"
#include "skin/engine/skin_combo_box.h"
#include "skin/engine/skin_scroll_bar.h"
#include "skin/skin_draw.h"
#include "tests/skin/engine/skin_engine_fixture.h"
#include "tests/skin/skin_test_package.h"

namespace skin::test {
namespace {

using forms::TButton;
using forms::TCheckBox;

TEST_F(SkinUiTest, FirstActivationTakesTheFormOverAndActiveSwitchesTheSkinOffAndOn) {
    auto* b = Add<TButton>("B", 10, 10, 80, 25);
    const forms::TColor plain = form->Color();
    const std::string method = b->WindowProc.target_type().name();
    EXPECT_EQ(Skinned(), nullptr);
    ShowSkinned();
    ASSERT_NE(Skinned(), nullptr);
    EXPECT_EQ(gdi::Color(form->Color()), data->Color(csButtonFace));
    EXPECT_EQ(SkinClass(b), "TSkinButton");

    data->SetActive(false);
    win::RunFor(300);
    EXPECT_EQ(Skinned(), nullptr);
    EXPECT_EQ(form->Color(), plain);
    EXPECT_EQ(b->WindowProc.target_type().name(), method);  // the control's own method again

    // Off and on again within the quarter second: only the last request is carried out.
    data->SetActive(false);
    win::RunFor(100);
    data->SetActive(true);
    EXPECT_EQ(TSkinManage::Instance()->action, kActionApply);
    win::RunFor(300);
    win::PumpPending();
    ASSERT_NE(Skinned(), nullptr);
    EXPECT_EQ(SkinClass(b), "TSkinButton");
}

TEST_F(SkinUiTest, ManagerWindowReskinsTheWindowItIsAskedFor) {
    auto* b = Add<TButton>("B", 10, 10, 80, 25);
    int skinned = 0;
    data->OnAfterSkinForm = [&](forms::TObject*, win::HWND, const std::string&) { ++skinned; };
    ShowSkinned();
    ASSERT_EQ(skinned, 1);
    TSkinManage* m = TSkinManage::Instance();
    const win::HWND mw = m->Window();
    ASSERT_TRUE(win::IsWindow(mw));
    EXPECT_FALSE(win::IsWindowVisible(mw));
    EXPECT_EQ(win::SendMessage(mw, CN_SkinQuery, 0, 0), 1) << "never skinned itself";
    EXPECT_EQ(m->FindForm(mw), nullptr);

    // Posted from inside the window's own handling: carried out once that handling is over.
    win::PostMessage(mw, CN_ManagerAction, 7, win::HandleToLParam(form->Handle()));
    win::PumpPending();
    EXPECT_EQ(skinned, 2);
    ASSERT_NE(Skinned(), nullptr);
    EXPECT_EQ(SkinClass(b), "TSkinButton");
    EXPECT_EQ(m->lpara, form->Handle());
    EXPECT_EQ(Skinned()->Controllist.size(), 1u) << "one skinning object, not two";

    // Other requests, windows that are gone and values that are no window do nothing.
    win::SendMessage(mw, CN_ManagerAction, 3, win::HandleToLParam(form->Handle()));
    win::SendMessage(mw, CN_ManagerAction, 7, 0);
    win::SendMessage(mw, CN_ManagerAction, 7, 0x7fff1234);
    auto* other = new forms::TForm(forms::Application);
    other->SetBounds(0, 0, 100, 100);
    const win::HWND gone = other->Handle();
    delete other;
    win::SendMessage(mw, CN_ManagerAction, 7, win::HandleToLParam(gone));
    EXPECT_EQ(skinned, 2);
    EXPECT_EQ(m->Flist.size(), 1u);
}

TEST_F(SkinUiTest, FormTaggedNinetyNineIsNeverSkinnedWhateverDisableTagSays) {
    data->DisableTag = 5;
    form->SetTag(99);
    Add<TButton>("B", 10, 10, 80, 25);
    ShowSkinned();
    EXPECT_EQ(Skinned(), nullptr);
    EXPECT_EQ(form->Color(), forms::clBtnFace);
}

TEST_F(SkinUiTest, DisabledDefaultButtonShowsTheDisabledImage) {
    auto* b = Add<TButton>("B", 10, 10, 80, 25);
    b->SetDefault(true);
    b->SetEnabled(false);
    ShowSkinned();
    auto* sb = dynamic_cast<TSkinButton*>(SkinOf(b));
    ASSERT_NE(sb, nullptr);
    const gdi::Color top = Pixel(b, 40, 1);
    EXPECT_EQ(sb->GetState(), 3);
    const TDataSkinButton& e = *data->Button;
    const gdi::Bitmap want = GetHMap(80, 25, e.Map, false, e.Tile != 0, 5, 3, e.r);
    EXPECT_EQ(top, want.color_at(40, 1));
    const gdi::Bitmap normal = GetHMap(80, 25, e.Map, false, e.Tile != 0, 5, 5, e.r);
    EXPECT_NE(want.color_at(40, 1), normal.color_at(40, 1)) << "the states must differ here";
}

TEST_F(SkinUiTest, RedrawOffHidesAButtonOnlyUntilRedrawOnOrTheTimeout) {
    auto* b = Add<TButton>("B", 10, 10, 80, 25);
    ShowSkinned();
    const win::HWND h = b->Handle();
    win::SendMessage(h, win::WM_SETREDRAW, 0, 0);
    EXPECT_FALSE(win::IsWindowVisible(h));
    win::SendMessage(h, win::WM_SETREDRAW, 1, 0);
    EXPECT_TRUE(win::IsWindowVisible(h));
    // Off without on: the button shows again after 100 ms, not never.
    win::SendMessage(h, win::WM_SETREDRAW, 0, 0);
    win::RunFor(50);
    EXPECT_FALSE(win::IsWindowVisible(h));
    win::RunFor(100);
    EXPECT_TRUE(win::IsWindowVisible(h));
    // Off, then the skin goes away before the timeout: the plain button is not left hidden.
    win::SendMessage(h, win::WM_SETREDRAW, 0, 0);
    TSkinManage::Instance()->ReleaseAll();
    EXPECT_EQ(Skinned(), nullptr);
    EXPECT_TRUE(win::IsWindowVisible(h));
    // A button hidden by its owner stays hidden through off and on.
    TSkinManage::Instance()->AddForm(form->Handle());
    win::PumpPending();
    ASSERT_NE(SkinOf(b), nullptr);
    b->SetVisible(false);
    win::SendMessage(h, win::WM_SETREDRAW, 0, 0);
    win::SendMessage(h, win::WM_SETREDRAW, 1, 0);
    EXPECT_FALSE(win::IsWindowVisible(h));
}

// Rows of the button that hold dark text pixels.
int TextRows(const gdi::Bitmap& screen, const gdi::Rect& r) {
    int rows = 0;
    for (int y = r.top + 3; y < r.bottom - 3; ++y) {
        for (int x = r.left + 3; x < r.right - 3; ++x) {
            const gdi::Color c = screen.color_at(x, y);
            if (gdi::red_of(c) < 80 && gdi::green_of(c) < 80 && gdi::blue_of(c) < 80) {
                ++rows;
                break;
            }
        }
    }
    return rows;
}

TEST_F(SkinUiTest, DoubleBarInACaptionBreaksTheLine) {
    EXPECT_EQ(TSkinButton::ButtonText("on||off"), "on\noff");
    EXPECT_EQ(TSkinButton::ButtonText("a|b|||c"), "a|b\n|c");
    Add<forms::TEdit>("Focus", 210, 10, 80, 24);  // keeps the focus rectangle off the buttons
    auto* one = Add<TButton>("One", 10, 10, 90, 60);
    one->SetCaption("ONE");
    auto* two = Add<TButton>("Two", 110, 10, 90, 60);
    two->SetCaption("ONE||TWO");
    ShowSkinned();
    win::UpdateAllWindows();
    const gdi::Bitmap screen = win::ComposeScreen();
    auto rect = [](forms::TControl* c) {
        gdi::Point p = c->ClientToScreen({0, 0});
        return gdi::Rect::from_xywh(p.x, p.y, c->Width(), c->Height());
    };
    if (const char* out = std::getenv("SKIN_TEST_PNG"))
        gdi::write_png_file(out, screen);
    const int single = TextRows(screen, rect(one));
    EXPECT_GT(single, 5);
    EXPECT_GT(TextRows(screen, rect(two)), single * 3 / 2);
}

TEST_F(SkinUiTest, CheckBoxStatesFollowTheImageCount) {
    EXPECT_EQ(TSkinCheckBox::StateIndex(4, true, 12), 9);
    EXPECT_EQ(TSkinCheckBox::StateIndex(4, false, 12), 12);
    EXPECT_EQ(TSkinCheckBox::StateIndex(2, true, 12), 5);
    EXPECT_EQ(TSkinCheckBox::StateIndex(2, false, 12), 8);
    EXPECT_EQ(TSkinCheckBox::StateIndex(1, false, 12), 4);
    EXPECT_EQ(TSkinCheckBox::StateIndex(2, false, 4), 4);
    EXPECT_EQ(TSkinRadioButton::StateIndex(true, false, 8), 8);
    EXPECT_EQ(TSkinRadioButton::StateIndex(false, false, 4), 3);
    auto* c = Add<TCheckBox>("C", 10, 10, 120, 20);
    c->SetAllowGrayed(true);
    c->SetState(forms::TCheckBoxState::cbGrayed);
    ShowSkinned();
    auto* sc = dynamic_cast<TSkinCheckBox*>(SkinOf(c));
    ASSERT_NE(sc, nullptr);
    EXPECT_EQ(sc->CheckState(), 4);
    c->SetChecked(true);
    EXPECT_EQ(sc->CheckState(), 2);
}

TEST_F(SkinUiTest, TransparentTagDrawsTheParentUnderMagenta) {
    // A skin whose button images are all magenta: only what lies under them shows.
    const gdi::Color m = gdi::kMagenta;
    ASSERT_TRUE(data->LoadFromBytes(make_skin("[Buttons]\nBitmap=b.bmp\nTrans=1\n",
                                              {{"b.bmp", solid_states(8, 8, {m, m, m, m, m})}})));
    data->Options.exclude(xoTransparent);
    auto* panel = Add<forms::TPanel>("P", 10, 10, 300, 100);
    panel->SetColor(forms::clRed);
    panel->SetTag(data->DisableTag);  // stays red
    auto* see_through = Add<TButton>("T", 10, 10, 80, 25, panel);
    see_through->SetTag(kTransparentTag);
    see_through->SetCaption("");
    auto* solid = Add<TButton>("S", 100, 10, 80, 25, panel);
    solid->SetCaption("");
    ShowSkinned();
    EXPECT_EQ(Pixel(see_through, 40, 12), gdi::rgb(255, 0, 0));
    EXPECT_EQ(Pixel(solid, 40, 12), data->Color(csButtonFace));
}

TEST_F(SkinUiTest, SkinEnableMessageSwitchesBetweenSkinAndSystemLook) {
    auto* b = Add<TButton>("B", 10, 10, 80, 25);
    form->Show();
    const gdi::Color plain = Pixel(b, 40, 1);
    win::PumpPending();
    const gdi::Color skinned = Pixel(b, 40, 1);
    ASSERT_NE(plain, skinned);
    win::SendMessage(b->Handle(), CN_SkinEnable, 0, 0);
    EXPECT_FALSE(SkinOf(b)->Skinned());
    EXPECT_EQ(Pixel(b, 40, 1), plain);
    EXPECT_EQ(win::SendMessage(b->Handle(), CN_SkinQuery, 0, 0), 1) << "still never skinned twice";
    win::SendMessage(b->Handle(), CN_SkinEnable, 1, 0);
    EXPECT_TRUE(SkinOf(b)->Skinned());
    EXPECT_EQ(Pixel(b, 40, 1), skinned);
}

TEST_F(SkinUiTest, MissingSkinFileChangesNothing) {
    ShowSkinned();
    const int width = data->Button->Map.width();
    data->SetSkinFile("/nonexistent/velmor/skin.skn");
    EXPECT_FALSE(data->Empty);
    EXPECT_EQ(data->Button->Map.width(), width);
    EXPECT_FALSE(TSkinManage::Instance()->TimerEnabled());
    EXPECT_NE(Skinned(), nullptr);
}

TEST_F(SkinUiTest, OperatorInputWorksThroughSkinnedControls) {
    auto* b = Add<TButton>("B", 10, 10, 80, 25);
    auto* c = Add<TCheckBox>("C", 10, 40, 120, 20);
    auto* e = Add<forms::TEdit>("E", 10, 70, 120, 24);
    auto* combo = Add<forms::TComboBox>("L", 10, 100, 120, 24);
    combo->SetStyle(forms::TComboBoxStyle::csDropDownList);
    for (const char* item : {"one", "two", "three"})
        combo->Items().Add(item);
    int clicks = 0;
    b->OnClick = [&](forms::TObject*) { ++clicks; };
    ShowSkinned();
    ASSERT_EQ(SkinClass(c), "TSkinCheckBox");
    ASSERT_EQ(SkinClass(e), "TSkinEdit");
    ASSERT_EQ(SkinClass(combo), "TSkinComBox");
    auto r =
        Run("click B\nclick B\nclick C\nexpect C.checked true\ntype E 123\n"
            "expect E 123\nselect L two\nexpect L two\nfocus B\nkey Space\n");
    EXPECT_EQ(r.exit_code, 0) << r.report;
    EXPECT_EQ(clicks, 3);
}

TEST_F(SkinUiTest, DroppedDownListGetsASkinnedScrollBarThatStillScrolls) {
    auto* combo = Add<forms::TComboBox>("L", 10, 10, 120, 24);
    combo->SetStyle(forms::TComboBoxStyle::csDropDownList);
    for (int i = 0; i < 17; ++i)
        combo->Items().Add("CH" + std::to_string(i));
    ShowSkinned();
    auto* sc = dynamic_cast<TSkinComBox*>(SkinOf(combo));
    ASSERT_NE(sc, nullptr);
    auto r = Run("focus L\nkey F4\n");
    ASSERT_EQ(r.exit_code, 0) << r.report;
    win::UpdateAllWindows();
    const win::HWND list = combo->ListWindow();
    ASSERT_TRUE(list);
    ASSERT_NE(sc->ListScrollBar(), nullptr);
    EXPECT_EQ(sc->ListScrollBar()->Window(), list);

    // The down arrow shows the skin's normal down arrow.
    const gdi::Rect wr = win::GetWindowRect(list);
    const gdi::Rect bar = TWScrollbar::BarRect(list, win::SB_VERT);
    win::SCROLLINFO si;
    si.fMask = win::SIF_ALL;
    ASSERT_TRUE(win::GetScrollInfo(list, win::SB_VERT, &si));
    const TScrollBarLayout l = TWScrollbar::Layout(bar, true, si);
    const TDataSkinObject& arrows = *data->SArrow;
    auto expected = [&](const gdi::Rect& r, int state, int x, int y) {
        return GetHMap(r.width(), r.height(), arrows.Map, false, arrows.Tile != 0, arrows.frame,
                       state, arrows.r)
            .color_at(x, y);
    };
    auto screen = [&](const gdi::Rect& r, int x, int y) {
        win::UpdateAllWindows();
        return win::ComposeScreen().color_at(wr.left + r.left + x, wr.top + r.top + y);
    };
    EXPECT_EQ(screen(l.arrow2, 8, 8), expected(l.arrow2, 5, 8, 8));
    EXPECT_EQ(screen(l.arrow2, 1, 1), expected(l.arrow2, 5, 1, 1));

    // Hover over the down arrow shows its hover image; a click scrolls the list a line.
    const gdi::Point down{wr.left + (l.arrow2.left + l.arrow2.right) / 2,
                          wr.top + (l.arrow2.top + l.arrow2.bottom) / 2};
    win::InjectMouse(win::MouseAction::Move, down);
    win::PumpPending();
    EXPECT_EQ(sc->ListScrollBar()->Hot(), TScrollPart::LineDown);
    EXPECT_EQ(screen(l.arrow2, 1, 1), expected(l.arrow2, 6, 1, 1));
    win::InjectClick(down);
    win::RunFor(20);
    ASSERT_TRUE(combo->DroppedDown());
    EXPECT_EQ(combo->TopIndex(), 1);
    EXPECT_EQ(sc->ListScrollBar()->Pressed(), TScrollPart::None);

    // Closed: the skinning of the list goes with it; the choice still works.
    r = Run("key Escape\nselect L CH12\nexpect L CH12\n");
    EXPECT_EQ(r.exit_code, 0) << r.report;
    EXPECT_FALSE(combo->DroppedDown());
    EXPECT_EQ(sc->ListScrollBar(), nullptr);
}

TEST_F(SkinUiTest, SkinWithoutScrollBarArrowsLeavesTheListsBarPlain) {
    data->SArrow.reset();
    auto* combo = Add<forms::TComboBox>("L", 10, 10, 120, 24);
    for (int i = 0; i < 17; ++i)
        combo->Items().Add("CH" + std::to_string(i));
    ShowSkinned();
    auto r = Run("focus L\nkey F4\n");
    ASSERT_EQ(r.exit_code, 0) << r.report;
    win::UpdateAllWindows();
    auto* sc = dynamic_cast<TSkinComBox*>(SkinOf(combo));
    ASSERT_NE(sc, nullptr);
    EXPECT_EQ(sc->ListScrollBar(), nullptr);
    // Nothing painted from the other scroll-bar pieces without the arrows either.
    gdi::Bitmap b(60, 17);
    gdi::DC dc(b);
    dc.fill_rect({0, 0, 60, 17}, gdi::rgb(1, 2, 3));
    win::SCROLLINFO si;
    si.nMax = 10;
    si.nPage = 3;
    TWScrollbar::Draw(dc, *data, {0, 0, 60, 17}, false, si, TScrollPart::None, TScrollPart::None);
    EXPECT_EQ(b.color_at(30, 8), gdi::rgb(1, 2, 3));
}

TEST_F(SkinUiTest, ScrollBarLayoutFollowsTheWindowSystemsAndSurvivesOddInfo) {
    win::SCROLLINFO si;
    si.nMin = 0;
    si.nMax = 16;
    si.nPage = 8;
    si.nPos = 9;
    // 17-pixel arrows; 100 - 34 = 66 pixels of track; the thumb 66 * 8 / 17 = 31 long, at
    // the end for the last position.
    TScrollBarLayout l = TWScrollbar::Layout({0, 0, 17, 100}, true, si);
    EXPECT_TRUE(l.enabled);
    EXPECT_EQ(l.arrow1, gdi::Rect(0, 0, 17, 17));
    EXPECT_EQ(l.arrow2, gdi::Rect(0, 83, 17, 100));
    EXPECT_EQ(l.thumb, gdi::Rect(0, 52, 17, 83));
    EXPECT_EQ(TWScrollbar::PartAt(l, true, {8, 40}), TScrollPart::PageUp);
    EXPECT_EQ(TWScrollbar::PartAt(l, true, {8, 60}), TScrollPart::Thumb);
    EXPECT_EQ(TWScrollbar::PartAt(l, true, {8, 90}), TScrollPart::LineDown);
    // A page as large as the range cannot scroll: no thumb, no track part.
    si.nPage = 17;
    l = TWScrollbar::Layout({0, 0, 17, 100}, true, si);
    EXPECT_FALSE(l.enabled);
    EXPECT_TRUE(l.thumb.empty());
    EXPECT_EQ(TWScrollbar::PartAt(l, true, {8, 50}), TScrollPart::None);
    // Extreme values and a bar shorter than its arrows.
    si = {};
    si.nMin = -2147483647;
    si.nMax = 2147483647;
    si.nPage = 0;
    si.nPos = 2147483647;
    l = TWScrollbar::Layout({0, 0, 17, 30}, true, si);
    EXPECT_EQ(l.arrow1.height(), 15);
    EXPECT_TRUE(l.track.empty());
    EXPECT_TRUE(TWScrollbar::Layout({}, false, si).arrow1.empty());
}

TEST_F(SkinUiTest, MessageBoxesAreSkinnedAndStillAnswer) {
    auto* b = Add<TButton>("B", 10, 10, 80, 25);
    int result = 0;
    std::vector<std::string> skinned_classes;
    int box_buttons = 0;
    data->OnAfterSkinForm = [&](forms::TObject*, win::HWND h, const std::string& cls) {
        skinned_classes.push_back(cls);
        if (cls == "#32770")
            for (const auto& sc : TSkinManage::Instance()->FindForm(h)->Controllist)
                box_buttons += sc->ClassName() == "TSkinButton";
    };
    b->OnClick = [&](forms::TObject*) {
        result = forms::MessageBox(form->Handle(), "text", "caption", forms::MB_OKCANCEL);
    };
    ShowSkinned();
    auto r = Run("click B\nwait 50\nexpect-box text\nanswer Cancel\nwait 50\n");
    EXPECT_EQ(r.exit_code, 0) << r.report;
    EXPECT_EQ(result, forms::IDCANCEL);
    ASSERT_EQ(skinned_classes.size(), 2u);
    EXPECT_EQ(skinned_classes[1], "#32770");
    EXPECT_EQ(box_buttons, 2);
}

TEST_F(SkinUiTest, SkinnedMenuPrintsItsItemsWhereItsPaintingShowsThem) {
    ShowSkinned();
    win::HMENU menu = win::CreatePopupMenu();
    win::AppendMenu(menu, win::MF_STRING, 1, "Cu&t");
    win::AppendMenu(menu, win::MF_SEPARATOR, 0, nullptr);
    win::AppendMenu(menu, win::MF_STRING, 2, "&Paste");
    gdi::Bitmap painted, printed;
    bool skinned = false;
    win::SetIdleScript([&] {
        const auto open = win::OpenMenuWindows();
        if (open.empty() || !painted.empty())
            return false;
        win::HWND m = open[0];
        skinned = win::SendMessage(m, 0x3523, 0, 0) == 1;
        win::UpdateAllWindows();
        painted = win::CaptureWindow(m);
        const gdi::Rect wr = win::GetWindowRect(m);
        printed = gdi::Bitmap(wr.width(), wr.height());
        {
            gdi::DC dc(printed);
            win::SendMessage(m, 0x0317, reinterpret_cast<win::WPARAM>(&dc),
                             win::PRF_NONCLIENT | win::PRF_CLIENT | win::PRF_ERASEBKGND);
        }
        win::InjectKey(win::VK_ESCAPE, true);
        win::InjectKey(win::VK_ESCAPE, false);
        return true;
    });
    win::TrackPopupMenu(menu, win::TPM_RETURNCMD, 60, 60, 0, form->Handle());
    win::SetIdleScript(nullptr);
    win::DestroyMenu(menu);
    EXPECT_TRUE(skinned) << "the menu window is skinned";
    ASSERT_FALSE(painted.empty());
    ASSERT_EQ(painted.width(), printed.width());
    // The skin's picture lies behind the printed items, so compare the items' ink alone.
    const auto ink = [](gdi::Color c) {
        return gdi::red_of(c) < 96 && gdi::green_of(c) < 96 && gdi::blue_of(c) < 96;
    };
    int inked = 0, differing = 0;
    for (int y = 3; y < painted.height() - 3; ++y)
        for (int x = 3; x < painted.width() - 3; ++x) {
            inked += ink(painted.pixel(x, y));
            differing += ink(painted.pixel(x, y)) != ink(printed.pixel(x, y));
        }
    EXPECT_GT(inked, 20);
    // Glyph edges blend with the picture behind them, so a few edge pixels may fall either way;
    // items printed out of place would differ in most of their ink.
    EXPECT_LT(differing * 5, inked) << "the printed items lie where the painted ones do";
}

TEST_F(SkinUiTest, SkinWithoutButtonOrCheckImagesLeavesTheSystemLookWorking) {
    ASSERT_TRUE(data->LoadFromBytes(make_skin("[Colours]\nButtonFace=200 210 220\n", {})));
    auto* b = Add<TButton>("B", 10, 10, 80, 25);
    auto* c = Add<TCheckBox>("C", 10, 40, 120, 20);
    int clicks = 0;
    b->OnClick = [&](forms::TObject*) { ++clicks; };
    form->Show();
    const gdi::Color plain_button = Pixel(b, 40, 1);
    const gdi::Color plain_check = Pixel(c, 3, 10);
    win::PumpPending();
    EXPECT_EQ(Pixel(b, 40, 1), plain_button);
    EXPECT_EQ(Pixel(c, 3, 10), plain_check);
    auto r = Run("click B\nclick C\nexpect C.checked true\n");
    EXPECT_EQ(r.exit_code, 0) << r.report;
    EXPECT_EQ(clicks, 1);
}

TEST_F(SkinUiTest, SkinFileGivenAtStartMissingOrDamagedLeavesTheProgramRunning) {
    const std::string damaged = ::testing::TempDir() + "velmor-damaged.skn";
    {
        std::ofstream out(damaged, std::ios::binary);
        out << "this is no skin package at all";
    }
    forms::TForm other(forms::Application);
    startup_skin_options().skin_file = "/nonexistent/velmor/skin.skn";
    TSkinData* missing = CreateMainFormSkin(&other, "Missing");
    EXPECT_FALSE(missing->Empty);  // the built-in skin stays
    EXPECT_TRUE(missing->Active());
    startup_skin_options().skin_file = damaged;
    TSkinData* broken = CreateMainFormSkin(&other, "Broken");
    EXPECT_TRUE(broken->Empty);  // the plain look
    EXPECT_FALSE(broken->Active());
    startup_skin_options() = {};
    std::remove(damaged.c_str());
}

}  // namespace
}  // namespace skin::test
