// The colour sections of a skin description.
#include "skin/data/ansi_text.h"
#include "skin/skin_data_core.h"

namespace skin {

void TSkinDataCore::ReadColor2(std::string_view name, TShemeColor slot, gdi::Color def) {
    const std::string_view text = ini_->Value(colours_, name);
    const auto i = static_cast<size_t>(slot);
    if (text.empty()) {
        Colors[i] = def;
        hasColors[i] = false;
    } else {
        Colors[i] = strcolor(text);
        hasColors[i] = true;
    }
}

void TSkinDataCore::ReadColor() {
    hasColors.fill(false);
    colours_ = ini_->FindSection("Colours");
    ReadColor2("WindowText", csText, system_color(kSysWindowText));
    ReadColor2("ButtonFace", csButtonFace, system_color(kSysBtnFace));
    ReadColor2("Scrollbar", csScrollbar, system_color(kSysScrollbar));
    ReadColor2("HilightText", csHilightText, system_color(kSysHighlightText));
    ReadColor2("Hilight", csHilight, system_color(kSysHighlight));
    ReadColor2("Menubar", csMenuBar, Colors[csButtonFace]);
    ReadColor2("Menu", csMenubg, system_color(kSysMenu));
    ReadColor2("MenuText", csMenuText, system_color(kSysMenuText));
    ReadColor2("ButtonText", csButtonText, system_color(kSysBtnText));
    ReadColor2("ButtonHilight", csButtonHilight, system_color(kSysBtnHighlight));
    ReadColor2("Buttonlight", csButtonlight, system_color(kSysBtnHighlight));
    ReadColor2("ButtonShadow", csButtonShadow, system_color(kSysBtnShadow));
    ReadColor2("ButtonDkShadow", csButtonDkshadow, system_color(kSys3DDkShadow));
    ReadColor2("MenuBarText", csMenuBarText, system_color(kSysMenuText));
    ReadColor2("TitleTextActive", csTitleTextActive, system_color(kSysCaptionText));
    ReadColor2("TitleTextNoActive", csTitleTextNoActive, system_color(kSysInactiveCaptionText));

    ColorPreset.clear();
    for (const std::string& section : sections_) {
        const std::string upper = ansi_upper(section);
        if (upper.rfind("COLOUR", 0) == 0 && upper != "COLOURS") {
            ColorPreset.push_back(
                GetColor(ini_->FindSection(section), "color", system_color(kSysWindowText)));
        }
    }
    const int custom = ini_->FindSection("Customcolors");
    for (size_t i = 0; i < PresetColors.size(); ++i) {
        const char key[] = {'C', 'o', 'l', 'o', 'r', static_cast<char>('0' + i)};
        PresetColors[i] =
            GetColor(custom, std::string_view(key, sizeof key), gdi::rgb(255, 255, 255));
    }
}

bool TSkinDataCore::GetPrecolor(gdi::Color& out, int index) const {
    if (index < 0 || index >= static_cast<int>(ColorPreset.size())) {
        return false;
    }
    out = ColorPreset[static_cast<size_t>(index)];
    return true;
}

}  // namespace skin
