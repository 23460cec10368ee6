#include "forms/form.h"

#include <algorithm>

#include "forms/application.h"
#include "platform/win/input.h"
#include "platform/win/message.h"
#include "platform/win/scrollbar.h"

namespace forms {

TForm::TForm(TComponent* owner) : TWinControl(owner) {
    SetVisible(false);
    SetBounds(0, 0, 320, 240);
    SetParentFont(false);
    SetParentColor(false);
    Font().SetName("MS Sans Serif");
    Font().SetHeight(-11);
}

TForm::~TForm() {
    MarkDestroying();
    if (OnDestroy)
        OnDestroy(this);
    if (Application)
        Application->FormDestroyed(this);
}

void TForm::CreateParams(TCreateParams& p) {
    TWinControl::CreateParams(p);
    using namespace win;
    p.style = WS_CLIPCHILDREN;
    switch (border_style_) {
        case TFormBorderStyle::bsNone:
            p.style |= WS_POPUP;
            break;
        case TFormBorderStyle::bsSingle:
            p.style |= WS_CAPTION | WS_SYSMENU;
            break;
        case TFormBorderStyle::bsSizeable:
            p.style |= WS_CAPTION | WS_SYSMENU | WS_THICKFRAME;
            break;
        case TFormBorderStyle::bsDialog:
            p.style |= WS_CAPTION | WS_SYSMENU | DS_MODALFRAME;
            p.ex_style |= WS_EX_DLGMODALFRAME;
            break;
    }
    if (border_style_ == TFormBorderStyle::bsSingle ||
        border_style_ == TFormBorderStyle::bsSizeable) {
        if (minimize_box_)
            p.style |= WS_MINIMIZEBOX;
        if (maximize_box_)
            p.style |= WS_MAXIMIZEBOX;
    }
    if (!Enabled())
        p.style |= WS_DISABLED;
    if (HorzScrollBar.Visible)
        p.style |= WS_HSCROLL;
    if (VertScrollBar.Visible)
        p.style |= WS_VSCROLL;
    p.parent = nullptr;
}

int TForm::ClientWidth() {
    return Handle() ? ClientRect().width() : Width();
}
int TForm::ClientHeight() {
    return Handle() ? ClientRect().height() : Height();
}

void TForm::SetClientWidth(int w) {
    if (!Handle())
        return;
    SetWidth(Width() + (w - ClientRect().width()));
}

void TForm::SetClientHeight(int h) {
    if (!Handle())
        return;
    SetHeight(Height() + (h - ClientRect().height()));
}

void TForm::ApplyScrollBars() {
    if (!Handle())
        return;
    win::ShowScrollBar(handle_, win::SB_HORZ, HorzScrollBar.Visible);
    if (HorzScrollBar.Visible)
        win::SetScrollRange(handle_, win::SB_HORZ, 0, HorzScrollBar.Range, true);
    win::ShowScrollBar(handle_, win::SB_VERT, VertScrollBar.Visible);
    if (VertScrollBar.Visible)
        win::SetScrollRange(handle_, win::SB_VERT, 0, VertScrollBar.Range, true);
}

namespace {

// The first control in tab order (as GetTabOrderList lists them) that takes the focus. A hidden
// or disabled container is passed over whole, since nothing inside it can take the focus: a
// form of hundreds of controls on pages not in front is not listed control by control.
TWinControl* FirstTabStop(const TWinControl* container) {
    for (TWinControl* c : container->TabList()) {
        if (!c->Visible() || !c->Enabled())
            continue;
        if (c->TabStop() && c->CanFocus())
            return c;
        if (TWinControl* inner = FirstTabStop(c))
            return inner;
    }
    return nullptr;
}

}  // namespace

void TForm::Show() {
    if (!Handle())
        return;
    bool first = !Visible();
    TControl::SetVisible(true);
    win::ShowWindow(handle_, win::SW_SHOW);
    win::SetActiveWindow(handle_);
    if (!active_control_ || !active_control_->CanFocus()) {
        if (TWinControl* first = FirstTabStop(this)) {
            active_control_ = nullptr;
            first->SetFocus();
        }
    } else {
        active_control_->SetFocus();
    }
    if (first && OnShow)
        OnShow(this);
}

void TForm::VisibleChanged() {
    if (!handle_)
        return;
    win::ShowWindow(handle_, Visible() ? win::SW_SHOW : win::SW_HIDE);
}

void TForm::TextChanged() {
    if (handle_)
        win::SetWindowText(handle_, Caption());
}

void TForm::Close() {
    TCloseAction action = TCloseAction::caHide;
    if (OnClose)
        OnClose(this, action);
    if (action == TCloseAction::caNone)
        return;
    if (Application && Application->MainForm() == this) {
        Hide();
        Application->Terminate();
        return;
    }
    Hide();
}

void TForm::DoCreate() {
    if (OnCreate)
        OnCreate(this);
}

void TForm::SetActiveControl(TWinControl* c) {
    if (c && c->CanFocus() && Visible() && handle_) {
        c->SetFocus();
    } else {
        active_control_ = c;
    }
}

void TForm::SetFocusedControl(TWinControl* c) {
    if (c == active_control_)
        return;
    TWinControl* old = active_control_;
    active_control_ = c;
    if (old)
        old->DoExit();
    // The exit handler may have moved the focus elsewhere (or shown a box).
    if (active_control_ != c)
        return;
    c->DoEnter();
    TMessage m{CM_FOCUSCHANGED, 0, reinterpret_cast<win::LPARAM>(c), 0};
    Broadcast(m);
}

void TForm::SelectNext(TWinControl* current, bool forward) {
    std::vector<TWinControl*> list;
    GetTabOrderList(list);
    std::vector<TWinControl*> stops;
    for (TWinControl* c : list)
        if (c->TabStop() && c->CanFocus())
            stops.push_back(c);
    if (stops.empty())
        return;
    auto it = std::find(stops.begin(), stops.end(), current);
    TWinControl* next;
    if (it == stops.end()) {
        next = forward ? stops.front() : stops.back();
    } else if (forward) {
        next = (it + 1 == stops.end()) ? stops.front() : *(it + 1);
    } else {
        next = (it == stops.begin()) ? stops.back() : *(it - 1);
    }
    focusing_by_keyboard_ = true;
    next->SetFocus();
    focusing_by_keyboard_ = false;
}

bool TForm::DialogKey(int key, unsigned shift) {
    TMessage m{CM_DIALOGKEY, static_cast<win::WPARAM>(key), static_cast<win::LPARAM>(shift), 0};
    Broadcast(m);
    if (m.Result)
        return true;
    if (key == win::VK_TAB && !(shift & (ssCtrl | ssAlt))) {
        SelectNext(active_control_, !(shift & ssShift));
        return true;
    }
    return false;
}

void TForm::ControlDestroyed(TControl* c) {
    if (active_control_ == c)
        active_control_ = nullptr;
}

void TForm::WndProc(TMessage& m) {
    using namespace win;
    switch (m.Msg) {
        case WM_CLOSE:
            Close();
            m.Result = 0;
            return;
        case WM_ACTIVATE:
            if (LOWORD(m.WParam) != WA_INACTIVE && active_control_ && active_control_->CanFocus()) {
                active_control_->SetFocus();
                m.Result = 0;
                return;
            }
            break;
        case WM_SETFOCUS:
            // The form's own window got the focus: pass it on to the active control.
            if (active_control_ && active_control_->CanFocus() && active_control_ != this) {
                active_control_->SetFocus();
                m.Result = 0;
                return;
            }
            break;
        case WM_HSCROLL:
        case WM_VSCROLL: {
            // A control's own report (a track bar's move, lParam its window) is not a request
            // to scroll the form.
            if (m.LParam != 0)
                break;
            int bar = m.Msg == WM_HSCROLL ? SB_HORZ : SB_VERT;
            int pos = GetScrollPos(handle_, bar);
            int page = bar == SB_HORZ ? ClientRect().width() : ClientRect().height();
            int range = bar == SB_HORZ ? HorzScrollBar.Range : VertScrollBar.Range;
            switch (LOWORD(m.WParam)) {
                case SB_LINEUP:
                    pos -= 8;
                    break;
                case SB_LINEDOWN:
                    pos += 8;
                    break;
                case SB_PAGEUP:
                    pos -= page;
                    break;
                case SB_PAGEDOWN:
                    pos += page;
                    break;
                case SB_THUMBPOSITION:
                case SB_THUMBTRACK:
                    pos = static_cast<int16_t>(HIWORD(m.WParam));
                    break;
                default:
                    break;
            }
            pos = std::clamp(pos, 0, std::max(0, range - page));
            SetScrollPos(handle_, bar, pos, true);
            m.Result = 0;
            return;
        }
        default:
            break;
    }
    TWinControl::WndProc(m);
}

}  // namespace forms
