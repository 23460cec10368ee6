#pragma once

#include <vector>

#include "forms/win_control.h"

namespace forms {

class TPageControl;

// One page of a page control; its caption is the tab's text. Only the active page is shown.
class TTabSheet : public TWinControl {
    FORMS_CLASS(TTabSheet, TWinControl)
  public:
    explicit TTabSheet(TComponent* owner);
    ~TTabSheet() override;
    TPageControl* PageControl() const { return page_control_; }
    // Puts the sheet into a page control (as its last page) and makes it the sheet's parent.
    void SetPageControl(TPageControl* pc);
    int PageIndex() const;

  protected:
    void TextChanged() override;

  private:
    friend class TPageControl;
    TPageControl* page_control_ = nullptr;
};

// Pages with tabs along the top. The operator changes the page by clicking a tab, with Left /
// Right while the tab strip has the focus, and with Ctrl+Tab / Ctrl+Shift+Tab anywhere inside;
// those fire OnChange. Setting the active page from code fires nothing.
class TPageControl : public TWinControl {
    FORMS_CLASS(TPageControl, TWinControl)
  public:
    explicit TPageControl(TComponent* owner);
    ~TPageControl() override;

    int PageCount() const { return static_cast<int>(pages_.size()); }
    TTabSheet* Pages(int i) const { return pages_.at(i); }
    TTabSheet* ActivePage() const { return active_; }
    void SetActivePage(TTabSheet* page);
    int ActivePageIndex() const;
    void SetActivePageIndex(int i);
    int TabIndex() const { return ActivePageIndex(); }

    // The tab of page i and the area where the pages sit, in client coordinates.
    gdi::Rect TabRect(int i);
    // Pixels added to the width of every tab, right of its caption (room for a close button
    // drawn on the tab). Not negative.
    int TabExtraWidth() const { return tab_extra_width_; }
    void SetTabExtraWidth(int pixels);
    gdi::Rect DisplayRect();
    int TabHeight();
    // The page whose tab is at the client point, or -1.
    int IndexOfTabAt(gdi::Point p);

    TNotifyEvent OnChange;

    void WndProc(TMessage& message) override;
    std::optional<std::string> GetPropText(std::string_view name) const override;

  protected:
    void Paint(gdi::DC& dc) override;
    void KeyDown(int& key, unsigned shift) override;
    gdi::Rect AlignRect() const override;
    void AlignControls() override;

  private:
    friend class TTabSheet;
    void InsertPage(TTabSheet* p);
    void RemovePage(TTabSheet* p);
    void OperatorSelect(int index);
    void ShowActive();
    bool ContainsFocus() const;

    std::vector<TTabSheet*> pages_;
    TTabSheet* active_ = nullptr;
    int tab_extra_width_ = 0;
};

}  // namespace forms
