#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

namespace skin {

// The skin the main form carries: its stored property as written with the form (an int32
// count N, then N bytes of compressed stream), built from the default skin's sources.
std::span<const uint8_t> embedded_skin_stream();
// The package that stream's compressed bytes decode to, decoded when the program was built
// (the build checks that the bytes decode to exactly this).
std::span<const uint8_t> embedded_skin_package();

// One image of that package as the BMP reader gives it, read when the program was built.
struct EmbeddedImage {
    const char* name;  // the package entry's name, lower-cased
    int width;
    int height;
    const uint32_t* pixels;  // width x height, rows top-down
};
// Every image of the built-in package, in package order.
std::span<const EmbeddedImage> embedded_skin_images();
// The image of the built-in package named name (compared in lower case), or nullptr.
const EmbeddedImage* find_embedded_image(std::string_view name);
// The built-in package when compressed holds exactly the compressed bytes of the embedded
// stream, else nothing: a skin read from the stored property or a file that is the built-in
// skin is taken apart without decoding it again.
std::optional<std::span<const uint8_t>> embedded_package_for(std::span<const uint8_t> compressed);

}  // namespace skin
