#pragma once

// Win32-named wrappers over the device context, for code written in those terms (the skin
// engine). Each is a one-line forward to the DC method of the same meaning.

#include <string_view>

#include "platform/gdi/dc.h"

namespace gdi {

constexpr int TRANSPARENT = 1;
constexpr int OPAQUE = 2;
constexpr Color CLR_INVALID = 0xFFFFFFFFu;

inline bool BitBlt(DC& dst, int x, int y, int w, int h, const DC& src, int sx, int sy,
                   Rop rop = Rop::SrcCopy) {
    dst.bit_blt(x, y, w, h, src, sx, sy, rop);
    return true;
}
inline bool StretchBlt(DC& dst, int x, int y, int w, int h, const DC& src, int sx, int sy, int sw,
                       int sh, Rop rop = Rop::SrcCopy) {
    dst.stretch_blt(x, y, w, h, src, sx, sy, sw, sh, rop);
    return true;
}
inline bool TransparentBlt(DC& dst, int x, int y, int w, int h, const DC& src, int sx, int sy,
                           int sw, int sh, Color key) {
    dst.transparent_blt(x, y, w, h, src, sx, sy, sw, sh, key);
    return true;
}
inline int FillRect(DC& dc, const Rect& r, Color c) {
    dc.fill_rect(r, c);
    return 1;
}
inline int FrameRect(DC& dc, const Rect& r, Color c) {
    dc.frame_rect(r, c);
    return 1;
}
inline bool DrawEdge(DC& dc, Rect& r, unsigned edge, unsigned flags) {
    return dc.draw_edge(r, edge, flags);
}
inline bool DrawFocusRect(DC& dc, const Rect& r) {
    dc.draw_focus_rect(r);
    return true;
}
inline int DrawText(DC& dc, std::string_view utf8, Rect& r, unsigned format) {
    return dc.draw_text(utf8, r, format);
}
inline bool TextOut(DC& dc, int x, int y, std::string_view utf8) {
    dc.text_out(x, y, utf8);
    return true;
}
inline bool GetTextExtentPoint32(const DC& dc, std::string_view utf8, Size& size) {
    size = dc.get_text_extent(utf8);
    return true;
}
inline Color SetTextColor(DC& dc, Color c) {
    return dc.set_text_color(c);
}
inline Color SetBkColor(DC& dc, Color c) {
    return dc.set_bk_color(c);
}
inline int SetBkMode(DC& dc, int mode) {
    return static_cast<int>(
        dc.set_bk_mode(mode == TRANSPARENT ? BkMode::Transparent : BkMode::Opaque));
}
inline bool SetViewportOrgEx(DC& dc, int x, int y, Point* old) {
    const Point p = dc.set_viewport_origin({x, y});
    if (old)
        *old = p;
    return true;
}
inline bool OffsetViewportOrgEx(DC& dc, int dx, int dy, Point* old) {
    const Point p = dc.offset_viewport_origin(dx, dy);
    if (old)
        *old = p;
    return true;
}
inline int IntersectClipRect(DC& dc, int l, int t, int r, int b) {
    dc.intersect_clip_rect({l, t, r, b});
    return dc.clip_box().empty() ? 1 : 2;  // NULLREGION / SIMPLEREGION
}
inline int ExcludeClipRect(DC& dc, int l, int t, int r, int b) {
    dc.exclude_clip_rect({l, t, r, b});
    return dc.clip_box().empty() ? 1 : 3;  // NULLREGION / COMPLEXREGION
}
inline int SelectClipRgn(DC& dc, const Region* rgn) {
    dc.select_clip_region(rgn);
    return dc.clip_box().empty() ? 1 : 2;
}
inline int SaveDC(DC& dc) {
    return dc.save();
}
inline bool RestoreDC(DC& dc, int level) {
    return dc.restore(level);
}
inline Color GetPixel(const DC& dc, int x, int y) {
    return dc.get_pixel(x, y);
}
inline Color SetPixel(DC& dc, int x, int y, Color c) {
    dc.set_pixel(x, y, c);
    return c;
}
inline int CombineRgn(Region& dst, const Region& a, const Region& b, RegionOp op) {
    dst = Region::combine(a, b, op);
    return dst.empty() ? 1 : (dst.rects().size() == 1 ? 2 : 3);
}
inline bool PtInRegion(const Region& r, int x, int y) {
    return r.contains({x, y});
}

}  // namespace gdi
