#pragma once

#include <cstdint>

namespace clk {

// A moment of the local calendar. weekday: 0 Sunday ... 6 Saturday.
struct LocalTime {
    int year = 1899;
    int month = 12;
    int day = 30;
    int hour = 0;
    int minute = 0;
    int second = 0;
    int millisecond = 0;
    int weekday = 6;
    friend bool operator==(const LocalTime&, const LocalTime&) = default;
};

// The source of time for timers (monotonic milliseconds) and for "now" (local calendar).
class Clock {
  public:
    virtual ~Clock() = default;
    // Milliseconds since an arbitrary start; never goes backwards.
    virtual int64_t monotonic_ms() const = 0;
    // The local date and time of day.
    virtual LocalTime local_now() const = 0;
};

// The real clock: steady_clock for timers, the system time zone for the calendar.
class SystemClock final : public Clock {
  public:
    int64_t monotonic_ms() const override;
    LocalTime local_now() const override;
    // The local calendar of a second since 1970 (UTC) and its millisecond. The last second
    // asked is remembered per thread: the time zone's conversion costs hundreds of
    // instructions, and a window being built reads the time once for each of its date
    // pickers, all within one second.
    static LocalTime local_at(std::int64_t seconds, int millisecond);
};

// A clock that moves only when told to. Advancing moves the monotonic time and the local
// calendar together.
class ManualClock final : public Clock {
  public:
    explicit ManualClock(LocalTime start = {2026, 1, 5, 8, 0, 0, 0, 1}, int64_t monotonic = 0);

    int64_t monotonic_ms() const override { return monotonic_; }
    LocalTime local_now() const override;

    // Moves both times forward by ms (negative values are ignored).
    void advance(int64_t ms);
    // Moves forward to the given monotonic time, when it lies ahead.
    void advance_to(int64_t monotonic_ms);
    // Sets the local calendar; the monotonic time stays.
    void set_local(const LocalTime& t);

  private:
    int64_t monotonic_;
    double local_ms_;  // local time in milliseconds since 30 December 1899, 00:00
};

// The process-wide clock. Starts as a SystemClock; tests install a ManualClock.
Clock& current();
// current().monotonic_ms(), the system clock read without going through its table of virtual
// functions (the message loop asks at every wake-up).
int64_t monotonic_now_ms();
// Installs a clock (not owned; it must outlive its use). nullptr returns to the system clock.
void set_current(Clock* clock);
// The installed clock when it is manual, else nullptr.
ManualClock* current_manual();

// Installs a clock for the lifetime of this object and restores the previous one afterwards.
class ScopedClock {
  public:
    explicit ScopedClock(Clock& clock);
    ~ScopedClock();
    ScopedClock(const ScopedClock&) = delete;
    ScopedClock& operator=(const ScopedClock&) = delete;

  private:
    Clock* previous_;
};

// Day counts since 30 December 1899 ("TDateTime"): the integer part is the date, the fraction
// the time of day. Dates before the epoch follow the same convention: the fraction is the time
// of day measured forwards, and the sign belongs to the date only.
double to_day_count(const LocalTime& t);
// The date part alone (whole days) and the time part alone (fraction of a day).
double date_part(const LocalTime& t);
double time_part(const LocalTime& t);
// Back to a calendar time, rounded to the millisecond; weekday is filled in. Values outside
// years 1..9999 or not finite give the epoch; from the last millisecond of 31 December 9999 up
// to 2958466.0 (the range's end) the result is that last millisecond, never year 10000.
LocalTime from_day_count(double days);
// 0 Sunday ... 6 Saturday for a civil date.
int weekday_of(int year, int month, int day);
// Whether the fields form a real calendar date and time of day.
bool is_valid(const LocalTime& t);

}  // namespace clk
