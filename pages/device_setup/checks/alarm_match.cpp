#include "pages/device_setup/checks/alarm_match.h"

namespace device_setup {

bool TimeOfDayDue(const clk::LocalTime& time_value, const clk::LocalTime& now) {
    return time_value.hour == now.hour && time_value.minute == now.minute &&
           time_value.second == now.second;
}

bool AlarmDue(const clk::LocalTime& date_value, const clk::LocalTime& time_value,
              const clk::LocalTime& now) {
    return date_value.year == now.year && date_value.month == now.month &&
           date_value.day == now.day && TimeOfDayDue(time_value, now);
}

}  // namespace device_setup
