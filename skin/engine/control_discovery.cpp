// Which controls of a taken-over window are skinned, and by which skinning object.

#include <algorithm>
#include <cctype>
#include <deque>

#include "forms/component_tracker.h"
#include "forms/date_time_picker.h"
#include "forms/form.h"
#include "platform/win/message.h"
#include "platform/win/styles.h"
#include "platform/win/window.h"
#include "skin/engine/skin_button.h"
#include "skin/engine/skin_check_box.h"
#include "skin/engine/skin_combo_box.h"
#include "skin/engine/skin_data.h"
#include "skin/engine/skin_date_time.h"
#include "skin/engine/skin_edit.h"
#include "skin/engine/skin_group_box.h"
#include "skin/engine/skin_header.h"
#include "skin/engine/skin_progress.h"
#include "skin/engine/skin_scroll_bar.h"
#include "skin/engine/skin_status_bar.h"
#include "skin/engine/skin_tab.h"
#include "skin/engine/skin_toolbar.h"
#include "skin/engine/skin_track_bar.h"
#include "skin/engine/skin_up_down.h"
#include "skin/engine/win_skin_form.h"

namespace skin {

namespace {

std::string Lower(std::string_view s) {
    std::string out(s);
    std::transform(out.begin(), out.end(), out.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return out;
}

std::string Upper(std::string_view s) {
    std::string out(s);
    std::transform(out.begin(), out.end(), out.begin(),
                   [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    return out;
}

bool Is(const forms::TControl* c, std::initializer_list<std::string_view> classes) {
    for (std::string_view name : classes)
        if (c->InheritsFrom(name))
            return true;
    return false;
}

// Whether text begins with prefix, letters compared without case.
bool StartsWithNoCase(std::string_view text, std::string_view prefix) {
    if (text.size() < prefix.size())
        return false;
    for (size_t i = 0; i < prefix.size(); ++i)
        if (std::tolower(static_cast<unsigned char>(text[i])) !=
            std::tolower(static_cast<unsigned char>(prefix[i])))
            return false;
    return true;
}

std::string PropLower(const forms::TControl* c, std::string_view name) {
    return Lower(c->GetPropText(name).value_or(""));
}

// A control that scrolls: it has a ScrollBars property or its window standard scroll bars.
bool HasScrollBars(forms::TWinControl* c) {
    if (c->GetPropText("ScrollBars").has_value())
        return true;
    const auto style = win::GetWindowLongPtr(c->Handle(), win::GWL_STYLE);
    return (style & (win::WS_VSCROLL | win::WS_HSCROLL)) != 0;
}

bool HasTabElement(const TSkinData* sd) {
    return sd->tab && !sd->tab->Map.empty();
}

constexpr win::DWORD kButtonTypeMask = 0x000F;
constexpr win::DWORD kComboSimple = 0x0001;
constexpr win::DWORD kSizeGrip = 0x0010;

}  // namespace

// Whether AddComp could do anything with the control now: one with the disabling tag (whose
// group's buttons take the tag too), or one whose window is made inside its parent's. Most
// controls of a form sit on pages not shown so far, without windows: they are passed over
// here, before any tracking, and taken in when their windows are made.
bool TWinSkinForm::MayTakeIn(forms::TControl* control) const {
    if (control->Tag() == fsd->DisableTag)
        return true;
    const forms::TWinControl* parent = control->Parent();
    const forms::TWinControl* windowed = control->AsWinControl();
    return parent && parent->HandleAllocated() && windowed && windowed->HandleAllocated();
}

void TWinSkinForm::InitControls(forms::TWinControl* container) {
    DropDeadControls();
    if (!container)
        return;
    std::vector<forms::TControl*> offered;
    if (container == FForm) {
        for (forms::TComponent* c : FForm->ComponentList())
            if (forms::TControl* control = c->AsControl(); control && MayTakeIn(control))
                offered.push_back(control);
    } else {
        // A nested container: everything inside it.
        std::vector<forms::TWinControl*> stack{container};
        offered.push_back(container);
        while (!stack.empty()) {
            forms::TWinControl* w = stack.back();
            stack.pop_back();
            for (forms::TControl* c : w->ControlList()) {
                if (MayTakeIn(c))
                    offered.push_back(c);
                if (forms::TWinControl* wc = c->AsWinControl())
                    stack.push_back(wc);
            }
        }
    }
    // An application's handler (OnSkinControl) runs during the scan and may free controls
    // still to come: each is watched and passed over once freed.
    forms::TComponentTracker container_alive(container);
    {
        std::deque<forms::TComponentTracker> watched;
        for (forms::TControl* c : offered)
            watched.emplace_back(c);
        for (const forms::TComponentTracker& w : watched)
            if (!w.Deleted())
                AddComp(static_cast<forms::TControl*>(w.Component()), container);
    }
    if (container_alive.Deleted())
        return;
    // Pop-up menus are skinned as their windows open (the manager's hook).
    std::vector<forms::TWinControl*> tab_order;
    container->GetTabOrderList(tab_order);
    std::deque<forms::TComponentTracker> watched;
    for (forms::TWinControl* c : tab_order)
        if (MayTakeIn(c))
            watched.emplace_back(c);
    for (const forms::TComponentTracker& w : watched)
        if (!w.Deleted() && !HasSkin(static_cast<forms::TControl*>(w.Component())))
            AddComp(static_cast<forms::TControl*>(w.Component()), container);
}

void TWinSkinForm::AddComp(forms::TControl* control, forms::TWinControl* form) {
    if (!control || control == FForm)
        return;
    const std::string cls(control->ClassName());
    if (control->Tag() == fsd->DisableTag) {
        const std::string lower = Lower(cls);
        if (forms::TWinControl* w = control->AsWinControl();
            w && (lower.find("radiogroup") != std::string::npos ||
                  lower.find("checkgroup") != std::string::npos)) {
            for (forms::TControl* child : w->ControlList())
                child->SetTag(fsd->DisableTag);
        }
        return;
    }
    if (!control->Parent() || HasSkin(control))
        return;
    // A window is made only inside its parent's: under a parent without one (a page not shown
    // so far) nothing has a window yet, and the type test below need not be made.
    if (!control->Parent()->HandleAllocated())
        return;
    forms::TWinControl* wc = control->AsWinControl();
    if (!wc)
        return;  // windowless: drawn by its parent
    // A control whose window is not made yet (inside a page not shown so far) is taken in when
    // its window is made (CM_CONTROLWINDOWSMADE): asking for the handle here would make the
    // windows of every hidden page at take-over.
    if (!wc->HandleAllocated())
        return;
    // The case-folded names only for the controls that get this far: most of a form's controls
    // sit on pages whose windows are not made yet.
    const std::string upper = Upper(cls);
    const std::string lower = Lower(cls);
    if (wc->Perform(CN_SkinQuery, 0, 0) == 1)
        return;
    const TSkinControls& on = fsd->SkinControls;

    if (fsd->OnSkinControl) {
        TSkinControl* supplied = nullptr;
        forms::TComponentTracker alive(control);
        fsd->OnSkinControl(fsd, fsd, form, control, cls, supplied);
        if (alive.Deleted()) {
            // The handler freed the control it was asked about.
            delete supplied;
            return;
        }
        if (supplied) {
            Attach(std::unique_ptr<TSkinControl>(supplied), wc);
            if (control->InheritsFrom("TPanel") || control->InheritsFrom("TCustomPanel"))
                for (forms::TControl* child : forms::TControlList(wc->ControlList()))
                    AddComp(child, form);
            return;
        }
    }
    if (Find3rdControl(cls, wc))
        return;
    if (upper == "TDBCOMBOBOXEH" || upper == "TFRDESIGNERPAGE" || upper == "TFRPBOX")
        return;
    auto offer_children = [&]() {
        for (forms::TControl* child : forms::TControlList(wc->ControlList()))
            AddComp(child, form);
    };

    // The table of kinds, first match.
    if (Is(control, {"TCustomTabControl", "TPageControl", "TTabControl"})) {
        if (on.has(xcTab) && HasTabElement(fsd)) {
            const std::string style = PropLower(control, "Style");
            if (style == "tsbuttons" || style == "tsflatbuttons")
                Attach(std::make_unique<TSkinTabBtn>(), wc);
            else
                Attach(std::make_unique<TSkinTab>(), wc);
        }
        return;
    }
    if (Is(control, {"TToolButton"}))
        return;  // its drop-down menu items need a skinned menu bar
    if (Is(control, {"TCoolBar"})) {
        if (on.has(xcToolbar))
            Attach(std::make_unique<TSkinBox>(), wc, true);
        return;
    }
    if (upper == "TTABSET") {
        if (on.has(xcTab) && HasTabElement(fsd))
            Attach(std::make_unique<TSkinTab31>(), wc);
        return;
    }
    if (Is(control, {"TTabSheet"})) {
        if (on.has(xcTab) && HasTabElement(fsd))
            Attach(std::make_unique<TSkinTabSheet>(), wc);
        return;
    }
    if (upper == "TTABBEDNOTEBOOK") {
        if (on.has(xcTab) && HasTabElement(fsd))
            Attach(std::make_unique<TSkinTab>(), wc);
        return;
    }
    if (upper == "TMVCPANEL") {
        offer_children();
        return;
    }
    if (Is(control, {"THeaderControl", "TCustomHeaderControl"})) {
        if (on.has(xcPanel))
            Attach(std::make_unique<members::TSkinHeader>(), wc);
        return;
    }
    if (Is(control, {"TCheckBox", "TCustomCheckBox"})) {
        if (on.has(xcCheckBox))
            Attach(std::make_unique<TSkinCheckBox>(), wc);
        return;
    }
    if (Is(control, {"TTrackBar"})) {
        if (on.has(xcTrackBar))
            Attach(std::make_unique<TSkinTrackBar>(), wc);
        return;
    }
    if (upper == "TUPDOWN" || upper == "TSPINBUTTON") {
        if (on.has(xcSpin))
            Attach(std::make_unique<TSkinUpDown>(), wc);
        return;
    }
    if (upper == "TMEDIAPLAYER")
        return;
    if (Is(control, {"TRadioGroup", "TCustomRadioGroup"})) {
        if (on.has(xcRadioButton)) {
            for (forms::TControl* child : forms::TControlList(wc->ControlList()))
                if (forms::TWinControl* cw = child->AsWinControl();
                    cw && !HasSkin(cw) && cw->Tag() != fsd->DisableTag && cw->Handle())
                    Attach(std::make_unique<TSkinRadioButton>(), cw);
            Attach(std::make_unique<TSkinGroupBox>(), wc);
        }
        return;
    }
    if (upper == "TDBNAVIGATOR") {
        if (on.has(xcPanel)) {
            Attach(std::make_unique<TSkinBox>(), wc, true);
            offer_children();
        }
        return;
    }
    if (upper == "TRZCHECKBOX" || upper == "TRZDBCHECKBOX" || upper == "TCXCHECKBOX" ||
        upper == "TCXDBCHECKBOX") {
        if (on.has(xcCheckBox))
            Attach(std::make_unique<TSkinCheckBox>(), wc);
        return;
    }
    if (upper == "TRZRADIOBUTTON" || upper == "TRZDBRADIOBUTTON") {
        if (on.has(xcRadioButton))
            Attach(std::make_unique<TSkinRadioButton>(), wc);
        return;
    }
    if (Is(control, {"TGroupBox", "TCustomGroupBox"})) {
        if (on.has(xcPanel)) {
            offer_children();
            Attach(std::make_unique<TSkinGroupBox>(), wc);
        }
        return;
    }
    if (Is(control, {"TRadioButton"})) {
        if (on.has(xcRadioButton))
            Attach(std::make_unique<TSkinRadioButton>(), wc);
        return;
    }
    if (Is(control, {"TToolBar"})) {
        // Flat, so that buttons at rest show the skin's bar behind them.
        if (on.has(xcToolbar)) {
            control->SetPropText("Flat", "true");
            Attach(std::make_unique<TSkinToolbar>(), wc, true);
        }
        return;
    }
    if (Is(control, {"TStatusBar"})) {
        if (on.has(xcStatusBar))
            Attach(std::make_unique<TSkinStatusBar>(), wc);
        return;
    }
    if (Is(control, {"TProgressBar"})) {
        if (on.has(xcProgress))
            Attach(std::make_unique<TSkinProgress>(), wc);
        return;
    }
    if (Is(control, {"TScrollBar"}))
        return;  // scroll-bar controls do not occur in this program's windows
    if (upper == "TTNTCOMBOBOX" || Is(control, {"TComboBox", "TCustomComboBox"})) {
        if (on.has(xcCombo))
            Attach(std::make_unique<TSkinComBox>(), wc);
        return;
    }
    if (Is(control, {"TDateTimePicker"})) {
        if (on.has(xcEdit)) {
            const bool time_kind = PropLower(control, "Kind") == "dtktime";
            const bool up_down = PropLower(control, "DateMode") == "dmupdown";
            if (time_kind || up_down)
                Attach(std::make_unique<TSkinEdit>(), wc);
            else
                Attach(std::make_unique<TSkinDateTime>(), wc);
        }
        return;
    }
    if (upper == "TRICHEDIT" || upper == "TWWDBRICHEDIT" || upper == "TDXDBMEMO") {
        if (on.has(xcScrollbar))
            Attach(std::make_unique<TSkinScrollbar>(), wc);
        return;
    }
    if (Is(control, {"TSpeedButton"}))
        return;  // windowless
    if (Is(control, {"TPanel", "TCustomPanel"})) {
        if (on.has(xcPanel)) {
            offer_children();
            Attach(std::make_unique<TSkinBox>(), wc, true);
        }
        return;
    }
    if (upper == "TDXTREELIST" || upper == "TDXDBTREELIST" || upper == "TDXDBGRID" ||
        Is(control, {"TListView", "TCustomListView", "TCheckListBox", "TMemo", "TCustomMemo",
                     "TCustomGrid", "TListBox", "TCustomListBox"}) ||
        HasScrollBars(wc)) {
        if (on.has(xcScrollbar)) {
            if (Is(control, {"TListView", "TCustomListView"}))
                Attach(std::make_unique<TSkinListView>(), wc);
            else if (Is(control, {"TCheckListBox"}))
                Attach(std::make_unique<TSkinCheckList>(), wc);
            else
                Attach(std::make_unique<TSkinScrollbar>(), wc);
        }
        return;
    }
    if (Is(control, {"TBitBtn"})) {
        if (on.has(xcBitBtn))
            Attach(std::make_unique<TSkinBitButton>(), wc);
        return;
    }
    if (Is(control, {"TButton"})) {
        if (on.has(xcButton))
            Attach(std::make_unique<TSkinButton>(), wc);
        return;
    }
    if (Is(control, {"TEdit", "TCustomEdit", "TMaskEdit"})) {
        if (on.has(xcEdit))
            Attach(std::make_unique<TSkinEdit>(), wc);
        return;
    }
    if (Is(control, {"TFrame", "TCustomFrame"}) || dynamic_cast<forms::TForm*>(control)) {
        if (dynamic_cast<forms::TForm*>(control))
            Attach(std::make_unique<TSkinBox>(), wc, true);
        offer_children();
        return;
    }
    if (upper == "TDCEDIT" || upper == "TDCDBEDIT") {
        const std::string buttons = PropLower(control, "NumButtons");
        if (buttons == "1" && on.has(xcCombo))
            Attach(std::make_unique<TSkinComBox>(), wc);
        else if (buttons == "0" && on.has(xcEdit))
            Attach(std::make_unique<TSkinEdit>(), wc);
        return;
    }
}

bool TWinSkinForm::Find3rdControl(const std::string& class_name, forms::TWinControl* control) {
    // Every control is looked up in every line: compared in place, without lower-cased copies.
    std::string kind;
    bool found = false;
    for (const std::string& line : fsd->Skin3rd) {
        if (line.size() > class_name.size() && line[class_name.size()] == '=' &&
            StartsWithNoCase(line, class_name)) {
            kind = Lower(std::string_view(line).substr(class_name.size() + 1).substr(0, 50));
            found = true;
            break;
        }
    }
    if (!found)
        return false;
    const TSkinControls& on = fsd->SkinControls;
    auto children = [&](auto make, bool flag) {
        if (!flag)
            return;
        for (forms::TControl* child : forms::TControlList(control->ControlList()))
            if (forms::TWinControl* cw = child->AsWinControl();
                cw && !HasSkin(cw) && cw->Tag() != fsd->DisableTag && cw->Handle())
                Attach(make(), cw);
    };
    if (kind == "combobox" || kind == "comboboxex" || kind == "datetimepicker") {
        if (on.has(xcCombo))
            Attach(std::make_unique<TSkinComBox>(), control);
    } else if (kind == "edit") {
        if (on.has(xcEdit))
            Attach(std::make_unique<TSkinEdit>(), control);
    } else if (kind == "radiobutton") {
        if (on.has(xcRadioButton))
            Attach(std::make_unique<TSkinRadioButton>(), control);
    } else if (kind == "panel") {
        if (on.has(xcPanel)) {
            control->SetPropText("Transparent", "true");
            Attach(std::make_unique<TSkinBox>(), control, true);
        }
    } else if (kind == "trackbar") {
        if (on.has(xcButton)) {
            control->SetPropText("Transparent", "true");
            Attach(std::make_unique<TSkinBox>(), control, true);
        }
    } else if (kind == "button" || kind == "bitbtn") {
        if (on.has(xcButton)) {
            const bool bit = Lower(class_name) == "tcxbutton" ||
                             PropLower(control, "Kind") == "cxbkdropdownbutton";
            if (bit)
                Attach(std::make_unique<TSkinBitButton>(), control);
            else
                Attach(std::make_unique<TSkinMenuButton>(), control);
        }
    } else if (kind == "mediaplayer" || kind == "pngbitbtn" || kind == "pngspeedbutton" ||
               kind == "menubtn") {
        if (on.has(xcButton))
            Attach(std::make_unique<TSkinBitButton>(), control);
    } else if (kind == "progress") {
        if (on.has(xcProgress))
            Attach(std::make_unique<TSkinProgress>(), control);
    } else if (kind == "speedbutton") {
        if (on.has(xcSpeedButton))
            Attach(std::make_unique<TSkinSpeedButton>(), control);
    } else if (kind == "tab" || kind == "advpagecontrol") {
        if (on.has(xcTab) && HasTabElement(fsd))
            Attach(std::make_unique<TSkinTab>(), control);
    } else if (kind == "scrollbar" || kind == "singlescrollbar" || kind == "embedscrollbar") {
        // "scrollbar": the control's own bars, then its children; "singlescrollbar": the
        // control's bars only; "embedscrollbar": the bars are those of its children.
        if (on.has(xcScrollbar)) {
            if (kind != "embedscrollbar")
                Attach(std::make_unique<TSkinScrollbar>(), control);
            if (kind != "singlescrollbar")
                for (forms::TControl* child : forms::TControlList(control->ControlList()))
                    AddComp(child, FForm);
        }
    } else if (kind == "container") {
        for (forms::TControl* child : forms::TControlList(control->ControlList()))
            AddComp(child, FForm);
    } else if (kind == "groupbox") {
        if (on.has(xcGroupBox))
            Attach(std::make_unique<TSkinGroupBox>(), control);
    } else if (kind == "radiogroup") {
        if (on.has(xcGroupBox)) {
            children([] { return std::make_unique<TSkinRadioButton>(); }, on.has(xcRadioButton));
            Attach(std::make_unique<TSkinGroupBox>(), control);
        }
    } else if (kind == "checkgroup") {
        if (on.has(xcPanel)) {
            children([] { return std::make_unique<TSkinCheckBox>(); }, on.has(xcRadioButton));
            if (on.has(xcGroupBox))
                Attach(std::make_unique<TSkinGroupBox>(), control);
        }
    } else if (kind == "checkbox") {
        if (on.has(xcCheckBox))
            Attach(std::make_unique<TSkinCheckBox>(), control);
    }
    // "nil", unknown kinds and kinds whose switch is off: handled, and left unskinned.
    return true;
}

void TWinSkinForm::AddControlh(win::HWND h) {
    if (!h || SkinOfWindow(h) || win::SendMessage(h, CN_SkinQuery, 0, 0) == 1)
        return;
    const std::string cls = Lower(win::GetClassName(h));
    const auto style = static_cast<win::DWORD>(win::GetWindowLongPtr(h, win::GWL_STYLE));
    const TSkinControls& on = fsd->SkinControls;
    std::unique_ptr<TSkinControl> sc;
    if (cls == "button") {
        switch (style & kButtonTypeMask) {
            case 0x0:  // push button
            case 0x1:  // default push button
                if (on.has(xcButton))
                    sc = std::make_unique<TSkinButton>();
                break;
            case 0x2:  // check box
            case 0x3:  // automatic check box
            case 0x5:  // three-state
            case 0x6:  // automatic three-state
                if (on.has(xcCheckBox))
                    sc = std::make_unique<TSkinCheckBox>();
                break;
            case 0x4:  // radio button
            case 0x9:  // automatic radio button
                if (on.has(xcRadioButton))
                    sc = std::make_unique<TSkinRadioButton>();
                break;
            default:  // group boxes, owner-drawn and bitmap buttons
                break;
        }
    } else if (cls == "combobox") {
        if ((style & 0x3) != kComboSimple && on.has(xcCombo))
            sc = std::make_unique<TSkinComBox>();
    } else if (cls == "edit") {
        win::HWND parent = win::GetParent(h);
        const bool in_comboex = parent && Lower(win::GetClassName(parent)) == "comboboxex32";
        if (in_comboex ? on.has(xcCombo) : on.has(xcEdit))
            sc = in_comboex ? std::unique_ptr<TSkinControl>(std::make_unique<TSkinComBox>())
                            : std::make_unique<TSkinEdit>();
    } else if (cls == "msctls_progress32") {
        if (on.has(xcProgress))
            sc = std::make_unique<TSkinProgress>();
    } else if (cls == "msctls_trackbar32") {
        if (on.has(xcTrackBar))
            sc = std::make_unique<TSkinTrackBar>();
    } else if (cls == "toolbarwindow32") {
        if (on.has(xcToolbar))
            sc = std::make_unique<TSkinToolbar>();
    } else if (cls == "sysheader32") {
        if (on.has(xcPanel))
            sc = std::make_unique<members::TSkinHeader>();
    } else if (cls == "systabcontrol32") {
        if (on.has(xcTab) && HasTabElement(fsd))
            sc = std::make_unique<TSkinTab>();
    } else if (cls == "scrollbar" && (style & kSizeGrip)) {
        // The size grip keeps the system look.
    } else if (cls == "#32770") {
        InitHwndControls(h);
    }
    if (!sc)
        return;
    TSkinControl* raw = sc.get();
    Controllist.push_back(std::move(sc));
    raw->Inithwnd(h, fsd, this);
}

void TWinSkinForm::InitHwndControls(win::HWND h) {
    std::vector<win::HWND> children;
    win::EnumChildWindows(h, [&](win::HWND c) {
        if (win::GetParent(c) == h)
            children.push_back(c);
        return true;
    });
    for (win::HWND c : children)
        AddControlh(c);
}

}  // namespace skin
