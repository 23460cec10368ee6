#pragma once

#include "i18n/caption_table.h"
#include "operator_input/refusal_texts.h"

namespace device_setup {

// The static captions of the Device Setup page that a language switch sets.
inline constexpr i18n::CaptionRow kDeviceSetupCaptions[] = {
    {"Bn_read_id", {"读出", "read", "讀出"}},
    {"Bn_write_id", {"写入", "write", "寫入"}},
    {"Bn_connect", {"读取信息", "read device", "讀取信息"}},
    {"Button1", {"开机", "turn on", "開機"}},
    {"Button2", {"关机", "turn off", "關機"}},
    {"Bn_default", {"默认值", "default", "默認值"}},
    {"Bn_app", {"应用", "apply", "應用"}},
    {"Button3", {"开关", "start", "開關"}},
    {"Label14", {"原ID：", "old ID:", "原ID："}},
    {"Label4", {"新ID：", "new ID:", "新ID："}},
    {"Label1",
     {"(读或写ID时，只与一台设备相连接)", "(while reading or writing ID, only connect one)",
      "(讀或寫ID時，只與壹臺設備相連接)"}},
    {"Label3", {"启始位", "start bit", "啟始位"}},
    {"Label2",
     {"启始位设置只用于顺序开", "the bit only for sequential turn on", "啟始位設置只用於順序開"}},
    {"GroupBox1", {"设置", "setup", "設置"}},
    {"GroupBox_dly_setup", {"延时设置", "delay setup", "延時設置"}},
    {"CB_Opentime", {"定时开机", "on by alarm", "定時開機"}},
    {"CB_Closetime", {"定时关机", "off by alarm", "定時關機"}},
    {"CheckBox17", {"级联", "cascade", "級聯"}},
};

// The delay grid's own captions, set by its dynamic caption routine.
inline constexpr i18n::LangText kDelayGroupCaptions[2] = {
    {"开机延时", "turn on delay", "開機延時"},
    {"关机延时", "turn off delay", "關機延時"},
};
inline constexpr i18n::LangText kMinutesCaption{"分", "M", "分"};

// Message boxes of the page: caption and text. The refusals of a device ID and of a delay are
// shared with the command-line client.
using operator_input::kDelayErrorMessage;
using operator_input::kErrorCaption;
using operator_input::kIdErrorMessage;
using operator_input::MessageText;

inline constexpr MessageText kRestoreDefaultsQuestion{
    {"注意", "Attention", "註意"},
    {"确定恢复默认值吗?", "Are you sure restore the default value?", "確定恢復默認值嗎?"}};

}  // namespace device_setup
