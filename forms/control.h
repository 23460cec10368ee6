#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "forms/component.h"
#include "forms/font.h"
#include "forms/messages.h"
#include "forms/window_procedure.h"
#include "platform/gdi/dc.h"
#include "platform/gdi/geometry.h"

namespace forms {

class TControl;
class TGraphicControl;
class TWinControl;
class TForm;

enum class TMouseButton { Left, Right, Middle };
// Modifier and button state of a mouse or key event.
enum TShiftState : unsigned {
    ssNone = 0,
    ssShift = 1,
    ssAlt = 2,
    ssCtrl = 4,
    ssLeft = 8,
    ssRight = 16,
    ssDouble = 32
};
enum class TAlign { alNone, alTop, alBottom, alLeft, alRight, alClient };

using TMouseEvent =
    std::function<void(TObject* sender, TMouseButton button, unsigned shift, int x, int y)>;
using TKeyEvent = std::function<void(TObject* sender, int& key, unsigned shift)>;

// The colour of a control: an RGB value, or one of the system colours below (the classic
// scheme), which follow the system.
using TColor = uint32_t;
constexpr TColor kSystemColorFlag = 0x80000000u;
constexpr TColor clBtnFace = kSystemColorFlag | 15;
constexpr TColor clWindow = kSystemColorFlag | 5;
constexpr TColor clWindowText = kSystemColorFlag | 8;
constexpr TColor clBtnText = kSystemColorFlag | 18;
constexpr TColor clBtnShadow = kSystemColorFlag | 16;
constexpr TColor clHighlight = kSystemColorFlag | 13;
constexpr TColor clHighlightText = kSystemColorFlag | 14;
constexpr TColor clGrayText = kSystemColorFlag | 17;
constexpr TColor clRed = 0x0000FF;
constexpr TColor clWhite = 0xFFFFFF;
constexpr TColor clBlack = 0x000000;
// The RGB value of a colour, system colours resolved.
gdi::Color ColorToRGB(TColor c);

// A visual control: position and size in its parent's client area, caption, font, colour,
// enabled and visible state, and a replaceable window-procedure method (WindowProc) through
// which every message and notification reaches it.
class TControl : public TComponent {
    FORMS_CLASS(TControl, TComponent)
  public:
    explicit TControl(TComponent* owner);
    ~TControl() override;

    TWinControl* Parent() const { return parent_; }
    virtual void SetParent(TWinControl* parent);

    int Left() const { return left_; }
    int Top() const { return top_; }
    int Width() const { return width_; }
    int Height() const { return height_; }
    void SetLeft(int v) { SetBounds(v, top_, width_, height_); }
    void SetTop(int v) { SetBounds(left_, v, width_, height_); }
    void SetWidth(int v) { SetBounds(left_, top_, v, height_); }
    void SetHeight(int v) { SetBounds(left_, top_, width_, v); }
    virtual void SetBounds(int left, int top, int width, int height);
    gdi::Rect BoundsRect() const { return gdi::Rect::from_xywh(left_, top_, width_, height_); }
    virtual gdi::Rect ClientRect() const { return {0, 0, width_, height_}; }
    TAlign Align() const { return align_; }
    void SetAlign(TAlign a);

    // Caption and Text are the same string (the control's window text).
    const std::string& Caption() const { return caption_; }
    void SetCaption(std::string_view text) { SetText(text); }
    virtual const std::string& Text() const { return caption_; }
    virtual void SetText(std::string_view text);

    TFont& Font() { return font_; }
    const TFont& Font() const { return font_; }
    bool ParentFont() const { return parent_font_; }
    void SetParentFont(bool v);
    TColor Color() const { return color_; }
    void SetColor(TColor c);
    bool ParentColor() const { return parent_color_; }
    void SetParentColor(bool v);

    bool Enabled() const { return enabled_; }
    virtual void SetEnabled(bool v);
    bool Visible() const { return visible_; }
    virtual void SetVisible(bool v);
    void Show() { SetVisible(true); }
    void Hide() { SetVisible(false); }
    // Visible and every parent up to the form visible.
    bool Showing() const;

    // The control as a windowed control, or nullptr for a windowless one: what a
    // dynamic_cast would say, for the loops over every control of a form (insertion, the
    // broadcasts) that ask it of each.
    virtual TWinControl* AsWinControl() { return nullptr; }
    virtual const TWinControl* AsWinControl() const { return nullptr; }
    // The control as a windowless painting control (one its parent paints), or nullptr: a
    // plain control is neither windowed nor painted.
    virtual TGraphicControl* AsGraphicControl() { return nullptr; }
    TControl* AsControl() override { return this; }

    // Sends a message to the control's WindowProc and returns the result.
    win::LRESULT Perform(win::UINT msg, win::WPARAM wparam = 0, win::LPARAM lparam = 0);
    TWindowProcedure WindowProc{this};
    // Whether WindowProc is still the control's own WndProc (nobody has subclassed it).
    bool HasOwnWindowProc() const { return WindowProc.IsOwn(); }
    // Whether CM_FOCUSCHANGED is sent to the control when the form broadcasts a focus change:
    // to a control whose class acts on it (a button's default frame follows the focus) and to
    // one whose WindowProc was taken over (a skin repaints what has or had the focus). The
    // others are passed over, so that a focus change does not cost a message per control of
    // a form of hundreds.
    bool HearsFocusChanges() const { return hears_focus_changes_ || !HasOwnWindowProc(); }
    // How many of the controls inside this one (children, their children...) hear focus
    // changes: the broadcast passes over a container that holds none, a page of hundreds of
    // controls with one test.
    int FocusHearersInside() const { return focus_hearers_inside_; }
    // The control's own window procedure: handles what it knows, then Dispatch/DefaultHandler.
    virtual void WndProc(TMessage& message);
    virtual void DefaultHandler(TMessage& message);

