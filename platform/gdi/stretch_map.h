#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace gdi {

// Source positions of one axis of a colour-on-colour stretch: destination position k of a
// stretch of src_len pixels from src_start over dst_len pixels takes source position
// src_start + k * src_len / dst_len (pixels dropped or repeated, never blended). The quotient
// and remainder are carried from one position to the next rather than divided again.
// Writes the positions of destination positions first .. first + count - 1 to out.
inline void stretch_positions(int* out, int first, int count, int dst_len, int src_start,
                              int src_len) {
    if (count <= 0)
        return;
    const int64_t len = dst_len;
    int64_t q = int64_t{first} * src_len / len;
    int64_t r = int64_t{first} * src_len % len;
    const int64_t dq = src_len / len;
    const int64_t dr = src_len % len;
    for (int i = 0; i < count; ++i) {
        out[i] = static_cast<int>(src_start + q);
        q += dq;
        r += dr;
        if (r >= len) {
            r -= len;
            ++q;
        }
    }
}

// A row of positions, kept in place for the lengths a window can have, so that the many
// small stretches of a paint (the parts of each skinned button) allocate nothing.
class PositionRow {
  public:
    explicit PositionRow(size_t n) : size_(n) {
        if (n > kInPlace)
            heap_.resize(n);
        data_ = n > kInPlace ? heap_.data() : in_place_;
    }
    PositionRow(const PositionRow&) = delete;
    PositionRow& operator=(const PositionRow&) = delete;

    int operator[](size_t i) const { return data_[i]; }
    int* data() { return data_; }
    const int* data() const { return data_; }
    size_t size() const { return size_; }

  private:
    static constexpr size_t kInPlace = 2048;
    int in_place_[kInPlace];
    std::vector<int> heap_;
    int* data_ = nullptr;
    size_t size_ = 0;
};

// One axis of a stretch blit: for destination positions first .. first + count - 1 (of
// dst_len), the source position, or -1 when it falls outside the source bitmap (0 ..
// src_limit - 1). A mirrored stretch runs the positions from the far end.
class StretchMap {
  public:
    StretchMap(int first, int count, int dst_len, int src_start, int src_len, bool mirror,
               int src_limit)
        : row_(static_cast<size_t>(std::max(count, 0))) {
        const size_t n = row_.size();
        if (n == 0)
            return;
        int* map = row_.data();
        if (!mirror && src_start >= 0 && int64_t{src_start} + src_len <= src_limit) {
            // The whole source span lies inside the source: no position needs the test (the
            // usual case, each piece of an element).
            inside_ = true;
            stretch_positions(map, first, count, dst_len, src_start, src_len);
            return;
        }
        const int64_t len = dst_len;
        const int64_t k = mirror ? len - 1 - first : first;
        int64_t q = k * src_len / len;
        int64_t r = k * src_len % len;
        const int64_t dq = src_len / len;
        const int64_t dr = src_len % len;
        for (size_t i = 0; i < n; ++i) {
            const int64_t s = src_start + q;
            map[i] = (s >= 0 && s < src_limit) ? static_cast<int>(s) : -1;
            if (mirror) {
                q -= dq;
                r -= dr;
                if (r < 0) {
                    r += len;
                    --q;
                }
            } else {
                q += dq;
                r += dr;
                if (r >= len) {
                    r -= len;
                    ++q;
                }
            }
        }
    }

    int operator[](size_t i) const { return row_[i]; }
    const int* data() const { return row_.data(); }
    bool all_inside() const {
        return inside_ || std::find(data(), data() + row_.size(), -1) == data() + row_.size();
    }

  private:
    PositionRow row_;
    bool inside_ = false;  // every position known to fall inside the source
};

}  // namespace gdi
