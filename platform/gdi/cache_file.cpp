#include "platform/gdi/cache_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

namespace gdi {

namespace {

struct FileCloser {
    int fd;
    ~FileCloser() { ::close(fd); }
};

}  // namespace

std::optional<std::string> read_cache_file(const std::string& path, size_t max_bytes) {
    if (path.empty())
        return std::nullopt;
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (fd < 0)
        return std::nullopt;
    const FileCloser closer{fd};
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode) || st.st_size <= 0 ||
        static_cast<unsigned long long>(st.st_size) > max_bytes)
        return std::nullopt;
    std::string bytes(static_cast<size_t>(st.st_size), '\0');
    size_t got = 0;
    while (got < bytes.size()) {
        const ssize_t n = ::read(fd, bytes.data() + got, bytes.size() - got);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return std::nullopt;  // cut short while being read, or unreadable
        got += static_cast<size_t>(n);
    }
    return bytes;
}

}  // namespace gdi
