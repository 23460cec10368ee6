#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>
#include <vector>

#include "forms/form.h"
#include "i18n/caption_table.h"
#include "link/loop_socket_watch.h"
#include "pages/device_setup/checks/power_action.h"
#include "pages/realtime/shown_status.h"
#include "platform/clock/clock.h"
#include "platform/serial/comm.h"
#include "platform/tcp/tcp_client.h"

namespace forms {
class TButton;
class TCheckBox;
class TComboBox;
class TDateTimePicker;
class TEdit;
class TGroupBox;
class TLabel;
class TPageControl;
class TPanel;
class TShape;
class TStatusBar;
class TTabSheet;
class TTimer;
}  // namespace forms
namespace settings {
struct LoadedSettings;
}
namespace skin {
class TSkinData;
}

// The main window: every control, every handler and all state of the console. The class is
// one, but its members are defined in the folder of the subsystem they belong to, each section
// below names its folder. A subsystem that joins adds its section here, defines its members in
// its own folder, and calls its page builder from FormCreate (app/form_create.cpp).
class TForm1 : public forms::TForm {
    FORMS_CLASS(TForm1, forms::TForm)
  public:
    explicit TForm1(forms::TComponent* owner);
    ~TForm1() override;

    // ---- app/: the window, start-up and shutdown -------------------------------------------
    forms::TPageControl* PageControl1 = nullptr;
    forms::TTabSheet* TabSheet1 = nullptr;  // Port Setup
    forms::TTabSheet* TabSheet2 = nullptr;  // Device Setup
    forms::TTabSheet* TabSheet3 = nullptr;  // Real-time Control
    forms::TTabSheet* TabSheet4 = nullptr;  // Timer Task
    forms::TLabel* Label5 = nullptr;
    forms::TComboBox* CB_language = nullptr;
    forms::TButton* Button7 = nullptr;
    forms::TStatusBar* StatusBar1 = nullptr;
    forms::TTimer* Timer_read232 = nullptr;  // receive loop, 10 ms
    forms::TTimer* Timer1 = nullptr;         // send-failure watch, 1000 ms
    forms::TTimer* Timer2 = nullptr;         // alarms and weekly schedule, 200 ms
    forms::TTimer* Timer3 = nullptr;         // command queue and status polling

    // The settings file, resolved once at start-up; every field writer goes to it.
    std::filesystem::path SettingsPath;
    // The outer size set at start-up, and the screen fit's scroll ranges.
    static constexpr int kOuterWidth = 1265;
    static constexpr int kOuterHeight = 693;

    void FormCreate(forms::TObject* sender);
    void Button7Click(forms::TObject* sender);
    // Frees the dynamic control arrays, children before their containers.
    void ReleaseDynamicControls();

    // ---- skin/: the skin component ----------------------------------------------------------
    // Carries the default skin; the engine takes the window over when it is first activated
    // (nothing else in the window calls the engine).
    skin::TSkinData* SkinData1 = nullptr;

    // ---- i18n/: languages --------------------------------------------------------------------
    // 0 Chinese (Simplified), 1 English, 2 Chinese (Traditional); any other value reads as
    // English. Zero until start-up has read the stored language.
    int32_t LanguageIndex = 0;
    // The captions a language switch sets; each page adds its rows and dynamic routines.
    i18n::CaptionTables Captions;

    void CB_languageChange(forms::TObject* sender);
    // Sets every caption for LanguageIndex; `previous` is the language the status-bar texts on
    // display were written in.
    void ApplyLanguage(int previous);

    // ---- link/: serial port ------------------------------------------------------------------
    forms::TLabel* Label13 = nullptr;
    forms::TComboBox* CB_com = nullptr;
    forms::TButton* Bn_ser_conn = nullptr;
    // The open COM port, or INVALID_HANDLE_VALUE while the serial link is not in use.
    serial::HANDLE SerialHandle = serial::INVALID_HANDLE_VALUE;

