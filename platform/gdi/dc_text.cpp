// Text output of the device context: TextOut, DrawText and measuring, on the FreeType faces of
// the FontEngine.
#include <algorithm>
#include <span>
#include <string>

#include "platform/gdi/dc.h"
#include "platform/gdi/font_engine.h"
#include "platform/gdi/glyph_blend.h"

namespace gdi {

namespace {

void fill_clipped(Bitmap& bm, const Region& clip, const Rect& limit, const Rect& r, Pixel p) {
    const Rect a = r.intersect(limit);
    if (a.empty()) {
        return;
    }
    for (const Rect& c : clip.rects_near(a)) {
        const Rect i = c.intersect(a);
        for (int y = i.top; y < i.bottom; ++y) {
            std::fill_n(bm.row(y) + i.left, i.width(), p);
        }
    }
}

// Draws one line of text with its pen starting at x on the given baseline (bitmap
// coordinates), glyphs anti-aliased in `color`, limited to `limit` and the clip rectangles.
// `underline_at` is the byte offset of a character to underline (a mnemonic), or -1.
void draw_run(Bitmap& bm, const Region& clip, const Rect& limit, SizedFont& font,
              std::string_view text, int x, int baseline, Color color, int underline_at) {
    const Pixel colour = pixel_of(color);
    GlyphBlender blender(bm, color);
    const int thickness = std::max(1, font.em() / 14);
    const int start_x = x;
    // The clip rectangle that held the last glyph whole: the next glyph it holds too (nearly
    // every one, as a line's glyphs lie side by side) is drawn without looking up the clip.
    Rect held;
    for (size_t i = 0; i < text.size();) {
        const size_t at = i;
        const Glyph& g = font.glyph(next_code_point(text, i));
        const Rect gr{x + g.left, baseline - g.top, x + g.left + g.width,
                      baseline - g.top + g.height};
        const Rect a = gr.intersect(limit);
        if (a.empty()) {
        } else if (a.left >= held.left && a.right <= held.right && a.top >= held.top &&
                   a.bottom <= held.bottom) {
            blender.draw(g, gr.left, gr.top, a);
        } else {
            const std::span<const Rect> near = clip.rects_near(a);
            for (const Rect& c : near) {
                const Rect r = c.intersect(a);
                if (!r.empty())
                    blender.draw(g, gr.left, gr.top, r);
            }
            if (near.size() == 1 && near[0].intersect(a) == a)
                held = near[0];
        }
        if (static_cast<int>(at) == underline_at) {
            fill_clipped(bm, clip, limit,
                         {x, baseline + 1, x + g.advance, baseline + 1 + thickness}, colour);
        }
        x += g.advance;
    }
    if (font.underline()) {
        fill_clipped(bm, clip, limit, {start_x, baseline + 1, x, baseline + 1 + thickness}, colour);
    }
    if (font.strike_out()) {
        const int y = baseline - font.metrics().ascent / 3;
        fill_clipped(bm, clip, limit, {start_x, y, x, y + thickness}, colour);
    }
}

bool is_wide(char32_t cp) {
    return (cp >= 0x2E80 && cp <= 0x9FFF) || (cp >= 0xAC00 && cp <= 0xD7AF) ||
           (cp >= 0xF900 && cp <= 0xFAFF) || (cp >= 0xFE30 && cp <= 0xFE4F) ||
           (cp >= 0xFF00 && cp <= 0xFFEF) || (cp >= 0x20000 && cp <= 0x3FFFF);
}

struct Line {
    std::string text;
    int underline = -1;  // byte offset within text
    int width = 0;
};

// Removes mnemonic markers: "&x" underlines x, "&&" is a plain '&'.
std::string strip_prefixes(std::string_view in, bool keep_underline, int& underline_at) {
    std::string out;
    underline_at = -1;
    for (size_t i = 0; i < in.size(); ++i) {
        if (in[i] == '&') {
            if (i + 1 < in.size() && in[i + 1] == '&') {
                out += '&';
                ++i;
                continue;
            }
            if (i + 1 < in.size() && keep_underline && underline_at < 0) {
                underline_at = static_cast<int>(out.size());
            }
            continue;
        }
        out += in[i];
    }
    return out;
}

// Splits a paragraph into lines no wider than max_w where it can: breaks go after spaces and
// around wide (CJK) characters; a word wider than the line stays whole.
void wrap(SizedFont& f, const std::string& p, int base, int underline, int max_w,
          std::vector<Line>& out) {
    size_t start = 0;
    auto push = [&](size_t b, size_t e) {
        Line l;
        while (e > b && p[e - 1] == ' ')
            --e;
        l.text = p.substr(b, e - b);
        const int u = underline - base;
        if (u >= static_cast<int>(b) && u < static_cast<int>(e))
            l.underline = u - static_cast<int>(b);
        l.width = f.width_of(l.text);
        out.push_back(std::move(l));
    };
    if (p.empty()) {
        out.push_back({});
        return;
    }
    // A paragraph that fits is one line (no prefix of it can be too wide): measured once,
    // without looking for breaks.
    const int whole = f.width_of(p);
    if (whole <= max_w) {
        if (p.back() != ' ') {
            Line l;
            l.text = p;
            if (underline - base >= 0 && underline - base < static_cast<int>(p.size()))
                l.underline = underline - base;
            l.width = whole;
            out.push_back(std::move(l));
        } else {
            push(0, p.size());
        }
        return;
    }
    while (start < p.size()) {
        int width = 0;
        size_t i = start;
        size_t last_break = 0;  // a break position after start, or 0
        char32_t prev = 0;
        bool broke = false;
        while (i < p.size()) {
            size_t j = i;
            const char32_t cp = next_code_point(p, j);
            const bool candidate =
                i > start && (prev == U' ' || cp == U' ' || is_wide(cp) || is_wide(prev));
            if (candidate)
                last_break = i;
            const int adv = f.glyph(cp).advance;
            if (width + adv > max_w && i > start && cp != U' ') {
                size_t end = last_break;
                if (end == 0) {
                    // No break so far: the word runs on to the next break.
                    end = j;
                    char32_t pc = cp;
                    while (end < p.size()) {
                        size_t k = end;
                        const char32_t c2 = next_code_point(p, k);
                        if (pc == U' ' || c2 == U' ' || is_wide(c2) || is_wide(pc))
                            break;
                        pc = c2;
                        end = k;
                    }
                }
                push(start, end);
                start = end;
                while (start < p.size() && p[start] == ' ')
                    ++start;
                broke = true;
                break;
            }
            width += adv;
            prev = cp;
            i = j;
        }
        if (!broke) {
            push(start, p.size());
            break;
        }
    }
}

// Shortens a line with "..." so that it fits max_w.
void add_ellipsis(SizedFont& f, Line& l, int max_w) {
    if (l.width <= max_w) {
        return;
    }
    const int dots = f.width_of("...");
    int w = 0;
    size_t keep = 0;
    for (size_t i = 0; i < l.text.size();) {
        const size_t at = i;
        const int adv = f.glyph(next_code_point(l.text, i)).advance;
        if (w + adv + dots > max_w) {
            keep = at;
            break;
        }
        w += adv;
        keep = i;
    }
    l.text = l.text.substr(0, keep) + "...";
    if (l.underline >= static_cast<int>(keep))
        l.underline = -1;
    l.width = w + dots;
}

}  // namespace

SizedFont& DC::sized_font() const {
    if (!sized_ || !(sized_for_ == font_)) {
        sized_ = &FontEngine::instance().get(font_);
        sized_for_ = font_;
    }
    return *sized_;
}

Size DC::get_text_extent(std::string_view utf8) const {
    SizedFont& f = sized_font();
    return {f.width_of(utf8), f.metrics().height};
}

TextMetrics DC::get_text_metrics() const {
    return sized_font().metrics();
}

void DC::text_out(int x, int y, std::string_view utf8) {
    SizedFont& f = sized_font();
    const TextMetrics& m = f.metrics();
    const int w = f.width_of(utf8);
    if ((text_align_ & TA_CENTER) == TA_CENTER) {
        x -= w / 2;
    } else if (text_align_ & TA_RIGHT) {
        x -= w;
    }
    if ((text_align_ & TA_BASELINE) == TA_BASELINE) {
        y -= m.ascent;
    } else if (text_align_ & TA_BOTTOM) {
        y -= m.height;
    }
    const Point o = to_bitmap({x, y});
    const Rect everything{-(1 << 30), -(1 << 30), 1 << 30, 1 << 30};
    if (bk_mode_ == BkMode::Opaque) {
        fill_clipped(*target_, effective_clip(), everything, {o.x, o.y, o.x + w, o.y + m.height},
                     pixel_of(bk_color_));
    }
    draw_run(*target_, effective_clip(), everything, f, utf8, o.x, o.y + m.ascent, text_color_, -1);
}

// The lines of a text laid out for a rectangle, before they are placed.
struct DC::TextLines {
    SizedFont* font = nullptr;  // the font they were laid out in
    std::vector<Line> lines;
    int widest = 0;
    int total = 0;  // lines x line height
};

void DC::lay_out(std::string_view utf8, const Rect& r, unsigned format, TextLines& out) const {
    SizedFont& f = sized_font();
    out.font = &f;
    const int lh = f.metrics().height;
    const bool single = format & DT_SINGLELINE;
    int underline = -1;
    std::string text;
    if (format & DT_NOPREFIX) {
        text.assign(utf8);
    } else {
        text = strip_prefixes(utf8, !(format & DT_HIDEPREFIX), underline);
    }
    // Tabs become spaces to the next stop of eight characters when asked, else take no room.
    if (format & DT_EXPANDTABS) {
        std::string t;
        for (char c : text) {
            if (c == '\t') {
                t.append(8 - (t.size() % 8), ' ');
            } else {
                t += c;
            }
        }
        text = std::move(t);
    }
    const int max_w = std::max(0, r.width());
    const bool no_text = text.empty();
    std::vector<Line>& lines = out.lines;
    if (single && text.find_first_of("\r\n") == std::string::npos) {
        // Nothing to leave out: the text is the line as it stands.
        Line l;
        l.underline = underline;
        l.text = std::move(text);
        l.width = f.width_of(l.text);
        lines.push_back(std::move(l));
    } else if (single) {
        Line l;
        for (size_t i = 0; i < text.size(); ++i) {
            if (text[i] == '\r' || text[i] == '\n')
                continue;
            if (static_cast<int>(i) == underline)
                l.underline = static_cast<int>(l.text.size());
            l.text += text[i];
        }
        l.width = f.width_of(l.text);
        lines.push_back(std::move(l));
    } else {
        size_t begin = 0;
        while (begin <= text.size()) {
            size_t end = text.find('\n', begin);
            if (end == std::string::npos)
                end = text.size();
            size_t stop = end;
            if (stop > begin && text[stop - 1] == '\r')
                --stop;
            const std::string para = text.substr(begin, stop - begin);
            if (format & DT_WORDBREAK) {
                wrap(f, para, static_cast<int>(begin), underline, max_w, lines);
            } else {
                Line l;
                l.text = para;
                const int u = underline - static_cast<int>(begin);
                if (u >= 0 && u < static_cast<int>(para.size()))
                    l.underline = u;
                l.width = f.width_of(l.text);
                lines.push_back(std::move(l));
            }
            if (end == text.size())
                break;
            begin = end + 1;
        }
    }
    if (format & DT_END_ELLIPSIS) {
        for (Line& l : lines)
            add_ellipsis(f, l, max_w);
    }
    if (no_text) {
        lines.clear();
        if (single)
            lines.push_back({});
    }
    out.widest = 0;
    for (const Line& l : lines)
        out.widest = std::max(out.widest, l.width);
    out.total = static_cast<int>(lines.size()) * lh;
}

void DC::draw_lines(const TextLines& laid, const Rect& r, unsigned format, int y0) {
    SizedFont& f = *laid.font;
    const int lh = f.metrics().height;
    const Point o = to_bitmap({0, 0});
    const Rect everything{-(1 << 30), -(1 << 30), 1 << 30, 1 << 30};
    const Rect limit = (format & DT_NOCLIP) ? everything : to_bitmap_rect(r);
    if (limit.empty()) {
        return;
    }
    int y = y0;
    for (const Line& l : laid.lines) {
        int x = r.left;
        if (format & DT_CENTER) {
            x = r.left + (r.width() - l.width) / 2;
        } else if (format & DT_RIGHT) {
            x = r.right - l.width;
        }
        const Point p = to_bitmap({x, y});
        if (bk_mode_ == BkMode::Opaque) {
            fill_clipped(*target_, effective_clip(), limit, {p.x, p.y, p.x + l.width, p.y + lh},
                         pixel_of(bk_color_));
        }
        draw_run(*target_, effective_clip(), limit, f, l.text, p.x, p.y + f.metrics().ascent,
                 text_color_, l.underline);
        y += lh;
        if (o.y + y > limit.bottom + lh && !(format & DT_NOCLIP))
            break;
    }
}

namespace {
// Far-away rectangles are brought into range so that no sum in the layout can overflow.
Rect in_range(const Rect& r) {
    auto c = [](int v) { return std::clamp(v, -(1 << 29), 1 << 29); };
    return {c(r.left), c(r.top), c(r.right), c(r.bottom)};
}
}  // namespace

int DC::draw_text(std::string_view utf8, Rect& r_io, unsigned format) {
    const Rect r = in_range(r_io);
    // One left-aligned line with nothing to take out (a label's or a check box's caption):
    // drawn straight from the text, neither copied nor laid out, and measured only for an
    // opaque background.
    constexpr unsigned kLaidOut =
        DT_SINGLELINE | DT_CALCRECT | DT_END_ELLIPSIS | DT_EXPANDTABS | DT_CENTER | DT_RIGHT;
    if ((format & kLaidOut) == DT_SINGLELINE &&
        ((format & DT_NOPREFIX) || utf8.find('&') == std::string_view::npos) &&
        utf8.find_first_of("\r\n") == std::string_view::npos) {
        SizedFont& f = sized_font();
        const int lh = f.metrics().height;
        int y0 = r.top;
        if (format & DT_VCENTER) {
            y0 = r.top + (r.height() - lh) / 2;
        } else if (format & DT_BOTTOM) {
            y0 = r.bottom - lh;
        }
        const Rect everything{-(1 << 30), -(1 << 30), 1 << 30, 1 << 30};
        const Rect limit = (format & DT_NOCLIP) ? everything : to_bitmap_rect(r);
        if (!limit.empty()) {
            const Point p = to_bitmap({r.left, y0});
            if (bk_mode_ == BkMode::Opaque) {
                fill_clipped(*target_, effective_clip(), limit,
                             {p.x, p.y, p.x + f.width_of(utf8), p.y + lh}, pixel_of(bk_color_));
            }
            draw_run(*target_, effective_clip(), limit, f, utf8, p.x, p.y + f.metrics().ascent,
                     text_color_, -1);
        }
        return (format & (DT_VCENTER | DT_BOTTOM)) ? std::max(0, y0 - r.top + lh) : lh;
    }
    TextLines laid;
    lay_out(utf8, r, format, laid);
    const int lh = laid.font->metrics().height;
    const bool single = format & DT_SINGLELINE;
    int y0 = r.top;
    if (single && (format & DT_VCENTER)) {
        y0 = r.top + (r.height() - lh) / 2;
    } else if (single && (format & DT_BOTTOM)) {
        y0 = r.bottom - lh;
    }
    // An inverted rectangle would put the text's bottom above the top: no height then.
    const int result =
        (single && (format & (DT_VCENTER | DT_BOTTOM))) ? std::max(0, y0 - r.top + lh) : laid.total;
    if (format & DT_CALCRECT) {
        r_io = {r.left, r.top, r.left + laid.widest, r.top + laid.total};
        return laid.total;
    }
    draw_lines(laid, r, format, y0);
    return result;
}

Rect DC::draw_text_block(std::string_view utf8, const Rect& area, unsigned format) {
    const Rect r = in_range(area);
    format &= ~(DT_CALCRECT | DT_SINGLELINE | DT_VCENTER | DT_BOTTOM);
    TextLines laid;
    lay_out(utf8, r, format, laid);
    const int shift = std::max(0, (r.height() - laid.total) / 2);
    const Rect lines{r.left, r.top + shift, r.right, r.top + shift + laid.total};
    draw_lines(laid, lines, format, lines.top);
    return {r.left, lines.top, r.left + laid.widest, lines.bottom};
}

}  // namespace gdi
