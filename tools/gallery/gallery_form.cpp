#include "tools/gallery/gallery_form.h"

#include "forms/make_control.h"
#include "platform/gdi/dc.h"
#include "skin/engine/skin_data.h"
#include "skin/engine/startup_skin.h"

using namespace forms;

namespace {

template <class T>
T* Make(TForm* form, TWinControl* parent, const char* name, int x, int y, int w, int h,
        const std::string& caption = {}) {
    T* c = MakeControl<T>(form, parent, name, x, y, w, h);
    if (!caption.empty())
        c->SetCaption(caption);
    return c;
}

// The window icon of the skinned caption: a power symbol on a blue square, 16 x 16.
gdi::Bitmap GalleryIcon() {
    gdi::Bitmap icon(16, 16);
    gdi::DC dc(icon);
    dc.fill_rect({0, 0, 16, 16}, gdi::kMagenta);
    dc.fill_rect({1, 1, 15, 15}, gdi::rgb(32, 84, 196));
    gdi::Pen pen;
    pen.width = 2;
    pen.color = gdi::rgb(255, 255, 255);
    dc.select_pen(pen);
    gdi::Brush brush;
    brush.color = gdi::rgb(32, 84, 196);
    dc.select_brush(brush);
    dc.ellipse({3, 4, 13, 14});
    dc.fill_rect({5, 3, 11, 7}, gdi::rgb(32, 84, 196));
    dc.fill_rect({7, 2, 9, 8}, gdi::rgb(255, 255, 255));
    return icon;
}

}  // namespace

