#include "skin/engine/skin_button.h"

#include <algorithm>

#include "platform/win/input.h"
#include "platform/win/message.h"
#include "platform/win/metrics.h"
#include "platform/win/painting.h"
#include "platform/win/styles.h"
#include "platform/win/timer.h"
#include "platform/win/window.h"
#include "skin/engine/skin_data.h"
#include "skin/skin_draw.h"

namespace skin {

namespace {

constexpr win::DWORD kDefPushButtonStyle = 0x0001;
// The timer that ends a SetRedraw(false) that no SetRedraw(true) follows.
constexpr win::UINT_PTR kRedrawTimer = 1;
constexpr win::UINT kRedrawTimeoutMs = 100;

std::string Lower(std::string_view s) {
    std::string out(s);
    std::transform(out.begin(), out.end(), out.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return out;
}

}  // namespace

void TSkinButton::Init(TWinSkinForm* sf, TSkinData* sd, forms::TWinControl* owner, bool newcolor) {
    TSkinControl::Init(sf, sd, owner, newcolor);
    const std::string cls = Lower(owner->ClassName());
    kind = cls.starts_with("trz") || cls.starts_with("tel") ? 1 : 0;
    trans = owner->Tag() == kTransparentTag || sd->Options.has(xoTransparent);
}

void TSkinButton::Inithwnd(win::HWND h, TSkinData* sd, TWinSkinForm* sf) {
    TSkinControl::Inithwnd(h, sd, sf);
    trans = sd->Options.has(xoTransparent);
}

std::string TSkinButton::ButtonText(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '|' && i + 1 < text.size() && text[i + 1] == '|') {
            out += '\n';
            ++i;
        } else {
            out += text[i];
        }
    }
    return out;
}

bool TSkinButton::CanPaint() const {
    return fsd && fsd->Button && !fsd->Button->Map.empty();
}

void TSkinButton::ReadState() {
    if (control) {
        isdefault = Prop("Default") == "true";
        caption = control->Caption();
        MultiLine = Prop("MultiLine") == "true";
    } else {
        isdefault = (win::GetWindowLongPtr(hwnd, win::GWL_STYLE) & kDefPushButtonStyle) != 0;
        caption = win::GetWindowText(hwnd);
    }
}

int TSkinButton::GetState() const {
    int s = 1;
    if (state & scDown)
        s = 2;
    else if (state & scMouseIn)
        s = 4;
    else if (focused || isdefault)
        s = 5;
    if (!enabled)
        s = 3;
    return s;
}

void TSkinButton::DrawControl(gdi::DC& dc, const gdi::Rect& r) {
    if (!CanPaint() || r.empty())
        return;
    ReadState();
    const int index = GetState();
    const TDataSkinButton& b = *fsd->Button;
    // The parent shows only through the element's magenta; an opaque element covers it all.
    // Under a plain background the element is drawn with that colour in its magenta, in one
    // pass, instead of filling the bitmap first.
    gdi::Color under = 0;
    const bool plain = SizeOffscreen(offscreen_, r, trans && b.trans == 1, under);
    gdi::DC mem(offscreen_);
    if (!plain ||
        !DrawRect2Over(mem, r, b.Map, false, b.Tile != 0, b.trans == 1, 5, index, b.r, under)) {
        if (plain)
            mem.fill_rect(r, under);
        else
            PaintParentBackground(mem);
        DrawRect2(mem, r, b.Map, false, b.Tile != 0, b.trans == 1, 5, index, b.r);
    }

    mem.select_font(ControlFont());
    gdi::Color color = FontColor();
    if (b.newnormal)
        color = fsd->Resolve(b.Normalcolor2);
    if (index == 4 && b.newover)
        color = fsd->Resolve(b.Overcolor2);
    if (index == 2 && b.newdown)
        color = fsd->Resolve(b.Downcolor2);
    if (!enabled)
        color = win::GetSysColor(win::COLOR_BTNSHADOW);
    mem.set_text_color(color);
    mem.set_bk_mode(gdi::BkMode::Transparent);

    // Word-wrapped in the button less 2 pixels each side, the block centred vertically (laid
    // out once, measured and drawn).
    const std::string text = ButtonText(caption);
    const gdi::Rect area = r.inflate(-2, -2);
    const unsigned fmt = gdi::DT_CENTER | gdi::DT_WORDBREAK | gdi::DT_NOPREFIX;
    const gdi::Rect block = mem.draw_text_block(text, area, fmt);
    if (focused && !fsd->Options.has(xoNoFocusRect)) {
        const int w = block.width();
        const int left = area.left + (area.width() - w) / 2;
        mem.draw_focus_rect(gdi::Rect{left, block.top, left + w, block.bottom}.inflate(2, 2));
    }
    dc.bit_blt(r.left, r.top, r.width(), r.height(), offscreen_, 0, 0);
}

