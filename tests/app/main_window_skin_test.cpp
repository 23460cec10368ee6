// The main window in its skin: what the engine finds on it and which skinning object each
// control gets, the start-up arrays included.
#include <gtest/gtest.h>

#include <map>

#include "app/main_form.h"
#include "forms/date_time_picker.h"
#include "forms/edit.h"
#include "forms/page_control.h"
#include "skin/engine/skin_data.h"
#include "skin/engine/skin_manage.h"
#include "skin/engine/win_skin_form.h"
#include "tests/app/main_window_fixture.h"

namespace {

using velmor_test::MainWindowTest;

// The skinning object the main window's switches give each kind of control.
std::string ExpectedSkin(forms::TControl* c) {
    if (!dynamic_cast<forms::TWinControl*>(c))
        return "none";
    if (auto* p = dynamic_cast<forms::TDateTimePicker*>(c))
        return p->Kind() == forms::TDateTimeKind::dtkTime ? "TSkinEdit" : "TSkinDateTime";
    const std::pair<const char*, const char*> table[] = {
        {"TPageControl", "TSkinTab"},     {"TTabSheet", "TSkinTabSheet"},
        {"TGroupBox", "TSkinGroupBox"},   {"TCheckBox", "TSkinCheckBox"},
        {"TStatusBar", "TSkinStatusBar"}, {"TComboBox", "TSkinComBox"},
        {"TPanel", "TSkinBox"},           {"TButton", "TSkinButton"},
        {"TEdit", "TSkinEdit"},
    };
    for (const auto& [cls, skin] : table)
        if (c->InheritsFrom(cls))
            return skin;
    return "none";
}

TEST_F(MainWindowTest, TheSkinTakesTheWindowOverWithOneObjectPerControl) {
    StartWindow();
    ASSERT_NE(Form1->SkinData1, nullptr);
    EXPECT_TRUE(Form1->SkinData1->Active());
    EXPECT_FALSE(Form1->SkinData1->SkinControls.has(skin::xcSystemMenu));
    skin::TSkinManage* manager = skin::TSkinManage::Instance();
    ASSERT_NE(manager, nullptr);
    skin::TWinSkinForm* sf = manager->FindForm(Form1->Handle());
    ASSERT_NE(sf, nullptr);
    EXPECT_EQ(gdi::Color(Form1->Color()), Form1->SkinData1->Color(skin::csButtonFace));

    // The take-over makes no windows of pages not shown yet; a page's controls get their
    // skinning objects as its windows are made, before it is painted (no message is pumped).
    const int front = Form1->PageControl1->ActivePageIndex();
    for (int i = 0; i < Form1->PageControl1->PageCount(); ++i) {
        forms::TTabSheet* page = Form1->PageControl1->Pages(i);
        if (i != front) {
            EXPECT_FALSE(page->HandleAllocated()) << page->Name();
        }
        Form1->PageControl1->SetActivePageIndex(i);
        for (forms::TControl* c : page->ControlList()) {
            auto* wc = dynamic_cast<forms::TWinControl*>(c);
            if (!wc || !wc->Visible())
                continue;
            EXPECT_TRUE(wc->HandleAllocated()) << wc->Name();
            skin::TSkinControl* sc = sf->SkinOf(wc);
            EXPECT_EQ(sc ? std::string(sc->ClassName()) : "none", ExpectedSkin(wc)) << wc->Name();
        }
    }
    Form1->PageControl1->SetActivePageIndex(front);

    size_t windowed = 0;
    std::map<std::string, int> counts;
    for (forms::TComponent* comp : Form1->ComponentList()) {
        auto* c = dynamic_cast<forms::TControl*>(comp);
        if (!c)
            continue;
        skin::TSkinControl* sc = sf->SkinOf(c);
        const std::string got = sc ? std::string(sc->ClassName()) : "none";
        EXPECT_EQ(got, ExpectedSkin(c)) << c->Name() << " (" << c->ClassName() << ")";
        if (dynamic_cast<forms::TWinControl*>(c))
            ++windowed;
        ++counts[got];
    }
    EXPECT_EQ(sf->Controllist.size(), windowed);
    EXPECT_EQ(counts["TSkinTab"], 1);
    EXPECT_EQ(counts["TSkinTabSheet"], 4);
    EXPECT_EQ(counts["TSkinStatusBar"], 1);
    EXPECT_GE(counts["TSkinEdit"], 34 + 2);  // the delay grid and the two time pickers
    EXPECT_GE(counts["TSkinCheckBox"], 34);  // the minutes boxes
    EXPECT_EQ(std::string(sf->SkinOf(Form1->DateTimePicker1)->ClassName()), "TSkinDateTime");
    EXPECT_EQ(std::string(sf->SkinOf(Form1->DateTimePicker2)->ClassName()), "TSkinEdit");
    EXPECT_EQ(std::string(sf->SkinOf(Form1->DelayEdit[1][16])->ClassName()), "TSkinEdit");
}

}  // namespace
