// The ID strip and the working ID: reading the ID of the one device on the line, giving a
// device a new ID, reading a device's settings, and remembering the working ID.

#include "app/main_form.h"
#include "forms/edit.h"
#include "pages/device_setup/checks/device_id.h"
#include "protocol/requests.h"
#include "settings/settings_writers.h"

using device_setup::ParseDeviceId;

std::optional<uint8_t> TForm1::WorkingDeviceId() {
    const int32_t id = ParseDeviceId(Ed_conn_id->Text());
    if (!device_setup::IsDeviceId(id)) {
        device_setup::ShowIdError(LanguageIndex);
        return std::nullopt;
    }
    return static_cast<uint8_t>(id);
}

void TForm1::Bn_read_idClick(forms::TObject*) {
    // Addressed to ID 0: whatever device is on the line answers with its ID.
    SendFrame(protocol::ReadId());
}

void TForm1::Bn_write_idClick(forms::TObject*) {
    const int32_t current = ParseDeviceId(Ed_read_id->Text());
    if (!device_setup::IsCurrentId(current)) {
        device_setup::ShowIdError(LanguageIndex);
        return;
    }
    const int32_t wanted = ParseDeviceId(Ed_write_id->Text());
    if (!device_setup::IsDeviceId(wanted)) {
        device_setup::ShowIdError(LanguageIndex);
        return;
    }
    SendFrame(protocol::WriteId(static_cast<uint8_t>(current), static_cast<uint8_t>(wanted)));
}

void TForm1::Bn_connectClick(forms::TObject*) {
    if (const auto id = WorkingDeviceId())
        SendFrame(protocol::ReadSettings(*id));
}

void TForm1::Ed_conn_idExit(forms::TObject*) {
    // Stored as typed (0 when it is no number); the next start shows only 1 to 254. A file
    // that cannot be opened keeps nothing, silently.
    settings::WriteSavedIdText(SettingsPath, 0, Ed_conn_id->Text());
}
