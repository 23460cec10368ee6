#pragma once

#include "i18n/lang_text.h"

namespace devlink {

// The boxes of the two connect buttons and of a lost connection, all with the error caption.
inline constexpr i18n::LangText kEthernetInUse{"已连接以太网端口,请断开再连接COM口!",
                                               "Had connected the ethernet port!",
                                               "已連接以太網端口,請斷開再連接COM口!"};
inline constexpr i18n::LangText kSerialInUse{"已连接COM端口,请断开再连接以太网端口!",
                                             "Had connected the serial port!",
                                             "已連接COM端口,請斷開再連接以太網端口!"};
inline constexpr i18n::LangText kConnectFailed{
    "连接主机失败，请重新检查！", "connect failed, please check it!", "連接主機失敗，請重新檢查！"};
inline constexpr i18n::LangText kErrorCaption{"错误", "Error", "錯誤"};

// Status panel 0 while no link is described, and its prefix for the Ethernet link.
inline constexpr const char* kPortPanelIdle = "Port:";
inline constexpr const char* kEthernetPanelPrefix = "Port:ethernet IP:";

}  // namespace devlink
