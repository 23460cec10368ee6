// Objects that free themselves, or their control, while one of the control's messages is being
// handled: a chain of replaced window-procedure methods in the manner of a skin, each link of
// which removes itself or frees the control on WM_NCDESTROY, WM_DESTROY, WM_PAINT or a timer
// tick. Nothing may be read from freed memory (the suite also runs under ASan).
#include <memory>
#include <string>
#include <vector>

#include "platform/win/painting.h"
#include "platform/win/timer.h"
#include "platform/win/window.h"
#include "ui_fixture.h"

namespace forms {
namespace {

enum class Action { RemoveItself, FreeControl };

std::vector<std::string>& Log() {
    static std::vector<std::string> log;
    return log;
}

// One link of the chain: owned by the control (freed with it), installed over the control's
// WindowProc, calling the previous one explicitly, acting once on `trigger`.
class ChainLink : public TComponent {
  public:
    ChainLink(TWinControl* control, std::string name, win::UINT trigger, Action action)
        : TComponent(control), control_(control), trigger_(trigger), action_(action) {
        SetName(std::move(name));
        old_ = control->WindowProc;
        control->WindowProc = [this](TMessage& m) { NewWndProc(m); };
    }

  private:
    void NewWndProc(TMessage& m) {
        if (m.Msg == trigger_ && action_ == Action::RemoveItself) {
            // Unlink first (the chain is undone from the top), then pass the message on from
            // a copy of the previous procedure, since this object is gone by then.
            Log().push_back(std::string(Name()) + " leaves");
            TWndMethod old = old_;
            control_->WindowProc = old_;
            delete this;
            old(m);
            return;
        }
        TComponentTracker alive(this);
        TWndMethod old = old_;
        old(m);
        if (alive.Deleted())
            return;  // the control, and this link with it, went during the call
        if (m.Msg == trigger_ && action_ == Action::FreeControl) {
            Log().push_back(std::string(Name()) + " frees the control");
            delete control_;
        }
    }

    TWinControl* control_;
    win::UINT trigger_;
    Action action_;
    TWndMethod old_;
};

class Lifetime : public UiTest {
  protected:
    TPanel* MakeChain(win::UINT trigger, Action middle_action) {
        Log().clear();
        auto* panel = Add<TPanel>("P", 10, 10, 120, 80);
        form->Show();
        win::UpdateAllWindows();  // the first paint before the chain is in place
        new ChainLink(panel, "inner", trigger, Action::RemoveItself);
        new ChainLink(panel, "middle", trigger, middle_action);
        new ChainLink(panel, "outer", trigger, Action::RemoveItself);
        EXPECT_TRUE(Log().empty());
        return panel;
    }

