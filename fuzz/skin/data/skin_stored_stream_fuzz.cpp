// The stored property and the compressed stream inside it, as the form reader meets them.
#include <cstdint>
#include <cstdlib>

#include "skin/data/skin_reader.h"
#include "skin/data/skin_stream.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    skin::TMemoryStream stored(std::vector<uint8_t>(data, data + size));
    skin::TMemoryStream compressed;
    if (skin::ReadSkinStream(stored, compressed) != skin::SkinStreamRead::Loaded) {
        return 0;
    }
    if (compressed.Size() > size) {
        std::abort();
    }
    skin::TSkinReader reader;
    reader.Loadfromstream(&compressed);
    return 0;
}
