#include <gtest/gtest.h>

#include "app/main_form.h"
#include "forms/button.h"
#include "forms/label.h"
#include "forms/page_control.h"
#include "i18n/main_window_captions.h"
#include "i18n/status_texts.h"
#include "tests/app/main_window_fixture.h"

namespace {

using settings::SettingsFile;
using velmor_test::MainWindowTest;

TEST_F(MainWindowTest, EveryCaptionRowNamesAControlOfTheWindow) {
    StartWindow();
    EXPECT_TRUE(Form1->Captions.ApplyStatic(*Form1, Form1->LanguageIndex).empty());
    // The window's own rows are there; the pages add theirs.
    EXPECT_GE(Form1->Captions.Rows().size(),
              std::size(i18n::kMainWindowCaptions) + std::size(i18n::kPortSetupCaptions));
}

TEST_F(MainWindowTest, SwitchingSetsCaptionsStoresTheLanguageAndTranslatesTheStatus) {
    StartWindow();  // English, from the new file
    Form1->StatusBar1->Panels(1).SetText("successful");
    Form1->StatusBar1->Panels(2).SetText("Status:Data sent successfully");
    PickItem(Form1->CB_language, 2);
    EXPECT_EQ(Form1->LanguageIndex, 2);
    EXPECT_EQ(Int32At(FileBytes(), SettingsFile::SavedLanguage), 2);
    EXPECT_EQ(Panel(1), "打開成功");
    EXPECT_EQ(Panel(2), "狀態:數據發送成功");
    EXPECT_EQ(Panel(4), "版本：Talo_V0.4.2");
    EXPECT_EQ(Form1->TabSheet2->Caption(), "設備設置");
    EXPECT_EQ(Form1->Button7->Caption(), "退出");
    EXPECT_EQ(Form1->Bn_ip_conn->Caption(), "連接");

    // On to Chinese (Simplified): the texts follow from Chinese (Traditional).
    Form1->StatusBar1->Panels(2).SetText("狀態:數據發送失敗");
    PickItem(Form1->CB_language, 0);
    EXPECT_EQ(Panel(1), "打开成功");
    EXPECT_EQ(Panel(2), "状态:数据发送失败");
    EXPECT_EQ(Form1->Label13->Caption(), "串行端口：");
    EXPECT_EQ(Int32At(FileBytes(), SettingsFile::SavedLanguage), 0);

    // And back to English; a restart keeps it.
    PickItem(Form1->CB_language, 1);
    EXPECT_EQ(Panel(1), "successful");
    EXPECT_EQ(Panel(2), "Status: Data sent failed");
    RestartWindow();
    EXPECT_EQ(Form1->LanguageIndex, 1);
}

TEST_F(MainWindowTest, StatusTextsOutsideTheTablesKeepTheirWording) {
    StartWindow();
    Form1->StatusBar1->Panels(1).SetText("Port busy");
    Form1->StatusBar1->Panels(2).SetText("狀態:");  // not English, so not the text on display
    PickItem(Form1->CB_language, 0);
    EXPECT_EQ(Panel(1), "Port busy");
    EXPECT_EQ(Panel(2), "狀態:");
}

TEST_F(MainWindowTest, PickingTheLanguageShownWritesNothing) {
    StartWindow();
    // Change the stored value behind the window's back: a write would put 1 back.
    WriteFileWith(SettingsFile::SavedLanguage, 2);
    const auto before = FileBytes();
    Form1->Bn_ser_conn->SetCaption("disconnect");
    Form1->StatusBar1->Panels(4).SetText("");
    // The list reports a change while the item shown is still English.
    Form1->CB_languageChange(Form1->CB_language);
    EXPECT_EQ(FileBytes(), before);
    EXPECT_EQ(Form1->Bn_ser_conn->Caption(), "disconnect");
    EXPECT_EQ(Panel(4), "");
}

TEST_F(MainWindowTest, DynamicCaptionsRunAfterTheStatusBarInTheirFixedOrder) {
    StartWindow();
    std::vector<std::string> order;
    // Registered out of order, run in the order of the pages.
    Form1->Captions.SetDynamic(i18n::DynamicCaptions::TimerTaskPage,
                               [&](int) { order.push_back("timer task"); });
    Form1->Captions.SetDynamic(i18n::DynamicCaptions::DelayGroups, [&](int language) {
        EXPECT_EQ(Panel(4), i18n::VersionLabel(language));
        order.push_back("delays");
    });
    Form1->Captions.SetDynamic(i18n::DynamicCaptions::DevicePanels,
                               [&](int) { order.push_back("panels"); });
    PickItem(Form1->CB_language, 2);
    EXPECT_EQ(order, (std::vector<std::string>{"delays", "panels", "timer task"}));
}

}  // namespace
