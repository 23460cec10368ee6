#pragma once

#include <memory>
#include <string>

#include "forms/control.h"
#include "forms/messages.h"
#include "forms/object.h"
#include "forms/win_control.h"
#include "platform/gdi/dc.h"
#include "skin/skin_elements.h"

namespace skin {

class TSkinData;
class TWinSkinForm;

// Hover and pressed flags of a skinned control.
enum TSkinControlState : unsigned { scMouseIn = 1u << 0, scDown = 1u << 1 };

// The skinning object of one control: it takes over the control's window procedure (the
// framework's WindowProc method, or the window's own procedure for windows that have no
// framework object), paints the control from the skin's elements and colours, and keeps the
// hover and pressed state. Members derive from it and override the painting and the input
// they track. The skinned window's object (TWinSkinForm) lists and frees it.
class TSkinControl : public forms::TObject {
    FORMS_CLASS(TSkinControl, forms::TObject)
  public:
    TSkinControl();
    ~TSkinControl() override;

    // For a framework control: stores the arguments, takes over its WindowProc, adds itself to
    // the skinned window's list, and with `newcolor` gives the control the skin's button-face
    // colour (restored when unskinned). Only once.
    virtual void Init(TWinSkinForm* sf, TSkinData* sd, forms::TWinControl* owner, bool newcolor);
    // For a window without framework object: subclasses the window itself.
    virtual void Inithwnd(win::HWND h, TSkinData* sd, TWinSkinForm* sf);
    // Returns the control to the system look: painting handed back, its colour restored
    // (unless the window is going away). The window procedure is put back when the object
    // is freed.
    virtual void Unsubclass();
    // The skin changed: the colour again, and a repaint.
    virtual void SkinChange();

    // The replaced window procedure: 0x3506 switches the skin on and off; while off every
    // message goes to the previous procedure; while on BeforeProc decides whether it does,
    // and AfterProc follows it.
    void NewWndProc(forms::TMessage& m);
    // Passes a message to the procedure the control had before.
    void CallPrevious(forms::TMessage& m);

    // Paints the control on `dc`, or on a DC of the whole window when none is given.
    void PaintControl(gdi::DC* dc);
    void WMPaint(forms::TMessage& m);
    void WMERASEBKGND(forms::TMessage& m);
    void Invalidate();
    // One state of an element, with its margins and tiling, state images side by side.
    static void DrawSkinMap(gdi::DC& dc, const gdi::Rect& r, int frame, int state,
                            const TDataSkinObject& element);

    bool Skinned() const { return skinned; }
    // False once the window is gone (the object then only waits to be freed).
    bool Alive() const { return skinstate != 6; }
    win::HWND Window() const { return hwnd; }
    forms::TWinControl* Control() const { return control; }

    // The fields of the skinning object.
    unsigned state = 0;
    bool done = false;
    bool isdraw = false;
    bool enabled = true;
    bool focused = false;
    std::string caption;
    bool skinned = true;
    TSkinData* fsd = nullptr;
    win::HWND hwnd = nullptr;
    forms::TWinControl* control = nullptr;
    gdi::Rect boundsrect;
    bool newColor = false;
    forms::TColor oldcolor = 0;
    bool oldparentcolor = false;
    bool Inited = false;
    int skinstate = 0;
    TWinSkinForm* skinform = nullptr;
    int kind = 0;
    bool sizing = false;
    bool parentbk = false;

  protected:
    // True: the previous procedure handles the message (then AfterProc runs).
    virtual bool BeforeProc(forms::TMessage& m);
    virtual void AfterProc(forms::TMessage& m);
    // Draws the control into `dc` over `r` (the window at the origin).
    virtual void DrawControl(gdi::DC& /*dc*/, const gdi::Rect& /*r*/) {}
    // Whether the skin has what this member paints with; without it the control keeps its
    // system painting.
    virtual bool CanPaint() const { return true; }
    // Members that only draw over the system look (borders) let the previous procedure paint
    // first into the same DC.
    virtual bool PaintsOverPlain() const { return false; }
    // WM_PAINT and WM_ERASEBKGND before the previous procedure: while the skin can paint the
    // control, the paint comes from the skin and the background is left to that paint (a
    // member that paints over the plain look lets the previous procedure erase). True: the
    // previous procedure handles the message. Inline, as a member's own BeforeProc takes
    // these messages on every paint.
    bool PaintBeforeProc(forms::TMessage& m) {
        if (!CanPaint())
            return true;
        if (m.Msg == win::WM_PAINT) {
            WMPaint(m);
            return false;
        }
        if (PaintsOverPlain())
            return true;
        m.Result = 1;
        return false;
    }
    // The windowless children, for members that paint a container.
    void PaintGraphicChildren(gdi::DC& dc, const gdi::Rect& r);
    // Whether a visible windowless child reaches into `area` (the coordinates the control
    // paints in).
    bool GraphicChildIn(const gdi::Rect& area) const;
    // Whether this member's painting over `area` (its window at the origin) is nothing but
    // `colour`; a child then fills that colour instead of having the whole control painted
    // under itself. False unless the member knows.
    virtual bool PlainBackground(const gdi::Rect& /*area*/, gdi::Color& /*colour*/) const {
        return false;
    }
    // The parent's background under the control, into `dc` at the control's place.
    void PaintParentBackground(gdi::DC& dc);
    // Whether the parent's painting under the control is one colour, and which (the parent is
    // asked); false when the parent has to be painted under the control.
    bool ParentPlainColour(gdi::Color& colour);
    // Sizes `offscreen` to the control's rectangle (kept while the size holds) and fills it with
    // the parent's background when `show_parent`, else with the skin's button face.
    void BeginOffscreen(gdi::Bitmap& offscreen, const gdi::Rect& r, bool show_parent);
    // Sizes `offscreen` alone, and gives the one colour BeginOffscreen would fill it with (the
    // button face, or the parent's plain colour when `show_parent`); false when the parent
    // must be painted instead. A member whose picture covers the whole bitmap draws it with
    // that colour under its transparent pixels rather than filling first.
    bool SizeOffscreen(gdi::Bitmap& offscreen, const gdi::Rect& r, bool show_parent,
                       gdi::Color& colour);
    // The control's font (raw windows: the window's font).
    gdi::Font ControlFont() const;
    gdi::Color FontColor() const;
    // A published property of the framework control as lower-cased text ("" when unknown).
    std::string Prop(std::string_view name) const;
    // The skin's colour of a slot, resolved.
    gdi::Color SkinColor(int slot) const;
    void TrackLeave();
    void Refresh();

  private:
    struct Link;
    std::shared_ptr<Link> link_;
    bool raw_ = false;
    static win::LRESULT RawProc(win::HWND h, win::UINT msg, win::WPARAM wp, win::LPARAM lp,
                                win::UINT_PTR id, win::DWORD_PTR ref);

  protected:
    // Watches this object across a call that may free it (a message sent to the application's
    // window, an event): Gone() is true once it has been freed.
    class Watch {
      public:
        explicit Watch(const TSkinControl* sc) : link_(sc->link_) {}
        bool Gone() const;

      private:
        std::shared_ptr<Link> link_;
    };
};

}  // namespace skin
