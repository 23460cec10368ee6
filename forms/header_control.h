#pragma once

#include <functional>
#include <string_view>

#include "forms/button.h"
#include "forms/win_control.h"
#include "platform/win/header.h"

namespace forms {

class THeaderControl;

// One section of a header: its text, width in pixels and alignment.
class THeaderSection {
  public:
    int Index() const { return index_; }
    const std::string& Text() const;
    void SetText(std::string_view text);
    int Width() const;
    void SetWidth(int width);
    TAlignment Alignment() const;
    void SetAlignment(TAlignment a);

  private:
    friend class THeaderControl;
    THeaderControl* header_ = nullptr;
    int index_ = 0;
};

using TSectionNotifyEvent = std::function<void(THeaderControl* sender, THeaderSection* section)>;

// A row of column titles along the top of its parent. With AllowClick (on by default) a section
// is pressed like a button and OnSectionClick fires when it is let go over it; dragging a
// section's right edge resizes it and OnSectionResize fires when the drag ends. Its window
// answers the header messages (HDM_GETITEMCOUNT, HDM_GETITEMRECT, ...) and reports to its
// parent as the system's headers do.
class THeaderControl : public TWinControl {
    FORMS_CLASS(THeaderControl, TWinControl)
  public:
    explicit THeaderControl(TComponent* owner);
    ~THeaderControl() override;

    int SectionCount() const { return static_cast<int>(state_.items.size()); }
    THeaderSection& Sections(int i) { return *sections_.at(i); }
    THeaderSection& AddSection(const std::string& text, int width);
    void DeleteSection(int i);
    // Section i's rectangle in client coordinates (empty when there is none).
    gdi::Rect SectionRect(int i) const;

    bool AllowClick() const { return allow_click_; }
    void SetAllowClick(bool v);

    const win::HeaderState& State() const { return state_; }

    TSectionNotifyEvent OnSectionClick;
    TSectionNotifyEvent OnSectionResize;

    std::optional<std::string> GetPropText(std::string_view name) const override;
    void WndProc(TMessage& message) override;

  protected:
    void CreateParams(TCreateParams& params) override;
    void Paint(gdi::DC& dc) override;

  private:
    friend class THeaderSection;
    void Renumber();

    win::HeaderState state_;
    std::vector<std::unique_ptr<THeaderSection>> sections_;
    bool allow_click_ = true;
};

}  // namespace forms
