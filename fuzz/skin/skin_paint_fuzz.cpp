// Every skinning object painting a control with arbitrary element images, frame counts,
// margins and flags: a window with one control of each kind is taken over by a skin whose
// elements come from the input, then painted in its states; a long combo list drops down with
// its skinned scroll bar, tabs show close buttons, and scroll bars of any extent and scroll
// values are painted on their own.
#include <cstdint>
#include <memory>
#include <vector>

#include "forms/application.h"
#include "forms/button.h"
#include "forms/combo_box.h"
#include "forms/date_time_picker.h"
#include "forms/edit.h"
#include "forms/form.h"
#include "forms/page_control.h"
#include "forms/panel.h"
#include "forms/status_bar.h"
#include "platform/clock/clock.h"
#include "platform/win/message.h"
#include "platform/win/painting.h"
#include "platform/win/test_driver.h"
#include "skin/engine/skin_data.h"
#include "skin/engine/skin_scroll_bar.h"
#include "skin/engine/skin_types.h"
#include "skin/engine/startup_skin.h"

namespace {

// Reads the input a byte at a time; zeros once it runs out.
struct Input {
    const uint8_t* p;
    size_t n;
    uint8_t byte() {
        if (!n)
            return 0;
        --n;
        return *p++;
    }
    int small(int lo, int hi) { return lo + byte() % (hi - lo + 1); }
};

gdi::Bitmap Image(Input& in) {
    const int w = in.small(0, 40);
    const int h = in.small(0, 24);
    gdi::Bitmap b(w, h);
    const uint8_t seed = in.byte();
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            b.set_color(x, y,
                        (x + y + seed) % 5 == 0 ? gdi::kMagenta : gdi::rgb(seed, x * 7, y * 11));
    return b;
}

template <class T>
void Fill(T& e, Input& in) {
    e.Map = Image(in);
    e.frame = in.small(-1, 12);
    e.r = {in.small(-3, 40), in.small(-3, 30), in.small(-3, 40), in.small(-3, 30)};
    e.trans = in.small(0, 2);
    e.Tile = in.small(0, 1);
    e.style = in.small(0, 2);
    e.Normalcolor2 = in.byte() * 0x10101u;
    e.Overcolor2 = in.byte() * 0x10101u;
}

template <class T>
std::unique_ptr<T> Element(Input& in) {
    if (in.small(0, 5) == 0)
        return nullptr;
    auto e = std::make_unique<T>();
    Fill(*e, in);
    return e;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static clk::ManualClock clock;
    static clk::ScopedClock scoped(clock);
    Input in{data, size};
    auto* form = new forms::TForm(forms::Application);
    form->SetBounds(10, 10, 400, 300);
    skin::TSkinData* sd = skin::CreateMainFormSkin(form);
    Fill(*sd->Button, in);
    sd->Button->CheckMap = Image(in);
    sd->Button->RadioMap = Image(in);
    sd->Button->checkframe = in.small(-1, 13);
    sd->Button->radioframe = in.small(-1, 9);
    sd->tab = Element<skin::TDataSkinBorder>(in);
    if (sd->tab)
        sd->tab->MaskMap = Image(in);
    sd->TabSheet = Element<skin::TDataSkinObject>(in);
    sd->StatusBar = Element<skin::TDataSkinObject>(in);
    sd->combox = Element<skin::TDataSkinBorder>(in);
    sd->Comboxborder = Element<skin::TDataSkinObject>(in);
    sd->ExtraImages = Element<skin::TDataSkinObject>(in);
    sd->comboxarrow = Element<skin::TDataSkinObject>(in);
    sd->VSpin = Element<skin::TDataSkinBorder>(in);
    if (sd->VSpin)
        sd->VSpin->MaskMap = Image(in);
    if (in.byte() & 1)
        sd->Options.include(skin::xoTransparent);
    sd->SArrow = Element<skin::TDataSkinObject>(in);
    sd->VBar = Element<skin::TDataSkinObject>(in);
    sd->HBar = Element<skin::TDataSkinObject>(in);
    sd->VSlider = Element<skin::TDataSkinObject>(in);
    sd->HSlider = Element<skin::TDataSkinObject>(in);

    auto place = [&](forms::TControl* c, int x, int y, int w, int h, forms::TWinControl* parent) {
        c->SetParent(parent ? parent : form);
        c->SetBounds(x, y, w, h);
    };
    auto* pages = new forms::TPageControl(form);
    place(pages, 0, 0, 390, 200, nullptr);
    auto* sheet = new forms::TTabSheet(form);
    sheet->SetPageControl(pages);
    sheet->SetCaption("page");
    auto* button = new forms::TButton(form);
    place(button, 5, 5, in.small(1, 90), in.small(1, 40), sheet);
    button->SetCaption("a||b");
    button->SetDefault(in.byte() & 1);
    button->SetTag(in.byte() & 1 ? skin::kTransparentTag : 0);
    auto* check = new forms::TCheckBox(form);
    place(check, 5, 50, 100, 20, sheet);
    check->SetAllowGrayed(true);
    check->SetState(static_cast<forms::TCheckBoxState>(in.small(0, 2)));
    place(new forms::TEdit(form), 5, 75, in.small(1, 80), in.small(1, 30), sheet);
    auto* combo = new forms::TComboBox(form);
    place(combo, 110, 5, in.small(1, 100), 24, sheet);
    for (int i = in.small(0, 30); i > 0; --i)
        combo->Items().Add("item");
    place(new forms::TDateTimePicker(form), 110, 35, in.small(1, 100), in.small(1, 30), sheet);
    auto* time = new forms::TDateTimePicker(form);
    place(time, 110, 70, 100, 24, sheet);
    time->SetKind(forms::TDateTimeKind::dtkTime);
    place(new forms::TGroupBox(form), 220, 5, in.small(1, 150), in.small(1, 90), sheet);
    place(new forms::TPanel(form), 220, 100, 60, 40, sheet);
    auto* bar = new forms::TStatusBar(form);
    place(bar, 0, 270, 390, 20, nullptr);
    bar->AddPanel(in.small(0, 200), "one");
    bar->AddPanel(50, "two");

    form->Show();
    win::PumpPending();
    win::UpdateAllWindows();
    // The states: disabled, pressed and hovered by messages as the operator would cause them.
    button->SetEnabled(in.byte() & 1);
    check->SetEnabled(in.byte() & 1);
    win::SendMessage(button->Handle(), win::WM_MOUSEMOVE, 0, win::MAKELPARAM(3, 3));
    win::SendMessage(button->Handle(), win::WM_LBUTTONDOWN, 0, win::MAKELPARAM(3, 3));
    win::UpdateAllWindows();
    // Tabs with close buttons, hovered.
    pages->SetTag(in.byte() & 1 ? skin::kTabCloseButtonsTag : 0);
    const gdi::Rect tab = pages->TabRect(0);
    win::SendMessage(pages->Handle(), win::WM_MOUSEMOVE, 0,
                     win::MAKELPARAM(tab.right - 8, (tab.top + tab.bottom) / 2));
    pages->Invalidate();
    win::UpdateAllWindows();
    // The combo's list dropped down, its bar hovered and pressed where the input says.
    combo->SetDroppedDown(true);
    win::UpdateAllWindows();
    if (win::HWND list = combo->ListWindow()) {
        const win::LPARAM at = win::MAKELPARAM(in.small(-5, 140), in.small(-5, 200));
        win::SendMessage(list, win::WM_MOUSEMOVE, 0, at);
        win::SendMessage(list, win::WM_LBUTTONDOWN, 0, at);
        win::SendMessage(list, win::WM_LBUTTONUP, 0, at);
        win::UpdateAllWindows();
    }
    combo->SetDroppedDown(false);
    // Scroll bars of any extent and scroll values.
    {
        gdi::Bitmap canvas(64, 64);
        gdi::DC dc(canvas);
        win::SCROLLINFO si;
        si.nMin = static_cast<int8_t>(in.byte()) * 1000003;
        si.nMax = static_cast<int8_t>(in.byte()) * 1000003;
        si.nPage = in.byte() * 1000003u;
        si.nPos = static_cast<int8_t>(in.byte()) * 1000003;
        const gdi::Rect r{in.small(-8, 70), in.small(-8, 70), in.small(-8, 70), in.small(-8, 70)};
        const auto hot = static_cast<skin::TScrollPart>(in.small(0, 5));
        const auto pressed = static_cast<skin::TScrollPart>(in.small(0, 5));
        skin::TWScrollbar::Draw(dc, *sd, r, in.byte() & 1, si, hot, pressed);
    }
    delete form;
    win::PumpPending();
    return 0;
}
