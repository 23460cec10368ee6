#pragma once

#include <string>
#include <vector>

#include "platform/gdi/dc.h"
#include "platform/win/messages.h"
#include "platform/win/types.h"

// The tool bar window class "ToolbarWindow32": a row of buttons with text captions, laid out
// from the left, along the top of its parent. A button is a push button, a check button that
// stays down until pressed again, a check button of a group (pressing one lets the others of
// its group up) or a separator. A button let go over where it was pressed reports WM_COMMAND
// (LOWORD its command id, HIWORD BN_CLICKED, lParam the tool bar) to the parent. With
// TBSTYLE_FLAT the buttons show their edge only under the mouse, pressed or checked.
namespace win {

inline constexpr const char* TOOLBARCLASSNAME = "ToolbarWindow32";

constexpr UINT TB_ENABLEBUTTON = WM_USER + 1;      // wParam: command id; lParam: enable
constexpr UINT TB_CHECKBUTTON = WM_USER + 2;       // wParam: command id; lParam: check
constexpr UINT TB_PRESSBUTTON = WM_USER + 3;       // wParam: command id; lParam: press
constexpr UINT TB_HIDEBUTTON = WM_USER + 4;        // wParam: command id; lParam: hide
constexpr UINT TB_ISBUTTONENABLED = WM_USER + 9;   // wParam: command id
constexpr UINT TB_ISBUTTONCHECKED = WM_USER + 10;  // wParam: command id
constexpr UINT TB_SETSTATE = WM_USER + 17;         // wParam: command id; lParam: TBSTATE_* bits
constexpr UINT TB_GETSTATE = WM_USER + 18;         // wParam: command id; returns the bits or -1
constexpr UINT TB_ADDBUTTONS = WM_USER + 20;       // wParam: count; lParam: const TBBUTTON*
constexpr UINT TB_INSERTBUTTON = WM_USER + 21;     // wParam: index (past the end appends);
                                                   // lParam: const TBBUTTON*
constexpr UINT TB_DELETEBUTTON = WM_USER + 22;     // wParam: index
constexpr UINT TB_GETBUTTON = WM_USER + 23;        // wParam: index; lParam: TBBUTTON* filled
constexpr UINT TB_BUTTONCOUNT = WM_USER + 24;
constexpr UINT TB_COMMANDTOINDEX = WM_USER + 25;    // wParam: command id; returns the index or -1
constexpr UINT TB_GETITEMRECT = WM_USER + 29;       // wParam: index; lParam: RECT* (client)
constexpr UINT TB_BUTTONSTRUCTSIZE = WM_USER + 30;  // wParam: sizeof(TBBUTTON)
constexpr UINT TB_SETBUTTONSIZE = WM_USER + 31;     // lParam: MAKELPARAM(width, height)
constexpr UINT TB_AUTOSIZE = WM_USER + 33;          // fits the bar to its parent's top
constexpr UINT TB_GETBUTTONSIZE = WM_USER + 58;     // returns MAKELONG(width, height)
constexpr UINT TB_HITTEST = WM_USER + 69;     // lParam: POINT*; returns the index, or a negative
                                              // number for none
constexpr UINT TB_GETHOTITEM = WM_USER + 71;  // the button under the mouse, or -1

constexpr BYTE TBSTATE_CHECKED = 0x01;
constexpr BYTE TBSTATE_PRESSED = 0x02;
constexpr BYTE TBSTATE_ENABLED = 0x04;
constexpr BYTE TBSTATE_HIDDEN = 0x08;

constexpr BYTE TBSTYLE_BUTTON = 0x00;
constexpr BYTE TBSTYLE_SEP = 0x01;
constexpr BYTE TBSTYLE_CHECK = 0x02;
constexpr BYTE TBSTYLE_GROUP = 0x04;
constexpr BYTE TBSTYLE_CHECKGROUP = TBSTYLE_GROUP | TBSTYLE_CHECK;
constexpr BYTE TBSTYLE_AUTOSIZE = 0x10;  // as wide as its own caption, not the widest one

// Window styles of the bar.
constexpr DWORD CCS_NORESIZE = 0x0004;       // TB_AUTOSIZE leaves the bar's size alone
constexpr DWORD CCS_NOPARENTALIGN = 0x0008;  // keeps its height but not the parent's top
constexpr DWORD TBSTYLE_FLAT = 0x0800;

constexpr WORD BN_CLICKED = 0;

// One button as the messages pass it. iString is the caption: a `const char*` (UTF-8) cast to
// intptr_t, or 0 for none; the bar keeps its own copy. For a separator iBitmap is its width
// (0: the default 8 pixels); other buttons have no image.
struct TBBUTTON {
    int iBitmap = 0;
    int idCommand = 0;
    BYTE fsState = TBSTATE_ENABLED;
    BYTE fsStyle = TBSTYLE_BUTTON;
    DWORD_PTR dwData = 0;
    intptr_t iString = 0;
};

// One button as the bar keeps it.
struct ToolbarButton {
    int command = 0;
    BYTE state = TBSTATE_ENABLED;
    BYTE style = TBSTYLE_BUTTON;
    DWORD_PTR data = 0;
    int separator_width = 0;
    std::string text;
};

// Everything a tool bar holds: its buttons, their size, and what the mouse is doing.
struct ToolbarState {
    std::vector<ToolbarButton> buttons;
    int button_width = 24;  // at least; captions may make the buttons wider
    int button_height = 22;
    size_t struct_size = sizeof(TBBUTTON);  // what TB_BUTTONSTRUCTSIZE said
    int hot = -1;                           // the button under the mouse
    int pressed = -1;                       // the button held by the mouse
    bool pressed_in = false;                // and the mouse still over it
};

inline constexpr int kToolbarMaxButtons = 4096;
inline constexpr int kToolbarPadding = 2;         // above and below the buttons
inline constexpr int kToolbarSeparatorWidth = 8;  // a separator without a width of its own
inline constexpr int kToolbarTextMargin = 6;      // either side of a caption

// Whether button i exists and the mouse can press it (a shown, enabled button, no separator).
bool ToolbarButtonPressable(const ToolbarState& s, int i);

// Checks or unchecks button i; checking a button of a check group (adjacent buttons with
// TBSTYLE_CHECKGROUP) lets the others of its group up. An index out of range does nothing.
void ToolbarSetChecked(ToolbarState& s, int i, bool check);

// Every button's rectangle, from the left of `client` and kPadding below its top, hidden buttons
// empty at their place. Buttons without TBSTYLE_AUTOSIZE are all as wide as the widest caption
// (plus margins) or the button width, whichever is more; autosized ones as their own caption.
std::vector<RECT> ToolbarItemRects(const ToolbarState& s, const RECT& client,
                                   const gdi::Font& font);
// The button at p (separators included), or -1.
int ToolbarHitTest(const ToolbarState& s, const RECT& client, const gdi::Font& font, POINT p);
// The height the bar wants: the button height and the padding above and below.
int ToolbarHeight(const ToolbarState& s);

// The plain look of one button (or separator) in `r`. `hot`: under the mouse; `flat`: the bar
// has TBSTYLE_FLAT (buttons at rest show no edge, a separator is an etched line). A checked
// button's face is lightened unless `keep_face` (a button drawn over a background of its own).
void DrawToolbarButton(gdi::DC& dc, const RECT& r, const ToolbarButton& b, bool hot, bool flat,
                       bool bar_enabled, bool keep_face = false);
// The plain look of the whole bar: the button face and every button.
void DrawToolbar(gdi::DC& dc, const RECT& client, const ToolbarState& s, const gdi::Font& font,
                 bool enabled, bool flat);

// Answers the TB_* messages and follows the mouse for `s`. `repaint`: the look changed;
// `clicked`: the button the operator let go over where it was pressed (-1 none), after its
// check state was changed; the caller reports it (WM_COMMAND or an event).
struct ToolbarOutcome {
    bool repaint = false;
    int clicked = -1;
};
// `font`: the one the bar draws its captions in (they size the buttons).
bool HandleToolbarMessage(HWND hwnd, ToolbarState& s, const gdi::Font& font, UINT msg,
                          WPARAM wParam, LPARAM lParam, LRESULT& result, ToolbarOutcome& outcome);

namespace detail {
LRESULT toolbar_proc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
}  // namespace detail

}  // namespace win
