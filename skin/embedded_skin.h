#pragma once

#include <cstdint>
#include <optional>
#include <span>

namespace skin {

// The skin the main form carries: its stored property as written with the form (an int32
// count N, then N bytes of compressed stream), built from the default skin's sources.
std::span<const uint8_t> embedded_skin_stream();
// The package that stream's compressed bytes decode to, decoded when the program was built
// (the build checks that the bytes decode to exactly this).
std::span<const uint8_t> embedded_skin_package();
// The built-in package when compressed holds exactly the compressed bytes of the embedded
// stream, else nothing: a skin read from the stored property or a file that is the built-in
// skin is taken apart without decoding it again.
std::optional<std::span<const uint8_t>> embedded_package_for(std::span<const uint8_t> compressed);

}  // namespace skin
