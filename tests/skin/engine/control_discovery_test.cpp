// Which controls of a taken-over form get which skinning object.
#include <gtest/gtest.h>

#include "forms/button.h"
#include "forms/date_time_picker.h"
#include "forms/edit.h"
#include "forms/label.h"
#include "forms/page_control.h"
#include "forms/panel.h"
#include "forms/status_bar.h"
#include "platform/win/scrollbar.h"
#include "platform/win/styles.h"
#include "skin/engine/skin_button.h"
#include "skin/engine/skin_scroll_bar.h"
#include "skin/engine/skin_tab.h"
#include "skin/skin_draw.h"
#include "tests/skin/engine/skin_engine_fixture.h"

namespace {

// Classes of other libraries, as the table and the mapping know them by name.
class TRadioGroup : public forms::TGroupBox {
    FORMS_CLASS(TRadioGroup, forms::TGroupBox)
  public:
    using forms::TGroupBox::TGroupBox;
};
class TFancyButton : public forms::TButton {
    FORMS_CLASS(TFancyButton, forms::TButton)
  public:
    using forms::TButton::TButton;
};
class TOddButton : public forms::TButton {
    FORMS_CLASS(TOddButton, forms::TButton)
  public:
    using forms::TButton::TButton;
};
class TButtonTabs : public forms::TPageControl {
    FORMS_CLASS(TButtonTabs, forms::TPageControl)
  public:
    using forms::TPageControl::TPageControl;
    std::optional<std::string> GetPropText(std::string_view name) const override {
        if (name == "Style")
            return "tsButtons";
        return forms::TPageControl::GetPropText(name);
    }
};
class TUpDownPicker : public forms::TDateTimePicker {
    FORMS_CLASS(TUpDownPicker, forms::TDateTimePicker)
  public:
    using forms::TDateTimePicker::TDateTimePicker;
    std::optional<std::string> GetPropText(std::string_view name) const override {
        if (name == "DateMode")
            return "dmUpDown";
        return forms::TDateTimePicker::GetPropText(name);
    }
};

// A scrolling control of another library: standard scroll bars, one line a click.
class TMemo : public forms::TWinControl {
    FORMS_CLASS(TMemo, forms::TWinControl)
  public:
    using forms::TWinControl::TWinControl;
    int scrolls = 0;
    void WndProc(forms::TMessage& m) override {
        if (m.Msg == win::WM_VSCROLL) {
            if (win::LOWORD(m.WParam) == win::SB_LINEDOWN) {
                ++scrolls;
                win::SetScrollPos(Handle(), win::SB_VERT,
                                  win::GetScrollPos(Handle(), win::SB_VERT) + 1, true);
            }
            return;
        }
        forms::TWinControl::WndProc(m);
    }

  protected:
    void CreateParams(forms::TCreateParams& p) override {
        forms::TWinControl::CreateParams(p);
        p.style |= win::WS_VSCROLL | win::WS_HSCROLL;
    }
};
class TListView : public TMemo {
    FORMS_CLASS(TListView, TMemo)
  public:
    using TMemo::TMemo;
};
class TScroller : public TMemo {
    FORMS_CLASS(TScroller, TMemo)
  public:
    using TMemo::TMemo;
};

}  // namespace

