#pragma once

#include "forms/forms.h"

namespace skin {
class TSkinData;
}

// A window with every standard control of the framework in its plain system look, Latin and
// Chinese captions side by side: the framework's demonstration and its visual check. With
// `frame_skin` set before it is made, a skin component with frame skinning sits on it: the
// built-in skin paints its frame, its controls and its message boxes.
class TGalleryForm : public forms::TForm {
  public:
    explicit TGalleryForm(forms::TComponent* owner);

    static inline bool frame_skin = false;
    skin::TSkinData* SkinData1 = nullptr;

    forms::TPageControl* PageControl1;
    forms::TTabSheet* TabSheet1;
    forms::TTabSheet* TabSheet2;
    forms::TTabSheet* TabSheet3;
    forms::TTabSheet* TabSheet4;
    forms::TButton* Bn_default;
    forms::TButton* Bn_box;
    forms::TButton* Bn_disabled;
    forms::TButton* Button7;
    forms::TCheckBox* CheckBox1;
    forms::TCheckBox* CheckBox2;
    forms::TCheckBox* CheckBox3;
    forms::TCheckBox* CheckBox4;
    forms::TEdit* Ed_ip_address;
    forms::TEdit* Ed_conn_id;
    forms::TEdit* Ed_disabled;
    forms::TComboBox* CB_com;
    forms::TComboBox* CB_edit;
    forms::TDateTimePicker* DateTimePicker1;
    forms::TDateTimePicker* DateTimePicker2;
    forms::TLabel* Label1;
    forms::TLabel* Label2;
    forms::TLabel* LabelTicks;
    forms::TShape* Led[4];
    forms::TPanel* Panel1;
    forms::TPanel* Panel2;
    forms::TGroupBox* GroupBox1;
    forms::TGroupBox* GroupBox2;
    forms::TStatusBar* StatusBar1;
    forms::TProgressBar* ProgressBar[6];
    forms::TTrackBar* TrackBar[5];
    forms::THeaderControl* HeaderControl1;
    forms::TPanel* PanelTools;
    forms::TToolBar* ToolBar1;
    forms::TTimer* Timer1;

  private:
    void Bn_boxClick(forms::TObject* sender);
    void CheckBox1Click(forms::TObject* sender);
    void Timer1Timer(forms::TObject* sender);
    void MakeRangePage();
    int ticks_ = 0;
};
