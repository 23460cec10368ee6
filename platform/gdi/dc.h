#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "platform/gdi/bitmap.h"
#include "platform/gdi/color.h"
#include "platform/gdi/font.h"
#include "platform/gdi/geometry.h"
#include "platform/gdi/nine_piece.h"
#include "platform/gdi/region.h"

namespace gdi {

class SizedFont;
struct ShapeSpans;

// Background modes (SetBkMode).
enum class BkMode { Transparent = 1, Opaque = 2 };

// Raster operations of the blits, with the Win32 values.
enum class Rop : uint32_t {
    SrcCopy = 0x00CC0020,
    SrcPaint = 0x00EE0086,   // dst | src
    SrcAnd = 0x008800C6,     // dst & src
    SrcInvert = 0x00660046,  // dst ^ src
    NotSrcCopy = 0x00330008,
    DstInvert = 0x00550009,
    PatCopy = 0x00F00021,  // the brush colour
    Blackness = 0x00000042,
    Whiteness = 0x00FF0062,
};

// Pens and brushes (only what the controls use: solid, dotted and null).
enum class PenStyle { Solid = 0, Dash = 1, Dot = 2, Null = 5 };
struct Pen {
    PenStyle style = PenStyle::Solid;
    int width = 1;
    Color color = 0;
    friend bool operator==(const Pen&, const Pen&) = default;
};
enum class BrushStyle { Solid = 0, Null = 1 };
struct Brush {
    BrushStyle style = BrushStyle::Solid;
    Color color = rgb(255, 255, 255);
    friend bool operator==(const Brush&, const Brush&) = default;
};

// DrawText format flags (Win32 values).
constexpr unsigned DT_TOP = 0x0000;
constexpr unsigned DT_LEFT = 0x0000;
constexpr unsigned DT_CENTER = 0x0001;
constexpr unsigned DT_RIGHT = 0x0002;
constexpr unsigned DT_VCENTER = 0x0004;
constexpr unsigned DT_BOTTOM = 0x0008;
constexpr unsigned DT_WORDBREAK = 0x0010;
constexpr unsigned DT_SINGLELINE = 0x0020;
constexpr unsigned DT_EXPANDTABS = 0x0040;
constexpr unsigned DT_NOCLIP = 0x0100;
constexpr unsigned DT_CALCRECT = 0x0400;
constexpr unsigned DT_NOPREFIX = 0x0800;
constexpr unsigned DT_HIDEPREFIX = 0x00100000;
constexpr unsigned DT_END_ELLIPSIS = 0x00008000;
constexpr unsigned DT_RTLREADING = 0x00020000;

// Text alignment of text_out (SetTextAlign).
constexpr unsigned TA_LEFT = 0;
constexpr unsigned TA_TOP = 0;
constexpr unsigned TA_RIGHT = 2;
constexpr unsigned TA_CENTER = 6;
constexpr unsigned TA_BOTTOM = 8;
constexpr unsigned TA_BASELINE = 24;

// DrawEdge edge kinds and border flags (Win32 values).
constexpr unsigned BDR_RAISEDOUTER = 0x0001;
constexpr unsigned BDR_SUNKENOUTER = 0x0002;
constexpr unsigned BDR_RAISEDINNER = 0x0004;
constexpr unsigned BDR_SUNKENINNER = 0x0008;
constexpr unsigned EDGE_RAISED = BDR_RAISEDOUTER | BDR_RAISEDINNER;
constexpr unsigned EDGE_SUNKEN = BDR_SUNKENOUTER | BDR_SUNKENINNER;
constexpr unsigned EDGE_ETCHED = BDR_SUNKENOUTER | BDR_RAISEDINNER;
constexpr unsigned EDGE_BUMP = BDR_RAISEDOUTER | BDR_SUNKENINNER;
constexpr unsigned BF_LEFT = 0x0001;
constexpr unsigned BF_TOP = 0x0002;
constexpr unsigned BF_RIGHT = 0x0004;
constexpr unsigned BF_BOTTOM = 0x0008;
constexpr unsigned BF_RECT = BF_LEFT | BF_TOP | BF_RIGHT | BF_BOTTOM;
constexpr unsigned BF_MIDDLE = 0x0800;
constexpr unsigned BF_SOFT = 0x1000;
constexpr unsigned BF_ADJUST = 0x2000;
constexpr unsigned BF_FLAT = 0x4000;
constexpr unsigned BF_MONO = 0x8000;

// The colours of 3-D edges; the classic scheme by default. The windowing layer passes the
// current system colours.
struct EdgeColors {
    Color highlight = rgb(255, 255, 255);  // COLOR_3DHILIGHT
    Color light = rgb(223, 223, 223);      // COLOR_3DLIGHT
    Color face = rgb(192, 192, 192);       // COLOR_3DFACE
    Color shadow = rgb(128, 128, 128);     // COLOR_3DSHADOW
    Color dark_shadow = rgb(64, 64, 64);   // COLOR_3DDKSHADOW
    Color window = rgb(255, 255, 255);     // COLOR_WINDOW (flat middle)
    Color frame = rgb(0, 0, 0);            // COLOR_WINDOWFRAME (mono)
};

// A device context drawing onto a Bitmap. Coordinates given to drawing calls are logical: the
// viewport origin is added to give device coordinates, and the DC origin (where the device's
// (0, 0) sits in the bitmap, e.g. a window's position inside the composed screen) is added to
// give bitmap coordinates. Everything drawn is clipped to the bitmap, the visible region (set
// by the owner of the DC: a window's visible part) and the clip region (set by the painter),
// the two regions being in device coordinates as in Win32.
class DC {
  public:
    explicit DC(Bitmap& target);
    DC(const DC&) = delete;
    DC& operator=(const DC&) = delete;

