#include "skin/embedded_skin.h"

#include <algorithm>

#include "skin/data/ansi_text.h"

namespace skin {

std::optional<std::span<const uint8_t>> embedded_package_for(std::span<const uint8_t> compressed) {
    const std::span<const uint8_t> stored = embedded_skin_stream();
    if (stored.size() < 4) {
        return std::nullopt;
    }
    // Every byte is compared: a skin that differs anywhere, or is cut short, is decoded as it
    // stands.
    const std::span<const uint8_t> ours = stored.subspan(4);
    if (compressed.size() != ours.size() ||
        !std::equal(compressed.begin(), compressed.end(), ours.begin())) {
        return std::nullopt;
    }
    return embedded_skin_package();
}

const EmbeddedImage* find_embedded_image(std::string_view name) {
    for (const EmbeddedImage& image : embedded_skin_images()) {
        if (ansi_same_text(image.name, name)) {
            return &image;
        }
    }
    return nullptr;
}

}  // namespace skin
