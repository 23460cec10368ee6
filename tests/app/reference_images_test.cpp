// The plain look of the console kept fixed: every page in every language, and a message box,
// compared pixel for pixel with the reference images in tests/app/reference (see
// tests/reference_images/reference_image.h for how to renew them after an intended change).
#include <string>
#include <vector>

#include "app/program_options.h"
#include "forms/button.h"
#include "forms/edit.h"
#include "forms/message_box.h"
#include "forms/page_control.h"
#include "main_window_fixture.h"
#include "platform/win/painting.h"
#include "platform/win/window.h"
#include "tests/reference_images/reference_image.h"

namespace velmor_test {
namespace {

// The console's own options for the plain look: the pictures are of the console without its
// skin.
const std::vector<std::string> kPlainLookOptions = {"--no-skin"};

const char* const kLanguages[] = {"chs", "en", "cht"};  // LanguageIndex 0, 1, 2

// The main window as the operator sees it, boxes over it included.
gdi::Bitmap ShotOfMainWindow() {
    win::UpdateAllWindows();
    return win::ComposeScreen().copy(win::GetWindowRect(Form1->Handle()));
}

class ReferenceImages : public MainWindowTest {
  protected:
    void StartInPlainLook() {
        const ProgramOptions options = TakeProgramOptions(kPlainLookOptions);
        ASSERT_TRUE(options.error.empty()) << options.error;
        ASSERT_TRUE(options.rest.empty());
        StartWindow();
    }

    void ChooseLanguage(int index) {
        PickItem(Form1->CB_language, index);
        ASSERT_EQ(Form1->CB_language->ItemIndex(), index);
        // The focus goes back to the page strip, so that no picture shows the language box
        // focused.
        Form1->PageControl1->SetFocus();
        win::PumpPending();
    }

    const std::string dir_ = VELMOR_REFERENCE_DIR;
};

TEST_F(ReferenceImages, EveryPageInEveryLanguage) {
    StartInPlainLook();
    forms::TPageControl* pages = Form1->PageControl1;
    for (int language = 0; language < 3; ++language) {
        ChooseLanguage(language);
        for (int page = 0; page < pages->PageCount(); ++page) {
            pages->SetActivePageIndex(page);
            win::PumpPending();
            const std::string name =
                std::string("page") + std::to_string(page + 1) + "_" + kLanguages[language];
            EXPECT_TRUE(reftest::MatchesReference(ShotOfMainWindow(), dir_, name));
        }
    }
}

TEST_F(ReferenceImages, MessageBoxInEveryLanguage) {
    StartInPlainLook();
    Form1->PageControl1->SetActivePageIndex(1);  // Device Setup
    for (int language = 0; language < 3; ++language) {
        ChooseLanguage(language);
        // An empty device ID: the invalid-ID box, task-modal, over the window.
        Form1->Ed_conn_id->SetText("");
        bool shot = false;
        win::SetIdleScript([&] {
            const auto& boxes = forms::OpenMessageBoxes();
            if (boxes.empty())
                return false;
            if (!shot) {
                shot = true;
                EXPECT_TRUE(reftest::MatchesReference(
                    ShotOfMainWindow(), dir_, std::string("message_box_") + kLanguages[language]));
            }
            win::InjectKey(win::VK_RETURN, true);
            win::InjectKey(win::VK_RETURN, false);
            return true;
        });
        Form1->Bn_connect->Click();
        win::SetIdleScript(nullptr);
        EXPECT_TRUE(shot);
        EXPECT_TRUE(forms::OpenMessageBoxes().empty());
    }
}

}  // namespace
}  // namespace velmor_test
