// Start-up and shutdown of the main window.

#include "app/main_form.h"

#include "forms/combo_box.h"
#include "forms/edit.h"
#include "forms/timer.h"
#include "platform/clock/clock.h"
#include "platform/win/metrics.h"
#include "settings/settings_loader.h"

namespace {

constexpr int kPortItems = 8;

// The console builds every page. The measuring programs of bench/startup are this start-up
// without one page's start-up arrays, so that scripts/startup_time.sh can weigh what each
// page adds to the time to the first frame, side by side in one run.
#ifdef VELMOR_STARTUP_WITHOUT_DEVICE_PANELS
constexpr bool kBuildDevicePanels = false;
#else
constexpr bool kBuildDevicePanels = true;
#endif
#ifdef VELMOR_STARTUP_WITHOUT_TIMER_TASK_PAGE
constexpr bool kBuildTimerTaskPage = false;
#else
constexpr bool kBuildTimerTaskPage = true;
#endif

}  // namespace

void TForm1::FormCreate(forms::TObject*) {
    // 1. Fit the window to the screen.
    FitToScreen();
    // 2. The receive loop starts counting from zero.
    ReceiveTickCount = 0;
    // 3. The Device Setup delay grid, then Bn_default and Bn_app take the tab order 38.
    BuildDelayGrid();
    // 4. The four Real-time Control device panels.
    if (kBuildDevicePanels)
        BuildDevicePanels();
    // 5. The Timer Task page, captioned with the stored language in step 7.
    if (kBuildTimerTaskPage)
        BuildTimerTaskPage();
    // 6. The settings file, opened or created with its defaults, into the controls.
    SettingsPath = settings::SettingsFilePath();
    const settings::LoadedSettings loaded =
        settings::LoadSettings(SettingsPath, clk::to_day_count(clk::current().local_now()));
    if (loaded.saved_language.present)
        LanguageIndex = loaded.saved_language.value;
    if (loaded.saved_ip_address.present)
        Ed_ip_address->SetText(loaded.saved_ip_address.value);
    // The pages load their own fields here: the alarms and the Device Setup ID
    // (pages/device_setup), the panel IDs (pages/realtime), the weekly schedule
    // (pages/timed_tasks).
    LoadDeviceSetupSettings(loaded);
    if (kBuildDevicePanels)
        LoadPanelIds(loaded);
    if (kBuildTimerTaskPage)
        LoadTimerTaskSettings(loaded);

    // 7. The stored language; the designed captions are Chinese (Simplified). An index that
    //    names no item leaves the language box without a selection.
    CB_language->SetItemIndex(
        LanguageIndex >= 0 && LanguageIndex < CB_language->Items().Count() ? LanguageIndex : -1);
    ApplyLanguage(0);
    // 8. The stored port; a number outside 1 to 8 leaves the port box without a selection.
    if (loaded.port_number.present) {
        const int32_t port = loaded.port_number.value;
        CB_com->SetItemIndex(port >= 1 && port <= kPortItems ? port - 1 : -1);
    }
    // 9. No link is open at start.
    SerialHandle = serial::INVALID_HANDLE_VALUE;
    // 10. The schedule runner and the command queue.
    Timer2->SetEnabled(true);
    Timer3->SetInterval(100);
    Timer3->SetEnabled(true);
    // 11. No settings request outstanding, no queued command.
    ReadSettingsSent = false;
    PendingFlag = false;
}

void TForm1::FitToScreen() {
    const int screen_width = win::GetSystemMetrics(win::SM_CXSCREEN);
    const int screen_height = win::GetSystemMetrics(win::SM_CYSCREEN);
    SetWidth(kOuterWidth);
    SetHeight(kOuterHeight);
    HorzScrollBar.Visible = screen_width < kOuterWidth;
    HorzScrollBar.Range = HorzScrollBar.Visible ? kOuterWidth : 0;
    VertScrollBar.Visible = screen_height < kOuterHeight;
    VertScrollBar.Range = VertScrollBar.Visible ? kOuterHeight : 0;
    ApplyScrollBars();
}

void TForm1::Button7Click(forms::TObject*) {
    Close();
}

void TForm1::ReleaseDynamicControls() {
    // The dynamic arrays go first, children before their containers: the four device panels
    // (pages/realtime), then the two delay groups (pages/device_setup). Everything else,
    // the Timer Task page included, is freed by the window as its owner.
    ReleaseDevicePanels();
    ReleaseDelayGrid();
}
