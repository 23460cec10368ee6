#include "forms/win_control.h"

#include <algorithm>
#include <cassert>
#include <exception>
#include <iterator>
#include <set>
#include <unordered_map>

#include "forms/application.h"
#include "forms/component_tracker.h"
#include "forms/control_windows_made.h"
#include "forms/form.h"
#include "platform/win/input.h"
#include "platform/win/message.h"
#include "platform/win/painting.h"

namespace forms {

namespace {

// Whether a control and every container above it up to its form are visible, the form's own
// visibility aside: what the window shows once the form is shown. A control inside a hidden
// page gets its window when the page is first shown, so a page full of controls costs no
// windows at start-up.
bool ShownWithForm(const TControl* c) {
    for (; c != nullptr; c = c->Parent()) {
        if (dynamic_cast<const TForm*>(c) != nullptr)
            return true;
        if (!c->Visible())
            return false;
    }
    return true;
}

std::unordered_map<win::HWND, TWinControl*>& HandleMap() {
    static std::unordered_map<win::HWND, TWinControl*> map;
    return map;
}

// The control whose window is being created: its first messages arrive before CreateWindowEx
// returns the handle.
TWinControl* g_creating = nullptr;
// How many CreateWnd calls are under way: only the outermost tells the form.
int g_create_depth = 0;

// A broadcast under way over one parent's list: the place of the control hearing the message,
// and the end of the controls that were in the list when it began. A handler may take controls
// out of the list (free them, give them another parent); RemoveControl keeps both right, so that
// every control after the one hearing it still hears it, once.
struct BroadcastPlace {
    const TWinControl* parent;
    size_t at;
    size_t end;
    bool gone;  // the control that was at `at` left the list; the next one stands there now
    BroadcastPlace* outer;
};
// The broadcasts under way, the innermost first.
BroadcastPlace* g_broadcasts = nullptr;

void EnsureClass(const std::string& name, win::WNDPROC proc) {
    static std::set<std::string> registered;
    if (registered.count(name))
        return;
    win::WNDCLASS wc;
    wc.style = win::CS_DBLCLKS;
    wc.lpfnWndProc = std::move(proc);
    wc.lpszClassName = name.c_str();
    win::RegisterClass(wc);
    registered.insert(name);
}

}  // namespace

TWinControl::TWinControl(TComponent* owner) : TControl(owner) {}

TWinControl::~TWinControl() {
    MarkDestroying();
    // Children go first, the last inserted first; each removes itself from this list.
    while (!controls_.empty())
        delete controls_.back();
    DestroyHandle();
}

TWinControl* TWinControl::FindControl(win::HWND hwnd) {
    auto it = HandleMap().find(hwnd);
    return it == HandleMap().end() ? nullptr : it->second;
}

win::HWND TWinControl::Handle() {
    if (!handle_ && !creating_ && !Destroying())
        CreateWnd();
    return handle_;
}

void TWinControl::CreateParams(TCreateParams& p) {
    p.class_name = std::string(ClassName());
    p.caption = caption_;
    p.style = win::WS_CHILD | win::WS_CLIPSIBLINGS | win::WS_CLIPCHILDREN;
    if (Visible())
        p.style |= win::WS_VISIBLE;
    if (!Enabled())
        p.style |= win::WS_DISABLED;
    if (tab_stop_)
        p.style |= win::WS_TABSTOP;
    p.x = left_;
    p.y = top_;
    p.width = width_;
    p.height = height_;
    p.parent = parent_ ? parent_->Handle() : nullptr;
}

void TWinControl::CreateWnd() {
    TCreateParams p;
    creating_ = true;
    CreateParams(p);
    if ((p.style & win::WS_CHILD) && !p.parent) {
        creating_ = false;
        return;
    }
    ++g_create_depth;
    struct DepthGuard {
        ~DepthGuard() { --g_create_depth; }
    } depth_guard;
    EnsureClass(p.class_name, &TWinControl::StaticWndProc);
    TWinControl* saved = g_creating;
    g_creating = this;
    TComponentTracker alive(this);
    win::HWND h =
        win::CreateWindowEx(p.ex_style, p.class_name.c_str(), p.caption.c_str(), p.style, p.x, p.y,
                            p.width, p.height, p.parent, nullptr, nullptr, this);
    g_creating = saved;
    if (alive.Deleted())
        return;  // a handler of the creation messages freed the control
    if (h && !handle_) {
        handle_ = h;
        HandleMap()[h] = this;
    }
    creating_ = false;
    if (!handle_)
        return;
    // Hidden children (a page that is not in front) get their windows when they are shown.
    for (TControl* c : TControlList(controls_))
        if (auto* wc = c->AsWinControl(); wc && wc->Visible())
            wc->HandleNeeded();
    AlignControls();
    CreatedHandle();
    // The outermost window made inside a form that already has its window: the form hears of
    // it, so those who look after the form's controls (the skin) can take the new ones in.
    if (g_create_depth == 1 && !dynamic_cast<TForm*>(this)) {
        TForm* form = ParentForm();
        if (form && form->HandleAllocated())
            win::SendMessage(form->Handle(), CM_CONTROLWINDOWSMADE, 0,
                             reinterpret_cast<win::LPARAM>(this));
    }
}

void TWinControl::DestroyHandle() {
    if (!handle_)
        return;
    win::HWND h = handle_;
    win::DestroyWindow(h);
    HandleMap().erase(h);
    handle_ = nullptr;
}

win::LRESULT TWinControl::StaticWndProc(win::HWND hwnd, win::UINT msg, win::WPARAM wp,
                                        win::LPARAM lp) {
    TWinControl* control = FindControl(hwnd);
    if (!control && g_creating && !g_creating->handle_) {
        control = g_creating;
        control->handle_ = hwnd;
        HandleMap()[hwnd] = control;
    }
    if (!control)
        return win::DefWindowProc(hwnd, msg, wp, lp);
    // A window inside a disabled top-level window (a form under a modal box) takes no mouse
    // input.
    if ((msg >= win::WM_MOUSEFIRST && msg <= win::WM_MOUSELAST) || msg == win::WM_MOUSEACTIVATE) {
        win::HWND root = win::GetAncestor(hwnd, win::GA_ROOT);
        if (root && !win::IsWindowEnabled(root)) {
            if (msg == win::WM_MOUSEACTIVATE)
                return win::MA_NOACTIVATEANDEAT;
            if (root != hwnd)
                return 0;
        }
    }
    TMessage m{msg, wp, lp, 0};
    // The procedure may free the control (a handler deleting it, a skinning object freeing
    // itself and its control on WM_NCDESTROY) or replace the WindowProc that is running: it runs
    // from a copy, and the control is read afterwards only when the tracker says it lives.
    TComponentTracker alive(control);
    try {
        if (control->HasOwnWindowProc()) {
            control->WndProc(m);
        } else if (control->WindowProc) {
            TWndMethod proc = control->WindowProc.Method();
            proc(m);
        } else {
            control->WndProc(m);
        }
    } catch (const std::exception& e) {
        Application->HandleException(e);
    } catch (...) {
        Application->HandleException(std::runtime_error("Unknown error"));
    }
    if (msg == win::WM_NCDESTROY) {
        auto it = HandleMap().find(hwnd);
        if (it != HandleMap().end() && it->second == control)
            HandleMap().erase(it);
        if (!alive.Deleted() && control->handle_ == hwnd)
            control->handle_ = nullptr;
    }
    return m.Result;
}

void TWinControl::DefaultHandler(TMessage& m) {
    if (handle_ && m.Msg < CM_BASE)
        m.Result = win::DefWindowProc(handle_, m.Msg, m.WParam, m.LParam);
}

unsigned TWinControl::ShiftState() const {
    unsigned s = 0;
    if (win::GetKeyState(win::VK_SHIFT) < 0)
        s |= ssShift;
    if (win::GetKeyState(win::VK_CONTROL) < 0)
        s |= ssCtrl;
    if (win::GetKeyState(win::VK_MENU) < 0)
        s |= ssAlt;
    return s;
}

void TWinControl::WndProc(TMessage& m) {
    using namespace win;
    switch (m.Msg) {
        case WM_PAINT:
            WMPaint(m);
            return;
        case WM_ERASEBKGND: {
            if (m.WParam) {
                auto* dc = reinterpret_cast<gdi::DC*>(m.WParam);
                EraseBackground(*dc, ClientRect());
            }
            m.Result = 1;
            return;
        }
        case WM_SETFOCUS:
            if (TForm* form = ParentForm(); form && form != this)
                form->SetFocusedControl(this);
            Invalidate();
            break;
        case WM_KILLFOCUS:
            Invalidate();
            break;
        case WM_SIZE:
            AlignControls();
            break;
        case WM_KEYDOWN: {
            int key = static_cast<int>(m.WParam);
            unsigned shift = ShiftState();
            const bool dialog_key = key == VK_TAB || key == VK_RETURN || key == VK_ESCAPE;
            if (dialog_key && !WantsKey(key, shift)) {
                if (TForm* form = ParentForm(); form && form->DialogKey(key, shift)) {
                    m.Result = 0;
                    return;
                }
            }
            if (OnKeyDown) {
                TComponentTracker alive(this);
                FireEvent(OnKeyDown, this, key, shift);
                if (alive.Deleted())
                    return;
            }
            if (key)
                KeyDown(key, shift);
            // Shift+F10 and the menu key ask for the context menu, from the keyboard.
            if ((key == VK_F10 && (shift & ssShift)) || key == VK_APPS) {
                const win::HWND self = handle_;
                SendMessage(self, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(self), -1);
            }
            m.Result = 0;
            return;
        }
        case WM_SYSKEYDOWN:
            // Alt+Down and Alt+Up open drop-downs; other Alt keys belong to the window.
            if (m.WParam == VK_DOWN || m.WParam == VK_UP) {
                int key = static_cast<int>(m.WParam);
                KeyDown(key, ShiftState() | ssAlt);
                m.Result = 0;
                return;
            }
            break;
        case WM_CHAR: {
            char32_t ch = static_cast<char32_t>(m.WParam);
            if (ch == U'\t' || ch == U'\r' || ch == U'\x1b' || ch == U'\b') {
                m.Result = 0;
                return;
            }
            KeyPress(ch);
            m.Result = 0;
            return;
        }
        case WM_LBUTTONDOWN:
        case WM_LBUTTONDBLCLK:
        case WM_LBUTTONUP:
        case WM_RBUTTONDOWN:
        case WM_RBUTTONUP:
        case WM_MOUSEMOVE:
            if (ForwardMouseToGraphic(m))
                return;
            break;
        default:
            break;
    }
    TControl::WndProc(m);
}

bool TWinControl::ForwardMouseToGraphic(TMessage& m) {
    gdi::Point p = win::MAKEPOINT(m.LParam);
    TControl* target = mouse_control_;
    if (!target)
        target = ControlAtPos(p);
    if (!target)
        return false;
    if (m.Msg == win::WM_LBUTTONDOWN || m.Msg == win::WM_LBUTTONDBLCLK) {
        mouse_control_ = target;
        win::SetCapture(handle_);
    }
    TMessage fm{m.Msg, m.WParam, win::MAKELPARAM(p.x - target->Left(), p.y - target->Top()), 0};
    const bool release = m.Msg == win::WM_LBUTTONUP && mouse_control_;
    if (release) {
        mouse_control_ = nullptr;
        win::ReleaseCapture();
    }
    target->Perform(fm.Msg, fm.WParam, fm.LParam);
    m.Result = 0;
    return true;
}

TControl* TWinControl::ControlAtPos(gdi::Point p) const {
    for (auto it = controls_.rbegin(); it != controls_.rend(); ++it) {
        TControl* c = *it;
        if (c->AsWinControl())
            continue;
        if (!c->Visible() || !c->Enabled())
            continue;
        if (c->BoundsRect().contains(p))
            return c;
    }
    return nullptr;
}

void TWinControl::WMPaint(TMessage& m) {
    // Painting a control from inside its own BeginPaint is a fault of the caller: the update
    // region would be taken twice and the inner paint lost.
    assert(!(painting_ && !m.WParam) && "a control's paint re-entered itself");
    if (m.WParam) {
        auto* dc = reinterpret_cast<gdi::DC*>(m.WParam);
        Paint(*dc);
        PaintControls(*dc, ClientRect());
        m.Result = 0;
        return;
    }
    win::PAINTSTRUCT ps;
    const win::HWND hwnd = handle_;
    win::HDC dc = win::BeginPaint(hwnd, &ps);
    if (dc) {
        // Paint may free the control (a handler deleting it): the flag is cleared, and the
        // windowless children painted, only while it lives.
        TComponentTracker alive(this);
        struct PaintingFlag {
            TComponentTracker& alive;
            bool& flag;
            ~PaintingFlag() {
                if (!alive.Deleted())
                    flag = false;
            }
        } painting{alive, painting_};
        painting_ = true;
        Paint(*dc);
        if (!alive.Deleted())
            PaintControls(*dc, ps.rcPaint);
    }
    win::EndPaint(hwnd, &ps);
    m.Result = 0;
}

void TWinControl::Paint(gdi::DC&) {}

void TWinControl::EraseBackground(gdi::DC& dc, const gdi::Rect& area) {
    dc.fill_rect(area, ColorToRGB(Color()));
}

void TWinControl::PaintControls(gdi::DC& dc, const gdi::Rect& whole) {
    // Children outside what the DC can draw on are passed over (a skinned control paints
    // its parent's background under itself alone).
    const gdi::Rect area = whole.intersect(dc.clip_box());
    if (area.empty())
        return;
    for (TControl* c : controls_) {
        // The cheap tests first: a parent of a hundred controls painted through a small clip
        // meets a few of them.
        const gdi::Rect r = c->BoundsRect();
        if (!c->Visible() || r.intersect(area).empty())
            continue;
        // Only windowless painting controls are painted here; asking is a virtual call, where a
        // cast would search the class tree of each control met. A plain control has nothing
        // to paint.
        TGraphicControl* g = c->AsGraphicControl();
        if (!g)
            continue;
        int saved = dc.save();
        dc.offset_viewport_origin(r.left, r.top);
        dc.intersect_clip_rect({0, 0, r.width(), r.height()});
        g->Paint(dc);
        dc.restore(saved);
    }
}

void TWinControl::Broadcast(TMessage& m) {
    // By index, on the list as it stands, without a copy of it. The controls in the list when
    // the broadcast begins hear it, each once: a control that leaves the list is not read again
    // (its children hear nothing more), and one added meanwhile (or taken out and put back, at
    // the end) does not hear it. A focus change goes only to the controls that hear it, and
    // only into containers that hold some.
    const bool focus_change = m.Msg == CM_FOCUSCHANGED;
    if (focus_change && FocusHearersInside() == 0)
        return;
    BroadcastPlace place{this, 0, controls_.size(), false, g_broadcasts};
    g_broadcasts = &place;
    struct Done {
        BroadcastPlace& place;
        ~Done() { g_broadcasts = place.outer; }
    } done{place};
    for (; place.at < place.end; ++place.at) {
        TControl* c = controls_[place.at];
        if (!focus_change || c->HearsFocusChanges()) {
            m.Result = c->Perform(m.Msg, m.WParam, m.LParam);
            if (m.Msg == CM_DIALOGKEY && m.Result)
                return;
        }
        if (!place.gone) {
            // A windowed control without children has nobody to pass the message on to.
            TWinControl* wc = c->AsWinControl();
            if (wc != nullptr && !wc->controls_.empty() &&
                !(focus_change && wc->FocusHearersInside() == 0)) {
                wc->Broadcast(m);
                if (m.Msg == CM_DIALOGKEY && m.Result)
                    return;
            }
        }
        if (place.gone) {
            // The next control has taken its place: the step is taken back.
            place.gone = false;
            --place.at;
        }
    }
}

void TWinControl::InsertControl(TControl* c) {
    // Most containers hold a few controls: room for them at the first, instead of growing
    // the lists one step at a time.
    constexpr size_t kFirstCapacity = 8;
    if (controls_.empty())
        controls_.reserve(kFirstCapacity);
    controls_.push_back(c);
    if (const int hearers = c->FocusHearersWeight())
        CountFocusHearers(this, hearers);
    windowless_bounds_made_ = false;
    if (c->Align() != TAlign::alNone)
        ++aligned_children_;
    if (tab_list_made_)
        if (auto* wc = c->AsWinControl())
            tab_list_.push_back(wc);
}

void TWinControl::MakeTabList() const {
    // Until a tab order is asked for or changed, it is that of insertion: the windowed
    // children as they stand in the control list.
    tab_list_.clear();
    for (TControl* c : controls_)
        if (auto* wc = c->AsWinControl())
            tab_list_.push_back(wc);
    tab_list_made_ = true;
}

const std::vector<gdi::Rect>& TWinControl::WindowlessBounds() const {
    if (!windowless_bounds_made_) {
        windowless_bounds_.clear();
        for (const TControl* c : controls_)
            if (c->Visible() && !c->AsWinControl())
                windowless_bounds_.push_back(c->BoundsRect());
        windowless_bounds_made_ = true;
    }
    return windowless_bounds_;
}

void TWinControl::RemoveControl(TControl* c) {
    if (mouse_control_ == c)
        mouse_control_ = nullptr;
    // Whatever the child was (it may be half destroyed, past telling), the bounds are made
    // again.
    windowless_bounds_made_ = false;
    // From the end: children are freed last-inserted first.
    const auto erase_last = [c](auto& list) {
        auto it = std::find(list.rbegin(), list.rend(), c);
        if (it == list.rend())
            return false;
        list.erase(std::next(it).base());
        return true;
    };
    const auto found = std::find(controls_.rbegin(), controls_.rend(), c);
    if (found != controls_.rend()) {
        const size_t index = static_cast<size_t>(controls_.rend() - found) - 1;
        // Broadcasts over this list under way keep their places.
        for (BroadcastPlace* p = g_broadcasts; p; p = p->outer) {
            if (p->parent != this || index >= p->end)
                continue;
            --p->end;
            if (index < p->at)
                --p->at;
            else if (index == p->at)
                p->gone = true;
        }
        controls_.erase(std::next(found).base());
        if (c->Align() != TAlign::alNone)
            --aligned_children_;
        if (const int hearers = c->FocusHearersWeight())
            CountFocusHearers(this, -hearers);
    }
    if (tab_list_made_)
        erase_last(tab_list_);
}

int TWinControl::TabOrder() const {
    if (!parent_)
        return -1;
    const auto& list = parent_->TabList();
    auto it = std::find(list.begin(), list.end(), this);
    return it == list.end() ? -1 : static_cast<int>(it - list.begin());
}

void TWinControl::SetTabOrder(int order) {
    if (!parent_)
        return;
    parent_->TabList();
    auto& list = parent_->tab_list_;
    auto it = std::find(list.begin(), list.end(), this);
    if (it == list.end())
        return;
    list.erase(it);
    order = std::clamp(order, 0, static_cast<int>(list.size()));
    list.insert(list.begin() + order, this);
}

void TWinControl::GetTabOrderList(std::vector<TWinControl*>& out) const {
    for (TWinControl* c : TabList()) {
        out.push_back(c);
        c->GetTabOrderList(out);
    }
}

bool TWinControl::Focused() const {
    return handle_ && win::GetFocus() == handle_;
}

bool TWinControl::CanFocus() const {
    const TControl* c = this;
    while (c) {
        if (!c->Visible() || !c->Enabled())
            return false;
        if (dynamic_cast<const TForm*>(c))
            return true;
        c = c->Parent();
    }
    return false;
}

void TWinControl::SetFocus() {
    if (win::HWND h = Handle())
        win::SetFocus(h);
}

void TWinControl::Invalidate() {
    if (handle_)
        win::InvalidateRect(handle_, nullptr, true);
}

void TWinControl::Repaint() {
    Invalidate();
    Update();
}

void TWinControl::Update() {
    if (handle_)
        win::UpdateWindow(handle_);
}

void TWinControl::SetBounds(int left, int top, int width, int height) {
    if (left == left_ && top == top_ && width == width_ && height == height_)
        return;
    TControl::SetBounds(left, top, width, height);
    if (handle_)
        win::MoveWindow(handle_, left_, top_, width_, height_, true);
    AlignControls();
}

void TWinControl::SetParent(TWinControl* parent) {
    TControl::SetParent(parent);
    if (handle_) {
        win::SetParent(handle_, parent ? parent->Handle() : nullptr);
    } else if (parent && parent->HandleAllocated() && ShownWithForm(parent)) {
        HandleNeeded();
    }
    if (parent)
        parent->AlignControls();
}

gdi::Rect TWinControl::ClientRect() const {
    if (handle_)
        return win::GetClientRect(handle_);
    return {0, 0, width_, height_};
}

void TWinControl::AlignControls() {
    // Children placed by their bounds alone: nothing to do. A page being built inserts
    // hundreds of them, each insertion asking its parent to align.
    if (aligned_children_ == 0)
        return;
    gdi::Rect r = AlignRect();
    for (TControl* c : controls_) {
        if (!c->Visible())
            continue;
        switch (c->Align()) {
            case TAlign::alTop:
                c->SetBounds(r.left, r.top, r.width(), c->Height());
                r.top += c->Height();
                break;
            case TAlign::alBottom:
                c->SetBounds(r.left, r.bottom - c->Height(), r.width(), c->Height());
                r.bottom -= c->Height();
                break;
            default:
                break;
        }
    }
    for (TControl* c : controls_)
        if (c->Visible() && c->Align() == TAlign::alClient)
            c->SetBounds(r.left, r.top, r.width(), r.height());
}

void TWinControl::KeyDown(int&, unsigned) {}
void TWinControl::KeyPress(char32_t) {}

void TWinControl::DoEnter() {
    FireEvent(OnEnter, this);
}

void TWinControl::DoExit() {
    FireEvent(OnExit, this);
}

void TWinControl::TextChanged() {
    if (handle_)
        win::SetWindowText(handle_, caption_);
    if (Watched())
        Perform(CM_TEXTCHANGED);
    Invalidate();
}

void TWinControl::FontChanged() {
    for (TControl* c : controls_)
        if (c->ParentFont())
            c->TakeParentFont();
    if (Watched())
        Perform(CM_FONTCHANGED);
    Invalidate();
}

void TWinControl::ColorChanged() {
    for (TControl* c : controls_)
        if (c->ParentColor())
            c->TakeParentColor();
    if (Watched())
        Perform(CM_COLORCHANGED);
    Invalidate();
}

bool TWinControl::Watched() const {
    return handle_ != nullptr || !HasOwnWindowProc();
}

void TWinControl::EnabledChanged() {
    if (handle_)
        win::EnableWindow(handle_, Enabled());
    TControl::EnabledChanged();
}

void TWinControl::VisibleChanged() {
    if (handle_)
        win::ShowWindow(handle_, Visible() ? win::SW_SHOWNA : win::SW_HIDE);
    // Shown for the first time: the window, and those of its shown children, are made now.
    if (Visible() && parent_ && parent_->HandleAllocated() && ShownWithForm(parent_)) {
        if (!handle_) {
            HandleNeeded();
        } else {
            for (TControl* c : TControlList(controls_))
                if (auto* wc = c->AsWinControl(); wc && wc->Visible() && !wc->HandleAllocated())
                    wc->HandleNeeded();
        }
    }
    if (parent_)
        parent_->AlignControls();
}

}  // namespace forms
