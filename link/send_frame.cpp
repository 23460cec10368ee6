// The one send routine through which every request goes out, and the send-failure watch that
// tells the operator when a request got no answer.

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstring>
#include <stdexcept>
#include <string>

#include "app/main_form.h"
#include "forms/application.h"
#include "forms/status_bar.h"
#include "forms/timer.h"
#include "i18n/status_texts.h"
#include "protocol/frame.h"
#include "protocol/requests.h"

namespace {

// The application's general error report, carrying the socket layer's own text.
void ReportSocketError(const std::string& what, int sys_error) {
    std::string text = "Socket error: " + what;
    if (sys_error != 0)
        text += std::string(" (") + std::strerror(sys_error) + ")";
    forms::Application->HandleException(std::runtime_error(text));
}

}  // namespace

void TForm1::SendFrame(std::span<const uint8_t> payload) {
    // 1. No receive tick and no failure tick may fall between the frame and its bookkeeping.
    Timer_read232->SetEnabled(false);
    Timer1->SetEnabled(false);
    // 2.-4. Header, payload, check; a short payload is remembered for matching its Ack.
    if (payload.size() <= protocol::kMaxShortPayload && payload.size() >= LastShortPayload.size())
        std::copy_n(payload.begin(), LastShortPayload.size(), LastShortPayload.begin());
    // Built in place: the ten polls a second allocate nothing.
    std::array<uint8_t, protocol::kMaxRequestFrameSize> buffer;
    protocol::Bytes long_frame;
    std::span<const uint8_t> frame;
    if (const auto written = protocol::write_frame(payload, buffer)) {
        frame = *written;
    } else {
        long_frame = protocol::build_frame(payload);
        frame = long_frame;
    }
    // 5. To the TCP connection when it is up, else to the open serial port, else nowhere.
    switch (IdTCPClient1.Connected()) {
        case tcp::LinkState::Connected:
            errno = 0;
            if (!IdTCPClient1.Write(frame))
                ReportSocketError("the frame could not be written", errno);
            break;
        case tcp::LinkState::Broken:
            ReportSocketError("the connection was closed", 0);
            break;
        case tcp::LinkState::NotConnected:
            if (SerialHandle != serial::INVALID_HANDLE_VALUE)
                SerialWrite(frame);
            break;
    }
    // 6. The next receive tick comes a full interval after the write.
    Timer_read232->SetEnabled(true);
    // 7. A settings request makes the receive loop wait longer for its long reply.
    ReadSettingsSent =
        payload.size() > 1 && payload[1] == protocol::code_of(protocol::Command::ReadSettings);
    // 8.-10. The receive count and the failure watch start over.
    ReceiveTickCount = 0;
    Timer1->SetEnabled(true);
    FailureTickCount = 0;
    // 11. The loop sleeps until the read that may find the reply.
    SkipQuietTicks();
}

void TForm1::Timer1Timer(forms::TObject*) {
    if (FailureTickCount != 0) {
        FailureTickCount = 0;
        Timer1->SetEnabled(false);
        StatusBar1->Panels(2).SetText(i18n::PickText(i18n::kDataSentFailed, LanguageIndex));
        return;
    }
    FailureTickCount = 1;
}
