#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/gdi/font_face_files.h"

namespace gdi {

// What fontconfig answered at one start, with what it depended on: the face files themselves
// and the configuration and font directories whose change can change the answer (a font
// installed or removed, a configuration edited), each with its modification time and size as
// stat gave them. At the next start the answer holds while every one of them stats the same;
// a few stat calls instead of reading fontconfig's configuration.
struct FaceCache {
    struct Stamp {
        std::string path;
        int64_t mtime_ns = -1;  // -1: the path did not exist
        int64_t size = -1;
        bool operator==(const Stamp&) const = default;
    };
    // The environment that steers fontconfig (FONTCONFIG_FILE, ...): name=value lines.
    std::vector<std::string> environment;
    std::vector<Stamp> watched;  // configuration and font directories
    FaceFiles faces;
    std::vector<Stamp> face_stamps;  // one per distinct face file
    bool operator==(const FaceCache&) const = default;
};

// The cache file: $VELMOR_FONT_CACHE when set (empty: no cache), else
// $XDG_CACHE_HOME/velmor/font-faces, else ~/.cache/velmor/font-faces; empty when there is no
// home to put it in.
std::string default_face_cache_path();

// The stat of a path now (mtime -1 when it does not exist).
FaceCache::Stamp stamp_of(const std::string& path);

// The environment and the watched paths as they are now, with the given faces.
FaceCache describe_faces(const FaceFiles& faces);

// Whether a remembered answer still holds: same environment, same watched paths, and the
// same stat of every face file.
bool still_current(const FaceCache& cache);

// The cache file's text, and back. Parsing takes any bytes: anything malformed (a damaged or
// foreign file, another version) gives nullopt, and the caller asks fontconfig.
std::string format_face_cache(const FaceCache& cache);
std::optional<FaceCache> parse_face_cache(std::string_view text);

// Reads and writes the file. Writing goes through a temporary file and a rename, so a reader
// never sees half a file; failures are silent (the cache only saves time).
std::optional<FaceCache> read_face_cache(const std::string& path);
void write_face_cache(const std::string& path, const FaceCache& cache);

// resolve_face_files (font_face_files.h) with the stamps of the face files it answers with,
// as they stand now (the text engine's glyph cache is valid for exactly these).
FaceCache resolve_face_cache(const std::string& cache_path, bool* from_cache = nullptr);

}  // namespace gdi
