// The reply dispatcher: one batch from the receive loop, recognised by its exact length and
// first byte, verified by its check byte, and confirmed in the status bar. It never sends a
// frame and never shows a box.

#include <string>

#include "app/main_form.h"
#include "forms/edit.h"
#include "forms/status_bar.h"
#include "forms/timer.h"
#include "i18n/status_texts.h"
#include "platform/text/number_format.h"
#include "protocol/replies.h"

namespace {

// Whether the edit's text reads as the device ID `id`; empty or non-numeric text never does.
bool ShowsDevice(const forms::TEdit* edit, uint8_t id) {
    if (edit == nullptr)
        return false;
    const auto value = text::str_to_int(edit->Text());
    return value && *value == id;
}

}  // namespace

void TForm1::HandleReply(std::span<const uint8_t> received) {
    const auto batch = protocol::single_reply(received);
    // To confirm: end the send-failure watch and show the success text (a text the panel shows
    // already is not set again: a poll's reply confirms ten times a second).
    const auto show_success = [this] {
        StatusBar1->Panels(2).SetText(i18n::PickText(i18n::kDataSentSuccessfully, LanguageIndex));
    };
    const auto confirm = [this, &show_success] {
        Timer1->SetEnabled(false);
        show_success();
    };
    switch (protocol::classify_reply(batch)) {
        case protocol::ReplyKind::Ack:
            if (protocol::acknowledges(batch, LastShortPayload))
                confirm();
            break;
        case protocol::ReplyKind::IdReply:
            // A damaged reply changes no control but still ends the wait.
            if (const auto reply = protocol::parse_id_reply(batch); reply && Ed_read_id)
                Ed_read_id->SetText(text::int_to_str(reply->device_id));
            confirm();
            break;
        case protocol::ReplyKind::StatusReply:
            if (protocol::parse_status_reply(batch))
                ApplyStatus(batch, false);
            confirm();
            break;
        case protocol::ReplyKind::StateReport:
            // While a queued real-time command counts down its reports are not taken at all.
            if (PendingFlag)
                break;
            if (protocol::parse_state_report(batch))
                ApplyStatus(batch, true);
            Timer1->SetEnabled(false);
            if (batch[2] == protocol::kStateReportConfirmed)
                show_success();
            break;
        case protocol::ReplyKind::SettingsReply:
            if (protocol::parse_settings_reply(batch) && ShowsDevice(Ed_conn_id, batch[1]))
                ApplySettingsReply(batch);
            confirm();
            break;
        case protocol::ReplyKind::Unknown:
            break;
    }
}
