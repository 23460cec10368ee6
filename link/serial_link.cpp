// The serial link of the main window: opening COM<n> at the console's fixed line settings, the
// operations the rest of the link uses on the open port, and the port choice of the Port Setup
// page.

#include <string>

#include "app/main_form.h"
#include "forms/combo_box.h"
#include "forms/message_box.h"
#include "forms/status_bar.h"
#include "forms/timer.h"
#include "i18n/status_texts.h"
#include "settings/settings_writers.h"

namespace {

constexpr uint32_t kBaudRate = 19200;

// The port description of status panel 0, the same in every language.
std::string PortDescription(const std::string& name) {
    return "Port:" + name + ":" + std::to_string(kBaudRate) + ",8,None,1";
}

// Speed, 8 data bits, no parity, one stop bit; everything else as the driver reports it.
bool ApplyLineSettings(serial::HANDLE h) {
    serial::DCB dcb;
    if (!serial::GetCommState(h, &dcb))
        return false;
    dcb.BaudRate = kBaudRate;
    dcb.ByteSize = 8;
    dcb.Parity = serial::NOPARITY;
    dcb.StopBits = serial::ONESTOPBIT;
    return serial::SetCommState(h, dcb);
}

void ShowPortInvalid() {
    forms::MessageBox(nullptr, "Port Invalid!", "Comm Error", forms::MB_OK | forms::MB_TASKMODAL);
}

}  // namespace

bool TForm1::Set_Serial(int port_number) {
    CountSkippedTicks();
    const std::string name = "COM" + std::to_string(port_number);
    StatusBar1->Panels(0).SetText(PortDescription(name));
    if (SerialHandle != serial::INVALID_HANDLE_VALUE)
        SerialClose();

    SerialHandle = serial::CreateFileA(name);
    if (SerialHandle == serial::INVALID_HANDLE_VALUE) {
        Timer_read232->SetEnabled(false);
        ShowPortInvalid();
        StatusBar1->Panels(1).SetText(i18n::PickText(i18n::kPortOpenFailed, LanguageIndex));
        return false;
    }
    // A port whose settings cannot even be read is refused like one that does not take them.
    if (!ApplyLineSettings(SerialHandle)) {
        SerialClose();
        ShowPortInvalid();
        StatusBar1->Panels(1).SetText(i18n::PickText(i18n::kPortOpenFailed, LanguageIndex));
        return false;
    }
    StatusBar1->Panels(1).SetText(i18n::PickText(i18n::kPortOpenSucceeded, LanguageIndex));
    Timer_read232->SetEnabled(true);
    return true;
}

void TForm1::SerialWrite(std::span<const uint8_t> bytes) {
    if (SerialHandle == serial::INVALID_HANDLE_VALUE)
        return;
    size_t written = 0;
    // A failed write loses the frame; the send-failure watch reports it later.
    serial::WriteFile(SerialHandle, bytes.data(), bytes.size(), &written);
}

size_t TForm1::SerialBytesWaiting() {
    if (SerialHandle == serial::INVALID_HANDLE_VALUE)
        return 0;
    uint32_t errors = 0;
    serial::COMSTAT stat;
    if (!serial::ClearCommError(SerialHandle, &errors, &stat))
        return 0;
    return stat.cbInQue;
}

void TForm1::SerialDiscardInput() {
    if (SerialHandle != serial::INVALID_HANDLE_VALUE)
        serial::PurgeComm(SerialHandle, serial::PURGE_RXCLEAR);
}

size_t TForm1::SerialReadInto(std::span<uint8_t> into) {
    size_t read = 0;
    if (SerialHandle == serial::INVALID_HANDLE_VALUE || into.empty() ||
        !serial::ReadFile(SerialHandle, into.data(), into.size(), &read))
        return 0;
    return read;
}

void TForm1::SerialClose() {
    CountSkippedTicks();
    if (SerialHandle != serial::INVALID_HANDLE_VALUE)
        serial::CloseHandle(SerialHandle);
    SerialHandle = serial::INVALID_HANDLE_VALUE;
}

void TForm1::CB_comChange(forms::TObject*) {
    // With no item selected the port number is 0, stored as it is; the next open of COM0 fails.
    settings::WritePortNumber(SettingsPath, CB_com->ItemIndex() + 1);
}
