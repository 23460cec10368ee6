#pragma once

#include <cstdint>
#include <vector>

#include "platform/gdi/dc.h"
#include "platform/win/messages.h"
#include "platform/win/types.h"

// The track bar window class "msctls_trackbar32": a thumb that slides along a channel over a
// range, moved by the arrow, page, Home and End keys and by the mouse, telling its parent of
// every move with WM_HSCROLL (WM_VSCROLL when vertical): LOWORD(wParam) the TB_* code,
// HIWORD(wParam) the position for TB_THUMBTRACK and TB_THUMBPOSITION, lParam the track bar.
namespace win {

inline constexpr const char* TRACKBAR_CLASS = "msctls_trackbar32";

constexpr UINT TBM_GETPOS = WM_USER;
constexpr UINT TBM_GETRANGEMIN = WM_USER + 1;
constexpr UINT TBM_GETRANGEMAX = WM_USER + 2;
constexpr UINT TBM_SETPOS = WM_USER + 5;        // wParam: redraw; lParam: the position
constexpr UINT TBM_SETRANGE = WM_USER + 6;      // wParam: redraw; lParam: MAKELPARAM(min, max)
constexpr UINT TBM_SETRANGEMIN = WM_USER + 7;   // wParam: redraw; lParam: the minimum
constexpr UINT TBM_SETRANGEMAX = WM_USER + 8;   // wParam: redraw; lParam: the maximum
constexpr UINT TBM_GETTICPOS = WM_USER + 15;    // wParam: an inner tick (ends not counted);
                                                // returns its pixel along the bar, or -1
constexpr UINT TBM_GETNUMTICS = WM_USER + 16;   // every tick, the two ends included
constexpr UINT TBM_SETTICFREQ = WM_USER + 20;   // wParam: a tick every so many positions
constexpr UINT TBM_SETPAGESIZE = WM_USER + 21;  // lParam: the page; returns the previous one
constexpr UINT TBM_GETPAGESIZE = WM_USER + 22;
constexpr UINT TBM_SETLINESIZE = WM_USER + 23;  // lParam: the line; returns the previous one
constexpr UINT TBM_GETLINESIZE = WM_USER + 24;
constexpr UINT TBM_GETTHUMBRECT = WM_USER + 25;    // lParam: RECT* (client coordinates)
constexpr UINT TBM_GETCHANNELRECT = WM_USER + 26;  // lParam: RECT* (client coordinates)

constexpr DWORD TBS_AUTOTICKS = 0x0001;
constexpr DWORD TBS_VERT = 0x0002;
constexpr DWORD TBS_HORZ = 0x0000;
constexpr DWORD TBS_TOP = 0x0004;  // ticks above (left of a vertical bar)
constexpr DWORD TBS_BOTTOM = 0x0000;
constexpr DWORD TBS_LEFT = 0x0004;
constexpr DWORD TBS_RIGHT = 0x0000;
constexpr DWORD TBS_BOTH = 0x0008;
constexpr DWORD TBS_NOTICKS = 0x0010;

constexpr int TB_LINEUP = 0;
constexpr int TB_LINEDOWN = 1;
constexpr int TB_PAGEUP = 2;
constexpr int TB_PAGEDOWN = 3;
constexpr int TB_THUMBPOSITION = 4;
constexpr int TB_THUMBTRACK = 5;
constexpr int TB_TOP = 6;
constexpr int TB_BOTTOM = 7;
constexpr int TB_ENDTRACK = 8;

// The numbers of one track bar. A maximum below the minimum is kept as given and counts as
// the minimum (the thumb rests there) until it is set right. The position is clamped to the
// range; every sum is made in 64 bits. The page is a fifth of the range (at least 1) until
// one is set.
class TrackRange {
  public:
    int Min() const { return min_; }
    int Max() const { return max_; }
    int EffectiveMax() const { return max_ < min_ ? min_ : max_; }
    int Position() const { return pos_; }
    int LineSize() const { return line_; }
    int PageSize() const;
    int TicFreq() const { return tic_freq_; }

    bool SetRange(int min, int max);
    bool SetPosition(int64_t pos);
    bool MoveBy(int64_t delta) { return SetPosition(static_cast<int64_t>(pos_) + delta); }
    void SetLineSize(int line) { line_ = line; }
    void SetPageSize(int page) { page_ = page; }
    // Frequencies below 1 are taken as 1.
    void SetTicFreq(int freq) { tic_freq_ = freq < 1 ? 1 : freq; }

  private:
    int min_ = 0;
    int max_ = 100;
    int pos_ = 0;
    int line_ = 1;
    int page_ = -1;  // -1: a fifth of the range
    int tic_freq_ = 1;
};

// Where the parts of a track bar lie in its client area: the channel (thin, along the bar's
// length), the thumb over it, and the side or sides the ticks are on.
struct TrackLayout {
    bool vertical = false;
    RECT channel;
    RECT thumb;
    bool ticks_before = false;  // above (left of) the channel
    bool ticks_after = false;   // below (right of) the channel
    int travel = 0;             // pixels the thumb's centre can move

    // The pixel along the bar (x, or y when vertical) of a position's centre.
    int OffsetOf(const TrackRange& range, int pos) const;
    // The position nearest a pixel along the bar.
    int PositionAt(const TrackRange& range, int along) const;
    // The pixels of the ticks along the bar: the two ends always, and every TicFreq position
    // between them with TBS_AUTOTICKS as long as they stay at least 2 pixels apart.
    std::vector<int> TickOffsets(const TrackRange& range, DWORD style) const;
};

inline constexpr int kTrackThumbLength = 11;     // along the bar
inline constexpr int kTrackThumbThickness = 19;  // across it, at most
inline constexpr int kTrackChannelThickness = 4;
inline constexpr int kTrackTickLength = 3;

TrackLayout LayoutTrackBar(const RECT& client, const TrackRange& range, DWORD style);

// What the thumb shows.
enum class TrackThumbState { Normal, Hot, Pressed, Disabled };

// The plain look: ticks in the button text colour (grey when disabled), a sunken channel, a
// raised thumb in the button face (lighter under the mouse, sunken while held), and a dotted
// focus rectangle round the whole control when it has the focus.
void DrawTrackBar(gdi::DC& dc, const RECT& client, const TrackRange& range, DWORD style,
                  TrackThumbState thumb, bool focused);

// The input side of a track bar, shared by the window class and the framework's TTrackBar.
struct TrackBarState {
    TrackRange range;
    bool dragging = false;  // the thumb is held by the mouse
    int grip = 0;           // where along the thumb it was taken, from its centre
    bool paging = false;    // a press in the channel beside the thumb
    bool hot = false;       // the mouse is over the thumb
};

// Answers the TBM_* messages and handles keys, mouse and focus for `s`, sending the TB_*
// notifications to the window's parent. Returns true when the message was handled (`result`
// then holds the answer); `moved` tells whether the position changed, `repaint` whether the
// look did. The window may be destroyed by a notification's handler: the caller checks.
bool HandleTrackBarMessage(HWND hwnd, TrackBarState& s, UINT msg, WPARAM wParam, LPARAM lParam,
                           LRESULT& result, bool& moved, bool& repaint);

// The thumb's look for the window's state: disabled, held, under the mouse, or normal.
TrackThumbState ThumbStateOf(HWND hwnd, const TrackBarState& s);

namespace detail {
LRESULT trackbar_proc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
}  // namespace detail

}  // namespace win