    // Sends the trigger message the way the window system does.
    void Trigger(win::UINT msg, TPanel* panel) {
        win::HWND h = panel->Handle();
        switch (msg) {
            case win::WM_PAINT:
                win::InvalidateRect(h, nullptr, true);
                win::UpdateWindow(h);
                break;
            case win::WM_TIMER:
                win::SetTimer(h, 7, 10);
                win::RunFor(15);
                if (win::IsWindow(h))
                    win::KillTimer(h, 7);
                break;
            default:  // WM_DESTROY, WM_NCDESTROY
                win::DestroyWindow(h);
                break;
        }
    }
};

TEST_F(Lifetime, LinksRemovingThemselvesLeaveTheControlWorking) {
    for (win::UINT msg : {win::WM_PAINT, win::WM_TIMER, win::WM_DESTROY, win::WM_NCDESTROY}) {
        SCOPED_TRACE(win::MessageName(msg));
        TPanel* panel = MakeChain(msg, Action::RemoveItself);
        Trigger(msg, panel);
        // Every link left, top first, and the control has its own procedure back.
        EXPECT_EQ(Log(),
                  (std::vector<std::string>{"outer leaves", "middle leaves", "inner leaves"}));
        EXPECT_EQ(panel->ComponentCount(), 0);
        EXPECT_EQ(panel->Perform(win::WM_ERASEBKGND, 0, 0), 1);
        delete panel;
    }
}

TEST_F(Lifetime, ALinkFreeingTheControlStopsTheWholeChain) {
    for (win::UINT msg : {win::WM_PAINT, win::WM_TIMER, win::WM_DESTROY, win::WM_NCDESTROY}) {
        SCOPED_TRACE(win::MessageName(msg));
        const int before = form->ControlCount();
        TPanel* panel = MakeChain(msg, Action::FreeControl);
        win::HWND h = panel->Handle();
        Trigger(msg, panel);
        // The outer link left on the way in, the inner one below the middle; the middle one
        // freed the control after its call returned, while the outer link's call was on the
        // stack.
        EXPECT_EQ(Log(), (std::vector<std::string>{"outer leaves", "inner leaves",
                                                   "middle frees the control"}));
        EXPECT_EQ(TWinControl::FindControl(h), nullptr);
        EXPECT_FALSE(win::IsWindow(h));
        EXPECT_EQ(form->ControlCount(), before);
        EXPECT_EQ(form->FindComponent("P"), nullptr);
    }
    // The form goes on painting and taking input.
    auto* b = Add<TButton>("B", 10, 10, 80, 25);
    int clicks = 0;
    b->OnClick = [&](TObject*) { ++clicks; };
    auto r = Run("click B\n");
    EXPECT_EQ(r.exit_code, 0) << r.report;
    EXPECT_EQ(clicks, 1);
}

TEST_F(Lifetime, HandlersThatFreeTheirSender) {
    form->Show();
    // A button freed by its own click, a timer by its own tick, an edit by its own key.
    auto* b = Add<TButton>("B", 10, 10, 80, 25);
    b->OnClick = [b](TObject*) { delete b; };
    auto* e = Add<TEdit>("E", 10, 40, 80, 21);
    e->OnKeyDown = [e](TObject*, int&, unsigned) { delete e; };
    auto* t = new TTimer(form);
    std::string captured = "a capture that must outlive the handler's own storage";
    int ticks = 0;
    t->SetInterval(10);
    t->OnTimer = [t, captured, &ticks](TObject*) {
        delete t;
        ticks += captured.size() > 0;  // reads the capture after the timer is gone
    };
    t->SetEnabled(true);
    auto r = Run("click B\nfocus E\nkey A\nwait 50\n");
    EXPECT_EQ(r.exit_code, 0) << r.report;
    EXPECT_EQ(form->FindComponent("B"), nullptr);
    EXPECT_EQ(form->FindComponent("E"), nullptr);
    EXPECT_EQ(ticks, 1);
}

// A panel whose paint asks for its own paint again, from inside BeginPaint.
class SelfRepaintingPanel : public TPanel {
  public:
    using TPanel::TPanel;
    void Paint(gdi::DC& dc) override {
        TPanel::Paint(dc);
        if (reenter_) {
            reenter_ = false;
            Perform(win::WM_PAINT, 0, 0);
        }
    }
    bool reenter_ = false;
};

TEST_F(UiTest, APaintReenteringItselfIsCaughtInDebugBuilds) {
    auto* panel = new SelfRepaintingPanel(form);
    panel->SetParent(form);
    panel->SetBounds(10, 10, 100, 50);
    form->Show();
    win::UpdateAllWindows();
    panel->reenter_ = true;
    panel->Invalidate();
    // Release builds carry on (the inner paint finds nothing left to paint).
    EXPECT_DEBUG_DEATH(win::UpdateAllWindows(), "re-entered");
}

TEST_F(UiTest, TrackerSeesTheComponentGoAndNestedTrackersUnlinkInAnyOrder) {
    auto* owner = new TComponent(nullptr);
    auto* c = new TComponent(owner);
    auto outer = std::make_unique<TComponentTracker>(c);
    {
        TComponentTracker inner(c);
        TComponentTracker of_owner(owner);
        outer.reset();  // the first tracker goes while the later ones still watch
        EXPECT_EQ(inner.Component(), c);
        delete owner;  // frees c with it
        EXPECT_TRUE(inner.Deleted());
        EXPECT_TRUE(of_owner.Deleted());
    }
    TComponentTracker none(nullptr);
    EXPECT_TRUE(none.Deleted());
}

}  // namespace
}  // namespace forms

namespace forms {
namespace {

TEST_F(UiTest, AComboBoxFreedByItsDropDownOrCloseUpHandlerIsLeftAlone) {
    form->Show();
    auto* first = Add<TComboBox>("C1", 10, 10, 120, 21);
    first->SetStyle(TComboBoxStyle::csDropDownList);  // a click anywhere drops the list down
    first->Items().Add("one");
    first->Items().Add("two");
    first->OnDropDown = [first](TObject*) { delete first; };
    auto* second = Add<TComboBox>("C2", 10, 40, 120, 21);
    second->SetStyle(TComboBoxStyle::csDropDownList);
    second->Items().Add("one");
    second->Items().Add("two");
    bool changed = false;
    second->OnChange = [&](TObject*) { changed = true; };
    second->OnCloseUp = [second](TObject*) { delete second; };
    auto r = Run("click C1\nclick C2\nkey Down\nkey Enter\n");
    EXPECT_EQ(r.exit_code, 0) << r.report;
    EXPECT_EQ(form->FindComponent("C1"), nullptr);
    EXPECT_EQ(form->FindComponent("C2"), nullptr);
    EXPECT_FALSE(changed) << "a box freed while closing selects nothing";
}

}  // namespace
}  // namespace forms
