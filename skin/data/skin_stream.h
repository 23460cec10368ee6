#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "skin/data/memory_stream.h"

namespace skin {

// The compressed stream: an int32 length L of the package, then the LZHUF code bits.
//
// A damaged or hostile stream may claim any L. The decoder produces L bytes whatever the input
// (missing bits read as 0), so L is checked before anything is allocated: it must not exceed
// kMaxPackageSize (64 MiB, far above any real skin, which is a few hundred kilobytes) nor what
// the code bytes can possibly produce (a match of 60 bytes costs at least 10 bits, so no stream
// yields more than 48 bytes per code byte; 64 per byte plus 64 KiB leaves room for the zero
// bits read past the end of a cut stream).
inline constexpr size_t kMaxPackageSize = size_t{64} << 20;
size_t package_size_ceiling(size_t code_bytes);

// Codes all remaining bytes of source into dest as length plus code bits.
void CompressStream(TStream& source, TStream& dest);
// Sets both positions to 0, reads L and decodes L bytes into dest. False (dest untouched) when
// the length cannot be read or is negative or beyond the ceiling.
bool DecompressStream(TStream& source, TStream& dest);

std::vector<uint8_t> compress_bytes(std::span<const uint8_t> package);
std::optional<std::vector<uint8_t>> decompress_bytes(std::span<const uint8_t> stream);

// The stored property: an int32 count N, then N bytes of compressed stream.
enum class SkinStreamRead {
    NoSkin,   // N <= 0: the component holds no skin
    Loaded,   // data holds the N bytes
    Damaged,  // N runs past the bytes there are; nothing is taken
};
SkinStreamRead ReadSkinStream(TStream& in, TMemoryStream& data);
// Writes N and, only when N > 0, the N bytes of data.
void WriteSkinStream(TStream& out, const TMemoryStream& data);

std::vector<uint8_t> wrap_skin_stream(std::span<const uint8_t> compressed);

}  // namespace skin
