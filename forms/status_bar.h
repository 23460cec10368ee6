#pragma once

#include <memory>
#include <string_view>
#include <vector>

#include "forms/win_control.h"

namespace forms {

class TStatusBar;

// One panel of a status bar: its text and width in pixels (the last panel reaches to the
// bar's right edge).
class TStatusPanel {
  public:
    const std::string& Text() const { return text_; }
    void SetText(std::string_view t);
    int Width() const { return width_; }
    void SetWidth(int w);

  private:
    friend class TStatusBar;
    TStatusBar* bar_ = nullptr;
    std::string text_;
    int width_ = 50;
};

// A bar at the bottom of its parent with panels of given widths and texts.
class TStatusBar : public TWinControl {
    FORMS_CLASS(TStatusBar, TWinControl)
  public:
    explicit TStatusBar(TComponent* owner);

    int PanelCount() const { return static_cast<int>(panels_.size()); }
    TStatusPanel& Panels(int i) { return *panels_.at(i); }
    const TStatusPanel& Panels(int i) const { return *panels_.at(i); }
    TStatusPanel& AddPanel(int width, const std::string& text = {});
    // The rectangle of panel i in client coordinates.
    gdi::Rect PanelRect(int i) const;
    bool SizeGrip() const { return size_grip_; }
    void SetSizeGrip(bool v) {
        size_grip_ = v;
        Invalidate();
    }
    bool SimplePanel() const { return simple_panel_; }
    void SetSimplePanel(bool v) {
        simple_panel_ = v;
        Invalidate();
    }
    const std::string& SimpleText() const { return simple_text_; }
    void SetSimpleText(const std::string& t) {
        simple_text_ = t;
        Invalidate();
    }

    std::optional<std::string> GetPropText(std::string_view name) const override;

  protected:
    void Paint(gdi::DC& dc) override;

  private:
    std::vector<std::unique_ptr<TStatusPanel>> panels_;
    bool size_grip_ = true;
    bool simple_panel_ = false;
    std::string simple_text_;
};

}  // namespace forms
