#include "i18n/status_texts.h"

#include <gtest/gtest.h>

#include "i18n/main_window_captions.h"
#include "platform/text/code_page.h"

namespace {

using i18n::kPanel1Texts;
using i18n::kPanel2Texts;
using i18n::TranslateStatusText;

TEST(PickText, ZeroAndTwoAreChineseAndEverythingElseEnglish) {
    constexpr i18n::LangText t{"甲", "b", "乙"};
    EXPECT_EQ(i18n::PickText(t, 0), "甲");
    EXPECT_EQ(i18n::PickText(t, 2), "乙");
    for (int language : {1, 3, 7, -1, 255, 1 << 30})
        EXPECT_EQ(i18n::PickText(t, language), "b") << language;
}

TEST(TranslateStatusText, TranslatesPanelTextsFromThePreviousLanguage) {
    EXPECT_EQ(TranslateStatusText("successful", 1, 2, kPanel1Texts), "打開成功");
    EXPECT_EQ(TranslateStatusText("failing", 1, 0, kPanel1Texts), "打开失败");
    EXPECT_EQ(TranslateStatusText("打开成功", 0, 1, kPanel1Texts), "successful");
    EXPECT_EQ(TranslateStatusText("Status:Data sent successfully", 1, 2, kPanel2Texts),
              "狀態:數據發送成功");
    EXPECT_EQ(TranslateStatusText("狀態:數據發送失敗", 2, 0, kPanel2Texts), "状态:数据发送失败");
    // The designed idle prompt is Chinese (Simplified); start-up translates it from 0.
    EXPECT_EQ(TranslateStatusText("状态:", 0, 1, kPanel2Texts), "Status:");
    EXPECT_EQ(TranslateStatusText("状态:", 0, 7, kPanel2Texts), "Status:");
}

TEST(TranslateStatusText, KeepsTextsThatAreNotInTheSourceLanguageOrNotInTheTable) {
    // Start-up in Chinese (Simplified): previous 0 is the target itself, nothing is compared.
    EXPECT_EQ(TranslateStatusText("状态:", 0, 0, kPanel2Texts), "状态:");
    // Between English and an out-of-range index (both English) nothing is compared.
    EXPECT_EQ(TranslateStatusText("Status:", 1, 7, kPanel2Texts), "Status:");
    EXPECT_EQ(TranslateStatusText("Status:", 7, 0, kPanel2Texts), "Status:");
    // A text of the wrong source language stays.
    EXPECT_EQ(TranslateStatusText("successful", 0, 2, kPanel1Texts), "successful");
    // Panel 2 texts are not looked for in panel 1 and vice versa.
    EXPECT_EQ(TranslateStatusText("Status:", 1, 0, kPanel1Texts), "Status:");
    EXPECT_EQ(TranslateStatusText("", 1, 0, kPanel2Texts), "");
    EXPECT_EQ(TranslateStatusText("successful ", 1, 0, kPanel1Texts), "successful ");
}

TEST(VersionLabel, ChineseLanguagesShareThePrefix) {
    EXPECT_EQ(i18n::VersionLabel(0), "版本：Talo_V0.4.2");
    EXPECT_EQ(i18n::VersionLabel(2), "版本：Talo_V0.4.2");
    EXPECT_EQ(i18n::VersionLabel(1), "Version: Talo_V0.4.2");
    EXPECT_EQ(i18n::VersionLabel(7), "Version: Talo_V0.4.2");
}

// Every Chinese text must survive the trip through code page 936, the encoding they take
// wherever they leave the program as bytes.
void ExpectRepresentable(const i18n::LangText& t) {
    for (std::string_view s : {t.zh_cn, t.zh_tw}) {
        const std::string gbk = text::utf8_to_gbk(s);
        EXPECT_EQ(gbk.find('?'), std::string::npos) << s;
        EXPECT_EQ(text::gbk_to_utf8(gbk), s);
    }
}

TEST(LanguageTexts, EveryChineseTextHasAGbkForm) {
    for (const auto& t : kPanel1Texts)
        ExpectRepresentable(t);
    for (const auto& t : kPanel2Texts)
        ExpectRepresentable(t);
    for (const auto& row : i18n::kMainWindowCaptions)
        ExpectRepresentable(row.text);
    for (const auto& row : i18n::kPortSetupCaptions)
        ExpectRepresentable(row.text);
    ExpectRepresentable(i18n::kDisconnectCaption);
}

}  // namespace
