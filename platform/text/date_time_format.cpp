#include "platform/text/date_time_format.h"

#include <cstdio>

namespace text {

std::string format_short_date(int year, int month, int day) {
    char buffer[48];
    std::snprintf(buffer, sizeof buffer, "%d/%d/%d", year, month, day);
    return buffer;
}

std::string format_long_time(int hour, int minute, int second) {
    char buffer[48];
    std::snprintf(buffer, sizeof buffer, "%d:%02d:%02d", hour, minute, second);
    return buffer;
}

}  // namespace text
