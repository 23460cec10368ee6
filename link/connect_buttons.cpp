// The two connect buttons of the Port Setup page. One link at a time: each refuses while the
// other link is in use.

#include <string>

#include "app/main_form.h"
#include "forms/button.h"
#include "forms/combo_box.h"
#include "forms/edit.h"
#include "forms/message_box.h"
#include "forms/status_bar.h"
#include "i18n/main_window_captions.h"
#include "link/link_texts.h"

namespace {

void ShowLinkError(const i18n::LangText& text, int language) {
    forms::MessageBox(nullptr, std::string(i18n::PickText(text, language)),
                      std::string(i18n::PickText(devlink::kErrorCaption, language)),
                      forms::MB_OK | forms::MB_TASKMODAL);
}

}  // namespace

void TForm1::Bn_ser_connClick(forms::TObject*) {
    if (EthernetInUse()) {
        ShowLinkError(devlink::kEthernetInUse, LanguageIndex);
        return;
    }
    // The button decides by its caption: after a language switch it shows the connect caption
    // whatever the link state, and a press opens the port again.
    const std::string connect(i18n::PickText(i18n::kConnectCaption, LanguageIndex));
    if (Bn_ser_conn->Caption() == connect) {
        if (Set_Serial(CB_com->ItemIndex() + 1))
            Bn_ser_conn->SetCaption(i18n::PickText(i18n::kDisconnectCaption, LanguageIndex));
        return;
    }
    if (SerialHandle != serial::INVALID_HANDLE_VALUE)
        SerialClose();
    Bn_ser_conn->SetCaption(connect);
    StatusBar1->Panels(0).SetText(devlink::kPortPanelIdle);
    StatusBar1->Panels(1).SetText("");
}

void TForm1::Bn_ip_connClick(forms::TObject*) {
    if (SerialHandle != serial::INVALID_HANDLE_VALUE) {
        ShowLinkError(devlink::kSerialInUse, LanguageIndex);
        return;
    }
    // This button decides by the client's connected state, not by its caption.
    if (EthernetInUse()) {
        CountSkippedTicks();
        IdTCPClient1.Disconnect();
    } else if (ConnectEthernet()) {
        ShowLinkError(devlink::kConnectFailed, LanguageIndex);
    }
    if (IdTCPClient1.Connected() == tcp::LinkState::Connected) {
        Bn_ip_conn->SetCaption(i18n::PickText(i18n::kDisconnectCaption, LanguageIndex));
        StatusBar1->Panels(0).SetText(devlink::kEthernetPanelPrefix + Ed_ip_address->Text());
    } else {
        Bn_ip_conn->SetCaption(i18n::PickText(i18n::kConnectCaption, LanguageIndex));
        StatusBar1->Panels(0).SetText(devlink::kPortPanelIdle);
    }
}
