// Captions come from skins, settings and devices: arbitrary bytes through DrawText with any
// flags and rectangle. The first bytes choose the flags and the rectangle, the rest is text.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "platform/gdi/dc.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 6) {
        return 0;
    }
    static gdi::Bitmap bitmap(64, 32);
    static gdi::DC dc(bitmap);
    const unsigned flags = (data[0] | (data[1] << 8)) & 0x9FFF;
    const int w = static_cast<int8_t>(data[2]);
    const int h = static_cast<int8_t>(data[3]);
    const int x = static_cast<int8_t>(data[4]) / 2;
    dc.select_font(gdi::Font{data[5] & 1 ? "宋体" : "MS Sans Serif", -(8 + data[5] % 16)});
    dc.set_bk_mode(data[5] & 0x80 ? gdi::BkMode::Opaque : gdi::BkMode::Transparent);
    const std::string_view text(reinterpret_cast<const char*>(data + 6), size - 6);
    gdi::Rect r{x, x / 2, x + w, x / 2 + h};
    const int height = dc.draw_text(text, r, flags);
    if (height < 0)
        __builtin_trap();
    if ((flags & gdi::DT_CALCRECT) && (r.right < r.left || r.bottom < r.top))
        __builtin_trap();
    dc.text_out(x, h, text);
    return 0;
}
