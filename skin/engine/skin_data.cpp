#include "skin/engine/skin_data.h"

#include <filesystem>

#include "forms/message_box.h"
#include "platform/win/hook.h"
#include "platform/win/metrics.h"
#include "skin/builtin_bitmaps.h"
#include "skin/engine/skin_manage.h"
#include "skin/engine/win_skin_form.h"

namespace skin {

TSkinControls MainFormSkinControls() {
    return {xcPopupMenu, xcToolbar,   xcControlbar, xcCombo,  xcCheckBox, xcRadioButton,
            xcProgress,  xcScrollbar, xcEdit,       xcButton, xcBitBtn,   xcSpin,
            xcPanel,     xcGroupBox,  xcStatusBar,  xcTab,    xcTrackBar, xcSystemMenu};
}

TSkinOptions MainFormSkinOptions() {
    return {xoMDIScrollbar, xoMenuMerge,     xoTransparent,    xoPreview,
            xoToolbarBK,    xoToolbarButton, xoMDIChildBorder, xoCaptionButtonHint};
}

namespace {

TSkinControls DefaultSkinControls() {
    TSkinControls s;
    for (int k = xcMainMenu; k <= xcSystemMenu; ++k)
        s.include(static_cast<TSkinControlType>(k));
    s.exclude(xcMenuItem);
    return s;
}

}  // namespace

TSkinData::TSkinData(forms::TComponent* owner)
    : forms::TComponent(owner),
      SkinControls(DefaultSkinControls()),
      Options{xoPreview, xoToolbarBK, xoCaptionButtonHint},
      Skin3rd(NewDefaultSkin3rd()) {
    system.hscroll_arrow_width = win::GetSystemMetrics(win::SM_CXHSCROLL);
    system.sys_color = [](int index) { return win::GetSysColor(index); };
    cxMax = win::GetSystemMetrics(win::SM_CXMAXIMIZED);
    cyMax = win::GetSystemMetrics(win::SM_CYMAXIMIZED);
}

TSkinData::~TSkinData() {
    MarkDestroying();
    TSkinManage::Unregister(this);
}

bool TSkinData::ReadSkinStream(TStream& in) {
    return ReadData(in);
}

void TSkinData::ShowSkinMessage(std::string_view text) {
    forms::MessageBox(nullptr, std::string(text), "Skin", forms::MB_OK);
}

void TSkinData::Loaded() {
    if (!loading_)
        return;
    loading_ = false;
    TSkinManage* m = TSkinManage::Ensure();
    m->Register(this);
    if (SkinFormtype != sfMainform) {
        m->active = true;
        ++m->state;
        if (auto* form = dynamic_cast<forms::TForm*>(Owner()); form && active_) {
            if (win::HWND h = form->Handle())
                m->AddForm(h);
        }
        return;
    }
    m->InstallHook();
    if (active_) {
        if (Empty)
            active_ = false;
        else
            m->SetAction(kActionApply, 250);
    }
    if (SkinControls.has(xcMainMenu))
        SkinControls.exclude(xcMenuItem);
    else
        SkinControls.exclude(xcSystemMenu);
    // The application's small icon on magenta.
    const int cx = win::GetSystemMetrics(win::SM_CXSMICON);
    const int cy = win::GetSystemMetrics(win::SM_CYSMICON);
    SysIcon = gdi::Bitmap(cx > 0 ? cx : 16, cy > 0 ? cy : 16);
    SysIcon.fill_color(gdi::kMagenta);
    SysIcon.set_transparent(true);
}

void TSkinData::SetActive(bool v) {
    if (loading_) {
        active_ = v;
        return;
    }
    TSkinManage* m = TSkinManage::Instance();
    if (SkinFormtype == sfMainform || SkinFormtype == sfOnlyThisForm) {
        if (v && Empty)
            return;
        active_ = v;
        if (!m)
            return;
        m->UpdateData = this;
        if (v) {
            if (SkinFormtype == sfMainform)
                m->state = 1;
            m->SetAction(kActionApply, 250);
        } else {
            m->SetAction(kActionRemove, 250);
        }
    }
}

void TSkinData::SetSkinFile(const std::string& name) {
    skin_file_ = name;
    if (loading_)
        return;
    std::error_code ec;
    if (!name.empty() && std::filesystem::exists(name, ec))
        LoadFromFile(name);
}

bool TSkinData::LoadFromStream(TStream* stream) {
    const bool ok = TSkinDataCore::LoadFromStream(stream);
    if (SkinFormtype == sfMainform)
        UpdateSkin();
    return ok;
}

bool TSkinData::LoadFromFile(const std::string& name) {
    std::error_code ec;
    if (!std::filesystem::exists(name, ec))
        return false;
    const bool ok = TSkinDataCore::LoadFromFile(name);
    UpdateSkin();
    return ok;
}

bool TSkinData::LoadFromCollection(TSkinCollection& store, int index) {
    const bool ok = TSkinDataCore::LoadFromCollection(store, index);
    if (ok)
        UpdateSkin();
    return ok;
}

void TSkinData::UpdateSkin() {
    if (loading_)
        return;
    TSkinManage* m = TSkinManage::Instance();
    if (!m) {
        Loaded();
        m = TSkinManage::Instance();
    }
    if (!m)
        return;
    m->UpdateData = this;
    if (m->state == 1)
        m->SetAction(kActionSkinChanged, 250);
}

void TSkinData::Install() {
    if (TSkinManage* m = TSkinManage::Instance()) {
        m->UpdateData = this;
        m->SetAction(kActionApply, 250);
    }
}

void TSkinData::Uninstall() {
    if (TSkinManage* m = TSkinManage::Instance()) {
        m->UpdateData = this;
        m->SetAction(kActionRemove, 250);
    }
}

void TSkinData::EnableSkin(bool on) {
    if (TSkinManage* m = TSkinManage::Instance())
        m->active = on;
}

void TSkinData::SkinForm(win::HWND h) {
    TSkinManage* m = TSkinManage::Instance();
    if (!m)
        return;
    const bool saved = m->skinchildform;
    m->skinchildform = true;
    m->AddForm(h);
    m->skinchildform = saved;
}

void TSkinData::ChangeForm(forms::TForm* form) {
    TSkinManage* m = TSkinManage::Instance();
    if (!m || !form || !form->HandleAllocated())
        return;
    m->lpara = form->Handle();
    m->UpdateData = this;
    m->SetAction(kActionReskinWindow, 250);
}

void TSkinData::UpdateSkinControl(forms::TForm* form, forms::TWinControl* control) {
    TSkinManage* m = TSkinManage::Instance();
    if (!m || !form || !form->HandleAllocated())
        return;
    if (TWinSkinForm* sf = m->FindForm(form->Handle()))
        sf->InitControls(control ? control : form);
}

void TSkinData::AddNestForm(forms::TWinControl* parent, forms::TForm* nested) {
    TSkinManage* m = TSkinManage::Instance();
    if (!m || !parent || !nested)
        return;
    forms::TForm* owner = parent->ParentForm();
    if (!owner || !owner->HandleAllocated())
        return;
    if (TWinSkinForm* sf = m->FindForm(owner->Handle()))
        sf->InitControls(nested);
}

void TSkinData::DeleteGraphicControl(forms::TForm* form, forms::TControl* control) {
    TSkinManage* m = TSkinManage::Instance();
    if (!m || !form || !form->HandleAllocated())
        return;
    if (TWinSkinForm* sf = m->FindForm(form->Handle())) {
        auto& list = sf->Controllist;
        for (auto it = list.begin(); it != list.end(); ++it) {
            if ((*it)->Control() == control) {
                list.erase(it);
                return;
            }
        }
    }
}

void TSkinData::UpdateMenu(forms::TForm*) {
    // The pop-up menus are skinned as their windows open; nothing is held per form.
}

void TSkinData::UpdateMainMenu(bool on) {
    MenuMsg = on;
    // The menu bar is drawn only with frame skinning, which this program's components leave
    // off; there are no menu-bar buttons to rebuild.
}

void TSkinData::InstallThread(win::DWORD thread_id) {
    TSkinManage* m = TSkinManage::Instance();
    if (!m)
        return;
    for (const TSkinThread& t : m->Threadlist)
        if (t.ThreadID == thread_id)
            return;
    // One thread: every window belongs to the thread the main hook watches already.
    m->Threadlist.push_back(TSkinThread{nullptr, thread_id});
}

void TSkinData::UnInstallThread(win::DWORD thread_id) {
    TSkinManage* m = TSkinManage::Instance();
    if (!m)
        return;
    std::erase_if(m->Threadlist, [&](const TSkinThread& t) { return t.ThreadID == thread_id; });
}

}  // namespace skin
