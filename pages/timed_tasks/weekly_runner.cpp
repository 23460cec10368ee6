// The 200 ms tick of Timer2: the two one-shot alarms of the Device Setup page, then today's
// entries of the weekly schedule, then at most one TurnOn or TurnOff to the working device.
// Nothing is remembered between ticks: an entry is due during its whole second and fires on
// every tick of it.

#include "app/main_form.h"
#include "forms/button.h"
#include "forms/date_time_picker.h"
#include "pages/device_setup/checks/alarm_match.h"

using device_setup::PowerAction;

PowerAction TForm1::ScanWeeklySchedule(const clk::LocalTime& now) {
    for (int d = 0; d < kWeekDays; ++d) {
        if (d != now.weekday || !DayEnableBox[d] || !DayEnableBox[d]->Checked())
            continue;
        // The lowest due slot decides; within a slot the power-on half goes first.
        for (int s = 0; s < kDaySlots; ++s) {
            if (EntryOnBox[d][s]->Checked() &&
                device_setup::TimeOfDayDue(EntryOnPicker[d][s]->Value(), now))
                return PowerAction::TurnOn;
            if (EntryOffBox[d][s]->Checked() &&
                device_setup::TimeOfDayDue(EntryOffPicker[d][s]->Value(), now))
                return PowerAction::TurnOff;
        }
    }
    return PowerAction::None;
}

[[gnu::hot]] void TForm1::Timer2Timer(forms::TObject*) {
    // One reading of the clock for the whole tick, so that the alarms and the schedule judge
    // the same second.
    const clk::LocalTime now = clk::current().local_now();
    PowerAction action = CheckClockAlarms(now);
    // A due weekly entry replaces the alarms' action; no due entry leaves it.
    const PowerAction weekly = ScanWeeklySchedule(now);
    if (weekly != PowerAction::None)
        action = weekly;
    // At most one frame, or the invalid-ID box when the working ID is not 1 to 255.
    SendPowerAction(action);
}
