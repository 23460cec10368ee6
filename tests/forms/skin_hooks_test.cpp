// What a skin engine relies on: replaceable window-procedure methods that see the framework's
// notifications, painting it can take over and give back, raw window procedures that chain,
// and windowless controls that the parent paints and forwards clicks to.
#include "forms/painter.h"
#include "platform/win/painting.h"
#include "ui_fixture.h"

namespace forms {
namespace {

gdi::Color PixelOnScreen(TControl* c, int x, int y) {
    win::UpdateAllWindows();
    gdi::Point p = c->ClientToScreen({x, y});
    return win::ComposeScreen().color_at(p.x, p.y);
}

TEST_F(UiTest, ReplacedWindowProcSeesTheFrameworkNotifications) {
    auto* b = Add<TButton>("B", 10, 10, 80, 25);
    auto* other = Add<TButton>("O", 100, 10, 80, 25);
    std::vector<win::UINT> seen;
    TWndMethod old = b->WindowProc;
    b->WindowProc = [&](TMessage& m) {
        if (m.Msg >= CM_BASE)
            seen.push_back(m.Msg);
        old(m);
    };
    form->Show();
    b->SetEnabled(false);
    b->SetEnabled(true);
    b->SetCaption("new");
    other->SetFocus();
    auto has = [&](win::UINT msg) { return std::count(seen.begin(), seen.end(), msg) > 0; };
    EXPECT_EQ(std::count(seen.begin(), seen.end(), CM_ENABLEDCHANGED), 2);
    EXPECT_TRUE(has(CM_TEXTCHANGED));
    EXPECT_TRUE(has(CM_FOCUSCHANGED));
    auto r = Run("focus O\nkey Enter\n");
    EXPECT_EQ(r.exit_code, 0) << r.report;
    EXPECT_TRUE(has(CM_DIALOGKEY));
    b->WindowProc = old;  // restoring leaves the control as it was
    seen.clear();
    b->SetEnabled(false);
    EXPECT_TRUE(seen.empty());
}

TEST_F(UiTest, TakenOverPaintingAndBack) {
    auto* b = Add<TButton>("B", 10, 10, 80, 25);
    form->Show();
    EXPECT_EQ(PixelOnScreen(b, 40, 12), painter::scheme().face);
    TWndMethod old = b->WindowProc;
    b->WindowProc = [&, b](TMessage& m) {
        if (m.Msg == win::WM_PAINT) {
            win::PAINTSTRUCT ps;
            win::HDC dc = win::BeginPaint(b->Handle(), &ps);
            if (dc)
                dc->fill_rect(b->ClientRect(), gdi::rgb(0, 0, 255));
            win::EndPaint(b->Handle(), &ps);
            return;
        }
        if (m.Msg == win::WM_ERASEBKGND) {
            m.Result = 1;
            return;
        }
        old(m);
    };
    b->Invalidate();
    EXPECT_EQ(PixelOnScreen(b, 40, 12), gdi::rgb(0, 0, 255));
    b->WindowProc = old;
    b->Invalidate();
    EXPECT_EQ(PixelOnScreen(b, 40, 12), painter::scheme().face);
}

TEST_F(UiTest, PaintingIntoAGivenDeviceContext) {
    auto* box = Add<TGroupBox>("G", 10, 10, 120, 80);
    box->SetColor(gdi::rgb(10, 20, 30));
    auto* led = new TShape(form);
    led->SetParent(box);
    led->SetShape(TShapeType::stRectangle);
    led->SetBounds(20, 30, 10, 10);
    led->SetBrushColor(gdi::rgb(200, 0, 0));
    form->Show();
    gdi::Bitmap bmp(120, 80, 0xFF000000u);
    gdi::DC dc(bmp);
    box->Perform(win::WM_PAINT, reinterpret_cast<win::WPARAM>(&dc), 0);
    EXPECT_EQ(bmp.color_at(60, 60), gdi::rgb(10, 20, 30));
    EXPECT_EQ(bmp.color_at(25, 35), gdi::rgb(200, 0, 0));  // the windowless child comes last
    gdi::Bitmap only(120, 80, 0xFF000000u);
    gdi::DC dc2(only);
    box->PaintControls(dc2, box->ClientRect());
    EXPECT_EQ(only.color_at(25, 35), gdi::rgb(200, 0, 0));
    EXPECT_EQ(only.color_at(60, 60), gdi::rgb(0, 0, 0));
}

TEST_F(UiTest, RawWindowProcedureOfAControlChains) {
    auto* b = Add<TButton>("B", 10, 10, 80, 25);
    int clicks = 0;
    b->OnClick = [&](TObject*) { ++clicks; };
    form->Show();
    int downs = 0;
    win::WNDPROC previous = win::GetWindowProc(b->Handle());
    win::SetWindowProc(b->Handle(), win::WNDPROC::bind([&](win::HWND h, win::UINT m, win::WPARAM w,
                                                           win::LPARAM l) -> win::LRESULT {
                           if (m == win::WM_LBUTTONDOWN)
                               ++downs;
                           return win::CallWindowProc(previous, h, m, w, l);
                       }));
    auto r = Run("click B\n");
    EXPECT_EQ(r.exit_code, 0) << r.report;
    EXPECT_EQ(downs, 1);
    EXPECT_EQ(clicks, 1);
    win::SetWindowProc(b->Handle(), previous);
}

TEST_F(UiTest, FrameworkMouseDownReachesWindowedAndWindowlessControls) {
    auto* b = Add<TButton>("B", 10, 10, 80, 25);
    auto* label = new TLabel(form);
    label->SetName("Label5");
    label->SetParent(form);
    label->SetBounds(10, 60, 80, 20);
    label->SetCaption("语言:");
    std::vector<std::string> events;
    b->OnMouseDown = [&](TObject*, TMouseButton, unsigned, int x, int y) {
        events.push_back("B down " + std::to_string(x) + "," + std::to_string(y));
    };
    label->OnMouseDown = [&](TObject*, TMouseButton, unsigned, int x, int y) {
        events.push_back("L down " + std::to_string(x) + "," + std::to_string(y));
    };
    int label_clicks = 0, label_dblclicks = 0;
    label->OnClick = [&](TObject*) { ++label_clicks; };
    label->OnDblClick = [&](TObject*) { ++label_dblclicks; };
    auto r = Run("click B\nclick Label5\ndblclick Label5\n");
    EXPECT_EQ(r.exit_code, 0) << r.report;
    ASSERT_GE(events.size(), 2u);
    EXPECT_EQ(events[0], "B down 40,12");
    EXPECT_EQ(events[1], "L down 40,10");  // in the label's own coordinates
    EXPECT_EQ(label_clicks, 2);            // the click, and the first half of the double click
    EXPECT_EQ(label_dblclicks, 1);
}

TEST_F(UiTest, ArrayNamedControlsAreFoundByScripts) {
    TButton* buttons[2][3];
    for (int d = 0; d < 2; ++d)
        for (int c = 0; c < 3; ++c) {
            buttons[d][c] =
                Add<TButton>("ChannelButton[" + std::to_string(d) + "][" + std::to_string(c) + "]",
                             10 + 45 * c, 10 + 40 * d, 40, 30);
            buttons[d][c]->SetCaption("开");
        }
    int clicked = -1;
    buttons[1][2]->OnClick = [&](TObject* s) { clicked = s == buttons[1][2] ? 12 : -2; };
    buttons[1][2]->SetCaption("关");
    auto r =
        Run("click ChannelButton[1][2]\nexpect ChannelButton[1][2] 关\n"
            "expect ChannelButton[0][2].text 开\n");
    EXPECT_EQ(r.exit_code, 0) << r.report;
    EXPECT_EQ(clicked, 12);
}

TEST_F(UiTest, ScriptGoesOnInsideABoxOpenedByAnExitHandler) {
    auto* e = Add<TEdit>("Ed_conn_id", 10, 10, 80, 24);
    Add<TEdit>("Other", 10, 40, 80, 24);
    e->OnExit = [&](TObject*) { MessageBox(nullptr, "stored", "Info", MB_OK); };
    auto r = Run("focus Ed_conn_id\nfocus Other\nexpect-box stored\nanswer OK\nexpect-no-box\n");
    EXPECT_EQ(r.exit_code, 0) << r.report;
}

}  // namespace
}  // namespace forms
