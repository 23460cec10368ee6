#pragma once

#include "i18n/lang_text.h"

namespace timed_tasks {

// The weekday names of the day boxes, Sunday first as the columns stand.
inline constexpr i18n::LangText kWeekdayCaptions[7] = {
    {"星期天", "Sunday", "星期天"},   {"星期一", "Monday", "星期壹"},
    {"星期二", "Tuesday", "星期二"},  {"星期三", "Wednesday", "星期三"},
    {"星期四", "Thursday", "星期四"}, {"星期五", "Friday", "星期五"},
    {"星期六", "Saturday", "星期六"},
};
// The entry boxes: the power-on half above, the power-off half below.
inline constexpr i18n::LangText kEntryOnCaption{"开", "on", "開"};
inline constexpr i18n::LangText kEntryOffCaption{"关", "off", "關"};

}  // namespace timed_tasks
