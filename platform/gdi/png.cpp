#include "platform/gdi/png.h"

#include <csetjmp>
#include <cstdio>
#include <memory>

#include "platform/gdi/png_calls.h"

namespace gdi {

namespace {

void append_bytes(png_structp png, png_bytep data, png_size_t len) {
    auto* out = static_cast<std::vector<uint8_t>*>(libpng()->get_io_ptr(png));
    out->insert(out->end(), data, data + len);
}
void no_flush(png_structp) {}

// Writes through libpng, either to a FILE or into a byte vector.
bool encode(const Bitmap& bm, FILE* file, std::vector<uint8_t>* bytes) {
    const PngCalls* lib = libpng();
    if (bm.empty() || !lib) {
        return false;
    }
    png_structp png = lib->create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    if (!png) {
        return false;
    }
    png_infop info = lib->create_info_struct(png);
    if (!info) {
        lib->destroy_write_struct(&png, nullptr);
        return false;
    }
    std::vector<uint8_t> row(static_cast<size_t>(bm.width()) * 3);
    if (setjmp(*lib->set_longjmp_fn(png, std::longjmp, sizeof(std::jmp_buf)))) {
        lib->destroy_write_struct(&png, &info);
        return false;
    }
    if (file) {
        lib->init_io(png, file);
    } else {
        lib->set_write_fn(png, bytes, append_bytes, no_flush);
    }
    lib->set_IHDR(png, info, static_cast<png_uint_32>(bm.width()),
                  static_cast<png_uint_32>(bm.height()), 8, PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE,
                  PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    lib->set_compression_level(png, 6);
    lib->write_info(png, info);
    for (int y = 0; y < bm.height(); ++y) {
        const Pixel* s = bm.row(y);
        for (int x = 0; x < bm.width(); ++x) {
            row[3 * x] = static_cast<uint8_t>(s[x] >> 16);
            row[3 * x + 1] = static_cast<uint8_t>(s[x] >> 8);
            row[3 * x + 2] = static_cast<uint8_t>(s[x]);
        }
        lib->write_row(png, row.data());
    }
    lib->write_end(png, info);
    lib->destroy_write_struct(&png, &info);
    return true;
}

}  // namespace

bool write_png_file(const std::string& path, const Bitmap& bitmap) {
    FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) {
        return false;
    }
    const bool ok = encode(bitmap, f, nullptr);
    return std::fclose(f) == 0 && ok;
}

std::vector<uint8_t> encode_png(const Bitmap& bitmap) {
    std::vector<uint8_t> bytes;
    if (!encode(bitmap, nullptr, &bytes)) {
        bytes.clear();
    }
    return bytes;
}

Bitmap read_png_file(const std::string& path) {
    const PngCalls* lib = libpng();
    if (!lib) {
        return {};
    }
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    if (!lib->image_begin_read_from_file(&image, path.c_str())) {
        return {};
    }
    image.format = PNG_FORMAT_BGRA;
    if (static_cast<int64_t>(image.width) * image.height > Bitmap::kMaxPixels) {
        lib->image_free(&image);
        return {};
    }
    Bitmap bm(static_cast<int>(image.width), static_cast<int>(image.height));
    if (bm.empty() || !lib->image_finish_read(&image, nullptr, bm.data(), 0, nullptr)) {
        lib->image_free(&image);
        return {};
    }
    return bm;
}

}  // namespace gdi
