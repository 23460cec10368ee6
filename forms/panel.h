#pragma once

#include "forms/win_control.h"

namespace forms {

enum class TBevelCut { bvNone, bvLowered, bvRaised };

// A container with a bevel (raised by default, or none) and an optional centred caption.
class TPanel : public TCustomControl {
    FORMS_CLASS(TPanel, TCustomControl)
  public:
    explicit TPanel(TComponent* owner);
    TBevelCut BevelOuter() const { return bevel_outer_; }
    void SetBevelOuter(TBevelCut b) {
        bevel_outer_ = b;
        Invalidate();
    }
    TBevelCut BevelInner() const { return bevel_inner_; }
    void SetBevelInner(TBevelCut b) {
        bevel_inner_ = b;
        Invalidate();
    }
    bool Transparent() const { return transparent_; }
    std::optional<std::string> GetPropText(std::string_view name) const override;
    bool SetPropText(std::string_view name, const std::string& value) override;

  protected:
    void Paint(gdi::DC& dc) override;

  private:
    TBevelCut bevel_outer_ = TBevelCut::bvRaised;
    TBevelCut bevel_inner_ = TBevelCut::bvNone;
    bool transparent_ = false;
};

// A framed container with a caption in its top edge.
class TGroupBox : public TCustomControl {
    FORMS_CLASS(TGroupBox, TCustomControl)
  public:
    explicit TGroupBox(TComponent* owner);

  protected:
    void Paint(gdi::DC& dc) override;
    gdi::Rect AlignRect() const override;
};

}  // namespace forms
