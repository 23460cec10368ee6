// The Timer Task page: seven day columns of ten entries, each entry an armed power-on time and
// an armed power-off time. The controls are the schedule; every operator change writes its one
// field of the settings file at once.

#include <string>

#include "app/main_form.h"
#include "forms/button.h"
#include "forms/date_time_picker.h"
#include "forms/make_control.h"
#include "forms/page_control.h"
#include "forms/panel.h"
#include "forms/timer.h"
#include "i18n/lang_text.h"
#include "pages/timed_tasks/timer_task_texts.h"
#include "settings/settings_loader.h"
#include "settings/settings_writers.h"

using forms::MakeControl;

namespace {

constexpr int kColumnWidth = 105;
constexpr int kPageHeight = 538;
constexpr int kEntryHeight = 51;
constexpr int kFirstEntryTop = 20;
constexpr int kDayFontSize = 10;
constexpr int kEntryFontSize = 7;
constexpr int kEntryBoxFontSize = 9;

forms::IndexedNameText Indexed(const char* array, int d) {
    return forms::IndexedNameText(array, d);
}
forms::IndexedNameText Indexed(const char* array, int d, int s) {
    return forms::IndexedNameText(array, d, s);
}

// The (d, s) whose control in `controls` is the sender, searched Sunday first, top to bottom.
template <class T>
bool FindEntry(const TForm1::WeekArray<T>& controls, const forms::TObject* sender, int* d, int* s) {
    for (int day = 0; day < TForm1::kWeekDays; ++day) {
        for (int slot = 0; slot < TForm1::kDaySlots; ++slot) {
            if (controls[day][slot] != nullptr && controls[day][slot] == sender) {
                *d = day;
                *s = slot;
                return true;
            }
        }
    }
    return false;
}

}  // namespace

void TForm1::CreateTimerTaskControls() {
    Panel_Time_Task =
        MakeControl<forms::TPanel>(this, TabSheet4, "Panel_Time_Task", 0, 2, 1228, kPageHeight);
    Panel_Time_Task->SetBevelOuter(forms::TBevelCut::bvNone);
    Timer2->SetOnTimerMethod<&TForm1::Timer2Timer>(this);
}

void TForm1::BuildTimerTaskPage() {
    for (int d = 0; d < kWeekDays; ++d) {
        auto* day = MakeControl<forms::TPanel>(this, Panel_Time_Task, Indexed("DayPanel", d),
                                               kColumnWidth * d, 0, kColumnWidth, kPageHeight);
        day->Font().SetSize(kDayFontSize);
        DayPanel[d] = day;
        auto* enable =
            MakeControl<forms::TCheckBox>(this, day, Indexed("DayEnableBox", d), 6, 5, 100, 17);
        enable->OnClick = [this](forms::TObject* sender) { DayEnableBoxClick(sender); };
        DayEnableBox[d] = enable;
        for (int s = 0; s < kDaySlots; ++s) {
            auto* group = MakeControl<forms::TGroupBox>(this, day, Indexed("EntryGroup", d, s), 0,
                                                        kEntryHeight * s + kFirstEntryTop,
                                                        kColumnWidth, kEntryHeight);
            group->Font().SetSize(kEntryFontSize);
            EntryGroup[d][s] = group;
            auto* on_box = MakeControl<forms::TCheckBox>(this, group, Indexed("EntryOnBox", d, s),
                                                         5, 7, 30, 18);
            on_box->Font().SetSize(kEntryBoxFontSize);
            on_box->OnClick = [this](forms::TObject* sender) { EntryOnBoxClick(sender); };
            EntryOnBox[d][s] = on_box;
            auto* off_box = MakeControl<forms::TCheckBox>(this, group, Indexed("EntryOffBox", d, s),
                                                          5, 28, 30, 18);
            off_box->Font().SetSize(kEntryBoxFontSize);
            off_box->OnClick = [this](forms::TObject* sender) { EntryOffBoxClick(sender); };
            EntryOffBox[d][s] = off_box;
            // A new picker holds the date and time of its creation.
            auto* on_picker = MakeControl<forms::TDateTimePicker>(
                this, group, Indexed("EntryOnPicker", d, s), 39, 7, 60, 18);
            on_picker->SetKind(forms::TDateTimeKind::dtkTime);
            on_picker->OnChange = [this](forms::TObject* sender) { EntryOnPickerChange(sender); };
            EntryOnPicker[d][s] = on_picker;
            auto* off_picker = MakeControl<forms::TDateTimePicker>(
                this, group, Indexed("EntryOffPicker", d, s), 39, 28, 60, 18);
            off_picker->SetKind(forms::TDateTimeKind::dtkTime);
            off_picker->OnChange = [this](forms::TObject* sender) { EntryOffPickerChange(sender); };
            EntryOffPicker[d][s] = off_picker;
        }
    }
    // The captions come with the language: start-up applies the stored one right after loading
    // the settings (step 7), and every language switch ends with the page's captions. So the
    // page is captioned once at start-up, in the language it shows, not first in Chinese
    // (Simplified) and again.
    Captions.SetDynamic(i18n::DynamicCaptions::TimerTaskPage,
                        [this](int) { SetWeekdayCaptions(); });
}

