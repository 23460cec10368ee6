#pragma once

#include "platform/win/types.h"

namespace win {

constexpr UINT SIF_RANGE = 0x0001;
constexpr UINT SIF_PAGE = 0x0002;
constexpr UINT SIF_POS = 0x0004;
constexpr UINT SIF_DISABLENOSCROLL = 0x0008;
constexpr UINT SIF_TRACKPOS = 0x0010;
constexpr UINT SIF_ALL = SIF_RANGE | SIF_PAGE | SIF_POS | SIF_TRACKPOS;

struct SCROLLINFO {
    UINT cbSize = sizeof(SCROLLINFO);
    UINT fMask = 0;
    int nMin = 0;
    int nMax = 0;
    UINT nPage = 0;
    int nPos = 0;
    int nTrackPos = 0;
};

// The standard scroll bars of a window (SB_HORZ, SB_VERT), drawn in its non-client area when
// it has WS_HSCROLL / WS_VSCROLL. Clicking their arrows and track sends WM_HSCROLL /
// WM_VSCROLL with SB_LINE* / SB_PAGE*; the window moves the position itself.
int SetScrollInfo(HWND hwnd, int bar, const SCROLLINFO* info, bool redraw);
bool GetScrollInfo(HWND hwnd, int bar, SCROLLINFO* info);
bool SetScrollRange(HWND hwnd, int bar, int minPos, int maxPos, bool redraw);
bool GetScrollRange(HWND hwnd, int bar, int* minPos, int* maxPos);
int SetScrollPos(HWND hwnd, int bar, int pos, bool redraw);
int GetScrollPos(HWND hwnd, int bar);
// Adds or removes WS_HSCROLL / WS_VSCROLL (SB_BOTH for both) and recalculates the frame.
bool ShowScrollBar(HWND hwnd, int bar, bool show);

}  // namespace win
