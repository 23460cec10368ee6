#include "skin/data/skin_stream.h"

#include <algorithm>

#include "skin/data/lzh.h"

namespace skin {

size_t package_size_ceiling(size_t code_bytes) {
    const size_t by_input =
        code_bytes > (kMaxPackageSize / 64) ? kMaxPackageSize : code_bytes * 64 + 65536;
    return std::min(kMaxPackageSize, by_input);
}

void CompressStream(TStream& source, TStream& dest) {
    dest.WriteInt32(static_cast<int32_t>(source.Remaining()));
    TLZH lzh;
    lzh.StreamIn = &source;
    lzh.StreamOut = &dest;
    int32_t consumed = 0;
    lzh.LZHPack(
        consumed,
        [&](const uint8_t* b, uint16_t n, uint16_t& done) { lzh.PutBlockStream(b, n, done); },
        [&](uint8_t* b, uint16_t n, uint16_t& done) { lzh.GetBlockStream(b, n, done); });
}

bool DecompressStream(TStream& source, TStream& dest) {
    source.SetPosition(0);
    int32_t length = 0;
    if (!source.ReadInt32(length) || length < 0 ||
        static_cast<size_t>(length) > package_size_ceiling(source.Remaining())) {
        return false;
    }
    dest.SetPosition(0);
    dest.ExpectWrite(static_cast<size_t>(length));
    TLZH lzh;
    lzh.StreamIn = &source;
    lzh.StreamOut = &dest;
    lzh.LZHUnpack(
        length,
        [&](const uint8_t* b, uint16_t n, uint16_t& done) { lzh.PutBlockStream(b, n, done); },
        [&](uint8_t* b, uint16_t n, uint16_t& done) { lzh.GetBlockStream(b, n, done); });
    return true;
}

std::vector<uint8_t> compress_bytes(std::span<const uint8_t> package) {
    TMemoryStream in(std::vector<uint8_t>(package.begin(), package.end()));
    TMemoryStream out;
    CompressStream(in, out);
    return std::move(out.Bytes());
}

std::optional<std::vector<uint8_t>> decompress_bytes(std::span<const uint8_t> stream) {
    TMemoryStream in(std::vector<uint8_t>(stream.begin(), stream.end()));
    TMemoryStream out;
    if (!DecompressStream(in, out)) {
        return std::nullopt;
    }
    return std::move(out.Bytes());
}

SkinStreamRead ReadSkinStream(TStream& in, TMemoryStream& data) {
    int32_t n = 0;
    if (!in.ReadInt32(n) || n <= 0) {
        return SkinStreamRead::NoSkin;
    }
    if (static_cast<size_t>(n) > in.Remaining()) {
        return SkinStreamRead::Damaged;
    }
    data.Clear();
    data.CopyFrom(in, static_cast<size_t>(n));
    data.SetPosition(0);
    return SkinStreamRead::Loaded;
}

void WriteSkinStream(TStream& out, const TMemoryStream& data) {
    const auto n = static_cast<int32_t>(data.Size());
    out.WriteInt32(n);
    if (n > 0) {
        out.Write(data.Bytes().data(), data.Size());
    }
}

std::vector<uint8_t> wrap_skin_stream(std::span<const uint8_t> compressed) {
    TMemoryStream out;
    TMemoryStream data(std::vector<uint8_t>(compressed.begin(), compressed.end()));
    WriteSkinStream(out, data);
    return std::move(out.Bytes());
}

}  // namespace skin
