// The skinned frame's messages: activation, size and state, the mouse in the non-client area,
// title-button actions, the window menu, and the hover timer with its hints.
#include <algorithm>

#include "platform/clock/clock.h"
#include "platform/win/input.h"
#include "platform/win/menu.h"
#include "platform/win/message.h"
#include "platform/win/painting.h"
#include "platform/win/subclass.h"
#include "platform/win/timer.h"
#include "platform/win/window.h"
#include "skin/engine/caption_hint.h"
#include "skin/engine/skin_data.h"
#include "skin/engine/skin_manage.h"
#include "skin/engine/win_skin_form.h"
#include "skin/skin_elements.h"

namespace skin {

namespace {

constexpr win::UINT_PTR kFrameTimerId = 0x35F0;
constexpr win::UINT kFrameTimerMs = 250;
// The application's hint pauses: a hint comes after twice the first and stays for the second.
constexpr int kHintPauseMs = 500;
constexpr int kHintHidePauseMs = 2500;
// How far below the mouse a hint appears.
constexpr int kHintBelowMouse = 24;
// A press this close to the top edge is the top border, never the caption.
constexpr int kTopGrip = 3;

gdi::Point ScreenPoint(win::LPARAM lp) {
    return {win::GET_X_LPARAM(lp), win::GET_Y_LPARAM(lp)};
}

}  // namespace

win::LRESULT TWinSkinForm::FrameMessage(win::UINT msg, win::WPARAM wp, win::LPARAM lp,
                                        bool& handled) {
    handled = false;
    switch (msg) {
        case win::WM_ACTIVATE:
            FWindowActive = win::LOWORD(static_cast<win::DWORD>(wp)) != win::WA_INACTIVE;
            return 0;
        case win::WM_SETICON:
            InitSkinData();
            win::SendMessage(Hwnd, CN_RepaintFrame, 0, 0);
            return 0;
        case win::WM_SYSCOMMAND: {
            const win::WPARAM cmd = wp & 0xFFF0;
            if (cmd == win::SC_MINIMIZE)
                Windowstate = swsMin;
            else if (cmd == win::SC_MAXIMIZE)
                Windowstate = swsMax;
            else if (cmd == win::SC_RESTORE)
                Windowstate = (Windowstate == swsMin && win::IsZoomed(Hwnd)) ? swsMax : swsNormal;
            else if (cmd == win::SC_KEYMENU && lp == ' ' && Skinstate == kSkinRunning) {
                // Alt+Space: the skinned window menu under the caption's left end.
                const gdi::Rect wr = win::GetWindowRect(Hwnd);
                PopSysmenu(wr.left + bw.Left, wr.top + bw.Top);
                handled = true;
                return 0;
            }
            return 0;
        }
        default:
            break;
    }
    // The frame's own messages wait until the window is set up.
    if (Skinstate == kSkinSettingUp)
        return 0;
    switch (msg) {
        case win::WM_NCCALCSIZE:
            handled = true;
            return NcCalcSize(wp, lp);
        case win::WM_NCHITTEST:
            handled = true;
            return NcHitTest(lp);
        case win::WM_NCPAINT:
        case CN_RepaintFrame:
            handled = true;
            UpdateNc();
            return 0;
        case win::WM_NCACTIVATE:
            handled = true;
            NcActivate(wp != 0);
            return 1;
        case win::WM_NCMOUSEMOVE:
            handled = NcMouseMove(ScreenPoint(lp));
            return 0;
        case win::WM_NCLBUTTONDOWN:
            handled = NcLButtonDown(wp, lp);
            return 0;
        case win::WM_NCLBUTTONUP:
            handled = NcLButtonUp(ScreenPoint(lp));
            return 0;
        case win::WM_NCLBUTTONDBLCLK:
            handled = NcLButtonDblClk(wp, ScreenPoint(lp));
            return 0;
        case win::WM_NCRBUTTONUP:
            if (wp == static_cast<win::WPARAM>(win::HTCAPTION) && FormStyle != sfsMDIChild) {
                handled = true;
                const gdi::Point p = ScreenPoint(lp);
                PopSysmenu(p.x, p.y);
            }
            return 0;
        case win::WM_SIZE: {
            if (wp == win::SIZE_MINIMIZED)
                Windowstate = swsMin;
            else if (wp == win::SIZE_MAXIMIZED)
                Windowstate = swsMax;
            else if (wp == win::SIZE_RESTORED)
                Windowstate = swsNormal;
            if (Windowstate != swsMin && !(FormStyle == sfsMDIChild && Windowstate == swsMax) &&
                Skinstate != kSkinResizing)
                Cropwindow();
            return 0;
        }
        default:
            return 0;
    }
}

win::LRESULT TWinSkinForm::NcHitTest(win::LPARAM lp) {
    // The system's answer first: outside the window or its shape stays outside.
    const win::LRESULT def = win::DefSubclassProc(Hwnd, win::WM_NCHITTEST, 0, lp);
    if (def == win::HTNOWHERE || def == win::HTTRANSPARENT || !win::IsWindow(Hwnd))
        return def;
    const gdi::Rect wr = win::GetWindowRect(Hwnd);
    const gdi::Point p = ToWindow(ScreenPoint(lp));
    const int w = wr.width(), h = wr.height();
    if (Windowstate == swsMin || win::IsIconic(Hwnd))
        return win::HTCAPTION;
    gdi::Point origin{0, 0};
    win::ClientToScreen(Hwnd, &origin);
    const gdi::Rect client = win::GetClientRect(Hwnd).offset(origin.x - wr.left, origin.y - wr.top);
    if (client.contains(p))
        return win::HTCLIENT;
    if (fSizeable && Windowstate == swsNormal) {
        // The skin's borders size the window; the corners reach as far as a caption is high.
        const int corner = std::max({bw.Top, bw.Left, bw.Right, bw.Bottom, 8});
        const int left = std::max(bw.Left, 2), right = std::max(bw.Right, 2);
        const int bottom = std::max(bw.Bottom, 2);
        const bool at_left = p.x < left, at_right = p.x >= w - right;
        const bool at_top = p.y <= kTopGrip, at_bottom = p.y >= h - bottom;
        if (at_top)
            return p.x < corner ? win::HTTOPLEFT : p.x >= w - corner ? win::HTTOPRIGHT : win::HTTOP;
        if (at_bottom)
            return p.x < corner        ? win::HTBOTTOMLEFT
                   : p.x >= w - corner ? win::HTBOTTOMRIGHT
                                       : win::HTBOTTOM;
        if (at_left && p.y >= bw.Top)
            return p.y >= h - corner ? win::HTBOTTOMLEFT : win::HTLEFT;
        if (at_right && p.y >= bw.Top)
            return p.y >= h - corner ? win::HTBOTTOMRIGHT : win::HTRIGHT;
    }
    if (p.y > kTopGrip && p.y < bw.Top)
        return win::HTCAPTION;
    if (MenuHeight > 0 && p.y >= bw.Top && p.y < bw.Top + MenuHeight)
        return win::HTMENU;
    if (p.y <= kTopGrip && p.y < bw.Top)
        return win::HTCAPTION;
    return win::HTBORDER;
}

TWinSysButton* TWinSkinForm::SysBtnAt(gdi::Point p) const {
    if (p.y < 0 || p.y >= bw.Top)
        return nullptr;
    for (const auto& b : SysBtn)
        if (b->visible && b->HasImage() && b->data.Action >= 0 && b->bounds.contains(p))
            return b.get();
    return nullptr;
}

TWinSysButton* TWinSkinForm::SysBtnAgain(gdi::Point screen, int action) const {
    TWinSysButton* b = SysBtnAt(ToWindow(screen));
    return b && b->Action() == action ? b : nullptr;
}

void TWinSkinForm::LeaveActiveBtn() {
    if (TNCObject* b = ActiveBtn) {
        ActiveBtn = nullptr;
        b->MouseLeave();
    }
    hover_ms = 0;
    TCaptionHint::Hide();
}

bool TWinSkinForm::NcMouseMove(gdi::Point screen) {
    if (!FWindowActive)
        return false;
    TWinSysButton* b = SysBtnAt(ToWindow(screen));
    if (b == ActiveBtn)
        return b != nullptr;
    LeaveActiveBtn();
    if (!b)
        return false;
    ActiveBtn = b;
    b->MouseEnter();
    return true;
}

bool TWinSkinForm::NcLButtonDown(win::WPARAM hit, win::LPARAM lp) {
    TCaptionHint::Hide();
    const gdi::Point screen = ScreenPoint(lp);
    TWinSysButton* b = SysBtnAt(ToWindow(screen));
    if (b) {
        if (!FWindowActive) {
            // The activation may change the icon or the skin, which rebuilds the title buttons,
            // or switch the skinning off, which frees this object.
            const int action = b->Action();
            const std::shared_ptr<bool> alive = alive_;
            const win::HWND h = Hwnd;
            win::SetActiveWindow(h);
            if (!*alive || !win::IsWindow(h))
                return true;
            if (Skinstate != kSkinRunning || !FrameOn())
                return true;
            b = SysBtnAgain(screen, action);
            if (!b)
                return true;
        }
        if (ActiveBtn && ActiveBtn != b)
            ActiveBtn->MouseLeave();
        ActiveBtn = b;
        b->MouseDown();
        return true;
    }
    if (Windowstate == swsMax && FWindowActive && hit == static_cast<win::WPARAM>(win::HTCAPTION)) {
        // A maximized window is not dragged by its caption.
        win::DefSubclassProc(Hwnd, win::WM_NCLBUTTONDOWN, static_cast<win::WPARAM>(win::HTMENU),
                             lp);
        return true;
    }
    return false;
}

bool TWinSkinForm::NcLButtonUp(gdi::Point screen) {
    auto* b = dynamic_cast<TWinSysButton*>(ActiveBtn);
    if (!b) {
        // The window menu opened by a click on the icon ends at the second press of a double
        // click, and that press goes no further; its release, soon enough, closes the window.
        TWinSysButton* icon = SysBtnAt(ToWindow(screen));
        const int64_t now = clk::current().monotonic_ms();
        if (icon && (icon->Action() == 3 || icon->Action() == 11) && poptime >= 0 &&
            now - poptime < win::GetDoubleClickTime()) {
            poptime = -1;
            StopTimer();
            win::PostMessage(Hwnd, win::WM_SYSCOMMAND, win::SC_CLOSE, 0);
            return true;
        }
        return false;
    }
    if (SysBtnAt(ToWindow(screen)) != b || b->state != 2) {
        // Released away from the pressed button: it comes up and does nothing.
        if (b->state == 2)
            LeaveActiveBtn();
        return false;
    }
    b->MouseUp();
    SysBtnAction(b, screen);
    return true;
}

void TWinSkinForm::SysBtnAction(TWinSysButton* b, gdi::Point screen) {
    const win::HWND h = Hwnd;
    const int action = b->Action();
    switch (action) {
        case 0: {
            win::HMENU sys = win::GetSystemMenu(h, false);
            const win::UINT st =
                sys ? win::GetMenuState(sys, win::SC_CLOSE, win::MF_BYCOMMAND) : win::MENU_ERROR;
            if (st == win::MENU_ERROR || !(st & (win::MF_GRAYED | win::MF_DISABLED))) {
                StopTimer();
                win::PostMessage(h, win::WM_SYSCOMMAND, win::SC_CLOSE, 0);
            }
            break;
        }
        case 1:
        case 22:
            if (b->enabled)
                win::PostMessage(h, win::WM_SYSCOMMAND,
                                 win::IsZoomed(h) ? win::SC_RESTORE : win::SC_MAXIMIZE, 0);
            break;
        case 2:
        case 23:
            if (b->enabled)
                win::PostMessage(h, win::WM_SYSCOMMAND,
                                 win::IsIconic(h) ? win::SC_RESTORE : win::SC_MINIMIZE, 0);
            break;
        case 3:
        case 11:
        case 12:
            PopSysmenu(screen.x + 1, screen.y + 1);
            break;
        case 4:
            win::PostMessage(h, win::WM_SYSCOMMAND, win::SC_CONTEXTHELP, 0);
            break;
        case 7:
        case 60:
        case 8:
        case 61:
        case 9:
        case 62:
            // These act on a maximized child of a multi-document frame; this window system has
            // none, so there is nothing to act on.
            break;
        default:
            win::PostMessage(h, CN_SysBtnAction, static_cast<win::WPARAM>(action), 0);
            break;
    }
}

bool TWinSkinForm::NcLButtonDblClk(win::WPARAM hit, gdi::Point screen) {
    if (TWinSysButton* b = SysBtnAt(ToWindow(screen))) {
        if (b->Action() == 3 || b->Action() == 11) {
            poptime = -1;
            StopTimer();
            win::PostMessage(Hwnd, win::WM_SYSCOMMAND, win::SC_CLOSE, 0);
        }
        return true;
    }
    if (hit != static_cast<win::WPARAM>(win::HTCAPTION))
        return false;
    if (Windowstate != swsNormal) {
        win::PostMessage(Hwnd, win::WM_SYSCOMMAND, win::SC_RESTORE, 0);
        return true;
    }
    if (FormIcons.has(sbiMax)) {
        win::PostMessage(Hwnd, win::WM_SYSCOMMAND, win::SC_MAXIMIZE, 0);
        return true;
    }
    return false;
}

void TWinSkinForm::PopSysmenu(int x, int y) {
    const int64_t now = clk::current().monotonic_ms();
    if (ActiveBtn && poptime >= 0 && now - poptime < win::GetDoubleClickTime()) {
        // A second request right after the first on the icon closes the window.
        poptime = -1;
        LeaveActiveBtn();
        StopTimer();
        win::PostMessage(Hwnd, win::WM_SYSCOMMAND, win::SC_CLOSE, 0);
        return;
    }
    // Only a request from a title button (the icon) counts as the first of a double click.
    poptime = ActiveBtn ? now : -1;
    TCaptionHint::Hide();
    win::HMENU sys = win::GetSystemMenu(Hwnd, false);
    if (!sys)
        return;
    if (TSkinManage* m = TSkinManage::Instance())
        m->menutype = 2;
    const win::HWND h = Hwnd;
    // Switching the skinning off while the menu is open frees this object.
    const std::shared_ptr<bool> alive = alive_;
    // The chosen command comes back as WM_SYSCOMMAND once the menu is closed.
    win::TrackPopupMenu(sys, win::TPM_LEFTBUTTON | win::TPM_RIGHTBUTTON, x, y, 0, h, nullptr);
    if (*alive && win::IsWindow(h) && Skinstate == kSkinRunning)
        LeaveActiveBtn();
}

void TWinSkinForm::NcActivate(bool active) {
    FWindowActive = active;
    if (active && Skinstate == kSkinRunning) {
        StartTimer();
    } else {
        StopTimer();
        LeaveActiveBtn();
    }
    UpdateNc();
}

void TWinSkinForm::StartTimer() {
    if (timer_id_ || !win::IsWindow(Hwnd))
        return;
    timer_id_ =
        win::SetTimer(Hwnd, kFrameTimerId, kFrameTimerMs,
                      [this](win::HWND, win::UINT, win::UINT_PTR, win::DWORD) { OnTimer(); });
}

void TWinSkinForm::StopTimer() {
    if (timer_id_ && win::IsWindow(Hwnd))
        win::KillTimer(Hwnd, timer_id_);
    timer_id_ = 0;
}

void TWinSkinForm::OnTimer() {
    if (Skinstate != kSkinRunning)
        return;
    auto* b = dynamic_cast<TWinSysButton*>(ActiveBtn);
    if (!b)
        return;
    gdi::Point cursor;
    win::GetCursorPos(&cursor);
    if (!b->bounds.contains(ToWindow(cursor))) {
        LeaveActiveBtn();
        return;
    }
    hover_ms += static_cast<int>(kFrameTimerMs);
    if (!fsd || !fsd->Options.has(xoCaptionButtonHint))
        return;
    const std::string text = CaptionButtonHint(b->Action());
    const int from = 2 * kHintPauseMs, to = from + kHintHidePauseMs;
    if (text.empty() || hover_ms < from) {
        return;
    }
    if (hover_ms >= to) {
        TCaptionHint::Hide();
        return;
    }
    if (!TCaptionHint::Window()) {
        const gdi::Rect wr = win::GetWindowRect(Hwnd);
        TCaptionHint::Show(Hwnd, text, b->bounds.left + wr.left, cursor.y + kHintBelowMouse);
    }
}

}  // namespace skin
