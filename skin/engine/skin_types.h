#pragma once

#include <cstdint>
#include <initializer_list>

#include "platform/gdi/color.h"
#include "platform/gdi/geometry.h"
#include "platform/win/types.h"

namespace skin {

// Which kinds of controls and menus a skin component skins.
enum TSkinControlType {
    xcMainMenu,
    xcPopupMenu,
    xcMenuItem,
    xcToolbar,
    xcControlbar,
    xcCombo,
    xcCheckBox,
    xcRadioButton,
    xcProgress,
    xcScrollbar,
    xcEdit,
    xcButton,
    xcBitBtn,
    xcSpeedButton,
    xcSpin,
    xcPanel,
    xcGroupBox,
    xcStatusBar,
    xcTab,
    xcTrackBar,
    xcSystemMenu,
    xcFastReport,
};

// Behaviour switches of a skin component.
enum TSkinOption {
    xoMDIScrollbar,
    xoMenuMerge,
    xoTransparent,
    xoPreview,
    xoParentBackGround,
    xoNoFocusRect,
    xoToolbarBK,
    xoToolbarButton,
    xoMDIChildBorder,
    xoMenuBG,
    xoCaptionButtonHint,
    xoFormScrollbar,
};

// Which windows a skin component skins.
enum TSkinFormType { sfMainform, sfOnlyThisForm, sfDialog, sfDLL };

// The kinds of containers whose controls are looked into.
enum TWinContainer {
    xccForm,
    xccFrame,
    xccToolbar,
    xccCoolbar,
    xccControlbar,
    xccPanel,
    xccScrollBox,
    xccGroupBox,
    xccTabSheet,
    xccPageScroller,
};

// A set of enumeration values, element k stored as bit k (the stored form of the set).
template <class E>
class SkinSet {
  public:
    constexpr SkinSet() = default;
    constexpr SkinSet(std::initializer_list<E> items) {
        for (E e : items)
            bits_ |= bit(e);
    }
    static constexpr SkinSet FromBits(uint32_t bits) {
        SkinSet s;
        s.bits_ = bits;
        return s;
    }
    constexpr bool has(E e) const { return (bits_ & bit(e)) != 0; }
    constexpr void include(E e) { bits_ |= bit(e); }
    constexpr void exclude(E e) { bits_ &= ~bit(e); }
    constexpr uint32_t bits() const { return bits_; }
    friend constexpr bool operator==(SkinSet, SkinSet) = default;

  private:
    static constexpr uint32_t bit(E e) { return 1u << static_cast<unsigned>(e); }
    uint32_t bits_ = 0;
};
using TSkinControls = SkinSet<TSkinControlType>;
using TSkinOptions = SkinSet<TSkinOption>;

// The engine's private window messages.
constexpr win::UINT CN_SkinActive = 0x3503;     // posted to a window just taken over
constexpr win::UINT CN_SkinQuery = 0x3523;      // reply 1: skinned already, or never to skin
constexpr win::UINT CN_SysBtnVisible = 0x3515;  // is a title-bar button shown
constexpr win::UINT CN_ManagerAction = 0x3508;  // wParam 7: re-skin the window in lParam
constexpr win::UINT CN_RepaintFrame = 0x3502;   // repaint the skinned frame
constexpr win::UINT CN_SkinEnable = 0x3506;     // wParam > 0: skinned painting on, else off
constexpr win::UINT CN_TabClose = 0x3507;       // a tab's close button was clicked
constexpr win::UINT CN_SysBtnAction = 0x3514;   // an unhandled title-bar button action
constexpr win::UINT CN_MDIChildMax = 0x3516;    // a maximized child was taken over
constexpr win::UINT CN_Recreated = 0x3517;      // the window was re-created
constexpr win::UINT CN_MenuSelect = 0x3518;     // a menu-bar item was selected
// Sent by a skinned control to its parent before painting the parent's background under
// itself: wParam a PlainBackgroundQuery; reply 1 when the parent's painting over that area is
// one colour (given in the query), so that a fill can stand for the parent's whole painting.
constexpr win::UINT CN_PlainBackground = 0x3520;

struct PlainBackgroundQuery {
    // The area, in the coordinates the parent paints itself in (its window at the origin).
    gdi::Rect area;
    gdi::Color colour = 0;
};

// The tag values the engine reads on controls and forms.
constexpr intptr_t kNeverSkinFormTag = 99;
constexpr intptr_t kTransparentTag = 5555;
constexpr intptr_t kTabCloseButtonsTag = 7777;

}  // namespace skin
