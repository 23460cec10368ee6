// The main window as designed: its properties and the controls that exist before start-up runs.
// The captions are the designed Chinese (Simplified) ones; start-up sets them for the stored
// language.

#include "app/main_form.h"

#include "forms/button.h"
#include "forms/combo_box.h"
#include "forms/edit.h"
#include "forms/label.h"
#include "forms/make_control.h"
#include "forms/page_control.h"
#include "forms/status_bar.h"
#include "forms/timer.h"
#include "i18n/main_window_captions.h"
#include "skin/engine/startup_skin.h"

TForm1* Form1 = nullptr;

using forms::MakeControl;

namespace {

forms::TTimer* MakeTimer(forms::TComponent* owner, const char* name, int interval, bool enabled) {
    auto* timer = new forms::TTimer(owner);
    timer->SetName(name);
    timer->SetInterval(interval);
    timer->SetEnabled(enabled);
    return timer;
}

}  // namespace

TForm1::TForm1(forms::TComponent* owner) : forms::TForm(owner) {
    SetName("Form1");
    SetCaption("Velmor Manager");
    SetBorderStyle(forms::TFormBorderStyle::bsSingle);
    SetMaximizeBox(false);
    SetMinimizeBox(true);
    // Designed at left 8, top 30 with a 1259 x 664 client area; start-up sets the outer size.
    SetBounds(8, 30, 1259 + 6, 664 + 29);
    Font().SetName("MS Sans Serif");
    Font().SetHeight(-16);
    SetColor(forms::clBtnFace);
    CreateDesignedControls();
    SkinData1 = skin::CreateMainFormSkin(this);
    OnCreate = [this](forms::TObject* sender) { FormCreate(sender); };
}

TForm1::~TForm1() {
    ReleaseDynamicControls();
}

void TForm1::CreateDesignedControls() {
    PageControl1 = MakeControl<forms::TPageControl>(this, this, "PageControl1", 12, 3, 1239, 575);
    const char* sheet_names[] = {"TabSheet1", "TabSheet2", "TabSheet3", "TabSheet4"};
    forms::TTabSheet** sheets[] = {&TabSheet1, &TabSheet2, &TabSheet3, &TabSheet4};
    for (int i = 0; i < 4; ++i) {
        auto* sheet = new forms::TTabSheet(this);
        sheet->SetName(sheet_names[i]);
        sheet->SetPageControl(PageControl1);
        sheet->SetCaption(i18n::kMainWindowCaptions[i].text.zh_cn);
        *sheets[i] = sheet;
    }
    PageControl1->SetActivePage(TabSheet1);

    Label5 = MakeControl<forms::TLabel>(this, this, "Label5", 8, 590, 81, 20);
    Label5->SetCaption("   语言：");
    CB_language = MakeControl<forms::TComboBox>(this, this, "CB_language", 90, 589, 168, 28);
    CB_language->SetStyle(forms::TComboBoxStyle::csDropDownList);
    CB_language->Items().Assign({"Chinese (Simplified)", "English", "Chinese (Traditional)"});
    CB_language->OnChange = [this](forms::TObject* sender) { CB_languageChange(sender); };
    Button7 = MakeControl<forms::TButton>(this, this, "Button7", 1120, 584, 105, 33);
    Button7->SetCaption("退出");
    Button7->SetCancel(true);
    Button7->OnClick = [this](forms::TObject* sender) { Button7Click(sender); };

    StatusBar1 = new forms::TStatusBar(this);
    StatusBar1->SetName("StatusBar1");
    StatusBar1->SetParent(this);
    StatusBar1->SetHeight(30);
    StatusBar1->SetSizeGrip(false);
    const int panel_widths[] = {200, 150, 150, 150, 70};
    const char* panel_texts[] = {"Port:", "", "状态:", "", ""};
    for (int i = 0; i < 5; ++i)
        StatusBar1->AddPanel(panel_widths[i], panel_texts[i]);

    // The timers as designed; start-up starts Timer2 and sets Timer3 to its running rate.
    Timer_read232 = MakeTimer(this, "Timer_read232", 10, true);
    Timer1 = MakeTimer(this, "Timer1", 1000, false);
    Timer2 = MakeTimer(this, "Timer2", 200, false);
    Timer3 = MakeTimer(this, "Timer3", 500, false);

    CreatePortSetupControls();
    CreateLinkHandlers();
    CreateDeviceSetupControls();
    CreateRealtimeControls();
    CreateTimerTaskControls();

    Captions.AddRows(i18n::kMainWindowCaptions);
    Captions.AddRows(i18n::kPortSetupCaptions);
}

void TForm1::CreatePortSetupControls() {
    Label13 = MakeControl<forms::TLabel>(this, TabSheet1, "Label13", 33, 52, 86, 25);
    Label13->SetCaption("串行端口：");
    CB_com = MakeControl<forms::TComboBox>(this, TabSheet1, "CB_com", 153, 49, 74, 28);
    CB_com->SetStyle(forms::TComboBoxStyle::csDropDownList);
    CB_com->Items().Assign({"COM1", "COM2", "COM3", "COM4", "COM5", "COM6", "COM7", "COM8"});
    CB_com->SetItemIndex(0);
    CB_com->OnChange = [this](forms::TObject* sender) { CB_comChange(sender); };
    Bn_ser_conn = MakeControl<forms::TButton>(this, TabSheet1, "Bn_ser_conn", 260, 50, 87, 27);
    Bn_ser_conn->SetCaption("连接");

    Label7 = MakeControl<forms::TLabel>(this, TabSheet1, "Label7", 33, 120, 86, 20);
    Label7->SetCaption("IP 地址：");
    Ed_ip_address = MakeControl<forms::TEdit>(this, TabSheet1, "Ed_ip_address", 125, 117, 129, 28);
    Ed_ip_address->SetText("192.168.1.111");
    Bn_ip_conn = MakeControl<forms::TButton>(this, TabSheet1, "Bn_ip_conn", 260, 118, 87, 27);
    Bn_ip_conn->SetCaption("连接");
}
