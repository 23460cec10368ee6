// The skinned frame's geometry: the client area inside the skin's borders, the window's size
// around it, its shape, and the way back to the system frame.
#include <algorithm>

#include "platform/win/message.h"
#include "platform/win/metrics.h"
#include "platform/win/painting.h"
#include "platform/win/subclass.h"
#include "platform/win/window.h"
#include "skin/engine/frame_region.h"
#include "skin/engine/skin_data.h"
#include "skin/engine/win_skin_form.h"
#include "skin/skin_elements.h"

namespace skin {

gdi::Point TWinSkinForm::ToWindow(gdi::Point screen) const {
    const gdi::Rect wr = win::GetWindowRect(Hwnd);
    return {screen.x - wr.left, screen.y - wr.top};
}

win::LRESULT TWinSkinForm::NcCalcSize(win::WPARAM wp, win::LPARAM lp) {
    if (!lp)
        return win::DefSubclassProc(Hwnd, win::WM_NCCALCSIZE, wp, lp);
    auto* params = reinterpret_cast<win::NCCALCSIZE_PARAMS*>(lp);
    auto* rect = reinterpret_cast<win::RECT*>(lp);
    const win::RECT window = wp ? params->rgrc[0] : *rect;
    win::DefSubclassProc(Hwnd, win::WM_NCCALCSIZE, wp, lp);
    const bool system_client =
        (FormStyle == sfsMDIChild && Windowstate != swsNormal) || FormBorder == sbsNone;
    win::RECT client = wp ? params->rgrc[0] : *rect;
    if (!system_client) {
        client = {window.left + bw.Left, window.top + bw.Top + MenuHeight, window.right - bw.Right,
                  window.bottom - bw.Bottom};
        // Borders wider than the window leave an empty client area, never a turned one.
        client.right = std::max(client.right, client.left);
        client.bottom = std::max(client.bottom, client.top);
        client.left = std::min(client.left, std::max(window.right, window.left));
        client.right = std::min(client.right, std::max(window.right, window.left));
        client.top = std::min(client.top, std::max(window.bottom, window.top));
        client.bottom = std::min(client.bottom, std::max(window.bottom, window.top));
    }
    if (!wp) {
        *rect = client;
        return 0;
    }
    params->rgrc[0] = client;
    params->rgrc[1] = client;
    return win::WVR_VALIDRECTS;
}

void TWinSkinForm::ResizeForm() {
    if (!win::IsWindow(Hwnd))
        return;
    const auto frame_changed = win::SWP_NOZORDER | win::SWP_NOACTIVATE | win::SWP_FRAMECHANGED;
    if (Windowstate == swsMax || win::IsZoomed(Hwnd)) {
        win::SetWindowPos(Hwnd, nullptr, 0, 0, 0, 0,
                          win::SWP_NOMOVE | win::SWP_NOSIZE | frame_changed);
        return;
    }
    const gdi::Rect cr = win::GetClientRect(Hwnd);
    int w = cr.width() + bw.Left + bw.Right;
    const int h = cr.height() + bw.Top + bw.Bottom + MenuHeight;
    int widen = 0;
    if (ismessagebox && fsd && fsd->Title) {
        // A message box is widened until its caption fits beside the title buttons.
        gdi::Bitmap probe(1, 1);
        gdi::DC dc(probe);
        dc.select_font(win::GetCaptionFont());
        const int needed = dc.get_text_extent(bstr + win::GetWindowText(Hwnd) + astr).cx +
                           fsd->Title->r.left + fsd->Title->r.right;
        if (needed > w) {
            widen = needed - w;
            w = needed;
        }
    }
    win::SetWindowPos(Hwnd, nullptr, 0, 0, w, h, win::SWP_NOMOVE | frame_changed);
    if (widen > 0) {
        std::vector<win::HWND> children;
        for (win::HWND c = win::GetWindow(Hwnd, win::GW_CHILD); c;
             c = win::GetWindow(c, win::GW_HWNDNEXT))
            children.push_back(c);
        for (win::HWND c : children) {
            if (!win::IsWindow(c))
                continue;
            win::RECT r = win::GetWindowRect(c);
            win::POINT p{r.left, r.top};
            win::ScreenToClient(Hwnd, &p);
            win::SetWindowPos(c, nullptr, p.x + widen / 2, p.y, 0, 0,
                              win::SWP_NOSIZE | win::SWP_NOZORDER | win::SWP_NOACTIVATE);
        }
    }
}

void TWinSkinForm::Cropwindow() {
    if (!sMainMenu || !fsd || !win::IsWindow(Hwnd))
        return;
    const gdi::Rect wr = win::GetWindowRect(Hwnd);
    const int w = wr.width(), h = wr.height();
    if (w == crwidth && h == crheight && Skinstate != kSkinChanging)
        return;
    crwidth = w;
    crheight = h;
    ++region_builds;
    if (w <= 0 || h <= 0 || FormBorder == sbsNone) {
        win::SetWindowRgn(Hwnd, nullptr, true);
        return;
    }
    const TBorderSet borders{fsd->border[0].get(), fsd->border[1].get(), fsd->border[2].get(),
                             fsd->border[3].get()};
    const gdi::Region region = FrameRegion(w, h, bw, borders);
    win::SetWindowRgn(Hwnd, &region, true);
}

void TWinSkinForm::RestoreSystemFrame() {
    if (!win::IsWindow(Hwnd))
        return;
    win::SetWindowRgn(Hwnd, nullptr, Skinstate != kSkinDestroying);
    if (Skinstate == kSkinDestroying || Skinstate == kSkinDeleted || Skinstate == kSkinSettingUp)
        return;
    const auto flags = win::SWP_NOZORDER | win::SWP_NOACTIVATE | win::SWP_FRAMECHANGED;
    // Children other than those of a multi-document frame keep their size.
    const bool resize = FormStyle != sfsChild && FormBorder != sbsNone && !win::IsZoomed(Hwnd) &&
                        !win::IsIconic(Hwnd);
    if (resize) {
        const gdi::Rect wr = win::GetWindowRect(Hwnd);
        const int w = std::max(0, wr.width() - bw.Left - bw.Right + sys_nc.cx);
        const int h = std::max(0, wr.height() - bw.Top - bw.Bottom - MenuHeight + sys_nc.cy);
        win::SetWindowPos(Hwnd, nullptr, 0, 0, w, h, win::SWP_NOMOVE | flags);
    } else {
        if (FormStyle != sfsChild && FormBorder != sbsNone)
            ReframeNormalRect(SkinnedFrameSize(), sys_nc);
        win::SetWindowPos(Hwnd, nullptr, 0, 0, 0, 0, win::SWP_NOMOVE | win::SWP_NOSIZE | flags);
    }
    crwidth = crheight = -1;
}

gdi::Size TWinSkinForm::SkinnedFrameSize() const {
    return {bw.Left + bw.Right, bw.Top + bw.Bottom + MenuHeight};
}

void TWinSkinForm::ReframeNormalRect(gdi::Size from, gdi::Size to) {
    if (!win::IsZoomed(Hwnd) && !win::IsIconic(Hwnd))
        return;
    const gdi::Rect nr = win::GetNormalWindowRect(Hwnd);
    const int w = std::max(0, nr.width() - from.cx + to.cx);
    const int h = std::max(0, nr.height() - from.cy + to.cy);
    win::SetNormalWindowRect(Hwnd, {nr.left, nr.top, nr.left + w, nr.top + h});
}

}  // namespace skin
