#pragma once

#include <memory>
#include <string>
#include <unordered_set>
#include <vector>

#include "forms/form.h"
#include "platform/win/types.h"
#include "skin/engine/skin_control.h"

namespace skin {

class TSkinData;

// One window taken over by the manager: it replaces the window's procedure, gives a form the
// skin's button-face colour, finds the window's controls when the take-over message arrives and
// keeps their skinning objects. Frame skinning (the skinned caption bar and borders) is not
// switched on by the components of this program (no xcMainMenu), so the frame keeps the
// system look.
class TWinSkinForm {
  public:
    TWinSkinForm(win::HWND h, int mode, std::string class_name);
    ~TWinSkinForm();
    TWinSkinForm(const TWinSkinForm&) = delete;
    TWinSkinForm& operator=(const TWinSkinForm&) = delete;

    // A window with a form / without one.
    void InitTform(TSkinData* sd, forms::TForm* form);
    void InitDlg(TSkinData* sd);
    void InitSkin(TSkinData* sd);
    // Puts everything back: procedure, control objects, the form's colour.
    void UnSubclass();
    // The skin data changed: every control repaints with it.
    void SkinChange();
    void AfterSkin();

    // Control discovery.
    void InitControls(forms::TWinControl* container);
    void AddComp(forms::TControl* control, forms::TWinControl* form);
    // Windows of the form's controls were made after the take-over (a page shown for the first
    // time): the control and everything inside it are offered to AddComp.
    void ControlWindowsMade(forms::TWinControl* control);
    // InitControls, with windows made during the scan taken in after it.
    void ScanControls(forms::TWinControl* container);
    bool Find3rdControl(const std::string& class_name, forms::TWinControl* control);
    void AddControlh(win::HWND h);
    void InitHwndControls(win::HWND h);
    // Registers and initialises a skinning object for a framework control.
    void Attach(std::unique_ptr<TSkinControl> sc, forms::TWinControl* control,
                bool newcolor = false);
    // Whether the control already has a skinning object here.
    bool HasSkin(const forms::TControl* control) const;
    void DropDeadControls();
    // The skinning object of a control, or nullptr.
    TSkinControl* SkinOf(const forms::TControl* control) const;
    TSkinControl* SkinOfWindow(win::HWND h) const;

    // Fields.
    forms::TForm* FForm = nullptr;
    win::HWND Hwnd = nullptr;
    TSkinData* fsd = nullptr;
    std::vector<std::unique_ptr<TSkinControl>> Controllist;
    std::string classname;
    forms::TColor formcolor = 0;
    bool FActive = false;
    bool sMainMenu = false;
    bool ismessagebox = false;
    bool ischildform = false;
    int Skinstate = 0;  // 0 set-up, 1 running, 3 skin change, 4 being destroyed, 6 deleted
    int mode = 0;

  private:
    win::LRESULT WinWndProc(win::UINT msg, win::WPARAM wp, win::LPARAM lp);
    static win::LRESULT SubclassProc(win::HWND h, win::UINT msg, win::WPARAM wp, win::LPARAM lp,
                                     win::UINT_PTR id, win::DWORD_PTR ref);
    void TakeOver();
    bool subclassed_ = false;
    bool colour_set_ = false;
    std::unordered_set<const forms::TControl*> skinned_;
    bool scanning_ = false;
    std::vector<forms::TWinControl*> made_during_scan_;
};

}  // namespace skin
