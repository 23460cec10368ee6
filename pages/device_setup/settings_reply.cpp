// What an intact SettingsReply for the device in Ed_conn_id writes into the Device Setup page:
// the 34 delays with their unit boxes, the cascade box with its dependent controls and the
// start channel, and the lock box. Only what the controls show changes; no operator handler
// runs, so no frame goes out because of a reply.

#include <string>

#include "app/main_form.h"
#include "forms/button.h"
#include "forms/combo_box.h"
#include "forms/edit.h"
#include "protocol/delay_byte.h"
#include "protocol/replies.h"

void TForm1::ApplySettingsReply(std::span<const uint8_t> batch) {
    const auto reply = protocol::parse_settings_reply(batch);
    if (!reply)
        return;
    const std::array<uint8_t, protocol::kChannelCount>* rows[2] = {&reply->on_delays,
                                                                   &reply->off_delays};
    for (int k = 0; k < 2; ++k) {
        for (int c = 0; c < protocol::kChannelCount; ++c) {
            const uint8_t delay = (*rows[k])[c];
            if (DelayMinutes[k][c])
                DelayMinutes[k][c]->SetChecked(protocol::delay_in_minutes(delay));
            if (DelayEdit[k][c])
                DelayEdit[k][c]->SetText(protocol::delay_text(delay));
        }
    }
    // Cascade on enables the start channel and its labels and the manual switch, and selects
    // the reported channel (LCD when it names none); off disables them and keeps the selection.
    if (CheckBox17 && Cb_ch && Label3 && Label2 && Button3) {
        const bool cascade = reply->cascade_on();
        CheckBox17->SetChecked(cascade);
        if (cascade)
            Cb_ch->SetItemIndex(reply->start_item());
        SetCascadeControlsEnabled(cascade);
    }
    if (CB_lock)
        CB_lock->SetChecked(reply->locked());
}
