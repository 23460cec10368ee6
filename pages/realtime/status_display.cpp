// What an intact StatusReply or StateReport shows on every device panel that watches the
// reporting device: the running flag, the lock, the 17 channels and, for a StateReport, the
// 16 masks with the enabled state of the channel buttons. Only what the controls show changes;
// no mask handler runs, so a reply never queues a request.
//
// Each panel keeps a record of what the last reply put on it (PanelShownStatus). While the
// record holds, only the controls whose state differs from it are written, so the reply of an
// idle device, which changes nothing, reads and writes none of the panel's controls.

#include "app/main_form.h"
#include "forms/button.h"
#include "protocol/replies.h"

namespace {

using realtime::ShownStatus;

// The panel's channels shown on, channel c at bit 16 - c: the LCD above the device's word.
uint32_t LitChannels(const protocol::StatusByte& status, protocol::ChannelWord channels) {
    return (status.lcd_on ? ShownStatus::ChannelBit(0) : 0u) | channels.bits;
}

}  // namespace

void TForm1::ApplyStatus(std::span<const uint8_t> batch, bool mask_step) {
    protocol::StateReport state;
    if (mask_step) {
        const auto report = protocol::parse_state_report(batch);
        if (!report)
            return;
        state = *report;
    } else {
        const auto reply = protocol::parse_status_reply(batch);
        if (!reply)
            return;
        state.device_id = reply->device_id;
        state.status = reply->status;
        state.channels = reply->channels;
    }
    const uint32_t lit = LitChannels(state.status, state.channels);
    for (int d = 0; d < kDevicePanels; ++d) {
        // Every panel that shows the device follows it; a panel without a valid ID never does.
        const auto id = PanelDeviceId(d);
        if (!id || *id != state.device_id)
            continue;
        DeviceRunning[d] = state.status.running;
        ShownStatus& shown = PanelShownStatus[d];
        // Without a record that holds, the panel is written whole.
        const bool holds = shown.Holds(LanguageIndex);
        if (!holds || shown.locked != state.status.locked)
            PanelLockBox[d]->SetChecked(state.status.locked);
        const uint32_t changed = holds ? (shown.lit ^ lit) : ShownStatus::kAllChannels;
        if (changed != 0) {
            for (int c = 0; c < kPanelChannels; ++c) {
                if (changed & ShownStatus::ChannelBit(c))
                    ShowChannel(d, c, (lit & ShownStatus::ChannelBit(c)) != 0);
            }
        }
        // A StatusReply leaves the masks as they stand: what the record knew of them holds as
        // long as nobody else wrote to the panel.
        bool masks_known = holds && shown.masks_known;
        if (mask_step) {
            // A set mask bit is a usable channel, a clear one a masked channel.
            const uint16_t usable = state.mask.bits;
            const uint16_t differ = masks_known ? shown.usable ^ usable : ShownStatus::kAllMasks;
            for (int m = 0; m < kPanelMasks && differ != 0; ++m) {
                if (!(differ & ShownStatus::MaskBit(m)))
                    continue;
                const bool is_usable = (usable & ShownStatus::MaskBit(m)) != 0;
                ChannelMask[d][m]->SetChecked(!is_usable);
                ChannelButton[d][protocol::channel_of_mask_index(m)]->SetEnabled(is_usable);
            }
            shown.usable = usable;
            masks_known = true;
        }
        shown.lit = lit;
        shown.locked = state.status.locked;
        shown.masks_known = masks_known;
        shown.language = LanguageIndex;
        shown.known = true;
        shown.changes_applied = shown.changes;
    }
}
