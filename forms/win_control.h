#pragma once

#include <string>
#include <vector>

#include "forms/component_pool.h"
#include "forms/control.h"
#include "platform/win/window.h"

namespace forms {

// A container's children, in insertion order (the list lives in the component pool).
using TControlList = std::vector<TControl*, component_pool::Allocator<TControl*>>;

// What a windowed control's window is created with.
struct TCreateParams {
    std::string class_name;  // the control's class name ("TButton", ...)
    std::string caption;
    win::DWORD style = 0;
    win::DWORD ex_style = 0;
    int x = 0, y = 0, width = 0, height = 0;
    win::HWND parent = nullptr;
};

// A control with a window. The window (class named after the control class, so that windows can
// be found by class name) is created on demand: by Handle(), or when the parent's window is
// created. Its window procedure forwards every message to the control's WindowProc.
class TWinControl : public TControl {
    FORMS_CLASS(TWinControl, TControl)
  public:
    explicit TWinControl(TComponent* owner);
    ~TWinControl() override;

    TWinControl* AsWinControl() override { return this; }
    const TWinControl* AsWinControl() const override { return this; }

    // The window, created now if needed (the parents' windows first). nullptr if creation
    // fails or the control has no parent (and is no form).
    win::HWND Handle();
    bool HandleAllocated() const { return handle_ != nullptr; }
    void HandleNeeded() { Handle(); }
    // The control owning the window `hwnd`, or nullptr.
    static TWinControl* FindControl(win::HWND hwnd);

    // Children in insertion order (which is also their stacking order, last on top).
    int ControlCount() const { return static_cast<int>(controls_.size()); }
    TControl* Controls(int index) const { return controls_.at(index); }
    const TControlList& ControlList() const { return controls_; }

    // Tab order among the windowed siblings; setting it moves the control in that order.
    int TabOrder() const;
    void SetTabOrder(int order);
    bool TabStop() const { return tab_stop_; }
    void SetTabStop(bool v) { tab_stop_ = v; }
    // The windowed children in tab order.
    const std::vector<TWinControl*>& TabList() const {
        if (!tab_list_made_)
            MakeTabList();
        return tab_list_;
    }
    // Every windowed descendant in tab order (depth first), as Tab walks them.
    void GetTabOrderList(std::vector<TWinControl*>& out) const;

    bool Focused() const;
    virtual bool CanFocus() const;
    virtual void SetFocus();

    void Invalidate() override;
    void Repaint() override;
    void Update() override;
    void SetBounds(int left, int top, int width, int height) override;
    void SetParent(TWinControl* parent) override;
    gdi::Rect ClientRect() const override;

    // Paints the windowless children into `dc` (client coordinates of this control), clipped
    // to `area`: a control's own paint calls it last.
    void PaintControls(gdi::DC& dc, const gdi::Rect& area);
    // The topmost visible windowless child at the client point, or nullptr.
    TControl* ControlAtPos(gdi::Point p) const;
    // The bounds of the visible windowless children, in no particular order. Made when first
    // asked for and kept until a child comes or goes or a windowless child moves, is sized,
    // shown or hidden: a skinned child asking whether a label or shape lies under it looks
    // through a few rectangles instead of every control of its parent.
    const std::vector<gdi::Rect>& WindowlessBounds() const;

    void WndProc(TMessage& message) override;
    void DefaultHandler(TMessage& message) override;
    // Sends the message to every child (CM_DIALOGKEY stops at the first that handles it).
    void Broadcast(TMessage& message);

    TNotifyEvent OnEnter;
    TNotifyEvent OnExit;
    TKeyEvent OnKeyDown;

  protected:
    virtual void CreateParams(TCreateParams& params);
    virtual void CreateWnd();
    // Called after the window exists (children created as well).
    virtual void CreatedHandle() {}
    // The control's look; `dc` covers the client area.
    virtual void Paint(gdi::DC& dc);
    // Keys the control handles itself before the form looks at them (Tab, Enter, Escape,
    // arrows). Default: none.
    virtual bool WantsKey(int /*vk*/, unsigned /*shift*/) const { return false; }
    virtual void KeyDown(int& key, unsigned shift);
    virtual void KeyPress(char32_t ch);
    virtual void DoEnter();
    virtual void DoExit();
    // Positions the children with an Align other than alNone in the client area.
    virtual void AlignControls();
    virtual gdi::Rect AlignRect() const { return ClientRect(); }

    void TextChanged() override;
    bool Watched() const override;
    void FontChanged() override;
    void ColorChanged() override;
    void EnabledChanged() override;
    void VisibleChanged() override;
    // Erases the background with the control's colour.
    virtual void EraseBackground(gdi::DC& dc, const gdi::Rect& area);

    unsigned ShiftState() const;
    win::HWND handle_ = nullptr;

  private:
    friend class TControl;
    friend class TForm;
    void InsertControl(TControl* c);
    void RemoveControl(TControl* c);
    void DestroyHandle();
    void WMPaint(TMessage& message);
    bool ForwardMouseToGraphic(TMessage& message);
    static win::LRESULT StaticWndProc(win::HWND hwnd, win::UINT msg, win::WPARAM wp,
                                      win::LPARAM lp);

    TControlList controls_;
    // The tab order is made when first asked for or changed: a page of hundreds of controls
    // that nobody tabs through builds no list of them.
    void MakeTabList() const;
    mutable std::vector<TWinControl*> tab_list_;
    mutable bool tab_list_made_ = false;
    mutable std::vector<gdi::Rect> windowless_bounds_;
    mutable bool windowless_bounds_made_ = false;
    int aligned_children_ = 0;  // children whose Align is not alNone
    bool tab_stop_ = false;
    bool creating_ = false;
    bool painting_ = false;              // inside the BeginPaint of WMPaint
    TControl* mouse_control_ = nullptr;  // windowless child holding the mouse
};

// A windowed control that paints itself with a canvas-like DC (panels, group boxes, ...).
class TCustomControl : public TWinControl {
    FORMS_CLASS(TCustomControl, TWinControl)
  public:
    explicit TCustomControl(TComponent* owner) : TWinControl(owner) {}
};

}  // namespace forms
