#include "platform/win/toolbar.h"

#include <algorithm>
#include <cstring>
#include <limits>
#include <memory>

#include "platform/win/classic_drawing.h"
#include "platform/win/control_states.h"
#include "platform/win/hot_part.h"
#include "platform/win/input.h"
#include "platform/win/message.h"
#include "platform/win/metrics.h"
#include "platform/win/painting.h"
#include "platform/win/styles.h"
#include "platform/win/window.h"

namespace win {

namespace {

constexpr int kMaxButtonSide = 32767;

int ClampToInt(int64_t v) {
    return static_cast<int>(std::clamp<int64_t>(v, std::numeric_limits<int>::min() / 2,
                                                std::numeric_limits<int>::max() / 2));
}

bool Shown(const ToolbarButton& b) {
    return !(b.state & TBSTATE_HIDDEN);
}

bool IsSeparator(const ToolbarButton& b) {
    return (b.style & TBSTYLE_SEP) != 0;
}

bool InCheckGroup(const ToolbarButton& b) {
    return !IsSeparator(b) && (b.style & TBSTYLE_CHECKGROUP) == TBSTYLE_CHECKGROUP;
}

gdi::Color Mix(gdi::Color a, gdi::Color b) {
    return gdi::rgb(static_cast<uint8_t>((gdi::red_of(a) + gdi::red_of(b)) / 2),
                    static_cast<uint8_t>((gdi::green_of(a) + gdi::green_of(b)) / 2),
                    static_cast<uint8_t>((gdi::blue_of(a) + gdi::blue_of(b)) / 2));
}

}  // namespace

bool ToolbarButtonPressable(const ToolbarState& s, int i) {
    if (i < 0 || i >= static_cast<int>(s.buttons.size()))
        return false;
    const ToolbarButton& b = s.buttons[i];
    return Shown(b) && !IsSeparator(b) && (b.state & TBSTATE_ENABLED);
}

void ToolbarSetChecked(ToolbarState& s, int i, bool check) {
    if (i < 0 || i >= static_cast<int>(s.buttons.size()))
        return;
    ToolbarButton& b = s.buttons[i];
    if (!check) {
        b.state &= static_cast<BYTE>(~TBSTATE_CHECKED);
        return;
    }
    b.state |= TBSTATE_CHECKED;
    if (!InCheckGroup(b))
        return;
    int first = i;
    int last = i;
    while (first > 0 && InCheckGroup(s.buttons[first - 1]))
        --first;
    while (last + 1 < static_cast<int>(s.buttons.size()) && InCheckGroup(s.buttons[last + 1]))
        ++last;
    for (int k = first; k <= last; ++k)
        if (k != i)
            s.buttons[k].state &= static_cast<BYTE>(~TBSTATE_CHECKED);
}

std::vector<RECT> ToolbarItemRects(const ToolbarState& s, const RECT& client,
                                   const gdi::Font& font) {
    std::vector<RECT> rects(s.buttons.size());
    if (s.buttons.empty())
        return rects;
    gdi::Bitmap scratch(1, 1);
    gdi::DC dc(scratch);
    dc.select_font(font);
    std::vector<int> text_widths(s.buttons.size(), 0);
    int widest = 0;
    for (size_t i = 0; i < s.buttons.size(); ++i) {
        const ToolbarButton& b = s.buttons[i];
        if (IsSeparator(b) || b.text.empty())
            continue;
        const int64_t w = int64_t{dc.get_text_extent(b.text).cx} + 2 * kToolbarTextMargin;
        text_widths[i] = static_cast<int>(std::min<int64_t>(w, kMaxButtonSide));
        if (!(b.style & TBSTYLE_AUTOSIZE))
            widest = std::max(widest, text_widths[i]);
    }
    const int uniform = std::max(s.button_width, widest);
    const int top = client.top + kToolbarPadding;
    const int bottom = top + s.button_height;
    int64_t left = client.left;
    for (size_t i = 0; i < s.buttons.size(); ++i) {
        const ToolbarButton& b = s.buttons[i];
        const int x = ClampToInt(left);
        if (!Shown(b)) {
            rects[i] = {x, top, x, top};
            continue;
        }
        int width = uniform;
        if (IsSeparator(b))
            width = b.separator_width > 0 ? b.separator_width : kToolbarSeparatorWidth;
        else if (b.style & TBSTYLE_AUTOSIZE)
            width = std::max(text_widths[i], s.button_height);
        left += width;
        rects[i] = {x, top, ClampToInt(left), bottom};
    }
    return rects;
}

int ToolbarHitTest(const ToolbarState& s, const RECT& client, const gdi::Font& font, POINT p) {
    const std::vector<RECT> rects = ToolbarItemRects(s, client, font);
    for (size_t i = 0; i < rects.size(); ++i)
        if (Shown(s.buttons[i]) && rects[i].contains(p))
            return static_cast<int>(i);
    return -1;
}

int ToolbarHeight(const ToolbarState& s) {
    return s.button_height + 2 * kToolbarPadding;
}

void DrawToolbarButton(gdi::DC& dc, const RECT& r, const ToolbarButton& b, bool hot, bool flat,
                       bool bar_enabled, bool keep_face) {
    if (!Shown(b) || r.empty())
        return;
    if (IsSeparator(b)) {
        if (flat) {
            const int x = r.left + r.width() / 2 - 1;
            dc.fill_rect({x, r.top, x + 1, r.bottom}, GetSysColor(COLOR_BTNSHADOW));
            dc.fill_rect({x + 1, r.top, x + 2, r.bottom}, GetSysColor(COLOR_BTNHIGHLIGHT));
        }
        return;
    }
    const bool enabled = bar_enabled && (b.state & TBSTATE_ENABLED);
    const bool down = (b.state & TBSTATE_PRESSED) != 0;
    const bool checked = (b.state & TBSTATE_CHECKED) != 0;
    if (checked && !down && !keep_face)
        dc.fill_rect(r, Mix(GetSysColor(COLOR_BTNFACE), GetSysColor(COLOR_BTNHIGHLIGHT)));
    RECT edge = r;
    if (flat) {
        if (down || checked)
            DrawEdge(dc, &edge, gdi::BDR_SUNKENOUTER, gdi::BF_RECT);
        else if (hot && enabled)
            DrawEdge(dc, &edge, gdi::BDR_RAISEDINNER, gdi::BF_RECT);
    } else {
        DrawEdge(dc, &edge, down || checked ? gdi::EDGE_SUNKEN : gdi::EDGE_RAISED, gdi::BF_RECT);
    }
    if (b.text.empty())
        return;
    const int shift = down || checked ? 1 : 0;
    const RECT text{r.left + 2 + shift, r.top + shift, r.right - 2 + shift, r.bottom + shift};
    if (text.empty())
        return;
    constexpr unsigned kFormat = gdi::DT_SINGLELINE | gdi::DT_VCENTER | gdi::DT_CENTER |
                                 gdi::DT_END_ELLIPSIS | gdi::DT_NOPREFIX;
    dc.set_bk_mode(gdi::BkMode::Transparent);
    if (!enabled) {
        // Etched: a highlight one pixel down and right under the shadow.
        dc.set_text_color(GetSysColor(COLOR_BTNHIGHLIGHT));
        dc.draw_text(b.text, text.offset(1, 1), kFormat);
        dc.set_text_color(GetSysColor(COLOR_BTNSHADOW));
    } else {
        dc.set_text_color(GetSysColor(COLOR_BTNTEXT));
    }
    dc.draw_text(b.text, text, kFormat);
}

void DrawToolbar(gdi::DC& dc, const RECT& client, const ToolbarState& s, const gdi::Font& font,
                 bool enabled, bool flat) {
    if (client.empty())
        return;
    dc.fill_rect(client, GetSysColor(COLOR_BTNFACE));
    dc.select_font(font);
    const std::vector<RECT> rects = ToolbarItemRects(s, client, font);
    for (size_t i = 0; i < rects.size(); ++i) {
        if (rects[i].left >= client.right)
            break;
        DrawToolbarButton(dc, rects[i], s.buttons[i], s.hot == static_cast<int>(i), flat, enabled);
    }
}

namespace {

gdi::Font FontOf(HWND hwnd) {
    if (auto f = reinterpret_cast<HFONT>(SendMessage(hwnd, WM_GETFONT, 0, 0)))
        return *f;
    return GetDefaultGuiFont();
}

int IndexOfCommand(const ToolbarState& s, WPARAM command) {
    for (size_t i = 0; i < s.buttons.size(); ++i)
        if (static_cast<WPARAM>(static_cast<UINT>(s.buttons[i].command)) ==
            static_cast<WPARAM>(static_cast<UINT>(command)))
            return static_cast<int>(i);
    return -1;
}

ToolbarButton FromStruct(const TBBUTTON& in) {
    ToolbarButton b;
    b.command = in.idCommand;
    b.state = in.fsState;
    b.style = in.fsStyle;
    b.data = in.dwData;
    if (b.style & TBSTYLE_SEP)
        b.separator_width = std::clamp(in.iBitmap, 0, kMaxButtonSide);
    else if (in.iString)
        b.text = reinterpret_cast<const char*>(in.iString);
    return b;
}

// What a click does to a button's check state: a check button toggles, a group button is
// checked (and stays checked when clicked again).
void ApplyClick(ToolbarState& s, int i) {
    const ToolbarButton& b = s.buttons[i];
    if (!(b.style & TBSTYLE_CHECK))
        return;
    if (InCheckGroup(b))
        ToolbarSetChecked(s, i, true);
    else
        ToolbarSetChecked(s, i, !(b.state & TBSTATE_CHECKED));
}

void SetPressedBit(ToolbarState& s, bool on) {
    if (s.pressed < 0 || s.pressed >= static_cast<int>(s.buttons.size()))
        return;
    BYTE& state = s.buttons[s.pressed].state;
    state = on ? static_cast<BYTE>(state | TBSTATE_PRESSED)
               : static_cast<BYTE>(state & ~TBSTATE_PRESSED);
}

// Indices kept by the mouse follow an insertion or a removal at `at`.
void ShiftIndices(ToolbarState& s, int at, bool inserted) {
    for (int* i : {&s.hot, &s.pressed}) {
        if (inserted)
            *i += *i >= at ? 1 : 0;
        else
            *i = *i == at ? -1 : *i > at ? *i - 1 : *i;
    }
    if (s.pressed < 0)
        s.pressed_in = false;
}

bool AddButtons(ToolbarState& s, size_t at, const TBBUTTON* in, WPARAM count) {
    if (s.struct_size != sizeof(TBBUTTON))
        return false;
    if (count == 0)
        return true;
    if (!in || count > static_cast<WPARAM>(kToolbarMaxButtons) ||
        s.buttons.size() + count > static_cast<size_t>(kToolbarMaxButtons))
        return false;
    std::vector<ToolbarButton> added;
    added.reserve(count);
    for (WPARAM k = 0; k < count; ++k)
        added.push_back(FromStruct(in[k]));
    s.buttons.insert(s.buttons.begin() + static_cast<std::ptrdiff_t>(at), added.begin(),
                     added.end());
    for (WPARAM k = 0; k < count; ++k)
        ShiftIndices(s, static_cast<int>(at + k), true);
    // Buttons added checked into a group leave one of the group checked: the last one.
    for (WPARAM k = 0; k < count; ++k) {
        const int i = static_cast<int>(at + k);
        if (s.buttons[i].state & TBSTATE_CHECKED)
            ToolbarSetChecked(s, i, true);
    }
    return true;
}

}  // namespace

bool HandleToolbarMessage(HWND hwnd, ToolbarState& s, const gdi::Font& font, UINT msg,
                          WPARAM wParam, LPARAM lParam, LRESULT& result, ToolbarOutcome& out) {
    result = 0;
    out = {};
    const int count = static_cast<int>(s.buttons.size());
    const bool valid_index = wParam < static_cast<WPARAM>(count);
    const int index = valid_index ? static_cast<int>(wParam) : -1;
    switch (msg) {
        case TB_BUTTONSTRUCTSIZE:
            s.struct_size = static_cast<size_t>(wParam);
            return true;
        case TB_BUTTONCOUNT:
            result = count;
            return true;
        case TB_ADDBUTTONS:
            result =
                AddButtons(s, s.buttons.size(), reinterpret_cast<const TBBUTTON*>(lParam), wParam);
            out.repaint = result != 0;
            return true;
        case TB_INSERTBUTTON: {
            const size_t at = std::min<WPARAM>(wParam, s.buttons.size());
            result =
                lParam ? AddButtons(s, at, reinterpret_cast<const TBBUTTON*>(lParam), 1) : FALSE;
            out.repaint = result != 0;
            return true;
        }
        case TB_DELETEBUTTON:
            if (!valid_index)
                return true;
            if (s.pressed == index && GetCapture() == hwnd) {
                SetPressedBit(s, false);
                s.pressed = -1;
                s.pressed_in = false;
                ReleaseCapture();
            }
            s.buttons.erase(s.buttons.begin() + index);
            ShiftIndices(s, index, false);
            result = TRUE;
            out.repaint = true;
            return true;
        case TB_GETBUTTON: {
            if (!valid_index || !lParam || s.struct_size != sizeof(TBBUTTON))
                return true;
            const ToolbarButton& b = s.buttons[index];
            auto* o = reinterpret_cast<TBBUTTON*>(lParam);
            o->iBitmap = (b.style & TBSTYLE_SEP) ? b.separator_width : 0;
            o->idCommand = b.command;
            o->fsState = b.state;
            o->fsStyle = b.style;
            o->dwData = b.data;
            // The caption stays the bar's: valid until the button changes or goes.
            o->iString = b.text.empty() ? 0 : reinterpret_cast<intptr_t>(b.text.c_str());
            result = TRUE;
            return true;
        }
        case TB_COMMANDTOINDEX:
            result = IndexOfCommand(s, wParam);
            return true;
        case TB_GETITEMRECT: {
            if (!valid_index || !lParam)
                return true;
            const std::vector<RECT> rects = ToolbarItemRects(s, GetClientRect(hwnd), font);
            *reinterpret_cast<RECT*>(lParam) = rects[index];
            result = Shown(s.buttons[index]);
            return true;
        }
        case TB_GETSTATE: {
            const int i = IndexOfCommand(s, wParam);
            result = i < 0 ? -1 : s.buttons[i].state;
            return true;
        }
        case TB_SETSTATE:
        case TB_CHECKBUTTON:
        case TB_ENABLEBUTTON:
        case TB_PRESSBUTTON:
        case TB_HIDEBUTTON: {
            const int i = IndexOfCommand(s, wParam);
            if (i < 0)
                return true;
            BYTE& state = s.buttons[i].state;
            const bool on = LOWORD(static_cast<uintptr_t>(lParam)) != 0;
            auto set = [&](BYTE bit) {
                state = on ? static_cast<BYTE>(state | bit) : static_cast<BYTE>(state & ~bit);
            };
            if (msg == TB_SETSTATE)
                state = static_cast<BYTE>(lParam);
            else if (msg == TB_CHECKBUTTON)
                ToolbarSetChecked(s, i, on);
            else if (msg == TB_ENABLEBUTTON)
                set(TBSTATE_ENABLED);
            else if (msg == TB_PRESSBUTTON)
                set(TBSTATE_PRESSED);
            else
                set(TBSTATE_HIDDEN);
            // A button the mouse holds that is disabled or hidden is let go without a click.
            if (s.pressed == i && !ToolbarButtonPressable(s, i)) {
                s.pressed = -1;
                s.pressed_in = false;
                if (GetCapture() == hwnd)
                    ReleaseCapture();
            }
            if (s.hot == i && !ToolbarButtonPressable(s, i))
                s.hot = -1;
            result = TRUE;
            out.repaint = true;
            return true;
        }
        case TB_ISBUTTONENABLED:
        case TB_ISBUTTONCHECKED: {
            const int i = IndexOfCommand(s, wParam);
            if (i >= 0)
                result = (s.buttons[i].state &
                          (msg == TB_ISBUTTONENABLED ? TBSTATE_ENABLED : TBSTATE_CHECKED)) != 0;
            return true;
        }
        case TB_SETBUTTONSIZE: {
            // 0 keeps the default size in that direction; no button is made of no size.
            const int w = LOWORD(static_cast<uintptr_t>(lParam));
            const int h = HIWORD(static_cast<uintptr_t>(lParam));
            s.button_width = std::min(w > 0 ? w : 24, kMaxButtonSide);
            s.button_height = std::min(h > 0 ? h : 22, kMaxButtonSide);
            result = TRUE;
            out.repaint = true;
            return true;
        }
        case TB_GETBUTTONSIZE:
            result = static_cast<LRESULT>(MAKELPARAM(s.button_width, s.button_height));
            return true;
        case TB_HITTEST: {
            if (!lParam) {
                result = -1;
                return true;
            }
            const int hit = ToolbarHitTest(s, GetClientRect(hwnd), font,
                                           *reinterpret_cast<const POINT*>(lParam));
            result = hit;
            return true;
        }
        case TB_GETHOTITEM:
            result = s.hot;
            return true;
        case WM_MOUSEMOVE: {
            const int hit = ToolbarHitTest(s, GetClientRect(hwnd), font, MAKEPOINT(lParam));
            if (s.pressed >= 0) {
                const bool in = hit == s.pressed;
                if (in != s.pressed_in) {
                    s.pressed_in = in;
                    SetPressedBit(s, in);
                    out.repaint = true;
                }
            }
            if (detail::MoveHotPart(hwnd, s.hot, ToolbarButtonPressable(s, hit) ? hit : -1))
                out.repaint = true;
            return true;
        }
        case WM_MOUSELEAVE:
            if (detail::LeaveHotPart(s.hot, -1))
                out.repaint = true;
            return true;
        case WM_LBUTTONDOWN:
        case WM_LBUTTONDBLCLK: {
            const int hit = ToolbarHitTest(s, GetClientRect(hwnd), font, MAKEPOINT(lParam));
            if (!ToolbarButtonPressable(s, hit))
                return true;
            s.pressed = hit;
            s.pressed_in = true;
            SetPressedBit(s, true);
            SetCapture(hwnd);
            out.repaint = true;
            return true;
        }
        case WM_LBUTTONUP:
        case WM_CAPTURECHANGED: {
            if (s.pressed < 0)
                return msg == WM_LBUTTONUP;
            const int pressed = s.pressed;
            // Where the button comes up counts, whatever the last move said.
            const bool click = msg == WM_LBUTTONUP && ToolbarHitTest(s, GetClientRect(hwnd), font,
                                                                     MAKEPOINT(lParam)) == pressed;
            // Let go before the capture is released: that sends WM_CAPTURECHANGED here again.
            SetPressedBit(s, false);
            s.pressed = -1;
            s.pressed_in = false;
            out.repaint = true;
            if (msg == WM_LBUTTONUP && GetCapture() == hwnd)
                ReleaseCapture();
            // A button that stopped being one while held (made a separator) fires nothing.
            if (click && ToolbarButtonPressable(s, pressed)) {
                ApplyClick(s, pressed);
                out.clicked = pressed;
            }
            return true;
        }
        case WM_ENABLE:
            out.repaint = true;
            return false;
        case WM_DESTROY:
            // The mouse's hold and light belong to the window: a window made anew for the same
            // buttons starts with none lit or held.
            SetPressedBit(s, false);
            s.pressed = -1;
            s.pressed_in = false;
            s.hot = -1;
            return false;
        default:
            return false;
    }
}

namespace detail {

namespace {

ControlStates<ToolbarState>& Toolbars() {
    static ControlStates<ToolbarState> toolbars;
    return toolbars;
}

// Fits the bar to its buttons' height and, unless its style says otherwise, to its parent's
// top edge and width.
void AutoSize(HWND hwnd, const ToolbarState& s) {
    const auto style = static_cast<DWORD>(GetWindowLongPtr(hwnd, GWL_STYLE));
    if (style & CCS_NORESIZE)
        return;
    const int height = ToolbarHeight(s);
    HWND parent = GetParent(hwnd);
    if (parent && !(style & CCS_NOPARENTALIGN)) {
        const RECT pc = GetClientRect(parent);
        SetWindowPos(hwnd, nullptr, 0, 0, std::max(0, pc.width()), height,
                     SWP_NOZORDER | SWP_NOACTIVATE);
        return;
    }
    const RECT wr = GetWindowRect(hwnd);
    SetWindowPos(hwnd, nullptr, 0, 0, wr.width(), height,
                 SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOMOVE);
}

}  // namespace

LRESULT toolbar_proc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    Toolbars().Follow(hwnd, msg);
    switch (msg) {
        case WM_ERASEBKGND:
            return 1;  // the paint covers the whole window
        case WM_PAINT:
            return PaintClient(hwnd, wParam, [&](gdi::DC& dc) {
                if (const auto s = Toolbars().Find(hwnd))
                    DrawToolbar(dc, GetClientRect(hwnd), *s, FontOf(hwnd), IsWindowEnabled(hwnd),
                                (GetWindowLongPtr(hwnd, GWL_STYLE) & TBSTYLE_FLAT) != 0);
            });
        case WM_CREATE:
            if (const auto s = Toolbars().Find(hwnd))
                AutoSize(hwnd, *s);
            return 0;
        case TB_AUTOSIZE:
            if (const auto s = Toolbars().Find(hwnd))
                AutoSize(hwnd, *s);
            return 0;
        case WM_GETFONT:
            return DefWindowProc(hwnd, msg, wParam, lParam);
        case WM_SETFONT:
            InvalidateRect(hwnd, nullptr, false);  // the captions size the buttons
            return DefWindowProc(hwnd, msg, wParam, lParam);
        default:
            break;
    }
    if (const std::shared_ptr<ToolbarState> keep = Toolbars().Find(hwnd)) {
        LRESULT result = 0;
        ToolbarOutcome out;
        const bool handled =
            HandleToolbarMessage(hwnd, *keep, FontOf(hwnd), msg, wParam, lParam, result, out);
        if (out.repaint && IsWindow(hwnd))
            InvalidateRect(hwnd, nullptr, false);
        if (out.clicked >= 0 && out.clicked < static_cast<int>(keep->buttons.size())) {
            if (HWND parent = GetParent(hwnd))
                SendMessage(parent, WM_COMMAND,
                            MAKEWPARAM(keep->buttons[out.clicked].command, BN_CLICKED),
                            reinterpret_cast<LPARAM>(hwnd));
        }
        if (handled)
            return result;
    }
    return DefWindowProc(hwnd, msg, wParam, lParam);
}

}  // namespace detail

}  // namespace win
