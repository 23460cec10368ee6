// The framework's tool bar: its buttons for the operator and for code, and the buttons its
// window's messages add, each keeping its own handler.
#include "ui_fixture.h"

#include "platform/win/message.h"
#include "platform/win/metrics.h"
#include "platform/win/painting.h"
#include "platform/win/window.h"

namespace forms {
namespace {

void ClickAt(TControl* c, gdi::Point p) {
    win::InjectClick(c->ClientToScreen(p));
    win::PumpPending();
}

gdi::Point Centre(const gdi::Rect& r) {
    return {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
}

TEST_F(UiTest, AToolBarsButtonsClickCheckAndGroupForTheOperator) {
    auto* bar = Add<TToolBar>("Bar", 0, 0, 0, 26);
    std::vector<std::string> clicked;
    auto record = [&](TObject* s) { clicked.push_back(static_cast<TToolButton*>(s)->Caption()); };
    TToolButton& open = bar->AddButton("Open");
    bar->AddButton("", TToolButtonStyle::tbsSeparator);
    TToolButton& left = bar->AddButton("Left", TToolButtonStyle::tbsCheck);
    TToolButton& right = bar->AddButton("Right", TToolButtonStyle::tbsCheck);
    TToolButton& off = bar->AddButton("Off");
    left.SetGrouped(true);
    right.SetGrouped(true);
    right.SetDown(true);
    off.SetEnabled(false);
    for (int i = 0; i < bar->ButtonCount(); ++i)
        bar->Buttons(i).OnClick = record;
    form->Show();
    EXPECT_EQ(bar->Top(), 0) << "along the top of its parent";
    EXPECT_EQ(bar->Width(), form->ClientWidth());
    EXPECT_EQ(open.BoundsRect().left, 0);
    EXPECT_EQ(left.BoundsRect().left, bar->ButtonRect(1).right) << "left to right";

    ClickAt(bar, Centre(open.BoundsRect()));
    ClickAt(bar, Centre(left.BoundsRect()));
    EXPECT_TRUE(left.Down());
    EXPECT_FALSE(right.Down()) << "one of a group down";
    ClickAt(bar, Centre(off.BoundsRect()));
    EXPECT_EQ(clicked, (std::vector<std::string>{"Open", "Left"}));
    // From code: Down of a group button lets the others up, fires nothing; Down of a push button
    // means nothing.
    right.SetDown(true);
    EXPECT_FALSE(left.Down());
    open.SetDown(true);
    EXPECT_FALSE(open.Down());
    EXPECT_EQ(clicked.size(), 2u);
    // The window reports the same buttons and states.
    win::HWND h = bar->Handle();
    EXPECT_EQ(win::SendMessage(h, win::TB_BUTTONCOUNT, 0, 0), 5);
    EXPECT_TRUE(win::SendMessage(h, win::TB_GETSTATE, right.Command(), 0) & win::TBSTATE_CHECKED);
}

TEST_F(UiTest, ButtonsAddedThroughTheWindowKeepEveryHandlerOnItsOwnButton) {
    auto* bar = Add<TToolBar>("Bar", 0, 0, 0, 26);
    std::vector<std::string> clicked;
    TToolButton& a = bar->AddButton("A");
    a.OnClick = [&](TObject*) { clicked.push_back("A"); };
    form->Show();
    win::TBBUTTON b;
    b.idCommand = 99;
    b.iString = reinterpret_cast<intptr_t>("New");
    win::SendMessage(bar->Handle(), win::TB_INSERTBUTTON, 0, reinterpret_cast<win::LPARAM>(&b));
    ASSERT_EQ(bar->ButtonCount(), 2);
    EXPECT_EQ(bar->Buttons(0).Caption(), "New");
    EXPECT_EQ(bar->Buttons(1).Index(), 1);
    ClickAt(bar, Centre(bar->Buttons(0).BoundsRect()));
    EXPECT_TRUE(clicked.empty()) << "the new button has no handler";
    ClickAt(bar, Centre(a.BoundsRect()));
    EXPECT_EQ(clicked, std::vector<std::string>{"A"});
    // A handler that deletes its own button, then one that frees the bar.
    a.OnClick = [&](TObject*) { bar->DeleteButton(1); };
    ClickAt(bar, Centre(a.BoundsRect()));
    EXPECT_EQ(bar->ButtonCount(), 1);
    bar->Buttons(0).OnClick = [&](TObject*) { delete bar; };
    ClickAt(bar, Centre(bar->Buttons(0).BoundsRect()));
    EXPECT_EQ(form->FindComponent("Bar"), nullptr);
}

TEST_F(UiTest, AToolBarsSizeAndFlatnessReachItsWindow) {
    auto* bar = Add<TToolBar>("Bar", 0, 0, 0, 26);
    bar->AddButton("A");
    form->Show();
    bar->SetButtonHeight(40);
    EXPECT_EQ(bar->Height(), 40 + 2 * win::kToolbarPadding);
    bar->SetButtonWidth(0);
    EXPECT_EQ(bar->ButtonWidth(), 24) << "no button of no width";
    EXPECT_TRUE(bar->SetPropText("Flat", "True"));
    EXPECT_TRUE(win::GetWindowLongPtr(bar->Handle(), win::GWL_STYLE) & win::TBSTYLE_FLAT);
    EXPECT_EQ(bar->GetPropText("Flat"), "true");
    EXPECT_FALSE(bar->SetPropText("Flat", "maybe"));
    EXPECT_TRUE(bar->Flat());
    bar->DeleteButton(5);
    bar->DeleteButton(-1);
    EXPECT_EQ(bar->ButtonCount(), 1);
    EXPECT_TRUE(bar->ButtonRect(3).empty());
}

// A bar that holds all the buttons it can refuses another instead of handing back one it
// already had as if it were new.
TEST_F(UiTest, AFullToolBarRefusesAnotherButton) {
    auto* bar = Add<TToolBar>("Bar", 0, 0, 0, 26);
    for (int i = 0; i < win::kToolbarMaxButtons; ++i)
        bar->AddButton("B");
    TToolButton& last = bar->Buttons(win::kToolbarMaxButtons - 1);
    EXPECT_THROW(bar->AddButton("One too many"), std::length_error);
    EXPECT_EQ(bar->ButtonCount(), win::kToolbarMaxButtons);
    EXPECT_EQ(last.Caption(), "B");
}

TEST_F(UiTest, AToolBarsDrawingHandlersDrawOverItsBackgroundAndInsteadOfTheirButtons) {
    auto* bar = Add<TToolBar>("Bar", 0, 0, 0, 26);
    bar->AddButton("A");
    bar->AddButton("B");
    const gdi::Color red = gdi::rgb(255, 0, 0);
    bar->OnCustomDraw = [&](TToolBar*, gdi::DC& dc, const gdi::Rect& area, bool&) {
        dc.fill_rect(area, red);
    };
    bar->OnCustomDrawButton = [&](TToolBar*, TToolButton* b, gdi::DC&, bool& draw) {
        draw = b->Index() != 0;
    };
    form->Show();
    win::UpdateAllWindows();
    auto pixel = [&](gdi::Point p) {
        const gdi::Point s = bar->ClientToScreen(p);
        return win::ComposeScreen().color_at(s.x, s.y);
    };
    const gdi::Rect a = bar->ButtonRect(0);
    const gdi::Rect b = bar->ButtonRect(1);
    EXPECT_EQ(pixel({bar->Width() - 3, 3}), red);
    EXPECT_EQ(pixel({a.left + 3, a.top + 3}), red) << "the handler kept button A to itself";
    bar->SetFlat(false);
    win::UpdateAllWindows();
    EXPECT_NE(pixel({b.left, b.top}), red) << "button B's raised edge";
    // Buttons left out altogether.
    bar->OnCustomDraw = [&](TToolBar*, gdi::DC&, const gdi::Rect&, bool& draw_buttons) {
        draw_buttons = false;
    };
    bar->Invalidate();
    win::UpdateAllWindows();
    EXPECT_EQ(pixel({b.left, b.top}), win::GetSysColor(win::COLOR_BTNFACE));
}

// Drawing handlers that let themselves go while they run (a bar drawn its own way once): each
// runs to its end on what it captured.
TEST_F(UiTest, AToolBarsDrawingHandlersMayLetThemselvesGo) {
    auto* bar = Add<TToolBar>("Bar", 0, 0, 0, 26);
    bar->AddButton("A");
    bar->AddButton("B");
    std::string drawn;
    const std::string tag(64, 'x');  // a capture with memory of its own
    bar->OnCustomDraw = [bar, &drawn, tag](TToolBar*, gdi::DC&, const gdi::Rect&, bool&) {
        bar->OnCustomDraw = nullptr;
        drawn += tag;
    };
    bar->OnCustomDrawButton = [bar, &drawn, tag](TToolBar*, TToolButton*, gdi::DC&, bool&) {
        bar->OnCustomDrawButton = nullptr;
        drawn += tag;
    };
    form->Show();
    win::UpdateAllWindows();
    EXPECT_EQ(drawn, tag + tag) << "each handler once, the second button drawn by the bar";
}

void MouseAt(TControl* c, win::MouseAction action, gdi::Point p) {
    win::InjectMouse(action, c->ClientToScreen(p));
    win::PumpPending();
}

// A button that stops being one while the mouse holds it (made a separator, disabled, hidden)
// fires nothing when the mouse lets go over it.
TEST_F(UiTest, AButtonThatStopsBeingOneWhileHeldFiresNothing) {
    auto* bar = Add<TToolBar>("Bar", 0, 0, 0, 26);
    int clicks = 0;
    TToolButton& a = bar->AddButton("A");
    TToolButton& b = bar->AddButton("B");
    a.OnClick = b.OnClick = [&](TObject*) { ++clicks; };
    form->Show();
    // Near its left: inside the separator it becomes too.
    const gdi::Point at{a.BoundsRect().left + 2, Centre(a.BoundsRect()).y};
    MouseAt(bar, win::MouseAction::LeftDown, at);
    a.SetStyle(TToolButtonStyle::tbsSeparator);
    MouseAt(bar, win::MouseAction::LeftUp, at);
    EXPECT_EQ(clicks, 0) << "a separator";
    const gdi::Point at_b = Centre(b.BoundsRect());
    MouseAt(bar, win::MouseAction::LeftDown, at_b);
    b.SetEnabled(false);
    MouseAt(bar, win::MouseAction::LeftUp, at_b);
    EXPECT_EQ(clicks, 0) << "disabled";
    b.SetEnabled(true);
    ClickAt(bar, at_b);
    EXPECT_EQ(clicks, 1);
}

// The button drawing handler is asked for every shown button, separators included, and for no
// hidden one.
TEST_F(UiTest, TheButtonDrawingHandlerIsAskedForShownButtonsAndSeparators) {
    auto* bar = Add<TToolBar>("Bar", 0, 0, 0, 26);
    bar->AddButton("A");
    bar->AddButton("", TToolButtonStyle::tbsSeparator);
    bar->AddButton("Hidden");
    bar->AddButton("B");
    std::vector<int> asked;
    bar->OnCustomDrawButton = [&](TToolBar*, TToolButton* b, gdi::DC&, bool&) {
        asked.push_back(b->Index());
    };
    form->Show();
    win::SendMessage(bar->Handle(), win::TB_HIDEBUTTON, bar->Buttons(2).Command(), 1);
    asked.clear();
    bar->Invalidate();
    win::UpdateAllWindows();
    EXPECT_EQ(asked, (std::vector<int>{0, 1, 3}));
}

// A new window of the bar starts with no button lit or held: the old window's mouse is gone.
TEST_F(UiTest, ANewWindowOfAToolBarHasNoButtonLitOrHeld) {
    auto* bar = Add<TToolBar>("Bar", 0, 0, 0, 26);
    int clicks = 0;
    TToolButton& a = bar->AddButton("A");
    a.OnClick = [&](TObject*) { ++clicks; };
    form->Show();
    const gdi::Point at = Centre(a.BoundsRect());
    MouseAt(bar, win::MouseAction::Move, at);
    ASSERT_EQ(bar->State().hot, 0);
    MouseAt(bar, win::MouseAction::LeftDown, at);
    ASSERT_EQ(bar->State().pressed, 0);
    win::DestroyWindow(bar->Handle());
    ASSERT_NE(bar->Handle(), nullptr);
    EXPECT_EQ(bar->State().hot, -1);
    EXPECT_EQ(bar->State().pressed, -1);
    EXPECT_FALSE(bar->State().buttons[0].state & win::TBSTATE_PRESSED) << "drawn up again";
    // The button let go over the new window was never pressed there.
    MouseAt(bar, win::MouseAction::LeftUp, at);
    EXPECT_EQ(clicks, 0);
}

}  // namespace
}  // namespace forms