    Bitmap& bitmap() { return *target_; }
    const Bitmap& bitmap() const { return *target_; }

    // --- Origins -------------------------------------------------------------------------
    // Where device (0, 0) sits in the bitmap (GetDCOrgEx); set by whoever hands out the DC.
    void set_dc_origin(Point p);
    Point dc_origin() const { return dc_origin_; }
    // Logical-to-device offset (SetViewportOrgEx / OffsetViewportOrgEx); return the previous.
    Point set_viewport_origin(Point p);
    Point offset_viewport_origin(int dx, int dy);
    Point viewport_origin() const { return viewport_; }
    // Logical point -> bitmap pixel.
    // Coordinates are kept within +-2^29, so far-away values cannot overflow.
    Point to_bitmap(Point logical) const {
        auto c = [](int64_t v) {
            return static_cast<int>(v < -(1 << 29) ? -(1 << 29) : v > (1 << 29) ? (1 << 29) : v);
        };
        return {c(int64_t{logical.x} + viewport_.x + dc_origin_.x),
                c(int64_t{logical.y} + viewport_.y + dc_origin_.y)};
    }
    Rect to_bitmap_rect(const Rect& logical) const {
        const Point a = to_bitmap({logical.left, logical.top});
        const Point b = to_bitmap({logical.right, logical.bottom});
        return {a.x, a.y, b.x, b.y};
    }

    // From now on the DC draws nothing and reads nothing: what it drew on is gone.
    void detach();
    // Makes the DC what a DC newly made over `target` is: both origins and the current
    // position at 0, no visible or clip region, no saved states, the default font, colours,
    // modes, pen and brush. A window system hands out one DC object after another this way
    // without making each anew.
    void reset(Bitmap& target);

    // --- Clipping --------------------------------------------------------------------------
    // The visible region in device coordinates; `nullptr` = the whole bitmap. Not affected by
    // select_clip_region(nullptr).
    void set_visible_region(const Region* device_region);
    // The same, taking the region over.
    void set_visible_region(Region&& device_region);
    // SelectClipRgn: a copy of `device_region` becomes the clip region; nullptr removes it.
    void select_clip_region(const Region* device_region);
    // IntersectClipRect / ExcludeClipRect, in logical coordinates.
    void intersect_clip_rect(const Rect& logical);
    void exclude_clip_rect(const Rect& logical);
    // The clip region in device coordinates, or nullptr when there is none (GetClipRgn).
    const Region* clip_region() const { return has_clip_ ? &clip_ : nullptr; }
    // The bounding box of what can be drawn, logical (GetClipBox).
    Rect clip_box() const;
    // True when some part of the logical rectangle can be drawn (RectVisible).
    bool rect_visible(const Rect& logical) const;

