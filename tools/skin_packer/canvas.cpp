#include "tools/skin_packer/canvas.h"

#include <algorithm>
#include <cmath>

namespace skin_art {

Bitmap make(int w, int h, Color fill_color) {
    return Bitmap(w, h, gdi::pixel_of(fill_color));
}

void fill(Bitmap& b, const Rect& r, Color c) {
    const Rect a = r.intersect(b.rect());
    for (int y = a.top; y < a.bottom; ++y) {
        for (int x = a.left; x < a.right; ++x) {
            b.set_color(x, y, c);
        }
    }
}

Color mix(Color a, Color b, int p) {
    auto m = [p](int x, int y) { return static_cast<uint8_t>((x * (100 - p) + y * p + 50) / 100); };
    return gdi::rgb(m(gdi::red_of(a), gdi::red_of(b)), m(gdi::green_of(a), gdi::green_of(b)),
                    m(gdi::blue_of(a), gdi::blue_of(b)));
}

void vgradient(Bitmap& b, const Rect& r, Color top, Color bottom) {
    const int h = r.height();
    for (int y = r.top; y < r.bottom; ++y) {
        const int p = h <= 1 ? 0 : (y - r.top) * 100 / (h - 1);
        hline(b, r.left, r.right, y, mix(top, bottom, p));
    }
}

void hgradient(Bitmap& b, const Rect& r, Color left, Color right) {
    const int w = r.width();
    for (int x = r.left; x < r.right; ++x) {
        const int p = w <= 1 ? 0 : (x - r.left) * 100 / (w - 1);
        vline(b, x, r.top, r.bottom, mix(left, right, p));
    }
}

void hline(Bitmap& b, int x0, int x1, int y, Color c) {
    for (int x = x0; x < x1; ++x) {
        b.set_color(x, y, c);
    }
}

void vline(Bitmap& b, int x, int y0, int y1, Color c) {
    for (int y = y0; y < y1; ++y) {
        b.set_color(x, y, c);
    }
}

void frame(Bitmap& b, const Rect& r, Color c) {
    hline(b, r.left, r.right, r.top, c);
    hline(b, r.left, r.right, r.bottom - 1, c);
    vline(b, r.left, r.top, r.bottom, c);
    vline(b, r.right - 1, r.top, r.bottom, c);
}

namespace {

// How far a pixel lies inside the rounded rectangle: <0 outside, [0,1) on the border ring,
// [1,2) on the second ring, larger inside.
double depth(const Rect& r, int radius, int x, int y) {
    const double px = x + 0.5;
    const double py = y + 0.5;
    const double edge = std::min({px - r.left, r.right - px, py - r.top, r.bottom - py});
    if (radius <= 0) {
        return edge - 0.5;
    }
    const double cx = std::clamp(px, r.left + radius + 0.0, r.right - radius + 0.0);
    const double cy = std::clamp(py, r.top + radius + 0.0, r.bottom - radius + 0.0);
    if (cx == px || cy == py) {
        return edge - 0.5;
    }
    const double d = std::hypot(px - cx, py - cy);
    return radius - d - 0.3;
}

}  // namespace

void box(Bitmap& b, const Rect& r, const BoxStyle& s) {
    const int h = r.height();
    for (int y = r.top; y < r.bottom; ++y) {
        const int p = h <= 1 ? 0 : (y - r.top) * 100 / (h - 1);
        const Color face = mix(s.top, s.bottom, p);
        for (int x = r.left; x < r.right; ++x) {
            const double d = depth(r, s.radius, x, y);
            Color c;
            if (d < 0) {
                c = s.outside;
            } else if (d < 1) {
                c = s.border;
            } else if (d < 2 && s.inner_ring != 0xFFFFFFFFu) {
                c = s.inner_ring;
            } else if (y == r.top + 1 && s.highlight != 0xFFFFFFFFu) {
                c = s.highlight;
            } else {
                c = face;
            }
            b.set_color(x, y, c);
        }
    }
}

void glyph(Bitmap& b, int x, int y, const std::vector<std::string>& rows, Color c, Color soft) {
    for (size_t j = 0; j < rows.size(); ++j) {
        for (size_t i = 0; i < rows[j].size(); ++i) {
            const char ch = rows[j][i];
            if (ch == '#') {
                b.set_color(x + static_cast<int>(i), y + static_cast<int>(j), c);
            } else if (ch == '+' && soft != 0xFFFFFFFFu) {
                b.set_color(x + static_cast<int>(i), y + static_cast<int>(j), soft);
            }
        }
    }
}

void glyph_centred(Bitmap& b, const Rect& r, const std::vector<std::string>& rows, Color c,
                   Color soft) {
    const int gw = rows.empty() ? 0 : static_cast<int>(rows[0].size());
    const int gh = static_cast<int>(rows.size());
    glyph(b, r.left + (r.width() - gw) / 2, r.top + (r.height() - gh) / 2, rows, c, soft);
}

Bitmap strip(const std::vector<Bitmap>& parts, bool stacked) {
    int w = 0;
    int h = 0;
    for (const Bitmap& p : parts) {
        if (stacked) {
            w = std::max(w, p.width());
            h += p.height();
        } else {
            w += p.width();
            h = std::max(h, p.height());
        }
    }
    Bitmap out = make(w, h);
    int at = 0;
    for (const Bitmap& p : parts) {
        for (int y = 0; y < p.height(); ++y) {
            for (int x = 0; x < p.width(); ++x) {
                if (stacked) {
                    out.set_pixel(x, at + y, p.pixel(x, y));
                } else {
                    out.set_pixel(at + x, y, p.pixel(x, y));
                }
            }
        }
        at += stacked ? p.height() : p.width();
    }
    return out;
}

}  // namespace skin_art