    // Opens COM<n> at 19200 8N1 (closing any port open before) and reports the outcome in the
    // status bar and, on failure, in a message box.
    bool Set_Serial(int port_number);
    void CB_comChange(forms::TObject* sender);
    // The serial link's operations on the open port.
    void SerialWrite(std::span<const uint8_t> bytes);
    size_t SerialBytesWaiting();
    void SerialDiscardInput();
    // Reads up to into.size() waiting bytes into `into`; the count read (0 on failure).
    size_t SerialReadInto(std::span<uint8_t> into);
    void SerialClose();

    // ---- link/: Ethernet link, sending and the receive loop -----------------------------------
    forms::TLabel* Label7 = nullptr;
    forms::TEdit* Ed_ip_address = nullptr;
    forms::TButton* Bn_ip_conn = nullptr;
    // The TCP client of the Ethernet link; the link is in use while it reports connected. Its
    // socket is watched by the message loop's wait; the watch is declared first so that it
    // outlives the client, which takes its socket from the watch when it closes.
    devlink::LoopSocketWatch TcpSocketWatch;
    tcp::TcpClient IdTCPClient1;
    // Receive-loop tick count and the slow-rate flag after a ReadSettings request.
    uint8_t ReceiveTickCount = 0;
    bool ReadSettingsSent = false;
    // The payload of the last short frame sent; an Ack must match its ID and command code.
    std::array<uint8_t, 4> LastShortPayload{};
    // Ticks of Timer1 since the last frame sent, 0 or 1.
    uint8_t FailureTickCount = 0;

    // Hooks the link's handlers to the Port Setup controls and the two link timers.
    void CreateLinkHandlers();
    void Ed_ip_addressExit(forms::TObject* sender);
    void Bn_ser_connClick(forms::TObject* sender);
    void Bn_ip_connClick(forms::TObject* sender);
    // Connects the TCP client to Ed_ip_address on the link's port, unless it is connected.
    tcp::ConnectError ConnectEthernet();
    // The connected test for the connect buttons; a broken connection is released first (as
    // the receive loop does) and then counts as not connected.
    bool EthernetInUse();
    // The receive loop's answer to a broken connection: disconnect, and only if even that
    // fails, the connect-failed box and the not-connected look of the Ethernet button.
    void HandleConnectionLoss();
    // The one send routine: wraps the payload into a frame and writes it to the link in use.
    void SendFrame(std::span<const uint8_t> payload);
    void Timer1Timer(forms::TObject* sender);
    void Timer_read232Timer(forms::TObject* sender);
    // Timer_read232Timer of `form` as Timer_read232 calls it, 100 times a second.
    static void ReceiveTick(void* form, forms::TObject* sender);
    // One tick of the receive loop: the connected test, the tick divider, the read when due.
    void ReceiveStep();
    // Ticks that would do nothing but count are skipped (Timer_read232 does not wake the loop
    // for them) and counted when the loop next runs: with a link open the ticks before the next
    // read, without one every tick, which only finds that there is no link (those count for
    // nothing). Whatever opens or closes a link counts the skipped ticks first, as the old link
    // had them counted, and ends the skip.
    void SkipQuietTicks();
    void CountSkippedTicks();
    bool SkippedTicksCount = false;  // the skip was made with a link open

    // ---- protocol/dispatch/: replies ---------------------------------------------------------
    // One batch of received bytes, recognised by its length and first byte.
    void HandleReply(std::span<const uint8_t> batch);
    // The contents of an intact SettingsReply for the device Ed_conn_id shows.
    void ApplySettingsReply(std::span<const uint8_t> batch);
    // The contents of an intact StatusReply (no mask step) or StateReport (mask step).
    void ApplyStatus(std::span<const uint8_t> batch, bool mask_step);

