// The receive loop: on every 6th tick of Timer_read232 (every 21st after a settings request)
// it takes whatever has arrived on the link in use as one batch and hands it to the reply
// dispatcher. A reply is recognised only by the length of one batch, so nothing is ever
// joined across reads.

#include <array>
#include <span>
#include <string>

#include "app/main_form.h"
#include "forms/button.h"
#include "forms/message_box.h"
#include "forms/status_bar.h"
#include "forms/timer.h"
#include "i18n/main_window_captions.h"
#include "link/link_texts.h"
#include "link/receive_limits.h"
#include "platform/clock/wake_path.h"

VELMOR_WAKE_CODE void TForm1::Timer_read232Timer(forms::TObject*) {
    CountSkippedTicks();
    ReceiveStep();
    SkipQuietTicks();
}

VELMOR_WAKE_CODE void TForm1::ReceiveStep() {
    const bool serial_link = SerialHandle != serial::INVALID_HANDLE_VALUE;
    bool divide = true;
    if (!serial_link) {
        switch (IdTCPClient1.Connected()) {
            case tcp::LinkState::NotConnected:
                return;  // no link: the tick count stays where it is
            case tcp::LinkState::Broken:
                HandleConnectionLoss();
                divide = false;
                break;
            case tcp::LinkState::Connected:
                break;
        }
    }
    if (divide) {
        const uint8_t limit =
            ReadSettingsSent ? devlink::kSlowReadTickLimit : devlink::kReadTickLimit;
        if (ReceiveTickCount < limit) {
            ++ReceiveTickCount;
            return;
        }
        ReceiveTickCount = 0;
    }

    // A reply is read into the loop's own buffer: the 10 replies a second allocate nothing.
    std::array<uint8_t, devlink::kMaxSerialQueue> buffer;
    std::span<const uint8_t> batch;
    if (serial_link) {
        const size_t waiting = SerialBytesWaiting();
        if (waiting == 0)
            return;
        if (waiting > buffer.size()) {
            SerialDiscardInput();
            return;
        }
        batch = std::span(buffer).first(SerialReadInto(std::span(buffer).first(waiting)));
    } else {
        // The connected test of a watched socket leaves what came in the socket; take it in.
        if (IdTCPClient1.TakeIn() != tcp::LinkState::Connected || IdTCPClient1.HeldBytes() == 0)
            return;
        IdTCPClient1.WaitForData(devlink::kTcpReadWaitMs);
        const size_t held = IdTCPClient1.HeldBytes();
        if (held > devlink::kMaxBatch) {
            IdTCPClient1.Read(held);  // every byte is read, and a batch this long is dropped
            return;
        }
        batch = std::span(buffer).first(
            IdTCPClient1.ReadInto(std::span(buffer).first(devlink::kMaxBatch)));
    }
    if (batch.empty() || batch.size() > devlink::kMaxBatch)
        return;
    HandleReply(batch);
}

VELMOR_WAKE_CODE void TForm1::ReceiveTick(void* form, forms::TObject* sender) {
    static_cast<TForm1*>(form)->Timer_read232Timer(sender);
}

// A counting tick asks nothing on the serial link, and over TCP only the connected test, which
// the socket's watch answers without asking while no hang-up has come; a hang-up ends the wait
// the loop sleeps in and with it the skip (win::SkipTimerTicks), so the next tick sees it. An
// unwatched socket (no display that waits) is asked at every tick and is never skipped over.
// Without any link the loop sleeps a second at a time: Set_Serial and ConnectEthernet end the
// skip, and a path that opened a link without them would still be read within the second.
VELMOR_WAKE_CODE void TForm1::SkipQuietTicks() {
    CountSkippedTicks();
    const bool serial_link = SerialHandle != serial::INVALID_HANDLE_VALUE;
    if (!serial_link && !IdTCPClient1.HasConnection()) {
        Timer_read232->SkipTicks(devlink::kTicksSkippedWithoutLink);
        SkippedTicksCount = false;
        return;
    }
    if (!serial_link && !IdTCPClient1.UpUnderWatch())
        return;
    const uint8_t limit = ReadSettingsSent ? devlink::kSlowReadTickLimit : devlink::kReadTickLimit;
    if (ReceiveTickCount < limit) {
        Timer_read232->SkipTicks(limit - ReceiveTickCount);
        SkippedTicksCount = true;
    }
}

VELMOR_WAKE_CODE void TForm1::CountSkippedTicks() {
    const unsigned skipped = Timer_read232->TakeSkippedTicks();
    if (SkippedTicksCount)
        ReceiveTickCount = static_cast<uint8_t>(ReceiveTickCount + skipped);
}

void TForm1::HandleConnectionLoss() {
    CountSkippedTicks();
    if (IdTCPClient1.Disconnect())
        return;  // the button and panel 0 keep their look until the operator presses it
    forms::MessageBox(nullptr, std::string(i18n::PickText(devlink::kConnectFailed, LanguageIndex)),
                      std::string(i18n::PickText(devlink::kErrorCaption, LanguageIndex)),
                      forms::MB_OK | forms::MB_TASKMODAL);
    Bn_ip_conn->SetCaption(i18n::PickText(i18n::kConnectCaption, LanguageIndex));
    StatusBar1->Panels(0).SetText(devlink::kPortPanelIdle);
}
