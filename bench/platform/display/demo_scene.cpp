#include "demo_scene.h"

#include "platform/gdi/dc.h"

namespace demo {

using namespace win;

namespace {

constexpr int kButtonId = 1000;

LRESULT ButtonProc(HWND h, UINT m, WPARAM w, LPARAM l) {
    switch (m) {
        case WM_PAINT: {
            PAINTSTRUCT ps;
            HDC dc = BeginPaint(h, &ps);
            RECT r = GetClientRect(h);
            const bool down = GetWindowLongPtr(h, GWLP_USERDATA) != 0;
            dc->fill_rect(r, GetSysColor(COLOR_BTNFACE));
            dc->draw_edge(r, down ? gdi::EDGE_SUNKEN : gdi::EDGE_RAISED, gdi::BF_RECT,
                          SystemEdgeColors());
            dc->set_bk_mode(gdi::BkMode::Transparent);
            dc->set_text_color(GetSysColor(COLOR_BTNTEXT));
            dc->draw_text(GetWindowText(h), r,
                          gdi::DT_CENTER | gdi::DT_VCENTER | gdi::DT_SINGLELINE);
            EndPaint(h, &ps);
            return 0;
        }
        case WM_LBUTTONDOWN:
            SetWindowLongPtr(h, GWLP_USERDATA, 1);
            SetCapture(h);
            InvalidateRect(h, nullptr, false);
            return 0;
        case WM_LBUTTONUP:
            if (GetCapture() == h)
                ReleaseCapture();
            SetWindowLongPtr(h, GWLP_USERDATA, 0);
            InvalidateRect(h, nullptr, false);
            PostMessage(GetParent(h), WM_COMMAND, static_cast<WPARAM>(GetDlgCtrlID(h)),
                        HandleToLParam(h));
            return 0;
        default:
            return DefWindowProc(h, m, w, l);
    }
}

LRESULT EditProc(HWND h, UINT m, WPARAM w, LPARAM l) {
    switch (m) {
        case WM_PAINT: {
            PAINTSTRUCT ps;
            HDC dc = BeginPaint(h, &ps);
            RECT r = GetClientRect(h);
            dc->fill_rect(r, GetSysColor(COLOR_WINDOW));
            RECT t = r.inflate(-3, -1);
            dc->set_bk_mode(gdi::BkMode::Transparent);
            dc->draw_text(GetWindowText(h), t, gdi::DT_LEFT | gdi::DT_VCENTER | gdi::DT_SINGLELINE);
            EndPaint(h, &ps);
            return 0;
        }
        default:
            return DefWindowProc(h, m, w, l);
    }
}

LRESULT LabelProc(HWND h, UINT m, WPARAM w, LPARAM l) {
    switch (m) {
        case WM_PAINT: {
            PAINTSTRUCT ps;
            HDC dc = BeginPaint(h, &ps);
            RECT r = GetClientRect(h);
            dc->fill_rect(r, GetSysColor(COLOR_BTNFACE));
            dc->set_bk_mode(gdi::BkMode::Transparent);
            dc->draw_text(GetWindowText(h), r, gdi::DT_LEFT | gdi::DT_VCENTER | gdi::DT_SINGLELINE);
            EndPaint(h, &ps);
            return 0;
        }
        default:
            return DefWindowProc(h, m, w, l);
    }
}

LRESULT FrameProc(HWND h, UINT m, WPARAM w, LPARAM l) {
    switch (m) {
        case WM_COMMAND:
            if (LOWORD(w) == kButtonId)
                PostQuitMessage(0);
            return 0;
        case WM_DESTROY:
            PostQuitMessage(0);
            return 0;
        default:
            return DefWindowProc(h, m, w, l);
    }
}

void register_one(const char* name, WndProcFn proc, HBRUSH bg, UINT style = 0) {
    WNDCLASS wc;
    wc.style = style;
    wc.lpfnWndProc = proc;
    wc.hbrBackground = bg;
    wc.lpszClassName = name;
    RegisterClass(wc);
}

}  // namespace

void RegisterClasses() {
    static bool done = false;
    if (done)
        return;
    done = true;
    register_one("DemoFrame", FrameProc, COLOR_BTNFACE + 1);
    register_one("DemoButton", ButtonProc, 0, CS_DBLCLKS);
    register_one("DemoEdit", EditProc, 0);
    register_one("DemoLabel", LabelProc, 0);
}

Scene Build(int controls, bool show) {
    RegisterClasses();
    Scene s;
    s.frame =
        CreateWindowEx(0, "DemoFrame", "Velmor Manager",
                       WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN,
                       8, 30, 1265, 693, nullptr, nullptr, nullptr, nullptr);
    const int cols = 12;
    const int cw = 100, ch = 24, gapx = 4, gapy = 6;
    s.counter = CreateWindowEx(0, "DemoLabel", "Ticks: 0", WS_CHILD | WS_VISIBLE, 12, 620, 200, 24,
                               s.frame, nullptr, nullptr, nullptr);
    CreateWindowEx(0, "DemoButton", "Exit", WS_CHILD | WS_VISIBLE | WS_TABSTOP, 1120, 616, 105, 33,
                   s.frame, ChildId(kButtonId), nullptr, nullptr);
    s.controls = 2;
    char text[32];
    for (int i = 0; s.controls < controls; ++i) {
        const int row = i / cols, col = i % cols;
        const int x = 12 + col * (cw + gapx);
        const int y = 8 + row * (ch + gapy);
        if (y + ch > 610)
            break;
        const char* cls = (i % 3 == 0) ? "DemoLabel" : (i % 3 == 1) ? "DemoEdit" : "DemoButton";
        std::snprintf(text, sizeof text,
                      (i % 3 == 1)   ? "%d"
                      : (i % 3 == 0) ? "CH%d"
                                     : "on %d",
                      i + 1);
        DWORD ex = (i % 3 == 1) ? WS_EX_CLIENTEDGE : 0;
        CreateWindowEx(ex, cls, text, WS_CHILD | WS_VISIBLE, x, y, cw, ch, s.frame,
                       ChildId(static_cast<UINT_PTR>(i + 1)), nullptr, nullptr);
        ++s.controls;
    }
    if (show)
        ShowWindow(s.frame, SW_SHOW);
    return s;
}

void SetCounter(const Scene& s, int value) {
    char text[32];
    std::snprintf(text, sizeof text, "Ticks: %d", value);
    SetWindowText(s.counter, text);
    InvalidateRect(s.counter, nullptr, false);
}

void RepaintFully(const Scene& s) {
    RedrawWindow(s.frame, nullptr, nullptr,
                 RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
    UpdateAllWindows();
}

}  // namespace demo
