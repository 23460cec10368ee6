#pragma once

#include <string_view>

#include "platform/gdi/dc.h"
#include "platform/win/classic_drawing.h"

// The plain system look of the standard controls, drawn in one place. Controls gather their
// state into flags and call these; nothing else in the framework knows what a classic button
// or check box looks like.
namespace forms::painter {

// The colours of the plain look, read from the system colours (GetSysColor) at each call, so
// that SetSysColor reaches every control as it reaches the window frames.
struct Scheme {
    gdi::Color face;            // COLOR_BTNFACE
    gdi::Color shadow;          // COLOR_BTNSHADOW
    gdi::Color highlight;       // COLOR_BTNHIGHLIGHT
    gdi::Color light;           // COLOR_3DLIGHT
    gdi::Color dark_shadow;     // COLOR_3DDKSHADOW
    gdi::Color window;          // COLOR_WINDOW
    gdi::Color window_text;     // COLOR_WINDOWTEXT
    gdi::Color button_text;     // COLOR_BTNTEXT
    gdi::Color gray_text;       // COLOR_GRAYTEXT
    gdi::Color selection;       // COLOR_HIGHLIGHT
    gdi::Color selection_text;  // COLOR_HIGHLIGHTTEXT
    gdi::Color frame;           // COLOR_WINDOWFRAME
};
Scheme scheme();

// Visual state of a control, as flags.
enum StateFlags : unsigned {
    kNormal = 0,
    kPressed = 1u << 0,
    kDisabled = 1u << 1,
    kFocused = 1u << 2,
    kDefault = 1u << 3,
    kChecked = 1u << 4,
    kGrayed = 1u << 5,  // a check box in its third, indeterminate state
    kHot = 1u << 6,
    kSelected = 1u << 7,  // the active tab, a highlighted list item
};

// Classic borders.
void draw_raised(gdi::DC& dc, gdi::Rect r);       // two-pixel raised edge (buttons)
void draw_sunken(gdi::DC& dc, gdi::Rect r);       // two-pixel sunken edge (fields)
void draw_thin_raised(gdi::DC& dc, gdi::Rect r);  // one-pixel raised bevel (panels)
void draw_thin_sunken(gdi::DC& dc, gdi::Rect r);  // one-pixel lowered bevel (status panels)
void draw_etched(gdi::DC& dc, gdi::Rect r);       // etched line frame (group boxes)

// Text in the given colour, or embossed (highlight under shadow) when disabled.
void draw_caption(gdi::DC& dc, std::string_view text, gdi::Rect r, unsigned dt_format,
                  bool disabled, gdi::Color color);

// A push button: face, edges, default frame, pressed look, caption, focus rectangle.
void draw_button(gdi::DC& dc, gdi::Rect r, std::string_view caption, unsigned flags,
                 gdi::Color text_color);
// The 13x13 box of a check box at `box` (its top-left corner), with the check mark.
void draw_check_box(gdi::DC& dc, gdi::Point box, unsigned flags);
constexpr int kCheckBoxSize = 13;
// The frame and interior of an edit field; returns the rectangle inside the border.
gdi::Rect draw_edit_frame(gdi::DC& dc, gdi::Rect r, unsigned flags);
// The drop-down button of a combo box or date picker.
void draw_combo_button(gdi::DC& dc, gdi::Rect r, unsigned flags);
// A small arrow glyph (four rows) centred in `r`.
void draw_arrow(gdi::DC& dc, gdi::Rect r, win::ArrowDirection direction, gdi::Color color);
// The two halves of an up-down part (upper = kPressed in `upper_flags`).
void draw_up_down(gdi::DC& dc, gdi::Rect r, unsigned upper_flags, unsigned lower_flags);
// One tab of a tab strip; `r` is the tab's rectangle (the selected tab is drawn larger by the
// caller's geometry). The bottom line is left open for the selected tab.
void draw_tab(gdi::DC& dc, gdi::Rect r, std::string_view caption, unsigned flags,
              gdi::Color text_color);
// The border around a page control's display area.
void draw_tab_pane(gdi::DC& dc, gdi::Rect r);
// A group box frame with its caption; `text_height` is the caption font's height.
void draw_group_box(gdi::DC& dc, gdi::Rect r, std::string_view caption, int text_height,
                    unsigned flags, gdi::Color face, gdi::Color text_color);
// One status bar panel.
void draw_status_panel(gdi::DC& dc, gdi::Rect r, std::string_view text, gdi::Color text_color);
// The size grip in the bottom-right corner of a status bar.
void draw_size_grip(gdi::DC& dc, gdi::Rect r);

}  // namespace forms::painter
