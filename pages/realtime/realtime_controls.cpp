// The designed controls of the Real-time Control page: Panel1 filling TabSheet3 and the two
// buttons that switch every channel of every device on the line. The device panels on Panel1
// are built at start-up (device_panels.cpp).

#include "app/main_form.h"
#include "forms/button.h"
#include "forms/make_control.h"
#include "forms/page_control.h"
#include "forms/panel.h"
#include "forms/timer.h"
#include "pages/realtime/realtime_texts.h"

using forms::MakeControl;

void TForm1::CreateRealtimeControls() {
    Panel1 = MakeControl<forms::TPanel>(this, TabSheet3, "Panel1", 0, 6, 1228, 538);
    Panel1->SetBevelOuter(forms::TBevelCut::bvNone);
    Bn_ch_all = MakeControl<forms::TButton>(this, Panel1, "Bn_ch_all", 869, 492, 81, 33);
    Bn_ch_all->SetCaption(realtime::kAllCaption);
    Bn_ch_all->OnClick = [this](forms::TObject* s) { Bn_ch_allClick(s); };
    Bn_ch_clr = MakeControl<forms::TButton>(this, Panel1, "Bn_ch_clr", 956, 492, 81, 33);
    Bn_ch_clr->SetCaption(realtime::kClearCaption);
    Bn_ch_clr->OnClick = [this](forms::TObject* s) { Bn_ch_clrClick(s); };
    Timer3->SetOnTimerMethod<&TForm1::Timer3Timer>(this);
}
