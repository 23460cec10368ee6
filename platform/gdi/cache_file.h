#pragma once

#include <cstddef>
#include <optional>
#include <string>

namespace gdi {

// The whole content of a cache file the font engine keeps between runs, or nothing when the
// path names no regular file, the file is larger than max_bytes, or it cannot be read whole.
// The file is opened without waiting, so a named pipe or a device put where a cache belongs
// is refused instead of holding the program's start.
std::optional<std::string> read_cache_file(const std::string& path, size_t max_bytes);

// Replaces the cache file at path by bytes: written beside it under a name of this process and
// renamed over it, so a reader never sees half a file and two programs starting at once each
// leave a whole one. The folder is made when missing; a failure leaves no file behind.
void write_cache_file(const std::string& path, const std::string& bytes);

}  // namespace gdi
