// Description text of any bytes: parsing, every lookup, and a save and reload that reads back.
#include <cstdint>
#include <cstdlib>

#include "skin/data/quick_ini.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    skin::TMemoryStream text(std::vector<uint8_t>(data, data + size));
    skin::TQuickIni ini;
    ini.LoadFromStream(&text);
    std::vector<std::string> sections;
    ini.ReadSections(&sections);
    for (const std::string& s : sections) {
        std::vector<std::string> keys;
        ini.ReadSection(s, &keys);
        for (const std::string& k : keys) {
            ini.ReadInteger(s, k, 0);
            ini.ReadBool(s, k, false);
        }
        ini.ReadSectionValues(s, &keys);
    }
    ini.WriteString("Fuzz", "Key", "value");
    skin::TMemoryStream saved;
    ini.SaveToStream(&saved);
    saved.SetPosition(0);
    skin::TQuickIni back;
    back.LoadFromStream(&saved);
    if (back.ReadString("Fuzz", "Key", "") != "value" &&
        ini.ReadString("Fuzz", "Key", "") == "value") {
        std::abort();
    }
    return 0;
}
