// Where a rendered glyph has ink, worked out once when the glyph is rendered or read from the
// glyph cache, so that drawing it visits only inked pixels.
#include <algorithm>

#include "platform/gdi/font_engine.h"

namespace gdi {

void Glyph::find_ink() {
    const size_t rows = static_cast<size_t>(std::max(height, 0));
    ink.assign(rows, Ink{});
    inked.clear();
    row_inked.assign(rows + 1, 0);
    if (width <= 0 || width > 0xFFFF || coverage.size() != rows * static_cast<size_t>(width)) {
        return;
    }
    for (size_t y = 0; y < rows; ++y) {
        const uint8_t* row = coverage.data() + y * static_cast<size_t>(width);
        int first = 0;
        int end = width;
        while (first < end && row[first] == 0)
            ++first;
        while (end > first && row[end - 1] == 0)
            --end;
        ink[y] = {static_cast<uint16_t>(first), static_cast<uint16_t>(end)};
        for (int x = first; x < end; ++x) {
            if (row[x] != 0)
                inked.push_back(static_cast<uint32_t>(x) | (uint32_t{row[x]} << kCoverageShift));
        }
        row_inked[y + 1] = static_cast<uint32_t>(inked.size());
    }
}

}  // namespace gdi
