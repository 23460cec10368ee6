#pragma once

#include "forms/message_box.h"
#include "platform/win/message.h"
#include "platform/win/painting.h"
#include "skin/engine/skin_data.h"
#include "skin/engine/skin_manage.h"
#include "skin/engine/startup_skin.h"
#include "skin/engine/win_skin_form.h"
#include "tests/forms/ui_fixture.h"

namespace skin::test {

// A form on the headless display with the main form's skin component on it.
class SkinUiTest : public forms::UiTest {
  protected:
    void SetUp() override {
        forms::UiTest::SetUp();
        startup_skin_options() = {};
        data = CreateMainFormSkin(form);
    }
    void TearDown() override {
        forms::UiTest::TearDown();
        EXPECT_EQ(TSkinManage::Instance(), nullptr) << "the manager goes with the last component";
    }
    // Shows the form and lets the take-over finish.
    void ShowSkinned() {
        form->Show();
        win::PumpPending();
    }
    TWinSkinForm* Skinned() const {
        TSkinManage* m = TSkinManage::Instance();
        return m ? m->FindForm(form->Handle()) : nullptr;
    }
    TSkinControl* SkinOf(forms::TControl* c) const {
        TWinSkinForm* sf = Skinned();
        return sf ? sf->SkinOf(c) : nullptr;
    }
    std::string SkinClass(forms::TControl* c) const {
        TSkinControl* sc = SkinOf(c);
        return sc ? std::string(sc->ClassName()) : std::string("none");
    }
    gdi::Color Pixel(forms::TControl* c, int x, int y) {
        win::UpdateAllWindows();
        gdi::Point p = c->ClientToScreen({x, y});
        return win::ComposeScreen().color_at(p.x, p.y);
    }

    TSkinData* data = nullptr;
};

}  // namespace skin::test
