#include "platform/gdi/region.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace gdi {

namespace {

using Span = std::pair<int, int>;  // [left, right)
using Spans = std::vector<Span>;

bool op_keeps(RegionOp op, bool in_a, bool in_b) {
    switch (op) {
        case RegionOp::And:
            return in_a && in_b;
        case RegionOp::Or:
            return in_a || in_b;
        case RegionOp::Xor:
            return in_a != in_b;
        case RegionOp::Diff:
            return in_a && !in_b;
        case RegionOp::Copy:
            return in_a;
    }
    return false;
}

// Combines two sorted, disjoint span lists.
void combine_spans(const Spans& a, const Spans& b, RegionOp op, Spans& out) {
    out.clear();
    std::vector<int> xs;
    xs.reserve(2 * (a.size() + b.size()));
    for (const Span& s : a) {
        xs.push_back(s.first);
        xs.push_back(s.second);
    }
    for (const Span& s : b) {
        xs.push_back(s.first);
        xs.push_back(s.second);
    }
    std::sort(xs.begin(), xs.end());
    xs.erase(std::unique(xs.begin(), xs.end()), xs.end());
    size_t ia = 0;
    size_t ib = 0;
    for (size_t i = 0; i + 1 < xs.size(); ++i) {
        const int x0 = xs[i];
        const int x1 = xs[i + 1];
        while (ia < a.size() && a[ia].second <= x0) {
            ++ia;
        }
        while (ib < b.size() && b[ib].second <= x0) {
            ++ib;
        }
        const bool in_a = ia < a.size() && a[ia].first <= x0;
        const bool in_b = ib < b.size() && b[ib].first <= x0;
        if (!op_keeps(op, in_a, in_b)) {
            continue;
        }
        if (!out.empty() && out.back().second == x0) {
            out.back().second = x1;
        } else {
            out.emplace_back(x0, x1);
        }
    }
}

// Sorts and merges overlapping or touching spans.
void normalize_spans(Spans& s) {
    std::sort(s.begin(), s.end());
    Spans merged;
    for (const Span& sp : s) {
        if (sp.second <= sp.first) {
            continue;
        }
        if (!merged.empty() && sp.first <= merged.back().second) {
            merged.back().second = std::max(merged.back().second, sp.second);
        } else {
            merged.push_back(sp);
        }
    }
    s = std::move(merged);
}

struct Band {
    int top;
    int bottom;
    Spans spans;
};

std::vector<Band> bands_of(const std::vector<Rect>& rects) {
    std::vector<Band> bands;
    for (const Rect& r : rects) {
        if (bands.empty() || bands.back().top != r.top || bands.back().bottom != r.bottom) {
            bands.push_back({r.top, r.bottom, {}});
        }
        bands.back().spans.emplace_back(r.left, r.right);
    }
    return bands;
}

// The horizontal extent of an ellipse inscribed in `e` on pixel row y, as [left, right).
Span ellipse_row(const Rect& e, int y) {
    const double a = e.width() / 2.0;
    const double b = e.height() / 2.0;
    const double cx = e.left + a;
    const double cy = e.top + b;
    const double dy = (y + 0.5 - cy) / b;
    if (b <= 0 || dy * dy > 1.0) {
        return {0, 0};
    }
    const double half = a * std::sqrt(1.0 - dy * dy);
    return {static_cast<int>(std::lround(cx - half)), static_cast<int>(std::lround(cx + half))};
}

}  // namespace

// Accumulates bands from top to bottom, merging a band into the previous one when it touches it
// and has the same spans.
class RegionBuilder {
  public:
    void add_band(int top, int bottom, const Spans& spans) {
        if (spans.empty() || bottom <= top) {
            return;
        }
        if (last_bottom_ == top && last_spans_ == spans) {
            for (size_t i = rects_.size() - spans.size(); i < rects_.size(); ++i) {
                rects_[i].bottom = bottom;
            }
        } else {
            for (const Span& s : spans) {
                rects_.push_back({s.first, top, s.second, bottom});
            }
            last_spans_ = spans;
        }
        last_bottom_ = bottom;
    }
    Region finish() {
        Region r;
        r.rects_ = std::move(rects_);
        for (const Rect& rc : r.rects_) {
            r.bounds_ = r.bounds_.unite(rc);
        }
        return r;
    }

