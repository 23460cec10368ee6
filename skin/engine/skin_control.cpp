#include "skin/engine/skin_control.h"

#include <algorithm>
#include <cctype>
#include <exception>

#include "forms/form.h"
#include "platform/win/input.h"
#include "platform/win/message.h"
#include "platform/win/metrics.h"
#include "platform/win/painting.h"
#include "platform/win/subclass.h"
#include "platform/win/window.h"
#include "skin/engine/skin_data.h"
#include "skin/engine/skin_types.h"
#include "skin/engine/win_skin_form.h"
#include "skin/skin_draw.h"

namespace skin {

// What the replaced WindowProc of a framework control calls: the skinning object while it
// lives, and the control's previous method after it is gone (a control may outlive it, and a
// message may be under way while it is freed).
struct TSkinControl::Link {
    TSkinControl* obj = nullptr;
    forms::TWndMethod old;
    forms::TWinControl* control = nullptr;
};

bool TSkinControl::Watch::Gone() const {
    return link_->obj == nullptr;
}

TSkinControl::TSkinControl() : link_(std::make_shared<Link>()) {
    link_->obj = this;
}

TSkinControl::~TSkinControl() {
    link_->obj = nullptr;
    if (raw_) {
        if (hwnd && win::IsWindow(hwnd))
            win::RemoveWindowSubclass(hwnd, &TSkinControl::RawProc, 1);
    } else if (control && skinstate != 6) {
        // The control is alive: give it its method back, unless another has replaced ours.
        if (!control->Destroying())
            control->WindowProc = link_->old;
    }
}

void TSkinControl::Init(TWinSkinForm* sf, TSkinData* sd, forms::TWinControl* owner, bool newcolor) {
    if (Inited)
        return;
    Inited = true;
    skinform = sf;
    fsd = sd;
    control = owner;
    hwnd = owner->Handle();
    link_->control = owner;
    link_->old = owner->WindowProc;
    std::shared_ptr<Link> link = link_;
    owner->WindowProc = [link](forms::TMessage& m) {
        std::shared_ptr<Link> keep = link;  // the method may be replaced while it runs
        if (keep->obj) {
            keep->obj->NewWndProc(m);
        } else if (keep->old) {
            keep->old(m);
        } else if (keep->control) {
            keep->control->WndProc(m);
        }
    };
    newColor = newcolor;
    if (newColor) {
        oldcolor = owner->Color();
        oldparentcolor = owner->ParentColor();
        owner->SetColor(SkinColor(csButtonFace));
    }
    caption = owner->Caption();
    skinstate = 1;
    Invalidate();
}

void TSkinControl::Inithwnd(win::HWND h, TSkinData* sd, TWinSkinForm* sf) {
    if (Inited)
        return;
    Inited = true;
    raw_ = true;
    hwnd = h;
    fsd = sd;
    skinform = sf;
    caption = win::GetWindowText(h);
    win::SetWindowSubclass(h, &TSkinControl::RawProc, 1,
                           reinterpret_cast<win::DWORD_PTR>(link_.get()));
    skinstate = 1;
    Invalidate();
}

win::LRESULT TSkinControl::RawProc(win::HWND h, win::UINT msg, win::WPARAM wp, win::LPARAM lp,
                                   win::UINT_PTR, win::DWORD_PTR ref) {
    auto* link = reinterpret_cast<Link*>(ref);
    if (!link || !link->obj)
        return win::DefSubclassProc(h, msg, wp, lp);
    forms::TMessage m{msg, wp, lp, 0};
    link->obj->NewWndProc(m);
    return m.Result;
}

void TSkinControl::CallPrevious(forms::TMessage& m) {
    if (raw_) {
        m.Result = win::DefSubclassProc(hwnd, m.Msg, m.WParam, m.LParam);
    } else if (link_->old) {
        forms::TWndMethod old = link_->old;
        old(m);
    } else if (control) {
        control->WndProc(m);
    }
}

void TSkinControl::NewWndProc(forms::TMessage& m) {
    std::shared_ptr<Link> keep = link_;
    if (m.Msg == CN_SkinEnable) {
        skinned = static_cast<intptr_t>(m.WParam) > 0;
        if (skinned)
            Invalidate();
        else
            win::InvalidateRect(hwnd, nullptr, true);
        m.Result = 1;
        return;
    }
    if (!skinned || skinstate == 6) {
        if (m.Msg == CN_SkinQuery) {
            m.Result = 1;
            return;
        }
        // A control in the system look (0x3506) goes away as a skinned one does: the object
        // must not touch it afterwards.
        if (m.Msg == win::WM_NCDESTROY)
            skinstate = 6;
        CallPrevious(m);
        return;
    }
    if (BeforeProc(m)) {
        CallPrevious(m);
        if (keep->obj && skinstate != 6)
            AfterProc(m);
    }
}

bool TSkinControl::BeforeProc(forms::TMessage& m) {
    switch (m.Msg) {
        case win::WM_NCDESTROY:
            skinstate = 6;
            CallPrevious(m);
            Unsubclass();
            return false;
        case CN_SkinQuery:
            m.Result = 1;
            return false;
        case CN_PlainBackground: {
            auto* q = reinterpret_cast<PlainBackgroundQuery*>(m.WParam);
            try {
                m.Result =
                    q && CanPaint() && !PaintsOverPlain() && PlainBackground(q->area, q->colour);
            } catch (const std::exception&) {
                m.Result = 0;  // the child then has the parent painted, which fails quietly
            }
            return false;
        }
        case win::WM_PAINT:
        case win::WM_ERASEBKGND:
            return PaintBeforeProc(m);
        default:
            return true;
    }
}

void TSkinControl::AfterProc(forms::TMessage& m) {
    switch (m.Msg) {
        case win::WM_SETFOCUS:
        case win::WM_KILLFOCUS:
        case win::WM_ENABLE:
        case win::WM_SETTEXT:
        case forms::CM_ENABLEDCHANGED:
        case forms::CM_TEXTCHANGED:
            if (m.Msg == win::WM_SETTEXT || m.Msg == forms::CM_TEXTCHANGED)
                caption = control ? control->Caption() : win::GetWindowText(hwnd);
            Invalidate();
            break;
        default:
            break;
    }
}

void TSkinControl::WMPaint(forms::TMessage& m) {
    if (m.WParam) {
        auto* dc = reinterpret_cast<gdi::DC*>(m.WParam);
        if (PaintsOverPlain())
            CallPrevious(m);
        PaintControl(dc);
        m.Result = 0;
        return;
    }
    win::PAINTSTRUCT ps;
    win::HDC dc = win::BeginPaint(hwnd, &ps);
    if (dc) {
        if (PaintsOverPlain()) {
            forms::TMessage inner{win::WM_PAINT, reinterpret_cast<win::WPARAM>(dc), 0, 0};
            CallPrevious(inner);
        }
        PaintControl(dc);
    }
    win::EndPaint(hwnd, &ps);
    m.Result = 0;
}

void TSkinControl::PaintControl(gdi::DC* dc) {
    if (!hwnd || !win::IsWindow(hwnd))
        return;
    boundsrect = win::GetWindowRect(hwnd);
    const gdi::Rect r{0, 0, boundsrect.width(), boundsrect.height()};
    win::HDC own = nullptr;
    if (!dc) {
        own = win::GetWindowDC(hwnd);
        dc = own;
    }
    if (dc) {
        enabled = win::IsWindowEnabled(hwnd);
        focused = win::GetFocus() == hwnd;
        try {
            int saved = dc->save();
            DrawControl(*dc, r);
            dc->restore(saved);
        } catch (const std::exception&) {
            // A paint never fails the message.
        }
    }
    if (own)
        win::ReleaseDC(hwnd, own);
}

void TSkinControl::WMERASEBKGND(forms::TMessage& m) {
    if (m.WParam) {
        auto* dc = reinterpret_cast<gdi::DC*>(m.WParam);
        if (control)
            PaintParentBackground(*dc);
        else
            dc->fill_rect(win::GetClientRect(hwnd), SkinColor(csButtonFace));
    }
    m.Result = 1;
}

bool TSkinControl::SizeOffscreen(gdi::Bitmap& offscreen, const gdi::Rect& r, bool show_parent,
                                 gdi::Color& colour) {
    if (offscreen.width() != r.width() || offscreen.height() != r.height())
        offscreen = gdi::Bitmap(r.width(), r.height());
    if (!show_parent) {
        colour = SkinColor(csButtonFace);
        return true;
    }
    return ParentPlainColour(colour);
}

void TSkinControl::BeginOffscreen(gdi::Bitmap& offscreen, const gdi::Rect& r, bool show_parent) {
    gdi::Color colour = 0;
    const bool plain = SizeOffscreen(offscreen, r, show_parent, colour);
    gdi::DC mem(offscreen);
    if (plain)
        mem.fill_rect(r, colour);
    else
        PaintParentBackground(mem);
}

bool TSkinControl::ParentPlainColour(gdi::Color& colour) {
    win::HWND parent = win::GetParent(hwnd);
    if (!parent)
        return false;
    const gdi::Rect wr = win::GetWindowRect(hwnd);
    gdi::Point origin{wr.left, wr.top};
    win::ScreenToClient(parent, &origin);
    // Most parents (group boxes, tab sheets) are one colour under their children: a fill
    // gives the same pixels as the parent's whole painting at a small part of its cost.
    PlainBackgroundQuery query{gdi::Rect::from_xywh(origin.x, origin.y, wr.width(), wr.height())};
    if (win::SendMessage(parent, CN_PlainBackground, reinterpret_cast<win::WPARAM>(&query), 0) != 1)
        return false;
    colour = query.colour;
    return true;
}

void TSkinControl::PaintParentBackground(gdi::DC& dc) {
    win::HWND parent = win::GetParent(hwnd);
    if (!parent)
        return;
    const gdi::Rect wr = win::GetWindowRect(hwnd);
    gdi::Point origin{wr.left, wr.top};
    win::ScreenToClient(parent, &origin);
    const gdi::Rect under = gdi::Rect::from_xywh(origin.x, origin.y, wr.width(), wr.height());
    gdi::Color plain = 0;
    if (ParentPlainColour(plain)) {
        dc.fill_rect(gdi::Rect{0, 0, wr.width(), wr.height()}, plain);
        return;
    }
    const int saved = dc.save();
    dc.offset_viewport_origin(-origin.x, -origin.y);
    // Only the part under the control: the parent's other children stay out of the work.
    dc.intersect_clip_rect(under);
    win::SendMessage(parent, win::WM_ERASEBKGND, reinterpret_cast<win::WPARAM>(&dc), 0);
    win::SendMessage(parent, win::WM_PAINT, reinterpret_cast<win::WPARAM>(&dc), 0);
    dc.restore(saved);
}

void TSkinControl::PaintGraphicChildren(gdi::DC& dc, const gdi::Rect& r) {
    if (control)
        control->PaintControls(dc, r);
}

bool TSkinControl::GraphicChildIn(const gdi::Rect& area) const {
    if (!control)
        return false;
    // The framework keeps these bounds while its children stay where they are: the buttons of
    // a busy group box each ask, and the box's dozens of windowed children stay out of it.
    if (area.empty())
        return false;
    for (const gdi::Rect& r : control->WindowlessBounds())
        // Overlapping, written out: the loop runs for every child of a busy box.
        if (r.left < area.right && area.left < r.right && r.top < area.bottom &&
            area.top < r.bottom && !r.empty())
            return true;
    return false;
}

void TSkinControl::Unsubclass() {
    if (!skinned)
        return;
    skinned = false;
    if (skinstate != 6 && control && newColor && !control->Destroying()) {
        // A control that followed its parent's colour follows it again.
        if (oldparentcolor)
            control->SetParentColor(true);
        else
            control->SetColor(oldcolor);
    }
}

void TSkinControl::SkinChange() {
    if (newColor && control && skinstate != 6)
        control->SetColor(SkinColor(csButtonFace));
    Invalidate();
}

void TSkinControl::Invalidate() {
    if (hwnd && win::IsWindow(hwnd))
        win::InvalidateRect(hwnd, nullptr, true);
}

void TSkinControl::Refresh() {
    if (hwnd && win::IsWindow(hwnd)) {
        win::InvalidateRect(hwnd, nullptr, true);
        win::UpdateWindow(hwnd);
    }
}

void TSkinControl::DrawSkinMap(gdi::DC& dc, const gdi::Rect& r, int frame, int state,
                               const TDataSkinObject& element) {
    if (element.Map.empty())
        return;
    DrawRect2(dc, r, element.Map, false, element.Tile != 0, element.trans == 1, frame, state,
              element.r);
}

gdi::Font TSkinControl::ControlFont() const {
    if (control)
        return control->Font().ToGdi();
    if (auto f = reinterpret_cast<win::HFONT>(win::SendMessage(hwnd, win::WM_GETFONT, 0, 0)))
        return *f;
    return win::GetDefaultGuiFont();
}

gdi::Color TSkinControl::FontColor() const {
    if (control)
        return forms::ColorToRGB(control->Font().Color());
    return SkinColor(csButtonText);
}

std::string TSkinControl::Prop(std::string_view name) const {
    if (!control)
        return {};
    std::string v = control->GetPropText(name).value_or("");
    std::transform(v.begin(), v.end(), v.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return v;
}

gdi::Color TSkinControl::SkinColor(int slot) const {
    return fsd ? fsd->Color(static_cast<TShemeColor>(slot)) : gdi::rgb(236, 233, 216);
}

void TSkinControl::TrackLeave() {
    win::TRACKMOUSEEVENT tme;
    tme.dwFlags = win::TME_LEAVE;
    tme.hwndTrack = hwnd;
    win::TrackMouseEvent(&tme);
}

}  // namespace skin
