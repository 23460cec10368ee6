// Nine-piece drawing of the device context: a skin element's corners, edges and centre in one
// pass over the destination rows, instead of nine blits that each find their clip, their
// stretch maps and their key runs.
#include <algorithm>
#include <cstring>

#include "platform/gdi/dc.h"
#include "platform/gdi/pixel_row.h"
#include "platform/gdi/stretch_map.h"

namespace gdi {

namespace {

constexpr Pixel kRgbMask = 0x00FFFFFFu;
// The largest destination drawn in one pass; anything larger is left to the piece-by-piece
// path (no screen is that large).
constexpr int kMaxSide = 1 << 20;

// The source positions of one axis of an element (its columns or its rows), for its visible
// positions first .. last - 1 counted from its leading edge: the leading and trailing margins
// at their size, the centre stretched over the rest. For a tiled centre, also the source
// centre's positions repeating from the centre's leading edge (set for the centre only).
// `size` is the element's length on the axis, `lead` and `trail` its margins, and
// source_begin .. source_end - 1 the positions of its cut in the source.
class AxisMap {
  public:
    AxisMap(int first, int last, int size, int lead, int trail, int source_begin, int source_end,
            bool tile)
        : stretched_(static_cast<size_t>(last - first)),
          tiled_(tile ? static_cast<size_t>(last - first) : 0) {
        int* const out = stretched_.data();
        for (int p = first; p < std::min(last, lead); ++p)
            out[p - first] = source_begin + p;
        const int centre = source_end - source_begin - lead - trail;
        const int c0 = std::max(first, lead);
        const int c1 = std::min(last, size - trail);
        if (c1 > c0)
            stretch_positions(out + (c0 - first), c0 - lead, c1 - c0, size - lead - trail,
                              source_begin + lead, centre);
        for (int p = std::max(first, size - trail); p < last; ++p)
            out[p - first] = source_end - size + p;
        if (tile) {
            int* const tiled = tiled_.data();
            for (int p = c0; p < c1; ++p)
                tiled[p - first] = source_begin + lead + (p - lead) % centre;
        }
    }
    AxisMap(const AxisMap&) = delete;
    AxisMap& operator=(const AxisMap&) = delete;

    const int* stretched() const { return stretched_.data(); }
    const int* tiled() const { return tiled_.data(); }

  private:
    PositionRow stretched_;
    PositionRow tiled_;
};

// A run of destination columns inside one clip rectangle and the source columns it takes,
// the same for every row of its band: worked out once per clip rectangle, not per row.
struct ColumnRun {
    int dst = 0;               // its first column in the bitmap
    int count = 0;             // its width
    const int* map = nullptr;  // the source column of each of its columns
    int s0 = 0, s1 = 0;        // the source columns it takes, s0 .. s1 - 1
    bool straight = false;     // map[k] == s0 + k: a straight copy
    bool tiled = false;        // a tiled centre, taking the centre's own source row
};

struct KeyRule {
    KeyMode mode = KeyMode::Copy;
    const KeyRuns* runs = nullptr;
    Pixel key = 0;    // the key's colour bits
    Pixel shown = 0;  // the colour key pixels take with KeyMode::ShowColour
};

// Copies a run without looking at the key. A stretched run whose source columns are one
// colour (element faces are mostly flat along their rows) is a fill.
void copy_run(Pixel* d, const ColumnRun& c, const Pixel* srow) {
    if (c.straight) {
        std::memcpy(d, srow + c.s0, sizeof(Pixel) * static_cast<size_t>(c.count));
        return;
    }
    stretch_row(d, c.count, srow, c.map, c.s0, c.s1);
}

// Draws a run of source row sy into the destination row, the key left out or shown in its
// colour. Returns whether each of its pixels now depends on the source alone (no destination
// pixel showing through), so that a row below taking the same source rows may be copied from
// it.
bool draw_run(Pixel* drow, const ColumnRun& c, const Pixel* srow, int sy, const KeyRule& k) {
    Pixel* const d = drow + c.dst;
    if (k.runs->opaque(sy, c.s0, c.s1)) {
        copy_run(d, c, srow);
        return true;
    }
    const bool show = k.mode == KeyMode::ShowColour;
    if (c.straight) {
        // The runs of pixels that are not the key are copied; between them the destination
        // shows through, or takes the colour shown.
        int x = c.s0;
        for (const KeyRuns::Run& run : k.runs->row(sy)) {
            if (run.end <= c.s0)
                continue;
            if (run.begin >= c.s1)
                break;
            const int a = std::max(run.begin, c.s0);
            const int b = std::min(run.end, c.s1);
            if (show && a > x)
                fill_pixels(d + (x - c.s0), a - x, k.shown);
            std::memcpy(d + (a - c.s0), srow + a, sizeof(Pixel) * static_cast<size_t>(b - a));
            x = b;
        }
        if (show && c.s1 > x)
            fill_pixels(d + (x - c.s0), c.s1 - x, k.shown);
        return show;
    }
    for (int i = 0; i < c.count; ++i) {
        const Pixel p = srow[c.map[i]];
        if ((p & kRgbMask) != k.key)
            d[i] = p;
        else if (show)
            d[i] = k.shown;
    }
    return show;
}

// The runs of one band of rows (left edge, centre, right edge), cut to a clip rectangle.
// Straight copies that go on where the run before them ends, in the destination and in the
// source, are joined: an element drawn at its own width is one copy per row.
struct BandRuns {
    ColumnRun runs[3];
    int n = 0;
    // The source columns all the runs take, when they take them from one source row (no
    // tiled centre): a row whose span holds no key pixel is copied run by run without more
    // tests.
    int s0 = 0, s1 = 0;
    bool one_row = true;

