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

void part(gdi::DC& dc, int x, int y, int w, int h, const gdi::Bitmap& src, int sx, int sy, int sw,
          int sh) {
    if (w <= 0 || h <= 0 || sw <= 0 || sh <= 0) {
        return;
    }
    dc.stretch_blt(x, y, w, h, src, sx, sy, sw, sh);
}

}  // namespace

gdi::Bitmap GetHMap(int width, int height, const gdi::Bitmap& image, bool vertical, bool tile,
                    int frame, int state, const gdi::Rect& margins) {
    const gdi::Rect s = state_rect(image, vertical, frame, state);
    if (width <= 0 || height <= 0 || s.empty()) {
        return {};
    }
    int L = std::max(0, margins.left);
    int T = std::max(0, margins.top);
    int R = std::max(0, margins.right);
    int B = std::max(0, margins.bottom);
    if (width < L + R) {
        L = R = 0;
    }
    if (height < T + B) {
        T = B = 0;
    }
    const int W = width;
    const int H = height;
    const int sx = s.left;
    const int sy = s.top;
    const int sw = s.width();
    const int sh = s.height();

    gdi::Bitmap out(W, H);
    if (out.empty()) {
        return out;
    }
    gdi::DC dc(out);
    // Corners, where both of their margins are set.
    if (L > 0 && T > 0) {
        part(dc, 0, 0, L, T, image, sx, sy, L, T);
    }
    if (L > 0 && B > 0) {
        part(dc, 0, H - B, L, B, image, sx, sy + sh - B, L, B);
    }
    if (R > 0 && T > 0) {
        part(dc, W - R, 0, R, T, image, sx + sw - R, sy, R, T);
    }
    if (L > 0) {
        part(dc, 0, T, L, H - T - B, image, sx, sy + T, L, sh - T - B);
    }
    if (T > 0) {
        part(dc, L, 0, W - L - R, T, image, sx + L, sy, sw - L - R, T);
    }
    // Centre.
    const int cw = sw - L - R;
    const int ch = sh - T - B;
    if (tile) {
        if (cw > 0 && ch > 0) {
            for (int y = T; y < H - B; y += ch) {
                for (int x = L; x < W - R; x += cw) {
                    dc.bit_blt(x, y, cw, ch, image, sx + L, sy + T);
                }
            }
        }
    } else {
        part(dc, L, T, W - L - R, H - T - B, image, sx + L, sy + T, cw, ch);
    }
    if (R > 0 && B > 0) {
        part(dc, W - R, H - B, R, B, image, sx + sw - R, sy + sh - B, R, B);
    }
    if (R > 0) {
        part(dc, W - R, T, R, H - T - B, image, sx + sw - R, sy + T, R, sh - T - B);
    }
    if (B > 0) {
        part(dc, L, H - B, W - L - R, B, image, sx + L, sy + sh - B, sw - L - R, B);
    }
    return out;
}

void DrawRect2(gdi::DC& dc, const gdi::Rect& dest, const gdi::Bitmap& image, bool vertical,
               bool tile, bool transparent, int frame, int state, const gdi::Rect& margins) {
    if (dest.right < dest.left || dest.bottom < dest.top) {
        return;
    }
    const gdi::Bitmap map =
        GetHMap(dest.width(), dest.height(), image, vertical, tile, frame, state, margins);
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
