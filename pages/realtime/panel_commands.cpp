// What the operator's clicks on the Real-time Control page do: each panel command is checked
// (ID, lock, running sequence) and put in the command queue, never sent from the click itself.

#include <string>

#include "app/main_form.h"
#include "forms/button.h"
#include "forms/edit.h"
#include "pages/device_setup/checks/device_id.h"
#include "pages/realtime/realtime_texts.h"
#include "protocol/requests.h"

namespace {

constexpr int kFirstChannelSlot = 3;

}  // namespace

std::optional<uint8_t> TForm1::CheckPanel(int d) {
    const auto id = PanelDeviceId(d);
    if (!id) {
        device_setup::ShowIdError(LanguageIndex);
        return std::nullopt;
    }
    if (PanelLockBox[d]->Checked()) {
        device_setup::ShowRefusal(realtime::kLockedMessage, LanguageIndex);
        return std::nullopt;
    }
    if (DeviceRunning[d]) {
        device_setup::ShowRefusal(realtime::kRunningMessage, LanguageIndex);
        return std::nullopt;
    }
    return id;
}

void TForm1::PanelSeqOnClick(forms::TObject* sender) {
    const int d = PanelOf(sender);
    if (d < 0)
        return;
    if (const auto id = CheckPanel(d))
        QueueRequest(protocol::SequentialOn(*id));
}

void TForm1::PanelRevOffClick(forms::TObject* sender) {
    const int d = PanelOf(sender);
    if (d < 0)
        return;
    if (const auto id = CheckPanel(d))
        QueueRequest(protocol::ReverseOff(*id));
}

void TForm1::ChannelButtonClick(forms::TObject* sender) {
    const int d = PanelOf(sender);
    if (d < 0)
        return;
    int c = 0;
    while (c < kPanelChannels && ChannelButton[d][c] != sender)
        ++c;
    if (c == kPanelChannels)
        return;
    const auto id = CheckPanel(d);
    if (!id)
        return;
    // The caption names the action: the on-text switches the channel on, anything else off.
    const bool switch_on =
        ChannelButton[d][c]->Caption() == i18n::PickText(realtime::kChannelOnText, LanguageIndex);
    const auto channel = static_cast<uint8_t>(c);
    QueueRequest(switch_on ? protocol::ChannelOn(*id, channel) : protocol::ChannelOff(*id, channel),
                 d, kFirstChannelSlot + c);
}

void TForm1::PanelAllButtonClick(forms::TObject* sender) {
    const int d = PanelOf(sender);
    if (d < 0)
        return;
    const auto id = CheckPanel(d);
    if (!id)
        return;
    const bool all_on = PanelAllButton[d]->Caption() == realtime::kAllCaption;
    QueueRequest(all_on ? protocol::AllOn(*id) : protocol::AllOff(*id), d);
}

void TForm1::ChannelMaskClick(forms::TObject* sender) {
    const int d = PanelOf(sender);
    if (d < 0)
        return;
    int m = 0;
    while (m < kPanelMasks && ChannelMask[d][m] != sender)
        ++m;
    if (m == kPanelMasks)
        return;
    // Only the ID is checked: a locked or running device still takes mask changes. A refused
    // click leaves the box as the click set it.
    const auto id = PanelDeviceId(d);
    if (!id) {
        device_setup::ShowIdError(LanguageIndex);
        return;
    }
    QueueRequest(protocol::SetMask(*id, static_cast<uint8_t>(m), ChannelMask[d][m]->Checked()), d,
                 m);
}

void TForm1::PanelMaskAllClick(forms::TObject* sender) {
    const int d = PanelOf(sender);
    if (d < 0)
        return;
    const auto id = PanelDeviceId(d);
    if (!id) {
        device_setup::ShowIdError(LanguageIndex);
        return;
    }
    QueueRequest(protocol::SetMask(*id, protocol::kMaskAll, PanelMaskAll[d]->Checked()), d);
}

void TForm1::Bn_ch_allClick(forms::TObject*) {
    QueueRequest(protocol::BroadcastAllOn());
}

void TForm1::Bn_ch_clrClick(forms::TObject*) {
    QueueRequest(protocol::BroadcastAllOff());
}
