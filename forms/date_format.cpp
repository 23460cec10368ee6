#include "forms/date_format.h"

namespace forms {

FormatSettings& GetFormatSettings() {
    static FormatSettings settings;
    return settings;
}

std::vector<DateFormatToken> ParseDateFormat(const std::string& p) {
    std::vector<DateFormatToken> out;
    size_t i = 0;
    auto literal = [&](char c) {
        if (out.empty() || out.back().kind != DateFormatToken::Literal)
            out.push_back({});
        out.back().text += c;
    };
    while (i < p.size()) {
        const char c = p[i];
        size_t n = 1;
        while (i + n < p.size() && p[i + n] == c)
            ++n;
        DateFormatToken t;
        switch (c) {
            case 'y':
                t.kind = DateFormatToken::Year;
                t.width = n >= 4 ? 4 : 2;
                break;
            case 'M':
                t.kind = DateFormatToken::Month;
                break;
            case 'd':
                t.kind = DateFormatToken::Day;
                break;
            case 'H':
                t.kind = DateFormatToken::Hour24;
                break;
            case 'h':
                t.kind = DateFormatToken::Hour12;
                break;
            case 'm':
                t.kind = DateFormatToken::Minute;
                break;
            case 's':
                t.kind = DateFormatToken::Second;
                break;
            case 't':
                t.kind = DateFormatToken::AmPm;
                break;
            default:
                for (size_t k = 0; k < n; ++k)
                    literal(c);
                i += n;
                continue;
        }
        if (t.kind != DateFormatToken::Year)
            t.width = n >= 2 ? 2 : 1;
        out.push_back(t);
        i += n;
    }
    return out;
}

std::string FormatToken(const DateFormatToken& t, const clk::LocalTime& v) {
    auto num = [&](int value, int width) {
        std::string digits = std::to_string(value);
        while (static_cast<int>(digits.size()) < width)
            digits.insert(digits.begin(), '0');
        return digits;
    };
    switch (t.kind) {
        case DateFormatToken::Literal:
            return t.text;
        case DateFormatToken::Year:
            return t.width == 4 ? num(v.year, 4) : num(v.year % 100, 2);
        case DateFormatToken::Month:
            return num(v.month, t.width);
        case DateFormatToken::Day:
            return num(v.day, t.width);
        case DateFormatToken::Hour24:
            return num(v.hour, t.width);
        case DateFormatToken::Hour12:
            return num(v.hour % 12 == 0 ? 12 : v.hour % 12, t.width);
        case DateFormatToken::Minute:
            return num(v.minute, t.width);
        case DateFormatToken::Second:
            return num(v.second, t.width);
        case DateFormatToken::AmPm:
            return v.hour < 12 ? "AM" : "PM";
    }
    return {};
}

std::string FormatDateTime(const std::string& pattern, const clk::LocalTime& t) {
    std::string out;
    for (const auto& tok : ParseDateFormat(pattern))
        out += FormatToken(tok, t);
    return out;
}

int DaysInMonth(int year, int month) {
    static const int days[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (month < 1 || month > 12)
        return 31;
    if (month == 2 && ((year % 4 == 0 && year % 100 != 0) || year % 400 == 0))
        return 29;
    return days[month - 1];
}

}  // namespace forms
