#include "ui_fixture.h"

namespace forms {
namespace {

class TTestMain : public TForm {
  public:
    explicit TTestMain(TComponent* owner) : TForm(owner) {
        SetName("TestMain");
        SetBounds(8, 30, 400, 300);
        Exit = new TButton(this);
        Exit->SetName("Button7");
        Exit->SetParent(this);
        Exit->SetBounds(300, 240, 80, 30);
        Exit->SetCancel(true);
        Exit->OnClick = [this](TObject*) { Close(); };
        OnCreate = [this](TObject*) { FormCreate(); };
    }
    void FormCreate() {
        ++created;
        seen_reference_at_create = reference && *reference == this;
    }
    TButton* Exit;
    int created = 0;
    bool seen_reference_at_create = false;
    static inline TTestMain** reference = nullptr;
};

TEST(Application, CreateFormStoresTheReferenceThenRunsOnCreateOnce) {
    clk::ManualClock clock;
    clk::ScopedClock scoped(clock);
    TTestMain* main_form = nullptr;
    TTestMain::reference = &main_form;
    Application->Initialize();
    Application->CreateForm<TTestMain>(&main_form);
    ASSERT_NE(main_form, nullptr);
    EXPECT_EQ(main_form->created, 1);
    EXPECT_TRUE(main_form->seen_reference_at_create);
    EXPECT_EQ(Application->MainForm(), main_form);
    // Escape presses the cancel button, which closes the main form: the application ends.
    auto r = automation::RunScript(main_form, "key Escape\n");
    EXPECT_EQ(r.exit_code, 0) << r.report;
    EXPECT_FALSE(main_form->Visible());
    delete main_form;
    EXPECT_EQ(Application->MainForm(), nullptr);
}

TEST(Application, ExceptionFromATimerHandlerIsReported) {
    clk::ManualClock clock;
    clk::ScopedClock scoped(clock);
    auto* form = new TForm(Application);
    form->SetBounds(0, 0, 200, 100);
    auto* timer = new TTimer(form);
    timer->SetInterval(100);
    int ticks = 0;
    timer->OnTimer = [&](TObject*) {
        if (++ticks == 1)
            throw std::runtime_error("tick failed");
    };
    std::vector<std::string> reported;
    Application->OnException = [&](const std::exception& e) { reported.push_back(e.what()); };
    auto r = automation::RunScript(form, "wait 350\n");
    Application->OnException = nullptr;
    EXPECT_EQ(r.exit_code, 0) << r.report;
    EXPECT_EQ(reported, std::vector<std::string>{"tick failed"});
    EXPECT_GE(ticks, 3);  // the timer goes on after the exception
    delete form;
    Application->SetMainForm(nullptr);
}

}  // namespace
}  // namespace forms
