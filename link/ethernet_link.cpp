// The Ethernet link of the main window: the address the operator types and the connect that
// the Ethernet button runs.

#include "app/main_form.h"
#include "forms/edit.h"
#include "link/tcp_port.h"
#include "settings/settings_writers.h"

void TForm1::Ed_ip_addressExit(forms::TObject*) {
    // Stored as typed; the open connection keeps its address until the next connect.
    settings::WriteSavedIpAddress(SettingsPath, Ed_ip_address->Text());
}

tcp::ConnectError TForm1::ConnectEthernet() {
    CountSkippedTicks();
    IdTCPClient1.set_port(devlink::TcpPort());
    IdTCPClient1.set_host(Ed_ip_address->Text());
    switch (IdTCPClient1.Connected()) {
        case tcp::LinkState::Connected:
            return {};
        case tcp::LinkState::Broken:
            // A connection that broke unnoticed is released before the new one is made.
            IdTCPClient1.Disconnect();
            break;
        case tcp::LinkState::NotConnected:
            break;
    }
    return IdTCPClient1.Connect();
}

bool TForm1::EthernetInUse() {
    switch (IdTCPClient1.Connected()) {
        case tcp::LinkState::Connected:
            return true;
        case tcp::LinkState::Broken:
            HandleConnectionLoss();
            return false;
        case tcp::LinkState::NotConnected:
            break;
    }
    return false;
}
