#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "forms/component.h"
#include "forms/form.h"
#include "skin/engine/skin_types.h"
#include "skin/skin_data_core.h"

namespace skin {

class TSkinControl;
class TSkinData;

using TFormSkinEvent =
    std::function<void(forms::TObject* sender, const std::string& aName, bool& DoSkin)>;
using TSkinControlEvent = std::function<void(
    forms::TComponent* sender, TSkinData* data, forms::TControl* form, forms::TControl* control,
    const std::string& ControlClass, TSkinControl*& SkinnedControl)>;
using TSkinFormEvent =
    std::function<void(forms::TObject* sender, win::HWND ahwnd, const std::string& aName)>;

// The skin component placed on a form: its stored properties carry the skin and the
// switches; at run time it registers with the process's skin manager, which takes the
// application's windows over (the main form's component arms it; the first activation of a
// window takes that window over) and applies or removes the skin a quarter second after a
// request.
class TSkinData : public forms::TComponent, public TSkinDataCore {
    FORMS_CLASS(TSkinData, forms::TComponent)
  public:
    explicit TSkinData(forms::TComponent* owner);
    ~TSkinData() override;

    // ---- published properties --------------------------------------------------------------
    bool Active() const { return active_; }
    void SetActive(bool v);
    int32_t DisableTag = kNeverSkinFormTag;
    TSkinControls SkinControls;
    TSkinOptions Options;
    std::vector<std::string> Skin3rd;
    const std::string& SkinFile() const { return skin_file_; }
    // Loads the file at run time when it exists; while the form loads only the name is kept.
    void SetSkinFile(const std::string& name);
    // "(none)" at run time; writing it has no effect.
    std::string SkinStore() const { return "(none)"; }
    TSkinFormType SkinFormtype = sfMainform;
    std::string_view Version() const { return "5.60.03.29"; }
    bool MenuUpdate = true;
    bool MenuMerge = false;
    TFormSkinEvent OnFormSkin;
    forms::TNotifyEvent OnSkinChanged;
    TSkinControlEvent OnSkinControl;
    TSkinFormEvent OnBeforeSkinForm;
    TSkinFormEvent OnAfterSkinForm;

    // The stored SkinStream property as it is read with the form.
    bool ReadSkinStream(TStream& in);
    // True between construction and Loaded (the form's properties are being read).
    bool Loading() const { return loading_; }

    // ---- operations ----------------------------------------------------------------------
    // Called once the form's properties are read: registers with the manager (creating it),
    // and for the main form's component installs the thread hook and arms the manager.
    void Loaded();
    bool LoadFromStream(TStream* stream);
    bool LoadFromFile(const std::string& name);
    bool LoadFromCollection(TSkinCollection& store, int index);
    void UpdateSkin();
    void Install();
    void Uninstall();
    void EnableSkin(bool on);
    void SkinForm(win::HWND h);
    void ChangeForm(forms::TForm* form);
    void UpdateSkinControl(forms::TForm* form, forms::TWinControl* control);
    void AddNestForm(forms::TWinControl* parent, forms::TForm* nested);
    void DeleteGraphicControl(forms::TForm* form, forms::TControl* control);
    void UpdateMenu(forms::TForm* form);
    void UpdateMainMenu(bool on);
    void InstallThread(win::DWORD thread_id);
    void UnInstallThread(win::DWORD thread_id);

    void ShowSkinMessage(std::string_view text) override;

    // Run-time state.
    int cxMax = 0, cyMax = 0;
    win::HWND formhwnd = nullptr;
    bool MenuMsg = true;
    gdi::Bitmap SysIcon;

  private:
    bool active_ = false;
    bool loading_ = true;
    std::string skin_file_;
};

// The default Skin3rd list: class name, "=", kind.
const std::vector<std::string>& DefaultSkin3rd();
// A new list of the same lines.
std::vector<std::string> NewDefaultSkin3rd();

// The main form's SkinControls and Options.
TSkinControls MainFormSkinControls();
TSkinOptions MainFormSkinOptions();

}  // namespace skin
