#pragma once

#include <array>
#include <cstdint>
#include <string_view>

#include "platform/gdi/color.h"

namespace skin {

// The colour slots of a skin.
enum TShemeColor {
    csText,
    csTitleTextActive,
    csTitleTextNoActive,
    csButtonFace,
    csButtonText,
    csButtonHilight,
    csButtonlight,
    csButtonShadow,
    csButtonDkshadow,
    csSelectText,
    csSelectBg,
    csHilightText,
    csHilight,
    csMenuBar,
    csMenuBarText,
    csMenuText,
    csMenubg,
    csCaption,
    csScrollbar,
    csTextDisable,
};
inline constexpr int kSchemeColorCount = csTextDisable + 1;

// A colour value with the top bit set names a system colour by its index in the low byte.
constexpr gdi::Color system_color(int index) {
    return 0xFF000000u | static_cast<gdi::Color>(index & 0xFF);
}
constexpr bool is_system_color(gdi::Color c) {
    return (c & 0x80000000u) != 0;
}

// The system colour indexes the skin's defaults name.
inline constexpr int kSysScrollbar = 0;
inline constexpr int kSysActiveCaption = 2;
inline constexpr int kSysMenu = 4;
inline constexpr int kSysWindow = 5;
inline constexpr int kSysMenuText = 7;
inline constexpr int kSysWindowText = 8;
inline constexpr int kSysCaptionText = 9;
inline constexpr int kSysHighlight = 13;
inline constexpr int kSysHighlightText = 14;
inline constexpr int kSysBtnFace = 15;
inline constexpr int kSysBtnShadow = 16;
inline constexpr int kSysGrayText = 17;
inline constexpr int kSysBtnText = 18;
inline constexpr int kSysInactiveCaptionText = 19;
inline constexpr int kSysBtnHighlight = 20;
inline constexpr int kSys3DDkShadow = 21;

// The classic system colours, used to resolve system colour values until the windowing layer
// supplies its own.
gdi::Color classic_system_color(int index);

// A colour text: the first three runs of decimal digits are red, green and blue; any other
// character ends a run; missing components are 0. So "236 233 216" and "236,233,216" agree.
gdi::Color strcolor(std::string_view text);

// Slot names, for listings and the contact sheet.
std::string_view scheme_color_name(int slot);

}  // namespace skin
