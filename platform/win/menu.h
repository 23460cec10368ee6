#pragma once

#include <string>
#include <vector>

#include "platform/win/types.h"

namespace win {

// ---- Menu handles ----------------------------------------------------------------------------
// Menus are tables of items kept by handle, as in Win32. A handle stays invalid for good once
// its menu is destroyed (handles are not reused), so IsMenu tells the truth about any handle.
// Item texts are UTF-8; "&x" marks x as the item's accelerator letter ("&&" is a plain '&'),
// and a tab separates the text from a shortcut shown at the right ("&Copy\tCtrl+C").

constexpr UINT MF_BYCOMMAND = 0x0000;
constexpr UINT MF_BYPOSITION = 0x0400;
constexpr UINT MF_STRING = 0x0000;
constexpr UINT MF_ENABLED = 0x0000;
constexpr UINT MF_GRAYED = 0x0001;
constexpr UINT MF_DISABLED = 0x0002;
constexpr UINT MF_UNCHECKED = 0x0000;
constexpr UINT MF_CHECKED = 0x0008;
constexpr UINT MF_POPUP = 0x0010;
constexpr UINT MF_HILITE = 0x0080;
constexpr UINT MF_OWNERDRAW = 0x0100;
constexpr UINT MF_SEPARATOR = 0x0800;
constexpr UINT MF_DEFAULT = 0x1000;
// GetMenuState / GetMenuItemID / EnableMenuItem / CheckMenuItem failure value.
constexpr UINT MENU_ERROR = 0xFFFFFFFF;

// WM_MENUSELECT flags (HIWORD of wParam); 0xFFFF with lParam 0 means the menu closed.
constexpr UINT MF_MOUSESELECT = 0x8000;
constexpr UINT MF_SYSMENU = 0x2000;

// TrackPopupMenu flags.
constexpr UINT TPM_LEFTBUTTON = 0x0000;
constexpr UINT TPM_RIGHTBUTTON = 0x0002;
constexpr UINT TPM_LEFTALIGN = 0x0000;
constexpr UINT TPM_CENTERALIGN = 0x0004;
constexpr UINT TPM_RIGHTALIGN = 0x0008;
constexpr UINT TPM_TOPALIGN = 0x0000;
constexpr UINT TPM_VCENTERALIGN = 0x0010;
constexpr UINT TPM_BOTTOMALIGN = 0x0020;
constexpr UINT TPM_NONOTIFY = 0x0080;
constexpr UINT TPM_RETURNCMD = 0x0100;

// Messages of the menu window class "#32768".
constexpr UINT MN_GETHMENU = 0x01E1;  // returns the HMENU the menu window shows

HMENU CreateMenu();
HMENU CreatePopupMenu();
// Destroys the menu and its submenus. False for invalid handles.
bool DestroyMenu(HMENU menu);
bool IsMenu(HMENU menu);

// Adds an item at the end. `flags`: MF_STRING (text) or MF_SEPARATOR or MF_POPUP (id is the
// submenu's HMENU as an integer), with MF_GRAYED / MF_DISABLED / MF_CHECKED / MF_DEFAULT.
// A null text is an empty one.
bool AppendMenu(HMENU menu, UINT flags, UINT_PTR id, const char* text);
// Inserts before the item `position` names (MF_BYPOSITION: its index, -1 or past the end
// appends; MF_BYCOMMAND: the item with that command, searched in submenus too).
bool InsertMenu(HMENU menu, UINT position, UINT flags, UINT_PTR id, const char* text);
// Replaces an item's flags, command and text.
bool ModifyMenu(HMENU menu, UINT position, UINT flags, UINT_PTR id, const char* text);
// Removes an item; RemoveMenu keeps a submenu alive (the caller owns it), DeleteMenu destroys
// it. Removing items of an open menu is allowed: the menu window shows what is left.
bool RemoveMenu(HMENU menu, UINT position, UINT flags);
bool DeleteMenu(HMENU menu, UINT position, UINT flags);

// -1 for an invalid menu.
int GetMenuItemCount(HMENU menu);
// The command of the item at `pos`: MENU_ERROR for a submenu or a missing item, 0 for a
// separator (as in Win32).
UINT GetMenuItemID(HMENU menu, int pos);
HMENU GetSubMenu(HMENU menu, int pos);
// The item's text (with the '&' markers); copies at most max - 1 bytes and a terminating zero
// into `buffer` and returns the bytes copied (0 when the item does not exist).
int GetMenuString(HMENU menu, UINT item, char* buffer, int max, UINT flags);
std::string GetMenuString(HMENU menu, UINT item, UINT flags);
// MF_GRAYED / MF_CHECKED / MF_SEPARATOR / MF_POPUP / MF_HILITE ... of an item; for a submenu
// item the item count is in the high byte, as in Win32. MENU_ERROR when it does not exist.
UINT GetMenuState(HMENU menu, UINT item, UINT flags);
// Return the previous MF_GRAYED|MF_DISABLED (or MF_CHECKED) state, MENU_ERROR when missing.
UINT EnableMenuItem(HMENU menu, UINT item, UINT enable);
UINT CheckMenuItem(HMENU menu, UINT item, UINT check);
// The default item (shown bold) by command or position; MENU_ERROR when none.
bool SetMenuDefaultItem(HMENU menu, UINT item, UINT byPosition);

// The window menu (Restore, Move, Size, Minimize, Maximize, Close) of a top-level window: the
// window's own copy, made on the first call and destroyed with the window; `revert` drops the
// copy (and returns nullptr). Its commands are SC_* and go to the window as WM_SYSCOMMAND.
HMENU GetSystemMenu(HWND hwnd, bool revert);

// Shows the menu at the screen point and runs the menu until an item is chosen or the menu is
// dismissed (Escape, a press outside, the owner destroyed, EndMenu). The owner gets
// WM_ENTERMENULOOP, WM_INITMENU, WM_INITMENUPOPUP (also for each submenu as it opens),
// WM_MENUSELECT as the highlight moves, and WM_EXITMENULOOP; the chosen command is returned
// with TPM_RETURNCMD (0 when nothing was chosen), else posted to the owner as WM_COMMAND (or
// WM_SYSCOMMAND for the window menu) and TRUE returned. Each open menu is a top-level window of
// class "#32768", created and destroyed in view of the per-thread hook; it paints its frame on
// WM_NCPAINT, its background on WM_ERASEBKGND and its items on WM_PAINT, and answers WM_PRINT
// and WM_PRINTCLIENT with the same pictures, so a replaced procedure can draw the frame and let
// the items draw inside it. Keys act on the menu wherever the focus is: Up, Down, Home, End,
// Right and Left (submenus), Enter, Escape, and accelerator letters. False for an invalid menu,
// an empty one, or a menu already open.
BOOL TrackPopupMenu(HMENU menu, UINT flags, int x, int y, int reserved, HWND owner,
                    const RECT* ignored = nullptr);
// Closes the open menu (as a dismissal).
bool EndMenu();

// The open menu windows, outermost first (empty when no menu is open).
std::vector<HWND> OpenMenuWindows();
// The screen rectangle of an item of an open menu (false when the menu is not shown).
bool GetMenuItemRect(HWND hwnd, HMENU menu, UINT pos, RECT* out);

}  // namespace win
