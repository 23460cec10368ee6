#include "platform/gdi/bmp.h"

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <unordered_map>

#include "platform/gdi/bmp_rle.h"

namespace gdi {

namespace {

constexpr uint32_t kRgb = 0;
constexpr uint32_t kRle8 = 1;
constexpr uint32_t kRle4 = 2;
constexpr uint32_t kBitfields = 3;

uint16_t u16(const uint8_t* p) {
    return static_cast<uint16_t>(p[0] | (p[1] << 8));
}
uint32_t u32(const uint8_t* p) {
    return static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8) |
           (static_cast<uint32_t>(p[2]) << 16) | (static_cast<uint32_t>(p[3]) << 24);
}
int32_t s32(const uint8_t* p) {
    return static_cast<int32_t>(u32(p));
}

// Extracts a channel given by a bit mask and scales it to 8 bits.
uint8_t channel(uint32_t v, uint32_t mask) {
    if (!mask) {
        return 0;
    }
    int shift = 0;
    while (!(mask & 1u)) {
        mask >>= 1;
        ++shift;
    }
    const uint32_t c = (v >> shift) & mask;
    return static_cast<uint8_t>(mask >= 255 ? (c * 255ull / mask) : (c * 255 + mask / 2) / mask);
}

BmpResult fail(BmpError e) {
    return {Bitmap(), e};
}

// Reads from the info header on; `base` is where offsets (the pixel data offset) count from and
// `pixel_offset` the offset given by a file header, or 0 when the pixels follow the palette.
BmpResult read_info(std::span<const uint8_t> all, size_t info_at, uint64_t pixel_offset,
                    int64_t max_pixels = Bitmap::kMaxPixels) {
    const size_t n = all.size();
    if (info_at + 4 > n) {
        return fail(BmpError::Truncated);
    }
    const uint8_t* d = all.data();
    const uint32_t header_size = u32(d + info_at);
    if (header_size != 12 && header_size != 40 && header_size != 52 && header_size != 56 &&
        header_size != 64 && header_size != 108 && header_size != 124) {
        return fail(BmpError::NotBmp);
    }
    if (info_at + header_size > n) {
        return fail(BmpError::Truncated);
    }
    const uint8_t* h = d + info_at;
    int64_t width;
    int64_t height;
    int bpp;
    uint32_t compression = kRgb;
    uint32_t colours_used = 0;
    uint32_t image_size = 0;
    size_t palette_entry = 4;
    if (header_size == 12) {
        width = u16(h + 4);
        height = static_cast<int16_t>(u16(h + 6));
        bpp = u16(h + 10);
        palette_entry = 3;
    } else {
        width = s32(h + 4);
        height = s32(h + 8);
        bpp = u16(h + 14);
        compression = u32(h + 16);
        image_size = u32(h + 20);
        colours_used = u32(h + 32);
    }
    const bool top_down = height < 0;
    if (height < 0) {
        height = -height;
    }
    if (width <= 0 || height <= 0 || width * height > std::min(max_pixels, Bitmap::kMaxPixels)) {
        return fail(BmpError::BadSize);
    }
    if (bpp != 1 && bpp != 4 && bpp != 8 && bpp != 16 && bpp != 24 && bpp != 32) {
        return fail(BmpError::UnsupportedDepth);
    }
    const bool rle = (compression == kRle8 && bpp == 8) || (compression == kRle4 && bpp == 4);
    if (compression != kRgb && !rle && !(compression == kBitfields && (bpp == 16 || bpp == 32))) {
        return fail(BmpError::UnsupportedCompression);
    }
    size_t at = info_at + header_size;
    uint32_t masks[3] = {0, 0, 0};
    if (bpp == 16) {
        masks[0] = 0x7C00;
        masks[1] = 0x03E0;
        masks[2] = 0x001F;
    } else {
        masks[0] = 0x00FF0000;
        masks[1] = 0x0000FF00;
        masks[2] = 0x000000FF;
    }
    if (compression == kBitfields) {
        const uint8_t* m = nullptr;
        if (header_size >= 52) {
            m = h + 40;
        } else {
            if (at + 12 > n) {
                return fail(BmpError::Truncated);
            }
            m = d + at;
            at += 12;
        }
        masks[0] = u32(m);
        masks[1] = u32(m + 4);
        masks[2] = u32(m + 8);
    }
    std::vector<Pixel> palette;
    if (bpp <= 8) {
        const uint32_t max_colours = 1u << bpp;
        if (colours_used > max_colours) {
            return fail(BmpError::BadPalette);
        }
        uint32_t count = colours_used ? colours_used : max_colours;
        // Files that leave out unused entries say so only by where the pixels start.
        if (!colours_used && pixel_offset > at) {
            count = static_cast<uint32_t>(
                std::min<uint64_t>(count, (pixel_offset - at) / palette_entry));
        }
        if (at + static_cast<uint64_t>(count) * palette_entry > n) {
            return fail(BmpError::Truncated);
        }
        palette.resize(max_colours, 0xFF000000u);
        for (uint32_t i = 0; i < count; ++i) {
            const uint8_t* e = d + at + i * palette_entry;
            palette[i] = 0xFF000000u | (static_cast<Pixel>(e[2]) << 16) |
                         (static_cast<Pixel>(e[1]) << 8) | e[0];
        }
        at += count * palette_entry;
    }
    const uint64_t stride = ((static_cast<uint64_t>(width) * bpp + 31) / 32) * 4;
    const uint64_t start = pixel_offset ? pixel_offset : at;
    if (rle) {
        // The code runs for the image size the header gives, or to the end of the data.
        if (start > n) {
            return fail(BmpError::Truncated);
        }
        uint64_t length = n - start;
        if (image_size != 0 && image_size < length) {
            length = image_size;
        }
        Bitmap out(static_cast<int>(width), static_cast<int>(height), palette[0]);
        if (out.empty()) {
            return fail(BmpError::BadSize);
        }
        decode_rle(all.subspan(static_cast<size_t>(start), static_cast<size_t>(length)), bpp,
                   palette, top_down, out);
        return {std::move(out), BmpError::None};
    }
    // The last row needs only its own bytes, not the padding.
    const uint64_t last_row = (static_cast<uint64_t>(width) * bpp + 7) / 8;
    if (start > n || stride * (height - 1) + last_row > n - start) {
        return fail(BmpError::Truncated);
    }
    Bitmap out(static_cast<int>(width), static_cast<int>(height));
    if (out.empty()) {
        return fail(BmpError::BadSize);
    }
    const int w = static_cast<int>(width);
    for (int y = 0; y < out.height(); ++y) {
        const uint8_t* s = d + start + stride * static_cast<uint64_t>(y);
        Pixel* row = out.row(top_down ? y : out.height() - 1 - y);
        switch (bpp) {
            case 1:
                for (int x = 0; x < w; ++x)
                    row[x] = palette[(s[x >> 3] >> (7 - (x & 7))) & 1];
                break;
            case 4:
                for (int x = 0; x < w; ++x)
                    row[x] = palette[(x & 1) ? (s[x >> 1] & 0x0F) : (s[x >> 1] >> 4)];
                break;
            case 8:
                for (int x = 0; x < w; ++x)
                    row[x] = palette[s[x]];
                break;
            case 16:
                for (int x = 0; x < w; ++x) {
                    const uint32_t v = u16(s + 2 * x);
                    row[x] = 0xFF000000u | (Pixel{channel(v, masks[0])} << 16) |
                             (Pixel{channel(v, masks[1])} << 8) | channel(v, masks[2]);
                }
                break;
            case 24:
                for (int x = 0; x < w; ++x) {
                    const uint8_t* p = s + 3 * x;
                    row[x] = 0xFF000000u | (Pixel{p[2]} << 16) | (Pixel{p[1]} << 8) | p[0];
                }
                break;
            case 32:
                if (compression == kRgb) {
                    for (int x = 0; x < w; ++x)
                        row[x] = 0xFF000000u | u32(s + 4 * x);
                } else {
                    for (int x = 0; x < w; ++x) {
                        const uint32_t v = u32(s + 4 * x);
                        row[x] = 0xFF000000u | (Pixel{channel(v, masks[0])} << 16) |
                                 (Pixel{channel(v, masks[1])} << 8) | channel(v, masks[2]);
                    }
                }
                break;
        }
    }
    return {std::move(out), BmpError::None};
}

void put16(std::vector<uint8_t>& v, uint32_t x) {
    v.push_back(static_cast<uint8_t>(x));
    v.push_back(static_cast<uint8_t>(x >> 8));
}
void put32(std::vector<uint8_t>& v, uint32_t x) {
    put16(v, x & 0xFFFF);
    put16(v, x >> 16);
}

}  // namespace

