// Hooks the device link to the controls and timers of the main window.

#include "app/main_form.h"
#include "forms/button.h"
#include "forms/edit.h"
#include "forms/timer.h"

void TForm1::CreateLinkHandlers() {
    IdTCPClient1.set_connect_timeout_ms(2000);
    IdTCPClient1.set_watch(&TcpSocketWatch);
    Bn_ser_conn->OnClick = [this](forms::TObject* sender) { Bn_ser_connClick(sender); };
    Bn_ip_conn->OnClick = [this](forms::TObject* sender) { Bn_ip_connClick(sender); };
    Ed_ip_address->OnExit = [this](forms::TObject* sender) { Ed_ip_addressExit(sender); };
    Timer_read232->OnTimer = [this](forms::TObject* sender) { Timer_read232Timer(sender); };
    Timer1->OnTimer = [this](forms::TObject* sender) { Timer1Timer(sender); };
}
