// The designed controls of the Device Setup page: the ID strip, the setup group with the
// read-device button, the delay frame with its two buttons, the option strip, the power
// buttons and the two alarms. The delay grid itself is built at start-up (delay_grid.cpp).

#include "app/main_form.h"
#include "forms/button.h"
#include "forms/combo_box.h"
#include "forms/date_time_picker.h"
#include "forms/edit.h"
#include "forms/label.h"
#include "forms/make_control.h"
#include "forms/page_control.h"
#include "forms/panel.h"
#include "pages/device_setup/checks/device_setup_texts.h"

using forms::MakeControl;
using forms::SetFontHeight;

namespace {

constexpr int kIdMaxLength = 3;

}  // namespace

void TForm1::CreateDeviceSetupControls() {
    Panel_setup = new forms::TPanel(this);
    Panel_setup->SetName("Panel_setup");
    Panel_setup->SetParent(TabSheet2);
    Panel_setup->SetAlign(forms::TAlign::alClient);

    // The ID strip: reading and writing the ID of the one device on the line.
    Bn_read_id = MakeControl<forms::TButton>(this, Panel_setup, "Bn_read_id", 14, 7, 52, 34);
    Bn_read_id->SetCaption("读出");
    Bn_read_id->OnClick = [this](forms::TObject* s) { Bn_read_idClick(s); };
    Label14 = MakeControl<forms::TLabel>(this, Panel_setup, "Label14", 69, 13, 50, 25);
    Label14->SetCaption("原ID：");
    Ed_read_id = MakeControl<forms::TEdit>(this, Panel_setup, "Ed_read_id", 117, 10, 41, 28);
    Ed_read_id->SetMaxLength(kIdMaxLength);
    Bn_write_id = MakeControl<forms::TButton>(this, Panel_setup, "Bn_write_id", 163, 7, 52, 34);
    Bn_write_id->SetCaption("写入");
    Bn_write_id->OnClick = [this](forms::TObject* s) { Bn_write_idClick(s); };
    Label4 = MakeControl<forms::TLabel>(this, Panel_setup, "Label4", 220, 13, 58, 25);
    Label4->SetCaption("新ID：");
    Ed_write_id = MakeControl<forms::TEdit>(this, Panel_setup, "Ed_write_id", 277, 10, 41, 28);
    Ed_write_id->SetMaxLength(kIdMaxLength);
    Label1 = MakeControl<forms::TLabel>(this, Panel_setup, "Label1", 332, 16, 290, 25);
    SetFontHeight(Label1, 13);
    Label1->SetCaption("(读或写ID时，只与一台设备相连接)");

    // The setup group: the working ID and everything that addresses it.
    GroupBox1 = MakeControl<forms::TGroupBox>(this, Panel_setup, "GroupBox1", 11, 47, 1214, 490);
    GroupBox1->SetCaption("设置");
    Label6 = MakeControl<forms::TLabel>(this, GroupBox1, "Label6", 21, 35, 34, 25);
    Label6->SetCaption("ID：");
    Ed_conn_id = MakeControl<forms::TEdit>(this, GroupBox1, "Ed_conn_id", 61, 32, 41, 28);
    Ed_conn_id->SetMaxLength(kIdMaxLength);
    Ed_conn_id->OnExit = [this](forms::TObject* s) { Ed_conn_idExit(s); };
    Bn_connect = MakeControl<forms::TButton>(this, GroupBox1, "Bn_connect", 108, 31, 88, 29);
    Bn_connect->SetCaption("读取信息");
    Bn_connect->OnClick = [this](forms::TObject* s) { Bn_connectClick(s); };

    // The delay frame; its two groups of cells join at start-up.
    GroupBox_dly_setup =
        MakeControl<forms::TGroupBox>(this, GroupBox1, "GroupBox_dly_setup", 3, 72, 1208, 345);
    GroupBox_dly_setup->SetCaption("延时设置");
    Bn_default =
        MakeControl<forms::TButton>(this, GroupBox_dly_setup, "Bn_default", 996, 305, 88, 33);
    Bn_default->SetCaption("默认值");
    Bn_default->OnClick = [this](forms::TObject* s) { Bn_defaultClick(s); };
    Bn_app = MakeControl<forms::TButton>(this, GroupBox_dly_setup, "Bn_app", 1106, 305, 89, 33);
    Bn_app->SetCaption("应用");
    Bn_app->OnClick = [this](forms::TObject* s) { Bn_appClick(s); };

    // The option strip: cascade with its start channel, the lock, the manual switch.
    GroupBox5 = MakeControl<forms::TGroupBox>(this, GroupBox1, "GroupBox5", 3, 416, 1208, 64);
    CheckBox17 = MakeControl<forms::TCheckBox>(this, GroupBox5, "CheckBox17", 17, 25, 81, 25);
    SetFontHeight(CheckBox17, 16);
    CheckBox17->SetCaption("级联");
    CheckBox17->SetChecked(true);
    CheckBox17->OnClick = [this](forms::TObject* s) { CheckBox17Click(s); };
    Label3 = MakeControl<forms::TLabel>(this, GroupBox5, "Label3", 100, 29, 56, 20);
    SetFontHeight(Label3, 13);
    Label3->SetCaption("启始位");
    Cb_ch = MakeControl<forms::TComboBox>(this, GroupBox5, "Cb_ch", 155, 25, 60, 24);
    SetFontHeight(Cb_ch, 13);
    Cb_ch->SetStyle(forms::TComboBoxStyle::csDropDown);
    Cb_ch->Items().Assign({"LCD", "CH1", "CH2", "CH3", "CH4", "CH5", "CH6", "CH7", "CH8", "CH9",
                           "CH10", "CH11", "CH12", "CH13", "CH14", "CH15", "CH16"});
    Cb_ch->SetItemIndex(0);
    Cb_ch->OnChange = [this](forms::TObject* s) { Cb_chChange(s); };
    Label2 = MakeControl<forms::TLabel>(this, GroupBox5, "Label2", 221, 29, 194, 20);
    SetFontHeight(Label2, 13);
    Label2->SetCaption("启始位设置只用于顺序开");
    CB_lock = MakeControl<forms::TCheckBox>(this, GroupBox5, "CB_lock", 442, 25, 79, 25);
    SetFontHeight(CB_lock, 16);
    CB_lock->SetCaption("Lock");
    CB_lock->SetEnabled(false);
    CB_lock->OnClick = [this](forms::TObject* s) { CB_lockClick(s); };
    Button3 = MakeControl<forms::TButton>(this, GroupBox5, "Button3", 1106, 20, 89, 33);
    Button3->SetCaption("开关");
    Button3->OnClick = [this](forms::TObject* s) { Button3Click(s); };

    // The two alarms, each row ending in its power button. They come last so that they stand
    // above the delay frame, which reaches up to their lower edges.
    struct AlarmRow {
        const char* box;
        const char* caption;
        const char* date;
        const char* time;
        int top;
    };
    const AlarmRow rows[2] = {
        {"CB_Opentime", "定时开机", "DateTimePicker1", "DateTimePicker2", 20},
        {"CB_Closetime", "定时关机", "DateTimePicker3", "DateTimePicker4", 50},
    };
    forms::TCheckBox** boxes[2] = {&CB_Opentime, &CB_Closetime};
    forms::TDateTimePicker** dates[2] = {&DateTimePicker1, &DateTimePicker3};
    forms::TDateTimePicker** times[2] = {&DateTimePicker2, &DateTimePicker4};
    for (int i = 0; i < 2; ++i) {
        auto* box =
            MakeControl<forms::TCheckBox>(this, GroupBox1, rows[i].box, 832, rows[i].top, 108, 24);
        SetFontHeight(box, 16);
        box->SetCaption(rows[i].caption);
        auto* date = MakeControl<forms::TDateTimePicker>(this, GroupBox1, rows[i].date, 946,
                                                         rows[i].top, 91, 24);
        date->SetKind(forms::TDateTimeKind::dtkDate);
        SetFontHeight(date, 13);
        auto* time = MakeControl<forms::TDateTimePicker>(this, GroupBox1, rows[i].time, 1043,
                                                         rows[i].top, 75, 24);
        time->SetKind(forms::TDateTimeKind::dtkTime);
        SetFontHeight(time, 13);
        *boxes[i] = box;
        *dates[i] = date;
        *times[i] = time;
    }
    DateTimePicker1->OnChange = [this](forms::TObject* s) { DateTimePicker1Change(s); };
    DateTimePicker2->OnChange = [this](forms::TObject* s) { DateTimePicker2Change(s); };
    DateTimePicker3->OnChange = [this](forms::TObject* s) { DateTimePicker3Change(s); };
    DateTimePicker4->OnChange = [this](forms::TObject* s) { DateTimePicker4Change(s); };
    Button1 = MakeControl<forms::TButton>(this, GroupBox1, "Button1", 1124, 19, 75, 25);
    SetFontHeight(Button1, 13);
    Button1->SetCaption("开机");
    Button1->OnClick = [this](forms::TObject* s) { Button1Click(s); };
    Button2 = MakeControl<forms::TButton>(this, GroupBox1, "Button2", 1124, 50, 75, 25);
    SetFontHeight(Button2, 13);
    Button2->SetCaption("关机");
    Button2->OnClick = [this](forms::TObject* s) { Button2Click(s); };

    Captions.AddRows(device_setup::kDeviceSetupCaptions);
    Captions.SetDynamic(i18n::DynamicCaptions::DelayGroups,
                        [this](int language) { ApplyDelayCaptions(language); });
}
