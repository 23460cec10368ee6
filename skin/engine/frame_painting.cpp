// The skinned frame's painting: borders, caption bar, title text and title buttons.
#include <algorithm>

#include "platform/win/message.h"
#include "platform/win/metrics.h"
#include "platform/win/painting.h"
#include "platform/win/styles.h"
#include "platform/win/window.h"
#include "skin/engine/frame_region.h"
#include "skin/engine/skin_data.h"
#include "skin/engine/sys_button_visibility.h"
#include "skin/engine/win_skin_form.h"
#include "skin/skin_draw.h"
#include "skin/skin_elements.h"

namespace skin {

namespace {

TBorderSet Borders(const TSkinData* sd) {
    return {sd->border[0].get(), sd->border[1].get(), sd->border[2].get(), sd->border[3].get()};
}

}  // namespace

const gdi::Bitmap& TWinSkinForm::BorderPic(int index, int width, int height, bool active) {
    // A border's picture changes only with its element, its size and the activation, so a
    // repaint of the same frame draws none of them anew.
    TBorderPic& c = border_pics_[index];
    const TDataSkinBorder* element = fsd->border[static_cast<size_t>(index)].get();
    if (c.element != element || c.width != width || c.height != height || c.active != active) {
        c.element = element;
        c.width = width;
        c.height = height;
        c.active = active;
        c.pic = BorderPicture(element, index, width, height, active);
    }
    return c.pic;
}

void TWinSkinForm::InitSkinData() {
    if (!fsd)
        return;
    if (FormBorder == sbsNone) {
        bw = {};
        MenuHeight = 0;
    } else {
        bw = BorderWidths(Borders(fsd));
    }
    ActiveBtn = nullptr;
    for (TBorderPic& c : border_pics_)
        c = {};
    SysBtn.clear();
    for (const auto& d : fsd->SysBtn) {
        if (!d)
            continue;
        auto b = std::make_unique<TWinSysButton>(this, fsd, d.get());
        // The icon buttons show the window's icon when the skin gives them no picture.
        if ((d->Action == 3 || d->Action == 11) && b->image.empty()) {
            b->image = fsd->SysIcon;
            b->frames = 1;
        }
        SysBtn.push_back(std::move(b));
    }
    // A running window lays the new buttons out at once, so a press that follows (say, on the
    // activation that rebuilt them) finds them.
    if (Skinstate == kSkinRunning && win::IsWindow(Hwnd))
        UpdateNc();
}

void TWinSkinForm::UpdateNc() {
    if ((Skinstate != kSkinRunning && Skinstate != kSkinChanging) || !FrameOn() || !fsd)
        return;
    gdi::DC* dc = win::GetWindowDC(Hwnd);
    if (!dc)
        return;
    try {
        // The frame never paints over the client area.
        const gdi::Rect wr = win::GetWindowRect(Hwnd);
        gdi::Rect cr = win::GetClientRect(Hwnd);
        gdi::Point origin{0, 0};
        win::ClientToScreen(Hwnd, &origin);
        cr = cr.offset(origin.x - wr.left, origin.y - wr.top);
        if (!cr.empty() && Windowstate != swsMin)
            dc->exclude_clip_rect(cr);
        PaintFrame(*dc);
    } catch (...) {
        // A frame that cannot be painted leaves the window as it is; the DC goes back below.
    }
    win::ReleaseDC(Hwnd, dc);
}

void TWinSkinForm::PaintFrame(gdi::DC& dc) {
    wTr = win::GetWindowRect(Hwnd);
    fwidth = wTr.width();
    fheight = wTr.height();
    if (fwidth <= 0 || fheight <= 0)
        return;
    const bool active = FWindowActive;
    // The side borders run the full height; the caption bar shows their top ends where the
    // "Top" image is transparent.
    const gdi::Bitmap& left = BorderPic(0, bw.Left, fheight, active);
    const gdi::Bitmap& right = BorderPic(1, bw.Right, fheight, active);
    if (Windowstate != swsMin) {
        if (!left.empty())
            dc.bit_blt(0, 0, bw.Left, fheight, left, 0, 0);
        if (!right.empty())
            dc.bit_blt(fwidth - bw.Right, 0, bw.Right, fheight, right, 0, 0);
        const gdi::Rect bottom{bw.Left, fheight - bw.Bottom, fwidth - bw.Right, fheight};
        if (!bottom.empty()) {
            const gdi::Bitmap& pic = BorderPic(3, bottom.width(), bottom.height(), active);
            if (!pic.empty())
                dc.bit_blt(bottom.left, bottom.top, bottom.width(), bottom.height(), pic, 0, 0);
        }
    }
    DrawFLine(dc);
    if (MenuHeight > 0 && Windowstate != swsMin)
        dc.fill_rect({bw.Left, bw.Top, fwidth - bw.Right, bw.Top + MenuHeight},
                     fsd->Color(csMenuBar));
}

void TWinSkinForm::DrawFLine(gdi::DC& dc) {
    const int h = std::min(bw.Top, fheight);
    if (fwidth <= 0 || h <= 0)
        return;
    if (CaptionBuf.width() != fwidth || CaptionBuf.height() != h)
        CaptionBuf = gdi::Bitmap(fwidth, h);
    {
        gdi::DC cdc(CaptionBuf);
        cdc.fill_rect({0, 0, fwidth, h}, fsd->Color(csCaption));
        const gdi::Bitmap& left = BorderPic(0, bw.Left, fheight, FWindowActive);
        const gdi::Bitmap& right = BorderPic(1, bw.Right, fheight, FWindowActive);
        if (left.height() >= h)
            cdc.bit_blt(0, 0, left.width(), h, left, 0, 0);
        if (right.height() >= h)
            cdc.bit_blt(fwidth - right.width(), 0, right.width(), h, right, 0, 0);
        const TDataSkinBorder* top_border = fsd->border[2].get();
        const gdi::Bitmap& top = BorderPic(2, fwidth, bw.Top, FWindowActive);
        if (!top.empty()) {
            // Magenta pixels of a transparent top show what lies beneath: the side borders'
            // ends, or nothing where the window's shape cuts them away.
            if (top_border->trans == 1)
                cdc.transparent_blt(0, 0, fwidth, h, top, 0, 0, fwidth, h);
            else
                cdc.bit_blt(0, 0, fwidth, h, top, 0, 0);
        }
        DrawLine(cdc);
        SetSysbtnRect();
        DrawAllSysbtn(cdc);
    }
    dc.bit_blt(0, 0, fwidth, h, CaptionBuf, 0, 0);
}

void TWinSkinForm::DrawLine(gdi::DC& dc) {
    const TDataSkinTitle* title = fsd->Title.get();
    const std::string text = bstr + win::GetWindowText(Hwnd) + astr;

    RightBtn = 0;
    for (const auto& b : SysBtn) {
        SysBtnVisible(b.get());
        if (b->visible && b->HasImage() && b->data.Align == 1)
            RightBtn = std::max(RightBtn, b->data.XCoord);
    }

    dc.select_font(win::GetCaptionFont());
    dc.set_text_color(fsd->Color(FWindowActive ? csTitleTextActive : csTitleTextNoActive));
    dc.set_bk_mode(gdi::BkMode::Transparent);
    const gdi::Size extent = dc.get_text_extent(text);
    const int backleft = title ? title->backleft : 0;
    const int backright = title ? title->backright : 0;
    const int shift = title ? title->r.left : 0;
    const int shift_vert = title ? title->r.top : 0;
    const int right_clip = title ? title->r.right : 0;
    const int align = title ? title->Aligment : 0;
    const int tw = extent.cx + backleft + backright;
    const int capw = fwidth;
    const int caph = bw.Top;

    int x = shift;
    if (!bidileft) {
        if (align == 1)
            x = (capw - tw) / 2;
        else if (align == 2)
            x = capw - right_clip - tw;
    } else {
        if (align == 0)
            x = capw - RightBtn - tw;
        else if (align == 1)
            x = (capw - RightBtn - tw) / 2;
        else
            x = shift;
        x += 10;
    }
    if (FormBorder == sbsDialog && align == 0)
        x -= 16;
    const int y = (caph - extent.cy) / 2 + shift_vert / 2;
    int right = capw - right_clip;
    const auto style = static_cast<win::DWORD>(win::GetWindowLongPtr(Hwnd, win::GWL_STYLE));
    if ((style & win::WS_POPUP) && RightBtn > 5)
        right = capw - RightBtn - 5;
    ctr = {x, y, std::min(x + tw, right), y + extent.cy};

    if (title && !title->Map.empty() && ctr.right > ctr.left) {
        DrawRect2(dc, {ctr.left, 0, ctr.right, caph}, title->Map, true, true, true, 2,
                  FWindowActive ? 1 : 2, {backleft, 0, backright, 0});
    }
    gdi::Rect tr{ctr.left + backleft, ctr.top, ctr.right - backright, ctr.bottom};
    if (tr.right > tr.left) {
        unsigned fmt = gdi::DT_SINGLELINE | gdi::DT_NOPREFIX | gdi::DT_END_ELLIPSIS;
        if (bidileft)
            fmt |= gdi::DT_RIGHT | gdi::DT_RTLREADING;
        dc.draw_text(text, tr, fmt);
    }
}

void TWinSkinForm::SetSysbtnRect() {
    int right_btn = 0;
    for (const auto& b : SysBtn) {
        if (!b->visible || !b->HasImage()) {
            b->bounds = {};
            continue;
        }
        const TDataSkinSysButton& d = b->data;
        const int w = b->ImageWidth();
        const int h = b->ImageHeight();
        int x = d.XCoord, y = d.YCoord;
        switch (d.Align) {
            case 1:
                x = fwidth - d.XCoord;
                break;
            case 2:
            case 8:
                x = ctr.left - w - d.XCoord;
                break;
            case 3:
            case 9:
                x = d.XCoord + ctr.right;
                break;
            case 100: {
                const int margin = fsd->Menubar ? fsd->Menubar->r.left : 0;
                x = fwidth - d.XCoord - bw.Right - margin;
                y = bw.Top + (MenuHeight - h) / 2;
                break;
            }
            default:
                break;
        }
        b->bounds = {x, y, x + w, y + h};
        if (d.Align == 1)
            right_btn = std::max(right_btn, x);
    }
    if (right_btn > 0)
        RightBtn = right_btn;
}

void TWinSkinForm::DrawAllSysbtn(gdi::DC& dc) {
    for (const auto& b : SysBtn) {
        if (!b->visible || !b->HasImage() || b->data.Visibility == 100)
            continue;
        // A button under the mouse keeps its look through a repaint of the whole caption.
        const int st = (b.get() == ActiveBtn && b->state != 1) ? b->RedrawState()
                                                               : b->CaptionState(FWindowActive);
        b->Paint(dc, st);
    }
}

void TWinSkinForm::DrawSysBtn(TWinSysButton* b) {
    if (!b || !b->visible || !b->HasImage() || !FrameOn() || !win::IsWindow(Hwnd) ||
        (Skinstate != kSkinRunning && Skinstate != kSkinChanging))
        return;
    gdi::DC* dc = win::GetWindowDC(Hwnd);
    if (!dc)
        return;
    try {
        // Title buttons live in the caption bar: what lies outside it is not drawn.
        dc->intersect_clip_rect({0, 0, fwidth, std::min(bw.Top, fheight)});
        // The caption under the button first, so that its transparent pixels show the bar.
        if (CaptionBuf.width() == fwidth && !b->bounds.empty())
            dc->bit_blt(b->bounds.left, b->bounds.top, b->bounds.width(), b->bounds.height(),
                        CaptionBuf, b->bounds.left, b->bounds.top);
        b->Paint(*dc, b->RedrawState());
    } catch (...) {
    }
    win::ReleaseDC(Hwnd, dc);
}

void TWinSkinForm::SysBtnVisible(TWinSysButton* b) {
    TSysBtnConditions c;
    c.maximized = Windowstate == swsMax;
    c.active = FWindowActive;
    c.icons = FormIcons;
    c.dialog = FormBorder == sbsDialog;
    c.messagebox = ismessagebox;
    const TDataSkinSysButton& d = b->data;
    const win::HWND h = Hwnd;
    const auto asks = [h, &d] {
        return win::SendMessage(h, CN_SysBtnVisible, static_cast<win::WPARAM>(d.Visibility),
                                static_cast<win::LPARAM>(d.Action)) > 0;
    };
    const TSysBtnShown s = SysBtnShown(d.Visibility, d.Visibility1, d.Action, c, asks);
    b->visible = s.visible;
    b->enabled = s.enabled;
}

}  // namespace skin
