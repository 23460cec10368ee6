#include "skin/engine/win_skin_form.h"

#include <algorithm>

#include "forms/control_windows_made.h"
#include "forms/form.h"
#include "platform/win/input.h"
#include "platform/win/message.h"
#include "platform/win/painting.h"
#include "platform/win/styles.h"
#include "platform/win/subclass.h"
#include "platform/win/window.h"
#include "skin/engine/caption_hint.h"
#include "skin/engine/skin_data.h"
#include "skin/engine/skin_manage.h"
#include "skin/engine/skin_types.h"

namespace skin {

namespace {
constexpr win::UINT kThemedCaption = 0xAE;
}

TWinSkinForm::TWinSkinForm(win::HWND h, int m, std::string class_name)
    : Hwnd(h), classname(std::move(class_name)), mode(m) {}

TWinSkinForm::~TWinSkinForm() {
    *alive_ = false;
    if (Skinstate != 6)
        UnSubclass();
    Controllist.clear();
}

void TWinSkinForm::InitTform(TSkinData* sd, forms::TForm* form) {
    FForm = form;
    if (sd->OnBeforeSkinForm)
        sd->OnBeforeSkinForm(sd, Hwnd, classname);
    InitSkin(sd);
    formcolor = form->Color();
    form->SetColor(sd->Color(csButtonFace));
    colour_set_ = true;
}

void TWinSkinForm::InitDlg(TSkinData* sd) {
    InitSkin(sd);
}

void TWinSkinForm::InitSkin(TSkinData* sd) {
    if (subclassed_)
        return;
    fsd = sd;
    if (TSkinManage* m = TSkinManage::Instance())
        m->state = 1;
    sMainMenu = sd->SkinControls.has(xcMainMenu);
    ReadWindowStyle();
    ismessagebox = classname == "#32770" || classname == "TMessageForm";
    if (ismessagebox)
        FormBorder = sbsDialog;
    // A child of a multi-document frame keeps the system frame when the component asks so.
    if (FormStyle == sfsMDIChild && sd->Options.has(xoMDIChildBorder))
        sMainMenu = false;
    win::SetWindowSubclass(Hwnd, &TWinSkinForm::SubclassProc, 1,
                           reinterpret_cast<win::DWORD_PTR>(this));
    subclassed_ = true;
    if (sMainMenu) {
        // This window system has no menu bars on windows, so there is no menu band.
        MenuHeight = 0;
        InitSkinData();
        return;
    }
    // Without frame skinning the window is running at once and its frame stays as the system
    // draws it.
    Skinstate = kSkinRunning;
}

void TWinSkinForm::ReadWindowStyle() {
    const auto style = static_cast<win::DWORD>(win::GetWindowLongPtr(Hwnd, win::GWL_STYLE));
    const auto ex = static_cast<win::DWORD>(win::GetWindowLongPtr(Hwnd, win::GWL_EXSTYLE));
    bidileft = (ex & win::WS_EX_LEFTSCROLLBAR) != 0;
    ischildform = (style & win::WS_CHILD) != 0;
    const bool mdi_child = (ex & win::WS_EX_MDICHILD) != 0;
    FormIcons = {};
    if (style & win::WS_SYSMENU)
        FormIcons.include(sbisystem);
    if (style & win::WS_MINIMIZEBOX)
        FormIcons.include(sbiMin);
    if (style & win::WS_MAXIMIZEBOX)
        FormIcons.include(sbiMax);
    if (ex & win::WS_EX_CONTEXTHELP)
        FormIcons.include(sbiHelp);
    if ((ex & win::WS_EX_APPWINDOW) || (!win::GetWindow(Hwnd, win::GW_OWNER) && !mdi_child))
        FormIcons.include(sbicaption);
    FormStyle = mdi_child ? sfsMDIChild : ischildform ? sfsChild : sfsNormal;
    if ((style & win::WS_CAPTION) != win::WS_CAPTION)
        FormBorder = sbsNone;
    else if (style & win::WS_THICKFRAME)
        FormBorder = sbsSizeable;
    else if ((style & win::DS_MODALFRAME) || (ex & win::WS_EX_DLGMODALFRAME))
        FormBorder = sbsDialog;
    else
        FormBorder = sbsSingle;
    fSizeable = FormBorder == sbsSizeable;
    fMaxable = FormIcons.has(sbiMax);
    fminable = FormIcons.has(sbiMin);
    Windowstate = win::IsIconic(Hwnd) ? swsMin : win::IsZoomed(Hwnd) ? swsMax : swsNormal;
}

win::LRESULT TWinSkinForm::SubclassProc(win::HWND h, win::UINT msg, win::WPARAM wp, win::LPARAM lp,
                                        win::UINT_PTR, win::DWORD_PTR ref) {
    auto* self = reinterpret_cast<TWinSkinForm*>(ref);
    if (!self || self->Hwnd != h)
        return win::DefSubclassProc(h, msg, wp, lp);
    return self->WinWndProc(msg, wp, lp);
}

win::LRESULT TWinSkinForm::WinWndProc(win::UINT msg, win::WPARAM wp, win::LPARAM lp) {
    switch (msg) {
        case win::WM_NCPAINT:
            if (Skinstate == kSkinSettingUp)
                return 0;
            break;
        case win::WM_ERASEBKGND:
            if (auto* dc = reinterpret_cast<gdi::DC*>(wp)) {
                dc->fill_rect(win::GetClientRect(Hwnd), fsd->Color(csButtonFace));
                return 1;
            }
            break;
        case win::WM_NCDESTROY: {
            Skinstate = kSkinDestroying;
            StopTimer();
            ActiveBtn = nullptr;
            win::HWND h = Hwnd;
            win::RemoveWindowSubclass(h, &TWinSkinForm::SubclassProc, 1);
            subclassed_ = false;
            const win::LRESULT r = win::DefSubclassProc(h, msg, wp, lp);
            Skinstate = kSkinDeleted;
            return r;
        }
        case kThemedCaption:
            return 0;
        case win::WM_INITMENUPOPUP:
            // The window's own window menu is skinned as such.
            if (win::HIWORD(static_cast<win::DWORD>(lp)) != 0)
                if (TSkinManage* m = TSkinManage::Instance())
                    m->menutype = 2;
            break;
        case win::WM_CTLCOLORSTATIC:
        case win::WM_CTLCOLORBTN:
            if (auto* dc = reinterpret_cast<gdi::DC*>(wp)) {
                dc->set_bk_color(fsd->Color(csButtonFace));
                dc->set_text_color(fsd->Color(csText));
                if (!FForm)
                    dc->set_bk_mode(gdi::BkMode::Transparent);
            }
            return win::CreateSolidBrush(fsd->Color(csButtonFace));
        case win::WM_NCACTIVATE:
            if (Skinstate == kSkinSettingUp && FormStyle != sfsMDIChild) {
                FWindowActive = wp != 0;
                return 0;
            }
            break;
        case CN_SkinActive:
            TakeOver();
            return 0;
        case CN_Recreated:
            DropDeadControls();
            if (FForm)
                InitControls(FForm);
            else
                InitHwndControls(Hwnd);
            return 0;
        case CN_SkinQuery:
            return 1;
        case forms::CM_CONTROLWINDOWSMADE:
            ControlWindowsMade(reinterpret_cast<forms::TWinControl*>(lp));
            break;
        default:
            break;
    }
    if (sMainMenu) {
        bool handled = false;
        const win::LRESULT r = FrameMessage(msg, wp, lp, handled);
        if (handled)
            return r;
    }
    return win::DefSubclassProc(Hwnd, msg, wp, lp);
}

void TWinSkinForm::TakeOver() {
    if (FActive || Skinstate == kSkinDestroying || Skinstate == kSkinDeleted)
        return;
    FActive = true;
    if (FForm)
        ScanControls(FForm);
    else
        InitHwndControls(Hwnd);
    if (!win::IsWindow(Hwnd))
        return;
    if (sMainMenu && Skinstate == kSkinSettingUp) {
        const gdi::Rect wr = win::GetWindowRect(Hwnd);
        const gdi::Rect cr = win::GetClientRect(Hwnd);
        sys_nc = {wr.width() - cr.width(), wr.height() - cr.height()};
        FWindowActive = win::GetActiveWindow() == Hwnd;
        Windowstate = win::IsIconic(Hwnd) ? swsMin : win::IsZoomed(Hwnd) ? swsMax : swsNormal;
        if (Windowstate != swsNormal) {
            // Measured in its normal state: a minimized window has no client area to measure,
            // and the rectangle it goes back to takes the skinned frame around the same client.
            sys_nc = win::GetNormalFrameSize(Hwnd);
            if (FormStyle != sfsChild && FormBorder != sbsNone)
                ReframeNormalRect(sys_nc, SkinnedFrameSize());
        }
        Skinstate = kSkinResizing;
        if (FormStyle == sfsChild) {
            ResizeForm();
            Cropwindow();
        } else if (FormBorder != sbsNone && Windowstate != swsMin) {
            ResizeForm();
            if (Windowstate == swsNormal)
                Cropwindow();
        } else {
            // A minimized window or one without border takes the frame as it is.
            win::SetWindowPos(Hwnd, nullptr, 0, 0, 0, 0,
                              win::SWP_NOMOVE | win::SWP_NOSIZE | win::SWP_NOZORDER |
                                  win::SWP_NOACTIVATE | win::SWP_FRAMECHANGED);
        }
        if (!win::IsWindow(Hwnd))
            return;
    }
    AfterSkin();
    Skinstate = kSkinRunning;
    if (sMainMenu && FWindowActive)
        StartTimer();
    win::RedrawWindow(Hwnd, nullptr, nullptr,
                      win::RDW_INVALIDATE | win::RDW_ERASE | win::RDW_FRAME | win::RDW_ALLCHILDREN);
}

void TWinSkinForm::AfterSkin() {
    if (fsd && fsd->OnAfterSkinForm)
        fsd->OnAfterSkinForm(fsd, Hwnd, classname);
}

void TWinSkinForm::UnSubclass() {
    const bool frame = sMainMenu && subclassed_;
    StopTimer();
    if (TCaptionHint::Window() && win::GetWindow(TCaptionHint::Window(), win::GW_OWNER) == Hwnd)
        TCaptionHint::Hide();
    ActiveBtn = nullptr;
    if (subclassed_ && win::IsWindow(Hwnd))
        win::RemoveWindowSubclass(Hwnd, &TWinSkinForm::SubclassProc, 1);
    subclassed_ = false;
    for (auto& sc : Controllist)
        if (sc->Alive())
            sc->Unsubclass();
    Controllist.clear();
    skinned_.clear();
    if (colour_set_ && FForm && Skinstate != kSkinDestroying && Skinstate != kSkinDeleted &&
        !FForm->Destroying())
        FForm->SetColor(formcolor);
    colour_set_ = false;
    if (frame)
        RestoreSystemFrame();
    SysBtn.clear();
    FActive = false;
}

void TWinSkinForm::SkinChange() {
    const int saved = Skinstate;
    Skinstate = kSkinChanging;
    if (colour_set_ && FForm)
        FForm->SetColor(fsd->Color(csButtonFace));
    for (auto& sc : Controllist)
        if (sc->Alive())
            sc->SkinChange();
    if (sMainMenu && FActive && win::IsWindow(Hwnd)) {
        // New border widths around the same client area, and the shape from the new borders.
        ActiveBtn = nullptr;
        InitSkinData();
        if (Windowstate != swsMin && !ischildform && FormBorder != sbsNone)
            ResizeForm();
        if (Windowstate != swsMin)
            Cropwindow();
    }
    Skinstate = saved == kSkinChanging ? kSkinRunning : saved;
    if (win::IsWindow(Hwnd))
        win::RedrawWindow(
            Hwnd, nullptr, nullptr,
            win::RDW_INVALIDATE | win::RDW_ERASE | win::RDW_FRAME | win::RDW_ALLCHILDREN);
}

void TWinSkinForm::ControlWindowsMade(forms::TWinControl* control) {
    // Before the take-over the first scan finds them; while a skin change or the window's end
    // is under way nothing new is taken in.
    if (!FForm || !FActive || Skinstate != 1 || !control || control->ParentForm() != FForm)
        return;
    ScanControls(control);
}

void TWinSkinForm::ScanControls(forms::TWinControl* container) {
    if (scanning_) {
        made_during_scan_.push_back(std::make_unique<forms::TComponentTracker>(container));
        return;
    }
    scanning_ = true;
    InitControls(container);
    // Windows made while the scan attached skinning objects (an application's handler may have
    // made them, and may have freed some of them again before their turn).
    while (!made_during_scan_.empty()) {
        std::vector<std::unique_ptr<forms::TComponentTracker>> more;
        more.swap(made_during_scan_);
        for (const auto& watched : more)
            if (!watched->Deleted())
                InitControls(static_cast<forms::TWinControl*>(watched->Component()));
    }
    scanning_ = false;
}

void TWinSkinForm::DropDeadControls() {
    for (auto it = Controllist.begin(); it != Controllist.end();) {
        if (!(*it)->Alive()) {
            skinned_.erase((*it)->Control());
            it = Controllist.erase(it);
        } else {
            ++it;
        }
    }
}

bool TWinSkinForm::HasSkin(const forms::TControl* control) const {
    return skinned_.count(control) != 0;
}

TSkinControl* TWinSkinForm::SkinOf(const forms::TControl* control) const {
    for (const auto& sc : Controllist)
        if (sc->Control() == control && sc->Alive())
            return sc.get();
    return nullptr;
}

TSkinControl* TWinSkinForm::SkinOfWindow(win::HWND h) const {
    for (const auto& sc : Controllist)
        if (sc->Window() == h && sc->Alive())
            return sc.get();
    return nullptr;
}

void TWinSkinForm::Attach(std::unique_ptr<TSkinControl> sc, forms::TWinControl* control,
                          bool newcolor) {
    TSkinControl* raw = sc.get();
    Controllist.push_back(std::move(sc));
    skinned_.insert(control);
    raw->Init(this, fsd, control, newcolor);
}

}  // namespace skin
