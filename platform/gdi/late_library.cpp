#include "platform/gdi/late_library.h"

#include <dlfcn.h>
#include <link.h>
#include <sys/stat.h>

#include <cstdlib>

namespace gdi {

bool LateLibrary::load() {
    // Its own symbols first (RTLD_LOCAL): the program's names never stand in for the library's.
    handle_ = dlopen(soname_.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!handle_) {
        const char* why = dlerror();
        error_ = "cannot load " + soname_ + (why ? std::string(": ") + why : std::string());
        return false;
    }
    return true;
}

bool LateLibrary::is_open() const {
    return bound_;
}

void* LateLibrary::symbol(const char* name) {
    return handle_ ? dlsym(handle_, name) : nullptr;
}

std::string LateLibrary::file() const {
    link_map* map = nullptr;
    if (!handle_ || dlinfo(handle_, RTLD_DI_LINKMAP, &map) != 0 || !map || !map->l_name)
        return {};
    return map->l_name;
}

std::string LateLibrary::file_in_library_path() const {
    const char* paths = std::getenv("LD_LIBRARY_PATH");
    if (!paths)
        return {};
    // Directories separated by ':' or ';'; an empty one is the working directory.
    const std::string list = paths;
    for (size_t at = 0; at <= list.size();) {
        size_t end = list.find_first_of(":;", at);
        if (end == std::string::npos)
            end = list.size();
        std::string dir = end > at ? list.substr(at, end - at) : ".";
        while (dir.size() > 1 && dir.back() == '/')
            dir.pop_back();  // as the loader names the file it finds
        const std::string file = dir + '/' + soname_;
        struct stat st;
        if (::stat(file.c_str(), &st) == 0 && S_ISREG(st.st_mode))
            return file;
        at = end + 1;
    }
    return {};
}

}  // namespace gdi
