// The tool that makes the built-in skin's tables runs the program's skin reading before those
// tables exist: here the program carries no built-in skin, and every skin is read the long way.
#include "skin/built_in_description.h"
#include "skin/embedded_skin.h"

namespace skin {

std::span<const uint8_t> embedded_skin_stream() {
    return {};
}

std::span<const uint8_t> embedded_skin_package() {
    return {};
}

std::span<const EmbeddedImage> embedded_skin_images() {
    return {};
}

bool read_built_in_description(TSkinDataCore& /*skin*/) {
    return false;
}

}  // namespace skin
