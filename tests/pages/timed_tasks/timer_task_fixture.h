#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "forms/button.h"
#include "forms/date_time_picker.h"
#include "forms/page_control.h"
#include "settings/settings_file.h"
#include "tests/pages/device_setup/device_setup_fixture.h"

namespace timed_tasks_test {

using device_setup_test::Bytes;

// The main window on the Timer Task page, linked to a loopback endpoint that plays the device.
class TimerTaskTest : public device_setup_test::DeviceSetupTest {
  protected:
    void StartTimerPage() {
        StartPage();
        Form1->PageControl1->SetActivePage(Form1->TabSheet4);
        win::PumpPending();
    }
    // Sets an entry half from code (which stores nothing), armed or not, at a time of day.
    static void Arm(forms::TCheckBox* box, forms::TDateTimePicker* picker, int h, int m, int s) {
        clk::LocalTime t = picker->Value();
        t.hour = h;
        t.minute = m;
        t.second = s;
        picker->SetValue(t);
        box->SetChecked(true);
    }
    static void EnableDay(int d) {
        Form1->DayEnableBox[d]->SetChecked(true);
        Form1->SetDayEntriesEnabled(d, true);
    }
    // Runs the window from `start` (local time) for `ms` milliseconds of the manual clock.
    void RunFrom(clk::LocalTime start, int64_t ms) {
        clock_.set_local(start);
        win::RunFor(ms);
    }
    static size_t Count(const std::vector<Bytes>& frames, const Bytes& frame) {
        return static_cast<size_t>(std::count(frames.begin(), frames.end(), frame));
    }
    static int32_t FlagAt(const std::vector<uint8_t>& bytes, size_t offset) {
        return Int32At(bytes, offset);
    }
};

}  // namespace timed_tasks_test
