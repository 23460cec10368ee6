#include <gtest/gtest.h>

#include "app/main_form.h"
#include "forms/button.h"
#include "forms/edit.h"
#include "forms/label.h"
#include "forms/page_control.h"
#include "platform/win/scrollbar.h"
#include "platform/win/styles.h"
#include "platform/win/window.h"
#include "tests/app/main_window_fixture.h"

namespace {

using velmor_test::MainWindowTest;

struct Placement {
    const char* name;
    int left, top, width, height;
};

TEST_F(MainWindowTest, WindowAndControlsStandWhereDesigned) {
    StartWindow();
    EXPECT_EQ(Form1->Caption(), "Velmor Manager");
    EXPECT_EQ(Form1->Left(), 8);
    EXPECT_EQ(Form1->Top(), 30);
    EXPECT_EQ(Form1->Width(), 1265);
    EXPECT_EQ(Form1->Height(), 693);
    EXPECT_EQ(Form1->ClientWidth(), 1259);
    EXPECT_EQ(Form1->ClientHeight(), 664);
    const win::DWORD style =
        static_cast<win::DWORD>(win::GetWindowLongPtr(Form1->Handle(), win::GWL_STYLE));
    EXPECT_TRUE(style & win::WS_MINIMIZEBOX);
    EXPECT_FALSE(style & win::WS_MAXIMIZEBOX);
    EXPECT_FALSE(style & win::WS_THICKFRAME);
    EXPECT_EQ(Form1->Font().Height(), -16);

    const Placement placements[] = {
        {"PageControl1", 12, 3, 1239, 575},   {"Label5", 8, 590, 81, 20},
        {"CB_language", 90, 589, 168, 28},    {"Button7", 1120, 584, 105, 33},
        {"Label13", 33, 52, 86, 25},          {"CB_com", 153, 49, 74, 28},
        {"Bn_ser_conn", 260, 50, 87, 27},     {"Label7", 33, 120, 86, 20},
        {"Ed_ip_address", 125, 117, 129, 28}, {"Bn_ip_conn", 260, 118, 87, 27},
    };
    for (const Placement& p : placements) {
        auto* c = dynamic_cast<forms::TControl*>(Form1->FindComponent(p.name));
        ASSERT_NE(c, nullptr) << p.name;
        EXPECT_EQ(c->Left(), p.left) << p.name;
        EXPECT_EQ(c->Top(), p.top) << p.name;
        EXPECT_EQ(c->Width(), p.width) << p.name;
        EXPECT_EQ(c->Height(), p.height) << p.name;
    }
    // The Port Setup controls sit on the first page.
    EXPECT_EQ(Form1->CB_com->Parent(), Form1->TabSheet1);
    EXPECT_EQ(Form1->Label5->Parent(), Form1);

    // The status bar fills the bottom of the client area.
    EXPECT_EQ(Form1->StatusBar1->Height(), 30);
    EXPECT_EQ(Form1->StatusBar1->Top() + 30, Form1->ClientHeight());
    EXPECT_EQ(Form1->StatusBar1->Width(), Form1->ClientWidth());
    ASSERT_EQ(Form1->StatusBar1->PanelCount(), 5);
    const int widths[] = {200, 150, 150, 150, 70};
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(Form1->StatusBar1->Panels(i).Width(), widths[i]) << i;
    EXPECT_EQ(Panel(0), "Port:");
    EXPECT_EQ(Panel(1), "");
    EXPECT_EQ(Panel(3), "");
}

TEST_F(MainWindowTest, PagesAndListsAreInDesignedOrder) {
    StartWindow();
    ASSERT_EQ(Form1->PageControl1->PageCount(), 4);
    EXPECT_EQ(Form1->PageControl1->Pages(0), Form1->TabSheet1);
    EXPECT_EQ(Form1->PageControl1->Pages(3), Form1->TabSheet4);
    EXPECT_EQ(Form1->PageControl1->ActivePageIndex(), 0);
    EXPECT_EQ(
        Form1->CB_language->Items().List(),
        (std::vector<std::string>{"Chinese (Simplified)", "English", "Chinese (Traditional)"}));
    ASSERT_EQ(Form1->CB_com->Items().Count(), 8);
    EXPECT_EQ(Form1->CB_com->Items()[0], "COM1");
    EXPECT_EQ(Form1->CB_com->Items()[7], "COM8");
    EXPECT_EQ(Form1->CB_com->Style(), forms::TComboBoxStyle::csDropDownList);
    EXPECT_TRUE(Form1->Button7->Cancel());
}

TEST_F(MainWindowTest, TimersRunAtTheirStartUpRates) {
    StartWindow();
    EXPECT_TRUE(Form1->Timer_read232->Enabled());
    EXPECT_EQ(Form1->Timer_read232->Interval(), 10u);
    EXPECT_FALSE(Form1->Timer1->Enabled());
    EXPECT_EQ(Form1->Timer1->Interval(), 1000u);
    EXPECT_TRUE(Form1->Timer2->Enabled());
    EXPECT_EQ(Form1->Timer2->Interval(), 200u);
    EXPECT_TRUE(Form1->Timer3->Enabled());
    EXPECT_EQ(Form1->Timer3->Interval(), 100u);
    EXPECT_EQ(Form1->SerialHandle, serial::INVALID_HANDLE_VALUE);
    EXPECT_FALSE(Form1->ReadSettingsSent);
    EXPECT_FALSE(Form1->PendingFlag);
}

struct ScreenCase {
    int width, height;
    bool horizontal, vertical;
};

class ScreenFitTest : public MainWindowTest, public ::testing::WithParamInterface<ScreenCase> {};

TEST_P(ScreenFitTest, ScrollBarsShowWhereTheScreenIsSmaller) {
    const ScreenCase c = GetParam();
    win::SetScreenSize(c.width, c.height);
    StartWindow();
    EXPECT_EQ(Form1->Width(), 1265);
    EXPECT_EQ(Form1->Height(), 693);
    const win::DWORD style =
        static_cast<win::DWORD>(win::GetWindowLongPtr(Form1->Handle(), win::GWL_STYLE));
    EXPECT_EQ((style & win::WS_HSCROLL) != 0, c.horizontal);
    EXPECT_EQ((style & win::WS_VSCROLL) != 0, c.vertical);
    int min = 0, max = 0;
    if (c.horizontal) {
        win::GetScrollRange(Form1->Handle(), win::SB_HORZ, &min, &max);
        EXPECT_EQ(max, 1265);
    }
    if (c.vertical) {
        win::GetScrollRange(Form1->Handle(), win::SB_VERT, &min, &max);
        EXPECT_EQ(max, 693);
    }
}

INSTANTIATE_TEST_SUITE_P(Screens, ScreenFitTest,
                         ::testing::Values(ScreenCase{1024, 768, true, false},
                                           ScreenCase{1280, 720, false, false},
                                           ScreenCase{1280, 600, false, true},
                                           ScreenCase{1265, 693, false, false},
                                           ScreenCase{800, 600, true, true}));

TEST_F(MainWindowTest, EscapeClosesTheProgram) {
    StartWindow();
    // With a list dropped down, Escape only closes the list.
    Form1->CB_language->SetFocus();
    win::PumpPending();
    PressKey(win::VK_F4);
    ASSERT_TRUE(Form1->CB_language->DroppedDown());
    PressKey(win::VK_ESCAPE);
    EXPECT_FALSE(Form1->CB_language->DroppedDown());
    EXPECT_FALSE(forms::Application->Terminated());
    Form1->Ed_ip_address->SetFocus();
    win::PumpPending();
    PressKey(win::VK_ESCAPE);
    EXPECT_TRUE(forms::Application->Terminated());
}

TEST_F(MainWindowTest, ExitButtonAndCloseBoxEndTheProgram) {
    StartWindow();
    const gdi::Point centre =
        Form1->Button7->ClientToScreen({Form1->Button7->Width() / 2, Form1->Button7->Height() / 2});
    win::InjectClick({centre.x, centre.y});
    win::PumpPending();
    EXPECT_TRUE(forms::Application->Terminated());

    RestartWindow();
    EXPECT_FALSE(forms::Application->Terminated());
    win::SendMessage(Form1->Handle(), win::WM_SYSCOMMAND, win::SC_CLOSE, 0);
    win::PumpPending();
    EXPECT_TRUE(forms::Application->Terminated());
}

}  // namespace
