#include "platform/gdi/bitmap.h"

#include <algorithm>
#include <cstring>

namespace gdi {

namespace {

bool acceptable(int width, int height) {
    return width > 0 && height > 0 &&
           static_cast<int64_t>(width) * static_cast<int64_t>(height) <= Bitmap::kMaxPixels;
}

}  // namespace

Bitmap::Bitmap(int width, int height, Pixel fill) {
    resize(width, height, fill);
}

Bitmap Bitmap::over(int width, int height, Pixel* pixels, std::shared_ptr<void> keeper,
                    Pixel fill) {
    Bitmap b;
    if (!pixels || !acceptable(width, height)) {
        return b;
    }
    b.width_ = width;
    b.height_ = height;
    b.data_ = pixels;
    b.external_ = std::move(keeper);
    b.fill(fill);
    return b;
}

Bitmap Bitmap::view_of(int width, int height, const Pixel* pixels) {
    Bitmap b;
    if (!pixels || !acceptable(width, height)) {
        return b;
    }
    b.width_ = width;
    b.height_ = height;
    // Never written through: every writing access makes its own pixels first.
    b.data_ = const_cast<Pixel*>(pixels);
    b.read_only_ = true;
    return b;
}

void Bitmap::own_pixels() {
    pixels_.assign(data_, data_ + pixel_count());
    data_ = pixels_.data();
    read_only_ = false;
}

Bitmap::Bitmap(const Bitmap& other)
    : width_(other.width_),
      height_(other.height_),
      // A copy of a read-only bitmap reads the same built-in pixels.
      pixels_(other.read_only_ ? nullptr : other.data_,
              other.read_only_ ? nullptr : other.data_ + other.pixel_count()),
      data_(other.read_only_  ? other.data_
            : pixels_.empty() ? nullptr
                              : pixels_.data()),
      read_only_(other.read_only_),
      transparent_(other.transparent_),
      key_(other.key_),
      runs_(other.runs_) {}

Bitmap& Bitmap::operator=(const Bitmap& other) {
    if (this != &other) {
        Bitmap copy(other);
        *this = std::move(copy);
    }
    return *this;
}

Bitmap::Bitmap(Bitmap&& other) noexcept
    : width_(other.width_),
      height_(other.height_),
      pixels_(std::move(other.pixels_)),
      data_(other.data_),
      external_(std::move(other.external_)),
      read_only_(other.read_only_),
      transparent_(other.transparent_),
      key_(other.key_),
      runs_(std::move(other.runs_)) {
    other.width_ = other.height_ = 0;
    other.pixels_.clear();
    other.data_ = nullptr;
    other.read_only_ = false;
}

Bitmap& Bitmap::operator=(Bitmap&& other) noexcept {
    if (this != &other) {
        width_ = other.width_;
        height_ = other.height_;
        pixels_ = std::move(other.pixels_);
        data_ = other.data_;
        external_ = std::move(other.external_);
        read_only_ = other.read_only_;
        transparent_ = other.transparent_;
        key_ = other.key_;
        runs_ = std::move(other.runs_);
        other.width_ = other.height_ = 0;
        other.pixels_.clear();
        other.data_ = nullptr;
        other.read_only_ = false;
    }
    return *this;
}

Pixel Bitmap::pixel(int x, int y) const {
    if (x < 0 || y < 0 || x >= width_ || y >= height_) {
        return 0;
    }
    return data_[static_cast<size_t>(y) * width_ + x];
}

void Bitmap::set_pixel(int x, int y, Pixel p) {
    if (x < 0 || y < 0 || x >= width_ || y >= height_) {
        return;
    }
    data()[static_cast<size_t>(y) * width_ + x] = p;
}

void Bitmap::resize(int width, int height, Pixel fill) {
    external_.reset();
    forget_runs();
    read_only_ = false;
    if (!acceptable(width, height)) {
        width_ = height_ = 0;
        pixels_.clear();
        data_ = nullptr;
        return;
    }
    width_ = width;
    height_ = height;
    pixels_.assign(static_cast<size_t>(width) * height, fill);
    data_ = pixels_.data();
}

void Bitmap::fill(Pixel p) {
    forget_runs();
    const size_t count = pixel_count();
    if (count == 0)
        return;
    if (read_only_) {
        own_pixels();
    }
    // The C library's wide stores do the bulk: memset when the four bytes of the pixel are the
    // same, else one block set pixel by pixel and copied onto the rest. A window's backing of
    // 1265 x 693 takes a twentieth of the instructions of a loop over its pixels.
    const auto byte = static_cast<uint8_t>(p);
    if (p == byte * 0x01010101u) {
        std::memset(data_, byte, count * sizeof(Pixel));
        return;
    }
    // Small enough to stay in the first-level cache while it is copied.
    constexpr size_t kBlock = 2048;
    const size_t block = std::min(count, kBlock);
    std::fill(data_, data_ + block, p);
    for (size_t done = block; done < count; done += block)
        std::memcpy(data_ + done, data_, std::min(block, count - done) * sizeof(Pixel));
}

const KeyRuns& Bitmap::key_runs(Color key) const {
    if (!runs_ || runs_->key() != key)
        runs_ = std::make_shared<const KeyRuns>(*this, key);
    return *runs_;
}

Bitmap Bitmap::copy(const Rect& area) const {
    Rect r = area.intersect(rect());
    Bitmap out(r.width(), r.height());
    for (int y = 0; y < out.height(); ++y) {
        std::memcpy(out.row(y), row(r.top + y) + r.left, sizeof(Pixel) * out.width());
    }
    out.transparent_ = transparent_;
    out.key_ = key_;
    return out;
}

Bitmap mirror_left_right(const Bitmap& src) {
    Bitmap out = src;
    for (int y = 0; y < out.height(); ++y) {
        std::reverse(out.row(y), out.row(y) + out.width());
    }
    return out;
}

Bitmap mirror_top_bottom(const Bitmap& src) {
    Bitmap out = src;
    for (int y = 0; y < src.height(); ++y) {
        std::memcpy(out.row(src.height() - 1 - y), src.row(y), sizeof(Pixel) * src.width());
    }
    return out;
}

Bitmap rotate(const Bitmap& src, int degrees) {
    degrees = ((degrees % 360) + 360) % 360;
    const int w = src.width();
    const int h = src.height();
    if (degrees == 180) {
        Bitmap out = mirror_top_bottom(src);
        return mirror_left_right(out);
    }
    if (degrees != 90 && degrees != 270) {
        return src;
    }
    Bitmap out(h, w);
    out.set_transparent(src.transparent(), src.transparent_color());
    for (int y = 0; y < h; ++y) {
        const Pixel* s = src.row(y);
        for (int x = 0; x < w; ++x) {
            // Clockwise: (x, y) -> (h - 1 - y, x); anticlockwise: (x, y) -> (y, w - 1 - x).
            if (degrees == 90) {
                out.row(x)[h - 1 - y] = s[x];
            } else {
                out.row(w - 1 - x)[y] = s[x];
            }
        }
    }
    return out;
}

}  // namespace gdi
