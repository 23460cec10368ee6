#pragma once

#include "i18n/lang_text.h"

namespace operator_input {

// A refusal: the caption and the text of its box, in the three languages. The console shows
// them in a box; the command-line client prints the English text.
struct MessageText {
    i18n::LangText caption;
    i18n::LangText text;
};

inline constexpr i18n::LangText kErrorCaption{"错误", "Error", "錯誤"};

inline constexpr MessageText kIdErrorMessage{
    kErrorCaption,
    {"请输入正确的ID值,范围为1-255", "please input a valid ID, range: 1-255",
     "請輸入正確的ID值,範圍為1-255"}};

inline constexpr MessageText kDelayErrorMessage{
    kErrorCaption,
    {"请输入正确的值,范围为0.5秒-60分钟,且应为数值0.5的倍数",
     "please input a valid ID, from 0.5 second to 60 minute, and should be a multiple of 0.5",
     "請輸入正確的值,範圍為0.5秒-60分鐘,且應為數值0.5的倍數"}};

}  // namespace operator_input