    // SaveDC / RestoreDC: origins, clip, font, colours, pen, brush, modes. restore(-1) pops
    // one level; restore(n) goes back to the state saved as level n. Returns false when there
    // is no such level.
    int save();
    bool restore(int level = -1);

    // --- Attributes ------------------------------------------------------------------------
    Font select_font(const Font& f);
    const Font& font() const { return font_; }
    Color set_text_color(Color c);
    Color text_color() const { return text_color_; }
    Color set_bk_color(Color c);
    Color bk_color() const { return bk_color_; }
    BkMode set_bk_mode(BkMode m);
    BkMode bk_mode() const { return bk_mode_; }
    unsigned set_text_align(unsigned ta);
    unsigned text_align() const { return text_align_; }
    Pen select_pen(const Pen& p);
    const Pen& pen() const { return pen_; }
    Brush select_brush(const Brush& b);
    const Brush& brush() const { return brush_; }

    // --- Pixels and fills ------------------------------------------------------------------
    Color get_pixel(int x, int y) const;  // CLR_INVALID (0xFFFFFFFF) outside the clip
    void set_pixel(int x, int y, Color c);
    void fill_rect(const Rect& r, Color c);
    void fill_rect(const Rect& r, const Brush& b);
    void fill_region(const Region& logical, Color c);
    // A one-pixel frame inside `r`.
    void frame_rect(const Rect& r, Color c);
    // Inverts the colours in `r` (InvertRect).
    void invert_rect(const Rect& r);

    // --- Lines and shapes (current pen outlines, current brush fills) ----------------------
    Point move_to(int x, int y);
    void line_to(int x, int y);  // the end point is not drawn, as in Win32
    Point current_position() const { return pos_; }
    void line(int x1, int y1, int x2, int y2) {
        move_to(x1, y1);
        line_to(x2, y2);
    }
    void polyline(std::span<const Point> pts);
    void rectangle(const Rect& r);
    void round_rect(const Rect& r, int corner_w, int corner_h);
    void ellipse(const Rect& r);

    // --- 3-D edges and focus -----------------------------------------------------------------
    // DrawEdge; with BF_ADJUST, `r` is shrunk by the drawn width. Returns false when the edge
    // kind is unknown.
    bool draw_edge(Rect& r, unsigned edge, unsigned flags, const EdgeColors& colors = {});
    // The dotted focus rectangle (XOR, so drawing it twice removes it).
    void draw_focus_rect(const Rect& r);

    // --- Blits -------------------------------------------------------------------------------
    // BitBlt from a bitmap (source in its pixels) or another DC (source in its logical units).
    void bit_blt(int x, int y, int w, int h, const Bitmap& src, int sx, int sy,
                 Rop rop = Rop::SrcCopy);
    void bit_blt(int x, int y, int w, int h, const DC& src, int sx, int sy, Rop rop = Rop::SrcCopy);
    // StretchBlt, colour-on-colour: pixels are dropped or repeated, never blended. A negative
    // width or height on one side mirrors the picture.
    void stretch_blt(int x, int y, int w, int h, const Bitmap& src, int sx, int sy, int sw, int sh,
                     Rop rop = Rop::SrcCopy);
    void stretch_blt(int x, int y, int w, int h, const DC& src, int sx, int sy, int sw, int sh,
                     Rop rop = Rop::SrcCopy);
    // TransparentBlt: as stretch_blt, but source pixels of colour `key` are left out.
    void transparent_blt(int x, int y, int w, int h, const Bitmap& src, int sx, int sy, int sw,
                         int sh, Color key = kMagenta);
    void transparent_blt(int x, int y, int w, int h, const DC& src, int sx, int sy, int sw, int sh,
                         Color key = kMagenta);
    // The nine pieces of `piece` (cut from `src`) drawn into the logical rectangle `dest` in
    // one pass: the same pixels as copying the nine pieces one by one with stretch_blt (or
    // transparent_blt when the key is left out), at the cost of one set-up. Draws nothing and
    // returns false when the pieces do not partition `dest` (NinePiece::partitions) or the cut
    // leaves the image; the caller then draws the pieces its own way.
    bool draw_nine_piece(const Rect& dest, const Bitmap& src, const NinePiece& piece,
                         KeyMode mode = KeyMode::Copy, Color key = kMagenta, Color shown = 0);
    // The whole bitmap at (x, y).
    void draw_bitmap(int x, int y, const Bitmap& src) {
        bit_blt(x, y, src.width(), src.height(), src, 0, 0);
    }

