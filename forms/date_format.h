#pragma once

#include <string>
#include <vector>

#include "platform/clock/clock.h"

namespace forms {

// The system's date and time formats that the pickers show. Patterns: yyyy, yy, M, MM, d, dd,
// H, HH (24-hour), h, hh (12-hour), m, mm, s, ss, tt (AM/PM); anything else is literal text.
struct FormatSettings {
    std::string ShortDateFormat = "yyyy/M/d";
    std::string LongTimeFormat = "H:mm:ss";
};
FormatSettings& GetFormatSettings();

// One piece of a parsed pattern.
struct DateFormatToken {
    enum Kind { Literal, Year, Month, Day, Hour24, Hour12, Minute, Second, AmPm };
    Kind kind = Literal;
    int width = 1;     // digits asked for (2 = leading zero; 4 = four-digit year)
    std::string text;  // the literal text
};
std::vector<DateFormatToken> ParseDateFormat(const std::string& pattern);
// The text of one token for a time.
std::string FormatToken(const DateFormatToken& token, const clk::LocalTime& t);
// The whole pattern for a time.
std::string FormatDateTime(const std::string& pattern, const clk::LocalTime& t);
int DaysInMonth(int year, int month);

}  // namespace forms
