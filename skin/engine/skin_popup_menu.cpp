#include "skin/engine/skin_popup_menu.h"

#include "platform/gdi/dc.h"
#include "platform/win/message.h"
#include "platform/win/painting.h"
#include "platform/win/subclass.h"
#include "platform/win/window.h"
#include "skin/engine/skin_data.h"
#include "skin/engine/skin_manage.h"
#include "skin/engine/skin_types.h"
#include "skin/skin_draw.h"

namespace skin {

namespace {
constexpr win::UINT kWmPrint = 0x0317;
}  // namespace

struct TWinSkinPopMenu::Link {
    TWinSkinPopMenu* obj = nullptr;
};

TWinSkinPopMenu::TWinSkinPopMenu() : link_(std::make_shared<Link>()) {
    link_->obj = this;
}

TWinSkinPopMenu::~TWinSkinPopMenu() {
    link_->obj = nullptr;
    if (hwnd && win::IsWindow(hwnd))
        win::RemoveWindowSubclass(hwnd, &TWinSkinPopMenu::SubclassProc, 1);
}

void TWinSkinPopMenu::Init(win::HWND h, TSkinData* sd) {
    hwnd = h;
    fsd = sd;
    win::SetWindowSubclass(h, &TWinSkinPopMenu::SubclassProc, 1,
                           reinterpret_cast<win::DWORD_PTR>(link_.get()));
}

win::LRESULT TWinSkinPopMenu::SubclassProc(win::HWND h, win::UINT msg, win::WPARAM wp,
                                           win::LPARAM lp, win::UINT_PTR, win::DWORD_PTR ref) {
    auto* link = reinterpret_cast<Link*>(ref);
    if (!link || !link->obj)
        return win::DefSubclassProc(h, msg, wp, lp);
    std::shared_ptr<Link> keep = link->obj->link_;
    return link->obj->Proc(msg, wp, lp);
}

void TWinSkinPopMenu::DrawBackground(gdi::DC& dc) {
    const TDataSkinObject* bg = fsd ? fsd->MenuitemBG.get() : nullptr;
    if (!bg || bg->Map.empty())
        return;
    const gdi::Rect w = win::GetWindowRect(hwnd);
    DrawRect2(dc, gdi::Rect{0, 0, w.width(), w.height()}, bg->Map, false, bg->Tile != 0, false, 1,
              1, bg->r);
}

win::LRESULT TWinSkinPopMenu::Proc(win::UINT msg, win::WPARAM wp, win::LPARAM lp) {
    if (msg == CN_SkinQuery)
        return 1;
    TSkinManage* m = TSkinManage::Instance();
    const bool on =
        m && m->active && fsd && !fsd->Empty && fsd->MenuitemBG && !fsd->MenuitemBG->Map.empty();
    if (msg == win::WM_NCDESTROY) {
        win::HWND h = hwnd;
        win::RemoveWindowSubclass(h, &TWinSkinPopMenu::SubclassProc, 1);
        hwnd = nullptr;
        return win::DefSubclassProc(h, msg, wp, lp);
    }
    if (!on)
        return win::DefSubclassProc(hwnd, msg, wp, lp);
    switch (msg) {
        case win::WM_NCPAINT: {
            const win::LRESULT r = win::DefSubclassProc(hwnd, msg, wp, lp);
            if (win::HDC dc = win::GetWindowDC(hwnd)) {
                // Only the border: the items inside keep what the menu drew.
                const gdi::Rect w = win::GetWindowRect(hwnd);
                const int saved = dc->save();
                dc->exclude_clip_rect(gdi::Rect{3, 3, w.width() - 3, w.height() - 3});
                DrawBackground(*dc);
                dc->restore(saved);
                win::ReleaseDC(hwnd, dc);
            }
            return r;
        }
        case win::WM_ERASEBKGND:
            if (fsd->Options.has(xoMenuBG))
                return 1;
            return win::DefSubclassProc(hwnd, msg, wp, lp);
        case kWmPrint: {
            auto* dc = reinterpret_cast<gdi::DC*>(wp);
            if (!dc)
                break;
            DrawBackground(*dc);
            const gdi::Rect w = win::GetWindowRect(hwnd);
            const int saved = dc->save();
            dc->intersect_clip_rect(gdi::Rect{3, 3, w.width() - 3, w.height() - 3});
            dc->set_bk_mode(gdi::BkMode::Transparent);
            // The menu's own print of its client part, which puts the items where its painting
            // does inside the frame.
            win::DefSubclassProc(
                hwnd, kWmPrint, wp,
                (lp & ~(win::PRF_NONCLIENT | win::PRF_ERASEBKGND)) | win::PRF_CLIENT);
            dc->restore(saved);
            return 0;
        }
        default:
            break;
    }
    return win::DefSubclassProc(hwnd, msg, wp, lp);
}

}  // namespace skin
