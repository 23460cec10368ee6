#pragma once

#include <algorithm>
#include <cstdint>
#include <memory>
#include <vector>

#include "platform/gdi/color.h"
#include "platform/gdi/geometry.h"
#include "platform/gdi/key_runs.h"

namespace gdi {

// A 32-bit in-memory bitmap: rows top-down, one Pixel (0xAARRGGBB) per pixel, no padding, so
// the stride is the width. Every drawing target and every element image is one of these.
class Bitmap {
  public:
    // The largest bitmap we agree to hold, in pixels (64 Mpixel); larger requests give an
    // empty bitmap.
    static constexpr int64_t kMaxPixels = 64ll * 1024 * 1024;

    Bitmap() = default;
    // A bitmap of the given size filled with `fill`; a non-positive or absurd size gives an
    // empty bitmap.
    Bitmap(int width, int height, Pixel fill = 0xFF000000u);
    // A bitmap drawn in memory it does not own: `pixels` (width x height, rows top-down without
    // padding), kept alive by `keeper` until the bitmap lets it go. The display uses this to
    // compose a window straight into the memory it shares with the X server. A copy of such a
    // bitmap has pixels of its own, and so does the bitmap after resize().
    static Bitmap over(int width, int height, Pixel* pixels, std::shared_ptr<void> keeper,
                       Pixel fill);
    // A bitmap that reads pixels built into the program (width x height, rows top-down, alive
    // for the whole run) without copying them. Its copies read the same pixels; the first
    // change through it (the writable data() or row(), set_pixel, fill) gives it pixels of its
    // own first, so the built-in pixels never change.
    static Bitmap view_of(int width, int height, const Pixel* pixels);

    Bitmap(const Bitmap& other);
    Bitmap& operator=(const Bitmap& other);
    Bitmap(Bitmap&& other) noexcept;
    Bitmap& operator=(Bitmap&& other) noexcept;
    ~Bitmap() = default;

    int width() const { return width_; }
    int height() const { return height_; }
    Size size() const { return {width_, height_}; }
    Rect rect() const { return {0, 0, width_, height_}; }
    bool empty() const { return width_ == 0 || height_ == 0; }
    // Pixels per row.
    int stride() const { return width_; }

    // Writable pixels: what the image holds may change, so its key runs are let go, and a
    // bitmap still reading built-in pixels gets pixels of its own first.
    Pixel* data() {
        forget_runs();
        if (read_only_) [[unlikely]]
            own_pixels();
        return data_;
    }
    const Pixel* data() const { return data_; }
    Pixel* row(int y) { return data() + static_cast<size_t>(y) * width_; }
    const Pixel* row(int y) const { return data_ + static_cast<size_t>(y) * width_; }
    // Whether the pixels live in memory the bitmap does not own (see over() and view_of()).
    bool external() const { return data_ != nullptr && pixels_.empty(); }
    // Whether the bitmap still reads pixels built into the program (see view_of()).
    bool read_only() const { return read_only_; }

    // Reads a pixel; outside the bitmap gives 0.
    Pixel pixel(int x, int y) const;
    // The colour (COLORREF) of a pixel; outside gives 0.
    Color color_at(int x, int y) const { return color_of(pixel(x, y)); }
    // Writes a pixel; outside the bitmap nothing happens.
    void set_pixel(int x, int y, Pixel p);
    void set_color(int x, int y, Color c) { set_pixel(x, y, pixel_of(c)); }

    // Changes the size; the contents are discarded and every pixel becomes `fill`.
    void resize(int width, int height, Pixel fill = 0xFF000000u);
    void fill(Pixel p);
    void fill_color(Color c) { fill(pixel_of(c)); }

    // A copy of part of the bitmap (clipped to it).
    Bitmap copy(const Rect& area) const;

    // Where the pixels not of colour `key` lie (see KeyRuns): made at the first transparent
    // copy out of the image and kept with it, and let go when anything may write its pixels
    // (a writable row or data, set_pixel, fill, resize, assignment), so it always describes
    // the image as it is.
    const KeyRuns& key_runs(Color key) const;

    // Colour key the element image was marked with (magenta by default), and whether the image
    // is to be drawn with that key left out. Drawing code decides; the bitmap only carries it.
    bool transparent() const { return transparent_; }
    Color transparent_color() const { return key_; }
    void set_transparent(bool on, Color key = kMagenta) {
        transparent_ = on;
        key_ = key;
    }

    friend bool operator==(const Bitmap& a, const Bitmap& b) {
        return a.width_ == b.width_ && a.height_ == b.height_ &&
               std::equal(a.data_, a.data_ + a.pixel_count(), b.data_);
    }

  private:
    size_t pixel_count() const { return static_cast<size_t>(width_) * height_; }
    void forget_runs() {
        if (runs_)
            runs_.reset();
    }
    // Copies read-only pixels into pixels of its own.
    void own_pixels();
    int width_ = 0;
    int height_ = 0;
    // Own pixels; empty when the pixels are external.
    std::vector<Pixel> pixels_;
    // The pixels: pixels_.data() or the external memory (nullptr when empty).
    Pixel* data_ = nullptr;
    // What keeps external memory alive (may be empty when nothing needs to).
    std::shared_ptr<void> external_;
    // data_ points at built-in pixels that must not change (view_of()).
    bool read_only_ = false;
    bool transparent_ = false;
    Color key_ = kMagenta;
    // The key runs of the pixels as they are, or nothing; shared by copies of the same pixels.
    mutable std::shared_ptr<const KeyRuns> runs_;
};

// Whole-image transforms the skin needs for mirrored and rotated element images.
Bitmap mirror_left_right(const Bitmap& src);
Bitmap mirror_top_bottom(const Bitmap& src);
// Rotation clockwise by 90, 180 or 270 degrees (other values give a copy).
Bitmap rotate(const Bitmap& src, int degrees);

}  // namespace gdi
