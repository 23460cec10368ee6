#pragma once

#include "skin/engine/skin_types.h"

namespace skin {

// What kind of window a skinned frame belongs to.
enum TSkinFormStyle { sfsNormal, sfsMDIform, sfsMDIChild, sfsChild };
// The window's border as the skinned frame sees it.
enum TSkinFormBorder { sbsSizeable, sbsSingle, sbsNone, sbsDialog };
// The window's caption icons.
enum TSkinFormIcon { sbiMax, sbiMin, sbiHelp, sbisystem, sbicaption };
using TSkinFormIcons = SkinSet<TSkinFormIcon>;
// The window's state as the frame last saw it.
enum TSkinWindowState { swsNormal, swsMax, swsMin };

// Widths of the skinned frame: left, top (with the caption bar), right, bottom.
struct TFrameWidths {
    int Left = 0;
    int Top = 0;
    int Right = 0;
    int Bottom = 0;
    friend bool operator==(const TFrameWidths&, const TFrameWidths&) = default;
};

// Skinned window states (Skinstate).
constexpr int kSkinSettingUp = 0;
constexpr int kSkinRunning = 1;
constexpr int kSkinChanging = 3;
constexpr int kSkinDestroying = 4;
constexpr int kSkinResizing = 5;
constexpr int kSkinDeleted = 6;

}  // namespace skin
