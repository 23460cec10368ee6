// A skinned window frame painted from arbitrary border and title-button images, margins,
// frame counts and placements: the window is taken over, painted active and inactive, sized
// (down to nothing and back), minimized, maximized and restored, and the mouse moves, presses
// and releases over its caption.
#include <cstdint>
#include <memory>

#include "forms/application.h"
#include "forms/form.h"
#include "platform/clock/clock.h"
#include "platform/win/input.h"
#include "platform/win/message.h"
#include "platform/win/painting.h"
#include "platform/win/test_driver.h"
#include "platform/win/window.h"
#include "skin/engine/caption_hint.h"
#include "skin/engine/skin_data.h"
#include "skin/engine/startup_skin.h"
#include "skin/skin_elements.h"

namespace {

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
    // Mostly small, sometimes far larger than the window.
    const bool big = in.small(0, 7) == 0;
    const int w = big ? in.small(0, 255) * 4 : in.small(0, 40);
    const int h = big ? in.small(0, 255) * 3 : in.small(0, 60);
    gdi::Bitmap b(w, h);
    const uint8_t seed = in.byte();
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            b.set_color(x, y, (x * 3 + y + seed) % 7 == 0 ? gdi::kMagenta : gdi::rgb(seed, x, y));
    return b;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static clk::ManualClock clock;
    static clk::ScopedClock scoped(clock);
    Input in{data, size};
    auto* form = new forms::TForm(forms::Application);
    form->SetBounds(10, 10, in.small(0, 255) * 2, in.small(0, 255) * 2);
    form->SetCaption("frame");
    skin::TSkinData* sd = skin::CreateFrameSkin(form);
    for (auto& b : sd->border) {
        if (in.small(0, 5) == 0) {
            b.reset();
            continue;
        }
        if (!b)
            b = std::make_unique<skin::TDataSkinBorder>();
        b->Map = Image(in);
        b->frame = in.small(-1, 4);
        b->r = {in.small(-3, 30), in.small(-3, 30), in.small(-3, 30), in.small(-3, 30)};
        b->trans = in.small(0, 2);
        b->Tile = in.small(0, 1);
    }
    sd->Title->Map = in.small(0, 3) == 0 ? Image(in) : gdi::Bitmap();
    sd->Title->Aligment = in.small(-1, 3);
    sd->Title->r = {in.small(-50, 200), in.small(-20, 20), in.small(-50, 300), 0};
    sd->Title->backleft = in.small(-5, 30);
    sd->Title->backright = in.small(-5, 30);
    sd->SysBtn.clear();
    const int buttons = in.small(0, 6);
    for (int i = 0; i < buttons; ++i) {
        auto b = std::make_unique<skin::TDataSkinSysButton>();
        b->Map = Image(in);
        b->frame = in.small(-1, 8);
        b->Action = in.small(-2, 13);
        if (b->Action == 0 || b->Action == 3)
            b->Action = 77;  // closing or a modal menu would end the run early
        b->Align = in.small(0, 4) == 4 ? 100 : in.small(0, 3);
        b->XCoord = in.small(-300, 300);
        b->YCoord = in.small(-100, 200);
        b->Visibility = in.small(0, 12) == 12 ? 1000 : in.small(-1, 11);
        b->Visibility1 = in.small(-1, 11);
        sd->SysBtn.push_back(std::move(b));
    }
    if (in.byte() & 1)
        sd->Options.exclude(skin::xoCaptionButtonHint);

    form->Show();
    win::PumpPending();
    win::UpdateAllWindows();
    const win::HWND h = form->Handle();
    for (int step = 0; step < 6 && win::IsWindow(h); ++step) {
        const gdi::Rect wr = win::GetWindowRect(h);
        const gdi::Point p{wr.left + in.small(-5, 255), wr.top + in.small(-5, 60)};
        switch (in.small(0, 7)) {
            case 0:
                win::SetWindowPos(h, nullptr, 0, 0, in.small(0, 255) * 3, in.small(0, 255) * 2,
                                  win::SWP_NOMOVE | win::SWP_NOZORDER);
                break;
            case 1:
                win::SendMessage(h, win::WM_SYSCOMMAND, win::SC_MINIMIZE, 0);
                break;
            case 2:
                win::SendMessage(h, win::WM_SYSCOMMAND, win::SC_MAXIMIZE, 0);
                break;
            case 3:
                win::SendMessage(h, win::WM_SYSCOMMAND, win::SC_RESTORE, 0);
                break;
            case 4:
                win::InjectMouse(win::MouseAction::Move, p);
                break;
            case 5:
                win::InjectMouse(win::MouseAction::LeftDown, p);
                win::InjectMouse(win::MouseAction::LeftUp, p);
                break;
            case 6:
                win::SendMessage(h, win::WM_NCACTIVATE, in.byte() & 1, 0);
                break;
            default:
                win::RunFor(in.small(0, 40) * 100);
                break;
        }
        win::PumpPending();
        win::UpdateAllWindows();
    }
    skin::TCaptionHint::Hide();
    delete form;
    win::PumpPending();
    return 0;
}