void TForm1::SetWeekdayCaptions() {
    const std::string on_text(i18n::PickText(timed_tasks::kEntryOnCaption, LanguageIndex));
    const std::string off_text(i18n::PickText(timed_tasks::kEntryOffCaption, LanguageIndex));
    for (int d = 0; d < kWeekDays; ++d) {
        if (!DayEnableBox[d])
            continue;
        DayEnableBox[d]->SetCaption(
            i18n::PickText(timed_tasks::kWeekdayCaptions[d], LanguageIndex));
        for (int s = 0; s < kDaySlots; ++s) {
            EntryOnBox[d][s]->SetCaption(on_text);
            EntryOffBox[d][s]->SetCaption(off_text);
        }
    }
}

void TForm1::SetDayEntriesEnabled(int d, bool enabled) {
    if (d < 0 || d >= kWeekDays || !DayEnableBox[d])
        return;
    // The day box itself stays enabled; the entries keep their boxes and times.
    for (int s = 0; s < kDaySlots; ++s) {
        EntryOnBox[d][s]->SetEnabled(enabled);
        EntryOffBox[d][s]->SetEnabled(enabled);
        EntryOnPicker[d][s]->SetEnabled(enabled);
        EntryOffPicker[d][s]->SetEnabled(enabled);
    }
}

void TForm1::LoadTimerTaskSettings(const settings::LoadedSettings& loaded) {
    // Setting boxes and pickers from code runs no handler, so loading writes nothing back. A
    // field the file does not hold whole leaves its control as built: unchecked, or at the
    // start-up time.
    for (int d = 0; d < kWeekDays; ++d) {
        if (!loaded.day_flag[d].present)
            continue;
        DayEnableBox[d]->SetChecked(loaded.day_flag[d].value);
        SetDayEntriesEnabled(d, loaded.day_flag[d].value);
    }
    for (int d = 0; d < kWeekDays; ++d)
        for (int s = 0; s < kDaySlots; ++s)
            if (loaded.on_flag[d][s].present)
                EntryOnBox[d][s]->SetChecked(loaded.on_flag[d][s].value);
    for (int d = 0; d < kWeekDays; ++d)
        for (int s = 0; s < kDaySlots; ++s)
            if (loaded.off_flag[d][s].present)
                EntryOffBox[d][s]->SetChecked(loaded.off_flag[d][s].value);
    // Each picker takes the stored time of day and keeps its own date.
    for (int d = 0; d < kWeekDays; ++d)
        for (int s = 0; s < kDaySlots; ++s)
            if (loaded.on_time[d][s].present)
                EntryOnPicker[d][s]->SetTime(loaded.on_time[d][s].value);
    for (int d = 0; d < kWeekDays; ++d)
        for (int s = 0; s < kDaySlots; ++s)
            if (loaded.off_time[d][s].present)
                EntryOffPicker[d][s]->SetTime(loaded.off_time[d][s].value);
}

// Each handler finds its control among the arrays and writes that control's one field; a file
// that cannot be opened is skipped silently and the change holds for this run only.
void TForm1::DayEnableBoxClick(forms::TObject* sender) {
    for (int d = 0; d < kWeekDays; ++d) {
        if (DayEnableBox[d] == nullptr || DayEnableBox[d] != sender)
            continue;
        const bool checked = DayEnableBox[d]->Checked();
        settings::WriteDayFlag(SettingsPath, d, checked);
        SetDayEntriesEnabled(d, checked);
        return;
    }
}

void TForm1::EntryOnBoxClick(forms::TObject* sender) {
    int d = 0, s = 0;
    if (FindEntry(EntryOnBox, sender, &d, &s))
        settings::WriteOnFlag(SettingsPath, d, s, EntryOnBox[d][s]->Checked());
}

void TForm1::EntryOffBoxClick(forms::TObject* sender) {
    int d = 0, s = 0;
    if (FindEntry(EntryOffBox, sender, &d, &s))
        settings::WriteOffFlag(SettingsPath, d, s, EntryOffBox[d][s]->Checked());
}

void TForm1::EntryOnPickerChange(forms::TObject* sender) {
    int d = 0, s = 0;
    if (FindEntry(EntryOnPicker, sender, &d, &s))
        settings::WriteOnTime(SettingsPath, d, s, EntryOnPicker[d][s]->DateTime());
}

void TForm1::EntryOffPickerChange(forms::TObject* sender) {
    int d = 0, s = 0;
    if (FindEntry(EntryOffPicker, sender, &d, &s))
        settings::WriteOffTime(SettingsPath, d, s, EntryOffPicker[d][s]->DateTime());
}
