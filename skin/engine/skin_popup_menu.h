#pragma once

#include <memory>

#include "platform/win/types.h"

namespace skin {

class TSkinData;

// A pop-up menu window ("#32768") in the skin: its frame is drawn from the menu background
// element, and a print request draws that picture with the items over it.
class TWinSkinPopMenu {
  public:
    TWinSkinPopMenu();
    ~TWinSkinPopMenu();
    TWinSkinPopMenu(const TWinSkinPopMenu&) = delete;
    TWinSkinPopMenu& operator=(const TWinSkinPopMenu&) = delete;

    void Init(win::HWND h, TSkinData* sd);
    // Draws the skinned background of the whole menu window into `dc` (window coordinates).
    void DrawBackground(gdi::DC& dc);

    win::HWND hwnd = nullptr;
    TSkinData* fsd = nullptr;
    bool done = false;
    int SelIndex = -1;
    bool ownerdraw = false;
    bool crop = false;

  private:
    struct Link;
    win::LRESULT Proc(win::UINT msg, win::WPARAM wp, win::LPARAM lp);
    static win::LRESULT SubclassProc(win::HWND h, win::UINT msg, win::WPARAM wp, win::LPARAM lp,
                                     win::UINT_PTR id, win::DWORD_PTR ref);
    std::shared_ptr<Link> link_;
};

}  // namespace skin
