#include "skin/data/skin_reader.h"

#include <algorithm>
#include <cstring>

#include "skin/data/ansi_text.h"
#include "skin/data/skin_stream.h"

namespace skin {

int opaque_block_length(int32_t version) {
    switch (version) {
        case 20000:
            return 0;
        case 30000:
            return 256;
        case 40000:
            return 80;
        case 50000:
            return 48;
        case 60000:
            return 117;
        case 70000:
            return 69;
        default:
            return -1;
    }
}

bool TSkinReader::Decompress(TStream* source, TStream* dest) {
    return DecompressStream(*source, *dest);
}

bool TSkinReader::Loadfromstream(TMemoryStream* source) {
    TMemoryStream package;
    if (source == nullptr || !Decompress(source, &package)) {
        last_error_ = SkinReadError::Damaged;
        return false;
    }
    return LoadPackage(std::move(package.Bytes()));
}

namespace {

int32_t int32_at(std::span<const uint8_t> b, size_t at) {
    return static_cast<int32_t>(
        static_cast<uint32_t>(b[at]) | (static_cast<uint32_t>(b[at + 1]) << 8) |
        (static_cast<uint32_t>(b[at + 2]) << 16) | (static_cast<uint32_t>(b[at + 3]) << 24));
}

}  // namespace

bool TSkinReader::LoadPackage(std::vector<uint8_t> package) {
    size_t body = 0;
    if (!ReadDirectory(package, body)) {
        return false;
    }
    package.erase(package.begin(), package.begin() + static_cast<std::ptrdiff_t>(body));
    ms = TMemoryStream(std::move(package));
    in_place_ = {};
    return true;
}

bool TSkinReader::LoadPackageInPlace(std::span<const uint8_t> package) {
    size_t body = 0;
    if (!ReadDirectory(package, body)) {
        return false;
    }
    ms.Clear();
    in_place_ = package.subspan(body);
    return true;
}

bool TSkinReader::ReadDirectory(std::span<const uint8_t> package, size_t& body) {
    if (package.size() < 16) {
        last_error_ = SkinReadError::OlderVersion;
        return false;
    }
    TSkinHeader h;
    h.Version = int32_at(package, 0);
    h.DirLen = int32_at(package, 4);
    h.U1 = int32_at(package, 8);
    h.U2 = int32_at(package, 12);
    const int opaque = opaque_block_length(h.Version);
    if (opaque < 0) {
        last_error_ = SkinReadError::OlderVersion;
        return false;
    }
    // Every length is checked against what is there before it is used.
    size_t at = 16 + static_cast<size_t>(opaque);
    if (at > package.size() || h.DirLen < 0 ||
        static_cast<size_t>(h.DirLen) > package.size() - at) {
        last_error_ = SkinReadError::Damaged;
        return false;
    }
    const std::string_view text(reinterpret_cast<const char*>(package.data() + at),
                                static_cast<size_t>(h.DirLen));
    std::vector<std::string> names = split_lines(ansi_lower(text));
    at += static_cast<size_t>(h.DirLen);
    if (names.size() > static_cast<size_t>(kMaxEntries) || names.size() * 4 > package.size() - at) {
        last_error_ = SkinReadError::Damaged;
        return false;
    }
    std::array<int32_t, kMaxEntries> table{};
    for (size_t i = 0; i < names.size(); ++i) {
        table[i] = int32_at(package, at + 4 * i);
        if (table[i] < 0) {
            last_error_ = SkinReadError::Damaged;
            return false;
        }
    }
    at += names.size() * 4;

    header = h;
    dirlen = h.DirLen;
    Num = static_cast<int32_t>(names.size());
    Dir = std::move(names);
    sizes = table;
    body = at;
    last_error_ = SkinReadError::None;
    return true;
}

void TSkinReader::copy_entry(int index, TMemoryStream* out) const {
    uint64_t offset = 0;
    for (int i = 0; i < index; ++i) {
        offset += static_cast<uint32_t>(sizes[static_cast<size_t>(i)]);
    }
    const std::span<const uint8_t> body = in_place_.empty() ? ms.View() : in_place_;
    const uint64_t total = body.size();
    if (offset >= total) {
        return;
    }
    const uint64_t n = std::min<uint64_t>(static_cast<uint32_t>(sizes[static_cast<size_t>(index)]),
                                          total - offset);
    const auto begin = body.begin() + static_cast<std::ptrdiff_t>(offset);
    out->Bytes().assign(begin, begin + static_cast<std::ptrdiff_t>(n));
    out->SetPosition(0);
}

void TSkinReader::readfile(std::string_view name, TMemoryStream* out) const {
    out->Clear();
    const std::string wanted = ansi_lower(name);
    for (int i = 0; i < Num; ++i) {
        if (Dir[static_cast<size_t>(i)] == wanted) {
            copy_entry(i, out);
            return;
        }
    }
}

void TSkinReader::readIni(std::string_view pattern, TMemoryStream* out, std::string& found) const {
    out->Clear();
    found.clear();
    for (int i = 0; i < Num; ++i) {
        if (Dir[static_cast<size_t>(i)].find(pattern) != std::string::npos) {
            found = Dir[static_cast<size_t>(i)];
            copy_entry(i, out);
            return;
        }
    }
}

std::vector<uint8_t> build_skin_package(int32_t version,
                                        const std::vector<SkinPackageEntry>& entries) {
    const int opaque = opaque_block_length(version);
    if (opaque < 0 || entries.size() > static_cast<size_t>(TSkinReader::kMaxEntries)) {
        return {};
    }
    std::string dir;
    for (const SkinPackageEntry& e : entries) {
        dir += e.name;
        dir += "\r\n";
    }
    TMemoryStream out;
    out.WriteInt32(version);
    out.WriteInt32(static_cast<int32_t>(dir.size()));
    out.WriteInt32(0);
    out.WriteInt32(0);
    const std::vector<uint8_t> zeros(static_cast<size_t>(opaque), 0);
    out.Write(zeros.data(), zeros.size());
    out.Write(dir.data(), dir.size());
    for (const SkinPackageEntry& e : entries) {
        out.WriteInt32(static_cast<int32_t>(e.body.size()));
    }
    for (const SkinPackageEntry& e : entries) {
        out.Write(e.body.data(), e.body.size());
    }
    return std::move(out.Bytes());
}

}  // namespace skin
