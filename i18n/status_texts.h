#pragma once

#include <span>
#include <string>
#include <string_view>

#include "i18n/lang_text.h"

namespace i18n {

// Status-bar panel 1: the outcome of the last serial port open.
inline constexpr LangText kPortOpenFailed{"打开失败", "failing", "打開失敗"};
inline constexpr LangText kPortOpenSucceeded{"打开成功", "successful", "打開成功"};

// Status-bar panel 2: the outcome of the last request, and the idle prompt.
inline constexpr LangText kDataSentFailed{"状态:数据发送失败", "Status: Data sent failed",
                                          "狀態:數據發送失敗"};
inline constexpr LangText kDataSentSuccessfully{
    "状态:数据发送成功", "Status:Data sent successfully", "狀態:數據發送成功"};
inline constexpr LangText kIdleStatusPrompt{"状态:", "Status:", "狀態:"};

// The texts a language switch translates in each panel, in the order they are compared.
inline constexpr LangText kPanel1Texts[] = {kPortOpenFailed, kPortOpenSucceeded};
inline constexpr LangText kPanel2Texts[] = {kDataSentFailed, kDataSentSuccessfully,
                                            kIdleStatusPrompt};

// The text a status panel shows after a switch from `previous` to `target`. The panel's text
// was written in the source language: `previous`, when it is one of the two languages that the
// target is not (so a switch between "English" and an out-of-range index compares nothing).
// The first text of `texts` that equals `current` exactly in the source language is replaced
// by the same text in the target language; any other text is kept as it is.
std::string TranslateStatusText(std::string_view current, int previous, int target,
                                std::span<const LangText> texts);

// Status-bar panel 4: "版本：" or "Version: " followed by the version number.
inline constexpr std::string_view kVersionNumber = "Talo_V0.4.2";
std::string VersionLabel(int language);

}  // namespace i18n