    // ---- pages/device_setup/: the Device Setup page ------------------------------------------
    // The ID strip and the read-device button (everything sits on Panel_setup).
    forms::TPanel* Panel_setup = nullptr;
    forms::TButton* Bn_read_id = nullptr;
    forms::TLabel* Label14 = nullptr;
    forms::TEdit* Ed_read_id = nullptr;
    forms::TButton* Bn_write_id = nullptr;
    forms::TLabel* Label4 = nullptr;
    forms::TEdit* Ed_write_id = nullptr;
    forms::TLabel* Label1 = nullptr;
    forms::TGroupBox* GroupBox1 = nullptr;
    forms::TLabel* Label6 = nullptr;
    forms::TEdit* Ed_conn_id = nullptr;  // the working device ID
    forms::TButton* Bn_connect = nullptr;
    // The delay grid: k 0 power-on, 1 power-off; b 0 "LCD", 1 to 16 CH1 to CH16.
    forms::TGroupBox* GroupBox_dly_setup = nullptr;
    forms::TButton* Bn_default = nullptr;
    forms::TButton* Bn_app = nullptr;
    std::array<forms::TGroupBox*, 2> DelayGroup{};
    std::array<std::array<forms::TLabel*, 17>, 2> DelayLabel{};
    std::array<std::array<forms::TEdit*, 17>, 2> DelayEdit{};
    std::array<std::array<forms::TCheckBox*, 17>, 2> DelayMinutes{};
    // Cascade, start channel, lock and the power buttons.
    forms::TGroupBox* GroupBox5 = nullptr;
    forms::TCheckBox* CheckBox17 = nullptr;
    forms::TLabel* Label3 = nullptr;
    forms::TComboBox* Cb_ch = nullptr;
    forms::TLabel* Label2 = nullptr;
    forms::TCheckBox* CB_lock = nullptr;
    forms::TButton* Button3 = nullptr;
    forms::TButton* Button1 = nullptr;
    forms::TButton* Button2 = nullptr;
    // The two one-shot power alarms.
    forms::TCheckBox* CB_Opentime = nullptr;
    forms::TDateTimePicker* DateTimePicker1 = nullptr;
    forms::TDateTimePicker* DateTimePicker2 = nullptr;
    forms::TCheckBox* CB_Closetime = nullptr;
    forms::TDateTimePicker* DateTimePicker3 = nullptr;
    forms::TDateTimePicker* DateTimePicker4 = nullptr;

    // The page's designed controls with their handlers and caption rows (window creation).
    void CreateDeviceSetupControls();
    // Start-up: the delay grid, then the tab order of Bn_default and Bn_app.
    void BuildDelayGrid();
    // Start-up: the stored working ID and the two alarms.
    void LoadDeviceSetupSettings(const settings::LoadedSettings& loaded);
    // Destruction: the delay grid, children before their groups.
    void ReleaseDelayGrid();
    void ApplyDelayCaptions(int language);
    void Bn_read_idClick(forms::TObject* sender);
    void Bn_write_idClick(forms::TObject* sender);
    void Bn_connectClick(forms::TObject* sender);
    void Ed_conn_idExit(forms::TObject* sender);
    void Bn_defaultClick(forms::TObject* sender);
    void Bn_appClick(forms::TObject* sender);
    void CheckBox17Click(forms::TObject* sender);
    void Cb_chChange(forms::TObject* sender);
    void Button3Click(forms::TObject* sender);
    void Button1Click(forms::TObject* sender);
    void Button2Click(forms::TObject* sender);
    void CB_lockClick(forms::TObject* sender);
    void DateTimePicker1Change(forms::TObject* sender);
    void DateTimePicker2Change(forms::TObject* sender);
    void DateTimePicker3Change(forms::TObject* sender);
    void DateTimePicker4Change(forms::TObject* sender);
    // The working ID for a request, or nothing after the invalid-ID box.
    std::optional<uint8_t> WorkingDeviceId();
    // Cb_ch, Label3, Label2 and Button3 follow the cascade box.
    void SetCascadeControlsEnabled(bool enabled);
    // Sends a DeviceOption request with the current start channel to the working device.
    void SendDeviceOption(uint8_t sub_code);
    // The alarm step of the 200 ms tick: the pending action of the two one-shot alarms at
    // `now`, the tick's one reading of the clock.
    device_setup::PowerAction CheckClockAlarms(const clk::LocalTime& now);
    // The send step of the 200 ms tick.
    void SendPowerAction(device_setup::PowerAction action);

