// The images of the default skin "Velmor Blue": light blue-grey faces, blue accents, white
// glyphs on the title bar. Each function draws one package image.
#include "tools/skin_packer/default_skin_art.h"

#include "tools/skin_packer/canvas.h"

namespace skin_art {

namespace {

using gdi::rgb;

// The palette.
constexpr Color kFace = rgb(232, 239, 248);
constexpr Color kWhite = rgb(255, 255, 255);
constexpr Color kBorder = rgb(112, 138, 178);
constexpr Color kBorderHover = rgb(52, 112, 200);
constexpr Color kBorderPressed = rgb(40, 80, 150);
constexpr Color kBorderDisabled = rgb(180, 190, 204);
constexpr Color kAccent = rgb(49, 106, 197);
constexpr Color kAccentLight = rgb(120, 170, 235);
constexpr Color kGlyph = rgb(44, 62, 96);
constexpr Color kGlyphDisabled = rgb(164, 174, 190);
constexpr Color kCaptionTop = rgb(70, 138, 232);
constexpr Color kCaptionBottom = rgb(28, 86, 196);
constexpr Color kInactiveTop = rgb(160, 184, 222);
constexpr Color kInactiveBottom = rgb(130, 158, 204);

// The faces of a control in its four basic states.
enum class Look { Normal, Hover, Pressed, Disabled, Focused };

BoxStyle face_style(Look look, int radius = 3) {
    switch (look) {
        case Look::Hover:
            return {kBorderHover, rgb(248, 251, 255), rgb(196, 218, 248), radius, kKey, 0xFFFFFFFFu,
                    kWhite};
        case Look::Pressed:
            return {kBorderPressed, rgb(178, 200, 234), rgb(214, 228, 247), radius};
        case Look::Disabled:
            return {kBorderDisabled, rgb(246, 247, 250), rgb(236, 239, 244), radius};
        case Look::Focused:
            return {kBorderHover, kWhite, rgb(212, 226, 246), radius, kKey, kAccentLight};
        case Look::Normal:
        default:
            return {kBorder, kWhite, rgb(212, 226, 246), radius, kKey, 0xFFFFFFFFu, kWhite};
    }
}

Bitmap face(int w, int h, Look look, int radius = 3, Color outside = kKey) {
    Bitmap b = make(w, h);
    BoxStyle s = face_style(look, radius);
    s.outside = outside;
    box(b, {0, 0, w, h}, s);
    return b;
}

// --- glyphs ------------------------------------------------------------------------------

const std::vector<std::string> kArrowDown = {"#######", " ##### ", "  ###  ", "   #   "};
const std::vector<std::string> kSmallDown = {"#####", " ### ", "  #  "};
const std::vector<std::string> kSmallUp = {"  #  ", " ### ", "#####"};
const std::vector<std::string> kSmallLeft = {"  #", " ##", "###", " ##", "  #"};
const std::vector<std::string> kSmallRight = {"#  ", "## ", "###", "## ", "#  "};
const std::vector<std::string> kCheck = {"      #", "     ##", "#   ###", "## ### ",
                                         "#####  ", " ###   ", "  #    "};
const std::vector<std::string> kClose = {"##    ##", "###  ###", " ###### ", "  ####  ",
                                         "  ####  ", " ###### ", "###  ###", "##    ##"};
const std::vector<std::string> kMaximize = {"#########", "#########", "#       #", "#       #",
                                            "#       #", "#       #", "#       #", "#########"};
const std::vector<std::string> kRestore = {"   ######", "   ######", "   #    #", "######  #",
                                           "######  #", "#    ####", "#    #   ", "######   "};
const std::vector<std::string> kMinimize = {"      ", "      ", "      ", "      ",
                                            "      ", "      ", "######", "######"};

// --- push buttons, check boxes, radio buttons -------------------------------------------------

Bitmap buttons() {
    // 1 normal, 2 pressed, 3 disabled, 4 hover, 5 focused or default.
    return strip({face(32, 24, Look::Normal), face(32, 24, Look::Pressed),
                  face(32, 24, Look::Disabled), face(32, 24, Look::Hover),
                  face(32, 24, Look::Focused)});
}

Bitmap check_cell(Look look, int mark) {
    Bitmap b = make(13, 13, kWhite);
    const Color border = look == Look::Disabled ? kBorderDisabled
                         : look == Look::Hover  ? kBorderHover
                                                : rgb(52, 82, 132);
    Color top = rgb(228, 234, 244);
    Color bottom = kWhite;
    if (look == Look::Hover) {
        top = rgb(214, 232, 255);
        bottom = rgb(246, 250, 255);
    } else if (look == Look::Pressed) {
        top = rgb(176, 200, 236);
        bottom = rgb(222, 234, 250);
    } else if (look == Look::Disabled) {
        top = bottom = rgb(244, 246, 249);
    }
    vgradient(b, {1, 1, 12, 12}, top, bottom);
    frame(b, {0, 0, 13, 13}, border);
    const Color ink = look == Look::Disabled ? kGlyphDisabled : kAccent;
    if (mark == 1) {
        glyph(b, 3, 3, kCheck, ink);
    } else if (mark == 2) {
        fill(b, {3, 3, 10, 10}, look == Look::Disabled ? kGlyphDisabled : kAccentLight);
        frame(b, {3, 3, 10, 10}, ink);
    }
    return b;
}

Bitmap checkbox() {
    // Unchecked, checked, indeterminate; each normal, hover, pressed, disabled.
    std::vector<Bitmap> cells;
    for (int mark = 0; mark < 3; ++mark) {
        for (Look l : {Look::Normal, Look::Hover, Look::Pressed, Look::Disabled}) {
            cells.push_back(check_cell(l, mark));
        }
    }
    return strip(cells);
}

Bitmap radio_cell(Look look, bool checked) {
    Bitmap b = make(13, 13, kFace);
    BoxStyle s = face_style(look, 6);
    s.outside = kFace;
    s.top = look == Look::Pressed ? rgb(176, 200, 236) : rgb(228, 234, 244);
    s.bottom = kWhite;
    s.highlight = 0xFFFFFFFFu;
    s.inner_ring = 0xFFFFFFFFu;
    if (look == Look::Normal) {
        s.border = rgb(52, 82, 132);
    }
    box(b, {0, 0, 13, 13}, s);
    if (checked) {
        const Color ink = look == Look::Disabled ? kGlyphDisabled : kAccent;
        glyph(b, 4, 4, {" ### ", "#####", "#####", "#####", " ### "}, ink);
    }
    return b;
}

Bitmap radiobutton() {
    std::vector<Bitmap> cells;
    for (bool checked : {false, true}) {
        for (Look l : {Look::Normal, Look::Hover, Look::Pressed, Look::Disabled}) {
            cells.push_back(radio_cell(l, checked));
        }
    }
    return strip(cells);
}

// --- progress bar ------------------------------------------------------------------------------

Bitmap progress() {
    // 1 horizontal frame, 2 vertical frame.
    std::vector<Bitmap> parts;
    for (int i = 0; i < 2; ++i) {
        Bitmap b = make(16, 16, kWhite);
        vgradient(b, {1, 1, 15, 15}, rgb(236, 241, 248), kWhite);
        frame(b, {0, 0, 16, 16}, kBorder);
        hline(b, 1, 15, 1, rgb(210, 220, 234));
        parts.push_back(std::move(b));
    }
    return strip(parts);
}

Bitmap progresschunk() {
    Bitmap b = make(8, 14, kWhite);
    vgradient(b, {0, 0, 7, 14}, rgb(120, 186, 255), rgb(36, 104, 206));
    hline(b, 0, 7, 0, rgb(170, 212, 255));
    vline(b, 7, 0, 14, kWhite);  // the gap between chunks
    return b;
}

// --- tabs and pages --------------------------------------------------------------------------

Bitmap tab_cell(Look look, bool selected) {
    Bitmap b = make(24, 22);
    BoxStyle s = face_style(look, 3);
    if (selected) {
        s = {kBorder, kWhite, kFace, 3};
    }
    box(b, {0, 0, 24, 25}, s);  // the bottom corners fall outside the picture
    if (selected) {
        hline(b, 2, 22, 0, kAccent);
        hline(b, 1, 23, 1, kAccent);
        hline(b, 1, 23, 2, kAccentLight);
    } else {
        hline(b, 0, 24, 21, kBorder);
    }
    return b;
}

Bitmap tab() {
    // 1 normal, 2 selected, 3 hover, 4 disabled, 5 focused.
    return strip({tab_cell(Look::Normal, false), tab_cell(Look::Normal, true),
                  tab_cell(Look::Hover, false), tab_cell(Look::Disabled, false),
                  tab_cell(Look::Focused, true)});
}

Bitmap tabsheet() {
    Bitmap b = make(16, 16, kFace);
    frame(b, {0, 0, 16, 16}, kBorder);
    frame(b, {1, 1, 15, 15}, kWhite);
    frame(b, {2, 2, 14, 14}, rgb(244, 248, 253));
    return b;
}

// --- combo box -------------------------------------------------------------------------------

Bitmap comboboxbtn() {
    // 1 normal, 2 pressed, 3 disabled, 4 hover; the arrow sits where the centred arrow of
    // the extra images lands, so drawing both shows one arrow.
    std::vector<Bitmap> cells;
    for (Look l : {Look::Normal, Look::Pressed, Look::Disabled, Look::Hover}) {
        Bitmap b = face(19, 21, l, 2);
        glyph(b, 3 + 3, 4 + 4, kArrowDown, l == Look::Disabled ? kGlyphDisabled : kGlyph);
        cells.push_back(std::move(b));
    }
    return strip(cells);
}

Bitmap extraimages() {
    // 1 arrow, 2 pressed, 3 disabled, 4 hover, 5 size grip.
    std::vector<Bitmap> cells;
    for (Color c : {kGlyph, kBorderPressed, kGlyphDisabled, kAccent}) {
        Bitmap b = make(12, 12);
        glyph(b, 3, 4, kArrowDown, c);
        cells.push_back(std::move(b));
    }
    Bitmap grip = make(12, 12);
    for (int i = 0; i < 3; ++i) {
        for (int j = 0; j <= i; ++j) {
            const int x = 9 - 3 * j;
            const int y = 3 + 3 * i;
            fill(grip, {x, y, x + 2, y + 2}, kBorder);
            grip.set_color(x, y, kWhite);
        }
    }
    cells.push_back(std::move(grip));
    return strip(cells);
}

// --- status bar, header, menus -----------------------------------------------------------------

Bitmap statusbar() {
    // 1 lowered, 2 raised, 3 no bevel.
    Bitmap lowered = make(12, 12, kFace);
    frame(lowered, {0, 0, 12, 12}, kWhite);
    hline(lowered, 0, 11, 0, rgb(170, 186, 210));
    vline(lowered, 0, 0, 11, rgb(170, 186, 210));
    Bitmap raised = make(12, 12, kFace);
    frame(raised, {0, 0, 12, 12}, rgb(170, 186, 210));
    hline(raised, 0, 11, 0, kWhite);
    vline(raised, 0, 0, 11, kWhite);
    Bitmap flat = make(12, 12, kFace);
    return strip({lowered, raised, flat});
}

Bitmap header() {
    // 1 normal, 2 pressed, 3 hover, 4 disabled, 5 sorted.
    std::vector<Bitmap> cells;
    for (int i = 0; i < 5; ++i) {
        Bitmap b = make(20, 18);
        Color top = kWhite;
        Color bottom = rgb(226, 234, 245);
        if (i == 1) {
            top = rgb(200, 214, 236);
            bottom = rgb(222, 232, 246);
        } else if (i == 2) {
            bottom = rgb(206, 224, 248);
        } else if (i == 3) {
            bottom = rgb(240, 242, 246);
        }
        vgradient(b, {0, 0, 20, 18}, top, bottom);
        hline(b, 0, 20, 17, i == 2 ? kAccent : kBorder);
        hline(b, 0, 20, 16, i == 2 ? kAccentLight : rgb(206, 218, 236));
        vline(b, 19, 3, 15, rgb(190, 202, 222));
        vline(b, 0, 3, 15, kWhite);
        if (i == 4) {
            hline(b, 0, 20, 15, kAccentLight);
        }
        cells.push_back(std::move(b));
    }
    return strip(cells);
}

Bitmap menubackground() {
    Bitmap b = make(16, 16, rgb(250, 252, 255));
    frame(b, {0, 0, 16, 16}, kBorder);
    frame(b, {1, 1, 15, 15}, rgb(250, 252, 255));
    vline(b, 2, 2, 14, rgb(236, 242, 250));
    return b;
}

Bitmap menuitem() {
    // 1 selected, 2 pressed, 3 disabled, 4 hover, 5 checked.
    std::vector<Bitmap> cells;
    const BoxStyle styles[5] = {
        {kAccentLight, rgb(228, 238, 252), rgb(200, 220, 248), 2},
        {kAccent, rgb(196, 216, 246), rgb(214, 228, 248), 2},
        {rgb(210, 216, 226), rgb(246, 247, 250), rgb(238, 240, 244), 2},
        {kAccentLight, rgb(238, 245, 254), rgb(214, 230, 250), 2},
        {kAccent, rgb(214, 230, 250), rgb(190, 212, 246), 2},
    };
    for (const BoxStyle& s : styles) {
        Bitmap b = make(16, 18);
        box(b, {0, 0, 16, 18}, s);
        cells.push_back(std::move(b));
    }
    return strip(cells);
}

// --- scroll bars -------------------------------------------------------------------------------

Bitmap arrow_cell(const std::vector<std::string>& g, Look look) {
    Bitmap b = face(17, 17, look, 2, rgb(221, 231, 245));
    glyph_centred(b, {0, 0, 17, 17}, g, look == Look::Disabled ? kGlyphDisabled : kGlyph);
    return b;
}

Bitmap scrollbararrow() {
    // Up, down, left, right; each normal, hover, pressed, disabled; then the size box and
    // plain faces (normal, hover, pressed, disabled, focused, normal).
    std::vector<Bitmap> cells;
    for (const auto* g : {&kSmallUp, &kSmallDown, &kSmallLeft, &kSmallRight}) {
        for (Look l : {Look::Normal, Look::Hover, Look::Pressed, Look::Disabled}) {
            cells.push_back(arrow_cell(*g, l));
        }
    }
    Bitmap sizebox = make(17, 17, kFace);
    cells.push_back(std::move(sizebox));
    for (Look l :
         {Look::Normal, Look::Hover, Look::Pressed, Look::Disabled, Look::Focused, Look::Normal}) {
        cells.push_back(face(17, 17, l, 2, rgb(221, 231, 245)));
    }
    return strip(cells);
}

Bitmap scroll_track(bool horizontal) {
    // 1 normal, 2 hover, 3 pressed, 4 disabled.
    std::vector<Bitmap> cells;
    const Color fills[4] = {rgb(236, 241, 249), rgb(226, 234, 247), rgb(200, 216, 240),
                            rgb(244, 246, 249)};
    for (Color c : fills) {
        Bitmap b = make(17, 17, c);
        if (horizontal) {
            hline(b, 0, 17, 0, rgb(214, 224, 240));
            hline(b, 0, 17, 16, rgb(214, 224, 240));
        } else {
            vline(b, 0, 0, 17, rgb(214, 224, 240));
            vline(b, 16, 0, 17, rgb(214, 224, 240));
        }
        cells.push_back(std::move(b));
    }
    return strip(cells);
}

Bitmap scroll_thumb(bool horizontal) {
    // 1 normal, 2 hover, 3 pressed, 4 disabled; three grip lines in the middle.
    std::vector<Bitmap> cells;
    for (Look l : {Look::Normal, Look::Hover, Look::Pressed, Look::Disabled}) {
        const int w = horizontal ? 20 : 17;
        const int h = horizontal ? 17 : 20;
        Bitmap b = face(w, h, l, 3);
        if (l != Look::Disabled) {
            for (int i = -2; i <= 2; i += 2) {
                if (horizontal) {
                    vline(b, w / 2 + i, 5, 12, kBorder);
                    vline(b, w / 2 + i + 1, 5, 12, kWhite);
                } else {
                    hline(b, 5, 12, h / 2 + i, kBorder);
                    hline(b, 5, 12, h / 2 + i + 1, kWhite);
                }
            }
        }
        cells.push_back(std::move(b));
    }
    return strip(cells);
}

// --- track-bar thumbs ----------------------------------------------------------------------------

Bitmap thumb_cell(Look look, bool pointed) {
    Bitmap b = make(11, 19);
    BoxStyle s = face_style(look, 2);
    box(b, {0, 0, 11, pointed ? 14 : 19}, s);
    if (pointed) {
        // The point: rows 13..18 narrow to the middle.
        for (int y = 13; y < 19; ++y) {
            const int inset = y - 13;
            for (int x = inset; x < 11 - inset; ++x) {
                const bool edge = x == inset || x == 10 - inset;
                b.set_color(x, y, edge ? s.border : mix(s.top, s.bottom, 100));
            }
        }
        hline(b, 1, 10, 13, mix(s.top, s.bottom, 100));
    }
    return b;
}

Bitmap trackthumb(bool pointed) {
    // 1 normal, 2 pressed, 3 hover, 4 disabled, 5 focused.
    return strip({thumb_cell(Look::Normal, pointed), thumb_cell(Look::Pressed, pointed),
                  thumb_cell(Look::Hover, pointed), thumb_cell(Look::Disabled, pointed),
                  thumb_cell(Look::Focused, pointed)});
}

// --- up-down controls ----------------------------------------------------------------------------

Bitmap spin_faces(int w, int h) {
    // Two halves, each normal, pressed, disabled, hover.
    std::vector<Bitmap> cells;
    for (int half = 0; half < 2; ++half) {
        for (Look l : {Look::Normal, Look::Pressed, Look::Disabled, Look::Hover}) {
            cells.push_back(face(w, h, l, 2));
        }
    }
    return strip(cells);
}

Bitmap spin_glyphs(int w, int h, const std::vector<std::string>& first,
                   const std::vector<std::string>& second) {
    std::vector<Bitmap> cells;
    for (int half = 0; half < 2; ++half) {
        for (Color c : {kGlyph, kBorderPressed, kGlyphDisabled, kAccent}) {
            Bitmap b = make(w, h);
            glyph_centred(b, {0, 0, w, h}, half == 0 ? first : second, c);
            cells.push_back(std::move(b));
        }
    }
    return strip(cells);
}

// --- title bar and window frame
// -------------------------------------------------------------------

Bitmap caption_button(const std::vector<std::string>& g, bool close) {
    // 1 normal, 2 pressed, 3 hover, 4 inactive or disabled, 5 inactive hover, 6 inactive
    // pressed.
    std::vector<Bitmap> cells;
    for (int state = 0; state < 6; ++state) {
        const bool inactive = state >= 3;
        Color top = close ? rgb(232, 120, 96) : rgb(96, 156, 240);
        Color bottom = close ? rgb(196, 58, 36) : rgb(40, 100, 210);
        Color border = rgb(255, 255, 255);
        if (state == 1 || state == 5) {
            std::swap(top, bottom);
            top = mix(top, rgb(0, 0, 0), 15);
        } else if (state == 2 || state == 4) {
            top = mix(top, kWhite, 25);
            bottom = mix(bottom, kWhite, 15);
        }
        if (inactive) {
            top = mix(top, kInactiveTop, 65);
            bottom = mix(bottom, kInactiveBottom, 65);
            border = rgb(236, 242, 250);
        }
        Bitmap b = make(21, 21);
        box(b, {0, 0, 21, 21}, {border, top, bottom, 3});
        glyph_centred(b, {0, 0, 21, 21}, g, inactive ? rgb(236, 242, 250) : kWhite);
        cells.push_back(std::move(b));
    }
    return strip(cells);
}

Bitmap caption_band(int w, int h, bool active) {
    Bitmap b = make(w, h);
    const Color top = active ? kCaptionTop : kInactiveTop;
    const Color bottom = active ? kCaptionBottom : kInactiveBottom;
    box(b, {0, 0, w, h + 8},
        {active ? rgb(20, 64, 150) : rgb(120, 144, 186), top, bottom, 7, kKey, 0xFFFFFFFFu,
         mix(top, kWhite, 45)});
    return b;
}

Bitmap frametop() {
    return strip({caption_band(60, 30, true), caption_band(60, 30, false)}, true);
}

Bitmap side_border(bool left, bool active) {
    Bitmap b = make(4, 32, active ? kCaptionBottom : kInactiveBottom);
    const int outer = left ? 0 : 3;
    const int inner = left ? 3 : 0;
    vline(b, outer, 0, 32, active ? rgb(20, 64, 150) : rgb(120, 144, 186));
    vline(b, inner, 0, 32, active ? rgb(60, 120, 220) : rgb(170, 190, 222));
    return b;
}

Bitmap frameside(bool left) {
    return strip({side_border(left, true), side_border(left, false)});
}

Bitmap framebottom() {
    std::vector<Bitmap> states;
    for (bool active : {true, false}) {
        Bitmap b = make(20, 4, active ? kCaptionBottom : kInactiveBottom);
        hline(b, 0, 20, 0, active ? rgb(60, 120, 220) : rgb(170, 190, 222));
        hline(b, 0, 20, 3, active ? rgb(20, 64, 150) : rgb(120, 144, 186));
        states.push_back(std::move(b));
    }
    return strip(states, true);
}

Bitmap mincaption() {
    Bitmap b = make(160, 24);
    box(b, {0, 0, 160, 24},
        {rgb(20, 64, 150), kCaptionTop, kCaptionBottom, 5, kKey, 0xFFFFFFFFu,
         mix(kCaptionTop, kWhite, 45)});
    return b;
}

Bitmap mdibutton() {
    // Minimize, restore and close of a maximized child: 4 states each of 16 x 14.
    std::vector<Bitmap> cells;
    const std::vector<std::string> glyphs[3] = {
        {"      ", "      ", "      ", "######", "######"},
        {"  ####", "  #  #", "#### #", "#  ###", "#  #  ", "####  "},
        {"#    #", " #  # ", "  ##  ", "  ##  ", " #  # ", "#    #"}};
    for (const auto& g : glyphs) {
        for (Look l : {Look::Normal, Look::Pressed, Look::Hover, Look::Disabled}) {
            Bitmap b = face(16, 14, l, 2);
            glyph_centred(b, {0, 0, 16, 14}, g, l == Look::Disabled ? kGlyphDisabled : kGlyph);
            cells.push_back(std::move(b));
        }
    }
    return strip(cells);
}

}  // namespace

std::vector<SkinImage> draw_default_skin() {
    std::vector<SkinImage> out;
    auto add = [&](std::string name, Bitmap b, int bpp) {
        out.push_back({std::move(name), std::move(b), bpp});
    };
    add("buttons.bmp", buttons(), 24);
    add("checkbox.bmp", checkbox(), 24);
    add("radiobutton.bmp", radiobutton(), 24);
    add("progress.bmp", progress(), 8);
    add("progresschunk.bmp", progresschunk(), 8);
    add("tab.bmp", tab(), 24);
    add("tabsheet.bmp", tabsheet(), 8);
    add("comboboxbtn.bmp", comboboxbtn(), 24);
    add("statusbar.bmp", statusbar(), 8);
    add("header.bmp", header(), 24);
    add("scrollbararrow.bmp", scrollbararrow(), 24);
    add("scrollbarhthumb.bmp", scroll_thumb(true), 24);
    add("scrollbarvthumb.bmp", scroll_thumb(false), 24);
    add("scrollbarhbar.bmp", scroll_track(true), 8);
    add("scrollbarvbar.bmp", scroll_track(false), 8);
    add("menubackground.bmp", menubackground(), 8);
    add("menuitem.bmp", menuitem(), 24);
    add("extraimages.bmp", extraimages(), 8);
    add("trackthumbh.bmp", trackthumb(false), 24);
    add("trackbot.bmp", trackthumb(true), 24);
    add("mdibutton.bmp", mdibutton(), 24);
    add("spin.bmp", spin_faces(15, 9), 24);
    add("spinarrow.bmp", spin_glyphs(15, 9, kSmallUp, kSmallDown), 8);
    add("spinh.bmp", spin_faces(9, 15), 24);
    add("spinharrow.bmp", spin_glyphs(9, 15, kSmallLeft, kSmallRight), 8);
    add("closebutton.bmp", caption_button(kClose, true), 32);
    add("maxbutton.bmp", caption_button(kMaximize, false), 32);
    add("minbutton.bmp", caption_button(kMinimize, false), 32);
    add("restrorebutton.bmp", caption_button(kRestore, false), 32);
    add("frameleft.bmp", frameside(true), 8);
    add("frameright.bmp", frameside(false), 8);
    add("frametop.bmp", frametop(), 32);
    add("framebottom.bmp", framebottom(), 8);
    add("mincaption.bmp", mincaption(), 24);
    return out;
}

}  // namespace skin_art
