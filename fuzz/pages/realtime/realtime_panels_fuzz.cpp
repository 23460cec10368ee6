// The Real-time Control page under any input: any text in the four panel ID edits, a command
// clicked on any panel (refusal boxes answered), then any batch of 1 to 41 bytes arriving while
// the request is queued or not, and the queue's ticks. The page must stay consistent: every
// indicator red or white, every channel button captioned with the on- or off-text, the queue's
// countdown within its five ticks.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>
#include <string>

#include "forms/button.h"
#include "forms/edit.h"
#include "forms/label.h"
#include "forms/message_box.h"
#include "forms/page_control.h"
#include "fuzz/link/fuzz_window.h"
#include "i18n/lang_text.h"
#include "pages/realtime/realtime_texts.h"
#include "platform/win/input.h"

namespace {

constexpr size_t kContext = 16;

void AnswerBoxes() {
    win::SetIdleScript([] {
        if (forms::OpenMessageBoxes().empty())
            return false;
        win::InjectKey(win::VK_RETURN, true);
        win::InjectKey(win::VK_RETURN, false);
        return true;
    });
}

// One operator action on panel d, chosen by `op`.
void Act(uint8_t op, int d, int c) {
    TForm1& f = *Form1;
    switch (op % 9) {
        case 0:
            f.PanelSeqOnClick(f.PanelSeqOnButton[d]);
            break;
        case 1:
            f.PanelRevOffClick(f.PanelRevOffButton[d]);
            break;
        case 2:
            f.ChannelButtonClick(f.ChannelButton[d][c]);
            break;
        case 3:
            f.PanelAllButtonClick(f.PanelAllButton[d]);
            break;
        case 4:
            f.ChannelMask[d][c % 16]->SetChecked(!f.ChannelMask[d][c % 16]->Checked());
            f.ChannelMaskClick(f.ChannelMask[d][c % 16]);
            break;
        case 5:
            f.PanelMaskAll[d]->SetChecked(!f.PanelMaskAll[d]->Checked());
            f.PanelMaskAllClick(f.PanelMaskAll[d]);
            break;
        case 6:
            f.Bn_ch_allClick(f.Bn_ch_all);
            break;
        case 7:
            f.Bn_ch_clrClick(f.Bn_ch_clr);
            break;
        default:
            break;  // nothing queued
    }
}

bool Consistent() {
    const TForm1& f = *Form1;
    const std::string on(i18n::PickText(realtime::kChannelOnText, f.LanguageIndex));
    const std::string off(i18n::PickText(realtime::kChannelOffText, f.LanguageIndex));
    for (int d = 0; d < TForm1::kDevicePanels; ++d) {
        for (int c = 0; c < TForm1::kPanelChannels; ++c) {
            const forms::TColor brush = f.ChannelLed[d][c]->BrushColor();
            if (brush != forms::clRed && brush != forms::clWhite)
                return false;
            const std::string caption = f.ChannelButton[d][c]->Caption();
            if (caption != on && caption != off)
                return false;
        }
        const std::string all = f.PanelAllButton[d]->Caption();
        if (all != realtime::kAllCaption && all != realtime::kClearCaption)
            return false;
    }
    return f.PendingCountdown >= 0 && f.PendingCountdown <= 5 &&
           (!f.PendingFlag || f.PendingCountdown > 0);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static link_fuzz::FuzzWindow window;
    static const bool answering = (AnswerBoxes(), true);
    (void)answering;
    if (size < kContext + 1)
        return 0;
    Form1->PageControl1->SetActivePage(Form1->TabSheet3);
    // Twelve bytes of ID text (three a panel, a zero byte ending one early), then the
    // language, the action, its panel and channel.
    for (int d = 0; d < TForm1::kDevicePanels; ++d) {
        std::string text;
        for (int i = 0; i < 3 && data[3 * d + i] != 0; ++i)
            text += static_cast<char>(data[3 * d + i]);
        Form1->PanelIdEdit[d]->SetText(text);
    }
    if (const int language = data[12] % 4; language != Form1->LanguageIndex) {
        const int previous = Form1->LanguageIndex;
        Form1->LanguageIndex = language;
        Form1->ApplyLanguage(previous);
    }
    Act(data[13], data[14] % TForm1::kDevicePanels, data[15] % TForm1::kPanelChannels);
    if (!Consistent())
        std::abort();

    const std::span<const uint8_t> batch(data + kContext, std::min<size_t>(size - kContext, 41));
    Form1->HandleReply(batch);
    if (!Consistent())
        std::abort();
    // The queue's ticks: the request goes out and the poller takes its turns.
    win::RunFor(10 * (1 + data[13] % 8));
    if (!Consistent())
        std::abort();
    return 0;
}
