#include "ui_fixture.h"

#include <limits>

#include "forms/control_windows_made.h"
#include "platform/win/metrics.h"
#include "platform/win/scrollbar.h"
#include "platform/win/styles.h"
#include "platform/win/subclass.h"

namespace forms {
namespace {

TEST_F(UiTest, AnAutoSizedLabelTakesItsCaptionsSizeAndKeepsItsPlace) {
    auto* fixed = Add<TLabel>("Fixed", 10, 10, 22, 16);
    fixed->SetCaption("CH16 and more");
    EXPECT_EQ(fixed->Width(), 22);  // off by default
    auto* label = Add<TLabel>("Sized", 30, 40, 22, 16);
    label->SetAutoSize(true);
    label->SetCaption("CH1");
    const int narrow = label->Width();
    label->SetCaption("CH16 and more");
    EXPECT_GT(label->Width(), narrow);
    EXPECT_EQ(label->Left(), 30);
    EXPECT_EQ(label->Top(), 40);
    const int wide = label->Width();
    const int height = label->Height();
    label->Font().SetSize(20);
    EXPECT_GT(label->Width(), wide);
    EXPECT_GT(label->Height(), height);
    label->SetCaption("");
    EXPECT_GE(label->Width(), 1);
    // A word-wrapped label keeps the size it was given.
    auto* wrapped = Add<TLabel>("Wrapped", 10, 80, 40, 40);
    wrapped->SetWordWrap(true);
    wrapped->SetAutoSize(true);
    wrapped->SetCaption("a long caption that wraps");
    EXPECT_EQ(wrapped->Width(), 40);
}

TEST_F(UiTest, ClickFiresOnClickOnce) {
    auto* b = Add<TButton>("B", 10, 10, 80, 25);
    b->SetCaption("Press");
    int clicks = 0;
    b->OnClick = [&](TObject* s) {
        EXPECT_EQ(s, b);
        ++clicks;
    };
    auto r = Run("click B\n");
    EXPECT_EQ(r.exit_code, 0) << r.report;
    EXPECT_EQ(clicks, 1);
}

TEST_F(UiTest, CheckBoxTogglesByClickAndSpaceButNotFromCode) {
    auto* box = Add<TCheckBox>("C", 10, 10, 120, 20);
    box->SetCaption("Armed");
    int clicks = 0;
    box->OnClick = [&](TObject*) { ++clicks; };
    box->SetChecked(true);
    box->SetChecked(false);
    EXPECT_EQ(clicks, 0);
    auto r = Run("click C\nexpect C.checked true\nkey Space\nexpect C.checked false\n");
    EXPECT_EQ(r.exit_code, 0) << r.report;
    EXPECT_EQ(clicks, 2);
}

TEST_F(UiTest, ControlsCountEveryChangeOfTheirStateWhoeverMakesIt) {
    auto* box = Add<TCheckBox>("C", 10, 10, 120, 20);
    auto* button = Add<TButton>("B", 10, 40, 80, 25);
    auto* edit = Add<TEdit>("E", 10, 70, 80, 24);
    auto* shape = Add<TShape>("S", 100, 10, 22, 22);
    uint32_t changes = 0;
    for (TControl* c : std::initializer_list<TControl*>{box, button, edit, shape})
        c->SetChangeCounter(&changes);
    // From code: each change once, a value set again not at all.
    box->SetChecked(true);
    box->SetChecked(true);
    button->SetCaption("off");
    button->SetCaption("off");
    button->SetEnabled(false);
    button->SetEnabled(false);
    shape->SetBrushColor(clRed);
    shape->SetBrushColor(clRed);
    edit->SetText("3");
    edit->SetText("3");
    EXPECT_EQ(changes, 5u);
    // From the operator: a box's click and Space, and typing.
    const uint32_t before = changes;
    auto r = Run("click C\nkey Space\ntype E 12\n");
    EXPECT_EQ(r.exit_code, 0) << r.report;
    EXPECT_TRUE(box->Checked());
    EXPECT_EQ(edit->Text(), "12");
    EXPECT_GE(changes, before + 5);
    // Taken away, nothing is counted any more.
    box->SetChangeCounter(nullptr);
    box->SetChecked(true);
    const uint32_t after = changes;
    box->SetChecked(false);
    EXPECT_EQ(changes, after);
}

TEST_F(UiTest, ComboBoxCountsEveryChangeOfItsTextWhoeverMakesIt) {
    auto* c = Add<TComboBox>("CB", 10, 10, 120, 24);
    c->Items().Assign({"alpha", "beta"});
    uint32_t changes = 0;
    c->SetChangeCounter(&changes);
    // From code: an item picked, a text set, each once; the same again not at all.
    c->SetItemIndex(1);
    c->SetItemIndex(1);
    c->SetText("alpha");
    c->SetText("alpha");
    EXPECT_EQ(changes, 2u);
    // A list takes no text outside its items: the text it drops counts too.
    c->SetStyle(TComboBoxStyle::csDropDownList);
    c->SetText("gamma");
    EXPECT_EQ(c->Text(), "");
    EXPECT_EQ(changes, 3u);
    // From the operator: an item picked from the list, and typing.
    c->SetStyle(TComboBoxStyle::csDropDown);
    auto r = Run("select CB beta\ntype CB ab\n");
    EXPECT_EQ(r.exit_code, 0) << r.report;
    EXPECT_EQ(c->Text(), "ab");
    EXPECT_GE(changes, 5u);
}

TEST_F(UiTest, DisabledCheckBoxIgnoresTheOperator) {
    auto* box = Add<TCheckBox>("C", 10, 10, 120, 20);
    box->SetEnabled(false);
    int clicks = 0;
    box->OnClick = [&](TObject*) { ++clicks; };
    auto r = Run("click C\nexpect C.checked false\nexpect C.enabled false\n");
    EXPECT_EQ(r.exit_code, 0) << r.report;
    EXPECT_EQ(clicks, 0);
}

TEST_F(UiTest, FocusLeavingAnEditFiresOnExit) {
    auto* e1 = Add<TEdit>("E1", 10, 10, 100, 24);
    auto* e2 = Add<TEdit>("E2", 10, 40, 100, 24);
    int exits1 = 0, exits2 = 0;
    e1->OnExit = [&](TObject*) { ++exits1; };
    e2->OnExit = [&](TObject*) { ++exits2; };
    auto r = Run("focus E1\nfocus E2\nkey Tab\n");
    EXPECT_EQ(r.exit_code, 0) << r.report;
    EXPECT_EQ(exits1, 1);
    EXPECT_EQ(exits2, 1);
    EXPECT_TRUE(e1->Focused());
}

TEST_F(UiTest, TypingRespectsMaxLengthAndEditingKeys) {
    auto* e = Add<TEdit>("E", 10, 10, 100, 24);
    e->SetMaxLength(3);
    int changes = 0;
    e->OnChange = [&](TObject*) { ++changes; };
    e->SetText("12345");
    EXPECT_EQ(e->Text(), "123");  // text from code is cut as well
    EXPECT_EQ(changes, 0);
    auto r =
        Run("type E 98765\nexpect E 987\nkey Backspace\nkey Home\nkey Delete\nexpect E 8\n"
            "key End\nkey 中\nexpect E 8中\n");
    EXPECT_EQ(r.exit_code, 0) << r.report;
    EXPECT_GT(changes, 0);
}

TEST_F(UiTest, TabSelectsAllTextOfTheNextEdit) {
    Add<TButton>("B", 10, 10, 80, 25);
    auto* e = Add<TEdit>("E", 10, 40, 100, 24);
    e->SetText("old");
    auto r = Run("focus B\nkey Tab\nkey x\nexpect E x\n");
    EXPECT_EQ(r.exit_code, 0) << r.report;
}

TEST_F(UiTest, ComboPicksByMouseAndByKeyboard) {
    auto* c = Add<TComboBox>("CB", 10, 10, 120, 24);
    c->SetStyle(TComboBoxStyle::csDropDownList);
    for (int i = 1; i <= 8; ++i)
        c->Items().Add("COM" + std::to_string(i));
    c->SetItemIndex(0);
    int changes = 0;
    c->OnChange = [&](TObject*) { ++changes; };
    auto r =
        Run("select CB COM5\nexpect CB.index 4\nexpect CB COM5\n"
            "focus CB\nkey Down\nexpect CB COM6\nkey Up\nkey Up\nexpect CB.index 3\n"
            "select CB 7\nexpect CB COM8\n");
    EXPECT_EQ(r.exit_code, 0) << r.report;
    EXPECT_EQ(changes, 5);
    c->SetItemIndex(2);  // from code: no event
    EXPECT_EQ(changes, 5);
    EXPECT_FALSE(c->DroppedDown());
}

TEST_F(UiTest, ComboListOpensWithF4AndEscapeClosesItWithoutPressingCancel) {
    auto* c = Add<TComboBox>("CB", 10, 10, 120, 24);
    c->SetStyle(TComboBoxStyle::csDropDownList);
    c->Items().Assign({"a", "b", "c"});
    auto* cancel = Add<TButton>("Exit", 200, 10, 80, 25);
    cancel->SetCancel(true);
    int cancels = 0;
    cancel->OnClick = [&](TObject*) { ++cancels; };
    auto r =
        Run("focus CB\nkey F4\nkey Down\nkey Down\nkey Escape\nexpect CB.index -1\n"
            "key F4\nkey Down\nkey Enter\nexpect CB b\n");
    EXPECT_EQ(r.exit_code, 0) << r.report;
    EXPECT_EQ(cancels, 0);
}

TEST_F(UiTest, LongComboListScrollsByItsScrollBarAndShortOnesHaveNone) {
    auto* c = Add<TComboBox>("CB", 10, 10, 120, 24);
    c->SetStyle(TComboBoxStyle::csDropDownList);
    for (int i = 0; i < 17; ++i)
        c->Items().Add("CH" + std::to_string(i));
    auto* s = Add<TComboBox>("Short", 200, 10, 120, 24);
    s->Items().Assign({"COM1", "COM2", "COM3", "COM4", "COM5", "COM6", "COM7", "COM8"});
    form->Show();
    s->SetDroppedDown(true);
    ASSERT_TRUE(s->DroppedDown());
    EXPECT_FALSE(win::GetWindowLongPtr(s->ListWindow(), win::GWL_STYLE) & win::WS_VSCROLL);
    s->SetDroppedDown(false);

    auto opened = Run("focus CB\nkey F4\n");
    EXPECT_EQ(opened.exit_code, 0) << opened.report;
    const win::HWND list = c->ListWindow();
    ASSERT_TRUE(list);
    ASSERT_TRUE(win::GetWindowLongPtr(list, win::GWL_STYLE) & win::WS_VSCROLL);
    const gdi::Rect wr = win::GetWindowRect(list);
    const int bar_x = wr.right - 1 - win::GetSystemMetrics(win::SM_CXVSCROLL) / 2;
    // The down arrow: one line, and the list stays open.
    win::InjectClick({bar_x, wr.bottom - 5});
    win::RunFor(20);
    ASSERT_TRUE(c->DroppedDown());
    EXPECT_EQ(c->TopIndex(), 1);
    EXPECT_EQ(win::GetScrollPos(list, win::SB_VERT), 1);
    // The track below the thumb: a page, no further than the last page.
    win::InjectClick({bar_x, wr.bottom - 25});
    win::RunFor(20);
    EXPECT_EQ(c->TopIndex(), 9);
    EXPECT_EQ(win::GetScrollPos(list, win::SB_VERT), 9);
    // Keys move the bar along; an item clicked is the item shown there.
    auto r = Run("key Home\n");
    EXPECT_EQ(r.exit_code, 0) << r.report;
    EXPECT_EQ(win::GetScrollPos(list, win::SB_VERT), 0);
    win::InjectClick({bar_x, wr.bottom - 5});
    win::RunFor(20);
    gdi::Rect item;
    ASSERT_TRUE(c->ItemScreenRect(3, &item));
    win::InjectClick({item.left + 5, (item.top + item.bottom) / 2});
    win::RunFor(20);
    EXPECT_FALSE(c->DroppedDown());
    EXPECT_EQ(c->Text(), "CH3");
}

TEST_F(UiTest, EditableComboGivesMinusOneForUnknownText) {
    auto* c = Add<TComboBox>("CB", 10, 10, 120, 24);
    c->Items().Assign({"alpha", "beta"});
    auto r =
        Run("select CB beta\nexpect CB.index 1\ntype CB gamma\nexpect CB.index -1\n"
            "expect CB gamma\ntype CB alpha\nexpect CB.index 0\n");
    EXPECT_EQ(r.exit_code, 0) << r.report;
}

TEST_F(UiTest, DatePickerChangesByKeysAndCalendar) {
    auto* d = Add<TDateTimePicker>("D", 10, 10, 120, 24);
    d->SetValue({2026, 1, 31, 8, 0, 0, 0, 6});
    int changes = 0;
    d->OnChange = [&](TObject*) { ++changes; };
    d->SetDate(d->Date());  // from code: nothing
    EXPECT_EQ(changes, 0);
    EXPECT_EQ(d->Text(), "2026/1/31");
    // Field 0 is the year; Right moves to the month. February clamps the day.
    auto r =
        Run("focus D\nkey Right\nkey Up\nexpect D 2026/2/28\nkey Right\nkey 1\nkey 5\n"
            "expect D 2026/2/15\n");
    EXPECT_EQ(r.exit_code, 0) << r.report;
    EXPECT_EQ(changes, 3);
    EXPECT_DOUBLE_EQ(d->Time(), clk::time_part({2026, 2, 15, 8, 0, 0, 0, 0}));
}

TEST_F(UiTest, DatePickerCalendarPicksADayByMouse) {
    auto* d = Add<TDateTimePicker>("D", 10, 10, 120, 24);
    d->SetValue({2026, 3, 10, 0, 0, 0, 0, 2});
    int changes = 0;
    d->OnChange = [&](TObject*) { ++changes; };
    form->Show();
    // Open the calendar with the button, then click day 20.
    gdi::Rect b = d->ButtonRect();
    gdi::Point p = d->ClientToScreen({(b.left + b.right) / 2, (b.top + b.bottom) / 2});
    win::InjectClick(p);
    win::RunFor(20);
    ASSERT_TRUE(d->DroppedDown());
    gdi::Rect day;
    ASSERT_TRUE(d->DayScreenRect(20, &day));
    win::InjectClick({(day.left + day.right) / 2, (day.top + day.bottom) / 2});
    win::RunFor(20);
    EXPECT_FALSE(d->DroppedDown());
    EXPECT_EQ(d->Text(), "2026/3/20");
    EXPECT_EQ(changes, 1);
}

TEST_F(UiTest, TimePickerChangesByKeysAndUpDown) {
    auto* t = Add<TDateTimePicker>("T", 10, 10, 100, 24);
    t->SetKind(TDateTimeKind::dtkTime);
    t->SetValue({2026, 1, 5, 23, 59, 30, 0, 1});
    int changes = 0;
    t->OnChange = [&](TObject*) { ++changes; };
    EXPECT_EQ(t->Text(), "23:59:30");
    auto r =
        Run("focus T\nkey Up\nexpect T 0:59:30\nkey Right\nkey Right\nkey Down\n"
            "expect T 0:59:29\nkey 4\nkey 5\nexpect T 0:59:45\n");
    EXPECT_EQ(r.exit_code, 0) << r.report;
    EXPECT_EQ(changes, 4);
    // The up-down part steps the selected field (the seconds, still selected).
    gdi::Rect b = t->ButtonRect();
    win::InjectClick(t->ClientToScreen({(b.left + b.right) / 2, b.top + 2}));
    win::RunFor(20);
    EXPECT_EQ(t->Text(), "0:59:46");
    EXPECT_EQ(changes, 5);
}

// Every way of giving a picker a day count splits it alike: the date is the whole days towards
// zero, the time of day the size of the fraction (-1.25 is 29 December 1899, 06:00). A value
// with no fraction left, or no number at all, is midnight; nothing shows hour 24.
TEST_F(UiTest, PickersSplitADayCountAlikeOnEitherSideOfDayZero) {
    auto* t = Add<TDateTimePicker>("T", 10, 10, 100, 24);
    t->SetKind(TDateTimeKind::dtkTime);
    t->SetValue({2026, 1, 5, 8, 0, 0, 0, 1});
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    const struct {
        double value;
        const char* time;
    } times[] = {
        {-1.25, "6:00:00"},     {-0.5, "12:00:00"},        {-0.0, "0:00:00"},
        {0.999999, "23:59:59"}, {0.9999999999, "0:00:00"}, {-1.9999999999, "0:00:00"},
        {46365.75, "18:00:00"}, {-46365.75, "18:00:00"},   {1e308, "0:00:00"},
        {-1e308, "0:00:00"},    {nan, "0:00:00"},          {inf, "0:00:00"},
    };
    for (const auto& c : times) {
        t->SetTime(c.value);
        EXPECT_EQ(t->Text(), c.time) << c.value;
        EXPECT_EQ(t->Value().day, 5) << "the date stays: " << c.value;
    }

    auto* d = Add<TDateTimePicker>("D", 10, 40, 120, 24);
    d->SetValue({2026, 1, 31, 8, 0, 0, 0, 6});
    d->SetDate(-1.25);
    EXPECT_EQ(d->Text(), "1899/12/29");
    EXPECT_EQ(d->Value().hour, 8) << "the time stays";
    d->SetDate(-0.5);
    EXPECT_EQ(d->Text(), "1899/12/30");
    d->SetDate(nan);
    EXPECT_EQ(d->Text(), "1899/12/30");
    // The whole value: the same split, the time rounding up to the next day's midnight.
    d->SetDateTime(-1.25);
    EXPECT_EQ(d->Value(), (clk::LocalTime{1899, 12, 29, 6, 0, 0, 0, 5}));
    EXPECT_DOUBLE_EQ(d->DateTime(), -1.25);
    EXPECT_DOUBLE_EQ(d->Time(), 0.25);
    d->SetDateTime(-1.9999999999);
    EXPECT_EQ(d->Value(), (clk::LocalTime{1899, 12, 30, 0, 0, 0, 0, 6}));
}

TEST_F(UiTest, EscapePressesTheCancelButtonAndEnterTheDefault) {
    auto* ok = Add<TButton>("Ok", 10, 10, 80, 25);
    ok->SetDefault(true);
    auto* cancel = Add<TButton>("Cancel", 100, 10, 80, 25);
    cancel->SetCancel(true);
    Add<TEdit>("E", 10, 50, 100, 24);
    int oks = 0, cancels = 0;
    ok->OnClick = [&](TObject*) { ++oks; };
    cancel->OnClick = [&](TObject*) { ++cancels; };
    auto r = Run("focus E\nkey Escape\nkey Enter\n");
    EXPECT_EQ(r.exit_code, 0) << r.report;
    EXPECT_EQ(cancels, 1);
    EXPECT_EQ(oks, 1);
}

TEST_F(UiTest, EscapeOnTheMainFormsCancelButtonEndsTheScriptNormally) {
    auto* exit = Add<TButton>("Exit", 100, 10, 80, 25);
    exit->SetCancel(true);
    exit->OnClick = [&](TObject*) { form->Close(); };
    Application->SetMainForm(form);
    auto r = Run("key Escape\nexpect Exit.visible nonsense\n");
    EXPECT_EQ(r.exit_code, 0) << r.report;  // the window closed: the rest is not run
    EXPECT_FALSE(form->Visible());
}

TEST_F(UiTest, MessageBoxLoopKeepsTimersTicking) {
    auto* b = Add<TButton>("B", 10, 10, 80, 25);
    auto* timer = new TTimer(form);
    timer->SetInterval(100);
    long during = -1;
    int answer = 0;
    b->OnClick = [&](TObject*) {
        long before = timer->Ticks();
        answer = MessageBox(nullptr, "please input a valid ID, range: 1-255", "Error",
                            MB_OK | MB_TASKMODAL);
        during = timer->Ticks() - before;
    };
    auto r =
        Run("click B\nexpect-box \"please input a valid ID, range: 1-255\"\n"
            "expect-caption Error\nwait 1000\nanswer OK\nexpect-no-box\n");
    EXPECT_EQ(r.exit_code, 0) << r.report;
    EXPECT_EQ(answer, IDOK);
    EXPECT_GE(during, 10);
    EXPECT_LE(during, 12);
}

TEST_F(UiTest, OwnedOkCancelBoxReturnsTheButtonPressed) {
    auto* b = Add<TButton>("B", 10, 10, 80, 25);
    std::vector<int> answers;
    b->OnClick = [&](TObject*) {
        answers.push_back(MessageBox(form->Handle(), "Are you sure restore the default value?",
                                     "Attention", MB_OKCANCEL));
    };
    auto r =
        Run("click B\nexpect-caption Attention\nanswer Cancel\nexpect-no-box\n"
            "click B\nanswer OK\n");
    EXPECT_EQ(r.exit_code, 0) << r.report;
    EXPECT_EQ(answers, (std::vector<int>{IDCANCEL, IDOK}));
    EXPECT_TRUE(win::IsWindowEnabled(form->Handle()));
}

TEST_F(UiTest, BoxesStackAndCloseInOrder) {
    auto* b = Add<TButton>("B", 10, 10, 80, 25);
    auto* timer = new TTimer(form);
    timer->SetInterval(100);
    timer->SetEnabled(false);
    std::vector<std::string> closed;
    timer->OnTimer = [&](TObject*) {
        timer->SetEnabled(false);
        MessageBox(nullptr, "second", "Error", MB_OK);
        closed.push_back("second");
    };
    b->OnClick = [&](TObject*) {
        timer->SetEnabled(true);
        MessageBox(nullptr, "first", "Error", MB_OK);
        closed.push_back("first");
    };
    auto r =
        Run("click B\nexpect-box first\nwait 150\nexpect-box second\nanswer OK\n"
            "expect-box first\nanswer OK\nexpect-no-box\n");
    EXPECT_EQ(r.exit_code, 0) << r.report;
    EXPECT_EQ(closed, (std::vector<std::string>{"second", "first"}));
}

TEST_F(UiTest, HandlerExceptionIsReportedAndTheLoopGoesOn) {
    auto* b = Add<TButton>("B", 10, 10, 80, 25);
    int clicks = 0;
    b->OnClick = [&](TObject*) {
        ++clicks;
        throw std::runtime_error("Out of range");
    };
    auto r = Run("click B\nexpect-box \"Out of range.\"\nanswer OK\nclick B\nanswer OK\n");
    EXPECT_EQ(r.exit_code, 0) << r.report;
    EXPECT_EQ(clicks, 2);
}

TEST_F(UiTest, PageControlByTabClickAndCtrlTab) {
    auto* pc = Add<TPageControl>("PageControl1", 5, 5, 400, 250);
    std::vector<TTabSheet*> sheets;
    for (const char* caption : {"Port Setup", "Device Setup", "Timer Task"}) {
        auto* s = new TTabSheet(form);
        s->SetPageControl(pc);
        s->SetCaption(caption);
        sheets.push_back(s);
    }
    auto* e = Add<TEdit>("E", 10, 10, 100, 24, sheets[1]);
    int changes = 0;
    pc->OnChange = [&](TObject*) { ++changes; };
    auto r =
        Run("expect PageControl1.index 0\nexpect E.visible false\npage 1\n"
            "expect PageControl1.index 1\nexpect E.visible true\nfocus E\n");
    EXPECT_EQ(r.exit_code, 0) << r.report;
    win::InjectKey(win::VK_CONTROL, true);
    win::InjectKey(win::VK_TAB, true);
    win::InjectKey(win::VK_TAB, false);
    win::InjectKey(win::VK_CONTROL, false);
    win::PumpPending();
    EXPECT_EQ(pc->ActivePageIndex(), 2);
    EXPECT_EQ(changes, 2);
    pc->SetActivePageIndex(0);  // from code
    EXPECT_EQ(changes, 2);
    EXPECT_FALSE(e->Showing());
}

TEST_F(UiTest, TimerIntervalChangeRestartsThePeriod) {
    auto* timer = new TTimer(form);
    timer->SetInterval(100);
    form->Show();
    win::RunFor(250);  // ticks at 100 and 200
    EXPECT_EQ(timer->Ticks(), 2);
    timer->SetInterval(100);  // the same interval keeps the phase
    win::RunFor(50);          // 300
    EXPECT_EQ(timer->Ticks(), 3);
    timer->SetInterval(200);  // restarts: next tick 200 ms from now
    win::RunFor(150);
    EXPECT_EQ(timer->Ticks(), 3);
    win::RunFor(50);
    EXPECT_EQ(timer->Ticks(), 4);
    timer->SetEnabled(false);
    win::RunFor(1000);
    EXPECT_EQ(timer->Ticks(), 4);
}

// What the form's window heard of windows made after its own.
std::vector<TWinControl*> g_windows_made;

win::LRESULT HearWindowsMade(win::HWND h, win::UINT msg, win::WPARAM wp, win::LPARAM lp,
                             win::UINT_PTR, win::DWORD_PTR) {
    if (msg == CM_CONTROLWINDOWSMADE)
        g_windows_made.push_back(reinterpret_cast<TWinControl*>(lp));
    return win::DefSubclassProc(h, msg, wp, lp);
}

TEST_F(UiTest, ControlsOnAHiddenPageGetTheirWindowsWhenThePageIsShown) {
    form->Show();
    g_windows_made.clear();
    win::SetWindowSubclass(form->Handle(), &HearWindowsMade, 7, 0);
    auto* pc = Add<TPageControl>("PageControl1", 5, 5, 400, 250);
    std::vector<TTabSheet*> sheets;
    for (const char* caption : {"Front", "Back"}) {
        auto* s = new TTabSheet(form);
        s->SetPageControl(pc);
        s->SetCaption(caption);
        sheets.push_back(s);
    }
    auto* front = Add<TEdit>("Front", 10, 10, 100, 24, sheets[0]);
    auto* panel = Add<TPanel>("Back", 0, 0, 300, 200, sheets[1]);
    auto* group = Add<TGroupBox>("Group", 5, 5, 200, 100, panel);
    auto* box = Add<TCheckBox>("Box", 10, 20, 80, 20, group);
    auto* picker = Add<TDateTimePicker>("Picker", 100, 20, 80, 20, group);
    int clicks = 0;
    box->OnClick = [&](TObject*) { ++clicks; };
    box->SetCaption("armed");
    box->SetEnabled(false);
    EXPECT_TRUE(front->HandleAllocated());
    EXPECT_FALSE(panel->HandleAllocated());
    EXPECT_FALSE(box->HandleAllocated());

    // Shown: every window of the page, in its parent, keeping what was set before.
    const size_t heard_before = g_windows_made.size();
    auto r = Run("page 1\nexpect Box.enabled false\nexpect Box armed\n");
    EXPECT_EQ(r.exit_code, 0) << r.report;
    // The form hears once, of the outermost window made (the panel), its children inside.
    ASSERT_EQ(g_windows_made.size(), heard_before + 1);
    EXPECT_EQ(g_windows_made.back(), panel);
    ASSERT_TRUE(box->HandleAllocated());
    ASSERT_TRUE(picker->HandleAllocated());
    EXPECT_EQ(win::GetParent(box->Handle()), group->Handle());
    EXPECT_EQ(win::GetParent(group->Handle()), panel->Handle());
    EXPECT_EQ(win::GetParent(panel->Handle()), sheets[1]->Handle());
    box->SetEnabled(true);
    r = Run("click Box\nexpect Box.checked true\npage 0\npage 1\nclick Box\n");
    EXPECT_EQ(r.exit_code, 0) << r.report;
    EXPECT_EQ(clicks, 2);

    // A control asked for its window while hidden still gets one at once.
    pc->SetActivePageIndex(1);
    auto* later = Add<TEdit>("Later", 10, 10, 100, 24, sheets[0]);
    EXPECT_FALSE(later->HandleAllocated());
    EXPECT_NE(later->Handle(), nullptr);
    EXPECT_EQ(win::GetParent(later->Handle()), sheets[0]->Handle());
    EXPECT_EQ(g_windows_made.back(), later);
    win::RemoveWindowSubclass(form->Handle(), &HearWindowsMade, 7);
}

}  // namespace
}  // namespace forms
