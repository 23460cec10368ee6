#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "skin/data/memory_stream.h"

namespace skin {

// The 16-byte package header.
struct TSkinHeader {
    int32_t Version = 0;
    int32_t DirLen = 0;
    int32_t U1 = 0;
    int32_t U2 = 0;
};

// The text shown when a package's header names no known format.
inline constexpr std::string_view kOlderSkinFileMessage =
    "This is Older Skin File\rPlease update to new version !";

// Why a package did not load.
enum class SkinReadError {
    None,
    OlderVersion,  // no header or a Version outside the known formats
    Damaged,       // a length or count that runs past the package, or too many entries
};

// Length of the opaque block after the header for a package format, or -1 when the format is
// unknown.
int opaque_block_length(int32_t version);

// Reads a decompressed package: directory of lower-cased names, size table and the body area.
class TSkinReader {
  public:
    static constexpr int kMaxEntries = 1001;

    // Decompresses all of source and takes the package apart. On failure nothing held so far
    // changes and LastError says why; the caller shows kOlderSkinFileMessage for OlderVersion.
    bool Loadfromstream(TMemoryStream* source);
    // The same over an already decompressed package.
    bool LoadPackage(std::vector<uint8_t> package);
    // The same over a decompressed package that stays where it is, unchanged, for as long as
    // this reader is used (a package built into the program): nothing is copied, and ms stays
    // empty.
    bool LoadPackageInPlace(std::span<const uint8_t> package);

    static bool Decompress(TStream* source, TStream* dest);

    // Copies the first entry named name (compared in lower case) into out, position 0. No
    // match, or an entry whose body lies outside the package, leaves out empty. A body that
    // runs past the end of the package is cut to the bytes there are.
    void readfile(std::string_view name, TMemoryStream* out) const;
    // As readfile for the first entry whose name contains pattern; its name goes to found.
    void readIni(std::string_view pattern, TMemoryStream* out, std::string& found) const;

    SkinReadError LastError() const { return last_error_; }

    std::vector<std::string> Dir;
    int32_t dirlen = 0;
    int32_t Num = 0;
    std::array<int32_t, kMaxEntries> sizes{};
    TMemoryStream ms;
    TSkinHeader header;
    TSkinHeader header2;

  private:
    // Reads header, directory and size table; body receives where the files begin. On failure
    // nothing held changes.
    bool ReadDirectory(std::span<const uint8_t> package, size_t& body);
    void copy_entry(int index, TMemoryStream* out) const;

    // The files' bytes of a package read in place; empty: they are those of ms.
    std::span<const uint8_t> in_place_;

    SkinReadError last_error_ = SkinReadError::None;
};

// One file of a package being written.
struct SkinPackageEntry {
    std::string name;
    std::vector<uint8_t> body;
};

// Lays out a package: header, a zero-filled opaque block of the format, the names each ended
// by CR LF, the size table and the bodies. Returns an empty vector for an unknown version or
// more than TSkinReader::kMaxEntries entries.
std::vector<uint8_t> build_skin_package(int32_t version,
                                        const std::vector<SkinPackageEntry>& entries);

}  // namespace skin
