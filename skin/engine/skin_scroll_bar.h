#pragma once

#include <memory>
#include <utility>

#include "platform/gdi/dc.h"
#include "platform/win/scrollbar.h"
#include "skin/engine/skin_control.h"

namespace skin {

class TSkinData;

// The parts of a scroll bar a point can be on.
enum class TScrollPart { None, LineUp, LineDown, PageUp, PageDown, Thumb };

// Where the parts of one scroll bar lie, as the window system lays them out: the two arrow
// buttons at the ends, the track between them, the thumb on the track (empty while the bar
// cannot scroll).
struct TScrollBarLayout {
    gdi::Rect arrow1, arrow2, track, thumb;
    bool enabled = false;
};

// TWScrollbar: one standard scroll bar of a window painted from the skin, over the system's
// own painting of it: the arrows from the scroll-bar arrow strip (up, down, left, right, each
// normal, hover, pressed, disabled), the track from the track element (normal, hover, pressed,
// disabled) and the thumb from the thumb element (the same states as far as it has them).
// Pieces the skin has no image for keep the system look.
class TWScrollbar {
  public:
    static TScrollBarLayout Layout(const gdi::Rect& bar, bool vertical, const win::SCROLLINFO& si);
    static TScrollPart PartAt(const TScrollBarLayout& layout, bool vertical, gdi::Point p);
    static void Draw(gdi::DC& dc, const TSkinData& sd, const gdi::Rect& bar, bool vertical,
                     const win::SCROLLINFO& si, TScrollPart hot, TScrollPart pressed);
    // Whether the skin has the arrow strip (without it the bars keep the system look).
    static bool CanPaint(const TSkinData& sd);
    // The bar (SB_VERT or SB_HORZ) of a window in window coordinates, empty when the window
    // has no such bar.
    static gdi::Rect BarRect(win::HWND h, int bar);
};

// TSkinScrollbar: a control with standard scroll bars (memos, lists, grids, rich edits, any
// scrolling control). The control paints itself; its scroll bars are painted from the skin over
// the frame the system drew, the size box between two bars from the arrow strip's size-box
// image, and the mouse over them shows hover and press.
class TSkinScrollbar : public TSkinControl {
    FORMS_CLASS(TSkinScrollbar, TSkinControl)
  public:
    // Paints both bars now, into the control's window DC.
    void PaintBars();
    // The bar (SB_VERT, SB_HORZ, or -1) and part under the mouse, and the pressed ones.
    int HotBar() const { return hot_bar_; }
    TScrollPart Hot() const { return hot_; }
    TScrollPart Pressed() const { return pressed_; }

  protected:
    bool BeforeProc(forms::TMessage& m) override;
    void AfterProc(forms::TMessage& m) override;
    bool CanPaint() const override;
    // The bar and part under a screen point.
    std::pair<int, TScrollPart> PartAtScreen(gdi::Point p) const;
    void SetHot(int bar, TScrollPart part);

    int hot_bar_ = -1;
    TScrollPart hot_ = TScrollPart::None;
    TScrollPart pressed_ = TScrollPart::None;
};

// List views and check list boxes: as any scrolling control.
class TSkinListView : public TSkinScrollbar {
    FORMS_CLASS(TSkinListView, TSkinScrollbar)
};
class TSkinCheckList : public TSkinScrollbar {
    FORMS_CLASS(TSkinCheckList, TSkinScrollbar)
};

// TComboxScrollBar: the scroll bar of a combo box's dropped-down list. It subclasses the list
// window, lets the system paint the frame and then paints the bar from the skin, and follows
// the mouse over it (the list holds the capture, so the mouse arrives as client messages).
class TComboxScrollBar : public TSkinControl {
    FORMS_CLASS(TComboxScrollBar, TSkinControl)
  public:
    // Paints the bar now, into the list's window DC.
    void PaintBar();
    TScrollPart Hot() const { return hot_; }
    TScrollPart Pressed() const { return pressed_; }

  protected:
    bool BeforeProc(forms::TMessage& m) override;
    void AfterProc(forms::TMessage& m) override;
    bool CanPaint() const override;
    // The part under a client point of the list.
    TScrollPart PartAtClient(gdi::Point p) const;

    TScrollPart hot_ = TScrollPart::None;
    TScrollPart pressed_ = TScrollPart::None;
};

}  // namespace skin
