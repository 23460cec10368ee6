#include "skin/engine/skin_manage.h"

#include <algorithm>
#include <cctype>

#include "forms/application.h"
#include "forms/form.h"
#include "platform/win/hook.h"
#include "platform/win/message.h"
#include "platform/win/painting.h"
#include "platform/win/styles.h"
#include "platform/win/timer.h"
#include "platform/win/window.h"
#include "skin/engine/skin_data.h"
#include "skin/engine/skin_popup_menu.h"
#include "skin/engine/win_skin_form.h"

namespace skin {

namespace {

TSkinManage* g_manager = nullptr;
// Set while the manager goes away: a hook call still under way does nothing.
bool g_hooks_off = false;

std::string Lower(std::string s) {
    std::transform(s.begin(), s.end(), s.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return s;
}

constexpr win::DWORD kSizeGripStyle = 0x10;
constexpr win::DWORD kSetForegroundStyle = 0x200;  // DS_SETFOREGROUND

}  // namespace

constexpr const char* kManagerWindowClass = "TSkinManage";
constexpr win::WPARAM kReskinRequest = 7;

TSkinManage::TSkinManage() {
    CreateOwnWindow();
}

TSkinManage::~TSkinManage() {
    g_hooks_off = true;
    if (window_ && win::IsWindow(window_)) {
        win::SetWindowLongPtr(window_, win::GWLP_USERDATA, 0);
        win::DestroyWindow(window_);
    }
    window_ = nullptr;
    DisableTimer();
    Threadlist.clear();
    ReleaseAll();
    Mlist.clear();
    if (hook_)
        win::UnhookWindowsHookEx(hook_);
    hook_ = nullptr;
    g_hooks_off = false;
}

TSkinManage* TSkinManage::Instance() {
    return g_manager;
}

TSkinManage* TSkinManage::Ensure() {
    if (!g_manager)
        g_manager = new TSkinManage();
    return g_manager;
}

void TSkinManage::Release() {
    TSkinManage* m = g_manager;
    g_manager = nullptr;
    delete m;
}

void TSkinManage::CreateOwnWindow() {
    static bool registered = false;
    if (!registered) {
        win::WNDCLASS wc;
        wc.lpfnWndProc = &TSkinManage::WindowProc;
        wc.lpszClassName = kManagerWindowClass;
        win::RegisterClass(wc);
        registered = true;
    }
    // Hidden and of no size: never shown, never offered to AddForm.
    window_ = win::CreateWindowEx(win::WS_EX_TOOLWINDOW, kManagerWindowClass, "", win::WS_POPUP, 0,
                                  0, 0, 0, nullptr, nullptr, nullptr, nullptr);
    if (window_)
        win::SetWindowLongPtr(window_, win::GWLP_USERDATA, reinterpret_cast<win::LONG_PTR>(this));
}

win::LRESULT TSkinManage::WindowProc(win::HWND h, win::UINT msg, win::WPARAM wp, win::LPARAM lp) {
    if (msg == CN_SkinQuery)
        return 1;
    auto* self = reinterpret_cast<TSkinManage*>(win::GetWindowLongPtr(h, win::GWLP_USERDATA));
    if (msg == CN_ManagerAction) {
        // Only the live manager acts; a request left in the queue of a manager that has gone
        // does nothing.
        if (self && self == g_manager && !g_hooks_off && wp == kReskinRequest)
            self->ReskinWindow(win::HwndFromParam(lp));
        return 0;
    }
    return win::DefWindowProc(h, msg, wp, lp);
}

void TSkinManage::ReskinWindow(win::HWND h) {
    lpara = h;
    if (TWinSkinForm* sf = FindForm(h))
        ReleaseForm(sf);
    if (h && win::IsWindow(h))
        AddForm(h);
}

void TSkinManage::Register(TSkinData* data) {
    if (std::find(Dlist.begin(), Dlist.end(), data) != Dlist.end())
        return;
    Dlist.push_back(data);
    if (!MainData && data->SkinFormtype == sfMainform)
        MainData = data;
}

void TSkinManage::Unregister(TSkinData* data) {
    TSkinManage* m = g_manager;
    if (!m)
        return;
    // The windows skinned with it go back to the system look first.
    for (size_t i = 0; i < m->Flist.size();) {
        if (m->Flist[i]->fsd == data) {
            std::unique_ptr<TWinSkinForm> sf = std::move(m->Flist[i]);
            m->Flist.erase(m->Flist.begin() + static_cast<long>(i));
            if (sf->Skinstate != 6)
                sf->UnSubclass();
        } else {
            ++i;
        }
    }
    std::erase_if(m->Mlist, [&](const auto& menu) { return menu->fsd == data; });
    std::erase(m->Dlist, data);
    if (m->UpdateData == data)
        m->UpdateData = nullptr;
    if (m->MainData == data) {
        m->MainData = nullptr;
        for (TSkinData* d : m->Dlist)
            if (d->SkinFormtype == sfMainform) {
                m->MainData = d;
                break;
            }
    }
    if (m->Dlist.empty())
        Release();
}

void TSkinManage::InstallHook() {
    if (hook_)
        return;
    hook_ = win::SetWindowsHookEx(win::WH_CBT, [this](int code, win::WPARAM wp, win::LPARAM lp) {
        return HookProc(code, wp, lp);
    });
}

win::LRESULT TSkinManage::HookProc(int code, win::WPARAM wp, win::LPARAM lp) {
    win::HHOOK hook = hook_;
    if (!g_hooks_off && g_manager == this) {
        const win::HWND h = win::HwndFromParam(wp);
        switch (code) {
            case win::HCBT_CREATEWND: {
                auto* cbt = reinterpret_cast<win::CBT_CREATEWND*>(lp);
                const win::CREATESTRUCT* cs = cbt ? cbt->lpcs : nullptr;
                const std::string cls = win::GetClassName(h);
                const win::DWORD style = cs ? cs->style : 0;
                const win::DWORD ex = cs ? cs->dwExStyle : 0;
                if (cls == "#32768" && !(style & win::WS_CHILD)) {
                    AddMenu(h);
                } else if (ex & win::WS_EX_MDICHILD) {
                    AddForm(h);
                } else if (Lower(cls) == "scrollbar" && (style & kSizeGripStyle)) {
                    // A size grip keeps the system look: no skinned window frames here.
                }
                break;
            }
            case win::HCBT_DESTROYWND:
                DeleteMenu(h);
                break;
            case win::HCBT_ACTIVATE:
                if (state == 0)
                    state = 1;
                AddForm(h);
                break;
            default:
                break;
        }
    }
    return win::CallNextHookEx(hook, code, wp, lp);
}

void TSkinManage::EnableTimer() {
    timer_id_ = win::SetTimer(nullptr, timer_id_, static_cast<win::UINT>(timer_interval_),
                              [](win::HWND, win::UINT, win::UINT_PTR, win::DWORD) {
                                  if (g_manager)
                                      g_manager->OnTimer();
                              });
    timer_enabled_ = timer_id_ != 0;
}

void TSkinManage::DisableTimer() {
    if (timer_id_)
        win::KillTimer(nullptr, timer_id_);
    timer_id_ = 0;
    timer_enabled_ = false;
}

void TSkinManage::SetAction(int code, int interval_ms) {
    action = code;
    timer_interval_ = interval_ms;
    if (state != 0) {
        for (TSkinManage* sub : sublist) {
            if (code == kActionApply) {
                sub->active = true;
                sub->SetAction(kActionApply, 300);
            } else if (code == kActionRemove) {
                sub->active = false;
            }
        }
        EnableTimer();
        return;
    }
    if (code == kActionApply)
        active = true;
    else if (code == kActionRemove)
        active = false;
}

void TSkinManage::ApplyToForms() {
    std::vector<forms::TForm*> forms_list;
    for (forms::TComponent* c : forms::Application->ComponentList())
        if (auto* f = dynamic_cast<forms::TForm*>(c))
            forms_list.push_back(f);
    for (auto it = forms_list.rbegin(); it != forms_list.rend(); ++it) {
        forms::TForm* f = *it;
        if (!f->HandleAllocated() || !f->Visible())
            continue;
        win::HWND h = f->Handle();
        if (win::GetWindowLongPtr(h, win::GWL_STYLE) & win::WS_CHILD)
            continue;
        AddForm(h);
    }
}

void TSkinManage::OnTimer() {
    DisableTimer();
    TSkinData* data = UpdateData;
    if (!data)
        return;
    const int code = action;
    if (data->SkinFormtype == sfOnlyThisForm) {
        auto* owner = dynamic_cast<forms::TForm*>(data->Owner());
        switch (code) {
            case kActionApply:
                active = true;
                if (owner && owner->HandleAllocated())
                    AddForm(owner->Handle());
                break;
            case kActionRemove:
                for (size_t i = 0; i < Flist.size();) {
                    if (Flist[i]->fsd == data) {
                        ReleaseForm(Flist[i].get());
                    } else {
                        ++i;
                    }
                }
                break;
            case kActionSkinChanged:
                for (auto& sf : Flist)
                    if (sf->fsd == data && sf->Skinstate != 6)
                        sf->SkinChange();
                break;
            case kActionFreeDeleted:
                DropDeadEntries();
                break;
            default:
                break;
        }
    } else {
        switch (code) {
            case kActionApply:
                active = true;
                DropDeadEntries();
                ApplyToForms();
                for (TSkinManage* sub : sublist)
                    sub->SetAction(kActionApply, 300);
                break;
            case kActionRemove:
                active = false;
                ReleaseAll();
                for (TSkinManage* sub : sublist)
                    sub->active = false;
                break;
            case kActionSkinChanged: {
                DropDeadEntries();
                std::vector<TWinSkinForm*> changed;
                for (auto& sf : Flist)
                    if (sf->fsd == data && sf->Skinstate != 6)
                        changed.push_back(sf.get());
                // A skin that no longer loads leaves its windows in the system look.
                if (data->Empty) {
                    for (TWinSkinForm* sf : changed)
                        ReleaseForm(sf);
                } else {
                    for (TWinSkinForm* sf : changed)
                        sf->SkinChange();
                }
                break;
            }
            case kActionFreeDeleted:
                DropDeadEntries();
                break;
            case kActionReskinWindow:
                ReskinWindow(lpara);
                UpdateData = nullptr;
                return;
            default:
                break;
        }
    }
    if (code == kActionApply || code == kActionRemove || code == kActionSkinChanged ||
        code == kActionFreeDeleted) {
        if (data->OnSkinChanged)
            data->OnSkinChanged(data);
        UpdateData = nullptr;
    }
}

void TSkinManage::DropDeadEntries() {
    std::erase_if(Flist, [](const auto& sf) { return sf->Skinstate == 6; });
}

TWinSkinForm* TSkinManage::FindForm(win::HWND h) const {
    for (const auto& sf : Flist)
        if (sf->Hwnd == h && sf->Skinstate != 6)
            return sf.get();
    return nullptr;
}

void TSkinManage::ReleaseForm(TWinSkinForm* sf) {
    for (auto it = Flist.begin(); it != Flist.end(); ++it) {
        if (it->get() != sf)
            continue;
        std::unique_ptr<TWinSkinForm> owned = std::move(*it);
        Flist.erase(it);
        if (owned->Skinstate != 6) {
            owned->UnSubclass();
            if (win::IsWindow(owned->Hwnd))
                win::RedrawWindow(
                    owned->Hwnd, nullptr, nullptr,
                    win::RDW_INVALIDATE | win::RDW_ERASE | win::RDW_FRAME | win::RDW_ALLCHILDREN);
        }
        return;
    }
}

void TSkinManage::ReleaseAll() {
    while (!Flist.empty())
        ReleaseForm(Flist.front().get());
}

TSkinData* TSkinManage::FindSkindata(win::HWND h, const std::string& class_name) const {
    TSkinData* found = nullptr;
    for (TSkinData* d : Dlist) {
        if (d->SkinFormtype != sfOnlyThisForm)
            continue;
        auto* owner = dynamic_cast<forms::TForm*>(d->Owner());
        if (owner && owner->HandleAllocated() && owner->Handle() == h)
            found = d;
    }
    if (found)
        return found;
    const std::string lower = Lower(class_name);
    if (lower == "tmessageform" || lower == "#32770") {
        for (TSkinData* d : Dlist)
            if (d->SkinFormtype == sfDialog)
                found = d;
        if (found)
            return found;
    }
    for (TSkinData* d : Dlist)
        if (d->SkinFormtype == sfMainform)
            found = d;
    if (found)
        return found;
    return Dlist.empty() ? nullptr : Dlist.front();
}

bool TSkinManage::AddForm(win::HWND h) {
    // 1. Skinning is on.
    if (!active || !h || !win::IsWindow(h))
        return false;
    // 2. Not skinned yet and not refusing.
    DropDeadEntries();
    if (FindForm(h))
        return false;
    if (win::SendMessage(h, CN_SkinQuery, 0, 0) == 1)
        return false;
    const win::DWORD style = static_cast<win::DWORD>(win::GetWindowLongPtr(h, win::GWL_STYLE));
    const win::DWORD ex = static_cast<win::DWORD>(win::GetWindowLongPtr(h, win::GWL_EXSTYLE));
    const std::string cls = win::GetClassName(h);
    // 3. Not nested.
    const bool mdi_child = (ex & win::WS_EX_MDICHILD) != 0;
    if (!skinchildform && (style & win::WS_CHILD) && !mdi_child) {
        win::HWND parent = win::GetParent(h);
        if (!parent || Lower(win::GetClassName(parent)) != "mdiclient")
            return false;
    }
    // 4. One of the application's forms, a window of the program's own controls, or a
    // dialog box.
    forms::TWinControl* control = forms::TWinControl::FindControl(h);
    auto* form = dynamic_cast<forms::TForm*>(control);
    if (!control && cls != "#32770")
        return false;
    // 5. Not of zero size.
    const gdi::Rect r = win::GetWindowRect(h);
    if ((r.width() == 0 || r.height() == 0) && !mdi_child)
        return false;
    // 6. Forms tagged 99 are never skinned.
    if (form && form->Tag() == kNeverSkinFormTag)
        return false;
    // 7. Classes that are never windows of their own.
    if (cls.find("TcxPopupEditPopupWindow") != std::string::npos ||
        cls.find("TTERenderWindow") != std::string::npos || cls == "TApplication")
        return false;
    // 8. The skin's own refusals, then the application's choice.
    const std::string lower = Lower(cls);
    if (MainData) {
        if (lower.find("preview") != std::string::npos && !MainData->Options.has(xoPreview))
            return false;
        if (cls == "#32770" && (style & kSetForegroundStyle))
            return false;
        if (lower == "tpopupdbtreeview")
            return false;
        if (MainData->OnFormSkin) {
            MainData->formhwnd = h;
            bool do_skin = true;
            MainData->OnFormSkin(MainData, cls, do_skin);
            if (!do_skin)
                return false;
        } else {
            if (cls == "SysMonthCal32")
                return false;
            if (MainData->SkinControls.has(xcFastReport) && cls.starts_with("Tfr"))
                return false;
        }
    }
    // 9. A component with a skin.
    TSkinData* data = FindSkindata(h, cls);
    if (!data || data->Empty)
        return false;

    auto sf = std::make_unique<TWinSkinForm>(h, mode, cls);
    TWinSkinForm* raw = sf.get();
    Flist.push_back(std::move(sf));
    if (form)
        raw->InitTform(data, form);
    else
        raw->InitDlg(data);
    win::PostMessage(h, CN_SkinActive, 0, 1000);
    return true;
}

void TSkinManage::AddMenu(win::HWND h) {
    if (!active)
        return;
    for (const auto& m : Mlist)
        if (m->hwnd == h)
            return;
    TSkinData* data = MainData ? MainData : (Dlist.empty() ? nullptr : Dlist.front());
    if (!data || data->Empty)
        return;
    const bool allowed = (menutype == 0 && data->SkinControls.has(xcPopupMenu)) ||
                         (menutype == 1 && (data->SkinControls.has(xcMainMenu) ||
                                            data->SkinControls.has(xcMenuItem))) ||
                         (menutype == 2 && data->SkinControls.has(xcSystemMenu));
    if (!allowed)
        return;
    auto menu = std::make_unique<TWinSkinPopMenu>();
    menu->ownerdraw = menuactive;
    menu->Init(h, data);
    Mlist.push_back(std::move(menu));
    menuactive = true;
}

void TSkinManage::DeleteMenu(win::HWND h) {
    const size_t before = Mlist.size();
    std::erase_if(Mlist, [&](const auto& m) { return m->hwnd == h; });
    if (before != Mlist.size() && Mlist.empty()) {
        menuactive = false;
        menutype = 0;
    }
}

}  // namespace skin