  private:
    std::vector<Rect> rects_;
    Spans last_spans_;
    int last_bottom_ = 0;
};

Region::Region(const Rect& r) {
    if (!r.empty()) {
        rects_.push_back(r);
        bounds_ = r;
    }
}

Region Region::from_rects(std::span<const Rect> rects) {
    std::vector<int> ys;
    for (const Rect& r : rects) {
        if (!r.empty()) {
            ys.push_back(r.top);
            ys.push_back(r.bottom);
        }
    }
    std::sort(ys.begin(), ys.end());
    ys.erase(std::unique(ys.begin(), ys.end()), ys.end());
    RegionBuilder builder;
    Spans spans;
    for (size_t i = 0; i + 1 < ys.size(); ++i) {
        spans.clear();
        for (const Rect& r : rects) {
            if (!r.empty() && r.top <= ys[i] && r.bottom >= ys[i + 1]) {
                spans.emplace_back(r.left, r.right);
            }
        }
        normalize_spans(spans);
        builder.add_band(ys[i], ys[i + 1], spans);
    }
    return builder.finish();
}

Region Region::from_mask(const Bitmap& bitmap, Color key) {
    return from_mask(bitmap, key, bitmap.rect(), {0, 0});
}

Region Region::from_mask(const Bitmap& bitmap, Color key, const Rect& area, Point origin) {
    const Rect r = area.intersect(bitmap.rect());
    const Pixel k = pixel_of(key) & 0x00FFFFFFu;
    RegionBuilder builder;
    Spans spans;
    const int dx = origin.x - area.left;
    const int dy = origin.y - area.top;
    for (int y = r.top; y < r.bottom; ++y) {
        spans.clear();
        const Pixel* row = bitmap.row(y);
        int x = r.left;
        while (x < r.right) {
            while (x < r.right && (row[x] & 0x00FFFFFFu) == k) {
                ++x;
            }
            const int start = x;
            while (x < r.right && (row[x] & 0x00FFFFFFu) != k) {
                ++x;
            }
            if (x > start) {
                spans.emplace_back(start + dx, x + dx);
            }
        }
        builder.add_band(y + dy, y + dy + 1, spans);
    }
    return builder.finish();
}

// Round shapes are built row by row; larger than any screen they give an empty region.
bool shape_size_ok(const Rect& r) {
    return !r.empty() && int64_t{r.right} - r.left <= (1 << 16) &&
           int64_t{r.bottom} - r.top <= (1 << 16);
}

Region Region::ellipse(const Rect& r) {
    if (!shape_size_ok(r)) {
        return {};
    }
    RegionBuilder builder;
    Spans spans(1);
    for (int y = r.top; y < r.bottom && !r.empty(); ++y) {
        spans[0] = ellipse_row(r, y);
        if (spans[0].second > spans[0].first) {
            builder.add_band(y, y + 1, spans);
        }
    }
    return builder.finish();
}

Region Region::round_rect(const Rect& r, int corner_w, int corner_h) {
    if (!shape_size_ok(r)) {
        return {};
    }
    corner_w = std::clamp(corner_w, 0, r.width());
    corner_h = std::clamp(corner_h, 0, r.height());
    if (corner_w < 2 || corner_h < 2) {
        return Region(r);
    }
    const Rect top_corner{r.left, r.top, r.left + corner_w, r.top + corner_h};
    const Rect bottom_corner{r.left, r.bottom - corner_h, r.left + corner_w, r.bottom};
    RegionBuilder builder;
    Spans spans(1);
    const int half = corner_h / 2;
    for (int y = r.top; y < r.bottom; ++y) {
        int inset = 0;
        if (y < r.top + half) {
            inset = ellipse_row(top_corner, y).first - r.left;
        } else if (y >= r.bottom - half) {
            inset = ellipse_row(bottom_corner, y).first - r.left;
        }
        inset = std::clamp(inset, 0, r.width() / 2);
        spans[0] = {r.left + inset, r.right - inset};
        builder.add_band(y, y + 1, spans);
    }
    return builder.finish();
}

