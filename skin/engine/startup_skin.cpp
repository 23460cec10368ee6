#include "skin/engine/startup_skin.h"

#include <cstdio>
#include <filesystem>
#include <vector>

#include "skin/data/memory_stream.h"
#include "skin/embedded_skin.h"
#include "skin/engine/skin_data.h"

namespace skin {

StartupSkinOptions& startup_skin_options() {
    static StartupSkinOptions options;
    return options;
}

namespace {

TSkinData* CreateSkin(forms::TForm* form, const std::string& name, TSkinControls controls) {
    auto* sd = new TSkinData(form);
    sd->SetName(name);
    sd->DisableTag = kNeverSkinFormTag;
    sd->SkinControls = controls;
    sd->Options = MainFormSkinOptions();
    sd->SkinFormtype = sfMainform;
    sd->MenuUpdate = true;
    sd->MenuMerge = false;

    const StartupSkinOptions& options = startup_skin_options();
    // In the plain look nothing paints with the skin, so the built-in one is not decoded (a
    // third of the plain start-up's work); the component holds no skin and stays inactive.
    if (!options.no_skin) {
        const std::span<const uint8_t> stored = embedded_skin_stream();
        TMemoryStream in;
        in.Write(stored.data(), stored.size());
        in.SetPosition(0);
        sd->ReadSkinStream(in);
    }
    if (!options.skin_file.empty()) {
        const std::string& file = options.skin_file;
        std::error_code ec;
        if (!std::filesystem::is_regular_file(file, ec)) {
            std::fprintf(stderr, "skin file \"%s\" not found; the built-in skin stays\n",
                         file.c_str());
        } else if (!sd->TSkinDataCore::LoadFromFile(file)) {
            if (sd->Empty)
                std::fprintf(stderr, "skin file \"%s\" is damaged; the plain look is used\n",
                             file.c_str());
            else
                std::fprintf(stderr, "skin file \"%s\" cannot be read; the built-in skin stays\n",
                             file.c_str());
        }
    }
    sd->SetActive(!options.no_skin);
    sd->Loaded();
    return sd;
}

}  // namespace

TSkinData* CreateMainFormSkin(forms::TForm* form, const std::string& name) {
    return CreateSkin(form, name, MainFormSkinControls());
}

TSkinData* CreateFrameSkin(forms::TForm* form, const std::string& name) {
    TSkinControls controls = MainFormSkinControls();
    controls.include(xcMainMenu);
    return CreateSkin(form, name, controls);
}

}  // namespace skin
