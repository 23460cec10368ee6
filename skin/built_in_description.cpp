#include "skin/built_in_description.h"

#include <string_view>

#include "skin/embedded_skin.h"

namespace skin {

BuiltInImages::BuiltInImages(std::span<const BuiltInImage> images) {
    const std::span<const EmbeddedImage> all = embedded_skin_images();
    maps_.reserve(images.size());
    for (const BuiltInImage& image : images) {
        gdi::Bitmap& out = maps_.emplace_back();
        if (image.pixels != nullptr) {
            out = gdi::Bitmap::view_of(image.width, image.height, image.pixels);
        } else {
            // By its place among the package's images, the name making sure; else by name.
            const EmbeddedImage* found = nullptr;
            if (image.index >= 0 && static_cast<size_t>(image.index) < all.size() &&
                std::string_view(all[static_cast<size_t>(image.index)].name) == image.name) {
                found = &all[static_cast<size_t>(image.index)];
            } else {
                found = find_embedded_image(image.name);
            }
            if (found == nullptr || found->width != image.width || found->height != image.height) {
                complete_ = false;
                continue;
            }
            out = gdi::Bitmap::view_of(found->width, found->height, found->pixels);
        }
        if (image.transparent || image.key != gdi::kMagenta) {
            out.set_transparent(image.transparent, image.key);
        }
    }
}

gdi::Bitmap BuiltInImages::operator()(int index) const {
    if (index < 0 || static_cast<size_t>(index) >= maps_.size()) {
        return {};
    }
    return maps_[static_cast<size_t>(index)];
}

}  // namespace skin
