#include "forms/painter.h"

#include <algorithm>

#include "platform/win/metrics.h"

namespace forms::painter {

using gdi::Color;
using gdi::DC;
using gdi::Rect;

Scheme scheme() {
    Scheme s;
    s.face = win::GetSysColor(win::COLOR_BTNFACE);
    s.shadow = win::GetSysColor(win::COLOR_BTNSHADOW);
    s.highlight = win::GetSysColor(win::COLOR_BTNHIGHLIGHT);
    s.light = win::GetSysColor(win::COLOR_3DLIGHT);
    s.dark_shadow = win::GetSysColor(win::COLOR_3DDKSHADOW);
    s.window = win::GetSysColor(win::COLOR_WINDOW);
    s.window_text = win::GetSysColor(win::COLOR_WINDOWTEXT);
    s.button_text = win::GetSysColor(win::COLOR_BTNTEXT);
    s.gray_text = win::GetSysColor(win::COLOR_GRAYTEXT);
    s.selection = win::GetSysColor(win::COLOR_HIGHLIGHT);
    s.selection_text = win::GetSysColor(win::COLOR_HIGHLIGHTTEXT);
    s.frame = win::GetSysColor(win::COLOR_WINDOWFRAME);
    return s;
}

// Buttons use the soft raised edge (highlight outside, light inside), fields the plain sunken
// one; both come from the window system's DrawEdge, as the default frame's do.
void draw_raised(DC& dc, Rect r) {
    win::DrawEdge(dc, &r, gdi::EDGE_RAISED, gdi::BF_RECT | gdi::BF_SOFT);
}

void draw_sunken(DC& dc, Rect r) {
    win::DrawEdge(dc, &r, gdi::EDGE_SUNKEN, gdi::BF_RECT);
}

void draw_thin_raised(DC& dc, Rect r) {
    win::DrawEdge(dc, &r, gdi::BDR_RAISEDINNER, gdi::BF_RECT);
}

void draw_thin_sunken(DC& dc, Rect r) {
    win::DrawEdge(dc, &r, gdi::BDR_SUNKENOUTER, gdi::BF_RECT);
}

void draw_etched(DC& dc, Rect r) {
    const Scheme s = scheme();
    if (r.width() < 2 || r.height() < 2)
        return;
    dc.frame_rect({r.left, r.top, r.right - 1, r.bottom - 1}, s.shadow);
    dc.frame_rect({r.left + 1, r.top + 1, r.right, r.bottom}, s.highlight);
    // The shadow line's lower and right sides sit over the highlight ones.
    dc.fill_rect({r.left + 1, r.bottom - 2, r.right - 2, r.bottom - 1}, s.shadow);
    dc.fill_rect({r.right - 2, r.top + 1, r.right - 1, r.bottom - 1}, s.shadow);
}

void draw_caption(DC& dc, std::string_view text, Rect r, unsigned dt_format, bool disabled,
                  Color color) {
    if (text.empty())
        return;
    gdi::BkMode old_mode = dc.set_bk_mode(gdi::BkMode::Transparent);
    Color old_color;
    if (disabled) {
        old_color = dc.set_text_color(scheme().highlight);
        dc.draw_text(text, r.offset(1, 1), dt_format);
        dc.set_text_color(scheme().shadow);
        dc.draw_text(text, r, dt_format);
    } else {
        old_color = dc.set_text_color(color);
        dc.draw_text(text, r, dt_format);
    }
    dc.set_text_color(old_color);
    dc.set_bk_mode(old_mode);
}

void draw_button(DC& dc, Rect r, std::string_view caption, unsigned flags, Color text_color) {
    const Scheme s = scheme();
    if (r.empty())
        return;
    dc.fill_rect(r, s.face);
    Rect inner = r;
    const bool framed = (flags & (kDefault | kFocused)) && !(flags & kDisabled);
    if (framed) {
        dc.frame_rect(inner, s.frame);
        inner = inner.inflate(-1, -1);
    }
    if (flags & kPressed) {
        dc.frame_rect(inner, s.shadow);
    } else {
        draw_raised(dc, inner);
    }
    Rect text = r.inflate(-4, -2);
    if (flags & kPressed)
        text = text.offset(1, 1);
    draw_caption(dc, caption, text, gdi::DT_CENTER | gdi::DT_VCENTER | gdi::DT_SINGLELINE,
                 flags & kDisabled, text_color);
    if ((flags & kFocused) && !(flags & kDisabled)) {
        Rect focus = r.inflate(-4, -4);
        if (flags & kPressed)
            focus = focus.offset(1, 1);
        dc.draw_focus_rect(focus);
    }
}

void draw_check_box(DC& dc, gdi::Point box, unsigned flags) {
    const Scheme s = scheme();
    Rect r = Rect::from_xywh(box.x, box.y, kCheckBoxSize, kCheckBoxSize);
    const bool inactive = (flags & (kDisabled | kPressed | kGrayed)) != 0;
    dc.fill_rect(r.inflate(-2, -2), inactive ? s.face : s.window);
    draw_sunken(dc, r);
    if (!(flags & (kChecked | kGrayed)))
        return;
    Color mark = (flags & (kDisabled | kGrayed)) ? s.shadow : s.window_text;
    for (int i = 0; i < 7; ++i) {
        int y0 = i < 3 ? 5 + i : 7 - (i - 2);
        dc.fill_rect(Rect::from_xywh(box.x + 3 + i, box.y + y0 - 1, 1, 3), mark);
    }
}

Rect draw_edit_frame(DC& dc, Rect r, unsigned flags) {
    const Scheme s = scheme();
    Rect inner = r.inflate(-2, -2);
    dc.fill_rect(inner, (flags & kDisabled) ? s.face : s.window);
    draw_sunken(dc, r);
    return inner;
}

void draw_arrow(DC& dc, Rect r, win::ArrowDirection direction, Color color) {
    win::DrawArrowGlyph(dc, r, direction, color, 4);
}

void draw_combo_button(DC& dc, Rect r, unsigned flags) {
    const Scheme s = scheme();
    dc.fill_rect(r, s.face);
    if (flags & kPressed) {
        dc.frame_rect(r, s.shadow);
    } else {
        draw_raised(dc, r);
    }
    Rect glyph = (flags & kPressed) ? r.offset(1, 1) : r;
    if (flags & kDisabled) {
        draw_arrow(dc, glyph.offset(1, 1), win::ArrowDirection::Down, s.highlight);
        draw_arrow(dc, glyph, win::ArrowDirection::Down, s.shadow);
    } else {
        draw_arrow(dc, glyph, win::ArrowDirection::Down, s.button_text);
    }
}

void draw_up_down(DC& dc, Rect r, unsigned upper_flags, unsigned lower_flags) {
    const Scheme s = scheme();
    const int mid = r.top + r.height() / 2;
    Rect halves[2] = {{r.left, r.top, r.right, mid}, {r.left, mid, r.right, r.bottom}};
    unsigned flags[2] = {upper_flags, lower_flags};
    for (int i = 0; i < 2; ++i) {
        Rect h = halves[i];
        dc.fill_rect(h, s.face);
        if (flags[i] & kPressed) {
            dc.frame_rect(h, s.shadow);
        } else {
            draw_raised(dc, h);
        }
        Rect glyph = (flags[i] & kPressed) ? h.offset(1, 1) : h;
        Color c = (flags[i] & kDisabled) ? s.shadow : s.button_text;
        // Small arrows: three rows, so they fit half of a short picker.
        win::DrawArrowGlyph(dc, glyph, i == 0 ? win::ArrowDirection::Up : win::ArrowDirection::Down,
                            c, 3);
    }
}

void draw_tab(DC& dc, Rect r, std::string_view caption, unsigned flags, Color text_color) {
    const Scheme s = scheme();
    if (r.empty())
        return;
    dc.fill_rect(r, s.face);
    // Left and top in highlight with a cut corner, right in shadow and dark shadow.
    dc.fill_rect({r.left, r.top + 2, r.left + 1, r.bottom}, s.highlight);
    dc.fill_rect({r.left + 1, r.top + 1, r.left + 2, r.top + 2}, s.highlight);
    dc.fill_rect({r.left + 2, r.top, r.right - 2, r.top + 1}, s.highlight);
    dc.fill_rect({r.right - 2, r.top + 1, r.right - 1, r.bottom}, s.shadow);
    dc.fill_rect({r.right - 1, r.top + 2, r.right, r.bottom}, s.dark_shadow);
    dc.fill_rect({r.right - 2, r.top + 1, r.right - 1, r.top + 2}, s.dark_shadow);
    if (!(flags & kSelected))
        dc.fill_rect({r.left, r.bottom - 1, r.right, r.bottom}, s.highlight);
    Rect text = r.inflate(-4, -1);
    draw_caption(dc, caption, text, gdi::DT_CENTER | gdi::DT_VCENTER | gdi::DT_SINGLELINE,
                 flags & kDisabled, text_color);
    if (flags & kFocused) {
        gdi::Rect measure = text;
        dc.draw_text(caption, measure,
                     gdi::DT_CALCRECT | gdi::DT_SINGLELINE | gdi::DT_CENTER | gdi::DT_VCENTER);
        int w = measure.width(), h = measure.height();
        int x = text.left + (text.width() - w) / 2, y = text.top + (text.height() - h) / 2;
        dc.draw_focus_rect(Rect::from_xywh(x - 1, y, w + 2, h).intersect(r.inflate(-2, -1)));
    }
}

void draw_tab_pane(DC& dc, Rect r) {
    draw_raised(dc, r);
}

void draw_group_box(DC& dc, Rect r, std::string_view caption, int text_height, unsigned flags,
                    Color face, Color text_color) {
    const int line_y = r.top + text_height / 2;
    draw_etched(dc, {r.left, line_y, r.right, r.bottom});
    if (caption.empty())
        return;
    Rect measure{0, 0, r.width(), text_height};
    dc.draw_text(caption, measure, gdi::DT_CALCRECT | gdi::DT_SINGLELINE);
    Rect text = Rect::from_xywh(r.left + 8, r.top, measure.width() + 2, text_height);
    text.right = std::min(text.right, r.right - 2);
    dc.fill_rect(text, face);
    draw_caption(dc, caption, text.offset(1, 0), gdi::DT_LEFT | gdi::DT_SINGLELINE,
                 flags & kDisabled, text_color);
}

void draw_status_panel(DC& dc, Rect r, std::string_view text, Color text_color) {
    draw_thin_sunken(dc, r);
    draw_caption(dc, text, r.inflate(-2, -1),
                 gdi::DT_LEFT | gdi::DT_VCENTER | gdi::DT_SINGLELINE | gdi::DT_NOPREFIX |
                     gdi::DT_END_ELLIPSIS,
                 false, text_color);
}

void draw_size_grip(DC& dc, Rect r) {
    const Scheme s = scheme();
    // Three diagonal ridges, each a highlight line followed by two shadow lines.
    for (int i = 0; i < 3; ++i) {
        const int len = 4 * i + 3;
        for (int j = 0; j < len; ++j) {
            const int x = r.right - len + j;
            const int y = r.bottom - 1 - j;
            dc.set_pixel(x, y, s.highlight);
            dc.set_pixel(x + 1, y, s.shadow);
            dc.set_pixel(x + 2, y, s.shadow);
        }
    }
}

}  // namespace forms::painter
