#include "skin/skin_draw.h"

#include <algorithm>

#include "skin/skin_elements.h"

namespace skin {

gdi::Rect state_rect(const gdi::Bitmap& image, bool vertical, int frame, int state) {
    const int f = std::max(1, frame);
    const int k = std::clamp(state, 1, f);
    if (vertical) {
        const int h = image.height() / f;
        return gdi::Rect::from_xywh(0, (k - 1) * h, image.width(), h);
    }
    const int w = image.width() / f;
    return gdi::Rect::from_xywh((k - 1) * w, 0, w, image.height());
}

namespace {

// Where the nine pieces of one state image go: the state image and the margins that fit.
struct Slices {
    gdi::Rect s;  // the state image in the element image
    int L = 0, T = 0, R = 0, B = 0;
    int W = 0, H = 0;
};

// False when there is nothing to draw.
bool slice(int width, int height, const gdi::Bitmap& image, bool vertical, int frame, int state,
           const gdi::Rect& margins, Slices& out) {
    out.s = state_rect(image, vertical, frame, state);
    if (width <= 0 || height <= 0 || out.s.empty()) {
        return false;
    }
    out.L = std::max(0, margins.left);
    out.T = std::max(0, margins.top);
    out.R = std::max(0, margins.right);
    out.B = std::max(0, margins.bottom);
    if (width < out.L + out.R) {
        out.L = out.R = 0;
    }
    if (height < out.T + out.B) {
        out.T = out.B = 0;
    }
    out.W = width;
    out.H = height;
    return true;
}

// Whether every piece has pixels of its own inside the state image, so that the pieces cover
// the whole destination.
bool covers(const Slices& p) {
    return p.L + p.R < p.s.width() && p.T + p.B < p.s.height();
}

// Draws the pieces at (x0, y0), in the order top-left, bottom-left, top-right, left, top,
// centre, bottom-right, right, bottom; `transparent` leaves magenta source pixels out.
void draw_slices(gdi::DC& dc, int x0, int y0, const Slices& p, const gdi::Bitmap& image, bool tile,
                 bool transparent) {
    auto part = [&](int x, int y, int w, int h, int sx, int sy, int sw, int sh) {
        if (w <= 0 || h <= 0 || sw <= 0 || sh <= 0) {
            return;
        }
        if (transparent) {
            dc.transparent_blt(x0 + x, y0 + y, w, h, image, sx, sy, sw, sh, gdi::kMagenta);
        } else {
            dc.stretch_blt(x0 + x, y0 + y, w, h, image, sx, sy, sw, sh);
        }
    };
    const int L = p.L, T = p.T, R = p.R, B = p.B, W = p.W, H = p.H;
    const int sx = p.s.left;
    const int sy = p.s.top;
    const int sw = p.s.width();
    const int sh = p.s.height();
    // Corners, where both of their margins are set.
    if (L > 0 && T > 0) {
        part(0, 0, L, T, sx, sy, L, T);
    }
    if (L > 0 && B > 0) {
        part(0, H - B, L, B, sx, sy + sh - B, L, B);
    }
    if (R > 0 && T > 0) {
        part(W - R, 0, R, T, sx + sw - R, sy, R, T);
    }
    if (L > 0) {
        part(0, T, L, H - T - B, sx, sy + T, L, sh - T - B);
    }
    if (T > 0) {
        part(L, 0, W - L - R, T, sx + L, sy, sw - L - R, T);
    }
    // Centre: tiles at their natural size, the last of a row or column cut at the centre's
    // edge, or one stretched piece.
    const int cw = sw - L - R;
    const int ch = sh - T - B;
    if (tile) {
        if (cw > 0 && ch > 0) {
            for (int y = T; y < H - B; y += ch) {
                const int h = std::min(ch, H - B - y);
                for (int x = L; x < W - R; x += cw) {
                    const int w = std::min(cw, W - R - x);
                    part(x, y, w, h, sx + L, sy + T, w, h);
                }
            }
        }
    } else {
        part(L, T, W - L - R, H - T - B, sx + L, sy + T, cw, ch);
    }
    if (R > 0 && B > 0) {
        part(W - R, H - B, R, B, sx + sw - R, sy + sh - B, R, B);
    }
    if (R > 0) {
        part(W - R, T, R, H - T - B, sx + sw - R, sy + T, R, sh - T - B);
    }
    if (B > 0) {
        part(L, H - B, W - L - R, B, sx + L, sy + sh - B, sw - L - R, B);
    }
}

gdi::NinePiece pieces_of(const Slices& p, bool tile) {
    gdi::NinePiece n;
    n.source = p.s;
    n.left = p.L;
    n.top = p.T;
    n.right = p.R;
    n.bottom = p.B;
    n.tile = tile;
    return n;
}

}  // namespace

gdi::Bitmap GetHMap(int width, int height, const gdi::Bitmap& image, bool vertical, bool tile,
                    int frame, int state, const gdi::Rect& margins) {
    Slices p;
    if (!slice(width, height, image, vertical, frame, state, margins, p)) {
        return {};
    }
    gdi::Bitmap out(p.W, p.H);
    if (out.empty()) {
        return out;
    }
    gdi::DC dc(out);
    draw_slices(dc, 0, 0, p, image, tile, false);
    return out;
}

void DrawRect2(gdi::DC& dc, const gdi::Rect& dest, const gdi::Bitmap& image, bool vertical,
               bool tile, bool transparent, int frame, int state, const gdi::Rect& margins) {
    if (dest.right < dest.left || dest.bottom < dest.top) {
        return;
    }
    Slices p;
    if (!slice(dest.width(), dest.height(), image, vertical, frame, state, margins, p)) {
        return;
    }
    // The pieces go straight into the destination (through its clip, so a large element
    // behind child windows costs only what shows); no picture of the whole size is made.
    // Margins as large as the state image leave parts of the picture uncovered, black: those
    // are composed first, as the picture is.
    if (covers(p)) {
        // The pieces lie side by side: one pass over the destination draws them all.
        if (!dc.draw_nine_piece(dest, image, pieces_of(p, tile),
                                transparent ? gdi::KeyMode::LeaveOut : gdi::KeyMode::Copy)) {
            draw_slices(dc, dest.left, dest.top, p, image, tile, transparent);
        }
        return;
    }
    const gdi::Bitmap map = GetHMap(p.W, p.H, image, vertical, tile, frame, state, margins);
    if (map.empty()) {
        return;
    }
    if (transparent) {
        dc.transparent_blt(dest.left, dest.top, map.width(), map.height(), map, 0, 0, map.width(),
                           map.height(), gdi::kMagenta);
    } else {
        dc.bit_blt(dest.left, dest.top, map.width(), map.height(), map, 0, 0);
    }
}

bool DrawRect2Over(gdi::DC& dc, const gdi::Rect& dest, const gdi::Bitmap& image, bool vertical,
                   bool tile, bool transparent, int frame, int state, const gdi::Rect& margins,
                   gdi::Color under) {
    if (dest.right < dest.left || dest.bottom < dest.top) {
        return false;
    }
    Slices p;
    if (!slice(dest.width(), dest.height(), image, vertical, frame, state, margins, p) ||
        !covers(p)) {
        return false;
    }
    // Transparent pixels take the colour underneath; an opaque element covers it all.
    return dc.draw_nine_piece(dest, image, pieces_of(p, tile),
                              transparent ? gdi::KeyMode::ShowColour : gdi::KeyMode::Copy,
                              gdi::kMagenta, under);
}

void DrawElement(gdi::DC& dc, const gdi::Rect& dest, const TDataSkinObject& element, int state,
                 bool vertical) {
    DrawRect2(dc, dest, element.Map, vertical, element.Tile == 1, element.trans == 1, element.frame,
              state, element.r);
}

void DrawRect1(gdi::DC& dc, const gdi::Rect& dest, const gdi::Bitmap& image, int frame, int state,
               bool transparent, bool vertical) {
    const gdi::Rect s = state_rect(image, vertical, frame, state);
    if (dest.empty() || s.empty()) {
        return;
    }
    if (transparent) {
        dc.transparent_blt(dest.left, dest.top, dest.width(), dest.height(), image, s.left, s.top,
                           s.width(), s.height(), gdi::kMagenta);
    } else {
        dc.stretch_blt(dest.left, dest.top, dest.width(), dest.height(), image, s.left, s.top,
                       s.width(), s.height());
    }
}

void DrawRect3(gdi::DC& dc, const gdi::Rect& dest, const gdi::Bitmap& image, int frame, int state,
               bool transparent, bool vertical) {
    const gdi::Rect s = state_rect(image, vertical, frame, state);
    if (dest.right < dest.left || dest.bottom < dest.top || s.empty()) {
        return;
    }
    const int x = dest.left + (dest.width() - s.width()) / 2;
    const int y = dest.top + (dest.height() - s.height()) / 2;
    if (transparent) {
        dc.transparent_blt(x, y, s.width(), s.height(), image, s.left, s.top, s.width(), s.height(),
                           gdi::kMagenta);
    } else {
        dc.bit_blt(x, y, s.width(), s.height(), image, s.left, s.top);
    }
}

void DrawTranmap(gdi::DC& dc, int x, int y, const gdi::Bitmap& image) {
    if (image.empty()) {
        return;
    }
    dc.transparent_blt(x, y, image.width(), image.height(), image, 0, 0, image.width(),
                       image.height(), gdi::kMagenta);
}

}  // namespace skin
