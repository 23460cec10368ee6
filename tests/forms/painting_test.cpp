#include "platform/win/painting.h"
#include "forms/painter.h"
#include "platform/win/metrics.h"
#include "platform/win/scrollbar.h"
#include "platform/win/styles.h"
#include "ui_fixture.h"

namespace forms {
namespace {

painter::Scheme S() {
    return painter::scheme();
}

TEST(Painter, ButtonEdgesFaceAndPressedLook) {
    gdi::Bitmap bmp(40, 20, 0xFF000000u);
    gdi::DC dc(bmp);
    painter::draw_button(dc, {0, 0, 40, 20}, "", painter::kNormal, 0);
    EXPECT_EQ(bmp.color_at(0, 0), S().highlight);
    EXPECT_EQ(bmp.color_at(39, 19), S().dark_shadow);
    EXPECT_EQ(bmp.color_at(38, 18), S().shadow);
    EXPECT_EQ(bmp.color_at(20, 10), S().face);
    painter::draw_button(dc, {0, 0, 40, 20}, "", painter::kDefault | painter::kPressed, 0);
    EXPECT_EQ(bmp.color_at(0, 0), S().frame);   // the default button's black frame
    EXPECT_EQ(bmp.color_at(1, 1), S().shadow);  // pressed: a flat shadow frame
    EXPECT_EQ(bmp.color_at(38, 18), S().shadow);
}

TEST(Painter, CheckMarkOnlyWhenCheckedAndGreyWhenDisabled) {
    gdi::Bitmap bmp(13, 13, 0xFF000000u);
    gdi::DC dc(bmp);
    auto mark_pixels = [&](gdi::Color c) {
        int n = 0;
        for (int y = 2; y < 11; ++y)
            for (int x = 2; x < 11; ++x)
                n += bmp.color_at(x, y) == c;
        return n;
    };
    painter::draw_check_box(dc, {0, 0}, painter::kNormal);
    EXPECT_EQ(mark_pixels(S().window), 81);
    painter::draw_check_box(dc, {0, 0}, painter::kChecked);
    EXPECT_EQ(mark_pixels(S().window_text), 21);
    painter::draw_check_box(dc, {0, 0}, painter::kChecked | painter::kDisabled);
    EXPECT_EQ(mark_pixels(S().window_text), 0);
    EXPECT_EQ(mark_pixels(S().shadow), 21);
    EXPECT_EQ(bmp.color_at(6, 2), S().face);  // disabled box: face, not window
}

TEST_F(UiTest, WindowlessShapeAndLabelArePaintedByTheirParent) {
    auto* panel = Add<TPanel>("P", 10, 10, 100, 60);
    panel->SetBevelOuter(TBevelCut::bvNone);
    panel->SetColor(gdi::rgb(0, 128, 0));
    auto* led = new TShape(form);
    led->SetParent(panel);
    led->SetShape(TShapeType::stCircle);
    led->SetBounds(10, 10, 22, 22);
    led->SetBrushColor(clRed);
    form->Show();
    win::UpdateAllWindows();
    auto pixel_at = [&](TControl* c, int x, int y) {
        gdi::Point p = c->ClientToScreen({x, y});
        gdi::Bitmap screen = win::ComposeScreen();
        return screen.color_at(p.x, p.y);
    };
    EXPECT_EQ(pixel_at(led, 11, 11), gdi::rgb(255, 0, 0));
    EXPECT_EQ(pixel_at(led, 0, 0), gdi::rgb(0, 128, 0));  // outside the circle: the panel
    led->SetBrushColor(clWhite);
    win::UpdateAllWindows();
    EXPECT_EQ(pixel_at(led, 11, 11), gdi::rgb(255, 255, 255));
    led->SetVisible(false);
    win::UpdateAllWindows();
    EXPECT_EQ(pixel_at(led, 11, 11), gdi::rgb(0, 128, 0));
}

TEST_F(UiTest, FormShowsScrollBarsWithTheirRange) {
    form->SetBorderStyle(TFormBorderStyle::bsSingle);
    form->Show();
    const int client_w = form->ClientWidth();
    form->HorzScrollBar.Visible = true;
    form->HorzScrollBar.Range = 1265;
    form->ApplyScrollBars();
    const auto style = win::GetWindowLongPtr(form->Handle(), win::GWL_STYLE);
    EXPECT_TRUE(style & win::WS_HSCROLL);
    EXPECT_FALSE(style & win::WS_VSCROLL);
    int lo = -1, hi = -1;
    ASSERT_TRUE(win::GetScrollRange(form->Handle(), win::SB_HORZ, &lo, &hi));
    EXPECT_EQ(lo, 0);
    EXPECT_EQ(hi, 1265);
    EXPECT_EQ(form->ClientWidth(), client_w);
}

TEST_F(UiTest, TabAndShiftTabFollowTheTabOrder) {
    auto* a = Add<TEdit>("A", 10, 10, 60, 24);
    auto* b = Add<TEdit>("B", 10, 40, 60, 24);
    auto* c = Add<TButton>("C", 10, 70, 60, 24);
    c->SetTabOrder(0);  // C, A, B
    std::string order;
    for (auto* e :
         {static_cast<TWinControl*>(a), static_cast<TWinControl*>(b), static_cast<TWinControl*>(c)})
        e->OnEnter = [&order, e](TObject*) { order += e->Name(); };
    auto r = Run("focus C\nkey Tab\nkey Tab\nkey Tab\n");
    EXPECT_EQ(r.exit_code, 0) << r.report;
    EXPECT_EQ(order, "CABC");
    win::InjectKey(win::VK_SHIFT, true);
    win::InjectKey(win::VK_TAB, true);
    win::InjectKey(win::VK_TAB, false);
    win::InjectKey(win::VK_SHIFT, false);
    win::PumpPending();
    EXPECT_TRUE(b->Focused());
    EXPECT_EQ(a->TabOrder(), 1);
}

TEST_F(UiTest, TaskModalBoxDisablesTheFormUntilItCloses) {
    auto* b = Add<TButton>("B", 10, 10, 80, 25);
    auto* timer = new TTimer(form);
    timer->SetInterval(50);
    bool disabled_during = false;
    timer->OnTimer = [&](TObject*) {
        if (!OpenMessageBoxes().empty())
            disabled_during = !win::IsWindowEnabled(form->Handle());
    };
    int clicks = 0;
    b->OnClick = [&](TObject*) {
        ++clicks;
        MessageBox(nullptr, "busy", "Error", MB_OK | MB_TASKMODAL);
    };
    // A click on the form's button while the box is open does not reach it.
    auto r = Run("click B\nwait 100\nclick B\nexpect-box busy\nkey Escape\nexpect-no-box\n");
    EXPECT_EQ(r.exit_code, 0) << r.report;
    EXPECT_TRUE(disabled_during);
    EXPECT_EQ(clicks, 1);
    EXPECT_TRUE(win::IsWindowEnabled(form->Handle()));
}

}  // namespace
}  // namespace forms

