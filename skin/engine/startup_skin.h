#pragma once

#include <string>

namespace forms {
class TForm;
}

namespace skin {

class TSkinData;

// What the command line says about the skin: --no-skin starts in the plain look, --skin FILE
// loads a skin package file instead of the built-in skin.
struct StartupSkinOptions {
    bool no_skin = false;
    std::string skin_file;
};
StartupSkinOptions& startup_skin_options();

// Creates the main form's skin component with the main form's switches, reads the built-in
// skin as the stored property does (then the file of --skin, when given), and completes its
// loading. A file that is missing or cannot be read leaves the built-in skin; a file that is
// damaged after loading began leaves the component empty (the plain look). Either way one
// line on standard error says why, and the program goes on.
TSkinData* CreateMainFormSkin(forms::TForm* form, const std::string& name = "SkinData1");
// The same with xcMainMenu: the skin paints the frames of the windows it takes over too
// (borders, caption bar, title buttons, the window's shape).
TSkinData* CreateFrameSkin(forms::TForm* form, const std::string& name = "SkinData1");

}  // namespace skin
