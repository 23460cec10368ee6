#include "platform/gdi/png_calls.h"

#include "platform/gdi/late_library.h"

namespace gdi {

namespace {

// The library the headers describe.
static_assert(PNG_LIBPNG_VER_SONUM == 16, "the library's name below follows its headers");

PngCalls calls;

bool bind(LateLibrary& lib) {
    return lib.bind("png_create_write_struct", &calls.create_write_struct) &&
           lib.bind("png_create_info_struct", &calls.create_info_struct) &&
           lib.bind("png_destroy_write_struct", &calls.destroy_write_struct) &&
           lib.bind("png_set_longjmp_fn", &calls.set_longjmp_fn) &&
           lib.bind("png_init_io", &calls.init_io) &&
           lib.bind("png_set_write_fn", &calls.set_write_fn) &&
           lib.bind("png_get_io_ptr", &calls.get_io_ptr) &&
           lib.bind("png_set_IHDR", &calls.set_IHDR) &&
           lib.bind("png_set_compression_level", &calls.set_compression_level) &&
           lib.bind("png_write_info", &calls.write_info) &&
           lib.bind("png_write_row", &calls.write_row) &&
           lib.bind("png_write_end", &calls.write_end) &&
           lib.bind("png_image_begin_read_from_file", &calls.image_begin_read_from_file) &&
           lib.bind("png_image_finish_read", &calls.image_finish_read) &&
           lib.bind("png_image_free", &calls.image_free);
}

}  // namespace

const PngCalls* libpng() {
    static LateLibrary lib("libpng16.so.16");
    return lib.open(bind) ? &calls : nullptr;
}

}  // namespace gdi
