#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "forms/forms.h"
#include "forms/make_control.h"

namespace forms {
namespace {

TEST(Component, OwnedComponentsInCreationOrderAndFreedWithOwner) {
    auto* owner = new TComponent(nullptr);
    auto* a = new TComponent(owner);
    auto* b = new TTimer(owner);
    a->SetName("A");
    b->SetName("B");
    ASSERT_EQ(owner->ComponentCount(), 2);
    EXPECT_EQ(owner->Components(0), a);
    EXPECT_EQ(owner->Components(1), b);
    EXPECT_EQ(owner->FindComponent("B"), b);
    EXPECT_EQ(owner->FindComponent("missing"), nullptr);
    delete a;  // removes itself from its owner
    ASSERT_EQ(owner->ComponentCount(), 1);
    EXPECT_EQ(owner->Components(0), b);
    delete owner;  // frees b as well (the sanitizer build checks)
}

TEST(Component, AControlFreedFromTheMiddleLeavesItsSiblingsInOrder) {
    auto* owner = new TComponent(nullptr);
    auto* panel = new TPanel(owner);
    TButton* buttons[4];
    for (auto*& b : buttons) {
        b = new TButton(owner);
        b->SetParent(panel);
    }
    delete buttons[1];
    ASSERT_EQ(owner->ComponentCount(), 4);
    EXPECT_EQ(owner->Components(1), buttons[0]);
    EXPECT_EQ(owner->Components(2), buttons[2]);
    EXPECT_EQ(owner->Components(3), buttons[3]);
    ASSERT_EQ(panel->ControlCount(), 3);
    EXPECT_EQ(panel->Controls(0), buttons[0]);
    EXPECT_EQ(panel->Controls(1), buttons[2]);
    EXPECT_EQ(panel->TabList(), (std::vector<TWinControl*>{buttons[0], buttons[2], buttons[3]}));
    EXPECT_EQ(buttons[3]->TabOrder(), 2);
    // The last one and the first one go too; the owner frees the rest.
    delete buttons[3];
    delete buttons[0];
    EXPECT_EQ(panel->TabList(), (std::vector<TWinControl*>{buttons[2]}));
    EXPECT_EQ(owner->ComponentCount(), 2);
    delete owner;
}

TEST(Component, TheTabOrderIsThatOfInsertionUntilChanged) {
    TComponent owner(nullptr);
    auto* panel = new TPanel(&owner);
    const auto add_button = [&] {
        auto* b = new TButton(&owner);
        b->SetParent(panel);
        return b;
    };
    TButton* a = add_button();
    (new TLabel(&owner))->SetParent(panel);  // windowless: no tab stop
    TButton* b = add_button();
    TButton* c = add_button();
    // Changed before anyone asked for the order.
    c->SetTabOrder(0);
    EXPECT_EQ(panel->TabList(), (std::vector<TWinControl*>{c, a, b}));
    TButton* d = add_button();  // comes last
    EXPECT_EQ(d->TabOrder(), 3);
    b->SetParent(nullptr);
    EXPECT_EQ(panel->TabList(), (std::vector<TWinControl*>{c, a, d}));
    EXPECT_EQ(b->TabOrder(), -1);
    delete b;

    // Another container: asked for only after its children came and went.
    auto* other = new TPanel(&owner);
    TButton* e = new TButton(&owner);
    TButton* f = new TButton(&owner);
    e->SetParent(other);
    f->SetParent(other);
    e->SetParent(panel);
    EXPECT_EQ(other->TabList(), (std::vector<TWinControl*>{f}));
    EXPECT_EQ(e->TabOrder(), 3);
    std::vector<TWinControl*> walked;
    panel->GetTabOrderList(walked);
    EXPECT_EQ(walked, (std::vector<TWinControl*>{c, a, d, e}));
}

TEST(Component, NamesOfAnyLengthAreKeptAndFound) {
    TComponent owner(nullptr);
    auto* a = new TComponent(&owner);
    auto* b = new TComponent(&owner);
    const std::string longest(200, 'L');
    a->SetName("EntryOffPicker6_9abcdefghijklmn");  // 31 characters, the most held inside
    b->SetName(longest);
    EXPECT_EQ(owner.FindComponent("EntryOffPicker6_9abcdefghijklmn"), a);
    EXPECT_EQ(owner.FindComponent(longest), b);
    EXPECT_EQ(owner.FindComponent(longest.substr(1)), nullptr);
    // Renamed to its own name, a part of it, longer and shorter.
    a->SetName(a->Name());
    EXPECT_EQ(a->Name(), "EntryOffPicker6_9abcdefghijklmn");
    a->SetName(a->Name().substr(5, 9));
    EXPECT_EQ(a->Name(), "OffPicker");
    b->SetName(b->Name());
    EXPECT_EQ(b->Name(), longest);
    b->SetName(b->Name().substr(0, 3));
    EXPECT_EQ(b->Name(), "LLL");
    a->SetName(longest + "A");
    EXPECT_EQ(a->Name(), longest + "A");
    a->SetName("");
    EXPECT_EQ(owner.FindComponent(""), nullptr);
}

TEST(Component, ComponentsOfManySizesComeAndGoWithoutTouchingEachOther) {
    // More controls than one block of the pool holds, freed in and out of order and made
    // again: each keeps what it was given.
    TComponent owner(nullptr);
    auto* panel = new TPanel(&owner);
    std::vector<TControl*> made;
    for (int i = 0; i < 600; ++i) {
        TControl* c = i % 3 == 0   ? static_cast<TControl*>(new TCheckBox(&owner))
                      : i % 3 == 1 ? static_cast<TControl*>(new TDateTimePicker(&owner))
                                   : static_cast<TControl*>(new TLabel(&owner));
        c->SetName(IndexedName("C", i));
        c->SetParent(panel);
        c->SetCaption(std::to_string(i));
        made.push_back(c);
    }
    for (size_t i = 0; i < made.size(); i += 2) {
        delete made[i];
        made[i] = nullptr;
    }
    for (size_t i = 0; i < made.size(); i += 2) {
        made[i] = i % 4 == 0 ? static_cast<TControl*>(new TLabel(&owner))
                             : static_cast<TControl*>(new TCheckBox(&owner));
        made[i]->SetName(IndexedName("D", static_cast<int>(i)));
        made[i]->SetParent(panel);
    }
    EXPECT_EQ(panel->ControlCount(), 600);
    for (size_t i = 1; i < made.size(); i += 2) {
        EXPECT_EQ(made[i]->Name(), IndexedName("C", static_cast<int>(i)));
        EXPECT_EQ(made[i]->Parent(), panel);
        EXPECT_EQ(made[i]->Caption(), std::to_string(i));
    }
    EXPECT_EQ(owner.FindComponent("D598"), made[598]);
}

TEST(Component, ClassNamesAndIsATestsThroughDescendants) {
    TComponent owner(nullptr);
    auto* button = new TButton(&owner);
    auto* box = new TCheckBox(&owner);
    auto* sheet = new TTabSheet(&owner);
    EXPECT_EQ(button->ClassName(), "TButton");
    EXPECT_TRUE(button->InheritsFrom("TButtonControl"));
    EXPECT_TRUE(button->InheritsFrom("TWinControl"));
    EXPECT_TRUE(button->InheritsFrom("TControl"));
    EXPECT_FALSE(button->InheritsFrom("TCheckBox"));
    EXPECT_TRUE(box->InheritsFrom("TButtonControl"));
    EXPECT_TRUE(sheet->ClassNameIs("ttabsheet"));
    EXPECT_FALSE(sheet->InheritsFrom("TPageControl"));
    EXPECT_EQ(TShape(nullptr).ClassName(), "TShape");
    EXPECT_TRUE(TLabel(nullptr).InheritsFrom("TGraphicControl"));
}

TEST(Component, PublishedPropertiesReadByName) {
    TComponent owner(nullptr);
    auto* button = new TButton(&owner);
    button->SetCaption("OK");
    button->SetDefault(true);
    auto* box = new TCheckBox(&owner);
    box->SetState(TCheckBoxState::cbGrayed);
    EXPECT_EQ(button->GetPropText("Caption").value(), "OK");
    EXPECT_EQ(button->GetPropText("Default").value(), "true");
    EXPECT_EQ(box->GetPropText("State").value(), "cbGrayed");
    EXPECT_EQ(box->GetPropText("Checked").value(), "false");
    EXPECT_FALSE(box->GetPropText("NoSuchProperty").has_value());
    EXPECT_TRUE(button->SetPropText("Tag", "5555"));
    EXPECT_EQ(button->Tag(), 5555);
    EXPECT_FALSE(button->SetPropText("Tag", "12x"));
}

TEST(Component, IntegerPropertiesReadAsTheFrameworkReadsIntegers) {
    TComponent owner(nullptr);
    auto* panel = new TPanel(&owner);
    EXPECT_TRUE(panel->SetPropText("Tag", "010"));
    EXPECT_EQ(panel->Tag(), 10);
    EXPECT_TRUE(panel->SetPropText("Tag", "$1F"));
    EXPECT_EQ(panel->Tag(), 31);
    EXPECT_TRUE(panel->SetPropText("Color", "$8000000F"));
    EXPECT_EQ(panel->Color(), clBtnFace);
    EXPECT_TRUE(panel->SetPropText("Color", "255"));
    EXPECT_EQ(panel->Color(), 255u);
    for (const char* bad : {"0x10", "", "1e3", "99999999999"}) {
        EXPECT_FALSE(panel->SetPropText("Tag", bad)) << bad;
    }
    EXPECT_EQ(panel->Tag(), 31);
}

TEST(Component, ReplacedWindowProcSeesMessagesFirstAndChains) {
    TComponent owner(nullptr);
    auto* button = new TButton(&owner);
    std::vector<win::UINT> seen;
    TWndMethod old = button->WindowProc;
    button->WindowProc = [&](TMessage& m) {
        seen.push_back(m.Msg);
        old(m);
    };
    int clicks = 0;
    button->OnClick = [&](TObject*) { ++clicks; };
    button->Perform(CM_DIALOGKEY, win::VK_ESCAPE, 0);  // not the cancel button: not handled
    button->SetCancel(true);
    EXPECT_EQ(button->Perform(CM_DIALOGKEY, win::VK_ESCAPE, 0), 0);  // no parent: cannot focus
    ASSERT_EQ(seen.size(), 2u);
    EXPECT_EQ(seen[0], CM_DIALOGKEY);
    EXPECT_EQ(clicks, 0);
}

TEST(LineEditor, MaxLengthHoldsForTypingAndSetting) {
    LineEditor e;
    e.set_max_length(3);
    EXPECT_TRUE(e.insert(U"12"));
    EXPECT_TRUE(e.insert(U"345"));  // only "3" fits
    EXPECT_EQ(e.text(), U"123");
    EXPECT_FALSE(e.insert(U"9"));
    e.select(1, 1);  // replacing the selection makes room for one
    EXPECT_TRUE(e.insert(U"xy"));
    EXPECT_EQ(e.text(), U"1x3");
    e.set_text(U"abcdef");
    EXPECT_EQ(e.text(), U"abc");
}

TEST(LineEditor, CaretSelectionBackspaceDelete) {
    LineEditor e;
    e.set_text(U"héllo");
    e.home(false);
    e.right(false);
    e.right(true);  // selects "é"
    EXPECT_EQ(e.sel_start(), 1);
    EXPECT_EQ(e.sel_length(), 1);
    EXPECT_TRUE(e.backspace());
    EXPECT_EQ(e.text(), U"hllo");
    e.end(false);
    EXPECT_FALSE(e.del());
    EXPECT_TRUE(e.backspace());
    EXPECT_EQ(e.text(), U"hll");
    e.home(false);
    EXPECT_FALSE(e.backspace());
    e.select_all();
    EXPECT_TRUE(e.del());
    EXPECT_TRUE(e.text().empty());
}

TEST(Utf8, MalformedBytesBecomeReplacementCharacters) {
    EXPECT_EQ(Utf8ToU32("a\xC3\xA9z"), U"aéz");
    EXPECT_EQ(Utf8ToU32("\xFF"), U"\uFFFD");
    EXPECT_EQ(Utf8ToU32("\xE4\xB8"), U"\uFFFD\uFFFD");  // truncated sequence
    EXPECT_EQ(Utf8ToU32("\xC0\xAF"), U"\uFFFD\uFFFD");  // overlong
    EXPECT_EQ(U32ToUtf8(U"中文"), "中文");
}

TEST(DateFormat, ShortDateAndLongTimePatterns) {
    clk::LocalTime t{2026, 3, 7, 8, 5, 9, 0, 6};
    EXPECT_EQ(FormatDateTime("yyyy/M/d", t), "2026/3/7");
    EXPECT_EQ(FormatDateTime("yyyy-MM-dd", t), "2026-03-07");
    EXPECT_EQ(FormatDateTime("H:mm:ss", t), "8:05:09");
    EXPECT_EQ(FormatDateTime("hh:mm:ss tt", {2026, 3, 7, 13, 0, 0, 0, 6}), "01:00:00 PM");
    EXPECT_EQ(DaysInMonth(2024, 2), 29);
    EXPECT_EQ(DaysInMonth(1900, 2), 28);
}

}  // namespace
}  // namespace forms
