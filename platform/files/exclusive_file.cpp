#include "platform/files/exclusive_file.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <utility>

namespace files {

ExclusiveFile::~ExclusiveFile() {
    close();
}

ExclusiveFile::ExclusiveFile(ExclusiveFile&& other) noexcept
    : fd_(std::exchange(other.fd_, -1)), error_(other.error_) {}

ExclusiveFile& ExclusiveFile::operator=(ExclusiveFile&& other) noexcept {
    if (this != &other) {
        close();
        fd_ = std::exchange(other.fd_, -1);
        error_ = other.error_;
    }
    return *this;
}

ExclusiveFile ExclusiveFile::open(const std::filesystem::path& path, Disposition disposition) {
    const auto fail = [](int error) {
        ExclusiveFile f;
        f.error_ = error;
        return f;
    };
    // Never O_TRUNC here: the file is emptied only once the lock shows nobody else holds it.
    int flags = O_RDWR | O_CLOEXEC | O_NOCTTY | O_NONBLOCK;  // a FIFO must not block the open
    if (disposition == Disposition::CreateAlways) {
        flags |= O_CREAT;
    }
    const int fd = ::open(path.c_str(), flags, 0644);
    if (fd < 0) {
        return fail(errno);
    }
    struct stat st {};
    if (fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        const int error = errno != 0 ? errno : EISDIR;
        ::close(fd);
        return fail(error);
    }
    if ((st.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0) {
        ::close(fd);
        return fail(EACCES);  // read-only
    }
    if (flock(fd, LOCK_EX | LOCK_NB) != 0) {
        const int error = errno;
        ::close(fd);
        return fail(error);
    }
    if (disposition == Disposition::CreateAlways && ftruncate(fd, 0) != 0) {
        const int error = errno;
        ::close(fd);
        return fail(error);
    }
    return ExclusiveFile(fd);
}

bool ExclusiveFile::seek(int64_t offset) {
    return valid() && offset >= 0 && lseek(fd_, offset, SEEK_SET) == offset;
}

size_t ExclusiveFile::read(void* buffer, size_t n) {
    if (!valid()) {
        return 0;
    }
    size_t done = 0;
    auto* out = static_cast<char*>(buffer);
    while (done < n) {
        const ssize_t r = ::read(fd_, out + done, n - done);
        if (r < 0 && errno == EINTR) {
            continue;
        }
        if (r <= 0) {
            break;
        }
        done += static_cast<size_t>(r);
    }
    return done;
}

size_t ExclusiveFile::write(const void* data, size_t n) {
    if (!valid()) {
        return 0;
    }
    size_t done = 0;
    const auto* in = static_cast<const char*>(data);
    while (done < n) {
        const ssize_t r = ::write(fd_, in + done, n - done);
        if (r < 0 && errno == EINTR) {
            continue;
        }
        if (r <= 0) {
            break;
        }
        done += static_cast<size_t>(r);
    }
    return done;
}

int64_t ExclusiveFile::size() const {
    struct stat st {};
    if (!valid() || fstat(fd_, &st) != 0) {
        return -1;
    }
    return st.st_size;
}

void ExclusiveFile::close() {
    if (fd_ >= 0) {
        ::close(fd_);  // releases the lock with the last descriptor of this open
        fd_ = -1;
    }
}

}  // namespace files
