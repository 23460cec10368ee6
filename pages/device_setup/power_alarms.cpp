// The two one-shot power alarms: their pickers are stored whole on every change, loaded at
// start-up, and checked on every tick of the 200 ms timer (pages/timed_tasks), which sends
// TurnOn or TurnOff to the working device during the alarm's second.

#include "app/main_form.h"
#include "forms/button.h"
#include "forms/combo_box.h"
#include "forms/date_time_picker.h"
#include "forms/edit.h"
#include "pages/device_setup/checks/alarm_match.h"
#include "pages/device_setup/checks/device_id.h"
#include "platform/clock/clock.h"
#include "protocol/requests.h"
#include "settings/settings_loader.h"
#include "settings/settings_writers.h"

using device_setup::PowerAction;

void TForm1::LoadDeviceSetupSettings(const settings::LoadedSettings& loaded) {
    // Only a stored ID from 1 to 254 comes back as text; the loader has made it so.
    if (loaded.saved_ids[0].present)
        Ed_conn_id->SetText(loaded.saved_ids[0].value);
    // Each picker takes its own half of the record and keeps the other half of its value.
    // Setting a picker from code fires no change handler, so nothing is written back.
    if (loaded.open_alarm_date.present)
        DateTimePicker1->SetDate(loaded.open_alarm_date.value);
    if (loaded.open_alarm_time.present)
        DateTimePicker2->SetTime(loaded.open_alarm_time.value);
    if (loaded.close_alarm_date.present)
        DateTimePicker3->SetDate(loaded.close_alarm_date.value);
    if (loaded.close_alarm_time.present)
        DateTimePicker4->SetTime(loaded.close_alarm_time.value);
}

// Either picker of an alarm rewrites its whole record; a file that cannot be opened is
// skipped silently and the change holds for this run only.
void TForm1::DateTimePicker1Change(forms::TObject*) {
    settings::WriteOpenAlarm(SettingsPath, DateTimePicker1->DateTime(),
                             DateTimePicker2->DateTime());
}

void TForm1::DateTimePicker2Change(forms::TObject* sender) {
    DateTimePicker1Change(sender);
}

void TForm1::DateTimePicker3Change(forms::TObject*) {
    settings::WriteCloseAlarm(SettingsPath, DateTimePicker3->DateTime(),
                              DateTimePicker4->DateTime());
}

void TForm1::DateTimePicker4Change(forms::TObject* sender) {
    DateTimePicker3Change(sender);
}

PowerAction TForm1::CheckClockAlarms(const clk::LocalTime& now) {
    PowerAction pending = PowerAction::None;
    if (CB_Opentime->Checked() &&
        device_setup::AlarmDue(DateTimePicker1->Value(), DateTimePicker2->Value(), now))
        pending = PowerAction::TurnOn;
    // When both alarms are due in the same second, powering off wins.
    if (CB_Closetime->Checked() &&
        device_setup::AlarmDue(DateTimePicker3->Value(), DateTimePicker4->Value(), now))
        pending = PowerAction::TurnOff;
    return pending;
}

void TForm1::SendPowerAction(PowerAction action) {
    if (action == PowerAction::None)
        return;
    // An invalid working ID opens the box on every tick of the due second; the box's own
    // loop lets further ticks through, so the boxes stack while the timers go on.
    const auto id = WorkingDeviceId();
    if (!id)
        return;
    SendFrame(action == PowerAction::TurnOn ? protocol::TurnOn(*id, Cb_ch->ItemIndex())
                                            : protocol::TurnOff(*id, Cb_ch->ItemIndex()));
}
