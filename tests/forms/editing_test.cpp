#include "ui_fixture.h"

namespace forms {
namespace {

// Clicks at a point of a control (its client coordinates) and lets the loop run.
void ClickAt(TControl* c, int x, int y, bool twice = false) {
    gdi::Point p = c->ClientToScreen({x, y});
    win::InjectMouse(win::MouseAction::LeftDown, p);
    win::InjectMouse(win::MouseAction::LeftUp, p);
    if (twice) {
        win::InjectMouse(win::MouseAction::LeftDown, p);
        win::InjectMouse(win::MouseAction::LeftUp, p);
    }
    win::RunFor(10);
}

void Press(int vk, bool shift = false, bool ctrl = false) {
    if (shift)
        win::InjectKey(win::VK_SHIFT, true);
    if (ctrl)
        win::InjectKey(win::VK_CONTROL, true);
    win::InjectKey(vk, true);
    win::InjectKey(vk, false);
    if (ctrl)
        win::InjectKey(win::VK_CONTROL, false);
    if (shift)
        win::InjectKey(win::VK_SHIFT, false);
    win::RunFor(10);
}

TEST_F(UiTest, EditCaretFollowsTheClickAndDoubleClickSelectsAll) {
    auto* e = Add<TEdit>("E", 10, 10, 200, 24);
    e->SetText("abcdef");
    form->Show();
    ClickAt(e, 3, 12);  // before the first character
    EXPECT_TRUE(e->Focused());
    EXPECT_EQ(e->SelStart(), 0);
    EXPECT_EQ(e->SelLength(), 0);  // a click does not select all
    ClickAt(e, 190, 12);           // past the end
    EXPECT_EQ(e->SelStart(), 6);
    ClickAt(e, 20, 12, true);
    EXPECT_EQ(e->SelLength(), 6);
}

TEST_F(UiTest, EditShiftSelectionIsReplacedByTyping) {
    auto* e = Add<TEdit>("E", 10, 10, 200, 24);
    e->SetText("192.168.1.111");
    int changes = 0;
    e->OnChange = [&](TObject*) { ++changes; };
    form->Show();
    e->SetFocus();
    Press(win::VK_END);
    Press(win::VK_LEFT, true);
    Press(win::VK_LEFT, true);
    Press(win::VK_LEFT, true);
    EXPECT_EQ(e->SelLength(), 3);
    win::InjectText("7");
    win::RunFor(10);
    EXPECT_EQ(e->Text(), "192.168.1.7");
    EXPECT_EQ(changes, 1);
    Press('A', false, true);  // Ctrl+A
    EXPECT_EQ(e->SelLength(), static_cast<int>(Utf8ToU32(e->Text()).size()));
    Press(win::VK_DELETE);
    EXPECT_EQ(e->Text(), "");
    EXPECT_EQ(changes, 2);
    Press(win::VK_BACK);  // nothing left to delete: no change
    EXPECT_EQ(changes, 2);
}

TEST_F(UiTest, ReadOnlyEditRefusesTypingButMovesTheCaret) {
    auto* e = Add<TEdit>("E", 10, 10, 200, 24);
    e->SetText("fixed");
    e->SetReadOnly(true);
    int changes = 0;
    e->OnChange = [&](TObject*) { ++changes; };
    auto r = Run("focus E\nkey x\nkey Backspace\nkey Delete\nkey Home\nexpect E fixed\n");
    EXPECT_EQ(r.exit_code, 0) << r.report;
    EXPECT_EQ(changes, 0);
    EXPECT_EQ(e->SelStart(), 0);
}

TEST_F(UiTest, MaxLengthCountsCharactersNotBytes) {
    auto* e = Add<TEdit>("E", 10, 10, 200, 24);
    e->SetMaxLength(4);
    auto r = Run("type E 状态显示一二\nexpect E 状态显示\n");
    EXPECT_EQ(r.exit_code, 0) << r.report;
    e->SetMaxLength(2);  // a lower limit cuts the text there
    EXPECT_EQ(e->Text(), "状态");
    e->SetText("ab\xFF");  // malformed bytes become a replacement character, not a crash
    EXPECT_EQ(e->Text(), "ab");
}

TEST_F(UiTest, LongTextScrollsToKeepTheCaretInView) {
    auto* e = Add<TEdit>("E", 10, 10, 60, 24);
    auto r = Run("type E \"a rather long line of text that does not fit\"\nkey Home\nkey End\n");
    EXPECT_EQ(r.exit_code, 0) << r.report;
    EXPECT_EQ(e->SelStart(), 44);
}

TEST_F(UiTest, ComboListScrollsToItemsBeyondTheDropDownCount) {
    auto* c = Add<TComboBox>("CB", 10, 10, 120, 24);
    c->SetStyle(TComboBoxStyle::csDropDownList);
    for (int i = 0; i < 12; ++i)
        c->Items().Add("item" + std::to_string(i));
    c->SetDropDownCount(5);
    auto r = Run("select CB item10\nexpect CB.index 10\nselect CB item2\nexpect CB item2\n");
    EXPECT_EQ(r.exit_code, 0) << r.report;
    // While open, the keys walk past the visible part and the list follows.
    c->SetFocus();
    Press(win::VK_F4);
    ASSERT_TRUE(c->DroppedDown());
    for (int i = 0; i < 8; ++i)
        Press(win::VK_DOWN);
    gdi::Rect item;
    EXPECT_TRUE(c->ItemScreenRect(10, &item));
    EXPECT_FALSE(c->ItemScreenRect(2, &item));
    Press(win::VK_RETURN);
    EXPECT_EQ(c->ItemIndex(), 10);
}

TEST_F(UiTest, ComboClickOutsideTheListClosesItWithoutAChange) {
    auto* c = Add<TComboBox>("CB", 10, 10, 120, 24);
    c->SetStyle(TComboBoxStyle::csDropDownList);
    c->Items().Assign({"a", "b", "c"});
    c->SetItemIndex(1);
    auto* other = Add<TButton>("B", 250, 200, 80, 25);
    int changes = 0, clicks = 0;
    c->OnChange = [&](TObject*) { ++changes; };
    other->OnClick = [&](TObject*) { ++clicks; };
    form->Show();
    ClickAt(c, 60, 12);
    ASSERT_TRUE(c->DroppedDown());
    ClickAt(other, 40, 12);  // the press closes the list and is eaten
    EXPECT_FALSE(c->DroppedDown());
    EXPECT_EQ(c->ItemIndex(), 1);
    EXPECT_EQ(changes, 0);
    EXPECT_EQ(clicks, 0);
    ClickAt(other, 40, 12);
    EXPECT_EQ(clicks, 1);
}

TEST_F(UiTest, ComboPressDraggedIntoTheListPicksWhereItIsReleased) {
    auto* c = Add<TComboBox>("CB", 10, 10, 120, 24);
    c->SetStyle(TComboBoxStyle::csDropDownList);
    c->Items().Assign({"a", "b", "c"});
    c->SetItemIndex(0);
    int changes = 0;
    c->OnChange = [&](TObject*) { ++changes; };
    form->Show();
    win::InjectMouse(win::MouseAction::LeftDown, c->ClientToScreen({60, 12}));
    win::RunFor(10);
    ASSERT_TRUE(c->DroppedDown());
    gdi::Rect item;
    ASSERT_TRUE(c->ItemScreenRect(2, &item));
    const gdi::Point p{(item.left + item.right) / 2, (item.top + item.bottom) / 2};
    win::InjectMouse(win::MouseAction::Move, p);
    win::InjectMouse(win::MouseAction::LeftUp, p);
    win::RunFor(10);
    EXPECT_FALSE(c->DroppedDown());
    EXPECT_EQ(c->ItemIndex(), 2);
    EXPECT_EQ(changes, 1);
}

TEST_F(UiTest, DropDownListPicksByTypedLetterAndIgnoresTheSameItem) {
    auto* c = Add<TComboBox>("CB", 10, 10, 160, 24);
    c->SetStyle(TComboBoxStyle::csDropDownList);
    c->Items().Assign({"Chinese (Simplified)", "English", "Chinese (Traditional)"});
    c->SetItemIndex(0);
    std::vector<int> seen;
    c->OnChange = [&](TObject*) { seen.push_back(c->ItemIndex()); };
    auto r = Run("focus CB\nkey e\nkey c\nkey c\nselect CB 0\nselect CB 0\n");
    EXPECT_EQ(r.exit_code, 0) << r.report;
    EXPECT_EQ(seen, (std::vector<int>{1, 2, 0}));
}

TEST_F(UiTest, ComboListKeepsNoTextOutsideItsItemsWhenMadeEditable) {
    auto* c = Add<TComboBox>("CB", 10, 10, 120, 24);
    c->SetStyle(TComboBoxStyle::csDropDownList);
    c->Items().Assign({"alpha", "beta"});
    c->SetText("gamma");
    EXPECT_EQ(c->Text(), "");
    EXPECT_EQ(c->ItemIndex(), -1);
    // Editable now: typing at the end of what it showed gives just the typed text.
    c->SetStyle(TComboBoxStyle::csDropDown);
    auto r = Run("focus CB\nkey End\nkey x\nexpect CB x\n");
    EXPECT_EQ(r.exit_code, 0) << r.report;
    EXPECT_EQ(c->Text(), "x");
}

TEST_F(UiTest, ComboItemsChangeDropsAnIndexThatNoLongerExists) {
    auto* c = Add<TComboBox>("CB", 10, 10, 120, 24);
    c->Items().Assign({"a", "b", "c"});
    c->SetItemIndex(2);
    c->Items().Assign({"x"});
    EXPECT_EQ(c->ItemIndex(), -1);
    c->SetItemIndex(5);
    EXPECT_EQ(c->ItemIndex(), -1);
    EXPECT_EQ(c->Text(), "");
    c->SetText("x");
    EXPECT_EQ(c->ItemIndex(), 0);
}

TEST_F(UiTest, DatePickerYearTypingAndLeapDayClamp) {
    auto* d = Add<TDateTimePicker>("D", 10, 10, 120, 24);
    d->SetValue({2024, 2, 29, 0, 0, 0, 0, 4});
    auto r =
        Run("focus D\nkey Up\nexpect D 2025/2/28\nkey 2\nkey 0\nkey 2\nkey 8\n"
            "expect D 2028/2/28\nkey Left\nexpect D 2028/2/28\n");
    EXPECT_EQ(r.exit_code, 0) << r.report;
    EXPECT_EQ(d->SelectedField(), 0);  // typing the year moved on to the month, Left came back
}

TEST_F(UiTest, CalendarMonthArrowsAndEscape) {
    auto* d = Add<TDateTimePicker>("D", 10, 10, 120, 24);
    d->SetValue({2026, 1, 31, 0, 0, 0, 0, 6});
    int changes = 0;
    d->OnChange = [&](TObject*) { ++changes; };
    form->Show();
    d->SetFocus();
    Press(win::VK_DOWN, false, false);
    EXPECT_EQ(changes, 1);  // Down steps the year
    win::InjectKey(win::VK_MENU, true);
    Press(win::VK_DOWN);
    win::InjectKey(win::VK_MENU, false);
    win::RunFor(10);
    ASSERT_TRUE(d->DroppedDown());
    Press(win::VK_ESCAPE);
    EXPECT_FALSE(d->DroppedDown());
    EXPECT_EQ(changes, 1);
    Press(win::VK_F4);
    ASSERT_TRUE(d->DroppedDown());
    Press(win::VK_RIGHT);  // 2025/2/1
    Press(win::VK_RETURN);
    EXPECT_EQ(d->Text(), "2025/2/1");
    EXPECT_EQ(changes, 2);
}

TEST_F(UiTest, PickerValueFromCodeKeepsTheOtherPart) {
    auto* d = Add<TDateTimePicker>("D", 10, 10, 120, 24);
    d->SetValue({2026, 6, 1, 8, 30, 15, 0, 1});
    const double date = d->Date();
    const double time = d->Time();
    d->SetDate(clk::date_part({2027, 1, 2, 0, 0, 0, 0, 6}));
    EXPECT_EQ(d->Value().hour, 8);
    EXPECT_EQ(d->Value().second, 15);
    d->SetTime(clk::time_part({2000, 1, 1, 23, 59, 58, 0, 6}));
    EXPECT_EQ(d->Value().year, 2027);
    EXPECT_EQ(d->Value().hour, 23);
    d->SetDateTime(date + time);
    EXPECT_EQ(d->Text(), "2026/6/1");
    d->SetKind(TDateTimeKind::dtkTime);
    EXPECT_EQ(d->Text(), "8:30:15");
}

TEST_F(UiTest, TwelveHourFormatShowsAndTogglesAmPm) {
    FormatSettings saved = GetFormatSettings();
    GetFormatSettings().LongTimeFormat = "h:mm:ss tt";
    auto* t = Add<TDateTimePicker>("T", 10, 10, 140, 24);
    t->SetKind(TDateTimeKind::dtkTime);
    t->SetValue({2026, 1, 5, 11, 0, 0, 0, 1});
    auto r =
        Run("expect T \"11:00:00 AM\"\nfocus T\nkey Up\nexpect T \"12:00:00 PM\"\n"
            "key Right\nkey Right\nkey Right\nkey Up\nexpect T \"12:00:00 AM\"\n");
    GetFormatSettings() = saved;
    EXPECT_EQ(r.exit_code, 0) << r.report;
}

TEST_F(UiTest, TypingIntoATimePickerSetsItFieldByField) {
    auto* t = Add<TDateTimePicker>("T", 10, 10, 120, 24);
    t->SetKind(TDateTimeKind::dtkTime);
    t->SetValue({2026, 1, 5, 23, 59, 59, 0, 1});
    int changes = 0;
    t->OnChange = [&](TObject*) { ++changes; };
    // Whatever field was selected, the script starts at the first; a separator ends a field
    // typed with one digit, two digits end it by themselves.
    auto r =
        Run("focus T\nkey Right\nkey Right\ntype T 07:30:00\nexpect T 7:30:00\n"
            "type T 8:5:9\nexpect T 8:05:09\n");
    EXPECT_EQ(r.exit_code, 0) << r.report;
    EXPECT_GT(changes, 0);
    EXPECT_EQ(t->Value().year, 2026);  // the date is kept
    // End selects the last field, Home the first.
    t->SetFocus();
    Press(win::VK_END);
    EXPECT_EQ(t->SelectedField(), 2);
    Press(win::VK_HOME);
    EXPECT_EQ(t->SelectedField(), 0);
}

}  // namespace
}  // namespace forms
