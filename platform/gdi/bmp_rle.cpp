#include "platform/gdi/bmp_rle.h"

namespace gdi {

namespace {

// The write position of the decoder: x along the row, y in coded rows (0 the first coded row).
// Both only grow, by at most 255 per code byte, so 64 bits cannot overflow.
class RleCursor {
  public:
    RleCursor(Bitmap& out, bool top_down) : out_(out), top_down_(top_down) {}

    void put(Pixel p) {
        if (x_ < out_.width() && y_ < out_.height()) {
            const int row =
                top_down_ ? static_cast<int>(y_) : out_.height() - 1 - static_cast<int>(y_);
            out_.row(row)[x_] = p;
        }
        ++x_;
    }
    void end_line() {
        x_ = 0;
        ++y_;
    }
    void move(int dx, int dy) {
        x_ += dx;
        y_ += dy;
    }
    // Whether nothing further can land in the image.
    bool past_image() const { return y_ >= out_.height(); }

  private:
    Bitmap& out_;
    bool top_down_;
    int64_t x_ = 0;
    int64_t y_ = 0;
};

}  // namespace

void decode_rle(std::span<const uint8_t> code, int bits, std::span<const Pixel> palette,
                bool top_down, Bitmap& out) {
    const size_t entries = size_t{1} << bits;
    if ((bits != 4 && bits != 8) || palette.size() < entries || out.empty()) {
        return;
    }
    RleCursor at(out, top_down);
    const uint8_t* d = code.data();
    const size_t n = code.size();
    size_t i = 0;
    while (i + 2 <= n && !at.past_image()) {
        const unsigned count = d[i];
        const unsigned value = d[i + 1];
        i += 2;
        if (count > 0) {
            if (bits == 8) {
                const Pixel p = palette[value];
                for (unsigned k = 0; k < count; ++k) {
                    at.put(p);
                }
            } else {
                const Pixel high = palette[value >> 4];
                const Pixel low = palette[value & 0x0F];
                for (unsigned k = 0; k < count; ++k) {
                    at.put((k & 1) ? low : high);
                }
            }
            continue;
        }
        switch (value) {
            case 0:
                at.end_line();
                break;
            case 1:
                return;
            case 2:
                if (i + 2 > n) {
                    return;
                }
                at.move(d[i], d[i + 1]);
                i += 2;
                break;
            default: {
                // A literal run: `value` pixels, in bytes padded to an even count.
                const size_t bytes = bits == 8 ? value : (value + 1) / 2;
                for (unsigned k = 0; k < value; ++k) {
                    const size_t at_byte = i + (bits == 8 ? k : k / 2);
                    if (at_byte >= n) {
                        return;
                    }
                    const unsigned b = d[at_byte];
                    at.put(palette[bits == 8 ? b : ((k & 1) ? (b & 0x0F) : (b >> 4))]);
                }
                i += bytes + (bytes & 1);
                break;
            }
        }
    }
}

}  // namespace gdi
