// Controls that show a value inside a range: their properties, their windows' messages and
// their plain look.
#include "ui_fixture.h"

#include "platform/win/message.h"
#include "platform/win/metrics.h"
#include "platform/win/painting.h"
#include "platform/win/scrollbar.h"
#include "platform/win/window.h"

namespace forms {
namespace {

gdi::Color ScreenPixel(TControl* c, int x, int y) {
    win::UpdateAllWindows();
    const gdi::Point p = c->ClientToScreen({x, y});
    return win::ComposeScreen().color_at(p.x, p.y);
}

TEST_F(UiTest, AProgressBarKeepsItsPositionInsideMinAndMax) {
    auto* bar = Add<TProgressBar>("Bar", 10, 10, 200, 18);
    form->Show();
    EXPECT_EQ(bar->Min(), 0);
    EXPECT_EQ(bar->Max(), 100);
    bar->SetPosition(140);
    EXPECT_EQ(bar->Position(), 100);
    // Min set above Max (one property at a time, as a designer sets them): the bar is empty at
    // Min until Max follows, and nothing is lost.
    bar->SetMin(300);
    EXPECT_EQ(bar->Position(), 300);
    EXPECT_EQ(bar->Max(), 100);
    bar->SetMax(400);
    bar->SetPosition(350);
    EXPECT_EQ(bar->Position(), 350);
    bar->SetStep(60);
    bar->StepIt();
    EXPECT_EQ(bar->Position(), 310) << "past Max the steps start over from Min";
    bar->StepBy(-1000);
    EXPECT_EQ(bar->Position(), 300);
    // The window answers the system's messages with the same numbers, both ways.
    win::HWND h = bar->Handle();
    EXPECT_EQ(win::SendMessage(h, win::PBM_GETPOS, 0, 0), 300);
    win::SendMessage(h, win::PBM_SETRANGE32, 0, 50);
    win::SendMessage(h, win::PBM_SETPOS, 25, 0);
    EXPECT_EQ(bar->Min(), 0);
    EXPECT_EQ(bar->Max(), 50);
    EXPECT_EQ(bar->Position(), 25);
    EXPECT_EQ(bar->GetPropText("Position"), "25");
    EXPECT_TRUE(bar->SetPropText("Max", "$64"));
    EXPECT_EQ(bar->Max(), 100);
    EXPECT_FALSE(bar->SetPropText("Max", "lots"));
    EXPECT_EQ(bar->Max(), 100);
}

TEST_F(UiTest, AProgressBarsOrientationAndSmoothnessReachItsWindowAndItsLook) {
    auto* bar = Add<TProgressBar>("Bar", 10, 10, 20, 120);
    form->Show();
    bar->SetSmooth(true);
    bar->SetOrientation(TProgressBarOrientation::pbVertical);
    bar->SetPosition(50);
    const auto style =
        static_cast<win::DWORD>(win::GetWindowLongPtr(bar->Handle(), win::GWL_STYLE));
    EXPECT_TRUE(style & win::PBS_VERTICAL);
    EXPECT_TRUE(style & win::PBS_SMOOTH);
    EXPECT_EQ(bar->GetPropText("Orientation"), "pbVertical");
    const gdi::Color highlight = win::GetSysColor(win::COLOR_HIGHLIGHT);
    EXPECT_EQ(ScreenPixel(bar, 10, 110), highlight);
    EXPECT_NE(ScreenPixel(bar, 10, 10), highlight);
    bar->SetOrientation(TProgressBarOrientation::pbHorizontal);
    EXPECT_FALSE(static_cast<win::DWORD>(win::GetWindowLongPtr(bar->Handle(), win::GWL_STYLE)) &
                 win::PBS_VERTICAL);
    // A bar sized to nothing paints nothing and survives.
    bar->SetBounds(10, 10, 0, 0);
    EXPECT_NE(ScreenPixel(form, 5, 5), highlight);
}

}  // namespace
}  // namespace forms

