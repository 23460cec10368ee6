#include "platform/gdi/shape_span_cache.h"

#include <array>
#include <cstdint>

namespace gdi {

namespace {

// The rows a round shape is built from, within the sizes a region accepts (larger: none).
bool round_shape_ok(const Rect& r) {
    return !r.empty() && int64_t{r.right} - r.left <= (1 << 16) &&
           int64_t{r.bottom} - r.top <= (1 << 16);
}

struct Key {
    RoundShape kind = RoundShape::Ellipse;
    Rect box;
    int pen_width = 0;
    int corner_w = 0;
    int corner_h = 0;
    bool operator==(const Key& o) const {
        return kind == o.kind && box.left == o.box.left && box.top == o.box.top &&
               box.right == o.box.right && box.bottom == o.box.bottom && pen_width == o.pen_width &&
               corner_w == o.corner_w && corner_h == o.corner_h;
    }
};

struct Entry {
    bool used = false;
    Key key;
    ShapeSpans spans;
};

void work_out(const Key& k, ShapeSpans& out) {
    const Rect& r = k.box;
    const int w = k.pen_width;
    const size_t rows = static_cast<size_t>(r.height());
    out.outer.assign(rows, RowSpan{});
    out.inner.assign(rows, RowSpan{});
    const Rect in = r.inflate(-w, -w);
    const bool has_inner = round_shape_ok(in);
    if (k.kind == RoundShape::Ellipse) {
        for (int y = r.top; y < r.bottom; ++y) {
            const size_t i = static_cast<size_t>(y - r.top);
            out.outer[i] = ellipse_row(r, y);
            out.inner[i] = w == 0 ? out.outer[i] : has_inner ? ellipse_row(in, y) : RowSpan{};
        }
        return;
    }
    const RoundRectRows outer(r, k.corner_w, k.corner_h);
    const RoundRectRows inner(has_inner ? in : Rect{}, k.corner_w - 2 * w, k.corner_h - 2 * w);
    for (int y = r.top; y < r.bottom; ++y) {
        const size_t i = static_cast<size_t>(y - r.top);
        out.outer[i] = outer.row(y);
        out.inner[i] = w == 0 ? out.outer[i] : has_inner ? inner.row(y) : RowSpan{};
    }
}

}  // namespace

const ShapeSpans& shape_spans(RoundShape kind, const Rect& box, int pen_width, int corner_w,
                              int corner_h) {
    static thread_local std::array<Entry, 8> entries;
    static thread_local size_t next = 0;
    const Key key{kind, box, pen_width, kind == RoundShape::Ellipse ? 0 : corner_w,
                  kind == RoundShape::Ellipse ? 0 : corner_h};
    for (Entry& e : entries) {
        if (e.used && e.key == key)
            return e.spans;
    }
    Entry& e = entries[next];
    next = (next + 1) % entries.size();
    e.used = true;
    e.key = key;
    work_out(key, e.spans);
    return e.spans;
}

}  // namespace gdi
