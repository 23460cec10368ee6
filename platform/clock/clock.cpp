#include "clock.h"

#include "platform/clock/wake_path.h"

#include <dlfcn.h>

#include <chrono>
#include <cmath>
#include <ctime>

namespace clk {

namespace {

// Days from 1970-01-01 to a civil date (proleptic Gregorian).
int64_t days_from_civil(int64_t y, unsigned m, unsigned d) {
    y -= m <= 2;
    const int64_t era = (y >= 0 ? y : y - 399) / 400;
    const unsigned yoe = static_cast<unsigned>(y - era * 400);
    const unsigned doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + static_cast<int64_t>(doe) - 719468;
}

void civil_from_days(int64_t z, int& y, int& m, int& d) {
    z += 719468;
    const int64_t era = (z >= 0 ? z : z - 146096) / 146097;
    const unsigned doe = static_cast<unsigned>(z - era * 146097);
    const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const int64_t yy = static_cast<int64_t>(yoe) + era * 400;
    const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const unsigned mp = (5 * doy + 2) / 153;
    d = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
    m = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
    y = static_cast<int>(yy + (m <= 2));
}

// 1899-12-30 in days since 1970-01-01.
constexpr int64_t kEpochOffset = -25569;
// 9999-12-31, the last day of the calendar, as a day count.
constexpr double kLastDay = 2958465.0;

int64_t ms_of_day(const LocalTime& t) {
    return ((static_cast<int64_t>(t.hour) * 60 + t.minute) * 60 + t.second) * 1000 + t.millisecond;
}

SystemClock g_system;
VELMOR_WAKE_DATA Clock* g_current = &g_system;

}  // namespace

int weekday_of(int year, int month, int day) {
    const int64_t days =
        days_from_civil(year, static_cast<unsigned>(month), static_cast<unsigned>(day));
    // 1970-01-01 was a Thursday (4).
    return static_cast<int>(((days % 7) + 7 + 4) % 7);
}

bool is_valid(const LocalTime& t) {
    static const int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (t.year < 1 || t.year > 9999 || t.month < 1 || t.month > 12)
        return false;
    const bool leap = (t.year % 4 == 0 && t.year % 100 != 0) || t.year % 400 == 0;
    const int dim = kDays[t.month - 1] + (t.month == 2 && leap ? 1 : 0);
    return t.day >= 1 && t.day <= dim && t.hour >= 0 && t.hour < 24 && t.minute >= 0 &&
           t.minute < 60 && t.second >= 0 && t.second < 60 && t.millisecond >= 0 &&
           t.millisecond < 1000;
}

double date_part(const LocalTime& t) {
    return static_cast<double>(
        days_from_civil(t.year, static_cast<unsigned>(t.month), static_cast<unsigned>(t.day)) -
        kEpochOffset);
}

double time_part(const LocalTime& t) {
    return static_cast<double>(ms_of_day(t)) / 86400000.0;
}

double to_day_count(const LocalTime& t) {
    const double date = date_part(t);
    const double time = time_part(t);
    // Before the epoch the fraction still counts forwards from midnight: -1.25 is
    // 29 December 1899, 06:00.
    return date >= 0 ? date + time : date - time;
}

LocalTime from_day_count(double days) {
    if (!std::isfinite(days) || days < -693593.0 || days > 2958466.0)
        return LocalTime{};
    double whole = std::trunc(days);
    double frac = std::fabs(days - whole);
    int64_t ms = std::llround(frac * 86400000.0);
    if (ms >= 86400000) {
        // A time of day that rounds up to midnight is the next calendar day's midnight, on
        // either side of the epoch: -1.9999999999 (29 December, 23:59:59.99999) is 30
        // December 00:00, day 0, not 28 December.
        ms -= 86400000;
        whole += 1;
    }
    if (whole > kLastDay) {
        // No calendar day follows 31 December 9999: a time of day there that rounds up to the
        // next midnight, and 2958466.0 (that midnight, the range's end), are the last
        // millisecond of the day, the nearest moment the calendar has.
        whole = kLastDay;
        ms = 86400000 - 1;
    }
    LocalTime t;
    civil_from_days(static_cast<int64_t>(whole) + kEpochOffset, t.year, t.month, t.day);
    t.millisecond = static_cast<int>(ms % 1000);
    t.second = static_cast<int>(ms / 1000 % 60);
    t.minute = static_cast<int>(ms / 60000 % 60);
    t.hour = static_cast<int>(ms / 3600000);
    t.weekday = weekday_of(t.year, t.month, t.day);
    return t;
}

// The monotonic clock the standard library's steady clock reads, asked directly: the idle loop
// reads it at every wake-up.
namespace {

// The kernel's own clock_gettime in the vDSO, called directly: the C library's wrapper looks
// the same function up in the dynamic loader's data at every call, which takes three more
// pages of memory (its code, its table, the loader's data) into each wake-up of the loop. The
// wrapper stands in where the vDSO does not offer the function.
using ClockGetTime = int (*)(clockid_t, timespec*);

ClockGetTime find_clock_gettime() {
    if (void* vdso = dlopen("linux-vdso.so.1", RTLD_LAZY | RTLD_LOCAL | RTLD_NOLOAD)) {
        for (const char* name : {"__vdso_clock_gettime", "__kernel_clock_gettime"}) {
            if (void* f = dlsym(vdso, name))
                return reinterpret_cast<ClockGetTime>(f);
        }
    }
    return &clock_gettime;
}

// The wrapper until start-up has looked the vDSO up, so a clock read by another start-up
// routine before that still works.
VELMOR_WAKE_DATA ClockGetTime g_clock_gettime = &clock_gettime;
[[maybe_unused]] const bool g_clock_gettime_found = (g_clock_gettime = find_clock_gettime(), true);

VELMOR_WAKE_CODE int64_t system_monotonic_ms() {
    timespec ts;
    g_clock_gettime(CLOCK_MONOTONIC, &ts);
    return static_cast<int64_t>(ts.tv_sec) * 1000 + ts.tv_nsec / 1000000;
}

}  // namespace

VELMOR_WAKE_CODE int64_t SystemClock::monotonic_ms() const {
    return system_monotonic_ms();
}

LocalTime SystemClock::local_now() const {
    using namespace std::chrono;
    const auto now = system_clock::now();
    const int64_t ms = duration_cast<milliseconds>(now.time_since_epoch()).count();
    // Whole seconds rounded down, so that a moment before 1970 keeps its second.
    const int64_t seconds = ms >= 0 ? ms / 1000 : -((-ms + 999) / 1000);
    return local_at(seconds, static_cast<int>(ms - seconds * 1000));
}

LocalTime SystemClock::local_at(int64_t seconds, int millisecond) {
    thread_local bool known = false;
    thread_local int64_t known_seconds = 0;
    thread_local LocalTime known_time;
    if (!known || seconds != known_seconds) {
        const std::time_t secs = static_cast<std::time_t>(seconds);
        std::tm tm{};
        localtime_r(&secs, &tm);
        LocalTime t;
        t.year = tm.tm_year + 1900;
        t.month = tm.tm_mon + 1;
        t.day = tm.tm_mday;
        t.hour = tm.tm_hour;
        t.minute = tm.tm_min;
        t.second = tm.tm_sec > 59 ? 59 : tm.tm_sec;
        t.weekday = tm.tm_wday;
        known_time = t;
        known_seconds = seconds;
        known = true;
    }
    LocalTime t = known_time;
    t.millisecond = millisecond;
    return t;
}

ManualClock::ManualClock(LocalTime start, int64_t monotonic) : monotonic_(monotonic), local_ms_(0) {
    set_local(start);
}

void ManualClock::set_local(const LocalTime& t) {
    // Kept as whole milliseconds since the epoch in a double: exact for any real date.
    local_ms_ = (date_part(t) * 86400000.0 + static_cast<double>(ms_of_day(t)));
}

LocalTime ManualClock::local_now() const {
    const double ms = local_ms_;
    const double day = std::floor(ms / 86400000.0);
    const double rest = ms - day * 86400000.0;
    const double days = day >= 0 ? day + rest / 86400000.0 : day - rest / 86400000.0;
    return from_day_count(days);
}

void ManualClock::advance(int64_t ms) {
    if (ms <= 0)
        return;
    monotonic_ += ms;
    local_ms_ += static_cast<double>(ms);
}

void ManualClock::advance_to(int64_t monotonic_ms) {
    if (monotonic_ms > monotonic_)
        advance(monotonic_ms - monotonic_);
}

VELMOR_WAKE_CODE Clock& current() {
    return *g_current;
}

VELMOR_WAKE_CODE int64_t monotonic_now_ms() {
    if (g_current == &g_system)
        return system_monotonic_ms();
    return g_current->monotonic_ms();
}

void set_current(Clock* clock) {
    g_current = clock ? clock : &g_system;
}

VELMOR_WAKE_CODE ManualClock* current_manual() {
    // Asked at every turn of the message loop: the system clock is told without a cast.
    if (g_current == &g_system)
        return nullptr;
    return dynamic_cast<ManualClock*>(g_current);
}

ScopedClock::ScopedClock(Clock& clock) : previous_(g_current) {
    g_current = &clock;
}

ScopedClock::~ScopedClock() {
    g_current = previous_;
}

}  // namespace clk
