// A decompressed package of any bytes: refused, or every entry reads inside the package.
#include <cstdint>
#include <cstdlib>

#include "skin/data/skin_reader.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    skin::TSkinReader reader;
    if (!reader.LoadPackage(std::vector<uint8_t>(data, data + size))) {
        return 0;
    }
    if (reader.Num > skin::TSkinReader::kMaxEntries ||
        static_cast<size_t>(reader.Num) != reader.Dir.size()) {
        std::abort();
    }
    for (const std::string& name : reader.Dir) {
        skin::TMemoryStream body;
        reader.readfile(name, &body);
        if (body.Size() > reader.ms.Size()) {
            std::abort();
        }
    }
    skin::TMemoryStream ini;
    std::string found;
    reader.readIni(".ini", &ini, found);
    return 0;
}