TGalleryForm::TGalleryForm(TComponent* owner) : TForm(owner) {
    SetName("GalleryForm");
    SetCaption("Velmor Manager - control gallery 控件一览");
    SetBorderStyle(TFormBorderStyle::bsSingle);
    SetMaximizeBox(false);
    SetBounds(40, 40, 660, 470);
    Font().SetHeight(-13);

    PageControl1 = Make<TPageControl>(this, this, "PageControl1", 8, 6, 636, 372);
    TabSheet1 = new TTabSheet(this);
    TabSheet1->SetName("TabSheet1");
    TabSheet1->SetPageControl(PageControl1);
    TabSheet1->SetCaption("端口设置 Controls");
    TabSheet2 = new TTabSheet(this);
    TabSheet2->SetName("TabSheet2");
    TabSheet2->SetPageControl(PageControl1);
    TabSheet2->SetCaption("設備設置");
    TabSheet3 = new TTabSheet(this);
    TabSheet3->SetName("TabSheet3");
    TabSheet3->SetPageControl(PageControl1);
    TabSheet3->SetCaption("Timer Task");
    TabSheet4 = new TTabSheet(this);
    TabSheet4->SetName("TabSheet4");
    TabSheet4->SetPageControl(PageControl1);
    TabSheet4->SetCaption("进度 Progress");

    // Buttons and check boxes.
    GroupBox1 = Make<TGroupBox>(this, TabSheet1, "GroupBox1", 8, 4, 300, 150, "按钮 Buttons");
    Bn_default = Make<TButton>(this, GroupBox1, "Bn_default", 12, 24, 88, 28, "默认值");
    Bn_default->SetDefault(true);
    Bn_box = Make<TButton>(this, GroupBox1, "Bn_box", 106, 24, 88, 28, "Message");
    Bn_box->OnClick = [this](TObject* s) { Bn_boxClick(s); };
    Bn_disabled = Make<TButton>(this, GroupBox1, "Bn_disabled", 200, 24, 88, 28, "应用 apply");
    Bn_disabled->SetEnabled(false);
    CheckBox1 = Make<TCheckBox>(this, GroupBox1, "CheckBox1", 12, 62, 130, 22, "级联 Cascade");
    CheckBox1->OnClick = [this](TObject* s) { CheckBox1Click(s); };
    CheckBox2 = Make<TCheckBox>(this, GroupBox1, "CheckBox2", 150, 62, 140, 22, "分 minutes");
    CheckBox2->SetChecked(true);
    CheckBox3 = Make<TCheckBox>(this, GroupBox1, "CheckBox3", 12, 90, 130, 22, "Grayed");
    CheckBox3->SetAllowGrayed(true);
    CheckBox3->SetState(TCheckBoxState::cbGrayed);
    CheckBox4 = Make<TCheckBox>(this, GroupBox1, "CheckBox4", 150, 90, 140, 22, "Lock 锁定");
    CheckBox4->SetChecked(true);
    CheckBox4->SetEnabled(false);
    Label2 =
        Make<TLabel>(this, GroupBox1, "Label2", 12, 120, 280, 20, "状态:Data sent successfully");

    // Text fields, lists and pickers.
    GroupBox2 = Make<TGroupBox>(this, TabSheet1, "GroupBox2", 316, 4, 304, 236, "输入 Input");
    Make<TLabel>(this, GroupBox2, "Label7", 10, 28, 80, 20, "IP地址:");
    Ed_ip_address = Make<TEdit>(this, GroupBox2, "Ed_ip_address", 96, 24, 130, 26, "192.168.1.111");
    Make<TLabel>(this, GroupBox2, "Label6", 10, 60, 80, 20, "ID：");
    Ed_conn_id = Make<TEdit>(this, GroupBox2, "Ed_conn_id", 96, 56, 50, 26);
    Ed_conn_id->SetMaxLength(3);
    Ed_disabled = Make<TEdit>(this, GroupBox2, "Ed_disabled", 154, 56, 72, 26, "禁用");
    Ed_disabled->SetEnabled(false);
    Make<TLabel>(this, GroupBox2, "Label13", 10, 92, 80, 20, "串口 Port:");
    CB_com = Make<TComboBox>(this, GroupBox2, "CB_com", 96, 88, 90, 26);
    CB_com->SetStyle(TComboBoxStyle::csDropDownList);
    for (int i = 1; i <= 8; ++i)
        CB_com->Items().Add("COM" + std::to_string(i));
    CB_com->SetItemIndex(0);
    CB_edit = Make<TComboBox>(this, GroupBox2, "CB_edit", 192, 88, 100, 26);
    CB_edit->Items().Assign({"LCD", "CH1", "CH2", "CH16"});
    CB_edit->SetItemIndex(0);
    Make<TLabel>(this, GroupBox2, "Label8", 10, 124, 80, 20, "定时开机");
    DateTimePicker1 = Make<TDateTimePicker>(this, GroupBox2, "DateTimePicker1", 96, 120, 110, 26);
    DateTimePicker1->SetValue({2026, 12, 9, 8, 30, 0, 0, 3});
    DateTimePicker2 = Make<TDateTimePicker>(this, GroupBox2, "DateTimePicker2", 212, 120, 84, 26);
    DateTimePicker2->SetKind(TDateTimeKind::dtkTime);
    DateTimePicker2->SetValue({2026, 12, 9, 8, 30, 0, 0, 3});
    Label1 = Make<TLabel>(
        this, GroupBox2, "Label1", 10, 156, 286, 40,
        "(读或写ID时，只与一台设备相连接) while reading or writing ID, only connect one");
    Label1->SetWordWrap(true);
    LabelTicks = Make<TLabel>(this, GroupBox2, "LabelTicks", 10, 204, 200, 20, "ticks: 0");

    // Indicators and panels.
    Panel1 = Make<TPanel>(this, TabSheet1, "Panel1", 8, 162, 300, 78);
    const TColor colors[4] = {clRed, clWhite, clRed, clWhite};
    const char* const names[4] = {"LCD", "CH1", "CH2", "CH16"};
    for (int i = 0; i < 4; ++i) {
        std::string n = "ChannelLed[0][" + std::to_string(i) + "]";
        Led[i] = Make<TShape>(this, Panel1, n.c_str(), 14 + 43 * i, 10, 22, 22);
        Led[i]->SetShape(TShapeType::stCircle);
        Led[i]->SetBrushColor(colors[i]);
        std::string ln = "ChannelLabel[0][" + std::to_string(i) + "]";
        Make<TLabel>(this, Panel1, ln.c_str(), 10 + 43 * i, 36, 36, 18, names[i])
            ->SetAlignment(TAlignment::taCenter);
    }
    Make<TButton>(this, Panel1, "ChannelButton[0][0]", 190, 10, 44, 30, "开");
    Make<TButton>(this, Panel1, "ChannelButton[0][1]", 240, 10, 44, 30, "關");
    Panel2 =
        Make<TPanel>(this, TabSheet1, "Panel2", 8, 248, 612, 84, "TPanel bevel none · 无边框面板");
    Panel2->SetBevelOuter(TBevelCut::bvNone);
    Panel2->SetColor(gdi::rgb(212, 208, 200));

    Make<TLabel>(this, TabSheet2, "Label20", 16, 16, 400, 24,
                 "第二页 The second page: 星期壹 開 關");
    Make<TLabel>(this, TabSheet3, "Label21", 16, 16, 400, 24, "Sunday Monday Tuesday");

    MakeRangePage();

    Button7 = Make<TButton>(this, this, "Button7", 540, 384, 105, 30, "退出 Exit");
    Button7->SetCancel(true);
    Button7->OnClick = [this](TObject*) { Close(); };

    StatusBar1 = new TStatusBar(this);
    StatusBar1->SetName("StatusBar1");
    StatusBar1->SetParent(this);
    StatusBar1->SetHeight(26);
    StatusBar1->AddPanel(160, "Port:COM1 opened");
    StatusBar1->AddPanel(120, "");
    StatusBar1->AddPanel(150, "状态:");
    StatusBar1->AddPanel(110, "");
    StatusBar1->AddPanel(70, "V1.0");

    if (frame_skin) {
        // A frame the skin paints can be sized and maximized through its title buttons.
        SetBorderStyle(TFormBorderStyle::bsSizeable);
        SetMaximizeBox(true);
        SkinData1 = skin::CreateFrameSkin(this);
        SkinData1->SysIcon = GalleryIcon();
    }

    Timer1 = new TTimer(this);
    Timer1->SetName("Timer1");
    Timer1->SetInterval(100);
    Timer1->OnTimer = [this](TObject* s) { Timer1Timer(s); };
}

