#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace skin {

// A byte stream with a position, the shape the skin readers and writers are written against.
class TStream {
  public:
    virtual ~TStream() = default;

    // Reads up to count bytes at the position; returns how many were read.
    virtual size_t Read(void* buffer, size_t count) = 0;
    // Writes count bytes at the position, growing the stream as needed; returns count.
    virtual size_t Write(const void* buffer, size_t count) = 0;
    virtual size_t Size() const = 0;
    virtual size_t Position() const = 0;
    // Moves the position; a position past the end is clamped to the end.
    virtual void SetPosition(size_t position) = 0;
    // Says that about count bytes are about to be written at the position, so that a stream
    // that can make room ahead does it once; nothing else changes.
    virtual void ExpectWrite(size_t count) { (void)count; }

    size_t Remaining() const { return Size() - Position(); }
    // Reads a little-endian int32; false when fewer than 4 bytes are left (nothing is consumed).
    bool ReadInt32(int32_t& value);
    void WriteInt32(int32_t value);
};

// A stream over a growable block of memory.
class TMemoryStream : public TStream {
  public:
    TMemoryStream() = default;
    explicit TMemoryStream(std::vector<uint8_t> bytes) : bytes_(std::move(bytes)) {}

    size_t Read(void* buffer, size_t count) override;
    size_t Write(const void* buffer, size_t count) override;
    size_t Size() const override { return bytes_.size(); }
    size_t Position() const override { return position_; }
    void SetPosition(size_t position) override;
    void ExpectWrite(size_t count) override;

    void Clear();
    // Resizes the block; new bytes are zero. The position is clamped to the new size.
    void SetSize(size_t size);
    // Appends count bytes of source from its position (all remaining bytes when count is
    // larger than what is left); returns the number copied.
    size_t CopyFrom(TStream& source, size_t count);

    // Whole file in or out; false when the file cannot be opened or read.
    bool LoadFromFile(const std::string& name);
    bool SaveToFile(const std::string& name) const;

    const std::vector<uint8_t>& Bytes() const { return bytes_; }
    std::vector<uint8_t>& Bytes() { return bytes_; }
    std::span<const uint8_t> View() const { return bytes_; }

  private:
    std::vector<uint8_t> bytes_;
    size_t position_ = 0;
};

}  // namespace skin
