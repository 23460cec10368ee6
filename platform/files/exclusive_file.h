#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>

namespace files {

// How an open treats a file that exists or not, as the system's file interface does.
enum class Disposition {
    OpenExisting,  // fails when the file does not exist
    CreateAlways,  // creates the file, or empties an existing one once it is held
};

// A file opened for reading and writing without sharing: while one holder has it open, every
// other open of it, in this process or another, fails at once (an advisory lock taken without
// waiting). A file that may only be read (no write permission bit set) fails to open, also for
// a privileged user, as a read-only file does on the system this console was made for.
// CreateAlways takes the lock before it empties the file, so a file held by another holder or a
// read-only one is never truncated. Move-only; closing releases the lock.
class ExclusiveFile {
  public:
    ExclusiveFile() = default;
    ~ExclusiveFile();
    ExclusiveFile(ExclusiveFile&& other) noexcept;
    ExclusiveFile& operator=(ExclusiveFile&& other) noexcept;
    ExclusiveFile(const ExclusiveFile&) = delete;
    ExclusiveFile& operator=(const ExclusiveFile&) = delete;

    // An invalid file when the open fails; error() then says why (an errno value).
    static ExclusiveFile open(const std::filesystem::path& path, Disposition disposition);

    bool valid() const { return fd_ >= 0; }
    int error() const { return error_; }

    // Moves to an offset from the start of the file.
    bool seek(int64_t offset);
    // Reads up to n bytes at the current position; returns how many were read (fewer at the
    // end of the file, 0 on error).
    size_t read(void* buffer, size_t n);
    // Writes n bytes at the current position; returns how many were written.
    size_t write(const void* data, size_t n);
    // The current length of the file, or -1.
    int64_t size() const;
    void close();

  private:
    explicit ExclusiveFile(int fd) : fd_(fd) {}

    int fd_ = -1;
    int error_ = 0;
};

}  // namespace files