    // Columns x0 .. x1 - 1 (bitmap) within clip_left .. clip_right - 1, their source columns
    // from map (whose first entry is bitmap column map_left). A tiled centre's run takes the
    // source centre centre_s0 .. centre_s1 - 1.
    void add(int clip_left, int clip_right, int x0, int x1, const int* map, int map_left,
             bool tiled = false, int centre_s0 = 0, int centre_s1 = 0) {
        const int a = std::max(x0, clip_left);
        const int b = std::min(x1, clip_right);
        if (a >= b)
            return;
        ColumnRun c;
        c.dst = a;
        c.count = b - a;
        c.map = map + (a - map_left);
        c.s0 = c.map[0];
        c.s1 = c.map[c.count - 1] + 1;
        // A stretch only moves forward, by the same step give or take one: it is straight
        // when it moves count - 1 columns in count - 1 steps. A tiled centre that wraps round
        // is not, and takes the whole source centre.
        c.straight = c.s1 - c.s0 == c.count;
        c.tiled = tiled;
        one_row = one_row && !tiled;
        if (tiled && !c.straight) {
            c.s0 = centre_s0;
            c.s1 = centre_s1;
        }
        s0 = n == 0 ? c.s0 : std::min(s0, c.s0);
        s1 = n == 0 ? c.s1 : std::max(s1, c.s1);
        if (n > 0) {
            ColumnRun& p = runs[n - 1];
            if (p.straight && c.straight && p.tiled == c.tiled && p.dst + p.count == c.dst &&
                p.s1 == c.s0) {
                p.count += c.count;
                p.s1 = c.s1;
                return;
            }
        }
        runs[n++] = c;
    }
};

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
    const int cw = s.width() - L - R;  // the source centre's width
    const Point o = to_bitmap({dest.left, dest.top});
    const Rect db{o.x, o.y, o.x + W, o.y + H};
    const Rect visible = db.intersect(clip_bounds());
    if (visible.empty())
        return true;

