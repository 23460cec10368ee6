#pragma once

#include <atomic>
#include <mutex>
#include <string>

namespace gdi {

// A shared library the program opens at its first use instead of at every start. FreeType,
// fontconfig and libpng (with zlib, brotli and expat behind them) are needed only when a glyph
// is rendered, the font faces are looked for or a PNG file is written or read; a warm start
// needs none of them, and finding, mapping and relocating seven libraries costs more than
// the rest of such a start's own work. The library stays loaded until the program ends.
class LateLibrary {
  public:
    // `soname` as the dynamic loader looks it up ("libfreetype.so.6").
    explicit LateLibrary(const char* soname) : soname_(soname) {}
    LateLibrary(const LateLibrary&) = delete;
    LateLibrary& operator=(const LateLibrary&) = delete;

    // Loads the library if that has not been tried yet and calls bind(*this) once, right after
    // it loaded; bind looks the library's functions up (symbol()) and says whether it found
    // them all. True when the library is loaded and bound; a failure is kept (error()) and the
    // library is not tried again.
    template <class Bind>
    bool open(Bind bind) {
        std::call_once(tried_, [&] {
            if (load())
                bound_ = bind(*this);
            if (!bound_ && error_.empty())
                error_ = soname_ + " lacks a function the program needs";
        });
        return bound_;
    }

    // Whether the library is loaded and bound now (without loading it).
    bool is_open() const;
    // The address of the library's function or object `name`, or null.
    void* symbol(const char* name);
    // The function `name` into `fn` (of the function's own type); false when it is missing.
    template <class Fn>
    bool bind(const char* name, Fn* fn) {
        *fn = reinterpret_cast<Fn>(symbol(name));
        return *fn != nullptr;
    }
    // The file the library was loaded from (a full path), or empty while it is not loaded.
    std::string file() const;
    // The file the loader would load from the directories of LD_LIBRARY_PATH (the first that
    // holds the library), or empty when none does and the loader's cache decides.
    std::string file_in_library_path() const;
    // Why the library could not be opened, or empty.
    const std::string& error() const { return error_; }
    const std::string& soname() const { return soname_; }

  private:
    bool load();

    const std::string soname_;
    std::once_flag tried_;
    void* handle_ = nullptr;
    std::atomic<bool> bound_{false};
    std::string error_;
};

}  // namespace gdi