const char* describe(BmpError e) {
    switch (e) {
        case BmpError::None:
            return "no error";
        case BmpError::Truncated:
            return "the bitmap data is truncated";
        case BmpError::NotBmp:
            return "not a BMP file";
        case BmpError::BadSize:
            return "bad bitmap dimensions";
        case BmpError::UnsupportedDepth:
            return "unsupported bits per pixel";
        case BmpError::UnsupportedCompression:
            return "unsupported compression";
        case BmpError::BadPalette:
            return "bad palette";
        case BmpError::Io:
            return "the file cannot be read or written";
    }
    return "unknown error";
}

BmpResult read_bmp(std::span<const uint8_t> data, int64_t max_pixels) {
    if (data.size() < 14) {
        return fail(data.size() >= 2 && (data[0] != 'B' || data[1] != 'M') ? BmpError::NotBmp
                                                                           : BmpError::Truncated);
    }
    if (data[0] != 'B' || data[1] != 'M') {
        return fail(BmpError::NotBmp);
    }
    const uint32_t offset = u32(data.data() + 10);
    // An offset inside the headers is broken; fall back to "pixels follow the palette".
    return read_info(data, 14, offset >= 14 + 12 ? offset : 0, max_pixels);
}

BmpResult read_dib(std::span<const uint8_t> data) {
    return read_info(data, 0, 0);
}

