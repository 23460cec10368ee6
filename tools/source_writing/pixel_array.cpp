#include "tools/source_writing/pixel_array.h"

#include <cstdio>

namespace tools {

void AppendPixelArray(std::string& source, const std::string& name, const gdi::Bitmap& bitmap) {
    source += "alignas(16) const uint32_t " + name + "[] = {\n";
    char word[16];
    const size_t n = static_cast<size_t>(bitmap.width()) * static_cast<size_t>(bitmap.height());
    for (size_t i = 0; i < n; ++i) {
        std::snprintf(word, sizeof word, "0x%08X,", bitmap.data()[i]);
        source += word;
        if (i % 12 == 11) {
            source += '\n';
        }
    }
    source += "\n};\n\n";
}

}  // namespace tools
