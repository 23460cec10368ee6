#include "platform/gdi/dc.h"

#include "platform/gdi/pixel_row.h"
#include "platform/gdi/shape_rows.h"
#include "platform/gdi/shape_span_cache.h"
#include "platform/gdi/stretch_map.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

namespace gdi {

namespace {

constexpr Pixel kRgbMask = 0x00FFFFFFu;
constexpr Pixel kOpaque = 0xFF000000u;

// Applies a raster operation that reads the source to one row.
void rop_row(Pixel* d, const Pixel* s, int n, Rop rop) {
    switch (rop) {
        case Rop::SrcCopy:
            std::memmove(d, s, sizeof(Pixel) * n);
            break;
        case Rop::SrcPaint:
            for (int i = 0; i < n; ++i)
                d[i] = (d[i] | s[i]) | kOpaque;
            break;
        case Rop::SrcAnd:
            for (int i = 0; i < n; ++i)
                d[i] = (d[i] & s[i]) | kOpaque;
            break;
        case Rop::SrcInvert:
            for (int i = 0; i < n; ++i)
                d[i] = ((d[i] ^ s[i]) & kRgbMask) | kOpaque;
            break;
        case Rop::NotSrcCopy:
            for (int i = 0; i < n; ++i)
                d[i] = (~s[i] & kRgbMask) | kOpaque;
            break;
        default:
            break;
    }
}

bool rop_uses_source(Rop rop) {
    return rop == Rop::SrcCopy || rop == Rop::SrcPaint || rop == Rop::SrcAnd ||
           rop == Rop::SrcInvert || rop == Rop::NotSrcCopy;
}

void combine_pixel(Pixel& d, Pixel s, Rop rop) {
    rop_row(&d, &s, 1, rop);
}

// Coordinates are kept within +-2^29 so that offsets never overflow; nothing that large is
// ever visible.
constexpr int64_t kCoordLimit = int64_t{1} << 29;
int clampc(int64_t v) {
    return static_cast<int>(std::clamp(v, -kCoordLimit, kCoordLimit));
}
Rect shift(const Rect& r, Point o) {
    return {clampc(int64_t{r.left} + o.x), clampc(int64_t{r.top} + o.y),
            clampc(int64_t{r.right} + o.x), clampc(int64_t{r.bottom} + o.y)};
}
// Logical rectangles of shapes and text are first brought into the same range.
Rect clamp_rect(const Rect& r) {
    return {clampc(r.left), clampc(r.top), clampc(r.right), clampc(r.bottom)};
}
int pen_width(const Pen& p) {
    return std::clamp(p.width, 1, 1000);
}
Rect xywh(Point o, int w, int h) {
    return {o.x, o.y, clampc(int64_t{o.x} + w), clampc(int64_t{o.y} + h)};
}

// Turns (x, y, w, h) with possibly negative extents into a normal rectangle and mirror flags.
// A negative extent runs from the pixel at x (or y) backwards: (w - 1, 0, -w, h) mirrors
// 0 .. w - 1.
Rect normalize(int x, int y, int w, int h, bool& mirror_x, bool& mirror_y) {
    mirror_x = w < 0;
    mirror_y = h < 0;
    const int64_t x0 = w < 0 ? int64_t{x} + w + 1 : x;
    const int64_t y0 = h < 0 ? int64_t{y} + h + 1 : y;
    const int64_t x1 = x0 + std::abs(int64_t{w});
    const int64_t y1 = y0 + std::abs(int64_t{h});
    return {clampc(x0), clampc(y0), clampc(x1), clampc(y1)};
}

}  // namespace

DC::DC(Bitmap& target) : target_(&target) {
    update_clip();
}

void DC::update_clip() const {
    const Size size = target_->size();
    clip_size_ = size;
    if (!base_valid_ || !(base_origin_ == dc_origin_) || !(base_size_ == size)) {
        const Rect whole = target_->rect();
        base_clip_ = has_visible_ ? visible_.offset_by(dc_origin_.x, dc_origin_.y).intersect(whole)
                                  : Region(whole);
        base_origin_ = dc_origin_;
        base_size_ = size;
        base_valid_ = true;
    }
    clip_is_base_ = !has_clip_;
    if (clip_is_base_) {
        effective_clip_ = Region();
        return;
    }
    // A clip of one rectangle (a windowless child painted through its parent's DC) cuts only
    // the bands of the visible region it meets, rather than sweeping the whole region.
    if (clip_.rects().size() == 1) {
        effective_clip_ = base_clip_.intersect(clip_.bounds().offset(dc_origin_.x, dc_origin_.y));
        return;
    }
    effective_clip_ = base_clip_ & clip_.offset_by(dc_origin_.x, dc_origin_.y);
}

void DC::detach() {
    static Bitmap nothing;
    target_ = &nothing;
    has_visible_ = true;
    visible_ = Region();
    base_valid_ = false;
    update_clip();
}

void DC::reset(Bitmap& target) {
    target_ = &target;
    dc_origin_ = {};
    viewport_ = {};
    pos_ = {};
    has_visible_ = false;
    visible_ = Region();
    has_clip_ = false;
    clip_ = Region();
    effective_clip_ = Region();
    base_clip_ = Region();
    base_valid_ = false;
    font_ = Font();
    text_color_ = 0;
    bk_color_ = rgb(255, 255, 255);
    bk_mode_ = BkMode::Opaque;
    text_align_ = TA_LEFT | TA_TOP;
    pen_ = Pen();
    brush_ = Brush();
    saved_.clear();
    sized_ = nullptr;
    update_clip();
}

void DC::set_dc_origin(Point p) {
    dc_origin_ = p;
    update_clip();
}

Point DC::set_viewport_origin(Point p) {
    const Point old = viewport_;
    viewport_ = p;
    return old;
}

Point DC::offset_viewport_origin(int dx, int dy) {
    const Point old = viewport_;
    viewport_.x += dx;
    viewport_.y += dy;
    return old;
}

void DC::set_visible_region(const Region* device_region) {
    has_visible_ = device_region != nullptr;
    visible_ = device_region ? *device_region : Region();
    base_valid_ = false;
    update_clip();
}

void DC::set_visible_region(Region&& device_region) {
    has_visible_ = true;
    visible_ = std::move(device_region);
    base_valid_ = false;
    update_clip();
}

void DC::select_clip_region(const Region* device_region) {
    has_clip_ = device_region != nullptr;
    clip_ = device_region ? *device_region : Region();
    update_clip();
}

void DC::intersect_clip_rect(const Rect& logical) {
    const Rect dev = shift(logical, viewport_);
    clip_ = has_clip_ ? clip_.intersect(dev) : Region(dev);
    has_clip_ = true;
    update_clip();
}

void DC::exclude_clip_rect(const Rect& logical) {
    const Rect dev = shift(logical, viewport_);
    if (!has_clip_) {
        clip_ = Region(target_->rect().offset(-dc_origin_.x, -dc_origin_.y));
        has_clip_ = true;
    }
    clip_ = clip_.subtract(dev);
    update_clip();
}

Rect DC::clip_box() const {
    const Point o = to_bitmap({0, 0});
    return clip_bounds().empty() ? Rect{} : clip_bounds().offset(-o.x, -o.y);
}

bool DC::rect_visible(const Rect& logical) const {
    const Point o = to_bitmap({0, 0});
    const Rect b = shift(logical, o);
    for (const Rect& c : clips(b)) {
        if (!c.intersect(b).empty()) {
            return true;
        }
    }
    return false;
}

DC::State DC::capture() const {
    return {dc_origin_,  viewport_, pos_,     has_clip_,   clip_, font_,
            text_color_, bk_color_, bk_mode_, text_align_, pen_,  brush_};
}

void DC::apply(const State& s) {
    dc_origin_ = s.dc_origin;
    viewport_ = s.viewport;
    pos_ = s.pos;
    has_clip_ = s.has_clip;
    clip_ = s.clip;
    font_ = s.font;
    text_color_ = s.text_color;
    bk_color_ = s.bk_color;
    bk_mode_ = s.bk_mode;
    text_align_ = s.text_align;
    pen_ = s.pen;
    brush_ = s.brush;
    update_clip();
}

int DC::save() {
    saved_.push_back(capture());
    return static_cast<int>(saved_.size());
}

bool DC::restore(int level) {
    const int depth = static_cast<int>(saved_.size());
    if (level < 0) {
        level = depth + 1 + level;
    }
    if (level < 1 || level > depth) {
        return false;
    }
    apply(saved_[static_cast<size_t>(level - 1)]);
    saved_.resize(static_cast<size_t>(level - 1));
    return true;
}

Font DC::select_font(const Font& f) {
    Font old = font_;
    font_ = f;
    return old;
}

Color DC::set_text_color(Color c) {
    std::swap(text_color_, c);
    return c;
}

Color DC::set_bk_color(Color c) {
    std::swap(bk_color_, c);
    return c;
}

BkMode DC::set_bk_mode(BkMode m) {
    std::swap(bk_mode_, m);
    return m;
}

unsigned DC::set_text_align(unsigned ta) {
    std::swap(text_align_, ta);
    return ta;
}

Pen DC::select_pen(const Pen& p) {
    Pen old = pen_;
    pen_ = p;
    return old;
}

Brush DC::select_brush(const Brush& b) {
    Brush old = brush_;
    brush_ = b;
    return old;
}

// --- Pixels and fills ---------------------------------------------------------------------

Color DC::get_pixel(int x, int y) const {
    const Point p = to_bitmap({x, y});
    for (const Rect& c : clips(p)) {
        if (c.contains(p)) {
            return color_of(target_->pixel(p.x, p.y));
        }
    }
    return 0xFFFFFFFFu;
}

void DC::set_pixel(int x, int y, Color c) {
    const Point p = to_bitmap({x, y});
    for (const Rect& cr : clips(p)) {
        if (cr.contains(p)) {
            target_->set_pixel(p.x, p.y, pixel_of(c));
            return;
        }
    }
}

namespace {

void fill_bitmap_rect(Bitmap& bm, const Rect& r, Pixel p) {
    const int w = r.width();
    const size_t stride = static_cast<size_t>(bm.stride());
    Pixel* row = bm.row(r.top) + r.left;
    for (int y = r.top; y < r.bottom; ++y, row += stride)
        fill_pixels(row, w, p);
}

}  // namespace

void DC::fill_rect(const Rect& r, Color c) {
    if (r.empty()) {
        return;
    }
    const Point o = to_bitmap({0, 0});
    const Rect b = shift(r, o);
    const Pixel p = pixel_of(c);
    for (const Rect& cr : clips(b)) {
        const Rect i = cr.intersect(b);
        if (!i.empty()) {
            fill_bitmap_rect(*target_, i, p);
        }
    }
}

void DC::fill_rect(const Rect& r, const Brush& b) {
    if (b.style == BrushStyle::Solid) {
        fill_rect(r, b.color);
    }
}

void DC::fill_region(const Region& logical, Color c) {
    const Point o = to_bitmap({0, 0});
    const Pixel p = pixel_of(c);
    for (const Rect& rr : logical.rects()) {
        const Rect b = shift(rr, o);
        for (const Rect& cr : clips(b)) {
            const Rect i = cr.intersect(b);
            if (!i.empty()) {
                fill_bitmap_rect(*target_, i, p);
            }
        }
    }
}

void DC::frame_rect(const Rect& r_in, Color c) {
    const Rect r = clamp_rect(r_in);
    if (r.empty()) {
        return;
    }
    fill_rect({r.left, r.top, r.right, r.top + 1}, c);
    fill_rect({r.left, r.bottom - 1, r.right, r.bottom}, c);
    fill_rect({r.left, r.top + 1, r.left + 1, r.bottom - 1}, c);
    fill_rect({r.right - 1, r.top + 1, r.right, r.bottom - 1}, c);
}

void DC::invert_rect(const Rect& r) {
    if (r.empty()) {
        return;
    }
    const Point o = to_bitmap({0, 0});
    const Rect b = shift(r, o);
    for (const Rect& cr : clips(b)) {
        const Rect i = cr.intersect(b);
        for (int y = i.top; y < i.bottom; ++y) {
            Pixel* row = target_->row(y);
            for (int x = i.left; x < i.right; ++x) {
                row[x] ^= kRgbMask;
            }
        }
    }
}

// --- Lines and shapes -----------------------------------------------------------------------

Point DC::move_to(int x, int y) {
    const Point old = pos_;
    pos_ = {x, y};
    return old;
}

void DC::line_to(int x, int y) {
    const Point from = pos_;
    pos_ = {x, y};
    if (pen_.style == PenStyle::Null) {
        return;
    }
    // Bresenham from `from` up to, but not including, (x, y).
    // Lines longer than any screen are not walked.
    if (std::abs(int64_t{x} - from.x) > (1 << 24) || std::abs(int64_t{y} - from.y) > (1 << 24)) {
        return;
    }
    const int w = pen_width(pen_);
    const int half = (w - 1) / 2;
    // Nothing to walk when the line's box, pen included, misses everything drawable.
    const Point o = to_bitmap({0, 0});
    const Rect box{clampc(int64_t{std::min(x, from.x)} + o.x - w),
                   clampc(int64_t{std::min(y, from.y)} + o.y - w),
                   clampc(int64_t{std::max(x, from.x)} + o.x + w + 1),
                   clampc(int64_t{std::max(y, from.y)} + o.y + w + 1)};
    if (box.intersect(clip_bounds()).empty()) {
        return;
    }
    int dx = std::abs(x - from.x);
    int dy = -std::abs(y - from.y);
    const int sx = from.x < x ? 1 : -1;
    const int sy = from.y < y ? 1 : -1;
    int err = dx + dy;
    int cx = from.x;
    int cy = from.y;
    int n = 0;
    while (cx != x || cy != y) {
        bool draw = true;
        if (pen_.style == PenStyle::Dot) {
            draw = (n % 2) == 0;
        } else if (pen_.style == PenStyle::Dash) {
            draw = (n % 8) < 6;
        }
        if (draw) {
            if (w == 1) {
                set_pixel(cx, cy, pen_.color);
            } else {
                const int64_t l = int64_t{cx} - half;
                const int64_t t = int64_t{cy} - half;
                fill_rect({clampc(l), clampc(t), clampc(l + w), clampc(t + w)}, pen_.color);
            }
        }
        ++n;
        const int e2 = 2 * err;
        if (e2 >= dy) {
            err += dy;
            cx += sx;
        }
        if (e2 <= dx) {
            err += dx;
            cy += sy;
        }
    }
}

void DC::polyline(std::span<const Point> pts) {
    if (pts.empty()) {
        return;
    }
    const Point saved = pos_;
    move_to(pts[0].x, pts[0].y);
    for (size_t i = 1; i < pts.size(); ++i) {
        line_to(pts[i].x, pts[i].y);
    }
    pos_ = saved;
}

void DC::rectangle(const Rect& r_in) {
    const Rect r = clamp_rect(r_in);
    if (r.empty()) {
        return;
    }
    if (pen_.style == PenStyle::Null) {
        fill_rect({r.left, r.top, r.right - 1, r.bottom - 1}, brush_);
        return;
    }
    const int w = pen_width(pen_);
    fill_rect(r.inflate(-w, -w), brush_);
    if (pen_.style == PenStyle::Solid) {
        // A pen wider than the rectangle still stays inside it.
        fill_rect(Rect{r.left, r.top, r.right, r.top + w}.intersect(r), pen_.color);
        fill_rect(Rect{r.left, r.bottom - w, r.right, r.bottom}.intersect(r), pen_.color);
        fill_rect(Rect{r.left, r.top + w, r.left + w, r.bottom - w}.intersect(r), pen_.color);
        fill_rect(Rect{r.right - w, r.top + w, r.right, r.bottom - w}.intersect(r), pen_.color);
    } else {
        const Point pts[] = {{r.left, r.top},
                             {r.right - 1, r.top},
                             {r.right - 1, r.bottom - 1},
                             {r.left, r.bottom - 1},
                             {r.left, r.top}};
        polyline(pts);
    }
}

namespace {

// Shapes are limited to a size a screen can show; larger ones draw nothing.
bool shape_ok(const Rect& r) {
    return !r.empty() && r.width() <= (1 << 15) && r.height() <= (1 << 15);
}

}  // namespace

// A round shape row by row: the brush inside the inner extent, the pen over what the outer
// extent has beyond it (with no pen the brush takes the whole of it). The rows come worked out
// from the span cache. A shape inside one clip rectangle (an indicator among a group's
// controls) is filled straight; otherwise only the rows the clip lets through are visited, and
// each is cut by the clip rectangles of its band, so a large frame drawn through a small clip
// costs a few rows.
void DC::fill_round_shape(const Rect& box, int pen_w, const ShapeSpans& spans) {
    const Region& clip = effective_clip();
    const Rect cb = clip.bounds();
    if (cb.empty()) {
        return;
    }
    const Point o = to_bitmap({0, 0});
    const bool solid = brush_.style == BrushStyle::Solid;
    const Pixel brush = pixel_of(brush_.color);
    const Pixel pen = pixel_of(pen_.color);
    // Draws the row's brush and pen parts through `fill` (logical columns).
    const auto row_parts = [&](int y, auto&& fill) {
        const size_t i = static_cast<size_t>(y - box.top);
        const RowSpan out = spans.outer[i];
        const RowSpan in = spans.inner[i];
        if (solid && !in.empty()) {
            fill(in.left, in.right, brush);
        }
        if (!pen_w || out.empty()) {
            return;
        }
        if (in.empty()) {
            fill(out.left, out.right, pen);
            return;
        }
        fill(out.left, std::min(out.right, in.left), pen);
        fill(std::max(out.left, in.right), out.right, pen);
    };
    const Rect bb = shift(box, o);
    for (const Rect& c : clip.rects_near(bb)) {
        if (!c.encloses(bb))
            continue;
        for (int y = box.top; y < box.bottom; ++y) {
            Pixel* row = target_->row(y + o.y) + o.x;
            row_parts(y, [row](int l, int r, Pixel p) {
                for (int x = l; x < r; ++x)
                    row[x] = p;
            });
        }
        return;
    }
    const int top = std::max<int64_t>(box.top, int64_t{cb.top} - o.y);
    const int bottom = std::min<int64_t>(box.bottom, int64_t{cb.bottom} - o.y);
    for (int y = top; y < bottom; ++y) {
        const int by = y + o.y;
        const std::span<const Rect> band = clip.rects_near({cb.left, by, cb.right, by + 1});
        Pixel* row = target_->row(by);
        // Logical [l, r) on this row, cut to each clip rectangle of the row's band.
        row_parts(y, [&](int l, int r, Pixel p) {
            const int64_t bl = int64_t{l} + o.x;
            const int64_t br = int64_t{r} + o.x;
            if (br <= cb.left || bl >= cb.right)
                return;  // beside the clip, as a frame's sides are beside a child's area
            for (const Rect& c : band) {
                const int64_t a = std::max<int64_t>(bl, c.left);
                const int64_t b = std::min<int64_t>(br, c.right);
                if (a < b)
                    std::fill(row + a, row + b, p);
            }
        });
    }
}

void DC::round_rect(const Rect& r_in, int corner_w, int corner_h) {
    const Rect r = clamp_rect(r_in);
    if (!shape_ok(r)) {
        return;
    }
    const int w = pen_.style == PenStyle::Null ? 0 : pen_width(pen_);
    fill_round_shape(r, w, shape_spans(RoundShape::RoundRect, r, w, corner_w, corner_h));
}

void DC::ellipse(const Rect& r_in) {
    const Rect r = clamp_rect(r_in);
    if (!shape_ok(r)) {
        return;
    }
    const int w = pen_.style == PenStyle::Null ? 0 : pen_width(pen_);
    fill_round_shape(r, w, shape_spans(RoundShape::Ellipse, r, w, 0, 0));
}

// --- 3-D edges and focus ----------------------------------------------------------------------

bool DC::draw_edge(Rect& r, unsigned edge, unsigned flags, const EdgeColors& c) {
    const unsigned outer = edge & (BDR_RAISEDOUTER | BDR_SUNKENOUTER);
    const unsigned inner = edge & (BDR_RAISEDINNER | BDR_SUNKENINNER);
    if (outer == (BDR_RAISEDOUTER | BDR_SUNKENOUTER) ||
        inner == (BDR_RAISEDINNER | BDR_SUNKENINNER)) {
        return false;
    }
    struct Ring {
        Color top_left, bottom_right;
    };
    Ring rings[2];
    int count = 0;
    if (flags & BF_MONO) {
        if (outer)
            rings[count++] = {c.frame, c.frame};
        if (inner)
            rings[count++] = {c.window, c.window};
    } else if (flags & BF_FLAT) {
        if (outer)
            rings[count++] = {c.shadow, c.shadow};
        if (inner)
            rings[count++] = {c.face, c.face};
    } else {
        const bool soft = (flags & BF_SOFT) != 0;
        if (outer == BDR_RAISEDOUTER) {
            rings[count++] = {soft ? c.highlight : c.light, c.dark_shadow};
        } else if (outer == BDR_SUNKENOUTER) {
            rings[count++] = {soft ? c.dark_shadow : c.shadow, c.highlight};
        }
        if (inner == BDR_RAISEDINNER) {
            rings[count++] = {soft ? c.light : c.highlight, c.shadow};
        } else if (inner == BDR_SUNKENINNER) {
            rings[count++] = {soft ? c.shadow : c.dark_shadow, c.light};
        }
    }
    Rect x = clamp_rect(r);
    for (int i = 0; i < count && !x.empty(); ++i) {
        const Ring& ring = rings[i];
        if (flags & BF_TOP)
            fill_rect({x.left, x.top, x.right - 1, x.top + 1}, ring.top_left);
        if (flags & BF_LEFT)
            fill_rect({x.left, x.top, x.left + 1, x.bottom - 1}, ring.top_left);
        if (flags & BF_BOTTOM)
            fill_rect({x.left, x.bottom - 1, x.right, x.bottom}, ring.bottom_right);
        if (flags & BF_RIGHT)
            fill_rect({x.right - 1, x.top, x.right, x.bottom}, ring.bottom_right);
        if (flags & BF_LEFT)
            ++x.left;
        if (flags & BF_TOP)
            ++x.top;
        if (flags & BF_RIGHT)
            --x.right;
        if (flags & BF_BOTTOM)
            --x.bottom;
    }
    if (flags & BF_MIDDLE) {
        fill_rect(x, (flags & (BF_FLAT | BF_MONO)) ? c.window : c.face);
    }
    if (flags & BF_ADJUST) {
        r = x;
    }
    return true;
}

void DC::draw_focus_rect(const Rect& r_in) {
    const Rect r = clamp_rect(r_in);
    if (r.empty() || r.width() > (1 << 16) || r.height() > (1 << 16)) {
        return;
    }
    auto toggle = [&](int x, int y) {
        const Point p = to_bitmap({x, y});
        for (const Rect& cr : clips(p)) {
            if (cr.contains(p)) {
                target_->row(p.y)[p.x] ^= kRgbMask;
                return;
            }
        }
    };
    // Every other pixel of the border, on the checkerboard that starts at the top-left corner.
    const int w = r.width();
    const int h = r.height();
    for (int x = 0; x < w; ++x) {
        if (x % 2 == 0)
            toggle(r.left + x, r.top);
        if (h > 1 && (x + h - 1) % 2 == 0)
            toggle(r.left + x, r.bottom - 1);
    }
    for (int y = 1; y < h - 1; ++y) {
        if (y % 2 == 0)
            toggle(r.left, r.top + y);
        if (w > 1 && (w - 1 + y) % 2 == 0)
            toggle(r.right - 1, r.top + y);
    }
}

// --- Blits --------------------------------------------------------------------------------------

void DC::bit_blt(int x, int y, int w, int h, const Bitmap& src, int sx, int sy, Rop rop) {
    if (w <= 0 || h <= 0) {
        return;
    }
    const Point o = to_bitmap({x, y});
    Rect dst = xywh(o, w, h);
    if (!rop_uses_source(rop)) {
        for (const Rect& cr : clips(dst)) {
            const Rect i = cr.intersect(dst);
            if (i.empty())
                continue;
            if (rop == Rop::DstInvert) {
                for (int yy = i.top; yy < i.bottom; ++yy) {
                    Pixel* row = target_->row(yy);
                    for (int xx = i.left; xx < i.right; ++xx)
                        row[xx] ^= kRgbMask;
                }
            } else {
                const Pixel p = rop == Rop::Blackness   ? kOpaque
                                : rop == Rop::Whiteness ? 0xFFFFFFFFu
                                                        : pixel_of(brush_.color);
                fill_bitmap_rect(*target_, i, p);
            }
        }
        return;
    }
    // Only the part whose source lies inside the source bitmap is copied.
    const int dx = clampc(int64_t{sx} - dst.left);
    const int dy = clampc(int64_t{sy} - dst.top);
    dst = dst.intersect(shift(src.rect(), {-dx, -dy}));
    if (dst.empty()) {
        return;
    }
    // Copying within one bitmap downwards must run bottom-up so rows are read before written.
    const bool same = &src == target_;
    const bool bottom_up = same && dy < 0;
    for (const Rect& cr : clips(dst)) {
        const Rect i = cr.intersect(dst);
        if (i.empty())
            continue;
        const int n = i.width();
        for (int k = 0; k < i.height(); ++k) {
            const int yy = bottom_up ? i.bottom - 1 - k : i.top + k;
            rop_row(target_->row(yy) + i.left, src.row(yy + dy) + i.left + dx, n, rop);
        }
    }
}

void DC::bit_blt(int x, int y, int w, int h, const DC& src, int sx, int sy, Rop rop) {
    const Point s = src.to_bitmap({sx, sy});
    bit_blt(x, y, w, h, *src.target_, s.x, s.y, rop);
}

void DC::stretch_blt(int x, int y, int w, int h, const Bitmap& src, int sx, int sy, int sw, int sh,
                     Rop rop) {
    if (w == 0 || h == 0 || sw == 0 || sh == 0) {
        return;
    }
    bool mdx, mdy, msx, msy;
    const Rect d = normalize(x, y, w, h, mdx, mdy);
    const Rect s = normalize(sx, sy, sw, sh, msx, msy);
    if (d.width() == s.width() && d.height() == s.height() && mdx == msx && mdy == msy && !mdx &&
        !mdy) {
        bit_blt(d.left, d.top, d.width(), d.height(), src, s.left, s.top, rop);
        return;
    }
    if (!rop_uses_source(rop)) {
        bit_blt(d.left, d.top, d.width(), d.height(), src, 0, 0, rop);
        return;
    }
    const Point o = to_bitmap({0, 0});
    const Rect db = shift(d, o);
    // Work only on the visible part of the destination.
    const Rect visible = db.intersect(clip_bounds());
    if (visible.empty()) {
        return;
    }
    if (&src == target_) {
        const Bitmap copy = src;
        stretch_blt(x, y, w, h, copy, sx, sy, sw, sh, rop);
        return;
    }
    const StretchMap xmap(visible.left - db.left, visible.width(), d.width(), s.left, s.width(),
                          mdx != msx, src.width());
    const StretchMap ymap(visible.top - db.top, visible.height(), d.height(), s.top, s.height(),
                          mdy != msy, src.height());
    // A row that takes the same source row as the one above it is that row again, when every
    // column has a source pixel: stretched down, most rows are copies.
    const bool whole_rows = rop == Rop::SrcCopy && xmap.all_inside();
    for (const Rect& cr : clips(visible)) {
        const Rect i = cr.intersect(visible);
        if (i.empty())
            continue;
        int above = -1;  // the source row of the row above, when it was drawn
        for (int yy = i.top; yy < i.bottom; ++yy) {
            const int syy = ymap[static_cast<size_t>(yy - visible.top)];
            if (syy < 0) {
                above = -1;
                continue;
            }
            Pixel* drow = target_->row(yy);
            if (whole_rows && syy == above) {
                std::memcpy(drow + i.left, target_->row(yy - 1) + i.left,
                            sizeof(Pixel) * static_cast<size_t>(i.width()));
                continue;
            }
            above = syy;
            const Pixel* srow = src.row(syy);
            const int* xm = xmap.data() + (i.left - visible.left);
            if (whole_rows) {
                // The map runs one way or the other (mirrored): its ends bound it.
                const int last = xm[i.width() - 1];
                stretch_row(drow + i.left, i.width(), srow, xm, std::min(xm[0], last),
                            std::max(xm[0], last) + 1);
            } else if (rop == Rop::SrcCopy) {
                for (int xx = i.left; xx < i.right; ++xx, ++xm) {
                    if (*xm >= 0)
                        drow[xx] = srow[*xm];
                }
            } else {
                for (int xx = i.left; xx < i.right; ++xx, ++xm) {
                    if (*xm >= 0)
                        combine_pixel(drow[xx], srow[*xm], rop);
                }
            }
        }
    }
}

void DC::stretch_blt(int x, int y, int w, int h, const DC& src, int sx, int sy, int sw, int sh,
                     Rop rop) {
    const Point s = src.to_bitmap({sx, sy});
    stretch_blt(x, y, w, h, *src.target_, s.x, s.y, sw, sh, rop);
}

void DC::transparent_blt(int x, int y, int w, int h, const Bitmap& src, int sx, int sy, int sw,
                         int sh, Color key) {
    if (w <= 0 || h <= 0 || sw <= 0 || sh <= 0) {
        return;
    }
    if (&src == target_) {
        const Bitmap copy = src;
        transparent_blt(x, y, w, h, copy, sx, sy, sw, sh, key);
        return;
    }
    const Point o = to_bitmap({x, y});
    const Rect db = xywh(o, w, h);
    const Rect visible = db.intersect(clip_bounds());
    if (visible.empty()) {
        return;
    }
    // The image's runs of pixels that are not the key: those are copied, the rest left out.
    const KeyRuns& runs = src.key_runs(key);
    const Pixel key_pixel = pixel_of(key) & kRgbMask;
    if (w == sw && h == sh) {
        // Unscaled: each run that meets the copied columns is one straight copy.
        const int64_t dx = int64_t{sx} - db.left;
        const int64_t dy = int64_t{sy} - db.top;
        const Rect inside = db.intersect(shift(src.rect(), {clampc(-dx), clampc(-dy)}));
        for (const Rect& cr : clips(inside)) {
            const Rect i = cr.intersect(inside);
            if (i.empty())
                continue;
            const int s0 = static_cast<int>(i.left + dx);
            const int s1 = static_cast<int>(i.right + dx);
            for (int yy = i.top; yy < i.bottom; ++yy) {
                const int syy = static_cast<int>(yy + dy);
                const Pixel* srow = src.row(syy);
                Pixel* drow = target_->row(yy);
                for (const KeyRuns::Run& run : runs.row(syy)) {
                    if (run.end <= s0)
                        continue;
                    if (run.begin >= s1)
                        break;
                    const int a = std::max(run.begin, s0);
                    const int b = std::min(run.end, s1);
                    std::memcpy(drow + (a - dx), srow + a,
                                sizeof(Pixel) * static_cast<size_t>(b - a));
                }
            }
        }
        return;
    }
    const StretchMap xmap(visible.left - db.left, visible.width(), db.width(), sx, sw, false,
                          src.width());
    const StretchMap ymap(visible.top - db.top, visible.height(), db.height(), sy, sh, false,
                          src.height());
    // A row drawn whole (no key colour met, every column inside the source) is copied to the
    // rows below it that take the same source row, as a stretched centre's rows are.
    const bool inside = xmap.all_inside();
    for (const Rect& cr : clips(visible)) {
        const Rect i = cr.intersect(visible);
        if (i.empty())
            continue;
        const int* first = xmap.data() + (i.left - visible.left);
        const int n = i.width();
        // The source columns these destination columns take, left to right.
        const int s0 = first[0];
        const int s1 = first[n - 1] + 1;
        int above = -1;  // the source row of the row above, when that row was drawn whole
        for (int yy = i.top; yy < i.bottom; ++yy) {
            const int syy = ymap[static_cast<size_t>(yy - visible.top)];
            if (syy < 0) {
                above = -1;
                continue;
            }
            Pixel* drow = target_->row(yy);
            if (syy == above) {
                std::memcpy(drow + i.left, target_->row(yy - 1) + i.left,
                            sizeof(Pixel) * static_cast<size_t>(n));
                continue;
            }
            const Pixel* srow = src.row(syy);
            Pixel* d = drow + i.left;
            if (inside && runs.opaque(syy, s0, s1)) {
                // No key pixel among the source columns: every column is copied.
                stretch_row(d, n, srow, first, s0, s1);
                above = syy;
                continue;
            }
            for (int c = 0; c < n; ++c) {
                const int xm = first[c];
                if (xm < 0)
                    continue;
                const Pixel p = srow[xm];
                if ((p & kRgbMask) != key_pixel)
                    d[c] = p;
            }
            above = -1;
        }
    }
}

void DC::transparent_blt(int x, int y, int w, int h, const DC& src, int sx, int sy, int sw, int sh,
                         Color key) {
    const Point s = src.to_bitmap({sx, sy});
    transparent_blt(x, y, w, h, *src.target_, s.x, s.y, sw, sh, key);
}

}  // namespace gdi