    // ---- pages/timed_tasks/: the Timer Task page and the weekly schedule runner -------------
    // d is the weekday, 0 Sunday to 6 Saturday; s the entry slot, 0 to 9 from the top.
    static constexpr int kWeekDays = 7;
    static constexpr int kDaySlots = 10;
    template <class T>
    using WeekArray = std::array<std::array<T*, kDaySlots>, kWeekDays>;
    forms::TPanel* Panel_Time_Task = nullptr;
    std::array<forms::TPanel*, kWeekDays> DayPanel{};
    std::array<forms::TCheckBox*, kWeekDays> DayEnableBox{};
    WeekArray<forms::TGroupBox> EntryGroup{};
    WeekArray<forms::TCheckBox> EntryOnBox{};
    WeekArray<forms::TCheckBox> EntryOffBox{};
    WeekArray<forms::TDateTimePicker> EntryOnPicker{};
    WeekArray<forms::TDateTimePicker> EntryOffPicker{};

    // The page's designed panel, its caption routine and the 200 ms tick (window creation).
    void CreateTimerTaskControls();
    // Start-up: the seven day columns with their ten entries each, captioned.
    void BuildTimerTaskPage();
    // Start-up: the stored schedule, day boxes first, then entry boxes, then times.
    void LoadTimerTaskSettings(const settings::LoadedSettings& loaded);
    void SetWeekdayCaptions();
    void SetDayEntriesEnabled(int d, bool enabled);
    void DayEnableBoxClick(forms::TObject* sender);
    void EntryOnBoxClick(forms::TObject* sender);
    void EntryOffBoxClick(forms::TObject* sender);
    void EntryOnPickerChange(forms::TObject* sender);
    void EntryOffPickerChange(forms::TObject* sender);
    // The weekly step of the 200 ms tick: the first due entry of today, or none.
    device_setup::PowerAction ScanWeeklySchedule(const clk::LocalTime& now);
    // The 200 ms tick: the alarms, then the weekly scan, then at most one frame.
    void Timer2Timer(forms::TObject* sender);

