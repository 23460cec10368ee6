// The option strip and the power buttons: cascade with its start channel, the lock, the manual
// switch, power on and power off, each sent at once to the working device.

#include "app/main_form.h"
#include "forms/button.h"
#include "forms/combo_box.h"
#include "forms/label.h"
#include "protocol/requests.h"

void TForm1::SetCascadeControlsEnabled(bool enabled) {
    Cb_ch->SetEnabled(enabled);
    Label3->SetEnabled(enabled);
    Label2->SetEnabled(enabled);
    Button3->SetEnabled(enabled);
}

void TForm1::SendDeviceOption(uint8_t sub_code) {
    const auto id = WorkingDeviceId();
    if (!id)
        return;
    // A typed start channel that names no item has index -1, which travels as FF.
    SendFrame(
        protocol::DeviceOption(*id, static_cast<protocol::Option>(sub_code), Cb_ch->ItemIndex()));
}

void TForm1::CheckBox17Click(forms::TObject*) {
    const bool cascade = CheckBox17->Checked();
    const auto id = WorkingDeviceId();
    // Refused: the box keeps the state the click gave it, the dependent controls stay.
    if (!id)
        return;
    SendFrame(cascade ? protocol::CascadeOn(*id, Cb_ch->ItemIndex())
                      : protocol::CascadeOff(*id, Cb_ch->ItemIndex()));
    SetCascadeControlsEnabled(cascade);
}

void TForm1::Cb_chChange(forms::TObject*) {
    SendDeviceOption(protocol::code_of(protocol::Option::CascadeOn));
}

void TForm1::Button3Click(forms::TObject*) {
    SendDeviceOption(protocol::code_of(protocol::Option::ManualSwitch));
}

void TForm1::Button1Click(forms::TObject*) {
    SendDeviceOption(protocol::code_of(protocol::Option::TurnOn));
}

void TForm1::Button2Click(forms::TObject*) {
    SendDeviceOption(protocol::code_of(protocol::Option::TurnOff));
}

void TForm1::CB_lockClick(forms::TObject*) {
    if (const auto id = WorkingDeviceId())
        SendFrame(protocol::SetLock(*id, CB_lock->Checked()));
}
