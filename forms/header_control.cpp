#include "forms/header_control.h"

#include "forms/component_tracker.h"
#include "forms/framework_mouse_messages.h"
#include "platform/win/message.h"
#include "platform/win/styles.h"
#include "platform/win/window.h"

namespace forms {

const std::string& THeaderSection::Text() const {
    return header_->state_.items.at(index_).text;
}

void THeaderSection::SetText(std::string_view text) {
    auto& item = header_->state_.items.at(index_);
    if (item.text == text)
        return;
    item.text = text;
    header_->Invalidate();
}

int THeaderSection::Width() const {
    return header_->state_.items.at(index_).width;
}

void THeaderSection::SetWidth(int width) {
    auto& item = header_->state_.items.at(index_);
    width = std::max(0, width);
    if (item.width == width)
        return;
    item.width = width;
    header_->Invalidate();
}

TAlignment THeaderSection::Alignment() const {
    switch (header_->state_.items.at(index_).fmt & win::HDF_JUSTIFYMASK) {
        case win::HDF_RIGHT:
            return TAlignment::taRightJustify;
        case win::HDF_CENTER:
            return TAlignment::taCenter;
        default:
            return TAlignment::taLeftJustify;
    }
}

void THeaderSection::SetAlignment(TAlignment a) {
    auto& item = header_->state_.items.at(index_);
    const int just = a == TAlignment::taRightJustify ? win::HDF_RIGHT
                     : a == TAlignment::taCenter     ? win::HDF_CENTER
                                                     : win::HDF_LEFT;
    item.fmt = (item.fmt & ~win::HDF_JUSTIFYMASK) | just;
    header_->Invalidate();
}

THeaderControl::THeaderControl(TComponent* owner) : TWinControl(owner) {
    SetBounds(0, 0, 200, 17);
    SetAlign(TAlign::alTop);
}

THeaderControl::~THeaderControl() = default;

THeaderSection& THeaderControl::AddSection(const std::string& text, int width) {
    win::HeaderItem item;
    item.text = text;
    item.width = std::max(0, width);
    state_.items.push_back(item);
    Renumber();
    Invalidate();
    return *sections_.back();
}

void THeaderControl::DeleteSection(int i) {
    if (i < 0 || i >= SectionCount())
        return;
    if (handle_) {
        // Through the window, so that the mouse's hold on the sections is kept right.
        win::SendMessage(handle_, win::HDM_DELETEITEM, static_cast<win::WPARAM>(i), 0);
        return;
    }
    state_.items.erase(state_.items.begin() + i);
    Renumber();
}

// One section object per item, in order: items come and go through the window's messages too.
void THeaderControl::Renumber() {
    const int n = SectionCount();
    while (static_cast<int>(sections_.size()) < n)
        sections_.push_back(std::make_unique<THeaderSection>());
    sections_.resize(n);
    for (int i = 0; i < n; ++i) {
        sections_[i]->header_ = this;
        sections_[i]->index_ = i;
    }
}

gdi::Rect THeaderControl::SectionRect(int i) const {
    return win::HeaderItemRect(state_, ClientRect(), i);
}

void THeaderControl::SetAllowClick(bool v) {
    if (v == allow_click_)
        return;
    allow_click_ = v;
    if (HandleAllocated()) {
        auto style = static_cast<win::DWORD>(win::GetWindowLongPtr(handle_, win::GWL_STYLE));
        style = v ? style | win::HDS_BUTTONS : style & ~win::HDS_BUTTONS;
        win::SetWindowLongPtr(handle_, win::GWL_STYLE, style);
    }
}

void THeaderControl::CreateParams(TCreateParams& params) {
    TWinControl::CreateParams(params);
    if (allow_click_)
        params.style |= win::HDS_BUTTONS;
}

void THeaderControl::Paint(gdi::DC& dc) {
    win::DrawHeader(dc, ClientRect(), state_, Font().ToGdi(), Enabled());
}

void THeaderControl::WndProc(TMessage& m) {
    using namespace win;
    if (handle_) {
        LRESULT result = 0;
        HeaderOutcome out;
        TComponentTracker alive(this);
        const bool handled =
            HandleHeaderMessage(handle_, state_, m.Msg, m.WParam, m.LParam, result, out);
        if (alive.Deleted())
            return;
        if (m.Msg == HDM_INSERTITEM || m.Msg == HDM_DELETEITEM)
            Renumber();
        if (out.repaint)
            Invalidate();
        if (out.resized >= 0 && out.resized < SectionCount()) {
            FireEvent(OnSectionResize, this, sections_[out.resized].get());
            if (alive.Deleted())
                return;
        }
        if (out.clicked >= 0 && out.clicked < SectionCount()) {
            FireEvent(OnSectionClick, this, sections_[out.clicked].get());
            if (alive.Deleted())
                return;
        }
        if (handled && !FrameworkHearsMouseMessage(m.Msg)) {
            m.Result = result;
            return;
        }
    }
    TWinControl::WndProc(m);
}

std::optional<std::string> THeaderControl::GetPropText(std::string_view name) const {
    if (name == "SectionCount")
        return std::to_string(SectionCount());
    return TWinControl::GetPropText(name);
}

}  // namespace forms