BmpResult read_bmp_file(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        return fail(BmpError::Io);
    }
    in.seekg(0, std::ios::end);
    const std::streamoff size = in.tellg();
    if (size < 0 || size > (int64_t{1} << 30)) {
        return fail(BmpError::Io);
    }
    in.seekg(0);
    std::vector<uint8_t> bytes(static_cast<size_t>(size));
    if (size > 0 && !in.read(reinterpret_cast<char*>(bytes.data()), size)) {
        return fail(BmpError::Io);
    }
    return read_bmp(bytes);
}

std::vector<uint8_t> encode_bmp(const Bitmap& bm, int bpp, bool top_down) {
    if (bm.empty() || (bpp != 8 && bpp != 24 && bpp != 32)) {
        return {};
    }
    std::vector<Pixel> palette;
    std::unordered_map<Pixel, uint8_t> index;
    if (bpp == 8) {
        for (int y = 0; y < bm.height(); ++y) {
            const Pixel* r = bm.row(y);
            for (int x = 0; x < bm.width(); ++x) {
                const Pixel p = r[x] & 0x00FFFFFFu;
                if (index.count(p))
                    continue;
                if (palette.size() == 256)
                    return {};
                index[p] = static_cast<uint8_t>(palette.size());
                palette.push_back(p);
            }
        }
    }
    const uint32_t stride = ((static_cast<uint32_t>(bm.width()) * bpp + 31) / 32) * 4;
    const uint32_t palette_bytes = static_cast<uint32_t>(palette.size()) * 4;
    const uint32_t offset = 14 + 40 + palette_bytes;
    const uint32_t image = stride * static_cast<uint32_t>(bm.height());
    std::vector<uint8_t> v;
    v.reserve(offset + image);
    v.push_back('B');
    v.push_back('M');
    put32(v, offset + image);
    put32(v, 0);
    put32(v, offset);
    put32(v, 40);
    put32(v, static_cast<uint32_t>(bm.width()));
    put32(v, static_cast<uint32_t>(top_down ? -bm.height() : bm.height()));
    put16(v, 1);
    put16(v, static_cast<uint32_t>(bpp));
    put32(v, kRgb);
    put32(v, image);
    put32(v, 3780);  // 96 dpi in pixels per metre
    put32(v, 3780);
    put32(v, static_cast<uint32_t>(palette.size()));
    put32(v, 0);
    for (Pixel p : palette)
        put32(v, p);
    for (int k = 0; k < bm.height(); ++k) {
        const Pixel* r = bm.row(top_down ? k : bm.height() - 1 - k);
        const size_t row_start = v.size();
        for (int x = 0; x < bm.width(); ++x) {
            const Pixel p = r[x];
            if (bpp == 8) {
                v.push_back(index[p & 0x00FFFFFFu]);
            } else {
                v.push_back(static_cast<uint8_t>(p));
                v.push_back(static_cast<uint8_t>(p >> 8));
                v.push_back(static_cast<uint8_t>(p >> 16));
                if (bpp == 32)
                    v.push_back(static_cast<uint8_t>(p >> 24));
            }
        }
        v.resize(row_start + stride, 0);
    }
    return v;
}

BmpError write_bmp_file(const std::string& path, const Bitmap& bm, int bpp, bool top_down) {
    const std::vector<uint8_t> bytes = encode_bmp(bm, bpp, top_down);
    if (bytes.empty()) {
        return bm.empty() ? BmpError::BadSize : BmpError::UnsupportedDepth;
    }
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    if (!out || !out.write(reinterpret_cast<const char*>(bytes.data()),
                           static_cast<std::streamsize>(bytes.size()))) {
        return BmpError::Io;
    }
    return BmpError::None;
}

}  // namespace gdi
