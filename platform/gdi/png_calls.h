#pragma once

#include <png.h>

namespace gdi {

// The libpng functions the PNG reader and writer call, loaded with the library at the first
// PNG file written or read (a start without a screenshot never loads it).
struct PngCalls {
    decltype(&::png_create_write_struct) create_write_struct = nullptr;
    decltype(&::png_create_info_struct) create_info_struct = nullptr;
    decltype(&::png_destroy_write_struct) destroy_write_struct = nullptr;
    decltype(&::png_set_longjmp_fn) set_longjmp_fn = nullptr;
    decltype(&::png_init_io) init_io = nullptr;
    decltype(&::png_set_write_fn) set_write_fn = nullptr;
    decltype(&::png_get_io_ptr) get_io_ptr = nullptr;
    decltype(&::png_set_IHDR) set_IHDR = nullptr;
    decltype(&::png_set_compression_level) set_compression_level = nullptr;
    decltype(&::png_write_info) write_info = nullptr;
    decltype(&::png_write_row) write_row = nullptr;
    decltype(&::png_write_end) write_end = nullptr;
    decltype(&::png_image_begin_read_from_file) image_begin_read_from_file = nullptr;
    decltype(&::png_image_finish_read) image_finish_read = nullptr;
    decltype(&::png_image_free) image_free = nullptr;
};

// The calls, loading the library first when it is not loaded yet; null when it cannot be
// loaded (no PNG file is written or read then).
const PngCalls* libpng();

}  // namespace gdi
