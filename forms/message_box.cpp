#include "forms/message_box.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <map>

#include "forms/painter.h"
#include "platform/win/input.h"
#include "platform/win/message.h"
#include "platform/win/metrics.h"
#include "platform/win/painting.h"
#include "platform/win/window.h"

namespace forms {

namespace {

using namespace win;

constexpr DWORD BS_DEFPUSHBUTTON = 0x0001;
constexpr WORD BN_CLICKED = 0;
constexpr int kStaticId = 0xFFFF;
constexpr int kButtonWidth = 75;
constexpr int kButtonHeight = 23;

std::vector<MessageBoxInfo*>& Boxes() {
    static std::vector<MessageBoxInfo*> boxes;
    return boxes;
}

const gdi::Font& DialogFont() {
    static const gdi::Font font = [] {
        gdi::Font f = GetDefaultGuiFont();
        f.height = -12;
        return f;
    }();
    return font;
}

struct PushState {
    bool pressed = false;
    bool tracking = false;
};
std::map<HWND, PushState>& PushStates() {
    static std::map<HWND, PushState> states;
    return states;
}

// Per box, the push button that last had the keyboard. A box that loses the keyboard to one
// opened over it (which disables it, and so takes the focus away) gives it back to that button.
std::map<HWND, HWND>& FocusedPushes() {
    static std::map<HWND, HWND> m;
    return m;
}

void ClickPush(HWND hwnd) {
    HWND parent = GetParent(hwnd);
    if (parent)
        PostMessage(parent, WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(hwnd), BN_CLICKED),
                    HandleToLParam(hwnd));
}

// The next push button among the siblings, wrapping around.
HWND NextPush(HWND hwnd, bool forward) {
    HWND parent = GetParent(hwnd);
    std::vector<HWND> buttons;
    EnumChildWindows(parent, [&](HWND c) {
        if (GetParent(c) == parent && GetClassName(c) == "Button" && IsWindowEnabled(c))
            buttons.push_back(c);
        return true;
    });
    // Children enumerate top of z-order first, which is the reverse of creation order.
    std::reverse(buttons.begin(), buttons.end());
    auto it = std::find(buttons.begin(), buttons.end(), hwnd);
    if (buttons.empty() || it == buttons.end())
        return hwnd;
    if (forward)
        return (it + 1 == buttons.end()) ? buttons.front() : *(it + 1);
    return it == buttons.begin() ? buttons.back() : *(it - 1);
}

LRESULT PushButtonProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    PushState& st = PushStates()[hwnd];
    switch (msg) {
        case WM_PAINT: {
            PAINTSTRUCT ps;
            HDC dc = BeginPaint(hwnd, &ps);
            if (dc) {
                dc->select_font(DialogFont());
                unsigned flags = 0;
                if (st.pressed)
                    flags |= painter::kPressed;
                if (!IsWindowEnabled(hwnd))
                    flags |= painter::kDisabled;
                if (GetFocus() == hwnd)
                    flags |= painter::kFocused;
                if (GetWindowLongPtr(hwnd, GWL_STYLE) & BS_DEFPUSHBUTTON)
                    flags |= painter::kDefault;
                painter::draw_button(*dc, GetClientRect(hwnd), GetWindowText(hwnd), flags,
                                     painter::scheme().button_text);
            }
            EndPaint(hwnd, &ps);
            return 0;
        }
        case WM_ERASEBKGND:
            return 1;
        case WM_LBUTTONDOWN:
        case WM_LBUTTONDBLCLK:
            SetFocus(hwnd);
            SetCapture(hwnd);
            st.tracking = true;
            st.pressed = true;
            InvalidateRect(hwnd, nullptr, false);
            return 0;
        case WM_MOUSEMOVE:
            if (st.tracking) {
                bool inside = GetClientRect(hwnd).contains(MAKEPOINT(lp));
                if (inside != st.pressed) {
                    st.pressed = inside;
                    InvalidateRect(hwnd, nullptr, false);
                }
            }
            return 0;
        case WM_LBUTTONUP:
            if (st.tracking) {
                bool click = st.pressed;
                st.tracking = false;
                st.pressed = false;
                ReleaseCapture();
                InvalidateRect(hwnd, nullptr, false);
                if (click)
                    ClickPush(hwnd);
            }
            return 0;
        case WM_CAPTURECHANGED:
            if (st.tracking) {
                st.tracking = false;
                st.pressed = false;
                InvalidateRect(hwnd, nullptr, false);
            }
            return 0;
        case WM_KEYDOWN:
            if (wp == VK_SPACE) {
                st.pressed = true;
                InvalidateRect(hwnd, nullptr, false);
            } else if (wp == VK_RETURN) {
                ClickPush(hwnd);
            } else if (wp == VK_ESCAPE) {
                PostMessage(GetParent(hwnd), WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
            } else if (wp == VK_TAB || wp == VK_LEFT || wp == VK_RIGHT || wp == VK_UP ||
                       wp == VK_DOWN) {
                bool forward =
                    wp == VK_RIGHT || wp == VK_DOWN || (wp == VK_TAB && GetKeyState(VK_SHIFT) >= 0);
                SetFocus(NextPush(hwnd, forward));
            }
            return 0;
        case WM_KEYUP:
            if (wp == VK_SPACE && st.pressed) {
                st.pressed = false;
                InvalidateRect(hwnd, nullptr, false);
                ClickPush(hwnd);
            }
            return 0;
        case WM_SETFOCUS:
            FocusedPushes()[GetParent(hwnd)] = hwnd;
            [[fallthrough]];
        case WM_KILLFOCUS:
        case WM_ENABLE:
        case WM_SETTEXT: {
            LRESULT r = DefWindowProc(hwnd, msg, wp, lp);
            InvalidateRect(hwnd, nullptr, false);
            return r;
        }
        case WM_NCDESTROY:
            PushStates().erase(hwnd);
            break;
        default:
            break;
    }
    return DefWindowProc(hwnd, msg, wp, lp);
}

LRESULT StaticProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
        case WM_PAINT: {
            PAINTSTRUCT ps;
            HDC dc = BeginPaint(hwnd, &ps);
            if (dc) {
                dc->select_font(DialogFont());
                gdi::Rect r = GetClientRect(hwnd);
                // The box decides the colours, as a dialog does for its static controls (a
                // skinned box paints its background in the skin's colour).
                gdi::Color back = GetSysColor(COLOR_BTNFACE);
                gdi::Color text = GetSysColor(COLOR_WINDOWTEXT);
                if (HWND parent = GetParent(hwnd)) {
                    dc->set_text_color(text);
                    const HBRUSH brush = static_cast<HBRUSH>(
                        SendMessage(parent, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc),
                                    HandleToLParam(hwnd)));
                    COLORREF c = 0;
                    if (brush && BrushColor(brush, &c)) {
                        back = c;
                        text = dc->text_color();
                    }
                }
                dc->fill_rect(r, back);
                dc->set_bk_mode(gdi::BkMode::Transparent);
                dc->set_text_color(text);
                dc->draw_text(GetWindowText(hwnd), r, gdi::DT_WORDBREAK | gdi::DT_NOPREFIX);
            }
            EndPaint(hwnd, &ps);
            return 0;
        }
        case WM_ERASEBKGND:
            return 1;
        case WM_NCHITTEST:
            return HTTRANSPARENT;
        case WM_SETTEXT: {
            LRESULT r = DefWindowProc(hwnd, msg, wp, lp);
            InvalidateRect(hwnd, nullptr, true);
            return r;
        }
        default:
            return DefWindowProc(hwnd, msg, wp, lp);
    }
}

