#pragma once

#include "platform/clock/clock.h"

namespace device_setup {

// Whether an alarm set to the calendar date of `date_value` and the time of day of
// `time_value` is due at `now`: same date, and same hour, minute and second. An alarm is
// therefore due during one whole second, and never again once its date has passed.
// Whether the time of day of `time_value` is the second of the day `now` lies in: hour, minute
// and second alike, whatever the dates. A weekly entry is due during this one second.
bool TimeOfDayDue(const clk::LocalTime& time_value, const clk::LocalTime& now);

bool AlarmDue(const clk::LocalTime& date_value, const clk::LocalTime& time_value,
              const clk::LocalTime& now);

}  // namespace device_setup