namespace skin::test {
namespace {

TEST_F(SkinUiTest, DisableTagKeepsAControlAndARadioGroupsButtonsUnskinned) {
    auto* kept = Add<forms::TButton>("Kept", 10, 10, 80, 25);
    kept->SetTag(99);
    auto* group = Add<TRadioGroup>("G", 10, 50, 200, 100);
    group->SetTag(99);
    auto* inside = Add<forms::TCheckBox>("In", 10, 20, 100, 20, group);
    auto* skinned = Add<forms::TButton>("S", 100, 10, 80, 25);
    ShowSkinned();
    EXPECT_EQ(SkinClass(kept), "none");
    EXPECT_EQ(SkinClass(group), "none");
    EXPECT_EQ(inside->Tag(), 99);
    EXPECT_EQ(SkinClass(inside), "none");
    EXPECT_EQ(SkinClass(skinned), "TSkinButton");
}

TEST_F(SkinUiTest, MappingLinesBeatTheTableAndNilOrUnknownKindsLeaveAClassAlone) {
    data->Skin3rd.push_back("TFancyButton=Edit");
    data->Skin3rd.push_back("TOddButton=nil");
    data->Skin3rd.push_back("TOddButton=button");  // the first matching line counts
    auto* fancy = Add<TFancyButton>("F", 10, 10, 80, 25);
    auto* odd = Add<TOddButton>("O", 100, 10, 80, 25);
    auto* plain = Add<forms::TButton>("P", 190, 10, 80, 25);
    ShowSkinned();
    EXPECT_EQ(SkinClass(fancy), "TSkinEdit");
    EXPECT_EQ(SkinClass(odd), "none");
    EXPECT_EQ(SkinClass(plain), "TSkinButton");
    EXPECT_EQ(DefaultSkin3rd().size(), 118u);
    EXPECT_EQ(DefaultSkin3rd().front(), "TCategoryButtons=scrollbar");
}

TEST_F(SkinUiTest, UnknownKindIsHandledAndLeftUnskinned) {
    data->Skin3rd.insert(data->Skin3rd.begin(), "TButton=wobble");
    auto* b = Add<forms::TButton>("B", 10, 10, 80, 25);
    ShowSkinned();
    EXPECT_EQ(SkinClass(b), "none");
}

TEST_F(SkinUiTest, TabsPickersAndContainersGetTheirMembers) {
    auto* tabs = Add<forms::TPageControl>("Tabs", 10, 10, 200, 100);
    auto* sheet = new forms::TTabSheet(form);
    sheet->SetPageControl(tabs);
    sheet->SetCaption("one");
    auto* button_tabs = Add<TButtonTabs>("BTabs", 220, 10, 200, 100);
    auto* date = Add<forms::TDateTimePicker>("D", 10, 120, 120, 24);
    auto* time = Add<forms::TDateTimePicker>("T", 140, 120, 120, 24);
    time->SetKind(forms::TDateTimeKind::dtkTime);
    auto* updown = Add<TUpDownPicker>("U", 270, 120, 120, 24);
    auto* panel = Add<forms::TPanel>("P", 10, 150, 200, 60);
    auto* group = Add<forms::TGroupBox>("G", 220, 150, 200, 60);
    auto* label = Add<forms::TLabel>("L", 10, 5, 80, 20, panel);
    auto* bar = Add<forms::TStatusBar>("Bar", 0, 300, 400, 20);
    const forms::TColor panel_colour = panel->Color();
    ShowSkinned();
    EXPECT_EQ(SkinClass(tabs), "TSkinTab");
    EXPECT_EQ(SkinClass(sheet), "TSkinTabSheet");
    EXPECT_EQ(SkinClass(button_tabs), "TSkinTabBtn");
    EXPECT_EQ(SkinClass(date), "TSkinDateTime");
    EXPECT_EQ(SkinClass(time), "TSkinEdit");
    EXPECT_EQ(SkinClass(updown), "TSkinEdit");
    EXPECT_EQ(SkinClass(panel), "TSkinBox");
    EXPECT_EQ(SkinClass(group), "TSkinGroupBox");
    EXPECT_EQ(SkinClass(label), "none");
    EXPECT_EQ(SkinClass(bar), "TSkinStatusBar");
    EXPECT_EQ(gdi::Color(panel->Color()), data->Color(csButtonFace));
    // Each control once: a second scan adds nothing.
    const size_t count = Skinned()->Controllist.size();
    Skinned()->InitControls(form);
    EXPECT_EQ(Skinned()->Controllist.size(), count);
    data->SetActive(false);
    win::RunFor(300);
    EXPECT_EQ(panel->Color(), panel_colour);
}

TEST_F(SkinUiTest, ControlsFreedWhileSkinnedLeaveNothingBehind) {
    auto* b = Add<forms::TButton>("B", 10, 10, 80, 25);
    auto* e = Add<forms::TEdit>("E", 10, 40, 80, 24);
    ShowSkinned();
    delete b;
    delete e;
    win::PumpPending();
    Skinned()->InitControls(form);
    EXPECT_TRUE(Skinned()->Controllist.empty());
    auto* again = Add<forms::TButton>("B2", 10, 10, 80, 25);
    data->UpdateSkinControl(form, nullptr);
    EXPECT_EQ(SkinClass(again), "TSkinButton");
}

TEST_F(SkinUiTest, TabsWithCloseButtonsAreWideEnoughForCaptionAndButton) {
    auto* plain = Add<forms::TPageControl>("Plain", 10, 10, 300, 100);
    auto* closing = Add<forms::TPageControl>("Closing", 10, 120, 300, 100);
    closing->SetTag(kTabCloseButtonsTag);
    for (auto* pc : {plain, closing}) {
        for (const char* caption : {"Alpha", "Timer Task"}) {
            auto* sheet = new forms::TTabSheet(form);
            sheet->SetPageControl(pc);
            sheet->SetCaption(caption);
        }
        pc->SetActivePageIndex(1);
    }
    ShowSkinned();
    win::UpdateAllWindows();
    gdi::Bitmap scratch(1, 1);
    gdi::DC dc(scratch);
    dc.select_font(closing->Font().ToGdi());
    for (int i = 0; i < 2; ++i) {
        const gdi::Rect tab = closing->TabRect(i);
        EXPECT_EQ(tab.width(), plain->TabRect(i).width() + TSkinTab::CloseButtonRoom());
        // The caption, centred in the part left of the button, keeps 6 pixels either side.
        const int text = dc.get_text_extent(closing->Pages(i)->Caption()).cx;
        const int free = TSkinTab::CloseButtonRect(tab).left - tab.left;
        EXPECT_GE(free - text, 12) << "tab " << i;
    }
    // Without the tag the tabs take their plain widths again.
    closing->SetTag(0);
    closing->Invalidate();
    win::UpdateAllWindows();
    EXPECT_EQ(closing->TabRect(0).width(), plain->TabRect(0).width());
}

TEST_F(SkinUiTest, CloseButtonsOnTabsAskTheWindowAndFreeThePageOnlyWhenItAgrees) {
    auto* pc = Add<forms::TPageControl>("PC", 10, 10, 400, 200);
    pc->SetTag(kTabCloseButtonsTag);
    std::vector<forms::TTabSheet*> pages;
    for (const char* caption : {"One", "Two", "Three"}) {
        auto* page = new forms::TTabSheet(form);
        page->SetCaption(caption);
        page->SetPageControl(pc);
        pages.push_back(page);
    }
    std::vector<std::pair<win::WPARAM, win::LPARAM>> asked;
    win::LRESULT answer = 1;
    forms::TWndMethod previous = form->WindowProc;
    form->WindowProc = [&](forms::TMessage& m) {
        if (m.Msg == CN_TabClose) {
            asked.emplace_back(m.WParam, m.LParam);
            m.Result = answer;
            return;
        }
        previous(m);
    };
    ShowSkinned();
    auto* tab = dynamic_cast<TSkinTab*>(SkinOf(pc));
    ASSERT_NE(tab, nullptr);
    ASSERT_TRUE(tab->HasCloseButtons());
    auto centre = [&](int i) {
        const gdi::Rect b = TSkinTab::CloseButtonRect(pc->TabRect(i));
        return pc->ClientToScreen({(b.left + b.right) / 2, (b.top + b.bottom) / 2});
    };
    // The window says no: the page stays, and the press did not change the page either.
    win::InjectClick(centre(1));
    win::PumpPending();
    ASSERT_EQ(asked.size(), 1u);
    EXPECT_EQ(asked[0].first, win::HandleToWParam(pc->Handle()));
    EXPECT_EQ(asked[0].second, 1);
    EXPECT_EQ(pc->PageCount(), 3);
    EXPECT_EQ(pc->ActivePageIndex(), 0);
    // A press on the button released elsewhere asks nothing.
    win::InjectMouse(win::MouseAction::Move, centre(2));
    win::InjectMouse(win::MouseAction::LeftDown, centre(2));
    win::InjectMouse(win::MouseAction::Move, pc->ClientToScreen({200, 150}));
    win::InjectMouse(win::MouseAction::LeftUp, pc->ClientToScreen({200, 150}));
    win::PumpPending();
    EXPECT_EQ(asked.size(), 1u);
    // The window agrees: that page is freed, the others stay.
    answer = 0;
    forms::TComponentTracker second(pages[1]);
    win::InjectClick(centre(1));
    win::PumpPending();
    EXPECT_EQ(asked.size(), 2u);
    EXPECT_TRUE(second.Deleted());
    ASSERT_EQ(pc->PageCount(), 2);
    EXPECT_EQ(pc->Pages(1), pages[2]);
    // A handler that frees the whole page control on the way leaves nothing to act on.
    form->WindowProc = [&](forms::TMessage& m) {
        if (m.Msg == CN_TabClose) {
            delete pc;
            m.Result = 0;
            return;
        }
        previous(m);
    };
    win::InjectClick(centre(0));
    win::PumpPending();
    EXPECT_EQ(form->FindComponent("PC"), nullptr);
    form->WindowProc = previous;
}

TEST_F(SkinUiTest, ScrollingControlsGetTheirBarsSkinnedAndStillScroll) {
    auto* memo = Add<TMemo>("M", 10, 10, 150, 120);
    auto* list = Add<TListView>("LV", 200, 10, 150, 120);
    auto* single = Add<TScroller>("S", 10, 150, 150, 100);
    data->Skin3rd.push_back("TScroller=singlescrollbar");
    win::SCROLLINFO si;
    si.fMask = win::SIF_RANGE | win::SIF_PAGE;
    si.nMax = 40;
    si.nPage = 10;
    win::SetScrollInfo(memo->Handle(), win::SB_VERT, &si, true);
    win::SetScrollInfo(memo->Handle(), win::SB_HORZ, &si, true);
    ShowSkinned();
    EXPECT_EQ(SkinClass(memo), "TSkinScrollbar");
    EXPECT_EQ(SkinClass(list), "TSkinListView");
    EXPECT_EQ(SkinClass(single), "TSkinScrollbar");
    auto* sb = dynamic_cast<TSkinScrollbar*>(SkinOf(memo));
    ASSERT_NE(sb, nullptr);

    const gdi::Rect wr = win::GetWindowRect(memo->Handle());
    const gdi::Rect bar = TWScrollbar::BarRect(memo->Handle(), win::SB_VERT);
    ASSERT_FALSE(bar.empty());
    win::SCROLLINFO now;
    now.fMask = win::SIF_ALL;
    ASSERT_TRUE(win::GetScrollInfo(memo->Handle(), win::SB_VERT, &now));
    const TScrollBarLayout l = TWScrollbar::Layout(bar, true, now);
    const TDataSkinObject& arrows = *data->SArrow;
    auto arrow_image = [&](int state) {
        return GetHMap(l.arrow2.width(), l.arrow2.height(), arrows.Map, false, arrows.Tile != 0,
                       arrows.frame, state, arrows.r)
            .color_at(1, 1);
    };
    auto on_screen = [&] {
        win::UpdateAllWindows();
        return win::ComposeScreen().color_at(wr.left + l.arrow2.left + 1,
                                             wr.top + l.arrow2.top + 1);
    };
    EXPECT_EQ(on_screen(), arrow_image(5));

    // Hover, then a click that still reaches the control, then leaving the bar.
    const gdi::Point down{wr.left + (l.arrow2.left + l.arrow2.right) / 2,
                          wr.top + (l.arrow2.top + l.arrow2.bottom) / 2};
    win::InjectMouse(win::MouseAction::Move, down);
    win::PumpPending();
    EXPECT_EQ(sb->HotBar(), win::SB_VERT);
    EXPECT_EQ(sb->Hot(), TScrollPart::LineDown);
    EXPECT_EQ(on_screen(), arrow_image(6));
    win::InjectClick(down);
    win::PumpPending();
    EXPECT_EQ(memo->scrolls, 1);
    EXPECT_EQ(win::GetScrollPos(memo->Handle(), win::SB_VERT), 1);
    EXPECT_EQ(sb->Pressed(), TScrollPart::None);
    win::InjectMouse(win::MouseAction::Move, memo->ClientToScreen({20, 20}));
    win::PumpPending();
    EXPECT_EQ(sb->Hot(), TScrollPart::None);
    EXPECT_EQ(on_screen(), arrow_image(5));
}

TEST_F(SkinUiTest, ScrollingControlsKeepTheSystemBarsWithoutTheScrollBarSwitch) {
    data->SkinControls.exclude(xcScrollbar);
    auto* memo = Add<TMemo>("M", 10, 10, 150, 120);
    ShowSkinned();
    EXPECT_EQ(SkinClass(memo), "none");
}

TEST_F(SkinUiTest, ControlsFreedDuringTheScanThatFoundThemAreNeverTouched) {
    // An application's handler, asked about the first button, makes a panel with an edit on
    // the shown form (its windows are announced while the scan runs) and frees it again, and
    // frees a control the scan has not reached yet. The scan takes in what is left.
    auto* trigger = Add<forms::TButton>("Trigger", 10, 10, 80, 25);
    auto* victim = Add<forms::TButton>("Victim", 10, 40, 80, 25);
    auto* kept = Add<forms::TEdit>("Kept", 10, 70, 80, 24);
    bool done = false;
    data->OnSkinControl = [&](forms::TComponent*, TSkinData*, forms::TControl*,
                              forms::TControl* control, const std::string&, TSkinControl*&) {
        if (control != trigger || done)
            return;
        done = true;
        auto* made = Add<forms::TPanel>("Made", 200, 10, 100, 60);
        Add<forms::TEdit>("MadeEdit", 5, 5, 80, 24, made);
        ASSERT_TRUE(made->HandleAllocated());
        delete made;
        delete victim;
    };
    ShowSkinned();
    ASSERT_TRUE(done);
    EXPECT_EQ(SkinClass(trigger), "TSkinButton");
    EXPECT_EQ(SkinClass(kept), "TSkinEdit");
    EXPECT_EQ(Skinned()->Controllist.size(), 2u);
}

TEST_F(SkinUiTest, HandlerThatFreesTheControlItIsAskedAboutLeavesNoSkinningObject) {
    auto* doomed = Add<forms::TButton>("Doomed", 10, 10, 80, 25);
    auto* kept = Add<forms::TButton>("Kept", 10, 40, 80, 25);
    data->OnSkinControl = [&](forms::TComponent*, TSkinData*, forms::TControl*,
                              forms::TControl* control, const std::string&,
                              TSkinControl*& supplied) {
        if (control == doomed) {
            supplied = new TSkinButton();
            delete doomed;
        }
    };
    ShowSkinned();
    EXPECT_EQ(SkinClass(kept), "TSkinButton");
    EXPECT_EQ(Skinned()->Controllist.size(), 1u);
}

}  // namespace
}  // namespace skin::test
