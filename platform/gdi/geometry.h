#pragma once

#include <algorithm>

namespace gdi {

// A point in pixels.
struct Point {
    int x = 0;
    int y = 0;
    friend bool operator==(const Point&, const Point&) = default;
};

// A size in pixels.
struct Size {
    int cx = 0;
    int cy = 0;
    friend bool operator==(const Size&, const Size&) = default;
};

// A rectangle in the Windows manner: left and top inside, right and bottom just outside.
// A rectangle whose right <= left or bottom <= top is empty.
struct Rect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;

    static constexpr Rect from_xywh(int x, int y, int w, int h) { return {x, y, x + w, y + h}; }

    constexpr int width() const { return right - left; }
    constexpr int height() const { return bottom - top; }
    constexpr bool empty() const { return right <= left || bottom <= top; }
    constexpr bool contains(Point p) const {
        return p.x >= left && p.x < right && p.y >= top && p.y < bottom;
    }
    // True when every pixel of `o` lies in this rectangle (an empty `o` never does).
    constexpr bool encloses(const Rect& o) const {
        return !o.empty() && o.left >= left && o.top >= top && o.right <= right &&
               o.bottom <= bottom;
    }
    constexpr Rect offset(int dx, int dy) const {
        return {left + dx, top + dy, right + dx, bottom + dy};
    }
    constexpr Rect inflate(int dx, int dy) const {
        return {left - dx, top - dy, right + dx, bottom + dy};
    }
    // The common part, or an empty rectangle.
    constexpr Rect intersect(const Rect& o) const {
        Rect r{std::max(left, o.left), std::max(top, o.top), std::min(right, o.right),
               std::min(bottom, o.bottom)};
        return r.empty() ? Rect{} : r;
    }
    // The smallest rectangle holding both; empty rectangles add nothing.
    constexpr Rect unite(const Rect& o) const {
        if (empty())
            return o;
        if (o.empty())
            return *this;
        return {std::min(left, o.left), std::min(top, o.top), std::max(right, o.right),
                std::max(bottom, o.bottom)};
    }
    friend bool operator==(const Rect&, const Rect&) = default;
};

}  // namespace gdi
