#pragma once

#include <string>

namespace text {

// The system's regional formats as this console uses them, fixed to those of a Chinese
// (Simplified) desktop: short date "yyyy/M/d" (2013/12/25, 2026/1/5) and long time "H:mm:ss"
// (13:50:25, 8:05:09). Alarm and schedule matches compare texts in these formats, so a time
// matches for one whole second.
std::string format_short_date(int year, int month, int day);
std::string format_long_time(int hour, int minute, int second);

}  // namespace text
