#pragma once

#include <memory>
#include <string>
#include <vector>

#include "platform/win/types.h"
#include "skin/engine/skin_types.h"

namespace forms {
class TForm;
}

namespace skin {

class TSkinData;
class TWinSkinForm;
class TWinSkinPopMenu;

// An extra thread hooked on request.
struct TSkinThread {
    win::HHOOK hook = nullptr;
    win::DWORD ThreadID = 0;
};

// Deferred action codes.
constexpr int kActionApply = 1;
constexpr int kActionRemove = 2;
constexpr int kActionSkinChanged = 3;
constexpr int kActionFreeDeleted = 6;
constexpr int kActionReskinWindow = 7;

// The process's skin manager: the registered skin components, the skinned windows and menus,
// the thread hook that offers windows as they are activated, and the deferred actions that
// apply, remove or reload the skin on its timer.
class TSkinManage {
  public:
    TSkinManage();
    ~TSkinManage();
    TSkinManage(const TSkinManage&) = delete;
    TSkinManage& operator=(const TSkinManage&) = delete;

    // The process's manager, or nullptr.
    static TSkinManage* Instance();
    // Creates it when there is none.
    static TSkinManage* Ensure();
    // Frees it (program end, or the last component gone).
    static void Release();

    void Register(TSkinData* data);
    // Unregisters and releases every window skinned with it; frees the manager when none is
    // left.
    static void Unregister(TSkinData* data);

    // Stores the action and, once something has been skinned, starts the timer.
    void SetAction(int code, int interval_ms);
    void OnTimer();
    void InstallHook();

    // Takes a window over when every condition holds.
    bool AddForm(win::HWND h);
    TSkinData* FindSkindata(win::HWND h, const std::string& class_name) const;
    // A pop-up menu window: attaches a menu-skinning object.
    void AddMenu(win::HWND h);
    void DeleteMenu(win::HWND h);
    // Releases the skinned window `h` and takes it over again (action 7).
    void ReskinWindow(win::HWND h);
    // The manager's own hidden window: message 0x3508 with wParam 7 re-skins the window given
    // in lParam, outside the message handling of the window that asks for it.
    win::HWND Window() const { return window_; }

    // Drops skinned windows that are gone (their objects marked deleted).
    void DropDeadEntries();
    TWinSkinForm* FindForm(win::HWND h) const;
    // Releases one skinned window: unsubclass, repaint, free.
    void ReleaseForm(TWinSkinForm* sf);
    void ReleaseAll();

    // Fields.
    std::vector<std::unique_ptr<TWinSkinForm>> Flist;
    std::vector<std::unique_ptr<TWinSkinPopMenu>> Mlist;
    std::vector<TSkinData*> Dlist;
    std::vector<TSkinThread> Threadlist;
    std::vector<TSkinManage*> sublist;
    bool active = false;
    bool skinchildform = false;
    int state = 0;
    int action = 0;
    TSkinData* UpdateData = nullptr;
    TSkinData* MainData = nullptr;
    int menutype = 0;
    bool menuactive = false;
    bool MDIMax = false;
    win::HWND clienthwnd = nullptr;
    forms::TForm* MDIForm = nullptr;
    win::HWND lpara = nullptr;
    int mode = 0;
    TSkinManage* mmgr = nullptr;

    // The timer's state, for tests.
    bool TimerEnabled() const { return timer_enabled_; }
    int TimerInterval() const { return timer_interval_; }

  private:
    win::LRESULT HookProc(int code, win::WPARAM wp, win::LPARAM lp);
    static win::LRESULT WindowProc(win::HWND h, win::UINT msg, win::WPARAM wp, win::LPARAM lp);
    void CreateOwnWindow();
    void EnableTimer();
    void DisableTimer();
    void ApplyToForms();

    win::HHOOK hook_ = nullptr;
    win::HWND window_ = nullptr;
    win::UINT_PTR timer_id_ = 0;
    bool timer_enabled_ = false;
    int timer_interval_ = 100;
};

}  // namespace skin
