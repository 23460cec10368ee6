#include "platform/gdi/late_library.h"

#include <dlfcn.h>
#include <link.h>

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

}  // namespace gdi
