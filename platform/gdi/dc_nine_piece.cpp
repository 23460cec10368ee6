// Nine-piece drawing of the device context: a skin element's corners, edges and centre in one
// pass over the destination rows, instead of nine blits that each find their clip, their
// stretch maps and their key runs.
#include <algorithm>
#include <cstring>
#include <cwchar>
#include <vector>

#include "platform/gdi/dc.h"

namespace gdi {

namespace {

constexpr Pixel kRgbMask = 0x00FFFFFFu;
// The largest destination drawn in one pass; anything larger is left to the piece-by-piece
// path (no screen is that large).
constexpr int kMaxSide = 1 << 20;

// Source columns of destination columns, kept in place for widths a window can have.
class ColumnMap {
  public:
    explicit ColumnMap(size_t n) {
        if (n > kInPlace)
            heap_.resize(n);
        data_ = n > kInPlace ? heap_.data() : in_place_;
    }
    ColumnMap(const ColumnMap&) = delete;
    ColumnMap& operator=(const ColumnMap&) = delete;
    int* data() { return data_; }

  private:
    static constexpr size_t kInPlace = 2048;
    int in_place_[kInPlace];
    std::vector<int> heap_;
    int* data_ = nullptr;
};

// map[0 .. count - 1]: the source columns of destination positions first .. first + count - 1
// of a stretch of src_len pixels from src_start over dst_len pixels (position k takes
// src_start + k * src_len / dst_len; quotient and remainder carried from one to the next).
void stretch_positions(int* map, int first, int count, int dst_len, int src_start, int src_len) {
    const int64_t len = dst_len;
    int64_t q = int64_t{first} * src_len / len;
    int64_t r = int64_t{first} * src_len % len;
    const int64_t dq = src_len / len;
    const int64_t dr = src_len % len;
    for (int i = 0; i < count; ++i) {
        map[i] = static_cast<int>(src_start + q);
        q += dq;
        r += dr;
        if (r >= len) {
            r -= len;
            ++q;
        }
    }
}

void fill_pixels(Pixel* d, int n, Pixel p) {
    if (n <= 16) {
        for (int k = 0; k < n; ++k)
            d[k] = p;
    } else {
        std::wmemset(reinterpret_cast<wchar_t*>(d), static_cast<wchar_t>(p),
                     static_cast<size_t>(n));
    }
}

// How one run of destination pixels takes its source.
struct RunSource {
    const Pixel* row;  // the source row
    int y;             // its row in the image (for the key runs)
    const int* map;    // the source column of each destination pixel
    bool identity;     // map[k] == map[0] + k
    int s0, s1;        // the source columns the map takes, s0 .. s1 - 1
};

// Copies n pixels without looking at the key. A stretched run whose source columns are one
// colour (element faces are mostly flat along their rows) is a fill.
void copy_run(Pixel* d, int n, const RunSource& s) {
    if (s.identity) {
        std::memcpy(d, s.row + s.map[0], sizeof(Pixel) * static_cast<size_t>(n));
        return;
    }
    const Pixel p = s.row[s.s0];
    if (std::all_of(s.row + s.s0 + 1, s.row + s.s1, [p](Pixel q) { return q == p; })) {
        fill_pixels(d, n, p);
        return;
    }
    for (int k = 0; k < n; ++k)
        d[k] = s.row[s.map[k]];
}

struct KeyRule {
    KeyMode mode = KeyMode::Copy;
    const KeyRuns* runs = nullptr;
    Pixel key = 0;    // the key's colour bits
    Pixel shown = 0;  // the colour key pixels take with KeyMode::ShowColour
};

void draw_run(Pixel* d, int n, const RunSource& s, const KeyRule& k) {
    if (k.mode == KeyMode::Copy) {
        copy_run(d, n, s);
        return;
    }
    const int s0 = s.s0;
    const int s1 = s.s1;
    if (k.runs->opaque(s.y, s0, s1)) {
        copy_run(d, n, s);
        return;
    }
    if (s.identity) {
        // The runs of pixels that are not the key are copied; between them the destination
        // shows through, or takes the colour shown.
        int x = s0;
        for (const KeyRuns::Run& run : k.runs->row(s.y)) {
            if (run.end <= s0)
                continue;
            if (run.begin >= s1)
                break;
            const int a = std::max(run.begin, s0);
            const int b = std::min(run.end, s1);
            if (k.mode == KeyMode::ShowColour && a > x)
                fill_pixels(d + (x - s0), a - x, k.shown);
            std::memcpy(d + (a - s0), s.row + a, sizeof(Pixel) * static_cast<size_t>(b - a));
            x = b;
        }
        if (k.mode == KeyMode::ShowColour && s1 > x)
            fill_pixels(d + (x - s0), s1 - x, k.shown);
        return;
    }
    for (int c = 0; c < n; ++c) {
        const Pixel p = s.row[s.map[c]];
        if ((p & kRgbMask) != k.key)
            d[c] = p;
        else if (k.mode == KeyMode::ShowColour)
            d[c] = k.shown;
    }
}

}  // namespace

bool DC::draw_nine_piece(const Rect& dest, const Bitmap& src, const NinePiece& piece, KeyMode mode,
                         Color key, Color shown) {
    const Rect s = piece.source;
    if (int64_t{dest.right} - dest.left > kMaxSide || int64_t{dest.bottom} - dest.top > kMaxSide)
        return false;
    const int W = dest.width();
    const int H = dest.height();
    if (s.empty() || !src.rect().encloses(s) || !piece.partitions(W, H))
        return false;
    if (&src == target_) {
        const Bitmap copy = src;
        return draw_nine_piece(dest, copy, piece, mode, key, shown);
    }
    const int L = piece.left, T = piece.top, R = piece.right, B = piece.bottom;
    const int cw = s.width() - L - R;  // the source centre
    const int ch = s.height() - T - B;
    const int dcw = W - L - R;  // the destination centre
    const int dch = H - T - B;
    const Point o = to_bitmap({dest.left, dest.top});
    const Rect db{o.x, o.y, o.x + W, o.y + H};
    const Rect visible = db.intersect(clip_bounds());
    if (visible.empty())
        return true;

    // Source columns of the visible destination columns: corners and the left and right
    // edges at their size, the centre stretched (the top and bottom edges' columns too).
    const int vx0 = visible.left - db.left;
    const int vx1 = visible.right - db.left;
    const size_t n = static_cast<size_t>(vx1 - vx0);
    ColumnMap stretched_map(n);
    int* const stretched = stretched_map.data();
    for (int x = vx0; x < std::min(vx1, L); ++x)
        stretched[x - vx0] = s.left + x;
    const int c0 = std::max(vx0, L);
    const int c1 = std::min(vx1, W - R);
    if (c1 > c0)
        stretch_positions(stretched + (c0 - vx0), c0 - L, c1 - c0, dcw, s.left + L, cw);
    for (int x = std::max(vx0, W - R); x < vx1; ++x)
        stretched[x - vx0] = s.right - W + x;
    // A tiled centre repeats the source centre's columns from the centre's left edge.
    ColumnMap tiled_map(piece.tile ? n : 0);
    int* const tiled = tiled_map.data();
    if (piece.tile) {
        for (int x = c0; x < c1; ++x)
            tiled[x - vx0] = s.left + L + (x - L) % cw;
    }

    KeyRule rule;
    rule.mode = mode;
    if (mode != KeyMode::Copy) {
        rule.runs = &src.key_runs(key);
        rule.key = pixel_of(key) & kRgbMask;
        rule.shown = pixel_of(shown);
    }
    const bool centre_identity = dcw == cw;
    const bool centre_rows_identity = dch == ch;
    // Draws destination columns [x0, x1) (local) of bitmap row by, clipped to [a, b).
    auto segment = [&](Pixel* drow, int clip_left, int clip_right, int x0, int x1, int sy,
                       const int* map, bool identity) {
        const int a = std::max(x0 + db.left, clip_left);
        const int b = std::min(x1 + db.left, clip_right);
        if (a >= b)
            return;
        const int* m = map + (a - db.left - vx0);
        const int count = b - a;
        int s0 = m[0];
        int s1 = m[count - 1] + 1;
        if (map == tiled && (count >= cw || s1 <= s0)) {
            // A tiled centre's columns wrap round: the run takes the whole source centre.
            s0 = s.left + L;
            s1 = s.left + L + cw;
        }
        const RunSource rs{src.row(sy), sy, m, identity, s0, s1};
        draw_run(drow + a, count, rs, rule);
    };
    for (const Rect& cr : clips(visible)) {
        const Rect i = cr.intersect(visible);
        if (i.empty())
            continue;
        for (int by = i.top; by < i.bottom; ++by) {
            const int y = by - db.top;
            Pixel* drow = target_->row(by);
            if (y < T || y >= H - B) {
                // Corners and the top or bottom edge: one source row, at its own height.
                const int sy = y < T ? s.top + y : s.bottom - (H - y);
                segment(drow, i.left, i.right, 0, L, sy, stretched, true);
                segment(drow, i.left, i.right, L, W - R, sy, stretched, centre_identity);
                segment(drow, i.left, i.right, W - R, W, sy, stretched, true);
                continue;
            }
            // The left and right edges and the centre, stretched down (or the centre tiled).
            const int k = y - T;
            const int sy =
                s.top + T + (centre_rows_identity ? k : static_cast<int>(int64_t{k} * ch / dch));
            segment(drow, i.left, i.right, 0, L, sy, stretched, true);
            if (piece.tile)
                segment(drow, i.left, i.right, L, W - R, s.top + T + k % ch, tiled, false);
            else
                segment(drow, i.left, i.right, L, W - R, sy, stretched, centre_identity);
            segment(drow, i.left, i.right, W - R, W, sy, stretched, true);
        }
    }
    return true;
}

}  // namespace gdi
