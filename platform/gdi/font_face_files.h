#pragma once

#include <optional>
#include <string>

namespace gdi {

// One face in a font file: the file, the face's index in it, and its family name.
struct FaceFile {
    std::string path;
    int index = 0;
    std::string family;
    bool operator==(const FaceFile&) const = default;
};

// The files the text engine draws with: [kind][style], kind 0 Latin, 1 CJK; style bit 0 bold,
// bit 1 italic. Every slot is filled (one face stands in for a missing one) or none is.
struct FaceFiles {
    std::optional<FaceFile> files[2][4];
    bool complete() const;
    bool operator==(const FaceFiles&) const = default;
};

// Asks fontconfig for the faces: Liberation Sans (DejaVu Sans where it is missing, then any
// sans-serif) and WenQuanYi Micro Hei (then any face for Chinese). Slots stay empty only when
// no font at all is found. Reads fontconfig's configuration, some forty files; the caller
// remembers the answer (font_face_cache.h).
FaceFiles find_face_files();

// The faces to draw with: those remembered in the cache file at `cache_path` while none of
// the files they depend on has changed, else fontconfig's answer, which is then remembered
// there. An empty path asks fontconfig every time. `from_cache`, when given, tells which.
FaceFiles resolve_face_files(const std::string& cache_path, bool* from_cache = nullptr);

}  // namespace gdi