    // Repaints the control soon (it is marked invalid) / now.
    virtual void Invalidate();
    virtual void Repaint();
    virtual void Update() {}

    // Fires OnClick. Operator input calls it; code may call it to act as the operator.
    virtual void Click();
    // The framework's mouse notifications (the windowed ones come from the window messages).
    virtual void MouseDown(TMouseButton button, unsigned shift, int x, int y);
    virtual void MouseUp(TMouseButton button, unsigned shift, int x, int y);
    virtual void MouseMove(unsigned shift, int x, int y);
    virtual void DblClick();

    // The form the control sits on (walking up the parents), or nullptr.
    TForm* ParentForm() const;
    // Client coordinates of this control <-> screen coordinates.
    gdi::Point ClientToScreen(gdi::Point p) const;
    gdi::Point ScreenToClient(gdi::Point p) const;
    // Client coordinates of this control -> its parent's client coordinates.
    gdi::Point ClientOrigin() const;

    // Published properties as text, for code that knows a control only by class (the skin,
    // scripts): "Caption", "Text", "Name", "Tag", "Left", "Top", "Width", "Height", "Enabled",
    // "Visible", "Color", "Font" (face and height), and what a class adds ("Checked", "State",
    // "Default", "ItemIndex", ...). Booleans read "true" / "false"; nullopt when unknown.
    virtual std::optional<std::string> GetPropText(std::string_view name) const;
    // Sets a published property from text; false when unknown or not settable.
    virtual bool SetPropText(std::string_view name, const std::string& value);

    // Adds one to *counter at every change of the state the control holds: its caption or
    // text, its enabled state, a check box's state, a shape's brush colour, whether code or
    // the operator changed it. For an owner that remembers what it last put on a group of
    // controls and must learn when anybody else wrote to them. Null (the default) counts
    // nothing; the counter must outlive the control or be taken away first.
    void SetChangeCounter(uint32_t* counter) { change_counter_ = counter; }

    TNotifyEvent OnClick;
    TNotifyEvent OnDblClick;
    TMouseEvent OnMouseDown;
    TMouseEvent OnMouseUp;

  protected:
    // Hooks for descendants.
    // Whether the change notifications (CM_TEXTCHANGED, CM_FONTCHANGED, CM_COLORCHANGED,
    // CM_ENABLEDCHANGED) are sent: to a control that has a window or whose WindowProc was
    // taken over. A control being built, still without a window and with its own WindowProc,
    // changes without them (its hooks run, its children follow), so that a page of hundreds
    // of controls costs no notification per control and setting.
    virtual bool Watched() const { return !HasOwnWindowProc(); }
    virtual void TextChanged() { Invalidate(); }
    virtual void FontChanged() { Invalidate(); }
    virtual void ColorChanged() { Invalidate(); }
    virtual void EnabledChanged();
    virtual void VisibleChanged() {}
    virtual void BoundsChanged() {}
    // The mouse messages of WndProc: the framework's mouse notifications. False when a handler
    // freed the control.
    bool MouseMessage(TMessage& message);
    // The size a control is made with, set by its constructor: a control being made has no
    // parent, window or children to hear of it, so SetBounds's round is not needed.
    void SetInitialSize(int width, int height) {
        width_ = width;
        height_ = height;
    }
    // Set by a class whose own WndProc acts on CM_FOCUSCHANGED (its constructor).
    void SetHearsFocusChanges(bool v);
    // Copies the parent's font / colour when ParentFont / ParentColor is set.
    void TakeParentFont();
    void TakeParentColor();
    // Called by every setter of a counted state once the state changed.
    void CountChange() {
        if (change_counter_)
            ++*change_counter_;
    }

    int left_ = 0, top_ = 0, width_ = 0, height_ = 0;
    std::string caption_;
    TWinControl* parent_ = nullptr;

  private:
    friend class TWinControl;
    friend class TWindowProcedure;
    // After HearsFocusChanges may have changed (it was `heard` before): the containers above
    // count the control in or out.
    void FocusHearingChanged(bool heard);
    // The control and the controls inside it that hear focus changes, as its parent counts it.
    int FocusHearersWeight() const { return focus_hearers_inside_ + (HearsFocusChanges() ? 1 : 0); }
    // Adds `delta` to the count of every container from `from` up.
    static void CountFocusHearers(TWinControl* from, int delta);

    TFont font_;
    uint32_t* change_counter_ = nullptr;
    TColor color_ = clBtnFace;
    bool parent_font_ = true;
    bool parent_color_ = true;
    bool taking_parent_font_ = false;
    bool enabled_ = true;
    bool visible_ = true;
    bool hears_focus_changes_ = false;
    int focus_hearers_inside_ = 0;
    TAlign align_ = TAlign::alNone;
};

// A control without a window of its own (labels, shapes): its parent paints it in its own
// paint and forwards mouse messages that fall on it.
class TGraphicControl : public TControl {
    FORMS_CLASS(TGraphicControl, TControl)
  public:
    explicit TGraphicControl(TComponent* owner) : TControl(owner) {}
    TGraphicControl* AsGraphicControl() override { return this; }
    // Draws the control into `dc`, whose origin is the control's top-left corner.
    virtual void Paint(gdi::DC& dc) = 0;
    void Invalidate() override;
    void Repaint() override;
    void WndProc(TMessage& message) override;

  protected:
    void BoundsChanged() override;
    void VisibleChanged() override { Invalidate(); }

  private:
    bool clicking_ = false;
};

}  // namespace forms
