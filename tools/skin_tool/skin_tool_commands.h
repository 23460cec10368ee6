#pragma once

#include <cstdint>
#include <optional>
#include <ostream>
#include <span>
#include <string>
#include <vector>

#include "skin/data/skin_reader.h"

namespace skin_tool {

// A package opened for the tool: its compressed stream and the reader over it.
struct OpenedPackage {
    std::vector<uint8_t> compressed;
    skin::TSkinReader reader;
};

// Opens a skin file (a compressed stream), or the embedded default skin when path is empty.
// On failure returns nothing and writes a one-line reason to err.
std::optional<OpenedPackage> open_package(const std::string& path, std::ostream& err);

// The commands; each returns the process exit code.
int list(const std::string& package, std::ostream& out, std::ostream& err);
int unpack(const std::string& dir, const std::string& package, std::ostream& out,
           std::ostream& err);
int pack(const std::string& dir, const std::string& package, std::ostream& out, std::ostream& err);
int sheet(const std::string& png, const std::string& package, std::ostream& out, std::ostream& err);

// Whether a directory entry name can be written as a file inside the output directory: not
// empty, no directory parts, not "." or "..".
bool safe_entry_name(const std::string& name);

// The entries of a directory as pack lays them out: the description (the first ".ini" file by
// name) first, then every other regular file by name; names lower-cased.
std::vector<skin::SkinPackageEntry> read_entries(const std::string& dir, std::ostream& err,
                                                 bool& ok);

}  // namespace skin_tool
