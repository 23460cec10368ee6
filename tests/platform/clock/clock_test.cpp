#include "platform/clock/clock.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <ctime>
#include <limits>
#include <string>

namespace {

using clk::LocalTime;

TEST(DayCount, KnownDatesAndTimes) {
    EXPECT_EQ(clk::to_day_count({1899, 12, 30, 0, 0, 0, 0, 6}), 0.0);
    EXPECT_EQ(clk::to_day_count({1900, 1, 1, 0, 0, 0, 0, 1}), 2.0);
    EXPECT_EQ(clk::date_part({2026, 12, 9, 13, 30, 0, 0, 3}), 46365.0);
    EXPECT_DOUBLE_EQ(clk::time_part({2026, 12, 9, 6, 0, 0, 0, 3}), 0.25);
    EXPECT_DOUBLE_EQ(clk::to_day_count({2026, 12, 9, 18, 0, 0, 0, 3}), 46365.75);
    // Before the epoch the fraction still counts forwards from midnight.
    EXPECT_DOUBLE_EQ(clk::to_day_count({1899, 12, 29, 6, 0, 0, 0, 5}), -1.25);
}

TEST(DayCount, RoundTripsToTheMillisecondWithWeekday) {
    const LocalTime cases[] = {
        {2026, 12, 9, 23, 59, 59, 999, 3}, {2000, 2, 29, 12, 0, 0, 1, 2},
        {1999, 12, 31, 0, 0, 0, 0, 5},     {1899, 12, 29, 6, 0, 0, 0, 5},
        {2024, 3, 1, 0, 0, 1, 500, 5},
    };
    for (const auto& t : cases) {
        EXPECT_EQ(clk::from_day_count(clk::to_day_count(t)), t) << t.year << "-" << t.month;
    }
    EXPECT_EQ(clk::weekday_of(2026, 12, 9), 3);
    EXPECT_EQ(clk::weekday_of(1899, 12, 30), 6);
}

TEST(DayCount, GarbageGivesTheEpochNotACrash) {
    EXPECT_EQ(clk::from_day_count(std::numeric_limits<double>::quiet_NaN()), LocalTime{});
    EXPECT_EQ(clk::from_day_count(1e300), LocalTime{});
    EXPECT_EQ(clk::from_day_count(-1e12), LocalTime{});
    // Just below a whole day rounds up to the next midnight, not to hour 24.
    LocalTime t = clk::from_day_count(1.0 - 1e-12);
    EXPECT_EQ(t.day, 31);
    EXPECT_EQ(t.hour, 0);
}

// Before day 0 the date is the whole days towards zero and the time counts forwards from its
// midnight, so a time that rounds up to midnight moves to the next calendar day there too.
TEST(DayCount, RoundingUpToMidnightBeforeTheEpochGivesTheNextCalendarDay) {
    EXPECT_EQ(clk::from_day_count(-1.9999999999), (LocalTime{1899, 12, 30, 0, 0, 0, 0, 6}));
    EXPECT_EQ(clk::from_day_count(-0.9999999999), (LocalTime{1899, 12, 31, 0, 0, 0, 0, 0}));
    EXPECT_EQ(clk::from_day_count(-1.25), (LocalTime{1899, 12, 29, 6, 0, 0, 0, 5}));
    EXPECT_EQ(clk::from_day_count(-0.5), (LocalTime{1899, 12, 30, 12, 0, 0, 0, 6}));
    EXPECT_EQ(clk::from_day_count(-0.0), (LocalTime{1899, 12, 30, 0, 0, 0, 0, 6}));
}

// The counts run from 1 January 0001 (-693593.0) to the end of 31 December 9999 (2958466.0);
// whatever lies inside converts to a date of those years.
TEST(DayCount, TheEndsOfTheRangeStayInsideYears1To9999) {
    const LocalTime last_ms{9999, 12, 31, 23, 59, 59, 999, 5};
    EXPECT_EQ(clk::from_day_count(2958465.0), (LocalTime{9999, 12, 31, 0, 0, 0, 0, 5}));
    // 23:59:59.9999 rounds up to a midnight that has no day after it.
    EXPECT_EQ(clk::from_day_count(2958465.9999999988), last_ms);
    EXPECT_EQ(clk::from_day_count(2958466.0), last_ms);
    EXPECT_TRUE(clk::is_valid(clk::from_day_count(2958466.0)));
    EXPECT_EQ(clk::from_day_count(clk::to_day_count(last_ms)), last_ms);
    EXPECT_EQ(clk::from_day_count(std::nextafter(2958466.0, 3e6)), LocalTime{});
    EXPECT_EQ(clk::from_day_count(-693593.0), (LocalTime{1, 1, 1, 0, 0, 0, 0, 1}));
    EXPECT_EQ(clk::from_day_count(std::nextafter(-693593.0, -7e5)), LocalTime{});
}

TEST(DayCount, Validity) {
    EXPECT_TRUE(clk::is_valid({2024, 2, 29, 0, 0, 0, 0, 4}));
    EXPECT_FALSE(clk::is_valid({2023, 2, 29, 0, 0, 0, 0, 3}));
    EXPECT_FALSE(clk::is_valid({1900, 2, 29, 0, 0, 0, 0, 3}));
    EXPECT_FALSE(clk::is_valid({2024, 13, 1, 0, 0, 0, 0, 0}));
    EXPECT_FALSE(clk::is_valid({2024, 1, 1, 24, 0, 0, 0, 1}));
}

TEST(ManualClock, AdvancesMonotonicAndCalendarTogetherAcrossMidnight) {
    clk::ManualClock c({2026, 12, 31, 23, 59, 59, 500, 4}, 1000);
    c.advance(600);
    EXPECT_EQ(c.monotonic_ms(), 1600);
    LocalTime t = c.local_now();
    EXPECT_EQ(t, (LocalTime{2027, 1, 1, 0, 0, 0, 100, 5}));
    c.advance(-5);
    EXPECT_EQ(c.monotonic_ms(), 1600) << "never backwards";
    c.advance_to(1000);
    EXPECT_EQ(c.monotonic_ms(), 1600);
    c.advance_to(1700);
    EXPECT_EQ(c.local_now().millisecond, 200);
    c.set_local({2026, 6, 1, 8, 0, 0, 0, 1});
    EXPECT_EQ(c.monotonic_ms(), 1700);
    EXPECT_EQ(c.local_now().weekday, 1);
}

TEST(CurrentClock, ScopedInstallAndRestore) {
    EXPECT_EQ(clk::current_manual(), nullptr);
    clk::ManualClock m;
    {
        clk::ScopedClock s(m);
        EXPECT_EQ(&clk::current(), &m);
        EXPECT_EQ(clk::current_manual(), &m);
    }
    EXPECT_EQ(clk::current_manual(), nullptr);
    const int64_t a = clk::current().monotonic_ms();
    const int64_t b = clk::current().monotonic_ms();
    EXPECT_LE(a, b);
    EXPECT_TRUE(clk::is_valid(clk::current().local_now()));
}

// The system clock remembers the last second it converted: the next second, and one far away,
// must still come out as the time zone says, and the millisecond is always the one asked.
TEST(SystemClock, EachSecondIsConvertedAsTheTimeZoneSays) {
    // A zone an hour east of UTC with summer time: 200 days later the offset differs.
    const char* saved = std::getenv("TZ");
    const std::string saved_tz = saved ? saved : "";
    setenv("TZ", "CET-1CEST,M3.5.0,M10.5.0/3", 1);
    tzset();
    const auto expected = [](int64_t seconds) {
        const std::time_t secs = static_cast<std::time_t>(seconds);
        std::tm tm{};
        localtime_r(&secs, &tm);
        return LocalTime{tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday, tm.tm_hour,
                         tm.tm_min,         tm.tm_sec,     0,          tm.tm_wday};
    };
    const int64_t midnight_utc = 1796860800;  // 2026-12-10 00:00:00 UTC
    const int64_t seconds[] = {midnight_utc - 1, midnight_utc - 1, midnight_utc,
                               midnight_utc + 86400 * 200, midnight_utc};
    int millisecond = 0;
    for (int64_t s : seconds) {
        LocalTime want = expected(s);
        want.millisecond = millisecond;
        EXPECT_EQ(clk::SystemClock::local_at(s, millisecond), want) << s;
        millisecond += 250;
    }
    EXPECT_EQ(clk::SystemClock::local_at(midnight_utc - 1, 0).hour, 0);            // 00:59:59 local
    EXPECT_EQ(clk::SystemClock::local_at(midnight_utc + 86400 * 200, 0).hour, 2);  // summer
    const LocalTime now = clk::SystemClock().local_now();
    EXPECT_TRUE(clk::is_valid(now));
    if (saved)
        setenv("TZ", saved_tz.c_str(), 1);
    else
        unsetenv("TZ");
    tzset();
}

}  // namespace
