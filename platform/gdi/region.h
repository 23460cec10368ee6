#pragma once

#include <algorithm>
#include <span>
#include <vector>

#include "platform/gdi/bitmap.h"
#include "platform/gdi/color.h"
#include "platform/gdi/geometry.h"

namespace gdi {

// How two regions combine (the Win32 RGN_* numbers).
enum class RegionOp { And = 1, Or = 2, Xor = 3, Diff = 4, Copy = 5 };

// A set of pixels kept as non-overlapping rectangles in y-x bands: rows of equal extent form a
// band, the rectangles of a band are sorted by x and never touch. Window shapes, clip areas and
// update areas are regions.
class Region {
  public:
    Region() = default;
    explicit Region(const Rect& r);

    static Region from_rect(const Rect& r) { return Region(r); }
    static Region from_rects(std::span<const Rect> rects);
    // The pixels of `area` of `bitmap` (the whole bitmap by default) whose colour is not `key`,
    // placed with the area's top-left corner at `origin`.
    static Region from_mask(const Bitmap& bitmap, Color key = kMagenta);
    static Region from_mask(const Bitmap& bitmap, Color key, const Rect& area, Point origin);
    // An ellipse inscribed in `r`, and a rectangle with rounded corners (ellipse width and
    // height of the corners), as Win32 builds them. Shapes more than 65536 pixels wide or high
    // give an empty region.
    static Region ellipse(const Rect& r);
    static Region round_rect(const Rect& r, int corner_w, int corner_h);

    bool empty() const { return bounds_.empty(); }
    // The smallest rectangle holding the region (empty rectangle when empty).
    Rect bounds() const { return bounds_; }
    bool contains(Point p) const;
    // True when some pixel of `r` lies in the region.
    bool intersects(const Rect& r) const;
    // The rectangles, y-x banded.
    std::span<const Rect> rects() const {
        if (!many_.empty())
            return many_;
        return {&bounds_, bounds_.empty() ? 0u : 1u};
    }
    // The rectangles that may share rows with `r`: the bands from the first that ends below
    // r.top to the last that starts above r.bottom (the others cannot touch it).
    std::span<const Rect> rects_near(const Rect& r) const;

    void offset(int dx, int dy);
    Region offset_by(int dx, int dy) const {
        Region r = *this;
        r.offset(dx, dy);
        return r;
    }

    static Region combine(const Region& a, const Region& b, RegionOp op);
    Region& operator&=(const Region& o) { return *this = combine(*this, o, RegionOp::And); }
    Region& operator|=(const Region& o) { return *this = combine(*this, o, RegionOp::Or); }
    Region& operator-=(const Region& o) { return *this = combine(*this, o, RegionOp::Diff); }
    Region& operator^=(const Region& o) { return *this = combine(*this, o, RegionOp::Xor); }
    friend Region operator&(const Region& a, const Region& b) {
        return combine(a, b, RegionOp::And);
    }
    friend Region operator|(const Region& a, const Region& b) {
        return combine(a, b, RegionOp::Or);
    }
    friend Region operator-(const Region& a, const Region& b) {
        return combine(a, b, RegionOp::Diff);
    }
    friend Region operator^(const Region& a, const Region& b) {
        return combine(a, b, RegionOp::Xor);
    }
    // Cheaper forms with one rectangle.
    Region intersect(const Rect& r) const;
    Region subtract(const Rect& r) const { return combine(*this, Region(r), RegionOp::Diff); }

    friend bool operator==(const Region& a, const Region& b) {
        return std::ranges::equal(a.rects(), b.rects());
    }

  private:
    friend class RegionBuilder;
    // A region of one rectangle, the usual case for windows, clips and update areas, is held in
    // bounds_ alone and costs no allocation; many_ holds the rectangles of any other region.
    std::vector<Rect> many_;
    Rect bounds_;
};

}  // namespace gdi
