#pragma once

#include <memory>
#include <string>
#include <unordered_set>
#include <vector>

#include "forms/component_tracker.h"
#include "forms/form.h"
#include "platform/gdi/bitmap.h"
#include "platform/gdi/region.h"
#include "platform/win/types.h"
#include "skin/engine/frame_types.h"
#include "skin/engine/nc_objects.h"
#include "skin/engine/skin_control.h"

namespace skin {

class TSkinData;

// One window taken over by the manager: it replaces the window's procedure, gives a form the
// skin's button-face colour, finds the window's controls when the take-over message arrives and
// keeps their skinning objects. With a component that has xcMainMenu it also paints the frame
// itself: borders, caption bar with icon, title text and title buttons, and the window's shape
// from the transparent border pixels. Without xcMainMenu (the console's main form) the frame
// and the window's size stay as the system makes them.
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
    // Border widths and title buttons from the skin data (frame skinning on).
    void InitSkinData();
    // Puts everything back: procedure, control objects, the form's colour and, with frame
    // skinning, the system frame and the outer size.
    void UnSubclass();
    // The skin data changed: every control repaints with it; a skinned frame takes the new
    // border widths around the same client area.
    void SkinChange();
    void AfterSkin();

    // ---- the skinned frame -------------------------------------------------------------------
    // Paints the whole frame (WM_NCPAINT).
    void UpdateNc();
    // Paints the frame into a DC whose origin is the window's top-left corner.
    void PaintFrame(gdi::DC& dc);
    // The caption bar, composed in CaptionBuf and copied at (0, 0).
    void DrawFLine(gdi::DC& dc);
    // The title text into the caption buffer; sets ctr.
    void DrawLine(gdi::DC& dc);
    void SetSysbtnRect();
    void DrawAllSysbtn(gdi::DC& dc);
    // Redraws one title button on the window.
    void DrawSysBtn(TWinSysButton* b);
    // Whether a title button shows, and whether it is enabled.
    void SysBtnVisible(TWinSysButton* b);
    // The window's size around its client area for the skin's borders.
    void ResizeForm();
    // The window's shape from the borders; rebuilt only when the size changed.
    void Cropwindow();
    // The window menu as a skinned pop-up menu at a screen point.
    void PopSysmenu(int x, int y);
    // The hover time-out and hints (the 250 ms timer).
    void OnTimer();
    // The title button at a point in window coordinates (visible, with an action), or null.
    TWinSysButton* SysBtnAt(gdi::Point p) const;
    // Carries out a title button's action.
    void SysBtnAction(TWinSysButton* b, gdi::Point screen);
    bool TimerRunning() const { return timer_id_ != 0; }

    // Control discovery.
    void InitControls(forms::TWinControl* container);
    void AddComp(forms::TControl* control, forms::TWinControl* form);
    // Whether the scan offers the control to AddComp now (control_discovery.cpp).
    bool MayTakeIn(forms::TControl* control) const;
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
    bool bidileft = false;
    bool fSizeable = false, fMaxable = false, fminable = false;
    int Skinstate = 0;  // 0 set-up, 1 running, 3 skin change, 4 being destroyed, 5 resizing,
                        // 6 deleted
    int mode = 0;

    // Frame skinning.
    TFrameWidths bw;
    int MenuHeight = 0;
    gdi::Rect wTr;  // window rectangle on the screen at the last paint
    gdi::Rect ctr;  // rectangle of the title text in the caption bar
    int fwidth = 0, fheight = 0;
    int crwidth = -1, crheight = -1;  // size at the last region build
    int RightBtn = 0;
    std::string bstr;
    std::string astr = " ";
    std::vector<std::unique_ptr<TWinSysButton>> SysBtn;
    TNCObject* ActiveBtn = nullptr;
    gdi::Bitmap CaptionBuf;
    bool FWindowActive = false;
    TSkinFormStyle FormStyle = sfsNormal;
    TSkinFormBorder FormBorder = sbsSizeable;
    TSkinFormIcons FormIcons;
    TSkinWindowState Windowstate = swsNormal;
    int64_t poptime = -1;
    int hover_ms = 0;       // how long the mouse has stayed on ActiveBtn
    gdi::Size sys_nc;       // the system frame's size (outer less client) at take-over
    int region_builds = 0;  // how often the region was built (for tests and figures)

  private:
    win::LRESULT WinWndProc(win::UINT msg, win::WPARAM wp, win::LPARAM lp);
    // The messages of the skinned frame; `handled` false passes the message on.
    win::LRESULT FrameMessage(win::UINT msg, win::WPARAM wp, win::LPARAM lp, bool& handled);
    win::LRESULT NcCalcSize(win::WPARAM wp, win::LPARAM lp);
    win::LRESULT NcHitTest(win::LPARAM lp);
    bool NcMouseMove(gdi::Point screen);
    bool NcLButtonDown(win::WPARAM hit, win::LPARAM lp);
    bool NcLButtonUp(gdi::Point screen);
    bool NcLButtonDblClk(win::WPARAM hit, gdi::Point screen);
    void NcActivate(bool active);
    void StartTimer();
    void StopTimer();
    void LeaveActiveBtn();
    void ReadWindowStyle();
    gdi::Point ToWindow(gdi::Point screen) const;
    bool FrameOn() const { return sMainMenu && FormBorder != sbsNone; }
    void RestoreSystemFrame();
    // The skinned frame's size (outer less client).
    gdi::Size SkinnedFrameSize() const;
    // A maximized or minimized window goes back to its normal rectangle when restored: it gets
    // the outer size that keeps its client size when the frame goes from `from` to `to`.
    void ReframeNormalRect(gdi::Size from, gdi::Size to);
    static win::LRESULT SubclassProc(win::HWND h, win::UINT msg, win::WPARAM wp, win::LPARAM lp,
                                     win::UINT_PTR id, win::DWORD_PTR ref);
    void TakeOver();
    bool subclassed_ = false;
    bool colour_set_ = false;
    std::unordered_set<const forms::TControl*> skinned_;
    bool scanning_ = false;
    // Containers whose windows were made while a scan ran, each watched: one freed before its
    // turn is passed over.
    std::vector<std::unique_ptr<forms::TComponentTracker>> made_during_scan_;
    win::UINT_PTR timer_id_ = 0;
    // Cleared when this object is destroyed. A caller that runs a modal loop or an activation
    // that may release the window's skinning keeps a copy and looks at it afterwards.
    std::shared_ptr<bool> alive_ = std::make_shared<bool>(true);
    // The title button under `screen` after a call that may have rebuilt the button list:
    // null unless it still does `action`.
    TWinSysButton* SysBtnAgain(gdi::Point screen, int action) const;
    // The border pictures of the last paint (Left, Right, Top, Bottom).
    struct TBorderPic {
        const void* element = nullptr;
        int width = 0, height = 0;
        bool active = false;
        gdi::Bitmap pic;
    };
    TBorderPic border_pics_[4];
    const gdi::Bitmap& BorderPic(int index, int width, int height, bool active);
};

}  // namespace skin
