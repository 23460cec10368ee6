// What an intact StatusReply or StateReport shows on every device panel that watches the
// reporting device: the running flag, the lock, the 17 channels and, for a StateReport, the
// 16 masks with the enabled state of the channel buttons. Only what the controls show changes;
// no mask handler runs, so a reply never queues a request.

#include "app/main_form.h"
#include "forms/button.h"
#include "protocol/replies.h"

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
    for (int d = 0; d < kDevicePanels; ++d) {
        // Every panel that shows the device follows it; a panel without a valid ID never does.
        const auto id = PanelDeviceId(d);
        if (!id || *id != state.device_id)
            continue;
        DeviceRunning[d] = state.status.running;
        PanelLockBox[d]->SetChecked(state.status.locked);
        ShowChannel(d, 0, state.status.lcd_on);
        for (int c = 1; c < kPanelChannels; ++c)
            ShowChannel(d, c, state.channels.test(c));
        if (!mask_step)
            continue;
        // A set mask bit is a usable channel, a clear one a masked channel.
        for (int m = 0; m < kPanelMasks; ++m) {
            const int c = protocol::channel_of_mask_index(m);
            const bool usable = state.mask.test(c);
            ChannelMask[d][m]->SetChecked(!usable);
            ChannelButton[d][c]->SetEnabled(usable);
        }
    }
}
