#include "platform/gdi/cache_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <fstream>

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

void write_cache_file(const std::string& path, const std::string& bytes) {
    if (path.empty())
        return;
    std::error_code ec;
    const std::filesystem::path target(path);
    if (target.has_parent_path())
        std::filesystem::create_directories(target.parent_path(), ec);
    const std::string temp = path + "." + std::to_string(::getpid()) + ".tmp";
    {
        std::ofstream out(temp, std::ios::binary | std::ios::trunc);
        if (!out)
            return;
        out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        out.flush();
        if (!out) {
            out.close();
            std::remove(temp.c_str());
            return;
        }
    }
    if (std::rename(temp.c_str(), path.c_str()) != 0)
        std::remove(temp.c_str());
}

}  // namespace gdi
