#pragma once

#include <string>
#include <vector>

#include "platform/gdi/dc.h"
#include "platform/win/messages.h"
#include "platform/win/types.h"

// The header window class "SysHeader32": a row of sections side by side (the column titles of a
// list), each with a text, a width and an alignment. With HDS_BUTTONS a section is pressed like
// a button and reports a click; a section's right edge (its divider) can be dragged to resize
// it. Reports go to the parent as WM_NOTIFY with an NMHEADER.
namespace win {

inline constexpr const char* WC_HEADER = "SysHeader32";

constexpr UINT HDM_FIRST = 0x1200;
constexpr UINT HDM_GETITEMCOUNT = HDM_FIRST + 0;
constexpr UINT HDM_INSERTITEM = HDM_FIRST + 1;  // wParam: index (past the end appends);
                                                // lParam: const HDITEM*; returns the index or -1
constexpr UINT HDM_DELETEITEM = HDM_FIRST + 2;
constexpr UINT HDM_GETITEM = HDM_FIRST + 3;      // wParam: index; lParam: HDITEM* filled per mask
constexpr UINT HDM_SETITEM = HDM_FIRST + 4;      // wParam: index; lParam: const HDITEM*
constexpr UINT HDM_LAYOUT = HDM_FIRST + 5;       // lParam: HDLAYOUT*
constexpr UINT HDM_HITTEST = HDM_FIRST + 6;      // lParam: HDHITTESTINFO*; returns the index or -1
constexpr UINT HDM_GETITEMRECT = HDM_FIRST + 7;  // wParam: index; lParam: RECT*

constexpr UINT HDI_WIDTH = 0x0001;
constexpr UINT HDI_TEXT = 0x0002;
constexpr UINT HDI_FORMAT = 0x0004;
constexpr UINT HDI_LPARAM = 0x0008;

constexpr int HDF_LEFT = 0;
constexpr int HDF_RIGHT = 1;
constexpr int HDF_CENTER = 2;
constexpr int HDF_JUSTIFYMASK = 3;

constexpr DWORD HDS_BUTTONS = 0x0002;
constexpr DWORD HDS_HOTTRACK = 0x0004;

constexpr UINT HHT_NOWHERE = 0x0001;
constexpr UINT HHT_ONHEADER = 0x0002;
constexpr UINT HHT_ONDIVIDER = 0x0004;
constexpr UINT HHT_TORIGHT = 0x0800;

constexpr UINT HDN_FIRST = static_cast<UINT>(-300);
constexpr UINT HDN_ITEMCHANGED = HDN_FIRST - 1;
constexpr UINT HDN_ITEMCLICK = HDN_FIRST - 2;
constexpr UINT HDN_ITEMDBLCLICK = HDN_FIRST - 3;
constexpr UINT HDN_DIVIDERDBLCLICK = HDN_FIRST - 5;
constexpr UINT HDN_BEGINTRACK = HDN_FIRST - 6;
constexpr UINT HDN_ENDTRACK = HDN_FIRST - 7;
constexpr UINT HDN_TRACK = HDN_FIRST - 8;

struct HDITEM {
    UINT mask = 0;
    int cxy = 0;
    const char* pszText = nullptr;  // HDM_GETITEM copies into the buffer given here
    int cchTextMax = 0;
    int fmt = HDF_LEFT;
    LPARAM lParam = 0;
};

struct HDLAYOUT {
    RECT* prc = nullptr;
    WINDOWPOS* pwpos = nullptr;
};

struct HDHITTESTINFO {
    POINT pt;
    UINT flags = 0;
    int iItem = -1;
};

struct NMHEADER {
    NMHDR hdr;
    int iItem = -1;
    int iButton = 0;
    const HDITEM* pitem = nullptr;
};

// One section.
struct HeaderItem {
    std::string text;
    int width = 0;
    int fmt = HDF_LEFT;
    LPARAM data = 0;
};

// Everything a header holds: its sections and what the mouse is doing with them.
struct HeaderState {
    std::vector<HeaderItem> items;
    int hot = -1;             // the section under the mouse
    int pressed = -1;         // the section held by the mouse (HDS_BUTTONS)
    bool pressed_in = false;  // and the mouse still over it
    int tracking = -1;        // the section whose divider is being dragged
};

// Section i's rectangle in `client` (the sections from the left, widths summed in 64 bits and
// clamped to the client's coordinates); empty for an index out of range.
RECT HeaderItemRect(const HeaderState& s, const RECT& client, int i);
// The section at p, with HHT_* flags: on a divider (the 3 pixels either side of a section's
// right edge), on a section, right of the last one, or nowhere.
int HeaderHitTest(const HeaderState& s, const RECT& client, POINT p, UINT* flags);
// The height a header wants for its font: the text height and 3 pixels above and below.
int HeaderHeight(const gdi::Font& font);

// The plain look: each section a raised button-face cell (sunken while pressed), its text in the
// button text colour, 6 pixels in, aligned per section and cut with an ellipsis; the space right
// of the last section an empty cell.
void DrawHeader(gdi::DC& dc, const RECT& client, const HeaderState& s, const gdi::Font& font,
                bool enabled);

// Answers the HDM_* messages and follows the mouse for `s`, reporting to the window's parent.
// `repaint`: the look changed. `clicked`, `resized`: the section the operator clicked or
// finished resizing (-1 none). The window may be destroyed by a report's handler.
struct HeaderOutcome {
    bool repaint = false;
    int clicked = -1;
    int resized = -1;
};
bool HandleHeaderMessage(HWND hwnd, HeaderState& s, UINT msg, WPARAM wParam, LPARAM lParam,
                         LRESULT& result, HeaderOutcome& outcome);

namespace detail {
LRESULT header_proc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
}  // namespace detail

}  // namespace win