bool Region::contains(Point p) const {
    if (!bounds_.contains(p)) {
        return false;
    }
    auto it = std::partition_point(rects_.begin(), rects_.end(),
                                   [&](const Rect& r) { return r.bottom <= p.y; });
    for (; it != rects_.end() && it->top <= p.y; ++it) {
        if (it->contains(p)) {
            return true;
        }
    }
    return false;
}

bool Region::intersects(const Rect& r) const {
    if (r.intersect(bounds_).empty()) {
        return false;
    }
    for (const Rect& rc : rects_) {
        if (!rc.intersect(r).empty()) {
            return true;
        }
    }
    return false;
}

void Region::offset(int dx, int dy) {
    for (Rect& r : rects_) {
        r = r.offset(dx, dy);
    }
    if (!rects_.empty()) {
        bounds_ = bounds_.offset(dx, dy);
    }
}

Region Region::intersect(const Rect& clip) const {
    if (clip.empty() || clip.intersect(bounds_).empty()) {
        return {};
    }
    RegionBuilder builder;
    Spans spans;
    for (const Band& band : bands_of(rects_)) {
        const int top = std::max(band.top, clip.top);
        const int bottom = std::min(band.bottom, clip.bottom);
        if (bottom <= top) {
            continue;
        }
        spans.clear();
        for (const Span& s : band.spans) {
            const int l = std::max(s.first, clip.left);
            const int r = std::min(s.second, clip.right);
            if (r > l) {
                spans.emplace_back(l, r);
            }
        }
        builder.add_band(top, bottom, spans);
    }
    return builder.finish();
}

Region Region::combine(const Region& a, const Region& b, RegionOp op) {
    if (op == RegionOp::Copy) {
        return a;
    }
    if (op == RegionOp::And && (a.empty() || b.empty())) {
        return {};
    }
    if (b.empty() && op != RegionOp::And) {
        return a;
    }
    if (a.empty() && (op == RegionOp::Or || op == RegionOp::Xor)) {
        return b;
    }
    const std::vector<Band> ba = bands_of(a.rects_);
    const std::vector<Band> bb = bands_of(b.rects_);
    std::vector<int> ys;
    ys.reserve(2 * (ba.size() + bb.size()));
    for (const Band& band : ba) {
        ys.push_back(band.top);
        ys.push_back(band.bottom);
    }
    for (const Band& band : bb) {
        ys.push_back(band.top);
        ys.push_back(band.bottom);
    }
    std::sort(ys.begin(), ys.end());
    ys.erase(std::unique(ys.begin(), ys.end()), ys.end());
    RegionBuilder builder;
    const Spans none;
    Spans out;
    size_t ia = 0;
    size_t ib = 0;
    for (size_t i = 0; i + 1 < ys.size(); ++i) {
        const int y0 = ys[i];
        while (ia < ba.size() && ba[ia].bottom <= y0) {
            ++ia;
        }
        while (ib < bb.size() && bb[ib].bottom <= y0) {
            ++ib;
        }
        const Spans& sa = (ia < ba.size() && ba[ia].top <= y0) ? ba[ia].spans : none;
        const Spans& sb = (ib < bb.size() && bb[ib].top <= y0) ? bb[ib].spans : none;
        combine_spans(sa, sb, op, out);
        builder.add_band(y0, ys[i + 1], out);
    }
    return builder.finish();
}

}  // namespace gdi
