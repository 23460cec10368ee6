#include "forms/combo_box.h"

#include <algorithm>
#include <cwctype>
#include <string>
#include <utility>

#include "forms/component_tracker.h"
#include "forms/form.h"
#include "forms/painter.h"
#include "forms/utf8.h"
#include "platform/win/input.h"
#include "platform/win/metrics.h"
#include "platform/win/painting.h"
#include "platform/win/scrollbar.h"
#include "platform/win/styles.h"

namespace forms {

TComboBox::TComboBox(TComponent* owner) : TWinControl(owner) {
    SetTabStop(true);
    SetInitialSize(145, 21);
    SetParentColor(false);
    TControl::SetColor(clWindow);
    items_.OnChange = [this] {
        if (item_index_ >= items_.Count())
            item_index_ = -1;
        Invalidate();
    };
}

TComboBox::~TComboBox() {
    popup_.Close();
}

void TComboBox::SetStyle(TComboBoxStyle s) {
    style_ = s;
    Invalidate();
}

void TComboBox::SetItemIndex(int index) {
    if (index < -1 || index >= items_.Count())
        index = -1;
    item_index_ = index;
    editor_.set_text(Utf8ToU32(index >= 0 ? items_[index] : std::string()));
    TakeText(U32ToUtf8(editor_.text()));
    Invalidate();
}

void TComboBox::SetText(std::string_view text) {
    editor_.set_text(Utf8ToU32(text));
    std::string shown = U32ToUtf8(editor_.text());
    item_index_ = items_.IndexOf(shown);
    // A list shows no text outside its items, and its editor keeps none behind what it shows:
    // made editable later, the box goes on from the text it showed.
    if (style_ == TComboBoxStyle::csDropDownList && item_index_ < 0) {
        shown.clear();
        editor_.set_text({});
    }
    TakeText(std::move(shown));
    Invalidate();
}

gdi::Rect TComboBox::ButtonRect() const {
    gdi::Rect r = ClientRect();
    const int w = win::GetSystemMetrics(win::SM_CXVSCROLL);
    return {r.right - 2 - w, r.top + 2, r.right - 2, r.bottom - 2};
}

int TComboBox::ItemHeight() const {
    gdi::Bitmap scratch(1, 1);
    gdi::DC dc(scratch);
    dc.select_font(Font().ToGdi());
    return dc.get_text_metrics().height + 2;
}

int TComboBox::VisibleItems() const {
    return std::max(1, std::min(items_.Count(), drop_down_count_));
}

void TComboBox::SetDroppedDown(bool v) {
    if (v == DroppedDown())
        return;
    if (v) {
        DropDown();
    } else {
        CloseUp(false);
    }
}

void TComboBox::DropDown() {
    if (!handle_ || DroppedDown())
        return;
    if (OnDropDown) {
        // The handler may free the box; then nothing drops down.
        TComponentTracker alive(this);
        FireEvent(OnDropDown, this);
        if (alive.Deleted())
            return;
    }
    const int ih = ItemHeight();
    gdi::Point origin = ClientToScreen({0, Height()});
    win::RECT r = gdi::Rect::from_xywh(origin.x, origin.y, Width(), VisibleItems() * ih + 2);
    // Open upwards when the list would leave the screen.
    const int screen_h = win::GetSystemMetrics(win::SM_CYSCREEN);
    if (r.bottom > screen_h)
        r = r.offset(0, -(r.height() + Height()));
    hot_ = item_index_ >= 0 ? item_index_ : 0;
    top_ = 0;
    EnsureHotVisible();
    TForm* form = ParentForm();
    win::HWND owner = form ? form->Handle() : nullptr;
    popup_.Open(
        owner, r,
        [this](win::HWND h, win::UINT m, win::WPARAM w, win::LPARAM l) {
            return ListProc(h, m, w, l);
        },
        [this] { CloseUp(false); }, ListScrolls() ? win::WS_VSCROLL : 0);
    if (ListScrolls() && popup_.IsOpen()) {
        win::SCROLLINFO si;
        si.fMask = win::SIF_RANGE | win::SIF_PAGE | win::SIF_POS;
        si.nMin = 0;
        si.nMax = items_.Count() - 1;
        si.nPage = static_cast<win::UINT>(VisibleItems());
        si.nPos = top_;
        win::SetScrollInfo(popup_.hwnd(), win::SB_VERT, &si, true);
    }
    Invalidate();
}

void TComboBox::CloseUp(bool accept) {
    if (!DroppedDown())
        return;
    popup_.Close();
    Invalidate();
    if (OnCloseUp) {
        // The handler may free the box; then nothing is selected.
        TComponentTracker alive(this);
        FireEvent(OnCloseUp, this);
        if (alive.Deleted())
            return;
    }
    if (accept && hot_ >= 0 && hot_ < items_.Count())
        OperatorSelect(hot_);
}

void TComboBox::OperatorSelect(int index) {
    if (index < 0 || index >= items_.Count())
        return;
    const bool changed = index != item_index_ || caption_ != items_[index];
    SetItemIndex(index);
    if (style_ == TComboBoxStyle::csDropDown)
        editor_.select_all();
    if (changed)
        FireEvent(OnChange, this);
}

void TComboBox::EditCommandDone(EditResult result) {
    if (result == EditResult::Changed) {
        EditChanged();
    } else if (result == EditResult::Moved) {
        Invalidate();
    }
}

void TComboBox::TakeText(std::string text) {
    if (text == caption_)
        return;
    caption_ = std::move(text);
    CountChange();
}

void TComboBox::EditChanged() {
    TakeText(U32ToUtf8(editor_.text()));
    item_index_ = items_.IndexOf(caption_);
    Invalidate();
    FireEvent(OnChange, this);
}

void TComboBox::EnsureHotVisible() {
    const int visible = VisibleItems();
    int top = top_;
    if (hot_ < top)
        top = hot_;
    if (hot_ >= top + visible)
        top = hot_ - visible + 1;
    ScrollListTo(top);
}

void TComboBox::ScrollListTo(int top) {
    top = std::clamp(top, 0, std::max(0, items_.Count() - VisibleItems()));
    const bool moved = top != top_;
    top_ = top;
    if (moved && ListScrolls() && popup_.IsOpen())
        win::SetScrollPos(popup_.hwnd(), win::SB_VERT, top_, true);
}

void TComboBox::ListScrolled(int request) {
    const int page = VisibleItems();
    int top = top_;
    switch (request) {
        case win::SB_LINEUP:
            --top;
            break;
        case win::SB_LINEDOWN:
            ++top;
            break;
        case win::SB_PAGEUP:
            top -= page;
            break;
        case win::SB_PAGEDOWN:
            top += page;
            break;
        case win::SB_TOP:
            top = 0;
            break;
        case win::SB_BOTTOM:
            top = items_.Count();
            break;
        case win::SB_THUMBPOSITION:
        case win::SB_THUMBTRACK: {
            win::SCROLLINFO si;
            si.fMask = win::SIF_TRACKPOS;
            if (win::GetScrollInfo(popup_.hwnd(), win::SB_VERT, &si))
                top = si.nTrackPos;
            break;
        }
        default:
            return;
    }
    if (top != top_) {
        ScrollListTo(top);
        popup_.Invalidate();
    }
}

bool TComboBox::ItemScreenRect(int index, gdi::Rect* out) const {
    if (!DroppedDown() || index < top_ || index >= top_ + VisibleItems() || index >= items_.Count())
        return false;
    const int ih = ItemHeight();
    win::POINT p{0, (index - top_) * ih};
    win::ClientToScreen(popup_.hwnd(), &p);
    win::RECT client = win::GetClientRect(popup_.hwnd());
    *out = gdi::Rect::from_xywh(p.x, p.y, client.width(), ih);
    return true;
}

win::LRESULT TComboBox::ListProc(win::HWND h, win::UINT msg, win::WPARAM wp, win::LPARAM lp) {
    using namespace win;
    const int ih = ItemHeight();
    const RECT client = GetClientRect(h);
    const POINT p = MAKEPOINT(lp);
    const bool inside = client.contains(p);
    auto item_at = [&](POINT q) {
        int i = top_ + q.y / ih;
        return (i >= 0 && i < items_.Count()) ? i : -1;
    };
    switch (msg) {
        case WM_PAINT: {
            PAINTSTRUCT ps;
            HDC dc = BeginPaint(h, &ps);
            if (dc) {
                // The box hears that its list paints (those who skin it find the list here).
                TComponentTracker alive(this);
                Perform(WM_CTLCOLORLISTBOX, reinterpret_cast<WPARAM>(dc), HandleToLParam(h));
                if (alive.Deleted() || !IsWindow(h))
                    return 0;
                PaintList(*dc, client);
            }
            EndPaint(h, &ps);
            return 0;
        }
        case WM_VSCROLL:
            ListScrolled(LOWORD(wp));
            return 0;
        case WM_ERASEBKGND:
            return 1;
        case WM_MOUSEMOVE:
            if (inside) {
                int i = item_at(p);
                if (i >= 0 && i != hot_) {
                    hot_ = i;
                    popup_.Invalidate();
                }
            }
            return 0;
        // Presses and releases arrive here from inside the list only; the pop-up deals with
        // the others. A release takes the item under it, also when the press that opened the
        // list was dragged down into it.
        case WM_LBUTTONDOWN:
        case WM_LBUTTONDBLCLK:
            if (int i = item_at(p); i >= 0)
                hot_ = i;
            popup_.Invalidate();
            return 0;
        case WM_LBUTTONUP:
            if (int i = item_at(p); i >= 0) {
                hot_ = i;
                CloseUp(true);
            }
            return 0;
        case WM_MOUSEWHEEL: {
            const int delta = GET_WHEEL_DELTA_WPARAM(wp);
            ScrollListTo(top_ + (delta > 0 ? -1 : 1));
            popup_.Invalidate();
            return 0;
        }
        default:
            return DefWindowProc(h, msg, wp, lp);
    }
}

void TComboBox::PaintList(gdi::DC& dc, const gdi::Rect& client) {
    const painter::Scheme s = painter::scheme();
    dc.fill_rect(client, s.window);
    dc.select_font(Font().ToGdi());
    dc.set_bk_mode(gdi::BkMode::Transparent);
    const int ih = ItemHeight();
    for (int i = top_; i < items_.Count() && i < top_ + VisibleItems(); ++i) {
        gdi::Rect r =
            gdi::Rect::from_xywh(client.left, client.top + (i - top_) * ih, client.width(), ih);
        const bool hot = i == hot_;
        if (hot)
            dc.fill_rect(r, s.selection);
        dc.set_text_color(hot ? s.selection_text : ColorToRGB(Font().Color()));
        dc.draw_text(items_[i], r.inflate(-2, 0),
                     gdi::DT_LEFT | gdi::DT_VCENTER | gdi::DT_SINGLELINE | gdi::DT_NOPREFIX);
    }
}

bool TComboBox::WantsKey(int vk, unsigned) const {
    return DroppedDown() && (vk == win::VK_RETURN || vk == win::VK_ESCAPE);
}

void TComboBox::KeyDown(int& key, unsigned shift) {
    using namespace win;
    const bool alt = shift & ssAlt;
    if (DroppedDown()) {
        switch (key) {
            case VK_UP:
                hot_ = std::max(0, hot_ - 1);
                break;
            case VK_DOWN:
                hot_ = std::min(items_.Count() - 1, hot_ + 1);
                break;
            case VK_HOME:
                hot_ = 0;
                break;
            case VK_END:
                hot_ = items_.Count() - 1;
                break;
            case VK_RETURN:
                CloseUp(true);
                return;
            case VK_ESCAPE:
                CloseUp(false);
                return;
            case VK_F4:
                CloseUp(true);
                return;
            default:
                if (style_ == TComboBoxStyle::csDropDownList)
                    return;
                CloseUp(false);
                break;
        }
        if (DroppedDown()) {
            EnsureHotVisible();
            popup_.Invalidate();
            return;
        }
    }
    if (key == VK_F4 || (alt && (key == VK_DOWN || key == VK_UP))) {
        DropDown();
        return;
    }
    const int n = items_.Count();
    int pick = -2;
    switch (key) {
        case VK_UP:
            pick = item_index_ <= 0 ? 0 : item_index_ - 1;
            break;
        case VK_DOWN:
            pick = std::min(n - 1, item_index_ + 1);
            break;
        case VK_HOME:
            if (style_ == TComboBoxStyle::csDropDownList)
                pick = 0;
            break;
        case VK_END:
            if (style_ == TComboBoxStyle::csDropDownList)
                pick = n - 1;
            break;
        default:
            break;
    }
    if (pick != -2) {
        if (n > 0)
            OperatorSelect(pick);
        return;
    }
    if (style_ != TComboBoxStyle::csDropDown)
        return;
    if (const EditCommand command = EditCommandOfKey(key, shift & ssShift, shift & ssCtrl);
        command != EditCommand::None) {
        EditCommandDone(PerformEditCommand(editor_, command, false));
        return;
    }
    const auto result = editor_.handle_key(key, shift & ssShift, shift & ssCtrl);
    if (result == LineEditor::KeyResult::Changed) {
        EditChanged();
    } else if (result == LineEditor::KeyResult::Moved) {
        Invalidate();
    }
}

void TComboBox::KeyPress(char32_t ch) {
    if (ch < 0x20 || ch == 0x7F)
        return;
    if (style_ == TComboBoxStyle::csDropDownList) {
        // A typed letter picks the next item starting with it.
        const int n = items_.Count();
        for (int k = 1; k <= n; ++k) {
            int i = (std::max(item_index_, -1) + k + n) % n;
            std::u32string t = Utf8ToU32(items_[i]);
            if (!t.empty() && std::towlower(static_cast<wint_t>(t[0])) ==
                                  std::towlower(static_cast<wint_t>(ch))) {
                OperatorSelect(i);
                return;
            }
        }
        return;
    }
    if (win::GetKeyState(win::VK_CONTROL) < 0 && win::GetKeyState(win::VK_MENU) >= 0)
        return;
    if (editor_.insert(std::u32string(1, ch)))
        EditChanged();
}

void TComboBox::WndProc(TMessage& m) {
    using namespace win;
    // Dropping down and closing up fire events whose handlers may free the box.
    TComponentTracker alive(this);
    switch (m.Msg) {
        case WM_LBUTTONDOWN:
        case WM_LBUTTONDBLCLK: {
            if (CanFocus() && !Focused())
                SetFocus();
            const POINT p = MAKEPOINT(m.LParam);
            if (style_ == TComboBoxStyle::csDropDownList || ButtonRect().contains(p)) {
                if (DroppedDown()) {
                    CloseUp(false);
                } else {
                    DropDown();
                }
            } else {
                if (m.Msg == WM_LBUTTONDBLCLK) {
                    editor_.select_all();
                } else {
                    editor_.move_to(static_cast<int>(editor_.text().size()), false);
                }
                Invalidate();
            }
            break;
        }
        case WM_SETFOCUS:
            if (style_ == TComboBoxStyle::csDropDown)
                editor_.select_all();
            break;
        case WM_RBUTTONDOWN:
            if (CanFocus() && !Focused())
                SetFocus();
            break;
        case WM_CONTEXTMENU:
            // The text part of an editable combo box has the fields' context menu.
            if (style_ == TComboBoxStyle::csDropDown) {
                CloseUp(false);
                if (alive.Deleted())
                    return;
                const POINT at =
                    m.LParam == -1 ? ClientToScreen({4, Height() / 2}) : MAKEPOINT(m.LParam);
                // A handler that runs while the menu is open may free the box.
                const EditCommand command = TrackEditMenu(handle_, at, editor_, false);
                if (command != EditCommand::None && !alive.Deleted())
                    EditCommandDone(PerformEditCommand(editor_, command, false));
                m.Result = 0;
                return;
            }
            break;
        case WM_KILLFOCUS:
            CloseUp(false);
            break;
        case CM_CANCELMODE:
            CloseUp(false);
            break;
        case WM_DESTROY:
            popup_.Close();
            break;
        default:
            break;
    }
    if (alive.Deleted())
        return;
    TWinControl::WndProc(m);
}

void TComboBox::Paint(gdi::DC& dc) {
    const painter::Scheme s = painter::scheme();
    gdi::Rect r = ClientRect();
    const unsigned flags = Enabled() ? 0u : unsigned(painter::kDisabled);
    gdi::Rect inner = painter::draw_edit_frame(dc, r, flags);
    if (Enabled())
        dc.fill_rect(inner, ColorToRGB(Color()));
    gdi::Rect button = ButtonRect();
    painter::draw_combo_button(dc, button,
                               flags | (DroppedDown() ? unsigned(painter::kPressed) : 0u));
    dc.select_font(Font().ToGdi());
    dc.set_bk_mode(gdi::BkMode::Transparent);
    gdi::Rect text{inner.left + 1, inner.top + 1, button.left - 1, inner.bottom - 1};
    const bool focused = Focused();
    const unsigned fmt = gdi::DT_LEFT | gdi::DT_VCENTER | gdi::DT_SINGLELINE | gdi::DT_NOPREFIX;
    if (style_ == TComboBoxStyle::csDropDownList) {
        if (focused && !DroppedDown()) {
            dc.fill_rect(text, s.selection);
            dc.set_text_color(s.selection_text);
        } else {
            dc.set_text_color(Enabled() ? ColorToRGB(Font().Color()) : s.gray_text);
        }
        dc.draw_text(caption_, text.inflate(-1, 0), fmt);
        if (focused && !DroppedDown())
            dc.draw_focus_rect(text);
        return;
    }
    // Editable: the text with its selection and caret.
    dc.set_text_color(Enabled() ? ColorToRGB(Font().Color()) : s.gray_text);
    const int th = dc.get_text_metrics().height;
    const int y = text.top + std::max(0, (text.height() - th) / 2);
    int saved = dc.save();
    dc.intersect_clip_rect(text);
    dc.text_out(text.left + 1, y, caption_);
    auto x_of = [&](int chars) {
        return dc.get_text_extent(U32ToUtf8(editor_.text().substr(0, chars))).cx;
    };
    if (focused && editor_.has_selection()) {
        gdi::Rect sel{text.left + 1 + x_of(editor_.sel_start()), y,
                      text.left + 1 + x_of(editor_.sel_start() + editor_.sel_length()), y + th};
        dc.fill_rect(sel, s.selection);
        dc.intersect_clip_rect(sel);
        dc.set_text_color(s.selection_text);
        dc.text_out(text.left + 1, y, caption_);
    }
    dc.restore(saved);
    if (focused && !editor_.has_selection()) {
        const int cx = text.left + 1 + x_of(editor_.caret());
        dc.fill_rect({cx, y, cx + 1, y + th}, s.window_text);
    }
}

std::optional<std::string> TComboBox::GetPropText(std::string_view name) const {
    if (name == "ItemIndex")
        return std::to_string(item_index_);
    if (name == "DroppedDown")
        return DroppedDown() ? "true" : "false";
    if (name == "Style")
        return style_ == TComboBoxStyle::csDropDownList ? "csDropDownList" : "csDropDown";
    return TWinControl::GetPropText(name);
}

}  // namespace forms