// The stop sign of error boxes: a red disc with a white cross.
void DrawStopIcon(gdi::DC& dc, gdi::Point at) {
    gdi::Rect r = gdi::Rect::from_xywh(at.x, at.y, 32, 32);
    dc.select_pen({gdi::PenStyle::Solid, 1, gdi::rgb(128, 0, 0)});
    dc.select_brush({gdi::BrushStyle::Solid, gdi::rgb(255, 0, 0)});
    dc.ellipse(r);
    dc.select_pen({gdi::PenStyle::Solid, 3, gdi::rgb(255, 255, 255)});
    dc.line(at.x + 10, at.y + 10, at.x + 22, at.y + 22);
    dc.line(at.x + 22, at.y + 10, at.x + 10, at.y + 22);
}

}  // namespace

void RegisterDialogControlClasses() {
    WNDCLASS existing;
    if (!GetClassInfo(nullptr, "Button", &existing)) {
        WNDCLASS wc;
        wc.style = CS_DBLCLKS;
        wc.lpfnWndProc = &PushButtonProc;
        wc.lpszClassName = "Button";
        RegisterClass(wc);
    }
    if (!GetClassInfo(nullptr, "Static", &existing)) {
        WNDCLASS wc;
        wc.lpfnWndProc = &StaticProc;
        wc.lpszClassName = "Static";
        RegisterClass(wc);
    }
}

