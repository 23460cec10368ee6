#include "skin/engine/skin_date_time.h"

#include "platform/win/input.h"
#include "platform/win/message.h"
#include "platform/win/metrics.h"
#include "platform/win/painting.h"
#include "platform/win/styles.h"
#include "platform/win/window.h"
#include "skin/engine/skin_data.h"
#include "skin/engine/skin_types.h"
#include "skin/skin_draw.h"

namespace skin {

namespace {

constexpr const char* kArrowClass = "TArrowButton";

void EnsureArrowClass(win::WNDPROC proc) {
    static bool registered = false;
    if (registered)
        return;
    win::WNDCLASS wc;
    wc.lpfnWndProc = std::move(proc);
    wc.lpszClassName = kArrowClass;
    win::RegisterClass(wc);
    registered = true;
}

}  // namespace

TArrowButton::TArrowButton(win::HWND picker, TSkinData* sd) : picker_(picker), fsd_(sd) {
    EnsureArrowClass(&TArrowButton::Proc);
    const gdi::Rect r = win::GetClientRect(picker);
    const int w = win::GetSystemMetrics(win::SM_CXHSCROLL);
    // The picker keeps its children out of its own painting.
    win::SetWindowLongPtr(picker, win::GWL_STYLE,
                          win::GetWindowLongPtr(picker, win::GWL_STYLE) | win::WS_CLIPCHILDREN);
    hwnd_ =
        win::CreateWindowEx(0, kArrowClass, "", win::WS_CHILD | win::WS_VISIBLE, r.right - 2 - w, 2,
                            w, r.height() - 4, picker, nullptr, nullptr, this);
    if (hwnd_)
        win::SetWindowLongPtr(hwnd_, win::GWLP_USERDATA, reinterpret_cast<win::LONG_PTR>(this));
}

TArrowButton::~TArrowButton() {
    if (hwnd_ && win::IsWindow(hwnd_)) {
        win::SetWindowLongPtr(hwnd_, win::GWLP_USERDATA, 0);
        win::DestroyWindow(hwnd_);
    }
}

void TArrowButton::Place() {
    if (!hwnd_ || !win::IsWindow(hwnd_) || !win::IsWindow(picker_))
        return;
    const gdi::Rect r = win::GetClientRect(picker_);
    const int w = win::GetSystemMetrics(win::SM_CXHSCROLL);
    const gdi::Rect want = gdi::Rect::from_xywh(r.right - 2 - w, 2, w, r.height() - 4);
    gdi::Rect now = win::GetWindowRect(hwnd_);
    win::MapWindowPoints(nullptr, picker_, &now);
    if (now != want)
        win::SetWindowPos(hwnd_, nullptr, want.left, want.top, want.width(), want.height(),
                          win::SWP_NOZORDER | win::SWP_NOACTIVATE);
}

win::LRESULT TArrowButton::Proc(win::HWND h, win::UINT msg, win::WPARAM wp, win::LPARAM lp) {
    auto* self = reinterpret_cast<TArrowButton*>(win::GetWindowLongPtr(h, win::GWLP_USERDATA));
    if (msg == CN_SkinQuery)
        return 1;
    if (!self || self->hwnd_ != h)
        return win::DefWindowProc(h, msg, wp, lp);
    return self->Dispatch(msg, wp, lp);
}

win::LRESULT TArrowButton::Dispatch(win::UINT msg, win::WPARAM wp, win::LPARAM lp) {
    switch (msg) {
        case win::WM_PAINT: {
            win::PAINTSTRUCT ps;
            win::HDC dc = win::BeginPaint(hwnd_, &ps);
            if (dc)
                Paint(*dc);
            win::EndPaint(hwnd_, &ps);
            return 0;
        }
        case win::WM_ERASEBKGND:
            return 1;
        case win::WM_MOUSEMOVE:
            if (!over_) {
                over_ = true;
                win::InvalidateRect(hwnd_, nullptr, false);
                win::TRACKMOUSEEVENT tme;
                tme.dwFlags = win::TME_LEAVE;
                tme.hwndTrack = hwnd_;
                win::TrackMouseEvent(&tme);
            }
            return 0;
        case win::WM_MOUSELEAVE:
            over_ = false;
            win::InvalidateRect(hwnd_, nullptr, false);
            return 0;
        case win::WM_LBUTTONDOWN:
        case win::WM_LBUTTONDBLCLK: {
            // The picker gets the press and release at the same place: it opens its calendar.
            gdi::Point p = win::MAKEPOINT(lp);
            win::MapWindowPoints(hwnd_, picker_, &p, 1);
            win::HWND picker = picker_;
            win::SetFocus(picker);
            win::SendMessage(picker, win::WM_LBUTTONDOWN, wp, win::POINTTOLPARAM(p));
            if (win::IsWindow(picker))
                win::SendMessage(picker, win::WM_LBUTTONUP, 0, win::POINTTOLPARAM(p));
            return 0;
        }
        case win::WM_MOUSEACTIVATE:
            return win::MA_NOACTIVATE;
        default:
            return win::DefWindowProc(hwnd_, msg, wp, lp);
    }
}

void TArrowButton::Paint(gdi::DC& dc) {
    const gdi::Rect r = win::GetClientRect(hwnd_);
    dc.fill_rect(r, fsd_->Color(csButtonFace));
    const TDataSkinObject* arrow = fsd_->comboxarrow.get();
    if (!arrow || arrow->Map.empty())
        return;
    const bool hot = over_ && win::IsWindowEnabled(picker_);
    DrawRect1(dc, r, arrow->Map, arrow->frame > 0 ? arrow->frame : 1, hot ? 4 : 1,
              arrow->trans == 1);
}

TSkinDateTime::~TSkinDateTime() = default;

void TSkinDateTime::Init(TWinSkinForm* sf, TSkinData* sd, forms::TWinControl* owner,
                         bool newcolor) {
    TSkinControl::Init(sf, sd, owner, newcolor);
    if (hwnd && sd->comboxarrow && !sd->comboxarrow->Map.empty())
        arrow_ = std::make_unique<TArrowButton>(hwnd, sd);
}

void TSkinDateTime::Unsubclass() {
    if (skinstate != 6)
        arrow_.reset();
    TSkinControl::Unsubclass();
}

bool TSkinDateTime::BeforeProc(forms::TMessage& m) {
    if (m.Msg == win::WM_NCDESTROY)
        arrow_.reset();
    return TSkinControl::BeforeProc(m);
}

void TSkinDateTime::DrawControl(gdi::DC& dc, const gdi::Rect& r) {
    if (r.empty())
        return;
    dc.frame_rect(r, SkinColor(csButtonShadow));
    dc.frame_rect(r.inflate(-1, -1), gdi::rgb(255, 255, 255));
    if (arrow_)
        arrow_->Place();
}

}  // namespace skin
