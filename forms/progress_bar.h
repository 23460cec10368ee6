#pragma once

#include "forms/win_control.h"
#include "platform/win/progress_bar.h"

namespace forms {

enum class TProgressBarOrientation { pbHorizontal, pbVertical };

// A bar that shows how far a task has come: Position inside Min..Max, filled from the left (from
// the bottom when vertical), in blocks or smooth. The window answers the progress bar messages
// (PBM_SETPOS, PBM_GETRANGE, ...) as the system's bars do, so code that only has the window
// drives it alike. Min above Max is kept as given and shows an empty bar until it is set right;
// the position always stays inside the range.
class TProgressBar : public TWinControl {
    FORMS_CLASS(TProgressBar, TWinControl)
  public:
    explicit TProgressBar(TComponent* owner);

    int Min() const { return range_.Low(); }
    int Max() const { return range_.High(); }
    int Position() const { return range_.Position(); }
    int Step() const { return range_.Step(); }
    void SetMin(int v);
    void SetMax(int v);
    void SetRange(int min, int max);
    void SetPosition(int v);
    void SetStep(int v);
    // Adds Step, starting over from Min once past Max.
    void StepIt();
    // Adds `delta`, clamped to the range.
    void StepBy(int delta);

    TProgressBarOrientation Orientation() const { return orientation_; }
    void SetOrientation(TProgressBarOrientation o);
    bool Smooth() const { return smooth_; }
    void SetSmooth(bool v);

    const win::ProgressRange& Range() const { return range_; }

    std::optional<std::string> GetPropText(std::string_view name) const override;
    bool SetPropText(std::string_view name, const std::string& value) override;
    void WndProc(TMessage& message) override;

  protected:
    void CreateParams(TCreateParams& params) override;
    void Paint(gdi::DC& dc) override;

  private:
    win::DWORD BarStyle() const;
    void StyleChanged();
    void Changed(bool changed);

    win::ProgressRange range_;
    TProgressBarOrientation orientation_ = TProgressBarOrientation::pbHorizontal;
    bool smooth_ = false;
};

}  // namespace forms
