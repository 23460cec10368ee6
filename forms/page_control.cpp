#include "forms/page_control.h"

#include <algorithm>

#include "forms/component_tracker.h"
#include "forms/form.h"
#include "forms/painter.h"
#include "platform/win/input.h"

namespace forms {

// ---- TTabSheet -------------------------------------------------------------------------------

TTabSheet::TTabSheet(TComponent* owner) : TWinControl(owner) {
    SetVisible(false);
}

TTabSheet::~TTabSheet() {
    MarkDestroying();
    if (page_control_)
        page_control_->RemovePage(this);
}

void TTabSheet::SetPageControl(TPageControl* pc) {
    if (pc == page_control_)
        return;
    if (page_control_)
        page_control_->RemovePage(this);
    page_control_ = pc;
    if (pc) {
        SetParent(pc);
        pc->InsertPage(this);
    }
}

int TTabSheet::PageIndex() const {
    if (!page_control_)
        return -1;
    auto& pages = page_control_->pages_;
    auto it = std::find(pages.begin(), pages.end(), this);
    return it == pages.end() ? -1 : static_cast<int>(it - pages.begin());
}

void TTabSheet::TextChanged() {
    TWinControl::TextChanged();
    if (page_control_)
        page_control_->Invalidate();
}

// ---- TPageControl ----------------------------------------------------------------------------

TPageControl::TPageControl(TComponent* owner) : TWinControl(owner) {
    SetTabStop(true);
    SetBounds(0, 0, 289, 193);
}

TPageControl::~TPageControl() {
    MarkDestroying();
    for (TTabSheet* p : pages_)
        p->page_control_ = nullptr;
    pages_.clear();
    active_ = nullptr;
}

void TPageControl::InsertPage(TTabSheet* p) {
    pages_.push_back(p);
    if (!active_) {
        active_ = p;
    }
    ShowActive();
    Invalidate();
}

void TPageControl::RemovePage(TTabSheet* p) {
    auto it = std::find(pages_.begin(), pages_.end(), p);
    if (it == pages_.end())
        return;
    const int index = static_cast<int>(it - pages_.begin());
    pages_.erase(it);
    if (active_ == p) {
        active_ = pages_.empty() ? nullptr : pages_[std::min<int>(index, PageCount() - 1)];
        if (!Destroying())
            ShowActive();
    }
    if (!Destroying())
        Invalidate();
}

int TPageControl::ActivePageIndex() const {
    auto it = std::find(pages_.begin(), pages_.end(), active_);
    return it == pages_.end() ? -1 : static_cast<int>(it - pages_.begin());
}

void TPageControl::SetActivePage(TTabSheet* page) {
    if (page && page->page_control_ != this)
        return;
    if (page == active_)
        return;
    active_ = page;
    ShowActive();
    Invalidate();
}

void TPageControl::SetActivePageIndex(int i) {
    if (i < 0 || i >= PageCount())
        return;
    SetActivePage(pages_[i]);
}

void TPageControl::ShowActive() {
    gdi::Rect d = DisplayRect();
    for (TTabSheet* p : pages_) {
        if (p == active_) {
            p->SetBounds(d.left, d.top, d.width(), d.height());
            p->SetVisible(true);
        }
    }
    for (TTabSheet* p : pages_)
        if (p != active_)
            p->SetVisible(false);
}

void TPageControl::OperatorSelect(int index) {
    if (index < 0 || index >= PageCount() || pages_[index] == active_)
        return;
    // The focus must not stay on a control of a page that is being hidden.
    const bool had_focus = ContainsFocus() && !Focused();
    SetActivePage(pages_[index]);
    if (had_focus)
        SetFocus();
    FireEvent(OnChange, this);
}

bool TPageControl::ContainsFocus() const {
    win::HWND f = win::GetFocus();
    return f && handle_ && (f == handle_ || win::IsChild(handle_, f));
}

int TPageControl::TabHeight() {
    gdi::Bitmap scratch(1, 1);
    gdi::DC dc(scratch);
    dc.select_font(Font().ToGdi());
    return dc.get_text_metrics().height + 6;
}

gdi::Rect TPageControl::TabRect(int i) {
    if (i < 0 || i >= PageCount())
        return {};
    gdi::Bitmap scratch(1, 1);
    gdi::DC dc(scratch);
    dc.select_font(Font().ToGdi());
    const int h = TabHeight();
    int x = 2;
    const int pad = 12 + tab_extra_width_;
    for (int k = 0; k < i; ++k)
        x += dc.get_text_extent(pages_[k]->Caption()).cx + pad;
    const int w = dc.get_text_extent(pages_[i]->Caption()).cx + pad;
    gdi::Rect r = gdi::Rect::from_xywh(x, 2, w, h);
    if (pages_[i] == active_)
        r = {r.left - 2, r.top - 2, r.right + 2, r.bottom + 1};
    return r;
}

void TPageControl::SetTabExtraWidth(int pixels) {
    pixels = std::max(0, pixels);
    if (pixels == tab_extra_width_)
        return;
    tab_extra_width_ = pixels;
    Invalidate();
}

gdi::Rect TPageControl::DisplayRect() {
    gdi::Rect r = ClientRect();
    const int top = 2 + TabHeight();
    return {r.left + 4, top + 4, std::max(r.left + 4, r.right - 4),
            std::max(top + 4, r.bottom - 4)};
}

gdi::Rect TPageControl::AlignRect() const {
    return const_cast<TPageControl*>(this)->DisplayRect();
}

void TPageControl::AlignControls() {
    TWinControl::AlignControls();
    if (!Destroying())
        ShowActive();
}

int TPageControl::IndexOfTabAt(gdi::Point p) {
    // The active tab is drawn over its neighbours: test it first.
    int active = ActivePageIndex();
    if (active >= 0 && TabRect(active).contains(p))
        return active;
    for (int i = 0; i < PageCount(); ++i)
        if (TabRect(i).contains(p))
            return i;
    return -1;
}

void TPageControl::Paint(gdi::DC& dc) {
    gdi::Rect r = ClientRect();
    TWinControl* parent = Parent();
    const gdi::Color back = ColorToRGB(parent ? parent->Color() : Color());
    dc.fill_rect(r, back);
    const int strip = 2 + TabHeight();
    painter::draw_tab_pane(dc, {r.left, strip, r.right, r.bottom});
    dc.fill_rect({r.left + 2, strip + 2, r.right - 2, r.bottom - 2}, ColorToRGB(Color()));
    dc.select_font(Font().ToGdi());
    const int active = ActivePageIndex();
    for (int i = 0; i < PageCount(); ++i) {
        if (i == active)
            continue;
        painter::draw_tab(dc, TabRect(i), pages_[i]->Caption(),
                          Enabled() ? 0u : unsigned(painter::kDisabled),
                          ColorToRGB(Font().Color()));
    }
    if (active >= 0) {
        unsigned flags = painter::kSelected;
        if (Focused())
            flags |= painter::kFocused;
        if (!Enabled())
            flags |= painter::kDisabled;
        gdi::Rect tr = TabRect(active);
        painter::draw_tab(dc, tr, pages_[active]->Caption(), flags, ColorToRGB(Font().Color()));
        // Join the selected tab to the page below it.
        dc.fill_rect({tr.left + 1, tr.bottom - 1, tr.right - 2, tr.bottom + 1},
                     ColorToRGB(Color()));
    }
}

void TPageControl::KeyDown(int& key, unsigned) {
    const int i = ActivePageIndex();
    if (key == win::VK_RIGHT)
        OperatorSelect(std::min(PageCount() - 1, i + 1));
    if (key == win::VK_LEFT)
        OperatorSelect(std::max(0, i - 1));
}

void TPageControl::WndProc(TMessage& m) {
    using namespace win;
    switch (m.Msg) {
        case WM_LBUTTONDOWN: {
            const int i = IndexOfTabAt(MAKEPOINT(m.LParam));
            if (i >= 0) {
                OperatorSelect(i);
                if (CanFocus())
                    SetFocus();
            }
            break;
        }
        case CM_DIALOGKEY: {
            const unsigned shift = static_cast<unsigned>(m.LParam);
            if (m.WParam == VK_TAB && (shift & ssCtrl) && PageCount() > 0 && ContainsFocus()) {
                const int n = PageCount();
                const int i = ActivePageIndex();
                OperatorSelect((shift & ssShift) ? (i + n - 1) % n : (i + 1) % n);
                m.Result = 1;
                return;
            }
            break;
        }
        default:
            break;
    }
    TWinControl::WndProc(m);
}

std::optional<std::string> TPageControl::GetPropText(std::string_view name) const {
    if (name == "ActivePageIndex" || name == "TabIndex")
        return std::to_string(ActivePageIndex());
    return TWinControl::GetPropText(name);
}

}  // namespace forms