    // --- Text (UTF-8) ------------------------------------------------------------------------
    // TextOut at (x, y) with the text alignment; opaque mode fills the text cell with the
    // background colour first.
    void text_out(int x, int y, std::string_view utf8);
    // DrawText; returns the height of the text drawn (or measured); with DT_CALCRECT `r` gets
    // the measured rectangle and nothing is drawn. With DT_VCENTER/DT_BOTTOM the height is the
    // offset of the bottom of the text from r.top, as Win32 returns it.
    int draw_text(std::string_view utf8, Rect& r, unsigned format);
    int draw_text(std::string_view utf8, const Rect& r, unsigned format) {
        Rect copy = r;
        return draw_text(utf8, copy, format & ~DT_CALCRECT);
    }
    // A block of text laid out once in `area` (word-wrapped with DT_WORDBREAK), moved down by
    // half the height it leaves free (never up) and drawn as draw_text draws it; returns the
    // rectangle its lines take, as DT_CALCRECT measures them, moved down the same way. A push
    // button's caption and its focus rectangle. DT_CALCRECT and the single-line placements
    // (DT_SINGLELINE, DT_VCENTER, DT_BOTTOM) are not taken.
    Rect draw_text_block(std::string_view utf8, const Rect& area, unsigned format);
    // The size of one line of text in the current font (GetTextExtentPoint32).
    Size get_text_extent(std::string_view utf8) const;
    TextMetrics get_text_metrics() const;

  private:
    struct State {
        Point dc_origin, viewport, pos;
        bool has_clip;
        Region clip;
        Font font;
        Color text_color, bk_color;
        BkMode bk_mode;
        unsigned text_align;
        Pen pen;
        Brush brush;
    };
    friend class DCPainter;

    void update_clip() const;
    // Fills a round shape row by row within the clip.
    void fill_round_shape(const Rect& box, int pen_width, const ShapeSpans& spans);
    // The effective clip, recomputed first when the bitmap has changed size since.
    const Region& effective_clip() const {
        if (target_->width() != clip_size_.cx || target_->height() != clip_size_.cy) {
            update_clip();
        }
        return clip_is_base_ ? base_clip_ : effective_clip_;
    }
    // The clip rectangles that can meet `area` (bitmap coordinates).
    std::span<const Rect> clips(const Rect& area) const {
        return effective_clip().rects_near(area);
    }
    std::span<const Rect> clips(Point p) const { return clips(Rect{p.x, p.y, p.x + 1, p.y + 1}); }
    Rect clip_bounds() const { return effective_clip().bounds(); }
    State capture() const;
    void apply(const State& s);
    // Text laid out in lines for a rectangle, then drawn from a top line y0.
    struct TextLines;
    void lay_out(std::string_view utf8, const Rect& r, unsigned format, TextLines& out) const;
    void draw_lines(const TextLines& laid, const Rect& r, unsigned format, int y0);
    // The rendered form of the selected font, looked up again only when the font changes.
    SizedFont& sized_font() const;

    Bitmap* target_;
    Point dc_origin_;
    Point viewport_;
    Point pos_;
    bool has_visible_ = false;
    Region visible_;
    bool has_clip_ = false;
    Region clip_;
    // Effective clip in bitmap coordinates: the intersection of bitmap, visible and clip.
    mutable Region effective_clip_;
    mutable Size clip_size_;
    // The visible region in bitmap coordinates, cut to the bitmap, for the DC origin and
    // bitmap size it was made for. Without a clip it is the effective clip itself, and a clip
    // selected and given back (a parent painting each of its windowless children) starts from
    // it, so the visible region of a window of many children is not copied each time.
    mutable Region base_clip_;
    mutable Point base_origin_;
    mutable Size base_size_;
    mutable bool base_valid_ = false;
    mutable bool clip_is_base_ = true;
    Font font_;
    Color text_color_ = 0;
    Color bk_color_ = rgb(255, 255, 255);
    BkMode bk_mode_ = BkMode::Opaque;
    unsigned text_align_ = TA_LEFT | TA_TOP;
    Pen pen_;
    Brush brush_;
    std::vector<State> saved_;
    mutable SizedFont* sized_ = nullptr;
    mutable Font sized_for_;
};

}  // namespace gdi
