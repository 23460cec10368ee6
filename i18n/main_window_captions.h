#pragma once

#include "i18n/caption_table.h"

namespace i18n {

// The connect buttons of the Port Setup page decide by their caption, so the link needs these
// texts too.
inline constexpr LangText kConnectCaption{"连接", "connect", "連接"};
inline constexpr LangText kDisconnectCaption{"断开", "disconnect", "斷開"};

// The window's own controls: the four page tabs, the language prompt and the Exit button.
inline constexpr CaptionRow kMainWindowCaptions[] = {
    {"TabSheet1", {"端口设置", "Port Setup", "端口設置"}},
    {"TabSheet2", {"设备设置", "Device Setup", "設備設置"}},
    {"TabSheet3", {"实时控制", "Real-time Control", "實時控制"}},
    {"TabSheet4", {"定时任务", "Timer Task", "定時任務"}},
    {"Button7", {"退出", "EXIT", "退出"}},
    {"Label5", {"   语言：", "Language:", "   語言："}},
};

// The Port Setup page.
inline constexpr CaptionRow kPortSetupCaptions[] = {
    {"Label13", {"串行端口：", "Serial Port: ", "串行端口："}},
    {"Bn_ser_conn", kConnectCaption},
    {"Bn_ip_conn", kConnectCaption},
    {"Label7", {"IP地址：", "IP address: ", "IP地址："}},
};

}  // namespace i18n
