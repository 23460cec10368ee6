#pragma once

#include "platform/win/types.h"

namespace win {

struct PAINTSTRUCT {
    HDC hdc = nullptr;
    BOOL fErase = FALSE;  // true when the background still needs erasing
    RECT rcPaint;         // the bounds of what is to be painted, client coordinates
};

// Adds to the update region (client coordinates; nullptr = the whole client area). Children
// are included unless the window has WS_CLIPCHILDREN. WM_PAINT follows when the queue is
// empty.
bool InvalidateRect(HWND hwnd, const RECT* rect, bool erase);
bool InvalidateRgn(HWND hwnd, const gdi::Region* region, bool erase);
bool ValidateRect(HWND hwnd, const RECT* rect);
bool ValidateRgn(HWND hwnd, const gdi::Region* region);
// The bounds of the update region (client coordinates); false when there is none.
bool GetUpdateRect(HWND hwnd, RECT* rect, bool erase);
// The update region (client coordinates); returns a region type (NULLREGION when empty).
int GetUpdateRgn(HWND hwnd, gdi::Region* out, bool erase);

// Sends WM_NCPAINT when the frame needs it, then WM_ERASEBKGND when the background does (the
// default fills with the class brush); returns a DC clipped to the update region and to the
// visible part of the client area. The update region is cleared.
HDC BeginPaint(HWND hwnd, PAINTSTRUCT* ps);
bool EndPaint(HWND hwnd, const PAINTSTRUCT* ps);
// Sends WM_PAINT now if the window has an update region.
bool UpdateWindow(HWND hwnd);

constexpr UINT RDW_INVALIDATE = 0x0001;
constexpr UINT RDW_INTERNALPAINT = 0x0002;
constexpr UINT RDW_ERASE = 0x0004;
constexpr UINT RDW_VALIDATE = 0x0008;
constexpr UINT RDW_NOINTERNALPAINT = 0x0010;
constexpr UINT RDW_NOERASE = 0x0020;
constexpr UINT RDW_NOCHILDREN = 0x0040;
constexpr UINT RDW_ALLCHILDREN = 0x0080;
constexpr UINT RDW_UPDATENOW = 0x0100;
constexpr UINT RDW_ERASENOW = 0x0200;
constexpr UINT RDW_FRAME = 0x0400;
constexpr UINT RDW_NOFRAME = 0x0800;
// rect / region in client coordinates; both nullptr = the whole window (with RDW_FRAME the
// non-client area too).
bool RedrawWindow(HWND hwnd, const RECT* rect, const gdi::Region* region, UINT flags);

// A DC over the client area (GetDC) or the whole window (GetWindowDC), drawing into the
// top-level window's backing bitmap at the window's place, clipped to the visible part
// (children excluded for WS_CLIPCHILDREN, siblings above for WS_CLIPSIBLINGS, the window
// region). Release with ReleaseDC; what was drawn is presented then.
HDC GetDC(HWND hwnd);
HDC GetWindowDC(HWND hwnd);
constexpr UINT DCX_WINDOW = 0x0001;
constexpr UINT DCX_CACHE = 0x0002;
constexpr UINT DCX_CLIPCHILDREN = 0x0008;
constexpr UINT DCX_CLIPSIBLINGS = 0x0010;
constexpr UINT DCX_PARENTCLIP = 0x0020;
constexpr UINT DCX_INTERSECTRGN = 0x0080;
// GetDCEx: DCX_WINDOW for the whole window; with DCX_INTERSECTRGN the region (window
// coordinates when DCX_WINDOW, else client) limits it further.
HDC GetDCEx(HWND hwnd, const gdi::Region* clip, UINT flags);
int ReleaseDC(HWND hwnd, HDC dc);
// The window that a DC from GetDC/GetWindowDC/BeginPaint belongs to.
HWND WindowFromDC(HDC dc);

// WM_SETREDRAW FALSE turns drawing off for a window (its DCs draw nothing and it is not
// painted) until WM_SETREDRAW TRUE; DefWindowProc handles it.

// Paints every window that needs it now (the WM_PAINT pass of the loop) and presents.
void UpdateAllWindows();

// The backing bitmap of a top-level window (nullptr for child windows or invalid handles):
// what the display presents. Its size is the window rectangle's.
const gdi::Bitmap* GetWindowBitmap(HWND topLevel);
// The screen as composed from the visible top-level windows, bottom to top, over the
// desktop colour.
gdi::Bitmap ComposeScreen();
// A copy of a window's pixels (window rectangle) as they are on its top-level bitmap.
gdi::Bitmap CaptureWindow(HWND hwnd);

}  // namespace win