namespace forms {
namespace {

TEST_F(UiTest, ATrackBarMovesForTheOperatorAndTellsOnlyOfTheOperatorsMoves) {
    form->HorzScrollBar.Visible = true;
    form->HorzScrollBar.Range = 2000;
    form->ApplyScrollBars();
    auto* bar = Add<TTrackBar>("Track", 10, 10, 200, 45);
    auto* other = Add<TButton>("Other", 10, 100, 80, 25);
    int changes = 0;
    bar->OnChange = [&](TObject*) { ++changes; };
    form->Show();
    EXPECT_EQ(bar->Max(), 10);
    EXPECT_EQ(bar->PageSize(), 2);
    bar->SetPosition(5);
    EXPECT_EQ(changes, 0) << "set by code: no event";
    auto r =
        Run("focus Track\nkey Right\nkey Right\nkey End\nkey Left\nkey Home\nkey Home\nkey Tab\n");
    EXPECT_EQ(r.exit_code, 0) << r.report;
    EXPECT_EQ(bar->Position(), 0);
    EXPECT_EQ(changes, 5) << "the second Home did not move it";
    EXPECT_TRUE(other->Focused()) << "Tab still leaves the bar";
    // The bar's reports to the form are not requests to scroll the form.
    EXPECT_EQ(win::GetScrollPos(form->Handle(), win::SB_HORZ), 0);
    // A press beside the thumb pages towards it.
    r = Run("click Track\n");
    EXPECT_EQ(r.exit_code, 0) << r.report;
    EXPECT_EQ(bar->Position(), 2);
    EXPECT_EQ(bar->GetPropText("Position"), "2");
}

TEST_F(UiTest, ATrackBarsRangeHoldsAgainstOddInput) {
    auto* bar = Add<TTrackBar>("Track", 10, 10, 200, 45);
    form->Show();
    bar->SetMin(20);  // above Max: the thumb rests at Min until Max follows
    EXPECT_EQ(bar->Position(), 20);
    bar->SetMax(40);
    bar->SetPosition(1 << 30);
    EXPECT_EQ(bar->Position(), 40);
    win::SendMessage(bar->Handle(), win::TBM_SETPOS, win::TRUE, -7);
    EXPECT_EQ(bar->Position(), 20);
    bar->SetOrientation(TTrackBarOrientation::trVertical);
    EXPECT_TRUE(static_cast<win::DWORD>(win::GetWindowLongPtr(bar->Handle(), win::GWL_STYLE)) &
                win::TBS_VERT);
    bar->SetBounds(10, 10, 0, 0);
    win::UpdateAllWindows();
    EXPECT_EQ(bar->Position(), 20);
}

}  // namespace
}  // namespace forms

