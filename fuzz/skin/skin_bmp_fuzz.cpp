// Package images of any bytes, loaded through the description as every element's image.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "skin/data/skin_reader.h"
#include "skin/data/skin_stream.h"
#include "skin/skin_data_core.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const std::string ini =
        "[Personality]\nTop=x.bmp\nLeft=x.bmp\n[Buttons]\nBitmap=x.bmp\nCheckButton=x.bmp\n"
        "[Button0]\nButtonImage=x.bmp\n[MDICONTROLS]\nImage=x.bmp\n[ComboButton]\nImage=x.bmp\n"
        "[SunkEdge]\nImage=x.bmp\nLeftWidth=2\n[ExtraImages]\nImage=x.bmp\n[Tabs]\nImage=x.bmp\n"
        "Border=x.bmp\n";
    const std::vector<skin::SkinPackageEntry> entries = {
        {"x.bmp", std::vector<uint8_t>(data, data + size)},
        {"skin.ini", std::vector<uint8_t>(ini.begin(), ini.end())}};
    skin::TSkinDataCore skin;
    if (!skin.LoadFromPackage(skin::build_skin_package(40000, entries))) {
        std::abort();
    }
    return 0;
}