    // Source columns of the visible destination columns: corners and the left and right
    // edges at their size, the centre stretched (the top and bottom edges' columns too).
    const AxisMap columns(visible.left - db.left, visible.right - db.left, W, L, R, s.left, s.right,
                          piece.tile);
    const int* const stretched = columns.stretched();
    KeyRule rule;
    rule.mode = mode;
    if (mode != KeyMode::Copy) {
        rule.runs = &src.key_runs(key);
        rule.key = pixel_of(key) & kRgbMask;
        rule.shown = pixel_of(shown);
    }
    // Source rows of the visible destination rows, worked out once as the columns are: the
    // corner rows at their height, the middle rows stretched down (and, for a tiled centre,
    // the centre's own rows repeating).
    const AxisMap rows(visible.top - db.top, visible.bottom - db.top, H, T, B, s.top, s.bottom,
                       piece.tile);
    const int* const source_rows = rows.stretched();
    const int* const tiled_rows = rows.tiled();
    // Bitmap columns and rows where the pieces meet.
    const int xl = db.left + L;
    const int xr = db.left + W - R;
    const int yt = db.top + T;
    const int yb = db.top + H - B;
    const int map_left = visible.left;
    // Rows y0 .. y1 - 1 (bitmap) of one band, drawn as `runs`. A row taking the same source
    // rows as the row above, when that row took its pixels from the source alone, is a copy
    // of it (a centre stretched down repeats its rows).
    Pixel* const target_pixels = target_->data();
    const size_t target_stride = static_cast<size_t>(target_->stride());
    const Pixel* const src_pixels = src.data();
    const size_t src_stride = static_cast<size_t>(src.stride());
    auto draw_rows = [&](const Rect& i, int y0, int y1, const BandRuns& runs, const int* centre) {
        const size_t row_bytes = sizeof(Pixel) * static_cast<size_t>(i.width());
        bool above_whole = false;
        int above_sy = -1, above_centre_sy = -1;
        for (int by = y0; by < y1; ++by) {
            const size_t k = static_cast<size_t>(by - visible.top);
            const int sy = source_rows[k];
            const int centre_sy = centre ? centre[k] : sy;
            Pixel* const drow = target_pixels + static_cast<size_t>(by) * target_stride;
            if (above_whole && sy == above_sy && centre_sy == above_centre_sy) {
                std::memcpy(drow + i.left, drow + i.left - target_stride, row_bytes);
                continue;
            }
            bool whole = true;
            if (mode == KeyMode::Copy ||
                (runs.one_row && rule.runs->opaque(sy, runs.s0, runs.s1))) {
                // No key pixel to look at: every run is a copy.
                for (int r = 0; r < runs.n; ++r) {
                    const ColumnRun& c = runs.runs[r];
                    const int row_y = c.tiled ? centre_sy : sy;
                    copy_run(drow + c.dst, c, src_pixels + static_cast<size_t>(row_y) * src_stride);
                }
            } else {
                for (int r = 0; r < runs.n; ++r) {
                    const ColumnRun& c = runs.runs[r];
                    const int row_y = c.tiled ? centre_sy : sy;
                    whole &= draw_run(drow, c, src_pixels + static_cast<size_t>(row_y) * src_stride,
                                      row_y, rule);
                }
            }
            above_whole = whole;
            above_sy = sy;
            above_centre_sy = centre_sy;
        }
    };
    for (const Rect& cr : clips(visible)) {
        const Rect i = cr.intersect(visible);
        if (i.empty())
            continue;
        // Corner rows (the top and bottom edges between them) take one source row for all
        // three runs; so do the middle rows unless the centre is tiled.
        BandRuns edge_band;
        edge_band.add(i.left, i.right, db.left, xl, stretched, map_left);
        edge_band.add(i.left, i.right, xl, xr, stretched, map_left);
        edge_band.add(i.left, i.right, xr, db.right, stretched, map_left);
        draw_rows(i, i.top, std::min(i.bottom, yt), edge_band, nullptr);
        if (std::max(i.top, yt) < std::min(i.bottom, yb)) {
            BandRuns middle_band;
            middle_band.add(i.left, i.right, db.left, xl, stretched, map_left);
            if (piece.tile)
                middle_band.add(i.left, i.right, xl, xr, columns.tiled(), map_left, true,
                                s.left + L, s.left + L + cw);
            else
                middle_band.add(i.left, i.right, xl, xr, stretched, map_left);
            middle_band.add(i.left, i.right, xr, db.right, stretched, map_left);
            draw_rows(i, std::max(i.top, yt), std::min(i.bottom, yb), middle_band,
                      piece.tile ? tiled_rows : nullptr);
        }
        draw_rows(i, std::max(i.top, yb), i.bottom, edge_band, nullptr);
    }
    return true;
}

}  // namespace gdi
