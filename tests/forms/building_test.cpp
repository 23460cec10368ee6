// What a page of hundreds of controls relies on while it is built: fonts and colours that
// reach every level without windows, alignment kept by the children that ask for it, the
// first focus, the names of the start-up arrays and the time a picker takes from code.
#include <cmath>
#include <limits>
#include <string>

#include "forms/make_control.h"
#include "platform/win/painting.h"
#include "ui_fixture.h"

namespace forms {
namespace {

// A panel that counts the font notifications its own WndProc sees.
class CountingPanel : public TPanel {
  public:
    using TPanel::TPanel;
    int fonts = 0;
    void WndProc(TMessage& m) override {
        if (m.Msg == CM_FONTCHANGED)
            ++fonts;
        TPanel::WndProc(m);
    }
};

TEST_F(UiTest, FontsAndColoursReachEveryLevelBuiltWithoutWindows) {
    auto* outer = Add<TPanel>("Outer", 0, 0, 300, 200);
    auto* group = Add<TGroupBox>("Group", 0, 0, 200, 100, outer);
    auto* box = Add<TCheckBox>("Box", 5, 5, 80, 20, group);
    auto* own = Add<TCheckBox>("Own", 5, 30, 80, 20, group);
    own->Font().SetSize(9);
    std::vector<win::UINT> heard;
    TWndMethod old = group->WindowProc;
    group->WindowProc = [&](TMessage& m) {
        if (m.Msg == CM_FONTCHANGED || m.Msg == CM_COLORCHANGED)
            heard.push_back(m.Msg);
        old(m);
    };
    outer->Font().SetSize(10);
    outer->SetColor(clWhite);
    EXPECT_FALSE(box->HandleAllocated());
    EXPECT_EQ(box->Font().Size(), 10);
    EXPECT_EQ(box->Color(), clWhite);
    EXPECT_EQ(own->Font().Size(), 9) << "a font of its own stays";
    // One whose WindowProc was taken over hears of it even without a window.
    EXPECT_EQ(heard, (std::vector<win::UINT>{CM_FONTCHANGED, CM_COLORCHANGED}));
    group->WindowProc = old;

    // With its window, a control's own WndProc hears of a new font.
    auto* counting = new CountingPanel(form);
    counting->SetParent(form);
    form->Show();
    ASSERT_TRUE(counting->HandleAllocated());
    form->Font().SetSize(12);
    EXPECT_EQ(counting->Font().Size(), 12);
    EXPECT_EQ(counting->fonts, 1);
}

TEST_F(UiTest, ABuiltControlHearsOfChangesOnceItsWindowProcIsTakenOver) {
    auto* group = Add<TGroupBox>("Group", 0, 0, 200, 100);
    auto* box = Add<TCheckBox>("Box", 5, 5, 80, 20, group);
    auto* other = Add<TCheckBox>("Other", 5, 30, 80, 20, group);
    std::vector<win::UINT> heard;
    const TWndMethod own = box->WindowProc;
    box->WindowProc = [&](TMessage& m) {
        heard.push_back(m.Msg);
        own(m);
    };
    EXPECT_FALSE(box->HasOwnWindowProc());
    box->SetCaption("on");
    box->SetEnabled(false);
    EXPECT_EQ(heard, (std::vector<win::UINT>{CM_TEXTCHANGED, CM_ENABLEDCHANGED}));

    // Its own method put back, it is built quietly again; another control's method is not its
    // own.
    box->WindowProc = own;
    EXPECT_TRUE(box->HasOwnWindowProc());
    heard.clear();
    box->SetCaption("off");
    box->SetEnabled(true);
    EXPECT_TRUE(heard.empty());
    EXPECT_EQ(box->Caption(), "off");
    EXPECT_TRUE(box->Enabled());
    box->WindowProc = other->WindowProc;
    EXPECT_FALSE(box->HasOwnWindowProc());
    box->WindowProc = nullptr;
    EXPECT_FALSE(box->HasOwnWindowProc());
    EXPECT_EQ(box->Perform(CM_TEXTCHANGED), 0) << "without a method, its own WndProc answers";
}

TEST_F(UiTest, ABroadcastGoesOnWhenAHandlerFreesControls) {
    auto* holder = Add<TPanel>("Holder", 0, 0, 300, 200);
    std::vector<std::string> heard;
    std::vector<TCheckBox*> boxes;
    for (const char* name : {"A", "B", "C", "D", "E"})
        boxes.push_back(Add<TCheckBox>(name, 0, 0, 20, 20, holder));
    auto* inner = Add<TCheckBox>("Inner", 0, 0, 20, 20, Add<TPanel>("Last", 0, 0, 50, 50, holder));
    for (TCheckBox* b : boxes) {
        b->WindowProc = [&heard, &boxes, b](TMessage& m) {
            if (m.Msg != CM_FOCUSCHANGED)
                return;
            heard.emplace_back(b->Name());
            if (b == boxes[1])
                delete boxes[3];  // B frees a sibling still to come
            if (b == boxes[2])
                delete b;  // C frees itself
        };
    }
    inner->WindowProc = [&heard](TMessage& m) {
        if (m.Msg == CM_FOCUSCHANGED)
            heard.push_back("Inner");
    };
    TMessage m{CM_FOCUSCHANGED, 0, 0, 0};
    holder->Broadcast(m);
    EXPECT_EQ(heard, (std::vector<std::string>{"A", "B", "C", "E", "Inner"}));
    EXPECT_EQ(holder->ControlCount(), 4);
}

// A handler that frees controls before its own place in the list, or moves one away and back,
// leaves every control after it to hear the message once.
TEST_F(UiTest, ABroadcastReachesEveryLaterControlWhateverAHandlerTakesOut) {
    auto* holder = Add<TPanel>("Holder", 0, 0, 300, 200);
    auto* elsewhere = Add<TPanel>("Elsewhere", 0, 0, 50, 50);
    std::vector<std::string> heard;
    std::vector<TCheckBox*> boxes;
    for (const char* name : {"A", "B", "C", "D", "E", "F"})
        boxes.push_back(Add<TCheckBox>(name, 0, 0, 20, 20, holder));
    for (TCheckBox* b : boxes) {
        b->WindowProc = [&heard, &boxes, b, elsewhere, holder](TMessage& m) {
            if (m.Msg != CM_FOCUSCHANGED)
                return;
            heard.emplace_back(b->Name());
            if (b == boxes[2]) {
                delete boxes[0];  // C frees an earlier sibling and itself
                delete b;
            } else if (b == boxes[3]) {
                b->SetParent(elsewhere);  // D leaves and comes back at the end
                b->SetParent(holder);
            }
        };
    }
    TMessage m{CM_FOCUSCHANGED, 0, 0, 0};
    holder->Broadcast(m);
    EXPECT_EQ(heard, (std::vector<std::string>{"A", "B", "C", "D", "E", "F"}));
    EXPECT_EQ(holder->ControlCount(), 4);
}

// A panel that counts the focus changes its own WndProc sees; one of them says it hears them.
class FocusCountingPanel : public TPanel {
  public:
    explicit FocusCountingPanel(TComponent* owner, bool hears = false) : TPanel(owner) {
        SetHearsFocusChanges(hears);
    }
    int focus_changes = 0;
    void WndProc(TMessage& m) override {
        if (m.Msg == CM_FOCUSCHANGED)
            ++focus_changes;
        TPanel::WndProc(m);
    }
};

TEST_F(UiTest, AFocusChangeReachesTheControlsThatHearItWhereverTheyStand) {
    auto* deaf = new FocusCountingPanel(form);
    deaf->SetParent(form);
    auto* page = Add<TPanel>("Page", 0, 0, 300, 200);
    auto* column = Add<TPanel>("Column", 0, 0, 100, 200, page);
    auto* hearing = new FocusCountingPanel(form, true);
    hearing->SetParent(column);
    auto* box = Add<TCheckBox>("Box", 0, 0, 20, 20, Add<TGroupBox>("Group", 0, 0, 90, 50, column));
    Add<TEdit>("Edit", 0, 210, 80, 24);
    auto* button = Add<TButton>("Button", 100, 210, 80, 24);
    button->SetDefault(true);
    int box_heard = 0;
    TWndMethod old = box->WindowProc;
    box->WindowProc = [&](TMessage& m) {
        if (m.Msg == CM_FOCUSCHANGED)
            ++box_heard;
        old(m);
    };
    form->Show();  // the first focus: counted from here on
    hearing->focus_changes = 0;
    box_heard = 0;
    const auto focus = [&](const char* name) {
        ASSERT_EQ(Run(std::string("focus ") + name + "\n").exit_code, 0) << name;
    };
    focus("Button");
    focus("Edit");
    EXPECT_EQ(deaf->focus_changes, 0);
    EXPECT_EQ(hearing->focus_changes, 2);
    EXPECT_EQ(box_heard, 2) << "a taken-over WindowProc hears it deep inside a page";
    EXPECT_TRUE(button->Active()) << "the default button is framed while an edit has the focus";

    // Given back its own WindowProc, the box hears nothing more: the page holds one hearer.
    box->WindowProc = old;
    EXPECT_EQ(page->FocusHearersInside(), 1);
    // A hearer moved to another container is heard there, once; freed, it leaves no count.
    hearing->SetParent(form);
    EXPECT_EQ(page->FocusHearersInside(), 0);
    focus("Button");
    EXPECT_EQ(box_heard, 2);
    EXPECT_EQ(hearing->focus_changes, 3);
    delete hearing;
    delete button;
    EXPECT_EQ(form->FocusHearersInside(), 0);
    focus("Edit");
    EXPECT_EQ(deaf->focus_changes, 0);
}

// A form whose constructor and OnCreate make pickers while the clock moves on.
class PickerForm : public TForm {
  public:
    explicit PickerForm(TComponent* owner) : TForm(owner) {
        first = new TDateTimePicker(this);
        OnCreate = [this](TObject*) {
            clk::current_manual()->advance(5000);
            second = new TDateTimePicker(this);
        };
    }
    TDateTimePicker* first = nullptr;
    TDateTimePicker* second = nullptr;
};

TEST_F(UiTest, PickersMadeWhileAFormIsCreatedStartAtOneMoment) {
    const clk::LocalTime start = clock_.local_now();
    PickerForm* made = nullptr;
    Application->CreateForm(&made);
    ASSERT_NE(made, nullptr);
    EXPECT_EQ(made->first->Value(), start);
    EXPECT_EQ(made->second->Value(), start) << "the clock is read once for the whole creation";
    // Once the form is made, a new picker reads the clock itself.
    auto* later = new TDateTimePicker(made);
    EXPECT_EQ(later->Value().second, start.second + 5);
    delete made;
}

// A plain control (neither a windowed nor a windowless painting one) among a panel's children
// has nothing to paint: the panel paints around it and its painting children as ever.
TEST_F(UiTest, APlainControlAmongChildrenIsPassedOverWhenTheParentPaints) {
    auto* holder = Add<TPanel>("Holder", 0, 0, 200, 100);
    auto* plain = Add<TControl>("Plain", 10, 10, 50, 30, holder);
    auto* label = Add<TLabel>("Label", 70, 10, 50, 20, holder);
    label->SetCaption("Text");
    form->Show();
    win::UpdateAllWindows();
    holder->Invalidate();
    win::UpdateAllWindows();
    EXPECT_TRUE(plain->Visible());
    EXPECT_EQ(holder->ControlCount(), 2);
}

TEST_F(UiTest, AlignedChildrenAreAlignedWhereverTheyGo) {
    auto* first = Add<TPanel>("First", 0, 0, 200, 100);
    auto* second = Add<TPanel>("Second", 0, 120, 300, 150);
    auto* placed = Add<TPanel>("Placed", 7, 8, 20, 20, first);
    auto* filling = new TPanel(form);
    filling->SetAlign(TAlign::alClient);  // before it has a parent
    filling->SetParent(first);
    EXPECT_EQ(filling->BoundsRect(), gdi::Rect::from_xywh(0, 0, 200, 100));
    EXPECT_EQ(placed->BoundsRect(), gdi::Rect::from_xywh(7, 8, 20, 20));

    filling->SetParent(second);
    second->SetBounds(0, 120, 320, 160);
    EXPECT_EQ(filling->BoundsRect(), gdi::Rect::from_xywh(0, 0, 320, 160));
    auto* top = Add<TPanel>("Top", 0, 0, 50, 30, second);
    top->SetAlign(TAlign::alTop);
    EXPECT_EQ(filling->BoundsRect(), gdi::Rect::from_xywh(0, 30, 320, 130));
    delete top;
    second->SetBounds(0, 120, 330, 160);
    EXPECT_EQ(filling->BoundsRect(), gdi::Rect::from_xywh(0, 0, 330, 160));
    filling->SetAlign(TAlign::alNone);
    second->SetBounds(0, 120, 100, 100);
    EXPECT_EQ(filling->BoundsRect(), gdi::Rect::from_xywh(0, 0, 330, 160));
}

TEST_F(UiTest, TheFirstFocusPassesOverHiddenAndDisabledContainers) {
    auto* hidden = Add<TPanel>("Hidden", 0, 0, 100, 50);
    Add<TEdit>("InHidden", 5, 5, 80, 24, hidden);
    hidden->SetVisible(false);
    auto* disabled = Add<TPanel>("Disabled", 0, 60, 100, 50);
    Add<TEdit>("InDisabled", 5, 5, 80, 24, disabled);
    disabled->SetEnabled(false);
    auto* holder = Add<TPanel>("Holder", 0, 120, 100, 50);
    auto* first = Add<TEdit>("First", 5, 5, 80, 24, holder);
    Add<TEdit>("Second", 110, 5, 80, 24);
    form->Show();
    EXPECT_TRUE(first->Focused());
}

TEST(IndexedName, ArrayNameAndIndices) {
    EXPECT_EQ(IndexedName("EntryOnPicker", 1, 3), "EntryOnPicker1_3");
    EXPECT_EQ(IndexedName("DayPanel", 6), "DayPanel6");
    EXPECT_EQ(IndexedName("Grid", 0, 0), "Grid0_0");
    EXPECT_EQ(IndexedName("Odd", -2147483647 - 1, 2147483647), "Odd-2147483648_2147483647");
    const std::string longest(70, 'N');
    EXPECT_EQ(IndexedName(longest.c_str(), 12, 345), longest + "12_345");
}

TEST_F(UiTest, APickerTakesATimeOfDayAndKeepsItsDate) {
    auto* t = Add<TDateTimePicker>("T", 10, 10, 100, 24);
    t->SetKind(TDateTimeKind::dtkTime);
    t->SetValue({2026, 12, 9, 8, 0, 0, 0, 3});
    const auto expect_time = [&](double time, int hour, int minute, int second) {
        t->SetTime(time);
        EXPECT_EQ(t->Value(), (clk::LocalTime{2026, 12, 9, hour, minute, second, 0, 3})) << time;
    };
    expect_time(0.75, 18, 0, 0);
    expect_time(45000.5 + 1.0 / 86400, 12, 0, 1);  // a date part is left out
    expect_time(-0.25, 6, 0, 0);                   // a negative count's fraction by its size
    expect_time(1.0 - 1e-12, 0, 0, 0);             // just short of midnight
    expect_time((7 * 3600 + 30 * 60 + 59.4) / 86400.0, 7, 30, 59);
    expect_time(std::numeric_limits<double>::quiet_NaN(), 0, 0, 0);
    expect_time(std::numeric_limits<double>::infinity(), 0, 0, 0);
    // Day counts far from today: the fraction as long as a double holds one, then midnight.
    expect_time(4503599627370495.5, 12, 0, 0);
    expect_time(-4503599627370495.5, 12, 0, 0);
    expect_time(4503599627370497.0, 0, 0, 0);
    expect_time(-1e300, 0, 0, 0);
    t->SetTime(13.5 / 24);
    EXPECT_EQ(t->DisplayText(), "13:30:00");
    EXPECT_DOUBLE_EQ(t->DateTime(), clk::date_part({2026, 12, 9}) + 13.5 / 24);
}

// Sizes in points beyond what a height in pixels can hold end at the largest height of their
// sign (a negative size is a cell height), instead of wrapping round to the other sign.
TEST(FontSize, SizesBeyondTheHeightsRangeEndAtItsLimit) {
    constexpr int kMax = std::numeric_limits<int>::max();
    constexpr int kMin = std::numeric_limits<int>::min();
    TFont font;
    font.SetSize(kMax);
    EXPECT_EQ(font.Height(), -kMax);
    EXPECT_GT(font.Size(), 0);
    font.SetSize(kMin);
    EXPECT_EQ(font.Height(), kMax);
    font.SetSize(-1610612736);  // four thirds of it is the negative limit itself
    EXPECT_EQ(font.Height(), kMax);
    font.SetHeight(kMin);
    EXPECT_EQ(font.Size(), 1610612736);
    font.SetSize(-12);
    EXPECT_EQ(font.Height(), 16);
}

}  // namespace
}  // namespace forms
