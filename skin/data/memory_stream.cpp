#include "skin/data/memory_stream.h"

#include <algorithm>
#include <cstring>
#include <fstream>
#include <iterator>

namespace skin {

bool TStream::ReadInt32(int32_t& value) {
    if (Remaining() < 4) {
        return false;
    }
    uint8_t b[4];
    Read(b, 4);
    value = static_cast<int32_t>(static_cast<uint32_t>(b[0]) | (static_cast<uint32_t>(b[1]) << 8) |
                                 (static_cast<uint32_t>(b[2]) << 16) |
                                 (static_cast<uint32_t>(b[3]) << 24));
    return true;
}

void TStream::WriteInt32(int32_t value) {
    const auto u = static_cast<uint32_t>(value);
    const uint8_t b[4] = {static_cast<uint8_t>(u), static_cast<uint8_t>(u >> 8),
                          static_cast<uint8_t>(u >> 16), static_cast<uint8_t>(u >> 24)};
    Write(b, 4);
}

size_t TMemoryStream::Read(void* buffer, size_t count) {
    const size_t n = std::min(count, bytes_.size() - position_);
    if (n > 0) {
        std::memcpy(buffer, bytes_.data() + position_, n);
        position_ += n;
    }
    return n;
}

size_t TMemoryStream::Write(const void* buffer, size_t count) {
    if (count == 0) {
        return 0;
    }
    const auto* bytes = static_cast<const uint8_t*>(buffer);
    if (position_ == bytes_.size()) {
        // Appending: no zero-filling of what is about to be written.
        bytes_.insert(bytes_.end(), bytes, bytes + count);
    } else {
        if (position_ + count > bytes_.size()) {
            bytes_.resize(position_ + count);
        }
        std::memcpy(bytes_.data() + position_, bytes, count);
    }
    position_ += count;
    return count;
}

void TMemoryStream::ExpectWrite(size_t count) {
    if (position_ + count > bytes_.capacity()) {
        bytes_.reserve(position_ + count);
    }
}

void TMemoryStream::SetPosition(size_t position) {
    position_ = std::min(position, bytes_.size());
}

void TMemoryStream::Clear() {
    bytes_.clear();
    position_ = 0;
}

void TMemoryStream::SetSize(size_t size) {
    bytes_.resize(size);
    position_ = std::min(position_, size);
}

size_t TMemoryStream::CopyFrom(TStream& source, size_t count) {
    const size_t n = std::min(count, source.Remaining());
    const size_t at = bytes_.size();
    bytes_.resize(at + n);
    const size_t got = source.Read(bytes_.data() + at, n);
    bytes_.resize(at + got);
    return got;
}

bool TMemoryStream::LoadFromFile(const std::string& name) {
    std::ifstream in(name, std::ios::binary);
    if (!in) {
        return false;
    }
    std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(in)),
                               std::istreambuf_iterator<char>());
    if (in.bad()) {
        return false;
    }
    bytes_ = std::move(bytes);
    position_ = 0;
    return true;
}

bool TMemoryStream::SaveToFile(const std::string& name) const {
    std::ofstream out(name, std::ios::binary | std::ios::trunc);
    if (!out) {
        return false;
    }
    out.write(reinterpret_cast<const char*>(bytes_.data()),
              static_cast<std::streamsize>(bytes_.size()));
    return static_cast<bool>(out);
}

}  // namespace skin