// The page of controls that show a value inside a range.
void TGalleryForm::MakeRangePage() {
    Make<TLabel>(this, TabSheet4, "Label30", 16, 10, 300, 18, "TProgressBar 进度条");
    struct Bar {
        int x, y, w, h, pos;
        bool vertical, smooth;
    };
    const Bar bars[6] = {
        {16, 32, 290, 18, 0, false, false},   {16, 58, 290, 18, 35, false, false},
        {16, 84, 290, 18, 100, false, false}, {16, 110, 290, 18, 60, false, true},
        {320, 32, 20, 96, 45, true, false},   {352, 32, 20, 96, 80, true, true},
    };
    for (int i = 0; i < 6; ++i) {
        const Bar& b = bars[i];
        const std::string name = "ProgressBar" + std::to_string(i + 1);
        ProgressBar[i] = Make<TProgressBar>(this, TabSheet4, name.c_str(), b.x, b.y, b.w, b.h);
        if (b.vertical)
            ProgressBar[i]->SetOrientation(TProgressBarOrientation::pbVertical);
        ProgressBar[i]->SetSmooth(b.smooth);
        ProgressBar[i]->SetPosition(b.pos);
    }

    Make<TLabel>(this, TabSheet4, "Label31", 16, 140, 300, 18, "TTrackBar 滑块");
    struct Track {
        int x, y, w, h, max, pos, freq;
        TTrackBarOrientation orientation;
        TTickMark marks;
        TTickStyle ticks;
        bool enabled;
    };
    using O = TTrackBarOrientation;
    const Track tracks[5] = {
        {16, 160, 290, 40, 10, 3, 1, O::trHorizontal, TTickMark::tmBottomRight, TTickStyle::tsAuto,
         true},
        {16, 204, 290, 46, 10, 7, 2, O::trHorizontal, TTickMark::tmBoth, TTickStyle::tsAuto, true},
        {16, 254, 290, 30, 100, 50, 10, O::trHorizontal, TTickMark::tmBottomRight,
         TTickStyle::tsNone, true},
        {400, 32, 40, 150, 10, 4, 1, O::trVertical, TTickMark::tmBottomRight, TTickStyle::tsAuto,
         true},
        {450, 32, 40, 150, 10, 6, 1, O::trVertical, TTickMark::tmTopLeft, TTickStyle::tsAuto,
         false},
    };
    for (int i = 0; i < 5; ++i) {
        const Track& t = tracks[i];
        const std::string name = "TrackBar" + std::to_string(i + 1);
        TTrackBar* bar = Make<TTrackBar>(this, TabSheet4, name.c_str(), t.x, t.y, t.w, t.h);
        bar->SetOrientation(t.orientation);
        bar->SetTickMarks(t.marks);
        bar->SetTickStyle(t.ticks);
        bar->SetMax(t.max);
        bar->SetFrequency(t.freq);
        bar->SetPosition(t.pos);
        bar->SetEnabled(t.enabled);
        bar->OnChange = [this, bar](TObject*) {
            StatusBar1->Panels(3).SetText("track " + std::to_string(bar->Position()));
        };
        TrackBar[i] = bar;
    }

    Make<TLabel>(this, TabSheet4, "Label32", 320, 200, 290, 18, "THeaderControl 表头");
    HeaderControl1 = Make<THeaderControl>(this, TabSheet4, "HeaderControl1", 320, 222, 290, 22);
    HeaderControl1->SetAlign(TAlign::alNone);
    HeaderControl1->AddSection("通道 Channel", 100);
    HeaderControl1->AddSection("延时 Delay", 90).SetAlignment(TAlignment::taRightJustify);
    HeaderControl1->AddSection("状态 State", 80).SetAlignment(TAlignment::taCenter);
    HeaderControl1->OnSectionClick = [this](THeaderControl*, THeaderSection* section) {
        StatusBar1->Panels(3).SetText("sort " + section->Text());
    };

    Make<TLabel>(this, TabSheet4, "Label33", 320, 256, 290, 18, "TToolBar 工具栏");
    PanelTools = Make<TPanel>(this, TabSheet4, "PanelTools", 16, 290, 594, 26);
    PanelTools->SetBevelOuter(TBevelCut::bvNone);
    ToolBar1 = Make<TToolBar>(this, PanelTools, "ToolBar1", 0, 0, 594, 26);
    ToolBar1->SetFlat(true);
    ToolBar1->AddButton("打开 Open");
    ToolBar1->AddButton("保存 Save");
    ToolBar1->AddButton("", TToolButtonStyle::tbsSeparator);
    for (const char* caption : {"左 Left", "中 Centre", "右 Right"})
        ToolBar1->AddButton(caption, TToolButtonStyle::tbsCheck).SetGrouped(true);
    ToolBar1->Buttons(3).SetDown(true);
    ToolBar1->AddButton("", TToolButtonStyle::tbsSeparator);
    ToolBar1->AddButton("粗体 Bold", TToolButtonStyle::tbsCheck);
    ToolBar1->AddButton("禁用 Off").SetEnabled(false);
    for (int i = 0; i < ToolBar1->ButtonCount(); ++i)
        ToolBar1->Buttons(i).OnClick = [this](TObject* sender) {
            StatusBar1->Panels(3).SetText("tool " + static_cast<TToolButton*>(sender)->Caption());
        };
}

void TGalleryForm::Bn_boxClick(TObject*) {
    int answer = MessageBox(Handle(), "确定恢复默认值吗? Restore the defaults?", "注意 Attention",
                            MB_OKCANCEL);
    StatusBar1->Panels(1).SetText(answer == IDOK ? "answer: OK" : "answer: Cancel");
}

void TGalleryForm::CheckBox1Click(TObject*) {
    StatusBar1->Panels(3).SetText(CheckBox1->Checked() ? "cascade on" : "cascade off");
}

void TGalleryForm::Timer1Timer(TObject*) {
    ++ticks_;
    LabelTicks->SetCaption("ticks: " + std::to_string(ticks_));
}
