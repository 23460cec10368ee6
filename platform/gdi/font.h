#pragma once

#include <string>

namespace gdi {

// Font weights as Windows numbers them.
constexpr int FW_NORMAL = 400;
constexpr int FW_BOLD = 700;

// A logical font: what a control asks for. The text engine maps the face name onto the faces
// it has (one Latin face and one CJK face), so "MS Sans Serif", "Tahoma" and "宋体" all work.
struct Font {
    std::string face = "MS Sans Serif";
    // Windows height: negative = character height in pixels (em size), positive = cell height
    // (ascent + descent), 0 = the default size.
    int height = -11;
    int weight = FW_NORMAL;
    bool italic = false;
    bool underline = false;
    bool strike_out = false;

    // A font of `points` points at 96 dpi (Height = -points * 96 / 72, rounded).
    static Font from_points(std::string face, int points, int weight = FW_NORMAL);

    bool bold() const { return weight >= 600; }
    friend bool operator==(const Font&, const Font&) = default;
};

// Metrics of a font as selected into a DC, in pixels.
struct TextMetrics {
    int height = 0;  // ascent + descent
    int ascent = 0;
    int descent = 0;
    int internal_leading = 0;
    int external_leading = 0;
    int ave_char_width = 0;
    int max_char_width = 0;
};

}  // namespace gdi
