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
    // The receive loop ticks a hundred times a second: its handler is called without a
    // std::function on the way, through a function that lies with the rest of a quiet tick.
    Timer_read232->SetOnTimerProcedure(&TForm1::ReceiveTick, this);
    Timer1->SetOnTimerMethod<&TForm1::Timer1Timer>(this);
}