void TSkinButton::SetRedraw(bool on) {
    if (!hwnd || !win::IsWindow(hwnd))
        return;
    const auto style = win::GetWindowLongPtr(hwnd, win::GWL_STYLE);
    if (!on) {
        if (style & win::WS_VISIBLE) {
            win::SetWindowLongPtr(hwnd, win::GWL_STYLE, style & ~win::LONG_PTR(win::WS_VISIBLE));
            redraw = true;
        }
        win::SetTimer(hwnd, kRedrawTimer, kRedrawTimeoutMs);
        return;
    }
    win::KillTimer(hwnd, kRedrawTimer);
    if (redraw) {
        redraw = false;
        win::SetWindowLongPtr(hwnd, win::GWL_STYLE, style | win::LONG_PTR(win::WS_VISIBLE));
        Invalidate();
    }
}

void TSkinButton::Unsubclass() {
    // A button going back to the system look is never left hidden by a pending SetRedraw.
    if (skinned && skinstate != 6)
        SetRedraw(true);
    TSkinControl::Unsubclass();
}

bool TSkinButton::BeforeProc(forms::TMessage& m) {
    switch (m.Msg) {
        case win::WM_SETREDRAW:
            SetRedraw(m.WParam != 0);
            m.Result = 0;
            return false;
        case win::WM_TIMER:
            if (m.WParam != kRedrawTimer)
                return true;
            SetRedraw(true);
            m.Result = 0;
            return false;
        case win::WM_PAINT:
        case win::WM_ERASEBKGND:
            return PaintBeforeProc(m);
        case win::WM_LBUTTONDOWN:
        case win::WM_LBUTTONDBLCLK: {
            if (win::GetFocus() != hwnd) {
                if (control)
                    control->SetFocus();
                else
                    win::SetFocus(hwnd);
            }
            state |= scDown;
            Refresh();
            if (kind == 0 && control && skinstate != 6) {
                gdi::Point p = win::MAKEPOINT(m.LParam);
                if (control->Width() > 32768 || control->Height() > 32768) {
                    win::GetCursorPos(&p);
                    win::ScreenToClient(hwnd, &p);
                }
                control->MouseDown(forms::TMouseButton::Left, forms::ssLeft, p.x, p.y);
            }
            m.Result = 0;
            return false;
        }
        default:
            return TSkinControl::BeforeProc(m);
    }
}

void TSkinButton::DoClick() {
    if (control) {
        control->Click();
        return;
    }
    // A push button of a dialog reports its own control ID, as the system's buttons do, so
    // that the dialog sees which button was pressed.
    if (win::HWND parent = win::GetParent(hwnd)) {
        constexpr int kClicked = 0;  // BN_CLICKED
        win::PostMessage(parent, win::WM_COMMAND,
                         win::MAKEWPARAM(win::GetDlgCtrlID(hwnd), kClicked),
                         win::HandleToLParam(hwnd));
    }
}

void TSkinButton::AfterProc(forms::TMessage& m) {
    switch (m.Msg) {
        case win::WM_KEYDOWN:
            if (m.WParam == win::VK_SPACE) {
                state |= scDown;
                Invalidate();
            }
            return;
        case win::WM_KEYUP:
            if (m.WParam == win::VK_SPACE) {
                state &= ~unsigned(scDown);
                Invalidate();
            }
            return;
        case win::WM_MOUSEMOVE:
            if (win::IsWindowEnabled(hwnd) && !(state & scMouseIn)) {
                state |= scMouseIn;
                Invalidate();
                TrackLeave();
            }
            return;
        case win::WM_LBUTTONUP:
            if (state & scDown) {
                state &= ~unsigned(scDown);
                Refresh();
                DoClick();
            }
            return;
        case win::WM_MOUSELEAVE:
            state &= ~unsigned(scMouseIn | scDown);
            Invalidate();
            return;
        case forms::CM_DIALOGKEY:
        case forms::CM_FOCUSCHANGED:
            Invalidate();
            return;
        default:
            TSkinControl::AfterProc(m);
    }
}

}  // namespace skin
