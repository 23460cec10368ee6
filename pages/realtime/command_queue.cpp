// The command queue and the status poller of the Real-time Control page, driven by Timer3: a
// queued request waits three ticks of 10 ms and goes out twice, on the fourth and fifth tick,
// the panel showing at once what the device was told to do; between requests each tick asks
// the next panel's device for its status.

#include "app/main_form.h"
#include "forms/button.h"
#include "forms/edit.h"
#include "forms/page_control.h"
#include "forms/timer.h"
#include "pages/realtime/realtime_texts.h"
#include "protocol/device_state.h"
#include "protocol/requests.h"

namespace {

constexpr int kRealtimePageIndex = 2;
constexpr int32_t kQueuedTicks = 5;
// The request goes out on the ticks that leave this many or fewer in the countdown.
constexpr int32_t kLastSendingTicks = 1;
constexpr unsigned kQueuedInterval = 10;
constexpr unsigned kPollInterval = 100;
// A polling tick looks at no more panels than this before it gives up.
constexpr int kPollAttempts = 3;
constexpr int kFirstChannelSlot = 3;
constexpr int kLastChannelSlot = 19;

}  // namespace

void TForm1::QueueRequest(const std::array<uint8_t, 4>& payload, std::optional<int> panel,
                          std::optional<int> slot) {
    PendingCountdown = kQueuedTicks;
    // The first tick comes at most 10 ms from now (a new interval restarts the period).
    Timer3->SetInterval(kQueuedInterval);
    PendingFlag = true;
    for (size_t i = 0; i < payload.size(); ++i)
        PendingFrame[i] = payload[i];
    if (panel)
        PendingPanel = *panel;
    if (slot)
        PendingSlot = *slot;
}

[[gnu::hot]] void TForm1::Timer3Timer(forms::TObject*) {
    // Frozen while another page is shown: the countdown does not move and nobody is polled.
    if (PageControl1->ActivePageIndex() != kRealtimePageIndex)
        return;
    if (!PendingFlag) {
        PollNextPanel();
        return;
    }
    --PendingCountdown;
    if (PendingCountdown <= 0) {
        PendingFlag = false;
        Timer3->SetInterval(kPollInterval);
    } else {
        Timer3->SetInterval(kQueuedInterval);
    }
    if (PendingCountdown > kLastSendingTicks)
        return;
    protocol::ShortPayload payload{};
    for (size_t i = 0; i < payload.size(); ++i)
        payload[i] = static_cast<uint8_t>(PendingFrame[i] & 0xFF);
    SendFrame(payload);
    ApplyQueuedFollowUp();
}

void TForm1::ApplyQueuedFollowUp() {
    const int d = PendingPanel;
    const bool panel_known = d >= 0 && d < kDevicePanels && PanelGroup[d] != nullptr;
    const auto code = static_cast<uint8_t>(PendingFrame[1] & 0xFF);
    switch (static_cast<protocol::Command>(code)) {
        case protocol::Command::ChannelOn:
        case protocol::Command::ChannelOff:
            if (panel_known && PendingSlot >= kFirstChannelSlot && PendingSlot <= kLastChannelSlot)
                ShowChannel(d, PendingSlot - kFirstChannelSlot,
                            code == protocol::code_of(protocol::Command::ChannelOn));
            break;
        case protocol::Command::AllOn:
        case protocol::Command::AllOff: {
            if (!panel_known)
                break;
            const bool on = code == protocol::code_of(protocol::Command::AllOn);
            PanelAllButton[d]->SetCaption(on ? realtime::kClearCaption : realtime::kAllCaption);
            ShowUnmaskedChannels(d, on);
            break;
        }
        case protocol::Command::BroadcastAllOn:
        case protocol::Command::BroadcastAllOff: {
            // Every device on the line was told; only the panels that show one follow.
            const bool on = code == protocol::code_of(protocol::Command::BroadcastAllOn);
            for (int p = 0; p < kDevicePanels; ++p) {
                if (!PanelDeviceId(p))
                    continue;
                ShowUnmaskedChannels(p, on);
                PanelAllButton[p]->SetCaption(on ? realtime::kClearCaption : realtime::kAllCaption);
            }
            break;
        }
        case protocol::Command::SetMask: {
            if (!panel_known)
                break;
            const auto index = static_cast<uint8_t>(PendingFrame[2] & 0xFF);
            if (index == protocol::kMaskAll) {
                // The mask boxes take the all box's state without running their click handlers.
                const bool masked = PanelMaskAll[d]->Checked();
                for (int m = 0; m < kPanelMasks; ++m) {
                    ChannelMask[d][m]->SetChecked(masked);
                    ChannelButton[d][protocol::channel_of_mask_index(m)]->SetEnabled(!masked);
                }
            } else if (index < kPanelMasks) {
                const bool masked = (PendingFrame[3] & 0xFF) == protocol::kFlagSet;
                ChannelButton[d][protocol::channel_of_mask_index(index)]->SetEnabled(!masked);
            }
            break;
        }
        default:
            // A sequence shows its progress through the polling.
            break;
    }
}

void TForm1::PollNextPanel() {
    for (int attempt = 0; attempt < kPollAttempts; ++attempt) {
        PollPanel = (PollPanel + 1) % kDevicePanels;
        if (const auto id = PanelDeviceId(PollPanel)) {
            SendFrame(protocol::PollStatus(*id));
            return;
        }
        // A panel without a valid ID falls back to all off; masks, lock, the all button and
        // the running flag stay as they are.
        for (int c = 0; c < kPanelChannels; ++c)
            ShowChannel(PollPanel, c, false);
    }
}
