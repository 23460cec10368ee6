#include "skin/engine/win_skin_form.h"

#include <algorithm>

#include "forms/control_windows_made.h"
#include "forms/form.h"
#include "platform/win/message.h"
#include "platform/win/painting.h"
#include "platform/win/styles.h"
#include "platform/win/subclass.h"
#include "platform/win/window.h"
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
    const auto style = win::GetWindowLongPtr(Hwnd, win::GWL_STYLE);
    ischildform = (style & win::WS_CHILD) != 0;
    ismessagebox = classname == "#32770" || classname == "TMessageForm";
    win::SetWindowSubclass(Hwnd, &TWinSkinForm::SubclassProc, 1,
                           reinterpret_cast<win::DWORD_PTR>(this));
    subclassed_ = true;
    // Frame skinning is for components with xcMainMenu; without it the window is running at
    // once and its frame stays as the system draws it.
    Skinstate = 1;
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
            if (Skinstate == 0)
                return 0;
            break;
        case win::WM_ERASEBKGND:
            if (auto* dc = reinterpret_cast<gdi::DC*>(wp)) {
                dc->fill_rect(win::GetClientRect(Hwnd), fsd->Color(csButtonFace));
                return 1;
            }
            break;
        case win::WM_NCDESTROY: {
            Skinstate = 4;
            win::HWND h = Hwnd;
            win::RemoveWindowSubclass(h, &TWinSkinForm::SubclassProc, 1);
            subclassed_ = false;
            const win::LRESULT r = win::DefSubclassProc(h, msg, wp, lp);
            Skinstate = 6;
            return r;
        }
        case kThemedCaption:
            return 0;
        case win::WM_CTLCOLORSTATIC:
        case win::WM_CTLCOLORBTN:
            if (auto* dc = reinterpret_cast<gdi::DC*>(wp)) {
                dc->set_bk_color(fsd->Color(csButtonFace));
                dc->set_text_color(fsd->Color(csText));
                if (!FForm)
                    dc->set_bk_mode(gdi::BkMode::Transparent);
            }
            return win::CreateSolidBrush(fsd->Color(csButtonFace));
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
    return win::DefSubclassProc(Hwnd, msg, wp, lp);
}

void TWinSkinForm::TakeOver() {
    if (FActive || Skinstate == 4 || Skinstate == 6)
        return;
    FActive = true;
    if (FForm)
        ScanControls(FForm);
    else
        InitHwndControls(Hwnd);
    AfterSkin();
    Skinstate = 1;
    win::InvalidateRect(Hwnd, nullptr, true);
}

void TWinSkinForm::AfterSkin() {
    if (fsd && fsd->OnAfterSkinForm)
        fsd->OnAfterSkinForm(fsd, Hwnd, classname);
}

void TWinSkinForm::UnSubclass() {
    if (subclassed_ && win::IsWindow(Hwnd))
        win::RemoveWindowSubclass(Hwnd, &TWinSkinForm::SubclassProc, 1);
    subclassed_ = false;
    for (auto& sc : Controllist)
        if (sc->Alive())
            sc->Unsubclass();
    Controllist.clear();
    skinned_.clear();
    if (colour_set_ && FForm && Skinstate != 4 && Skinstate != 6 && !FForm->Destroying())
        FForm->SetColor(formcolor);
    colour_set_ = false;
    FActive = false;
}

void TWinSkinForm::SkinChange() {
    const int saved = Skinstate;
    Skinstate = 3;
    if (colour_set_ && FForm)
        FForm->SetColor(fsd->Color(csButtonFace));
    for (auto& sc : Controllist)
        if (sc->Alive())
            sc->SkinChange();
    Skinstate = saved == 3 ? 1 : saved;
    if (win::IsWindow(Hwnd))
        win::RedrawWindow(Hwnd, nullptr, nullptr,
                          win::RDW_INVALIDATE | win::RDW_ERASE | win::RDW_ALLCHILDREN);
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
        made_during_scan_.push_back(container);
        return;
    }
    scanning_ = true;
    InitControls(container);
    // Windows made while the scan attached skinning objects.
    while (!made_during_scan_.empty()) {
        std::vector<forms::TWinControl*> more;
        more.swap(made_during_scan_);
        for (forms::TWinControl* c : more)
            InitControls(c);
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