namespace forms {
namespace {

// The painter's colours are the system colours: changing one repaints controls and frames
// alike, and the edges and arrows of both come from the same painter.
TEST_F(UiTest, SystemColoursReachControlsAndFramesAlike) {
    auto* b = Add<TButton>("B", 10, 10, 80, 25);
    auto* e = Add<TEdit>("E", 10, 50, 80, 21);
    form->Show();
    e->SetFocus();  // the button unfocused: no focus frame over its edge
    const win::COLORREF old_face = win::GetSysColor(win::COLOR_BTNFACE);
    const win::COLORREF old_dark = win::GetSysColor(win::COLOR_3DDKSHADOW);
    const gdi::Color face = gdi::rgb(212, 208, 200), dark = gdi::rgb(10, 20, 30);
    win::SetSysColor(win::COLOR_BTNFACE, face);
    win::SetSysColor(win::COLOR_3DDKSHADOW, dark);
    win::RedrawWindow(form->Handle(), nullptr, nullptr,
                      win::RDW_INVALIDATE | win::RDW_ERASE | win::RDW_FRAME | win::RDW_ALLCHILDREN);
    win::UpdateAllWindows();
    const gdi::Bitmap screen = win::ComposeScreen();
    auto at = [&](TControl* c, int x, int y) {
        gdi::Point p = c->ClientToScreen({x, y});
        return screen.color_at(p.x, p.y);
    };
    EXPECT_EQ(at(b, 40, 6), face);   // the button's face
    EXPECT_EQ(at(b, 79, 24), dark);  // its outer edge, bottom right
    EXPECT_EQ(at(e, 1, 1), dark);    // the edit's inner sunken edge
    const win::RECT frame = win::GetWindowRect(form->Handle());
    EXPECT_EQ(screen.color_at(frame.right - 1, frame.bottom - 1), dark);  // the window frame
    win::SetSysColor(win::COLOR_BTNFACE, old_face);
    win::SetSysColor(win::COLOR_3DDKSHADOW, old_dark);
}

TEST(Painter, ArrowsPointWhereNamedAndMirrorEachOther) {
    gdi::Bitmap bmp(16, 16, 0xFFFFFFFFu);
    gdi::DC dc(bmp);
    auto rows = [&](int y) {
        int n = 0;
        for (int x = 0; x < 16; ++x)
            n += bmp.color_at(x, y) == gdi::rgb(0, 0, 0);
        return n;
    };
    painter::draw_arrow(dc, {0, 0, 16, 16}, win::ArrowDirection::Down, gdi::rgb(0, 0, 0));
    EXPECT_EQ(rows(6), 7);  // the base above the centre, the tip below
    EXPECT_EQ(rows(9), 1);
    dc.fill_rect({0, 0, 16, 16}, gdi::rgb(255, 255, 255));
    painter::draw_arrow(dc, {0, 0, 16, 16}, win::ArrowDirection::Up, gdi::rgb(0, 0, 0));
    EXPECT_EQ(rows(6), 1);  // the tip above, the base below, on the same four rows
    EXPECT_EQ(rows(9), 7);
    dc.fill_rect({0, 0, 16, 16}, gdi::rgb(255, 255, 255));
    win::DrawArrowGlyph(dc, {0, 0, 16, 16}, win::ArrowDirection::Right, gdi::rgb(0, 0, 0), 3);
    EXPECT_EQ(bmp.color_at(7, 6), gdi::rgb(0, 0, 0));  // base column, 5 pixels tall
    EXPECT_EQ(bmp.color_at(7, 10), gdi::rgb(0, 0, 0));
    EXPECT_EQ(bmp.color_at(9, 8), gdi::rgb(0, 0, 0));  // the tip
    EXPECT_EQ(bmp.color_at(10, 8), gdi::rgb(255, 255, 255));
}

}  // namespace
}  // namespace forms
