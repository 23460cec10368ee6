#include "platform/gdi/region.h"

#include "platform/gdi/shape_rows.h"

#include <algorithm>
#include <cmath>
#include <limits>
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

// Combines two sorted, disjoint span lists in one linear sweep over their edges.
void combine_spans(const Rect* a, const Rect* a_end, const Rect* b, const Rect* b_end, RegionOp op,
                   Spans& out) {
    out.clear();
    constexpr int kEnd = std::numeric_limits<int>::max();
    bool in_a = false;
    bool in_b = false;
    bool open = false;
    int start = 0;
    while (true) {
        const int next_a = a < a_end ? (in_a ? a->right : a->left) : kEnd;
        const int next_b = b < b_end ? (in_b ? b->right : b->left) : kEnd;
        const int x = std::min(next_a, next_b);
        if (x == kEnd) {
            break;
        }
        if (next_a == x) {
            if (in_a)
                ++a;
            in_a = !in_a;
        }
        if (next_b == x) {
            if (in_b)
                ++b;
            in_b = !in_b;
        }
        const bool keep = op_keeps(op, in_a, in_b);
        if (keep && !open) {
            start = x;
            open = true;
        } else if (!keep && open) {
            out.emplace_back(start, x);
            open = false;
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

// A band: rows top..bottom and its rectangles (same top and bottom, sorted by x) in a region.
struct Band {
    int top;
    int bottom;
    const Rect* begin;
    const Rect* end;
};

std::vector<Band> bands_of(std::span<const Rect> rects) {
    std::vector<Band> bands;
    const Rect* p = rects.data();
    const Rect* const end = p + rects.size();
    while (p < end) {
        const Rect* q = p + 1;
        while (q < end && q->top == p->top && q->bottom == p->bottom)
            ++q;
        bands.push_back({p->top, p->bottom, p, q});
        p = q;
    }
    return bands;
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
        if (last_bottom_ == top && rects_.size() - last_start_ == spans.size() &&
            same_spans(spans)) {
            for (size_t i = last_start_; i < rects_.size(); ++i) {
                rects_[i].bottom = bottom;
            }
        } else {
            last_start_ = rects_.size();
            for (const Span& s : spans) {
                rects_.push_back({s.first, top, s.second, bottom});
            }
        }
        last_bottom_ = bottom;
    }
    // The same for spans taken as they stand from another region's band.
    void add_band(int top, int bottom, const Rect* begin, const Rect* end) {
        const size_t n = static_cast<size_t>(end - begin);
        if (n == 0 || bottom <= top) {
            return;
        }
        bool same = last_bottom_ == top && rects_.size() - last_start_ == n;
        for (size_t i = 0; same && i < n; ++i) {
            same = rects_[last_start_ + i].left == begin[i].left &&
                   rects_[last_start_ + i].right == begin[i].right;
        }
        if (same) {
            for (size_t i = last_start_; i < rects_.size(); ++i) {
                rects_[i].bottom = bottom;
            }
        } else {
            last_start_ = rects_.size();
            rects_.insert(rects_.end(), begin, end);
            if (begin->top != top || begin->bottom != bottom) {
                for (size_t i = last_start_; i < rects_.size(); ++i) {
                    rects_[i].top = top;
                    rects_[i].bottom = bottom;
                }
            }
        }
        last_bottom_ = bottom;
    }
    void reserve(size_t n) { rects_.reserve(n); }
    Region finish() {
        Region r;
        if (rects_.empty()) {
            return r;
        }
        int left = rects_.front().left;
        int right = rects_.front().right;
        for (const Rect& rc : rects_) {
            left = std::min(left, rc.left);
            right = std::max(right, rc.right);
        }
        r.bounds_ = {left, rects_.front().top, right, rects_.back().bottom};
        if (rects_.size() > 1) {
            r.many_ = std::move(rects_);
        }
        return r;
    }

  private:
    bool same_spans(const Spans& spans) const {
        for (size_t i = 0; i < spans.size(); ++i) {
            const Rect& r = rects_[last_start_ + i];
            if (r.left != spans[i].first || r.right != spans[i].second) {
                return false;
            }
        }
        return true;
    }
    std::vector<Rect> rects_;
    size_t last_start_ = 0;
    int last_bottom_ = std::numeric_limits<int>::min();
};

Region::Region(const Rect& r) {
    if (!r.empty()) {
        bounds_ = r;
    }
}

std::span<const Rect> Region::rects_near(const Rect& r) const {
    const std::span<const Rect> all = rects();
    if (all.size() <= 1) {
        return all;
    }
    // Bands run top to bottom, so both the tops and the bottoms of the rectangles only grow.
    auto first = std::partition_point(all.begin(), all.end(),
                                      [&](const Rect& c) { return c.bottom <= r.top; });
    auto last =
        std::partition_point(first, all.end(), [&](const Rect& c) { return c.top < r.bottom; });
    return {first, last};
}

Region Region::from_rects(std::span<const Rect> rects) {
    std::vector<Rect> sorted;
    std::vector<int> ys;
    for (const Rect& r : rects) {
        if (!r.empty()) {
            sorted.push_back(r);
            ys.push_back(r.top);
            ys.push_back(r.bottom);
        }
    }
    std::sort(sorted.begin(), sorted.end(),
              [](const Rect& a, const Rect& b) { return a.top < b.top; });
    std::sort(ys.begin(), ys.end());
    ys.erase(std::unique(ys.begin(), ys.end()), ys.end());
    // Sweep down the rows keeping the rectangles that cover the current stretch.
    RegionBuilder builder;
    std::vector<Rect> active;
    Spans spans;
    size_t next = 0;
    for (size_t i = 0; i + 1 < ys.size(); ++i) {
        const int y = ys[i];
        while (next < sorted.size() && sorted[next].top <= y) {
            active.push_back(sorted[next++]);
        }
        std::erase_if(active, [&](const Rect& r) { return r.bottom <= y; });
        spans.clear();
        for (const Rect& r : active) {
            spans.emplace_back(r.left, r.right);
        }
        normalize_spans(spans);
        builder.add_band(y, ys[i + 1], spans);
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
        const RowSpan row = ellipse_row(r, y);
        if (!row.empty()) {
            spans[0] = {row.left, row.right};
            builder.add_band(y, y + 1, spans);
        }
    }
    return builder.finish();
}

Region Region::round_rect(const Rect& r, int corner_w, int corner_h) {
    if (!shape_size_ok(r)) {
        return {};
    }
    const RoundRectRows rows(r, corner_w, corner_h);
    if (rows.corner_rows() == 0) {
        return Region(r);
    }
    // The corner rows one by one; the rows between them are the whole width, one band.
    RegionBuilder builder;
    Spans spans(1);
    const auto add_row = [&](int y) {
        const RowSpan row = rows.row(y);
        spans[0] = {row.left, row.right};
        builder.add_band(y, y + 1, spans);
    };
    const int middle_top = r.top + rows.corner_rows();
    const int middle_bottom = r.bottom - rows.corner_rows();
    for (int y = r.top; y < middle_top; ++y) {
        add_row(y);
    }
    if (middle_bottom > middle_top) {
        spans[0] = {r.left, r.right};
        builder.add_band(middle_top, middle_bottom, spans);
    }
    for (int y = std::max(middle_top, middle_bottom); y < r.bottom; ++y) {
        add_row(y);
    }
    return builder.finish();
}

bool Region::contains(Point p) const {
    if (!bounds_.contains(p)) {
        return false;
    }
    const std::span<const Rect> all = rects();
    auto it = std::partition_point(all.begin(), all.end(),
                                   [&](const Rect& r) { return r.bottom <= p.y; });
    for (; it != all.end() && it->top <= p.y; ++it) {
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
    for (const Rect& rc : rects_near(r)) {
        if (!rc.intersect(r).empty()) {
            return true;
        }
    }
    return false;
}

void Region::offset(int dx, int dy) {
    for (Rect& r : many_) {
        r = r.offset(dx, dy);
    }
    if (!bounds_.empty()) {
        bounds_ = bounds_.offset(dx, dy);
    }
}

Region Region::intersect(const Rect& clip) const {
    if (clip.empty() || clip.intersect(bounds_).empty()) {
        return {};
    }
    if (clip.encloses(bounds_)) {
        return *this;
    }
    if (many_.empty()) {
        return Region(bounds_.intersect(clip));
    }
    // A rectangle that lies within one column of the region, band after band (a windowless
    // control's clip inside its parent's visible region, which the parent's child windows cut
    // into many bands), gives one rectangle: found without building bands.
    const std::span<const Rect> near = rects_near(clip);
    Rect only;
    bool one = true;
    for (const Rect& r : near) {
        const Rect i = r.intersect(clip);
        if (i.empty())
            continue;
        if (only.empty()) {
            only = i;
        } else if (i.left == only.left && i.right == only.right && i.top == only.bottom) {
            only.bottom = i.bottom;
        } else {
            one = false;
            break;
        }
    }
    if (one)
        return Region(only);
    RegionBuilder builder;
    Spans spans;
    for (const Band& band : bands_of(near)) {
        const int top = std::max(band.top, clip.top);
        const int bottom = std::min(band.bottom, clip.bottom);
        if (bottom <= top) {
            continue;
        }
        spans.clear();
        for (const Rect* s = band.begin; s < band.end; ++s) {
            const int l = std::max(s->left, clip.left);
            const int r = std::min(s->right, clip.right);
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
    if (a.empty()) {
        return {};
    }
    // Shortcuts for the common cases of clipping and of taking away what does not overlap.
    if (op == RegionOp::And && b.many_.empty()) {
        return a.intersect(b.bounds_);
    }
    if (op == RegionOp::And && a.many_.empty()) {
        return b.intersect(a.bounds_);
    }
    if (op == RegionOp::Diff && a.bounds_.intersect(b.bounds_).empty()) {
        return a;
    }
    if (op == RegionOp::Diff && b.many_.empty() && b.bounds_.encloses(a.bounds_)) {
        return {};
    }
    const std::vector<Band> ba = bands_of(a.rects());
    const std::vector<Band> bb = bands_of(b.rects());
    RegionBuilder builder;
    builder.reserve(a.rects().size() + b.rects().size() + 4);
    Spans out;
    size_t ia = 0;
    size_t ib = 0;
    int y = std::min(ba.front().top, bb.front().top);
    while (ia < ba.size() || ib < bb.size()) {
        // The next stretch of rows over which neither region changes.
        while (ia < ba.size() && ba[ia].bottom <= y)
            ++ia;
        while (ib < bb.size() && bb[ib].bottom <= y)
            ++ib;
        if (ia == ba.size() && ib == bb.size())
            break;
        const bool in_a = ia < ba.size() && ba[ia].top <= y;
        const bool in_b = ib < bb.size() && bb[ib].top <= y;
        int next = std::numeric_limits<int>::max();
        if (ia < ba.size())
            next = std::min(next, in_a ? ba[ia].bottom : ba[ia].top);
        if (ib < bb.size())
            next = std::min(next, in_b ? bb[ib].bottom : bb[ib].top);
        if (in_a != in_b && op_keeps(op, in_a, in_b)) {
            // Only one region has rows here and the operation keeps them: copy them over.
            const Band& band = in_a ? ba[ia] : bb[ib];
            builder.add_band(y, next, band.begin, band.end);
        } else if (in_a || in_b) {
            combine_spans(in_a ? ba[ia].begin : nullptr, in_a ? ba[ia].end : nullptr,
                          in_b ? bb[ib].begin : nullptr, in_b ? bb[ib].end : nullptr, op, out);
            builder.add_band(y, next, out);
        }
        y = next;
    }
    return builder.finish();
}

}  // namespace gdi