    // ---- pages/realtime/: the Real-time Control page -----------------------------------------
    // d device panel 0 to 3; c channel 0 "LCD" to 16; m mask index 0 to 15 for CH(m + 1); the
    // buttons of a panel also stand in one row of slots (1 sequential on, 2 reverse off, 3 to 19
    // the channel buttons c = slot - 3, 20 all channels; slot 0 stays empty).
    static constexpr int kDevicePanels = 4;
    static constexpr int kPanelChannels = 17;
    static constexpr int kPanelMasks = 16;
    static constexpr int kPanelSlots = 21;
    forms::TPanel* Panel1 = nullptr;
    forms::TButton* Bn_ch_all = nullptr;
    forms::TButton* Bn_ch_clr = nullptr;
    std::array<forms::TGroupBox*, kDevicePanels> PanelGroup{};
    std::array<forms::TLabel*, kDevicePanels> PanelIdLabel{};
    std::array<forms::TEdit*, kDevicePanels> PanelIdEdit{};
    std::array<forms::TLabel*, kDevicePanels> PanelStatusLabel{};
    std::array<std::array<forms::TShape*, kPanelChannels>, kDevicePanels> ChannelLed{};
    std::array<std::array<forms::TLabel*, kPanelChannels>, kDevicePanels> ChannelLabel{};
    std::array<forms::TCheckBox*, kDevicePanels> PanelLockBox{};
    std::array<forms::TLabel*, kDevicePanels> PanelMaskLabel{};
    std::array<forms::TCheckBox*, kDevicePanels> PanelMaskAll{};
    std::array<std::array<forms::TCheckBox*, kPanelMasks>, kDevicePanels> ChannelMask{};
    std::array<forms::TButton*, kDevicePanels> PanelSeqOnButton{};
    std::array<forms::TButton*, kDevicePanels> PanelRevOffButton{};
    std::array<std::array<forms::TButton*, kPanelChannels>, kDevicePanels> ChannelButton{};
    std::array<forms::TButton*, kDevicePanels> PanelAllButton{};
    std::array<std::array<forms::TButton*, kPanelSlots>, kDevicePanels> PanelButtons{};
    // Set while a device reports a running power-on or power-off sequence.
    std::array<bool, kDevicePanels> DeviceRunning{};
    // What the last status reply put on each panel; forgotten by any other writer of the panel.
    std::array<realtime::ShownStatus, kDevicePanels> PanelShownStatus{};
    // The one-place command queue and the poller (all zero at start).
    bool PendingFlag = false;
    int32_t PendingCountdown = 0;
    std::array<int32_t, 4> PendingFrame{};
    int32_t PendingPanel = 0;
    int32_t PendingSlot = 0;
    int32_t PollPanel = 0;

    // The page's designed controls: Panel1 with the two broadcast buttons (window creation).
    void CreateRealtimeControls();
    // Start-up: the four device panels with every array inside them.
    void BuildDevicePanels();
    // Start-up: the stored panel IDs.
    void LoadPanelIds(const settings::LoadedSettings& loaded);
    // Start-up: the controls of panel d whose state a status reply shows, and its ID edit and
    // all-mask box, count their changes in the panel's record.
    void CountPanelChanges(int d);
    // Destruction: the four panels, children before their frames.
    void ReleaseDevicePanels();
    void ApplyPanelCaptions(int language);
    // The panel a control belongs to, or -1 for a control of no panel.
    int PanelOf(const forms::TObject* control) const;
    // The panel's device ID, after the ID, lock and running checks (with their boxes); nothing
    // when one of them refused.
    std::optional<uint8_t> CheckPanel(int d);
    // The panel's device ID when its edit holds a valid one (no box).
    std::optional<uint8_t> PanelDeviceId(int d) const;
    // One channel of a panel shown on (red, off-text) or off (white, on-text).
    void ShowChannel(int d, int c, bool on);
    // The LCD and every unmasked channel of a panel shown on or off.
    void ShowUnmaskedChannels(int d, bool on);
    void PanelSeqOnClick(forms::TObject* sender);
    void PanelRevOffClick(forms::TObject* sender);
    void ChannelButtonClick(forms::TObject* sender);
    void PanelAllButtonClick(forms::TObject* sender);
    void ChannelMaskClick(forms::TObject* sender);
    void PanelMaskAllClick(forms::TObject* sender);
    void Bn_ch_allClick(forms::TObject* sender);
    void Bn_ch_clrClick(forms::TObject* sender);
    void PanelIdEditExit(forms::TObject* sender);
    // Puts one request in the queue, replacing whatever waited there; the panel and slot stay
    // as they were when not given.
    void QueueRequest(const std::array<uint8_t, 4>& payload, std::optional<int> panel = {},
                      std::optional<int> slot = {});
    void Timer3Timer(forms::TObject* sender);
    // What the panel shows after a queued request went out, trusting the device to obey.
    void ApplyQueuedFollowUp();
    // One polling turn: the next panel with a valid ID is asked for its status; panels without
    // one on the way fall back to all off.
    void PollNextPanel();

  private:
    void CreateDesignedControls();
    void CreatePortSetupControls();
    void FitToScreen();
};

// The one main window.
extern TForm1* Form1;