namespace forms {
namespace {

TEST_F(UiTest, AHeadersSectionsClickAndResizeForTheOperator) {
    auto* header = Add<THeaderControl>("Header", 0, 0, 300, 20);
    header->AddSection("Channel", 100);
    header->AddSection("Delay", 80).SetAlignment(TAlignment::taRightJustify);
    std::vector<std::string> clicked;
    int resized = -1;
    header->OnSectionClick = [&](THeaderControl*, THeaderSection* s) {
        clicked.push_back(s->Text());
    };
    header->OnSectionResize = [&](THeaderControl*, THeaderSection* s) { resized = s->Index(); };
    form->Show();
    EXPECT_EQ(header->Top(), 0) << "along the top of its parent";
    EXPECT_EQ(header->Width(), form->ClientWidth());
    const gdi::Point on_delay = header->ClientToScreen({140, 10});
    win::InjectClick(on_delay);
    win::PumpPending();
    EXPECT_EQ(clicked, std::vector<std::string>{"Delay"});
    // The window's messages see the same sections.
    win::HWND h = header->Handle();
    EXPECT_EQ(win::SendMessage(h, win::HDM_GETITEMCOUNT, 0, 0), 2);
    win::HDITEM item;
    item.mask = win::HDI_TEXT | win::HDI_WIDTH;
    item.pszText = "Ready";
    item.cxy = 60;
    win::SendMessage(h, win::HDM_INSERTITEM, 1, reinterpret_cast<win::LPARAM>(&item));
    ASSERT_EQ(header->SectionCount(), 3);
    EXPECT_EQ(header->Sections(1).Text(), "Ready");
    EXPECT_EQ(header->Sections(2).Alignment(), TAlignment::taRightJustify);
    // A divider dragged by the mouse.
    win::SendMessage(h, win::WM_LBUTTONDOWN, win::MK_LBUTTON, win::MAKELPARAM(100, 10));
    win::SendMessage(h, win::WM_MOUSEMOVE, win::MK_LBUTTON, win::MAKELPARAM(130, 10));
    win::SendMessage(h, win::WM_LBUTTONUP, 0, win::MAKELPARAM(130, 10));
    EXPECT_EQ(resized, 0);
    EXPECT_EQ(header->Sections(0).Width(), 130);
    header->DeleteSection(0);
    header->DeleteSection(9);
    EXPECT_EQ(header->SectionCount(), 2);
    EXPECT_EQ(header->Sections(0).Text(), "Ready");
    EXPECT_EQ(header->SectionRect(1).left, 60);
    header->Sections(0).SetWidth(-5);
    EXPECT_EQ(header->Sections(0).Width(), 0);
}

// A track bar's thumb or a header's divider held when the window goes is not held by the
// window made anew: moves over it change nothing, and nothing is lit.
TEST_F(UiTest, ATrackBarOrHeaderWindowMadeAnewHoldsNothing) {
    auto* bar = Add<TTrackBar>("Track", 10, 40, 200, 45);
    auto* header = Add<THeaderControl>("Header", 0, 0, 300, 20);
    header->AddSection("Channel", 100);
    form->Show();
    bar->SetPosition(5);
    win::RECT thumb;
    win::SendMessage(bar->Handle(), win::TBM_GETTHUMBRECT, 0,
                     reinterpret_cast<win::LPARAM>(&thumb));
    const int x = (thumb.left + thumb.right) / 2, y = (thumb.top + thumb.bottom) / 2;
    win::SendMessage(bar->Handle(), win::WM_MOUSEMOVE, 0, win::MAKELPARAM(x, y));
    win::SendMessage(bar->Handle(), win::WM_LBUTTONDOWN, win::MK_LBUTTON, win::MAKELPARAM(x, y));
    ASSERT_TRUE(bar->State().dragging);
    win::DestroyWindow(bar->Handle());
    ASSERT_NE(bar->Handle(), nullptr);
    EXPECT_FALSE(bar->State().dragging);
    EXPECT_FALSE(bar->State().hot);
    win::SendMessage(bar->Handle(), win::WM_MOUSEMOVE, 0, win::MAKELPARAM(x + 60, y));
    EXPECT_EQ(bar->Position(), 5);

    win::SendMessage(header->Handle(), win::WM_MOUSEMOVE, 0, win::MAKELPARAM(50, 10));
    ASSERT_EQ(header->State().hot, 0);
    win::SendMessage(header->Handle(), win::WM_LBUTTONDOWN, win::MK_LBUTTON,
                     win::MAKELPARAM(100, 10));
    ASSERT_EQ(header->State().tracking, 0);
    win::DestroyWindow(header->Handle());
    ASSERT_NE(header->Handle(), nullptr);
    EXPECT_EQ(header->State().tracking, -1);
    EXPECT_EQ(header->State().hot, -1);
    win::SendMessage(header->Handle(), win::WM_MOUSEMOVE, 0, win::MAKELPARAM(150, 10));
    EXPECT_EQ(header->Sections(0).Width(), 100);
}

}  // namespace
}  // namespace forms
