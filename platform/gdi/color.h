#pragma once

#include <cstdint>

namespace gdi {

// A colour as Windows stores it (COLORREF): 0x00BBGGRR. Skin descriptions, system colours and
// the controls' Color properties all speak this form.
using Color = uint32_t;

constexpr Color rgb(uint8_t r, uint8_t g, uint8_t b) {
    return static_cast<Color>(r) | (static_cast<Color>(g) << 8) | (static_cast<Color>(b) << 16);
}
constexpr uint8_t red_of(Color c) {
    return static_cast<uint8_t>(c & 0xFF);
}
constexpr uint8_t green_of(Color c) {
    return static_cast<uint8_t>((c >> 8) & 0xFF);
}
constexpr uint8_t blue_of(Color c) {
    return static_cast<uint8_t>((c >> 16) & 0xFF);
}

// A pixel as a 32-bit bitmap holds it in memory: 0xAARRGGBB (bytes B, G, R, A), the layout of
// a 32-bit device-independent bitmap and of an X11 TrueColor image.
using Pixel = uint32_t;

constexpr Pixel pixel_of(Color c) {
    return 0xFF000000u | (static_cast<Pixel>(red_of(c)) << 16) |
           (static_cast<Pixel>(green_of(c)) << 8) | blue_of(c);
}
constexpr Color color_of(Pixel p) {
    return rgb(static_cast<uint8_t>((p >> 16) & 0xFF), static_cast<uint8_t>((p >> 8) & 0xFF),
               static_cast<uint8_t>(p & 0xFF));
}

// The colour key of transparent copies.
constexpr Color kMagenta = rgb(255, 0, 255);

}  // namespace gdi