const std::vector<MessageBoxInfo*>& OpenMessageBoxes() {
    return Boxes();
}

int MessageBox(HWND owner, const std::string& text, const std::string& caption, unsigned flags) {
    RegisterDialogControlClasses();
    if (owner && !IsWindow(owner))
        owner = nullptr;
    const bool has_cancel = (flags & 0xF) == MB_OKCANCEL;
    const bool stop_icon = (flags & 0xF0) == MB_ICONSTOP;

    // Measure the text to size the box.
    gdi::Bitmap scratch(1, 1);
    gdi::DC measure(scratch);
    measure.select_font(DialogFont());
    gdi::Rect text_rect{0, 0, 420, 0};
    measure.draw_text(text.empty() ? std::string(" ") : text, text_rect,
                      gdi::DT_CALCRECT | gdi::DT_WORDBREAK | gdi::DT_NOPREFIX);
    const int icon_space = stop_icon ? 32 + 16 : 0;
    const int buttons_width = has_cancel ? 2 * kButtonWidth + 8 : kButtonWidth;
    int client_w = std::max(text_rect.width() + icon_space + 2 * 16, buttons_width + 2 * 16);
    client_w = std::max(client_w, 140);
    const int text_h = std::max(text_rect.height(), stop_icon ? 32 : 0);
    const int client_h = 16 + text_h + 16 + kButtonHeight + 12;

    const DWORD style = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | WS_CLIPCHILDREN;
    const DWORD ex_style = WS_EX_DLGMODALFRAME | WS_EX_TOPMOST;
    HWND box = CreateWindowEx(ex_style, kDialogClass, caption.c_str(), style, 0, 0, client_w,
                              client_h, owner, nullptr, nullptr, nullptr);
    if (!box)
        return 0;
    // Grow the window so that its client area has the measured size, then centre it.
    RECT wr = GetWindowRect(box), cr = GetClientRect(box);
    const int outer_w = client_w + (wr.width() - cr.width());
    const int outer_h = client_h + (wr.height() - cr.height());
    RECT centre_on{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    if (owner && IsWindowVisible(owner))
        centre_on = GetWindowRect(owner);
    int x = centre_on.left + (centre_on.width() - outer_w) / 2;
    int y = centre_on.top + (centre_on.height() - outer_h) / 2;
    MoveWindow(box, std::max(0, x), std::max(0, y), outer_w, outer_h, false);

    MessageBoxInfo info;
    info.hwnd = box;
    info.text = text;
    info.caption = caption;
    info.flags = flags;

    const int text_left = 16 + icon_space;
    HWND label =
        CreateWindowEx(0, "Static", text.c_str(), WS_CHILD | WS_VISIBLE, text_left, 16,
                       text_rect.width() + 2, text_h, box, ChildId(kStaticId), nullptr, nullptr);
    (void)label;
    const int buttons_left = (client_w - buttons_width) / 2;
    const int buttons_top = client_h - 12 - kButtonHeight;
    HWND ok = CreateWindowEx(
        0, "Button", "OK", WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_DEFPUSHBUTTON, buttons_left,
        buttons_top, kButtonWidth, kButtonHeight, box, ChildId(IDOK), nullptr, nullptr);
    if (has_cancel)
        CreateWindowEx(0, "Button", "Cancel", WS_CHILD | WS_VISIBLE | WS_TABSTOP,
                       buttons_left + kButtonWidth + 8, buttons_top, kButtonWidth, kButtonHeight,
                       box, ChildId(IDCANCEL), nullptr, nullptr);

    WNDPROC previous = GetWindowProc(box);
    SetWindowProc(box, WNDPROC::bind([&info, previous, has_cancel, stop_icon](
                                         HWND h, UINT msg, WPARAM wp, LPARAM lp) -> LRESULT {
                      switch (msg) {
                          case WM_ACTIVATE:
                              if (LOWORD(wp) != WA_INACTIVE) {
                                  auto it = FocusedPushes().find(h);
                                  HWND f = it == FocusedPushes().end() ? nullptr : it->second;
                                  SetFocus(f && IsChild(h, f) && IsWindowEnabled(f) ? f : h);
                              }
                              return 0;
                          case WM_COMMAND: {
                              int id = LOWORD(wp);
                              if (id == IDOK || id == IDCANCEL) {
                                  if (!info.done) {
                                      info.result = (id == IDCANCEL && !has_cancel) ? IDOK : id;
                                      info.done = true;
                                  }
                                  return 0;
                              }
                              break;
                          }
                          case WM_CLOSE:
                              if (!info.done) {
                                  info.result = has_cancel ? IDCANCEL : IDOK;
                                  info.done = true;
                              }
                              return 0;
                          case WM_PAINT:
                              if (stop_icon) {
                                  PAINTSTRUCT ps;
                                  HDC dc = BeginPaint(h, &ps);
                                  if (dc)
                                      DrawStopIcon(*dc, {16, 16});
                                  EndPaint(h, &ps);
                                  return 0;
                              }
                              break;
                          default:
                              break;
                      }
                      return CallWindowProc(previous, h, msg, wp, lp);
                  }));

    // Modality: disable the owner, or every other top-level window for a task-modal box.
    std::vector<HWND> disabled;
    auto disable = [&](HWND w) {
        if (w != box && IsWindowEnabled(w)) {
            EnableWindow(w, false);
            disabled.push_back(w);
        }
    };
    if (owner && !(flags & MB_TASKMODAL)) {
        disable(owner);
    } else {
        std::vector<HWND> tops;
        EnumWindows([&](HWND w) {
            tops.push_back(w);
            return true;
        });
        for (HWND w : tops)
            disable(w);
    }
    HWND previously_active = GetActiveWindow();

    Boxes().push_back(&info);
    ShowWindow(box, SW_SHOW);
    SetActiveWindow(box);
    if (IsWindow(ok))
        SetFocus(ok);
    RunMessageLoop([&info] { return info.done; });
    if (!info.done)
        info.result = has_cancel ? IDCANCEL : IDOK;  // the program is quitting
    Boxes().erase(std::remove(Boxes().begin(), Boxes().end(), &info), Boxes().end());

    for (HWND w : disabled)
        if (IsWindow(w))
            EnableWindow(w, true);
    SetWindowProc(box, previous);
    DestroyWindow(box);
    FocusedPushes().erase(box);
    if (previously_active && previously_active != box && IsWindow(previously_active))
        SetActiveWindow(previously_active);
    return info.result;
}

}  // namespace forms
