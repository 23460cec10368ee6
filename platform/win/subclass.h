#pragma once

#include "platform/win/types.h"

namespace win {

// A subclass chain in the manner of comctl32: SetWindowSubclass puts one procedure in front
// of the window's procedure; each is named by (procedure, id) and called with its reference
// data (typically the C++ object that does the subclassing). DefSubclassProc calls the next
// one in the chain and, after the last, the procedure the window had before the first. A
// procedure may remove itself (or others) during its own dispatch: it is unlinked at once and
// freed once the dispatch has unwound, and the messages still in flight finish their way
// down the chain. The chain is dropped at WM_NCDESTROY.
bool SetWindowSubclass(HWND hwnd, SUBCLASSPROC proc, UINT_PTR idSubclass, DWORD_PTR refData);
bool GetWindowSubclass(HWND hwnd, SUBCLASSPROC proc, UINT_PTR idSubclass, DWORD_PTR* refData);
bool RemoveWindowSubclass(HWND hwnd, SUBCLASSPROC proc, UINT_PTR idSubclass);
LRESULT DefSubclassProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);

}  // namespace win
