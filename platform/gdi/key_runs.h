#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "platform/gdi/color.h"

namespace gdi {

class Bitmap;

// Where the pixels of an image that are not of a key colour lie, row by row, as runs of
// columns. A transparent copy out of the image copies these runs instead of testing every
// pixel against the key. The alpha byte is not compared, as in the copy itself.
class KeyRuns {
  public:
    struct Run {
        int begin = 0;  // first column
        int end = 0;    // one past the last column
    };

    KeyRuns(const Bitmap& image, Color key);

    Color key() const { return key_; }
    int height() const { return static_cast<int>(first_.size()) - 1; }
    // The runs of row y, left to right; none outside the image. (Both are asked for every row
    // of every piece of an element drawn, so they are kept inline.)
    std::span<const Run> row(int y) const {
        if (y < 0 || y >= height())
            return {};
        const size_t y0 = static_cast<size_t>(y);
        return {runs_.data() + first_[y0], runs_.data() + first_[y0 + 1]};
    }
    // Whether columns x0 .. x1 - 1 of row y hold no pixel of the key colour (an empty span
    // does not).
    bool opaque(int y, int x0, int x1) const {
        if (x1 <= x0)
            return false;
        for (const Run& r : row(y)) {
            if (r.end > x0)
                return r.begin <= x0 && r.end >= x1;
        }
        return false;
    }

  private:
    Color key_;
    // Row y's runs are runs_[first_[y]] .. runs_[first_[y + 1] - 1].
    std::vector<uint32_t> first_;
    std::vector<Run> runs_;
};

}  // namespace gdi
