#include "test_support.h"

namespace wintest {

using namespace win;

std::vector<Entry>& log() {
    static std::vector<Entry> l;
    return l;
}

void clear_log() {
    log().clear();
}

std::vector<std::string> names(HWND only, bool keep_noise) {
    std::vector<std::string> out;
    for (const auto& e : log()) {
        if (only && e.hwnd != only)
            continue;
        if (!keep_noise &&
            (e.msg == WM_NCHITTEST || e.msg == WM_GETTEXT || e.msg == WM_GETTEXTLENGTH ||
             e.msg == WM_SETCURSOR) &&
            e.tag.empty()) {
            continue;
        }
        out.push_back(e.tag.empty() ? MessageName(e.msg) : e.tag);
    }
    return out;
}

LRESULT RecordingProc(HWND h, UINT m, WPARAM w, LPARAM l) {
    log().push_back({h, m, w, {}});
    return DefWindowProc(h, m, w, l);
}

void register_classes() {
    static bool done = false;
    if (done)
        return;
    done = true;
    WNDCLASS wc;
    wc.style = CS_DBLCLKS;
    wc.lpfnWndProc = RecordingProc;
    wc.hbrBackground = COLOR_BTNFACE + 1;
    wc.lpszClassName = "RecWindow";
    RegisterClass(wc);
    WNDCLASS plain;
    plain.lpfnWndProc = DefWindowProc;
    plain.hbrBackground = CreateSolidBrush(gdi::rgb(255, 255, 255));
    plain.lpszClassName = "Plain";
    RegisterClass(plain);
}

void WinTest::SetUp() {
    scoped_ = std::make_unique<clk::ScopedClock>(clock_);
    register_classes();
    SetScreenSize(1280, 1024);
    clear_log();
}

void WinTest::TearDown() {
    SetIdleScript(nullptr);
    std::vector<HWND> tops;
    EnumWindows([&](HWND h) {
        tops.push_back(h);
        return true;
    });
    for (HWND h : tops)
        DestroyWindow(h);
    ClearQuit();
    PumpPending();
    clear_log();
    scoped_.reset();
}

HWND WinTest::top(const char* title, DWORD style, RECT r) {
    return CreateWindowEx(0, "RecWindow", title, style, r.left, r.top, r.width(), r.height(),
                          nullptr, nullptr, nullptr, nullptr);
}

HWND WinTest::child(HWND parent, RECT r, DWORD style, int id, const char* cls) {
    return CreateWindowEx(0, cls, "", style, r.left, r.top, r.width(), r.height(), parent,
                          ChildId(static_cast<UINT_PTR>(id)), nullptr, nullptr);
}

win::COLORREF pixel(win::HWND h, int x, int y) {
    win::POINT p{x, y};
    win::ClientToScreen(h, &p);
    win::HWND root = win::GetAncestor(h, win::GA_ROOT);
    win::RECT wr = win::GetWindowRect(root);
    return win::GetWindowBitmap(root)->color_at(p.x - wr.left, p.y - wr.top);
}

}  // namespace wintest
