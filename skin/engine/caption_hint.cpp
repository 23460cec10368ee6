#include "skin/engine/caption_hint.h"

#include <algorithm>

#include "platform/gdi/dc.h"
#include "platform/win/metrics.h"
#include "platform/win/painting.h"
#include "platform/win/window.h"

namespace skin {

namespace {

constexpr const char* kHintClass = "TSkinCaptionHint";
constexpr int kMaxHintWidth = 500;
constexpr int kPadX = 4;
constexpr int kPadY = 2;

win::HWND g_hint = nullptr;
std::string g_text;

win::LRESULT HintProc(win::HWND h, win::UINT msg, win::WPARAM wp, win::LPARAM lp) {
    switch (msg) {
        case win::WM_PAINT: {
            win::PAINTSTRUCT ps;
            gdi::DC* dc = win::BeginPaint(h, &ps);
            if (dc) {
                const gdi::Rect r = win::GetClientRect(h);
                dc->fill_rect(r, win::GetSysColor(win::COLOR_INFOBK));
                dc->frame_rect(r, win::GetSysColor(win::COLOR_INFOTEXT));
                dc->select_font(win::GetDefaultGuiFont());
                dc->set_bk_mode(gdi::BkMode::Transparent);
                dc->set_text_color(win::GetSysColor(win::COLOR_INFOTEXT));
                dc->draw_text(
                    g_text, r.inflate(-kPadX, -kPadY),
                    gdi::DT_SINGLELINE | gdi::DT_NOPREFIX | gdi::DT_VCENTER | gdi::DT_END_ELLIPSIS);
            }
            win::EndPaint(h, &ps);
            return 0;
        }
        case win::WM_MOUSEACTIVATE:
            return win::MA_NOACTIVATE;
        case win::WM_NCHITTEST:
            return win::HTTRANSPARENT;
        case win::WM_NCDESTROY:
            if (g_hint == h)
                g_hint = nullptr;
            break;
        default:
            break;
    }
    return win::DefWindowProc(h, msg, wp, lp);
}

void Register() {
    win::WNDCLASS wc;
    if (win::GetClassInfo(nullptr, kHintClass, &wc))
        return;
    wc.lpfnWndProc = HintProc;
    wc.lpszClassName = kHintClass;
    win::RegisterClass(wc);
}

}  // namespace

void TCaptionHint::Show(win::HWND owner, const std::string& text, int x, int y) {
    Register();
    g_text = text;
    gdi::Size size;
    {
        gdi::Bitmap probe(1, 1);
        gdi::DC dc(probe);
        dc.select_font(win::GetDefaultGuiFont());
        size = dc.get_text_extent(text);
    }
    const int w = std::min(kMaxHintWidth, size.cx + 2 * kPadX + 2);
    const int h = size.cy + 2 * kPadY + 2;
    if (!g_hint || !win::IsWindow(g_hint)) {
        g_hint = win::CreateWindowEx(
            win::WS_EX_TOOLWINDOW | win::WS_EX_TOPMOST | win::WS_EX_NOACTIVATE, kHintClass, "",
            win::WS_POPUP, x, y, w, h, owner, nullptr, nullptr, nullptr);
        if (!g_hint)
            return;
    } else {
        win::SetWindowPos(g_hint, nullptr, x, y, w, h, win::SWP_NOZORDER | win::SWP_NOACTIVATE);
        win::InvalidateRect(g_hint, nullptr, true);
    }
    win::ShowWindow(g_hint, win::SW_SHOWNA);
}

void TCaptionHint::Hide() {
    if (g_hint && win::IsWindow(g_hint))
        win::DestroyWindow(g_hint);
    g_hint = nullptr;
}

win::HWND TCaptionHint::Window() {
    return g_hint && win::IsWindow(g_hint) && win::IsWindowVisible(g_hint) ? g_hint : nullptr;
}

std::string TCaptionHint::Text() {
    return Window() ? g_text : std::string();
}

std::string CaptionButtonHint(int action) {
    switch (action) {
        case 0:
        case 9:
        case 62:
            return "Close";
        case 1:
        case 22:
            return "Maximize";
        case 2:
        case 7:
        case 23:
        case 60:
            return "Minimize";
        case 8:
        case 61:
            return "Restore";
        default:
            return {};
    }
}

}  // namespace skin
