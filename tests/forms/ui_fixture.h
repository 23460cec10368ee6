#pragma once

#include <gtest/gtest.h>

#include "forms/automation/harness.h"
#include "forms/forms.h"
#include "platform/clock/clock.h"
#include "platform/gdi/png.h"
#include "platform/win/input.h"
#include "platform/win/test_driver.h"

namespace forms {

// A form on the headless display with the manual clock, driven by scripts.
class UiTest : public ::testing::Test {
  protected:
    UiTest() : scoped_(clock_) {}
    void SetUp() override {
        form = new TForm(Application);
        form->SetName("TestForm");
        form->SetCaption("Test");
        form->SetBounds(20, 20, 480, 360);
    }
    void TearDown() override {
        delete form;
        Application->SetMainForm(nullptr);
    }
    template <class T>
    T* Add(const std::string& name, int x, int y, int w, int h, TWinControl* parent = nullptr) {
        T* c = new T(form);
        c->SetName(name);
        c->SetParent(parent ? parent : form);
        c->SetBounds(x, y, w, h);
        return c;
    }
    automation::ScriptResult Run(const std::string& script) {
        return automation::RunScript(form, script);
    }

    clk::ManualClock clock_;
    clk::ScopedClock scoped_;
    TForm* form = nullptr;
};

}  // namespace forms
