#include "ui_fixture.h"

namespace forms {
namespace {

// A box that opens over another box takes the keyboard; when it closes, the box below gets the
// keyboard back on the button that had it, so Enter and Escape answer it without a click.
TEST_F(UiTest, TheBoxBelowGetsTheKeyboardBackWhenTheTopBoxCloses) {
    auto* b = Add<TButton>("B", 10, 10, 80, 25);
    auto* timer = new TTimer(form);
    timer->SetInterval(100);
    timer->SetEnabled(false);
    std::vector<int> answers;
    timer->OnTimer = [&](TObject*) {
        timer->SetEnabled(false);
        answers.push_back(MessageBox(nullptr, "second", "Error", MB_OK));
    };
    b->OnClick = [&](TObject*) {
        timer->SetEnabled(true);
        answers.push_back(MessageBox(form->Handle(), "first", "Attention", MB_OKCANCEL));
    };
    auto r =
        Run("click B\nexpect-box first\nkey Tab\nwait 150\nexpect-box second\nkey Enter\n"
            "expect-box first\nkey Enter\nexpect-no-box\n");
    EXPECT_EQ(r.exit_code, 0) << r.report;
    // The first box had its Cancel button focused (Tab) when the second opened.
    EXPECT_EQ(answers, (std::vector<int>{IDOK, IDCANCEL}));
    EXPECT_TRUE(win::IsWindowEnabled(form->Handle()));
}

}  // namespace
}  // namespace forms
