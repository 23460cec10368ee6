#include "skin/skin_colors.h"

#include "skin/data/ansi_text.h"

namespace skin {

gdi::Color classic_system_color(int index) {
    static constexpr std::array<gdi::Color, 31> table = {
        gdi::rgb(192, 192, 192),  // scroll bar
        gdi::rgb(0, 128, 128),    // desktop
        gdi::rgb(0, 0, 128),      // active caption
        gdi::rgb(128, 128, 128),  // inactive caption
        gdi::rgb(192, 192, 192),  // menu
        gdi::rgb(255, 255, 255),  // window
        gdi::rgb(0, 0, 0),        // window frame
        gdi::rgb(0, 0, 0),        // menu text
        gdi::rgb(0, 0, 0),        // window text
        gdi::rgb(255, 255, 255),  // caption text
        gdi::rgb(192, 192, 192),  // active border
        gdi::rgb(192, 192, 192),  // inactive border
        gdi::rgb(128, 128, 128),  // application workspace
        gdi::rgb(0, 0, 128),      // highlight
        gdi::rgb(255, 255, 255),  // highlight text
        gdi::rgb(192, 192, 192),  // button face
        gdi::rgb(128, 128, 128),  // button shadow
        gdi::rgb(128, 128, 128),  // grey text
        gdi::rgb(0, 0, 0),        // button text
        gdi::rgb(192, 192, 192),  // inactive caption text
        gdi::rgb(255, 255, 255),  // button highlight
        gdi::rgb(0, 0, 0),        // 3-D dark shadow
        gdi::rgb(223, 223, 223),  // 3-D light
        gdi::rgb(0, 0, 0),        // info text
        gdi::rgb(255, 255, 225),  // info background
        gdi::rgb(180, 180, 180),  // (unused)
        gdi::rgb(0, 0, 255),      // hot light
        gdi::rgb(16, 132, 208),   // gradient active caption
        gdi::rgb(181, 181, 181),  // gradient inactive caption
        gdi::rgb(0, 0, 128),      // menu highlight
        gdi::rgb(192, 192, 192),  // menu bar
    };
    if (index < 0 || index >= static_cast<int>(table.size())) {
        return 0;
    }
    return table[static_cast<size_t>(index)];
}

gdi::Color strcolor(std::string_view text) {
    text = trim(text);
    int parts[3] = {0, 0, 0};
    int found = 0;
    size_t i = 0;
    while (i < text.size() && found < 3) {
        if (text[i] >= '0' && text[i] <= '9') {
            int v = 0;
            while (i < text.size() && text[i] >= '0' && text[i] <= '9') {
                v = v < 100000 ? v * 10 + (text[i] - '0') : v;
                ++i;
            }
            parts[found++] = v;
        } else {
            ++i;
        }
    }
    return gdi::rgb(static_cast<uint8_t>(parts[0]), static_cast<uint8_t>(parts[1]),
                    static_cast<uint8_t>(parts[2]));
}

std::string_view scheme_color_name(int slot) {
    static constexpr std::string_view names[kSchemeColorCount] = {
        "csText",           "csTitleTextActive", "csTitleTextNoActive", "csButtonFace",
        "csButtonText",     "csButtonHilight",   "csButtonlight",       "csButtonShadow",
        "csButtonDkshadow", "csSelectText",      "csSelectBg",          "csHilightText",
        "csHilight",        "csMenuBar",         "csMenuBarText",       "csMenuText",
        "csMenubg",         "csCaption",         "csScrollbar",         "csTextDisable"};
    if (slot < 0 || slot >= kSchemeColorCount) {
        return {};
    }
    return names[slot];
}

}  // namespace skin
