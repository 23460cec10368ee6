#pragma once

#include "i18n/lang_text.h"
#include "pages/device_setup/checks/device_setup_texts.h"

namespace realtime {

// The captions of a device panel that a language switch sets.
inline constexpr i18n::LangText kStatusCaption{"状态显示", "  STATUS", "狀態顯示"};
inline constexpr i18n::LangText kMaskLabelCaption{"屏蔽选择：", "MASK OPTION: ", "屏蔽選擇："};
inline constexpr i18n::LangText kMaskAllCaption{"所有", "ALL", "所有"};
inline constexpr i18n::LangText kSeqOnCaption{"顺序打开", "turn on", "順序打開"};
inline constexpr i18n::LangText kRevOffCaption{"逆序关闭", "turn off", "逆序關閉"};
// A channel button names the action it performs: the on-text while the channel is off, the
// off-text while it is on.
inline constexpr i18n::LangText kChannelOnText{"开", "on", "開"};
inline constexpr i18n::LangText kChannelOffText{"关", "off", "關"};

// Texts that are the same in every language.
inline constexpr const char* kIdCaption = "ID:";
inline constexpr const char* kLockCaption = "Lock";
inline constexpr const char* kMaskCaption = "M";
// The all-channels button shows its next action.
inline constexpr const char* kAllCaption = "ALL";
inline constexpr const char* kClearCaption = "CLEAR";

// The refusals of a panel command.
inline constexpr device_setup::MessageText kLockedMessage{
    device_setup::kErrorCaption,
    {"该设备处于锁定状态", "the device is in locked status", "該設備處於鎖定狀態"}};
inline constexpr device_setup::MessageText kRunningMessage{
    device_setup::kErrorCaption,
    {"该设备处于运行状态", "the device is in running status", "該設備處於運行狀態"}};

}  // namespace realtime
