#include "platform/win/window.h"
#include "ui_fixture.h"

namespace forms {
namespace {

void Press(int vk) {
    win::InjectKey(vk, true);
    win::InjectKey(vk, false);
    win::RunFor(10);
}

TEST(ComponentTree, DeletingAParentFreesItsChildrenAndUnlinksThem) {
    TComponent owner(nullptr);
    auto* form = new TForm(&owner);
    auto* panel = new TPanel(&owner);
    panel->SetParent(form);
    auto* inner = new TButton(&owner);
    inner->SetParent(panel);
    auto* label = new TLabel(&owner);
    label->SetParent(panel);
    ASSERT_EQ(owner.ComponentCount(), 4);
    ASSERT_EQ(panel->ControlCount(), 2);
    delete label;  // a child going first leaves its parent's list
    EXPECT_EQ(panel->ControlCount(), 1);
    delete panel;  // the panel takes its remaining child with it
    EXPECT_EQ(owner.ComponentCount(), 1);
    EXPECT_EQ(form->ControlCount(), 0);
}

TEST(ComponentTree, ChangeOwnerMovesTheComponent) {
    TComponent a(nullptr), b(nullptr);
    auto* t = new TTimer(&a);
    t->ChangeOwner(&b);
    EXPECT_EQ(a.ComponentCount(), 0);
    EXPECT_EQ(b.ComponentCount(), 1);
    EXPECT_EQ(t->Owner(), &b);
}

TEST(ComponentTree, ChildrenFollowTheParentFontUntilTheySetTheirOwn) {
    TComponent owner(nullptr);
    auto* form = new TForm(&owner);
    form->Font().SetHeight(-16);
    auto* group = new TGroupBox(&owner);
    group->SetParent(form);
    auto* a = new TLabel(&owner);
    a->SetParent(group);
    auto* b = new TLabel(&owner);
    b->SetParent(group);
    b->Font().SetSize(10);  // its own font from now on
    EXPECT_EQ(a->Font().Height(), -16);
    EXPECT_EQ(b->Font().Height(), -13);
    EXPECT_EQ(b->Font().Size(), 10);
    EXPECT_FALSE(b->ParentFont());
    form->Font().SetHeight(-20);
    EXPECT_EQ(group->Font().Height(), -20);
    EXPECT_EQ(a->Font().Height(), -20);
    EXPECT_EQ(b->Font().Height(), -13);
    form->SetColor(gdi::rgb(1, 2, 3));
    EXPECT_EQ(a->Color(), gdi::rgb(1, 2, 3));
}

TEST_F(UiTest, WindowsAreNamedAfterTheirControlClass) {
    auto* b = Add<TButton>("B", 10, 10, 80, 25);
    auto* e = Add<TEdit>("E", 10, 40, 80, 24);
    auto* pc = Add<TPageControl>("P", 10, 70, 200, 100);
    auto* sheet = new TTabSheet(form);
    sheet->SetPageControl(pc);
    form->Show();
    EXPECT_EQ(win::GetClassName(b->Handle()), "TButton");
    EXPECT_EQ(win::GetClassName(e->Handle()), "TEdit");
    EXPECT_EQ(win::GetClassName(sheet->Handle()), "TTabSheet");
    EXPECT_EQ(win::GetClassName(form->Handle()), "TForm");
    EXPECT_EQ(TWinControl::FindControl(e->Handle()), e);
    EXPECT_EQ(win::GetParent(sheet->Handle()), pc->Handle());
    // A control created after the window exists gets its window at once.
    auto* late = Add<TCheckBox>("Late", 10, 180, 80, 20);
    EXPECT_TRUE(late->HandleAllocated());
}

TEST_F(UiTest, ButtonClickNeedsPressAndReleaseInside) {
    auto* b = Add<TButton>("B", 10, 10, 80, 25);
    int clicks = 0;
    b->OnClick = [&](TObject*) { ++clicks; };
    form->Show();
    gdi::Point inside = b->ClientToScreen({40, 12});
    gdi::Point outside = b->ClientToScreen({200, 100});
    win::InjectMouse(win::MouseAction::LeftDown, inside);
    win::InjectMouse(win::MouseAction::Move, outside);
    win::RunFor(10);
    EXPECT_FALSE(b->Pressed());
    win::InjectMouse(win::MouseAction::LeftUp, outside);
    win::RunFor(10);
    EXPECT_EQ(clicks, 0);
    b->SetFocus();
    win::InjectKey(win::VK_SPACE, true);
    win::RunFor(10);
    EXPECT_TRUE(b->Pressed());
    EXPECT_EQ(clicks, 0);  // the press completes on release
    win::InjectKey(win::VK_SPACE, false);
    win::RunFor(10);
    EXPECT_EQ(clicks, 1);
    b->SetEnabled(false);
    win::InjectClick(inside);
    win::RunFor(10);
    EXPECT_EQ(clicks, 1);
}

TEST_F(UiTest, EnterPressesTheFocusedButtonBeforeTheDefaultOne) {
    auto* def = Add<TButton>("Def", 10, 10, 80, 25);
    def->SetDefault(true);
    auto* other = Add<TButton>("Other", 100, 10, 80, 25);
    std::string pressed;
    def->OnClick = [&](TObject*) { pressed += "D"; };
    other->OnClick = [&](TObject*) { pressed += "O"; };
    auto r = Run("focus Other\nkey Enter\nfocus Def\nkey Enter\n");
    EXPECT_EQ(r.exit_code, 0) << r.report;
    EXPECT_EQ(pressed, "OD");
    EXPECT_FALSE(other->Active());
    EXPECT_TRUE(def->Active());
}

TEST_F(UiTest, ABoxDoesNotMoveTheFormsFocusAndItComesBack) {
    auto* e = Add<TEdit>("E", 10, 10, 80, 24);
    Add<TEdit>("Other", 10, 40, 80, 24);
    int exits = 0;
    e->OnExit = [&](TObject*) { ++exits; };
    auto* timer = new TTimer(form);
    timer->SetInterval(100);
    timer->SetEnabled(false);
    timer->OnTimer = [&](TObject*) {
        timer->SetEnabled(false);
        MessageBox(nullptr, "alarm", "Error", MB_OK);
    };
    form->Show();
    e->SetFocus();
    timer->SetEnabled(true);
    auto r = Run("wait 150\nexpect-box alarm\nkey Enter\nexpect-no-box\n");
    EXPECT_EQ(r.exit_code, 0) << r.report;
    EXPECT_EQ(exits, 0);
    EXPECT_TRUE(e->Focused());
    EXPECT_EQ(form->ActiveControl(), e);
}

TEST_F(UiTest, BoxWindowsAreDialogsWithButtonChildren) {
    auto* b = Add<TButton>("B", 10, 10, 80, 25);
    std::string box_class;
    std::vector<std::string> children;
    int result = 0;
    auto* timer = new TTimer(form);
    timer->SetInterval(50);
    timer->OnTimer = [&](TObject*) {
        if (OpenMessageBoxes().empty() || !box_class.empty())
            return;
        win::HWND box = OpenMessageBoxes().back()->hwnd;
        box_class = win::GetClassName(box);
        win::EnumChildWindows(box, [&](win::HWND c) {
            children.push_back(win::GetClassName(c) + ":" + win::GetWindowText(c));
            return true;
        });
    };
    b->OnClick = [&](TObject*) {
        result = MessageBox(form->Handle(), "text", "caption", MB_OKCANCEL);
    };
    auto r = Run("click B\nwait 100\nkey Tab\nkey Enter\nexpect-no-box\n");
    EXPECT_EQ(r.exit_code, 0) << r.report;
    EXPECT_EQ(box_class, "#32770");
    std::sort(children.begin(), children.end());
    EXPECT_EQ(children, (std::vector<std::string>{"Button:Cancel", "Button:OK", "Static:text"}));
    EXPECT_EQ(result, IDCANCEL);  // Tab moved to Cancel, Enter pressed it
}

TEST_F(UiTest, EscapeAnswersCancelOrTheOnlyButton) {
    auto* b = Add<TButton>("B", 10, 10, 80, 25);
    std::vector<int> results;
    unsigned flags = MB_OKCANCEL;
    b->OnClick = [&](TObject*) { results.push_back(MessageBox(nullptr, "t", "c", flags)); };
    auto r = Run("click B\nkey Escape\n");
    EXPECT_EQ(r.exit_code, 0) << r.report;
    flags = MB_OK;
    r = Run("click B\nkey Escape\n");
    EXPECT_EQ(r.exit_code, 0) << r.report;
    EXPECT_EQ(results, (std::vector<int>{IDCANCEL, IDOK}));
}

TEST_F(UiTest, PageControlKeysAndTabGeometry) {
    auto* pc = Add<TPageControl>("PageControl1", 5, 5, 400, 250);
    for (const char* caption : {"one", "two", "three"}) {
        auto* s = new TTabSheet(form);
        s->SetPageControl(pc);
        s->SetCaption(caption);
    }
    form->Show();
    gdi::Rect active = pc->TabRect(0), next = pc->TabRect(1);
    EXPECT_LT(active.top, next.top);  // the active tab stands out
    EXPECT_EQ(pc->IndexOfTabAt({(next.left + next.right) / 2, (next.top + next.bottom) / 2}), 1);
    EXPECT_EQ(pc->IndexOfTabAt({300, 200}), -1);
    int changes = 0;
    pc->OnChange = [&](TObject*) { ++changes; };
    pc->SetFocus();
    Press(win::VK_RIGHT);
    Press(win::VK_RIGHT);
    Press(win::VK_RIGHT);  // stays on the last page
    EXPECT_EQ(pc->ActivePageIndex(), 2);
    EXPECT_EQ(changes, 2);
    delete pc->Pages(2);  // the active page goes: its neighbour takes over
    EXPECT_EQ(pc->PageCount(), 2);
    EXPECT_EQ(pc->ActivePageIndex(), 1);
    EXPECT_TRUE(pc->Pages(1)->Visible());
}

TEST_F(UiTest, TheActivePageIndexFollowsPagesThatComeAndGo) {
    auto* pc = Add<TPageControl>("PageControl1", 5, 5, 400, 250);
    auto* other = Add<TPageControl>("PageControl2", 5, 260, 400, 100);
    std::vector<TTabSheet*> sheets;
    for (int i = 0; i < 5; ++i) {
        sheets.push_back(new TTabSheet(form));
        sheets.back()->SetPageControl(pc);
    }
    auto active_is = [&](TTabSheet* sheet) {
        const int i = pc->ActivePageIndex();
        return pc->ActivePage() == sheet && i >= 0 && i < pc->PageCount() && pc->Pages(i) == sheet;
    };
    EXPECT_TRUE(active_is(sheets[0]));
    pc->SetActivePage(sheets[3]);
    EXPECT_EQ(pc->ActivePageIndex(), 3);
    delete sheets[0];  // a page before the active one goes: the active page moves up
    EXPECT_TRUE(active_is(sheets[3]));
    EXPECT_EQ(pc->ActivePageIndex(), 2);
    sheets[1]->SetPageControl(other);  // one moves to another page control
    EXPECT_TRUE(active_is(sheets[3]));
    EXPECT_EQ(other->ActivePageIndex(), 0);
    sheets[4]->SetPageControl(nullptr);  // one after it leaves
    EXPECT_TRUE(active_is(sheets[3]));
    sheets.push_back(new TTabSheet(form));
    sheets.back()->SetPageControl(pc);  // one comes at the end
    EXPECT_TRUE(active_is(sheets[3]));
    delete sheets[3];  // the active page goes: the one that took its place is active
    EXPECT_TRUE(active_is(sheets[5]));
    pc->SetActivePageIndex(0);
    EXPECT_TRUE(active_is(sheets[2]));
    delete sheets[2];
    delete sheets[5];
    EXPECT_EQ(pc->ActivePage(), nullptr);
    EXPECT_EQ(pc->ActivePageIndex(), -1);
    delete sheets[4];
}

TEST_F(UiTest, StatusPanelsSpanTheBar) {
    auto* bar = new TStatusBar(form);
    bar->SetParent(form);
    bar->SetHeight(30);
    for (int w : {200, 150, 150, 150, 70})
        bar->AddPanel(w);
    bar->Panels(2).SetText("状态:");
    form->Show();
    EXPECT_EQ(bar->Top() + bar->Height(), form->ClientHeight());  // aligned to the bottom
    EXPECT_EQ(bar->Width(), form->ClientWidth());
    EXPECT_EQ(bar->PanelRect(1).left, 200);
    EXPECT_EQ(bar->PanelRect(4).right, bar->ClientRect().right);
    EXPECT_EQ(bar->Panels(2).Text(), "状态:");
}

struct TickCounter {
    int ticks = 0;
    TObject* sender = nullptr;
    void OnTick(TObject* s) {
        ++ticks;
        sender = s;
    }
};

// A method as handler gets the ticks with the timer as sender; OnTimer, once set, goes first;
// a handler that frees its own timer ends the ticks.
TEST_F(UiTest, TimerMethodHandlersTickAndOnTimerGoesFirst) {
    TickCounter counter;
    auto* timer = new TTimer(form);
    timer->SetInterval(10);
    timer->SetOnTimerMethod<&TickCounter::OnTick>(&counter);
    form->Show();
    win::RunFor(50);
    EXPECT_EQ(counter.ticks, 5);
    EXPECT_EQ(counter.sender, timer);
    int events = 0;
    timer->OnTimer = [&](TObject*) { ++events; };
    win::RunFor(30);
    EXPECT_EQ(events, 3);
    EXPECT_EQ(counter.ticks, 5);

    struct SelfFreeing {
        TTimer* timer = nullptr;
        int ticks = 0;
        void OnTick(TObject*) {
            ++ticks;
            delete timer;
        }
    } freeing;
    freeing.timer = new TTimer(form);
    freeing.timer->SetInterval(10);
    freeing.timer->SetOnTimerMethod<&SelfFreeing::OnTick>(&freeing);
    win::RunFor(50);
    EXPECT_EQ(freeing.ticks, 1);
    delete timer;
}

TEST_F(UiTest, DestroyedTimerStopsTicking) {
    int ticks = 0;
    auto* timer = new TTimer(form);
    timer->SetInterval(10);
    timer->OnTimer = [&](TObject*) { ++ticks; };
    form->Show();
    win::RunFor(50);
    EXPECT_EQ(ticks, 5);
    delete timer;
    win::RunFor(50);
    EXPECT_EQ(ticks, 5);
    auto* zero = new TTimer(form);
    zero->SetInterval(0);  // an interval of 0 stops the timer
    zero->OnTimer = [&](TObject*) { ++ticks; };
    win::RunFor(50);
    EXPECT_EQ(ticks, 5);
}

}  // namespace
}  // namespace forms
