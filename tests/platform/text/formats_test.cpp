#include <gtest/gtest.h>

#include "platform/text/date_time_format.h"
#include "platform/text/number_format.h"

namespace text {
namespace {

TEST(DateTimeFormat, ShortDateAndLongTime) {
    EXPECT_EQ(format_short_date(2013, 12, 25), "2013/12/25");
    EXPECT_EQ(format_short_date(2026, 1, 5), "2026/1/5");
    EXPECT_EQ(format_long_time(13, 50, 25), "13:50:25");
    EXPECT_EQ(format_long_time(8, 5, 9), "8:05:09");
    EXPECT_EQ(format_long_time(0, 0, 0), "0:00:00");
}

TEST(NumberFormat, StringToIntegerLikeThePlatform) {
    EXPECT_EQ(str_to_int("3"), 3);
    EXPECT_EQ(str_to_int("  255"), 255);
    EXPECT_EQ(str_to_int("-1"), -1);
    EXPECT_EQ(str_to_int("+7"), 7);
    EXPECT_EQ(str_to_int("007"), 7);
    EXPECT_EQ(str_to_int("2147483647"), 2147483647);
    EXPECT_EQ(str_to_int("-2147483648"), -2147483648LL);
    for (const char* bad : {"", " ", "-", "3 ", "3a", "1.0", "2147483648", "-2147483649",
                            "99999999999999999999", "0x10"}) {
        EXPECT_FALSE(str_to_int(bad)) << '"' << bad << '"';
    }
    EXPECT_EQ(str_to_int_def("", 999), 999);
    EXPECT_EQ(str_to_int_def("abc", 0), 0);
    EXPECT_EQ(str_to_int_def("300", 999), 300);
    EXPECT_EQ(int_to_str(254), "254");
    EXPECT_EQ(int_to_str(-12), "-12");
}

// One conversion for IDs, skin values and component properties: "$" hexadecimal beside
// decimal, leading zeros are decimal, nothing the framework would refuse is taken.
TEST(NumberFormat, StringToIntegerTakesDollarHexAndNothingElse) {
    EXPECT_EQ(str_to_int("$A"), 10);
    EXPECT_EQ(str_to_int("$a"), 10);
    EXPECT_EQ(str_to_int(" \t$ff"), 255);
    EXPECT_EQ(str_to_int("-$A"), -10);
    EXPECT_EQ(str_to_int("+$10"), 16);
    EXPECT_EQ(str_to_int("010"), 10);
    EXPECT_EQ(str_to_int("-0"), 0);
    // A hexadecimal value is a 32-bit pattern, as colours with the system flag are written.
    EXPECT_EQ(str_to_int("$7FFFFFFF"), 2147483647);
    EXPECT_EQ(str_to_int("$80000000"), -2147483648LL);
    EXPECT_EQ(str_to_int("$FFFFFFFF"), -1);
    EXPECT_EQ(str_to_int("$000000000000FF"), 255);
    for (const char* bad : {"$", "-$", "$$1", "$G", "$ 1", "$1 ", "$100000000", "0x1F", "x1F", "1$",
                            "--1", "+-1", "1_000", "\n1", "$-1", "\x81\x40"}) {
        EXPECT_FALSE(str_to_int(bad)) << '"' << bad << '"';
    }
    EXPECT_EQ(str_to_int_def("$", 999), 999);
    EXPECT_EQ(str_to_int_def("$A", 0), 10);
}

TEST(NumberFormat, DecimalWithDotWhateverTheLocale) {
    EXPECT_EQ(str_to_decimal("2.5"), 2.5);
    EXPECT_EQ(str_to_decimal(".5"), 0.5);
    EXPECT_EQ(str_to_decimal("3."), 3.0);
    for (const char* bad : {"", ".", "1,5", "1.5.", "-1", "1e3", " 1"}) {
        EXPECT_FALSE(str_to_decimal(bad)) << '"' << bad << '"';
    }
}

}  // namespace
}  // namespace text
